#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/byte_io.h"
#include "resources/palette_format.h"

namespace vs::resources {

// 256 colours already in the screen's 16-bit format, with the colour-cycling ranges and the file
// header they came with. Copies are deep.
class DLPalette {
public:
    static constexpr size_t kColors = 256;
    static constexpr size_t kHeaderSize = 32;
    static constexpr size_t kColorBytes = 4 * kColors;
    // Cycles the colours first…last; the order of the two gives the direction.
    struct Range {
        uint8_t first = 0;
        uint8_t last = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };

    // Every colour 0, no ranges.
    DLPalette() = default;

    // Reads one PAL palette at the reader's position, in the current pixel format. Throws
    // FileError(fileName) when the bytes run out or the ranges do not fit into them; the palette
    // is unchanged then.
    void Load(base::ByteReader& in, std::string_view fileName);
    // 256 entries of blue, green, red and an unused byte (a bitmap's colour table); false and no
    // change when fewer bytes are given.
    bool FromQuads(std::span<const uint8_t> quads);
    // A zlib stream of exactly 768 bytes: 256 entries of blue, green, red. False and no change
    // when it does not inflate to exactly that.
    bool FromPackedRGB(const uint8_t* data, size_t length);

    uint16_t GetColor(int index) const {
        return index >= 0 && index < int(kColors) ? colors_[size_t(index)] : 0;
    }
    void SetColor(int index, uint16_t colour) {
        if (index >= 0 && index < int(kColors)) colors_[size_t(index)] = colour;
    }
    const uint16_t* colors() const { return colors_.data(); }

    // One step of colour cycling over every range, in file order.
    void Rotate();

    const std::vector<Range>& ranges() const { return ranges_; }
    const std::array<uint8_t, kHeaderSize>& header() const { return header_; }

private:
    std::vector<Range> ranges_;
    std::array<uint8_t, kHeaderSize> header_{};
    std::array<uint16_t, kColors> colors_{};
};

}  // namespace vs::resources
