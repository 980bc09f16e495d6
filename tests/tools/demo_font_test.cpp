// The demo's font files: every glyph passes the program's checks, the game's code page is
// covered, and no glyph's ink reaches the outline of the glyph after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "graphics/digit_font.h"
#include "graphics/font_cache.h"
#include "mkdata/content/fonts.h"
#include "mkdata/font_writer.h"
#include "resources/epf_file.h"

namespace vs::mkdata {
namespace {

using graphics::FontCache;

class DemoFont : public testing::Test {
  protected:
    static void SetUpTestSuite() { file_ = new std::vector<uint8_t>(demo::gameFont()); }
    static void TearDownTestSuite() {
        delete file_;
        file_ = nullptr;
    }
    static std::vector<uint8_t>* file_;
};

std::vector<uint8_t>* DemoFont::file_ = nullptr;

TEST_F(DemoFont, EveryGlyphIsValidAndKeepsClearOfTheNextPen) {
    FontCache fonts(*file_);
    const uint8_t classes[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    size_t glyphs = 0;
    for (uint32_t c = 0; c < 65536; ++c) {
        if (FontWriter::offsetOf(*file_, char16_t(c)) == 0) continue;
        ++glyphs;
        SCOPED_TRACE(c);
        ASSERT_TRUE(fonts.HasGlyph(char16_t(c)));
        resources::PixMap g;
        if (!fonts.RenderGlyph(0, char16_t(c), classes, g)) continue;
        const base::Rect box = fonts.GlyphBox(0, char16_t(c));
        const int32_t advance = fonts.GlyphAdvance(0, char16_t(c));
        for (int y = 0; y < g.height(); ++y) {
            for (int x = 0; x < g.width(); ++x) {
                if (g.pixels8()[y * g.rowWidth() + x] != 1) continue;
                // The column drawn, counted from the pen.
                const int column = box.left - 2 + x;
                ASSERT_GE(column, 0);
                ASSERT_LE(column, advance - 2);
            }
        }
    }
    EXPECT_GT(glyphs, 20000u);
}

TEST_F(DemoFont, CoversTheCodePageTheMarkerAndTheAdmittedIdeographs) {
    FontCache fonts(*file_);
    const base::CodePage cp("WINDOWS-1252");
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b == 0x7F) continue;
        const char byte = char(b);
        const std::u16string wide = cp.decode(std::string_view(&byte, 1));
        ASSERT_EQ(wide.size(), 1u) << b;
        if (wide[0] == u'?' && b != '?') continue;  // a byte the code page leaves undefined
        EXPECT_TRUE(fonts.HasGlyph(wide[0])) << std::hex << b;
    }
    for (char16_t c : u"\u90f5\u665f\ufa00\u501a\u743f\u6d35\u3042\u30a2\uff01")
        if (c) {
            EXPECT_TRUE(fonts.HasGlyph(c)) << int(c);
        }
    // The marker: 7 × 4 ink and its outline.
    EXPECT_EQ(fonts.GlyphBox(0, 0x1F).width(), 9);
    EXPECT_EQ(fonts.GlyphBox(0, 0x1F).height(), 6);
    // Blanks draw nothing but advance.
    EXPECT_GT(fonts.GlyphAdvance(0, u' '), 0);
    EXPECT_EQ(fonts.GlyphBox(0, u' ').height(), 0);
    // Latin and ideographs share the line: their ink stays inside the 12-pixel band.
    for (char16_t c : {u'A', u'g', u'\u00c9', u'\u4e2d'}) {
        const base::Rect box = fonts.GlyphBox(0, c);
        const int lift = c < 256 ? 2 : 0;
        EXPECT_GE(box.top + 1 - lift, 0) << int(c);
        EXPECT_LE(box.bottom - 1 - lift, 12) << int(c);
    }
}

TEST(DemoDigits, ThreeColourSetsOfTenOutlinedDigits) {
    const std::vector<uint8_t> file = demo::digitFont();
    ASSERT_EQ(file.size(), 3 * graphics::DigitFont::kSetBytes);
    graphics::DigitFont digits(file);
    for (int set = 0; set < 3; ++set) {
        for (int d = 0; d < 10; ++d) {
            resources::PixMap p;
            ASSERT_TRUE(digits.Digit(set, d, p));
            int ink = 0;
            for (int i = 0; i < 99; ++i) ink += p.pixels8()[i] != 0;
            EXPECT_GT(ink, 20) << set << " " << d;
        }
    }
    resources::FrameSet backs;
    const std::vector<uint8_t> chat = demo::chatBackgrounds();
    ASSERT_TRUE(resources::epf::parse(chat, backs));
    EXPECT_EQ(backs.frameCount(), 3);
}

}  // namespace
}  // namespace vs::mkdata
