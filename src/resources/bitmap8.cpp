#include "resources/bitmap8.h"

#include <cstring>
#include <vector>

#include "base/byte_io.h"
#include "resources/palette.h"

namespace vs::resources {

namespace {
constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kColours = 256;
}  // namespace

bool DecodeBitmap8(std::span<const uint8_t> buffer, PixMap& out, DLPalette& palette) {
    out.Free();
    base::ByteReader r(buffer);
    if (r.u8() != 'B' || r.u8() != 'M') return false;
    r.skip(8);
    const uint32_t pixelsAt = r.u32le();
    const uint32_t infoSize = r.u32le();
    const int32_t width = r.i32le();
    const int32_t height = r.i32le();
    const uint16_t planes = r.u16le();
    const uint16_t bits = r.u16le();
    const uint32_t compression = r.u32le();
    r.skip(12);
    uint32_t colours = r.u32le();
    if (!r.ok() || infoSize < kInfoHeader || planes != 1 || bits != 8 ||
        compression != kUncompressed)
        return false;
    if (colours == 0) colours = kColours;
    if (colours > kColours) return false;
    if (width <= 0 || height == 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
        height < -kMaxBitmapSide) {
        return false;
    }
    const int32_t rows = height < 0 ? -height : height;

    // The colour table follows the info header; missing entries are black.
    if (!r.seek(kFileHeader + infoSize)) return false;
    std::vector<uint8_t> quads(4 * kColours, 0);
    if (!r.copy(quads.data(), 4 * size_t(colours))) return false;

    const size_t stride = (size_t(width) + 3) & ~size_t(3);
    if (!r.seek(pixelsAt) || !r.has(stride * size_t(rows - 1) + size_t(width))) return false;
    const uint8_t* data = buffer.data() + pixelsAt;

    if (!palette.FromQuads(quads)) return false;
    out.Alloc8(width, rows);
    auto* px = const_cast<uint8_t*>(out.pixels8());
    for (int32_t y = 0; y < rows; ++y) {
        // A positive height stores the bottom row first.
        const int32_t from = height > 0 ? rows - 1 - y : y;
        std::memcpy(px + size_t(y) * size_t(width), data + size_t(from) * stride, size_t(width));
    }
    return true;
}

}  // namespace vs::resources
