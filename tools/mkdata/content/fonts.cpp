// The game font "MARVU00.EFT", the status digits "9X11FONT.BIN" and the chat line backgrounds
// "CHATBACK.EPF", rasterised from the system's free fonts with FreeType.
//
// Game font: DejaVu Sans at a 9-pixel em, hinted for monochrome output, with a one-pixel
// outline (class 2) around the ink (class 1); ideographs and kana come from the WenQuanYi
// 12-pixel bitmap font. The program draws codes below 256 two pixels higher than the others,
// so their boxes sit two rows lower to share one baseline with them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/content/fonts.h"
#include "mkdata/epf_writer.h"
#include "mkdata/font_writer.h"

namespace vs::mkdata::demo {

namespace {

namespace fs = std::filesystem;

struct CodeRange {
    char16_t first, last;
};

constexpr CodeRange kLatinRanges[] = {
    {0x0020, 0x007E}, {0x00A0, 0x052F}, {0x2000, 0x22FF}, {0x2500, 0x25FF}};
constexpr CodeRange kIdeographRanges[] = {
    {0x3000, 0x30FF}, {0x4E00, 0x9FFF}, {0xF900, 0xFAFF}, {0xFF00, 0xFFEF}};

std::string findFont(const char* file) {
    for (const char* dir : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/X11/misc",
                            "/usr/local/share/fonts", "/usr/share/fonts"}) {
        const fs::path p = fs::path(dir) / file;
        if (fs::exists(p)) return p.string();
    }
    throw std::runtime_error(std::string("font ") + file +
                             " not found (scripts/bootstrap installs it)");
}

class Library {
  public:
    Library() {
        if (FT_Init_FreeType(&lib_)) throw std::runtime_error("FreeType does not start");
        // The same hinting on every FreeType release that has this interpreter.
        FT_UInt version = TT_INTERPRETER_VERSION_40;
        FT_Property_Set(lib_, "truetype", "interpreter-version", &version);
    }
    ~Library() { FT_Done_FreeType(lib_); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    FT_Face open(const char* file) {
        FT_Face face = nullptr;
        const std::string path = findFont(file);
        if (FT_New_Face(lib_, path.c_str(), 0, &face))
            throw std::runtime_error("FreeType cannot read " + path);
        faces_.push_back(face);
        return face;
    }

  private:
    FT_Library lib_ = nullptr;
    std::vector<FT_Face> faces_;  // freed with the library
};

// A glyph's ink as FreeType places it: `ascent` rows above the baseline, `left` right of the pen.
struct Ink {
    int left = 0, ascent = 0, width = 0, height = 0, advance = 0;
    std::vector<uint8_t> on;  // width × height
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && on[size_t(y * width + x)];
    }
};

bool render(FT_Face face, char32_t code, Ink& ink) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) return false;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& b = g->bitmap;
    ink.left = g->bitmap_left;
    ink.ascent = g->bitmap_top;
    ink.width = int(b.width);
    ink.height = int(b.rows);
    ink.advance = int((g->advance.x + 32) >> 6);
    ink.on.assign(size_t(ink.width) * size_t(ink.height), 0);
    for (int y = 0; y < ink.height; ++y) {
        const unsigned char* row = b.buffer + ptrdiff_t(y) * b.pitch;
        for (int x = 0; x < ink.width; ++x) {
            const bool set = b.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                                : row[x] >= 128;
            ink.on[size_t(y * ink.width + x)] = set;
        }
    }
    // Drop empty rows and columns at the edges, so the box is the ink's.
    auto rowEmpty = [&](int y) {
        for (int x = 0; x < ink.width; ++x)
            if (ink.at(x, y)) return false;
        return true;
    };
    auto columnEmpty = [&](int x) {
        for (int y = 0; y < ink.height; ++y)
            if (ink.at(x, y)) return false;
        return true;
    };
    int top = 0, bottom = ink.height, left = 0, right = ink.width;
    while (top < bottom && rowEmpty(top)) ++top;
    while (bottom > top && rowEmpty(bottom - 1)) --bottom;
    while (left < right && columnEmpty(left)) ++left;
    while (right > left && columnEmpty(right - 1)) --right;
    if (top == bottom || left == right) {
        ink.width = ink.height = 0;
        ink.on.clear();
        return true;
    }
    Ink cut;
    cut.left = ink.left + left;
    cut.ascent = ink.ascent - top;
    cut.width = right - left;
    cut.height = bottom - top;
    cut.advance = ink.advance;
    cut.on.resize(size_t(cut.width) * size_t(cut.height));
    for (int y = 0; y < cut.height; ++y)
        for (int x = 0; x < cut.width; ++x)
            cut.on[size_t(y * cut.width + x)] = ink.at(left + x, top + y);
    ink = std::move(cut);
    return true;
}

