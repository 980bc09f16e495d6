// The chat pane: what the screen shows after any mix of new lines, scrolling keys, the wheel and
// frames equals a full repaint of the same history at the same position; the 101st line; keys.
#include "ui/chatting_pane.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/input_man.h"
#include "graphics/canvas.h"
#include "graphics/font_cache.h"
#include "mkdata/font_writer.h"
#include "resources/palette_manager.h"
#include "support/palette_fixture.h"
#include "support/pixel_formats.h"
#include "ui/ui_fixture.h"

namespace vs::test {
namespace {

using graphics::PixelFormat;
using ui::ChattingPane;

constexpr Rect kPlace{14, 390, 434, 455};
constexpr uint32_t kVkShift = 0x10, kVkCtrl = 0x11, kVkPrior = 0x21, kVkNext = 0x22, kVkUp = 0x26,
                   kVkDown = 0x28;

class ChatTest : public UiFixture, public testing::WithParamInterface<PixelFormat> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        files.addEverything();
        files.files["marvu.pal"] = palFile([](int i) {
            return Rgb{uint8_t(i * 7 + 8), uint8_t(255 - i), uint8_t(i * 29 + 16)};
        });
        palettes = std::make_unique<resources::PaletteManager>(files);
        // Letters of different widths and shapes, tall enough to cross line edges.
        mkdata::FontWriter w;
        for (int i = 0; i < 5; ++i) {
            mkdata::FontGlyph g;
            g.advance = int16_t(5 + i * 3);
            g.left = 2;
            g.top = 2;
            g.width = 4 + i;
            g.height = 13;
            g.classes.resize(size_t(g.width * g.height));
            for (size_t k = 0; k < g.classes.size(); ++k) g.classes[k] = uint8_t((k * (i + 3)) % 3);
            w.set(char16_t(u'a' + i), g);
        }
        w.set(u' ', mkdata::FontGlyph{4, 0, 0, 4, 0, {}});
        font = w.build();
        fonts = std::make_unique<graphics::FontCache>(font);
        pane.Attach(kPlace, nullptr, nullptr, raw[ui::kBaseLayer]);
        pane.RegisterHandler(nullptr, nullptr);
    }

    // The history painted from scratch at the pane's position.
    std::vector<uint16_t> repainted() {
        graphics::Canvas ref;
        ref.SetBounds({0, 0, kPlace.width(), kPlace.height()});
        const base::Point o{0, pane.ScrollPos().y * ChattingPane::kLineHeight};
        ref.SetOrigin(o);
        ref.SetClipArea(ref.SurfaceRect());
        EXPECT_TRUE(ref.Lock());
        ref.SetPenColor(ChattingPane::kFill);
        ref.FillRect(ref.SurfaceRect());
        for (size_t row = 0; row < pane.Messages().size(); ++row) {
            const Rect line = ChattingPane::LineRect(row);
            if (!line.intersects(ref.SurfaceRect())) continue;
            ref.SetUserClip(line);
            pane.Messages()[row]->Draw(ref, line);
        }
        const uint16_t* p = ref.Picture().pixels16();
        std::vector<uint16_t> out(p, p + kPlace.width() * kPlace.height());
        ref.Unlock();
        return out;
    }
    std::vector<uint16_t> shown() {
        std::vector<uint16_t> out;
        for (int y = kPlace.top; y < kPlace.bottom; ++y)
            for (int x = kPlace.left; x < kPlace.right; ++x) out.push_back(back.at(x, y));
        return out;
    }
    testing::AssertionResult showsItsHistory(const std::string& what) {
        if (shown() == repainted()) return testing::AssertionSuccess();
        return testing::AssertionFailure() << what << ": the screen differs from a full repaint";
    }
    void key(uint32_t vk) {
        input.keyDown(vk, 0);
        input.keyUp(vk, 0);
    }
    void wheel(int notches) {
        app::InputEvent e;
        e.kind = app::InputEvent::kWheel;
        e.x = 100;
        e.y = 20;
        e.wheel = notches;
        pane.OnMouse(e);
    }

    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::vector<uint8_t> font;
    std::unique_ptr<graphics::FontCache> fonts;
    app::InputMan input;
    ChattingPane pane;
};

