// Speech balloons: line breaks, placement over the speaker inside the map area, the tail, the
// repaints a move asks for, and the picture's main parts.
#include "ui/speech_balloon.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/font_cache.h"
#include "mkdata/font_writer.h"
#include "resources/palette_manager.h"
#include "support/palette_fixture.h"
#include "ui/color_string_chatting_message.h"

namespace vs::ui {
namespace {

using base::Rect;

// Every character 6 pixels wide, drawn as a 1 × 1 dot.
class BalloonTest : public testing::Test {
  protected:
    void SetUp() override {
        mkdata::FontWriter w;
        for (char16_t c : std::u16string(u"a?W")) {
            mkdata::FontGlyph g;
            g.advance = 6;
            g.left = 2;
            g.top = 13;
            g.width = g.height = 1;
            g.classes = {1};
            w.set(c, g);
        }
        mkdata::FontGlyph space;
        space.advance = 6;
        space.width = 6;
        w.set(u' ', space);
        file_ = w.build();
        fonts_ = std::make_unique<graphics::FontCache>(file_);
        files_.addEverything();
        files_.files["marvu.pal"] = test::palFile([](int i) {
            return test::Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
        });
        palettes_ = std::make_unique<resources::PaletteManager>(files_);
    }
    uint16_t base(int i) const { return palettes_->GetBasePalette()->GetColor(i); }