// The ink plus its outline, with the advance widened so that the ink ends a column before the
// next pen (the next glyph's outline would cut it otherwise).
FontGlyph outlined(const Ink& ink, char16_t code) {
    FontGlyph g;
    const int inkLeft = std::max(ink.left, 0);
    g.advance = int16_t(std::max(ink.advance, inkLeft + ink.width + 1));
    if (ink.width == 0) {
        g.width = g.advance;
        return g;
    }
    g.width = ink.width + 2;
    g.height = ink.height + 2;
    g.left = int16_t(1 + inkLeft);
    g.top = int16_t((code < 256 ? 11 : 9) - ink.ascent);
    g.classes.assign(size_t(g.width) * size_t(g.height), 0);
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            if (ink.at(x - 1, y - 1)) {
                g.at(x, y) = 1;
                continue;
            }
            for (int dy = -1; dy <= 1 && !g.at(x, y); ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (ink.at(x - 1 + dx, y - 1 + dy)) g.at(x, y) = 2;
        }
    }
    return g;
}

// Glyph 0x1F: the marker shown over a creature, a small triangle pointing down.
FontGlyph marker() {
    Ink ink;
    ink.width = 7;
    ink.height = 4;
    ink.ascent = 7;
    ink.on.assign(28, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = y; x < 7 - y; ++x) ink.on[size_t(y * 7 + x)] = 1;
    return outlined(ink, 0x1F);
}

void addRanges(FontWriter& font, FT_Face face, std::span<const CodeRange> ranges) {
    Ink ink;
    for (const CodeRange& r : ranges) {
        for (char32_t c = r.first; c <= r.last; ++c) {
            if (!render(face, c, ink)) continue;
            FontGlyph g = outlined(ink, char16_t(c));
            // A blank without an advance would only show as '?'.
            if (g.width == 0) continue;
            font.set(char16_t(c), std::move(g));
        }
    }
}

}  // namespace

std::vector<uint8_t> gameFont() {
    Library lib;
    FontWriter font;
    FT_Face latin = lib.open("DejaVuSans.ttf");
    FT_Set_Pixel_Sizes(latin, 0, 9);
    addRanges(font, latin, kLatinRanges);
    FT_Face ideographs = lib.open("wenquanyi_9pt.pcf");
    if (ideographs->num_fixed_sizes > 0) FT_Select_Size(ideographs, 0);
    addRanges(font, ideographs, kIdeographRanges);
    font.set(0x1F, marker());
    return font.build();
}

