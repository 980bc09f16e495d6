#include "platform/posix/system_host_resolver.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <string>

namespace vs::platform {

std::optional<Ipv4Address> SystemHostResolver::resolveIpv4(std::string_view host) {
    if (host.empty() || host.find('\0') != std::string_view::npos) return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(std::string(host).c_str(), nullptr, &hints, &list) != 0 || !list)
        return std::nullopt;
    std::optional<Ipv4Address> found;
    for (addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        sockaddr_in sin;
        std::memcpy(&sin, a->ai_addr, sizeof sin);
        Ipv4Address out;
        std::memcpy(out.data(), &sin.sin_addr.s_addr, 4);  // already network order
        found = out;
        break;
    }
    ::freeaddrinfo(list);
    return found;
}

}  // namespace vs::platform
