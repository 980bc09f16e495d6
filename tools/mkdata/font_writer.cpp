#include "mkdata/font_writer.h"

#include <stdexcept>

#include "base/byte_io.h"

namespace vs::mkdata {

FontWriter& FontWriter::set(char16_t c, FontGlyph glyph) {
    if (glyph.width < 0 || glyph.height < 0 ||
        glyph.classes.size() != size_t(glyph.width) * size_t(glyph.height))
        throw std::invalid_argument("a glyph's classes must fill its box");
    glyphs_[c] = std::move(glyph);
    return *this;
}

std::vector<uint8_t> FontWriter::build() const {
    base::ByteWriter w;
    w.u16le(12).u16le(4 + 12);
    w.fill(0, kTableEnd - 4);
    for (const auto& [c, g] : glyphs_) {
        const size_t at = w.size();
        w.patchU32le(4 + size_t(c) * 4, uint32_t(at));
        w.u16le(uint16_t(g.advance)).u16le(uint16_t(g.top)).u16le(uint16_t(g.left));
        w.u16le(uint16_t(g.top + g.height)).u16le(uint16_t(g.left + g.width));
        w.u32le(0);
        for (int y = 0; y < g.height; ++y) {
            int x = 0;
            // Transparent pixels at the end of a row need no run.
            int end = g.width;
            while (end > 0 && g.at(end - 1, y) == 0) --end;
            while (x < end) {
                const uint8_t cls = g.at(x, y) & 7;
                int n = 1;
                while (x + n < end && n < 31 && (g.at(x + n, y) & 7) == cls) ++n;
                w.u8(uint32_t(cls << 5 | n));
                x += n;
            }
            w.u8(0);
        }
    }
    return w.take();
}

uint32_t FontWriter::offsetOf(const std::vector<uint8_t>& file, char16_t c) {
    base::ByteReader r(file);
    r.seek(4 + size_t(c) * 4);
    return r.u32le();
}

}  // namespace vs::mkdata
