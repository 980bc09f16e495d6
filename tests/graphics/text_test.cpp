// The game font's table checks, canvas text drawing and measuring, and the status digits.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_io.h"
#include "base/text.h"
#include "canvas_fixture.h"
#include "graphics/canvas.h"
#include "graphics/digit_font.h"
#include "graphics/font_cache.h"
#include "mkdata/font_writer.h"

namespace vs::test {
namespace {

using graphics::Canvas;
using graphics::DigitFont;
using graphics::FontCache;
using mkdata::FontGlyph;
using mkdata::FontWriter;

FontGlyph glyph(int16_t advance, int16_t left, int16_t top, int w, int h,
                std::vector<uint8_t> classes) {
    FontGlyph g;
    g.advance = advance;
    g.left = left;
    g.top = top;
    g.width = w;
    g.height = h;
    g.classes = std::move(classes);
    return g;
}

// A blank: its advance as its width, no rows.
FontGlyph blank(int16_t advance) {
    return glyph(advance, 0, 0, advance, 0, {});
}

// --- the table checks ----------------------------------------------------------------------------

// '?' (advance 7) and 'A' (advance 5, a 3 × 2 box); 'A' is the last record in the file.
std::vector<uint8_t> twoGlyphFont() {
    FontWriter w;
    w.set(u'?', glyph(7, 1, 2, 2, 1, {1, 1}));
    w.set(u'A', glyph(5, 1, 2, 3, 2, {1, 2, 1, 0, 1, 0}));
    return w.build();
}

void putI16(std::vector<uint8_t>& f, size_t at, int16_t v) {
    f[at] = uint8_t(v);
    f[at + 1] = uint8_t(uint16_t(v) >> 8);
}

TEST(FontCache, ACorruptRecordShowsAsTheQuestionMark) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&, uint32_t a)> corrupt;
        int32_t advanceOfA;  // '?' stands in (7), or nothing at all (0)
    };
    const Case cases[] = {
        {"intact", [](auto&, uint32_t) {}, 5},
        {"offset past the end",
         [](auto& f, uint32_t) {
             base::ByteWriter patch(std::move(f));
             patch.patchU32le(4 + 'A' * 4, uint32_t(patch.size() - 3));
             f = patch.take();
         },
         7},
        {"inverted box", [](auto& f, uint32_t a) { putI16(f, a + 6, 1); }, 7},
        {"box wider than 128", [](auto& f, uint32_t a) { putI16(f, a + 8, 1 + 129); }, 7},
        {"zero width", [](auto& f, uint32_t a) { putI16(f, a + 8, 1); }, 7},
        {"run past the row", [](auto& f, uint32_t a) { f[a + 14] = 0x20 | 4; }, 7},
        {"row past the file", [](auto& f, uint32_t) { f.pop_back(); }, 7},
        {"no question mark either",
         [](auto& f, uint32_t a) {
             putI16(f, a + 6, 1);
             base::ByteWriter patch(std::move(f));
             patch.patchU32le(4 + '?' * 4, 0);
             f = patch.take();
         },
         0},
        {"file shorter than its table",
         [](auto& f, uint32_t) { f.resize(FontCache::kTableEnd - 1); }, 0},
        {"empty file", [](auto& f, uint32_t) { f.clear(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> file = twoGlyphFont();
        c.corrupt(file, FontWriter::offsetOf(file, u'A'));
        FontCache fonts(file);
        EXPECT_EQ(fonts.GlyphAdvance(0, u'A'), c.advanceOfA);
        EXPECT_EQ(fonts.HasGlyph(u'A'), c.advanceOfA == 5);
        // Every font id reads font 0; a character without a glyph is '?'.
        EXPECT_EQ(fonts.GlyphAdvance(7, u'Z'), c.advanceOfA == 0 ? 0 : 7);
        resources::PixMap out;
        const uint8_t colours[8] = {0, 10, 20, 30, 40, 50, 60, 70};
        EXPECT_EQ(fonts.RenderGlyph(0, u'A', colours, out), c.advanceOfA != 0);
        EXPECT_EQ(fonts.LineHeight(3), 12);
    }
}

TEST(FontCache, RendersClassesThroughTheColoursIntoOneGrowingBuffer) {
    FontWriter w;
    w.set(u'a', glyph(4, 0, 0, 3, 2, {1, 0, 2, 7, 6, 5}));
    w.set(u'b', glyph(4, 0, 0, 40, 30, std::vector<uint8_t>(1200, 3)));
    const std::vector<uint8_t> file = w.build();
    FontCache fonts(file);
    const uint8_t colours[8] = {0, 11, 22, 33, 44, 55, 66, 77};
    resources::PixMap big, small;
    ASSERT_TRUE(fonts.RenderGlyph(0, u'b', colours, big));
    ASSERT_TRUE(fonts.RenderGlyph(0, u'a', colours, small));
    EXPECT_EQ(small.bounds(), (base::Rect{0, 0, 3, 2}));
    EXPECT_EQ(small.rowWidth(), 3);
    EXPECT_EQ(std::vector<uint8_t>(small.pixels8(), small.pixels8() + 6),
              (std::vector<uint8_t>{11, 0, 22, 77, 66, 55}));
    // The smaller glyph reuses the buffer the larger one grew.
    EXPECT_EQ(small.pixels8(), big.pixels8());
    EXPECT_EQ(fonts.GlyphBox(0, u'a'), (base::Rect{0, 0, 3, 2}));
}

// --- drawing -------------------------------------------------------------------------------------

class TextTest : public CanvasTest {
  protected:
    void useFont(const FontWriter& w) {
        file_ = w.build();
        fonts_ = std::make_unique<FontCache>(file_);
    }
    std::vector<uint8_t> file_;
    std::unique_ptr<FontCache> fonts_;
};

// One glyph, every class once, at a code below 256 and one above.
const std::vector<uint8_t> kClasses = {0, 1, 2, 3, 4, 5, 6, 7};

TEST_P(TextTest, DrawTextByBackgroundMode) {
    FontWriter w;
    w.set(u'x', glyph(6, 3, 4, 4, 2, kClasses));
    w.set(u'\u4e00', glyph(6, 3, 4, 4, 2, kClasses));
    useFont(w);
    constexpr int kText = 40, kBack = 41, kFill = 42;
    const int weight = 16;
    for (int mode = 0; mode <= 4; ++mode) {
        for (char16_t c : {u'x', u'\u4e00'}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " char " << int(c));
            fill(0x1234);
            canvas.SetTextColor(kText);
            canvas.SetTextBackColor(kBack);
            canvas.SetFillColor(kFill);
            canvas.SetTextBackMode(uint8_t(mode));
            canvas.MoveTo(10, 30);
            const std::u16string text(2, c);
            canvas.DrawText(text);
            EXPECT_EQ(canvas.GetPen(), (base::Point{22, 30}));

            std::vector<uint16_t> want(size_t(kW * kH), 0x1234);
            auto at = [&](int x, int y) -> uint16_t& { return want[size_t(y * kW + x)]; };
            const bool blend = mode == 2 || mode == 3;
            if (mode == 0 || mode == 2) {
                for (int y = 18; y < 30; ++y)
                    for (int x = 10; x < 22; ++x)
                        at(x, y) =
                            blend ? tableBlend(at(x, y), base(kFill), weight, six()) : base(kFill);
            }
            if (mode <= 3) {
                const int lift = c < 256 ? 2 : 0;
                for (int i = 0; i < 2; ++i) {
                    const int left = 10 + 6 * i + 3 - 2, top = 30 + 4 - 12 - lift;
                    for (int k = 0; k < 8; ++k) {
                        const int cls = kClasses[size_t(k)];
                        if (cls == 0 || cls >= 6) continue;
                        const uint16_t colour = base(cls == 2 || cls == 5 ? kBack : kText);
                        uint16_t& p = at(left + k % 4, top + k / 4);
                        p = blend ? tableBlend(p, colour, weight, six()) : colour;
                    }
                }
            }
            EXPECT_TRUE(samePicture(pixels(), want, kW, kH, name() + "-" + std::to_string(mode)));
        }
    }
}

// Glyphs that leave one pixel just above the baseline at their pen position, so the picture
// shows where every character was drawn.
class LayoutTest : public TextTest {
  protected:
    void SetUp() override {
        TextTest::SetUp();
        FontWriter w;
        // Drawn at pen x + 2 - 2 and baseline + 13 - 12 - 2.
        w.set(u'a', glyph(4, 2, 13, 1, 1, {1}));
        w.set(u'W', glyph(30, 2, 13, 1, 1, {1}));
        w.set(u'?', glyph(4, 2, 13, 1, 1, {1}));
        w.set(u' ', blank(3));
        useFont(w);
        canvas.SetTextColor(7);
    }
    // (x, baseline) of every pixel drawn.
    std::set<std::pair<int, int>> marks() {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (px(x, y) != 0) out.insert({x, y + 1});
        return out;
    }
};

TEST_P(LayoutTest, DrawTextInRectLines) {
    using Marks = std::set<std::pair<int, int>>;
    struct Case {
        const char* name;
        std::u16string text;
        Rect rect;
        uint8_t alignment;
        Marks want;
    };
    const Case cases[] = {
        {"a 12-pixel rectangle holds one line",
         u"aaaaaaaa",
         {2, 0, 18, 12},
         0,
         {{2, 12}, {6, 12}, {10, 12}, {14, 12}}},
        {"a space starting a later line is skipped once",
         u"aaaa  aa",
         {2, 0, 18, 40},
         0,
         {{2, 12}, {6, 12}, {10, 12}, {14, 12}, {5, 24}, {9, 24}}},
        {"a leading space on the first line stays", u" a", {2, 0, 18, 40}, 0, {{5, 12}}},
        {"centred", u"aaaaa", {2, 0, 18, 40}, 1, {{2, 12}, {6, 12}, {10, 12}, {14, 12}, {8, 24}}},
        {"right-aligned",
         u"aaaaa",
         {2, 0, 18, 40},
         2,
         {{2, 12}, {6, 12}, {10, 12}, {14, 12}, {14, 24}}},
        {"other alignments are left",
         u"aaaaa",
         {2, 0, 18, 40},
         9,
         {{2, 12}, {6, 12}, {10, 12}, {14, 12}, {2, 24}}},
        {"a character wider than the line takes one of its own",
         u"aWa",
         {2, 0, 18, 40},
         0,
         {{2, 12}, {2, 24}, {2, 36}}},
        {"the last baseline may touch the bottom",
         u"aaaaaaaaa",
         {2, 3, 18, 27},
         0,
         {{2, 15}, {6, 15}, {10, 15}, {14, 15}, {2, 27}, {6, 27}, {10, 27}, {14, 27}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(0);
        canvas.SetAlignment(c.alignment);
        canvas.MoveTo(33, 44);
        canvas.DrawTextInRect(c.text, c.rect);
        EXPECT_EQ(canvas.GetPen(), (base::Point{33, 44}));
        EXPECT_EQ(marks(), c.want);
        if (c.rect.height() >= 36) {
            std::set<int> lines;
            for (const auto& m : c.want) lines.insert(m.second);
            EXPECT_EQ(canvas.TextLineCount(c.text, c.rect.width()), int(lines.size()));
        }
    }
}

TEST_P(LayoutTest, Measures) {
    EXPECT_EQ(canvas.TextWidth(u"a a"), 11);
    EXPECT_EQ(canvas.TextWidth(u"z"), 4);  // shown as '?'
    EXPECT_EQ(canvas.FittingCount(u"aaaW", 12), 3u);
    EXPECT_EQ(canvas.FittingCount(u"aaaW", 11), 2u);
    EXPECT_EQ(canvas.FittingCount(u"aa", 100), 2u);
    EXPECT_EQ(Canvas::TrimmedLength(u"ab \t\r \r"), 2u);
    EXPECT_EQ(Canvas::TrimmedLength(u" \n"), 2u);
    struct Fit {
        std::u16string text;
        int32_t width;
        std::u16string want;
    };
    const Fit fits[] = {
        {u"aaaaaa", 24, u"aaaaaa"},  // fits: unchanged
        {u"aaaaaa", 23, u"aaaa a"},  // 4 × 4 + 3 + 4 = 23
        {u"aaaaaa", 2, u" a"},       // even the suffix does not fit: it alone remains
    };
    for (const Fit& f : fits) {
        std::u16string buffer = f.text;
        canvas.FitWithSuffix(buffer, u" a", f.width);
        EXPECT_EQ(buffer, f.want) << f.width;
    }
    // The count of the measuring form needs no rectangle.
    EXPECT_EQ(canvas.TextLineCount(u"aaaaaaaaa", 16), 3);
    EXPECT_EQ(canvas.TextLineCount(u"", 16), 0);
}

// --- digits --------------------------------------------------------------------------------------

TEST_P(TextTest, DrawDigitsAdvanceNineAndSkipWhatTheFontLacks) {
    // Two colour sets; digit d of set s has its top-left pixel s × 10 + d + 1, the rest 0.
    std::vector<uint8_t> file(2 * DigitFont::kSetBytes, 0);
    for (int s = 0; s < 2; ++s)
        for (int d = 0; d < 10; ++d)
            file[size_t(s) * DigitFont::kSetBytes + size_t(d) * DigitFont::kDigitBytes] =
                uint8_t(s * 10 + d + 1);
    DigitFont digits(file);
    struct Case {
        std::u16string text;
        int set;
        std::vector<int> want;  // the pixel index at x 2 + 9 i, or 0 for nothing drawn
    };
    const Case cases[] = {
        {u"12/3 4", 1, {12, 13, 0, 14, 0, 15}},
        {u"09", 0, {1, 10}},
        {u"1x-1", 0, {2, 0, 0, 2}},
        {u"12", 2, {0, 0}},   // a set past the file
        {u"12", -1, {0, 0}},  // and before it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(base::utf16ToUtf8(c.text));
        fill(0);
        graphics::DrawDigits(canvas, digits, c.text, 2, 5, c.set);
        for (size_t i = 0; i < c.want.size(); ++i) {
            const int x = 2 + 9 * int(i);
            EXPECT_EQ(px(x, 5), c.want[i] ? base(c.want[i]) : 0) << i;
            EXPECT_EQ(px(x + 1, 5), 0);  // keyed: index 0 draws nothing
        }
    }
}

VS_BOTH_FORMATS(TextTest);
VS_BOTH_FORMATS(LayoutTest);

}  // namespace
}  // namespace vs::test
