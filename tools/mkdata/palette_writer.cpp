#include "mkdata/palette_writer.h"

#include <string_view>

#include "base/byte_io.h"

namespace vs::mkdata {

std::vector<uint8_t> palFile(const Colours& colours,
                             std::span<const resources::DLPalette::Range> ranges) {
    base::ByteWriter w;
    w.bytes(std::string_view("DLPalette")).fill(0, 16 - 9);
    w.u32le(32).u32le(256).u32le(uint32_t(ranges.size())).u32le(0);
    for (const auto& r : ranges) w.u8(r.first).u8(r.last);
    for (const Rgb& c : colours) w.u8(c[0]).u8(c[1]).u8(c[2]).u8(0);
    return w.take();
}

std::vector<uint8_t> palSetFile(uint32_t count, const std::vector<std::vector<uint8_t>>& palettes) {
    base::ByteWriter w;
    w.u32le(count);
    for (const auto& p : palettes) w.bytes(p);
    return w.take();
}

std::vector<uint8_t> palSetFile(const std::vector<std::vector<uint8_t>>& palettes) {
    return palSetFile(uint32_t(palettes.size()), palettes);
}

}  // namespace vs::mkdata
