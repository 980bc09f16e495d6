#pragma once
#include "platform/host_resolver.h"

namespace vs::platform {

// The system's resolver (getaddrinfo).
class SystemHostResolver final : public HostResolver {
public:
    SystemHostResolver() { registerSelf(this); }
    ~SystemHostResolver() override { unregisterSelf(this); }
    std::optional<Ipv4Address> resolveIpv4(std::string_view host) override;
};

}  // namespace vs::platform