    test::MemoryPaletteFiles files_;
    std::unique_ptr<resources::PaletteManager> palettes_;
    std::vector<uint8_t> file_;
    std::unique_ptr<graphics::FontCache> fonts_;
};

TEST_F(BalloonTest, BreaksLines) {
    struct Case {
        std::u16string text;
        std::vector<std::u16string> lines;
        int32_t textWidth;
    };
    const std::u16string a12(12, u'a'), a13(13, u'a'), a18(18, u'a');
    const Case cases[] = {
        {u"aaa", {u"aaa"}, 19},
        // 72 pixels fit; a space past them breaks and begins the next line.
        {a12 + u" a", {a12, u" a"}, 73},
        // A running word raises the limit, up to 108 pixels, and the limit stays raised.
        {a13, {a13}, 79},
        {a18 + u"a", {a18, u"a"}, 109},
        {a13 + u" " + a13, {a13, u" " + a13}, 85},
        {u"", {u""}, 1},
    };
    for (const Case& c : cases) {
        SpeechBalloon b(c.text, 143);
        EXPECT_EQ(b.Lines(), c.lines);
        EXPECT_EQ(b.TextWidth(), c.textWidth);
        EXPECT_EQ(b.Height(), int32_t(c.lines.size()) * 12 + 10);
        EXPECT_EQ(b.Width(), std::max(c.textWidth + 10, 17));
    }
    // 70 characters are cut to 69.
    EXPECT_EQ(SpeechBalloon(std::u16string(70, u'a'), 143).Text().size(), 69u);
    EXPECT_EQ(SpeechBalloon(std::u16string(69, u'a'), 143).Text().size(), 69u);
}

TEST_F(BalloonTest, StaysOverItsSpeakerInsideTheMapArea) {
    // "aaa": 19 + 10 = 29 wide, 22 high.
    struct Case {
        const char* name;
        Rect speaker;
        Rect bounds;
        uint8_t side;
        int32_t tailX;
    };
    const Case cases[] = {
        {"above", {100, 200, 124, 248}, {98, 174, 127, 196}, SpeechBalloon::kTailBottom, 14},
        {"below at the top edge",
         {100, 20, 124, 68},
         {98, 72, 127, 94},
         SpeechBalloon::kTailTop,
         14},
        {"kept right of x 14",
         {0, 200, 10, 248},
         {14, 174, 43, 196},
         SpeechBalloon::kTailBottom,
         8},
        {"kept left of x 422",
         {430, 200, 440, 248},
         {393, 174, 422, 196},
         SpeechBalloon::kTailBottom,
         20},
        {"kept above y 348", {100, 2, 124, 340}, {98, 326, 127, 348}, SpeechBalloon::kTailTop, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeechBalloon b(u"aaa", 14);
        EXPECT_EQ(b.Follow(c.speaker), Rect{}) << "the first placement repaints nothing extra";
        EXPECT_EQ(b.Bounds(), c.bounds);
        EXPECT_EQ(b.TailSide(), c.side);
        EXPECT_EQ(b.TailX(), c.tailX);
    }
}

TEST_F(BalloonTest, AMoveRepaintsTheTailsOrAllOfItWhenTheSideChanges) {
    SpeechBalloon b(u"aaa", 14);
    b.Follow({100, 200, 124, 248});
    // Free to move: the tail stays where it is in the balloon.
    EXPECT_EQ(b.Follow({110, 200, 134, 248}), Rect{});
    // Against the left edge the balloon stops and the tail moves: old and new tail.
    b.Follow({10, 200, 34, 248});
    EXPECT_EQ(b.TailX(), 8);
    const Rect before = b.TailArea();
    const Rect repaint = b.Follow({14, 200, 38, 248});
    EXPECT_EQ(repaint, before.unite(b.TailArea()));
    EXPECT_EQ(b.TailX(), 12);
    // The speaker walks to the top: the balloon goes below, and the body moves with the tail.
    EXPECT_EQ(b.Follow({14, 20, 38, 68}), (Rect{0, 0, b.Width(), b.Height()}));
    EXPECT_EQ(b.TailArea(), (Rect{8, 0, 16, 5}));
}

TEST_F(BalloonTest, PaintsBodyEdgesTailAndText) {
    SpeechBalloon b(u"aaa", 14);
    b.Follow({100, 200, 124, 248});
    graphics::Canvas c;
    c.SetBounds({0, 0, b.Width(), b.Height()});
    c.SetClipArea(c.GetBounds());
    ASSERT_TRUE(c.Lock());
    b.Paint(c);
    auto px = [&](int x, int y) { return c.Picture().pixels16()[y * c.Picture().rowWidth() + x]; };
    const int w = b.Width(), h = b.Height(), tail = b.TailX();
    EXPECT_EQ(px(0, 5), 0) << "outside the body's inset";
    EXPECT_EQ(px(1, 0), 0) << "outside a rounded corner";
    EXPECT_EQ(px(w / 2, 0), base(14)) << "top edge";
    EXPECT_EQ(px(1, 8), base(14)) << "left edge";
    EXPECT_NE(px(w / 2, 8), 0) << "body";
    EXPECT_NE(px(w / 2, 8), base(14));
    EXPECT_EQ(px(tail - 1, h - 2), base(14)) << "tail tip";
    EXPECT_EQ(px(tail + 5, h - 3), 0) << "beside the tail";
    // Text dots at x 5 + 6 i on the first baseline, 15 below the body top.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(px(5 + 6 * i, 14), base(14)) << i;
    c.Unlock();
}

TEST_F(BalloonTest, AChatLineWithoutABackgroundFrameDrawsNothing) {
    graphics::Canvas c;
    c.SetBounds({0, 0, 40, 13});
    c.SetClipArea(c.GetBounds());
    ASSERT_TRUE(c.Lock());
    auto lit = [&] {
        int n = 0;
        for (int i = 0; i < 40 * 13; ++i) n += c.Picture().pixels16()[i] != 0;
        return n;
    };
    ColorStringChattingMessage hidden(u"aaa", 143, 5);
    hidden.Draw(c, {0, 0, 40, 13});
    EXPECT_EQ(lit(), 0);
    const auto shown = ColorStringChattingMessage(u"aaa", 58, 143).Clone();
    EXPECT_EQ(shown->TextColor(), 58);
    EXPECT_EQ(shown->LineCount(c, 408), 1);
    shown->Draw(c, {0, 0, 40, 13});
    EXPECT_EQ(lit(), 3);
    c.Unlock();
}

}  // namespace
}  // namespace vs::ui