TEST_P(ChatTest, AnyMixOfLinesAndScrollingShowsWhatAFullRepaintShows) {
    const int32_t colours[] = {1, 12, 58, 128, 143};
    const int32_t backs[] = {143, 143, 12, 1, 5};
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(rng);
        };
        bool shift = false;
        for (int step = 0; step < 400; ++step) {
            switch (pick(0, 9)) {
                case 0:
                case 1:
                case 2:
                case 3: {
                    std::u16string text;
                    for (int n = pick(0, 60); n > 0; --n) text += char16_t(u'a' + pick(0, 5));
                    pane.AddMessage(text, colours[pick(0, 4)], backs[pick(0, 4)]);
                    break;
                }
                case 4:
                    shift ? input.keyUp(kVkShift, 0) : input.keyDown(kVkShift, 0);
                    shift = !shift;
                    break;
                case 5:
                    pick(0, 1) ? pane.TakeFocus() : pane.DropFocus();
                    break;
                case 6:
                case 7: {
                    const uint32_t keys[] = {kVkUp, kVkDown, kVkPrior, kVkNext};
                    key(keys[pick(0, 3)]);
                    break;
                }
                case 8:
                    wheel(pick(-3, 3));
                    break;
                default: {
                    // An invalid area holds pixels nobody may rely on until it is painted.
                    const Rect r =
                        Rect::fromSize(pick(0, 420), pick(0, 65), pick(1, 50), pick(1, 20));
                    const base::Point o = pane.GetOrigin();
                    const Rect clip = pane.ClipArea();
                    pane.SetClipArea(r.offset(o.x, o.y));
                    ASSERT_TRUE(pane.Lock());
                    pane.SetPenColor(77);
                    pane.FillRect(r.offset(o.x, o.y));
                    pane.Unlock();
                    pane.SetClipArea(clip);
                    pane.Invalidate(r);
                }
            }
            if (pick(0, 1)) {
                frame();
                ASSERT_TRUE(showsItsHistory("seed " + std::to_string(seed) + " step " +
                                            std::to_string(step)));
            }
            ASSERT_LE(pane.Messages().size(), ChattingPane::kMaxMessages);
        }
        if (shift) input.keyUp(kVkShift, 0);
    }
}

TEST_P(ChatTest, TheHundredAndFirstLineDropsTheOldestAndAScrolledViewStaysPut) {
    for (int i = 0; i < 95; ++i) pane.AddMessage(std::u16string(size_t(i % 7 + 1), u'b'), 128, 143);
    ASSERT_EQ(pane.Messages().size(), 100u);
    EXPECT_EQ(pane.ScrollPos().y, 95);
    frame();
    // Scrolled up a page with Shift held, a new line must not move the view.
    input.keyDown(kVkShift, 0);
    key(kVkPrior);
    EXPECT_EQ(pane.ScrollPos().y, 90);
    frame();
    const std::vector<uint16_t> before = shown();
    const std::u16string second = pane.Messages()[1]->Text();
    pane.AddMessage(u"ccc", 58, 143);
    EXPECT_EQ(pane.Messages().size(), 100u);
    EXPECT_EQ(pane.Messages()[0]->Text(), second);
    EXPECT_EQ(pane.ScrollPos().y, 89);
    frame();
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(showsItsHistory("after the 101st"));
    input.keyUp(kVkShift, 0);
    // Without Shift the new line scrolls into view at the bottom.
    pane.AddMessage(u"ddd", 58, 143);
    EXPECT_EQ(pane.ScrollPos().y, 95);
    frame();
    EXPECT_TRUE(showsItsHistory("scrolled to the newest"));
}

TEST_P(ChatTest, OnlyShiftAloneScrollsAndTheRangeClamps) {
    for (int i = 0; i < 20; ++i) pane.AddMessage(u"a", 128, 143);
    ASSERT_EQ(pane.ScrollPos().y, 20);
    struct Case {
        std::vector<uint32_t> held;
        uint32_t key;
        int32_t want;
    };
    const Case cases[] = {
        {{kVkShift}, kVkUp, 19},          {{kVkShift}, kVkPrior, 14}, {{kVkShift}, kVkPrior, 9},
        {{kVkShift}, kVkNext, 14},        {{kVkShift}, kVkDown, 15},  {{}, kVkUp, 15},
        {{kVkShift, kVkCtrl}, kVkUp, 15}, {{kVkShift}, kVkNext, 20},  {{kVkShift}, kVkNext, 20},
    };
    for (const Case& c : cases) {
        for (uint32_t h : c.held) input.keyDown(h, 0);
        key(c.key);
        for (uint32_t h : c.held) input.keyUp(h, 0);
        EXPECT_EQ(pane.ScrollPos().y, c.want) << c.key;
    }
    wheel(2);
    EXPECT_EQ(pane.ScrollPos().y, 18);
    wheel(-30);
    EXPECT_EQ(pane.ScrollPos().y, 20);
    wheel(30);
    EXPECT_EQ(pane.ScrollPos().y, 0);
}

VS_INSTANTIATE_IN_BOTH_FORMATS(ChatTest);

}  // namespace
}  // namespace vs::test
