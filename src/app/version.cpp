#include "app/version.h"

#include <charconv>
#include <vector>

#include "vestrel_version.h"

namespace vs::app {

VersionInfo versionFromString(std::string_view text) {
    std::vector<uint32_t> parts;
    size_t i = 0;
    while (i <= text.size() && parts.size() < 4) {
        size_t dot = text.find('.', i);
        if (dot == std::string_view::npos) dot = text.size();
        std::string_view piece = text.substr(i, dot - i);
        uint32_t v = 0;
        auto [p, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), v);
        if (piece.empty() || ec != std::errc() || p != piece.data() + piece.size()) return {};
        parts.push_back(v & 0xFFFF);
        i = dot + 1;
        if (dot == text.size()) break;
    }
    if (parts.size() < 3) return {};
    VersionInfo info;
    info.version = int16_t((parts[0] % 10) * 100 + (parts[1] % 10) * 10 + (parts[2] % 10));
    info.build = int16_t(parts.size() > 3 ? parts[3] : 0);
    return info;
}

VersionInfo programVersion() { return versionFromString(VESTREL_VERSION_STRING); }

}  // namespace vs::app
