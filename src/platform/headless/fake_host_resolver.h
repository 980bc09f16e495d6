#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/host_resolver.h"

namespace vs::platform {

// Resolves the names a test gave it; every other name has no address.
class FakeHostResolver final : public HostResolver {
public:
    FakeHostResolver() { registerSelf(this); }
    ~FakeHostResolver() override { unregisterSelf(this); }

    std::optional<Ipv4Address> resolveIpv4(std::string_view host) override {
        asked_.emplace_back(host);
        auto it = hosts_.find(std::string(host));
        if (it == hosts_.end()) return std::nullopt;
        return it->second;
    }

    void add(std::string host, Ipv4Address a) { hosts_[std::move(host)] = a; }
    const std::vector<std::string>& asked() const { return asked_; }

private:
    std::map<std::string, Ipv4Address> hosts_;
    std::vector<std::string> asked_;
};

}  // namespace vs::platform
