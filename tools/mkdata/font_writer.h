#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace vs::mkdata {

// One glyph of the game font: an advance and a box of colour classes (0 transparent, 1 ink,
// 2 outline, ...), the box relative to the pen and the top of the line as the program reads it.
struct FontGlyph {
    int16_t advance = 0;
    int16_t left = 0, top = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> classes;  // width × height, row by row

    uint8_t& at(int x, int y) { return classes[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t at(int x, int y) const { return classes[size_t(y) * size_t(width) + size_t(x)]; }
};

// Writes a font file: the two header words, 65536 glyph offsets (0 for none), then the
// records, each a 14-byte head and its rows of runs (class << 5 | length, up to 31 pixels),
// every row ended by a 0 byte.
class FontWriter {
  public:
    static constexpr size_t kTableEnd = 4 + 65536 * 4;

    FontWriter& set(char16_t c, FontGlyph glyph);
    size_t glyphs() const { return glyphs_.size(); }
    std::vector<uint8_t> build() const;

    // Where c's record starts in a built file (0 when it has none).
    static uint32_t offsetOf(const std::vector<uint8_t>& file, char16_t c);

  private:
    std::map<char16_t, FontGlyph> glyphs_;
};

}  // namespace vs::mkdata
