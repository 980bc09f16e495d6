#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/registered.h"

namespace vs::platform {

using Ipv4Address = std::array<uint8_t, 4>;  // in network order: 10.0.0.1 is {10, 0, 0, 1}

// Looks up the IPv4 address of a host name. Blocks while the system asks its name servers.
class HostResolver : public Registered<HostResolver> {
public:
    virtual ~HostResolver() = default;
    // The first IPv4 address of the host, or nothing when it has none.
    virtual std::optional<Ipv4Address> resolveIpv4(std::string_view host) = 0;
};

}  // namespace vs::platform
