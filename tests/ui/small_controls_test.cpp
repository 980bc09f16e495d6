// Radio groups, gauges, toggles and the frame parts: the choices, the limits, the repeat and the
// notice that closes the frame.
#include <gtest/gtest.h>

#include <vector>

#include "ui/button.h"
#include "ui/control_fixture.h"
#include "ui/frame_part_pane.h"
#include "ui/gauge.h"
#include "ui/radio_group.h"

namespace vs::test {
namespace {

using app::InputEvent;
using Commands = std::vector<std::pair<int32_t, int32_t>>;

class SmallControlsTest : public ControlFixture {
  protected:
    RecordingDialog dialog{u"small"};
};

TEST_F(SmallControlsTest, ARadioGroupSelectsTheItemReleasedOn) {
    auto& radio = dialog.Add<ui::RadioGroup>(Rect{10, 10, 110, 70});
    for (int i = 0; i < 3; ++i) radio.AddItem({0, 20 * i, 100, 20 * i + 18}, u"item");
    open(dialog, {0, 0, 200, 100});
    frame();
    // The marks: item 0 selected at the start.
    EXPECT_EQ(at(15, 10 + 9 - 5 + 5), colour(frameColour(244, 1)));
    EXPECT_EQ(at(15, 10 + 29 - 5 + 5), colour(frameColour(244, 0)));
    click(30, 10 + 25);
    EXPECT_EQ(radio.Selected(), 1);
    EXPECT_EQ(dialog.commands, (Commands{{0, ui::kPartRadioItem + 1}}));
    // Between the items nothing changes; the selected item again invalidates nothing.
    click(30, 10 + 19);
    EXPECT_EQ(radio.Selected(), 1);
    frame();
    click(30, 10 + 25);
    EXPECT_TRUE(radio.DirtyRegion().rect().empty());
    frame();
    EXPECT_EQ(at(15, 10 + 9 - 5 + 5), colour(frameColour(244, 0)));
    EXPECT_EQ(at(15, 10 + 29 - 5 + 5), colour(frameColour(244, 1)));
    // Disabled: the greyed marks, and clicks do nothing.
    radio.Disable();
    click(30, 10 + 45);
    EXPECT_EQ(radio.Selected(), 1);
    frame();
    EXPECT_EQ(at(15, 10 + 29 - 5 + 5), colour(frameColour(244, 3)));
}

TEST_F(SmallControlsTest, ARadioGroupHoldsAtMost64Items) {
    ui::RadioGroup radio({0, 0, 10, 10});
    for (int i = 0; i < 64; ++i) EXPECT_TRUE(radio.AddItem({0, i, 10, i + 1}, u"x"));
    EXPECT_FALSE(radio.AddItem({0, 70, 10, 71}, u"x"));
    EXPECT_EQ(radio.ItemCount(), 64u);
    // The last item's part code stays clear of the disabled bit.
    EXPECT_EQ(radio.HitTest(1, 63), ui::kPartRadioItem + 63);
    EXPECT_EQ(radio.HitTest(1, 63) & ui::kPartDisabled, 0);
}

TEST_F(SmallControlsTest, AGaugeFillsItsShareAndClampsItsValue) {
    struct Case {
        int32_t minimum, maximum, value;
        int16_t shown;
        int32_t filled;  // of 100 pixels
    };
    const Case cases[] = {
        {0, 200, 50, 50, 25}, {10, 110, 60, 60, 50}, {0, 100, 150, 100, 100},
        {0, 100, -5, 0, 0},   {50, 50, 50, 50, 0},   {80, 20, 40, 80, 0},
    };
    for (const Case& c : cases) {
        ui::Gauge g({0, 0, 100, 8}, c.minimum, c.maximum);
        g.SetValue(c.value);
        EXPECT_EQ(g.Value(), c.shown) << c.minimum << " " << c.maximum << " " << c.value;
        EXPECT_EQ(g.FilledWidth(), c.filled) << c.minimum << " " << c.maximum << " " << c.value;
    }
}

TEST_F(SmallControlsTest, AHeldToggleRepeatsEvery150Milliseconds) {
    auto& toggle = dialog.Add<ui::ImageToggle>(Rect{10, 10, 22, 22}, "SCRL001.EPF", "SCRL001.PAL",
                                               2, 3, 3, false);
    int repeats = 0;
    toggle.SetRepeat([&repeats] { ++repeats; });
    open(dialog, {0, 0, 100, 100});
    EXPECT_FALSE(toggle.IsFocusable());
    post(mouse(InputEvent::kLeftDown, 15, 15));
    for (int i = 0; i < 3; ++i) {
        clock.advance(150);
        frameClock.update();
    }
    EXPECT_EQ(repeats, 3);
    // Off the toggle it is no longer pressed, and the repeat stops.
    post(mouse(InputEvent::kMouseMove, 60, 60));
    clock.advance(450);
    frameClock.update();
    EXPECT_EQ(repeats, 3);
    post(mouse(InputEvent::kLeftUp, 60, 60));
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(SmallControlsTest, FramePartsCloseWhenTheMainFrameLeavesTheWorld) {
    PatternPane mainFrame(1);
    ui::FramePartPane::OpenAll(raw[ui::kWorldLayer], &mainFrame);
    ASSERT_EQ(raw[ui::kWorldLayer]->Root().children.size(), size_t(ui::FramePartPane::kCount));
    const auto& first = raw[ui::kWorldLayer]->Root().children.front();
    EXPECT_EQ(first->pane->GetBoundsInParent(), (Rect{14, 12, 34, 28}));
    const auto& last = raw[ui::kWorldLayer]->Root().children.back();
    EXPECT_EQ(last->pane->GetBoundsInParent().topLeft(), (base::Point{420, 344}));
    frame();
    EXPECT_EQ(at(20, 20), colour(frameColour(122, 0)));
    bus.Broadcast(&mainFrame, ui::FramePartPane::kLeaveNotice);
    EXPECT_TRUE(raw[ui::kWorldLayer]->Root().children.empty());
    frame();
    EXPECT_EQ(bus.Count(), 0u);
}

}  // namespace
}  // namespace vs::test
