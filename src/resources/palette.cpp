#include "resources/palette.h"

#include <zlib.h>

#include <climits>
#include <cstring>

#include "app/error.h"

namespace vs::resources {

namespace {
constexpr size_t kRangeCountAt = 24;
constexpr size_t kPackedRgbSize = 3 * DLPalette::kColors;
}  // namespace

void DLPalette::Load(base::ByteReader& in, std::string_view fileName) {
    std::array<uint8_t, kHeaderSize> header;
    if (!in.copy(header.data(), header.size())) throw app::FileError(fileName);
    base::ByteReader h(header.data(), header.size());
    h.skip(kRangeCountAt);
    const uint32_t count = h.u32le();
    // The ranges and the colours must be there before anything is sized by the count.
    if (uint64_t(count) * 2 + kColorBytes > in.remaining()) throw app::FileError(fileName);
    std::vector<Range> ranges(count);
    for (Range& r : ranges) {
        r.first = in.u8();
        r.last = in.u8();
    }
    const std::span<const uint8_t> quads = in.bytes(kColorBytes);
    if (!in.ok()) throw app::FileError(fileName);

    const PixelFormat f = currentPixelFormat();
    std::array<uint16_t, kColors> colors;
    colors[0] = 0;  // the transparent colour of every blit
    for (size_t i = 1; i < kColors; ++i) {
        const uint8_t* q = &quads[4 * i];
        const uint16_t c = packRgb(f, q[0], q[1], q[2]);
        colors[i] = c ? c : darkestGrey(f);
    }
    ranges_ = std::move(ranges);
    header_ = header;
    colors_ = colors;
}

bool DLPalette::FromQuads(std::span<const uint8_t> quads) {
    if (quads.size() < kColorBytes) return false;
    const PixelFormat f = currentPixelFormat();
    for (size_t i = 0; i < kColors; ++i) {
        const uint8_t* q = &quads[4 * i];
        colors_[i] = packRgb(f, q[2], q[1], q[0]);
    }
    ranges_.clear();
    header_.fill(0);
    base::ByteWriter w;
    w.bytes(std::string_view("DLPalette")).fill(0, 7).u32le(32).u32le(kColors).u32le(0).u32le(0);
    std::memcpy(header_.data(), w.data().data(), kHeaderSize);
    return true;
}

bool DLPalette::FromPackedRGB(const uint8_t* data, size_t length) {
    if (!data || length > ULONG_MAX) return false;
    std::array<uint8_t, kPackedRgbSize + 1> out;
    // One byte of room more than needed tells a stream that inflates too far from an exact one.
    uLongf outLength = out.size();
    const int rc = uncompress(out.data(), &outLength, data, uLong(length));
    if (rc != Z_OK || outLength != kPackedRgbSize) return false;
    const PixelFormat f = currentPixelFormat();
    for (size_t i = 0; i < kColors; ++i) {
        const uint8_t* e = &out[3 * i];
        colors_[i] = packRgb(f, e[2], e[1], e[0]);
    }
    return true;
}

void DLPalette::Rotate() {
    for (const Range& r : ranges_) {
        const size_t a = r.first, b = r.last;
        const uint16_t t = colors_[b];
        if (a < b) {
            for (size_t k = b; k > a; --k) colors_[k] = colors_[k - 1];
            colors_[a] = t;
        } else if (a > b) {
            for (size_t k = b; k < a; ++k) colors_[k] = colors_[k + 1];
            colors_[a] = t;
        }
    }
}

}  // namespace vs::resources