std::vector<uint8_t> digitFont() {
    Library lib;
    FT_Face face = lib.open("DejaVuSans-Bold.ttf");
    FT_Set_Pixel_Sizes(face, 0, 12);
    struct Tones {
        uint8_t light, dark;
    };
    const Tones sets[] = {{colour(kGold, 14), colour(kGold, 9)},
                          {colour(kGrey, 15), colour(kGrey, 11)},
                          {colour(kGrass, 14), colour(kGrass, 9)}};
    const uint8_t outline = colour(kGrey, 1);
    constexpr int kW = 9, kH = 11;
    std::vector<uint8_t> file;
    for (const Tones& t : sets) {
        for (char c = '0'; c <= '9'; ++c) {
            Ink ink;
            std::array<uint8_t, kW * kH> cell{};
            if (render(face, char32_t(c), ink) && ink.width > 0) {
                // Centre the ink (at most 7 × 9) in the cell, leaving room for the outline.
                const int w = std::min(ink.width, kW - 2), h = std::min(ink.height, kH - 2);
                const int x0 = (kW - w) / 2, y0 = (kH - h) / 2;
                const int sx = (ink.width - w) / 2, sy = (ink.height - h) / 2;
                auto on = [&](int x, int y) {
                    return x >= 0 && y >= 0 && x < w && y < h && ink.at(sx + x, sy + y);
                };
                for (int y = 0; y < kH; ++y) {
                    for (int x = 0; x < kW; ++x) {
                        uint8_t& px = cell[size_t(y * kW + x)];
                        if (on(x - x0, y - y0)) {
                            px = y - y0 < h / 2 ? t.light : t.dark;
                            continue;
                        }
                        for (int dy = -1; dy <= 1; ++dy)
                            for (int dx = -1; dx <= 1; ++dx)
                                if (on(x - x0 + dx, y - y0 + dy)) px = outline;
                    }
                }
            }
            file.insert(file.end(), cell.begin(), cell.end());
        }
    }
    return file;
}

int drawLabel(SpriteFrame& frame, int x, int baseline, std::string_view text, int pixelSize,
              uint8_t ink, uint8_t outline, bool bold) {
    Library lib;
    FT_Face face = lib.open(bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    int width = 0;
    // Outlines first, so that no outline covers the ink of the glyph before it.
    for (const bool inkPass : {false, true}) {
        int pen = x;
        Ink glyph;
        for (const char c : text) {
            if (!render(face, char32_t(uint8_t(c)), glyph)) continue;
            for (int gy = -1; gy <= glyph.height; ++gy) {
                for (int gx = -1; gx <= glyph.width; ++gx) {
                    const int px = pen + glyph.left + gx, py = baseline - glyph.ascent + gy;
                    if (inkPass) {
                        if (glyph.at(gx, gy)) frame.put(px, py, ink);
                        continue;
                    }
                    bool near = false;
                    for (int dy = -1; dy <= 1 && !near; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) near = near || glyph.at(gx + dx, gy + dy);
                    if (near && outline != 0) frame.put(px, py, outline);
                }
            }
            pen += glyph.advance;
        }
        width = pen - x;
    }
    return width;
}

std::vector<uint8_t> chatBackgrounds() {
    // Frames for the backgrounds 143, 12 and 1: their hue with a faint weave.
    const std::array<std::array<uint8_t, 2>, 3> tones = {{{143, 142}, {12, 11}, {1, 2}}};
    EpfWriter epf(16, 13);
    for (const auto& t : tones) {
        SpriteFrame f(0, 0, 16, 13);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 16; ++x) f.at(x, y) = (x + y) % 4 == 0 ? t[1] : t[0];
        epf.add(std::move(f));
    }
    return epf.build();
}

}  // namespace vs::mkdata::demo

MKDATA_CONTENT(fonts, 300) {
    using namespace vs::mkdata::demo;
    auto& misc = data.archive("MISC.DAT");
    misc.add("MARVU00.EFT", gameFont());
    misc.add("9X11FONT.BIN", digitFont());
    misc.add("CHATBACK.EPF", chatBackgrounds());
}

// The chat backgrounds' palette, unless other art brings its own: this runs after the rest.
MKDATA_CONTENT(chat_palette, 950) {
    for (const auto& [file, archive] : data.archives())
        if (archive.contains("NPAL7.PAL")) return;
    data.archive("MISC.DAT").add("NPAL7.PAL", vs::mkdata::palFile(vs::mkdata::demo::basePalette()));
}
