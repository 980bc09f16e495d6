// The scroll bar inside a dialog: its parts along the bar, the thumb's mapping, the step repeat
// on the clock, releases on another part, keys.
#include "ui/scroll_bar.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/control_fixture.h"

namespace vs::test {
namespace {

using app::InputEvent;
using Commands = std::vector<std::pair<int32_t, int32_t>>;

// The bar at (20, 10) in a dialog at (0, 0): 12 wide, 100 long; arrows are 12 (frame 3).
constexpr Rect kBar{20, 10, 32, 110};

class ScrollBarTest : public ControlFixture {
  protected:
    ui::ScrollBar& build(int32_t maximum, Rect r = kBar) {
        auto& bar = dialog.Add<ui::ScrollBar>(r, maximum);
        open(dialog, {0, 0, 200, 200});
        return bar;
    }
    // The clock moves and due timers fire.
    void wait(uint32_t ms) {
        clock.advance(ms);
        frameClock.update();
    }
    RecordingDialog dialog{u"bar"};
};

TEST_F(ScrollBarTest, PartsAlongTheBarFollowTheValue) {
    struct Case {
        int32_t maximum, value;
        bool enabled;
        std::vector<std::pair<int32_t, uint8_t>> parts;  // position along the bar, part
    };
    const Case cases[] = {
        {10,
         0,
         true,
         {{0, 11}, {11, 11}, {12, 13}, {23, 13}, {24, 14}, {87, 14}, {88, 15}, {99, 15}}},
        // L − 3a = 64: value 5 puts the thumb at 12 + 32.
        {10, 5, true, {{43, 12}, {44, 13}, {55, 13}, {56, 14}}},
        {10, 10, true, {{75, 12}, {76, 13}, {87, 13}, {88, 15}}},
        // A maximum of 0 keeps the thumb at the start of the track.
        {0, 0, true, {{12, 13}, {24, 14}}},
        // Disabled: the thumb part covers the whole track.
        {10, 5, false, {{0, 11}, {12, 13}, {60, 13}, {87, 13}, {88, 15}}},
    };
    auto& bar = build(10);
    for (const Case& c : cases) {
        bar.SetRange(c.maximum);
        bar.SetValue(c.value);
        if (c.enabled) {
            bar.Enable();
        } else {
            bar.Disable();
        }
        for (const auto& [y, part] : c.parts)
            EXPECT_EQ(bar.HitTest(5, y), part) << c.maximum << "/" << c.value << " at " << y;
        EXPECT_EQ(bar.HitTest(5, 100), ui::kPartNone);
    }
}

TEST_F(ScrollBarTest, TheThumbMapsThePointerOntoTheRangeAndReportsEachChange) {
    auto& bar = build(64);
    // Grabbed 4 pixels into the thumb; the track for the thumb's start runs 12 … 76.
    post(mouse(InputEvent::kLeftDown, kBar.left + 5, kBar.top + 16));
    struct Step {
        int32_t y;
        int16_t value;
    };
    const Step steps[] = {{16 + 32, 32}, {16 + 64, 64}, {300, 64}, {-50, 0}, {16 + 10, 10}};
    for (const Step& s : steps) {
        post(mouse(InputEvent::kMouseMove, kBar.left + 5, kBar.top + s.y));
        EXPECT_EQ(bar.Value(), s.value) << s.y;
    }
    post(mouse(InputEvent::kLeftUp, kBar.left + 5, kBar.top + 26));
    EXPECT_EQ((dialog.commands[0]), (std::pair<int32_t, int32_t>{0, 13}));
    EXPECT_FALSE(bar.IsTracking());
    EXPECT_FALSE(bar.HasFocus());
}

TEST_F(ScrollBarTest, ABarOfThreeArrowsOrLessHasNoThumbToDrag) {
    auto& bar = build(10, Rect{20, 10, 32, 40});  // 30 long: less than three arrows
    EXPECT_LE(bar.ThumbStart() + 12, 30);
    post(mouse(InputEvent::kLeftDown, kBar.left + 5, kBar.top + 14));
    post(mouse(InputEvent::kMouseMove, kBar.left + 5, kBar.top + 100));
    post(mouse(InputEvent::kLeftUp, kBar.left + 5, kBar.top + 100));
    EXPECT_EQ(bar.Value(), 0);
}

TEST_F(ScrollBarTest, HeldArrowsRepeatAfter200ThenEvery30Milliseconds) {
    auto& bar = build(100);
    post(mouse(InputEvent::kLeftDown, kBar.left + 5, kBar.bottom - 3));
    EXPECT_EQ(bar.Value(), 1);
    EXPECT_EQ(bar.State(), ui::kPartArrowLast);
    wait(199);
    EXPECT_EQ(bar.Value(), 1);
    wait(1);
    EXPECT_EQ(bar.Value(), 2);
    wait(30);
    wait(30);
    EXPECT_EQ(bar.Value(), 4);
    // Off the arrow the repeat shows the bar normal and steps nothing.
    post(mouse(InputEvent::kMouseMove, kBar.left + 5, kBar.top + 50));
    wait(30);
    EXPECT_EQ(bar.Value(), 4);
    EXPECT_EQ(bar.State(), ui::kStateNormal);
    // Released over another part: no further change, no release command.
    dialog.commands.clear();
    post(mouse(InputEvent::kLeftUp, kBar.left + 5, kBar.top + 50));
    wait(100);
    EXPECT_EQ(bar.Value(), 4);
    EXPECT_TRUE(dialog.commands.empty());
    // The track steps by ten.
    post(mouse(InputEvent::kLeftDown, kBar.left + 5, kBar.top + 80));
    post(mouse(InputEvent::kLeftUp, kBar.left + 5, kBar.top + 80));
    EXPECT_EQ(bar.Value(), 14);
    EXPECT_EQ(dialog.commands, (Commands{{0, 14}, {0, 14}}));
}

TEST_F(ScrollBarTest, KeysStepTheValueWithinItsRange) {
    auto& bar = build(15);
    dialog.SetFocusControl(0);
    struct Case {
        uint8_t key;
        int16_t value;
    };
    const Case cases[] = {{131, 1},  {130, 2}, {148, 12}, {148, 15},
                          {129, 14}, {147, 4}, {128, 3},  {147, 0}};
    for (const Case& c : cases) {
        key(c.key);
        EXPECT_EQ(bar.Value(), c.value) << int(c.key);
        EXPECT_EQ(dialog.commands.back(), (std::pair<int32_t, int32_t>{0, 8}));
    }
    const size_t n = dialog.commands.size();
    key('a');
    EXPECT_EQ(dialog.commands.size(), n);
}

}  // namespace
}  // namespace vs::test
