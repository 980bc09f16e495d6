// Dialogs with their controls, through the real dispatcher: focus and the Tab, Enter and Escape
// keys, presses and releases, commands that close the dialog, dragging and the saved position,
// and the drawn frame.
#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "ui/button.h"
#include "ui/control_fixture.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/sprite_button.h"

namespace vs::test {
namespace {

using app::InputEvent;
using Commands = std::vector<std::pair<int32_t, int32_t>>;

constexpr uint8_t kTab = 9, kEnter = 13, kEscape = 27, kSpace = 32;
constexpr Rect kPlace{100, 100, 300, 220};

class DialogTest : public ControlFixture {
  protected:
    // Three buttons in a row at (20 + 60i, 40), 50 × 20, and a label below them.
    RecordingDialog& build() {
        for (int i = 0; i < 3; ++i)
            dialog.Add<ui::TextButtonControlPane>(Rect::fromSize(20 + 60 * i, 40, 50, 20), u"Ok");
        dialog.Add<ui::Label>(Rect{20, 80, 180, 100}, u"text");
        open(dialog, kPlace);
        return dialog;
    }
    // A point on button i, in screen coordinates.
    static base::Point onButton(int i) { return {kPlace.left + 30 + 60 * i, kPlace.top + 50}; }

    RecordingDialog dialog{u"test"};
};

TEST_F(DialogTest, TabMovesTheFocusOverFocusableEnabledControlsCyclically) {
    struct Case {
        const char* what;
        int32_t focus;
        bool shift;
        std::vector<int> disabled;
        int32_t expected;
    };
    const Case cases[] = {
        {"forward from none", -1, false, {}, 0},
        {"backward from none goes to the last focusable", -1, true, {}, 2},
        {"forward wraps", 2, false, {}, 0},
        {"backward wraps", 0, true, {}, 2},
        {"disabled ones are skipped", 0, false, {1}, 2},
        {"nothing else enabled keeps the focus", 1, false, {0, 2}, 1},
        {"nothing enabled and no focus stays without", -1, false, {0, 1, 2}, -1},
    };
    build();
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) dialog.GetControl(i)->Enable();
        dialog.SetFocusControl(c.focus);
        for (int i : c.disabled) dialog.GetControl(i)->Disable();
        key(kTab, c.shift ? InputEvent::kShift : 0);
        EXPECT_EQ(dialog.FocusControl(), c.expected) << c.what;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(dialog.GetControl(i)->IsFocused(), i == c.expected) << c.what << " " << i;
    }
    // The label is never focused, and a dialog without controls takes Tab quietly.
    RecordingDialog empty{u"empty"};
    open(empty, {0, 0, 50, 50});
    key(kTab);
    EXPECT_EQ(empty.FocusControl(), -1);
}

TEST_F(DialogTest, EnterAndEscapePressTheDefaultAndCancelControlsWhenTheyCan) {
    struct Case {
        const char* what;
        uint8_t key;
        int32_t defaultControl, cancelControl, focus;
        int disabled;
        Commands expected;
    };
    const Case cases[] = {
        {"Enter presses the default", kEnter, 1, 2, -1, -1, {{1, 9}}},
        {"Escape presses the cancel control", kEscape, 1, 2, -1, -1, {{2, 9}}},
        {"no default", kEnter, -1, 2, -1, -1, {}},
        {"no cancel control", kEscape, 1, -1, -1, -1, {}},
        {"a disabled default", kEnter, 1, 2, -1, 1, {}},
        {"a disabled cancel control", kEscape, 1, 2, -1, 2, {}},
        {"a focused button takes Enter itself", kEnter, 1, 2, 0, -1, {{0, 9}}},
        {"Space presses the focused button", kSpace, 1, 2, 2, -1, {{2, 9}}},
        {"Space without a focus does nothing", kSpace, 1, 2, -1, -1, {}},
        {"an index out of range means none", kEnter, 7, 2, -1, -1, {}},
    };
    build();
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) dialog.GetControl(i)->Enable();
        dialog.SetDefaultControl(c.defaultControl);
        dialog.SetCancelControl(c.cancelControl);
        dialog.SetFocusControl(c.focus);
        if (c.disabled >= 0) dialog.GetControl(c.disabled)->Disable();
        dialog.commands.clear();
        key(c.key);
        EXPECT_EQ(dialog.commands, c.expected) << c.what;
    }
}

TEST_F(DialogTest, APressShowsTheButtonDownThenUpWithOnePauseBeforeTheCommand) {
    build();
    dialog.SetDefaultControl(1);
    frame();
    std::vector<uint16_t> centre;
    // The bevel swaps its shades: the inner top-left pixel (inside the marker) tells.
    onPresent = [&] {
        centre.push_back(at(kPlace.left + 81, kPlace.top + 41));
        EXPECT_TRUE(dialog.commands.empty());
    };
    key(kEnter);
    ASSERT_EQ(centre.size(), 2u);
    EXPECT_EQ(centre[0], colour(ui::TextButtonControlPane::kDark));
    EXPECT_EQ(centre[1], colour(ui::TextButtonControlPane::kLight));
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{ui::kPressShowMs}));
    EXPECT_EQ(dialog.commands, (Commands{{1, 9}}));
    EXPECT_EQ(dialog.GetControl(1)->State(), ui::kStateNormal);
}

TEST_F(DialogTest, AClickCommandsOnlyWhenReleasedOnTheSameEnabledControl) {
    build();
    struct Case {
        const char* what;
        base::Point down, up;
        int disabled;
        Commands expected;
    };
    const Case cases[] = {
        {"a click", onButton(0), onButton(0), -1, {{0, 9}}},
        {"released on another button", onButton(0), onButton(1), -1, {}},
        {"released outside the dialog", onButton(2), {5, 5}, -1, {}},
        {"a disabled button", onButton(1), onButton(1), 1, {}},
        {"the background", {kPlace.left + 5, kPlace.top + 5}, onButton(0), -1, {}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) dialog.GetControl(i)->Enable();
        if (c.disabled >= 0) dialog.GetControl(c.disabled)->Disable();
        dialog.commands.clear();
        post(mouse(InputEvent::kLeftDown, c.down.x, c.down.y));
        post(mouse(InputEvent::kLeftUp, c.up.x, c.up.y));
        EXPECT_EQ(dialog.commands, c.expected) << c.what;
        EXPECT_EQ(dialog.PressedControl(), -1) << c.what;
        EXPECT_EQ(dialog.HotControl(), -1) << c.what;
    }
    // A hit on a disabled control answers its part with bit 7.
    dialog.GetControl(1)->Disable();
    const ui::Dialog::Hit hit = dialog.HitAt(onButton(1).x - kPlace.left, 50);
    EXPECT_EQ(hit.index, 1);
    EXPECT_EQ(hit.part, ui::kPartButton | ui::kPartDisabled);
}

TEST_F(DialogTest, WhilePressedTheButtonShowsDownOnlyUnderThePointer) {
    build();
    post(mouse(InputEvent::kLeftDown, onButton(0).x, onButton(0).y));
    EXPECT_EQ(dialog.GetControl(0)->State(), ui::kStatePressed);
    EXPECT_EQ(dialog.FocusControl(), 0);
    post(mouse(InputEvent::kMouseMove, onButton(1).x, onButton(1).y));
    EXPECT_EQ(dialog.GetControl(0)->State(), ui::kStateNormal);
    EXPECT_EQ(dialog.GetControl(1)->State(), ui::kStateNormal);
    post(mouse(InputEvent::kMouseMove, onButton(0).x, onButton(0).y));
    EXPECT_EQ(dialog.GetControl(0)->State(), ui::kStatePressed);
    post(mouse(InputEvent::kLeftUp, onButton(0).x, onButton(0).y));
    EXPECT_EQ(dialog.commands, (Commands{{0, 9}}));
}

TEST_F(DialogTest, ALostButtonUpDoesNotLeaveTheDialogDeaf) {
    build();
    post(mouse(InputEvent::kLeftDown, onButton(0).x, onButton(0).y));
    // The button-up went elsewhere (the window lost the mouse): the next press still works,
    // and the first button is not commanded.
    click(onButton(2).x, onButton(2).y);
    EXPECT_EQ(dialog.commands, (Commands{{2, 9}}));
    EXPECT_EQ(dialog.GetControl(0)->State(), ui::kStateNormal);
    // Deactivation ends a press and a drag alike.
    post(mouse(InputEvent::kLeftDown, onButton(1).x, onButton(1).y));
    ui::Dialog::CancelAllInteractions();
    EXPECT_EQ(dialog.PressedControl(), -1);
    EXPECT_EQ(dialog.GetControl(1)->State(), ui::kStateNormal);
    post(mouse(InputEvent::kLeftUp, onButton(1).x, onButton(1).y));
    EXPECT_EQ(dialog.commands, (Commands{{2, 9}}));
}

TEST_F(DialogTest, ACommandMayCloseTheDialogOrRebuildItsControls) {
    build();
    dialog.SetDefaultControl(0);
    dialog.onCommand = [this](int32_t index, int32_t) {
        if (index == 0) dialog.Close();
        if (index == 1) {
            dialog.ClearControls();
            dialog.Add<ui::TextButtonControlPane>(Rect{0, 0, 10, 10}, u"x");
        }
    };
    click(onButton(1).x, onButton(1).y);
    EXPECT_EQ(dialog.ControlCount(), 1);
    EXPECT_EQ(dialog.DefaultControl(), -1);
    // A key press on a rebuilt dialog: the button that ran the command is gone.
    dialog.SetFocusControl(0);
    dialog.SetDefaultControl(0);
    key(kSpace);
    EXPECT_TRUE(dialog.IsClosing());
    frame();  // the closed dialog is destroyed with its controls after this
}

TEST_F(DialogTest, TheBackgroundDragsTheDialogInsideItsLimitsAndSavesItsPosition) {
    app::Settings settings;
    settings.setDialogPos(4, {0, 100, 100});
    RecordingDialog d{u"drag", 4, ui::Pane::kBlend};
    open(d, {0, 0, 200, 120});
    EXPECT_EQ(d.GetBoundsInParent(), (Rect{100, 100, 300, 220}));
    d.SetDragLimits({50, 50, 400, 400});
    struct Step {
        base::Point to;
        base::Point position;
    };
    // Pressed at (110, 110) in the dialog's frame; the displacement is taken on the screen.
    post(mouse(InputEvent::kLeftDown, 110, 110));
    EXPECT_TRUE(d.IsDragging());
    EXPECT_EQ(d.DrawModeValue(), ui::Pane::kCopy);
    const Step steps[] = {{{130, 90}, {120, 80}}, {{0, 0}, {50, 50}}, {{500, 500}, {200, 280}}};
    for (const Step& s : steps) {
        post(mouse(InputEvent::kMouseMove, s.to.x, s.to.y));
        EXPECT_EQ(d.GetPosition(), s.position) << s.to.x;
    }
    post(mouse(InputEvent::kLeftUp, 500, 500));
    EXPECT_FALSE(d.IsDragging());
    EXPECT_EQ(d.DrawModeValue(), ui::Pane::kBlend);
    EXPECT_EQ(settings.dialogPos(4), (app::DialogPos{0, 280, 200}));
    EXPECT_TRUE(d.commands.empty());
}

TEST_F(DialogTest, AttachingPlaysTheOpeningSoundAndAttachesTheControls) {
    build();
    EXPECT_EQ(sounds, (std::vector<std::pair<int, int>>{{408, 100}}));
    for (int i = 0; i < dialog.ControlCount(); ++i)
        EXPECT_EQ(dialog.GetControl(i)->GetParent(), &dialog) << i;
}

class DialogDrawingTest : public ControlFixture,
                          public testing::WithParamInterface<graphics::PixelFormat> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        palettes = std::make_unique<resources::PaletteManager>(files);
    }
};

// The frame of the file's frame f.
uint16_t dlg(int f) {
    return graphics::Canvas::BaseColor(frameColour(10, f));
}

TEST_P(DialogDrawingTest, TheFrameCoversEveryEdgeWithCornersOnTop) {
    for (int32_t w : {32, 33, 47, 48, 100}) {
        const int32_t h = w;  // the edges down are tiled by the same rule
        RecordingDialog d{u"frame"};
        open(d, Rect::fromSize(10, 10, w, h));
        frame();
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const bool left = x < 16, right = x >= w - 16, top = y < 16, bottom = y >= h - 16;
                uint16_t want = dlg(8);
                if (top && left) {
                    want = dlg(0);
                } else if (top && right) {
                    want = dlg(2);
                } else if (bottom && left) {
                    want = dlg(5);
                } else if (bottom && right) {
                    want = dlg(7);
                } else if (top) {
                    want = dlg(1);
                } else if (bottom) {
                    want = dlg(6);
                } else if (left) {
                    want = dlg(3);
                } else if (right) {
                    want = dlg(4);
                }
                ASSERT_EQ(at(10 + x, 10 + y), want) << "width " << w << " at " << x << "," << y;
            }
        }
        d.Close();
        frame();
    }
}

TEST_P(DialogDrawingTest, SpriteButtonsShowTheirFrameOrNothing) {
    struct Case {
        int number;
        int first;  // the file's first colour, 0 for nothing drawn
        int frame;
    };
    const Case cases[] = {{0, 20, 0},  {50, 20, 100}, {51, 2, 2},
                          {57, 2, 14}, {58, 0, 0},    {-1, 0, 0}};
    for (const Case& c : cases) {
        for (bool pressed : {false, true}) {
            RecordingDialog d{u"sprites"};
            auto& b = d.Add<ui::SpriteButton>(Rect{20, 20, 90, 35}, c.number);
            open(d, {0, 0, 200, 100});
            if (pressed) d.SetHot(0, ui::kStatePressed);
            frame();
            const uint16_t want =
                c.first ? colour(frameColour(c.first, c.frame + (pressed ? 1 : 0))) : dlg(8);
            EXPECT_EQ(at(50, 28), want) << c.number << (pressed ? " pressed" : "");
            (void)b;
            d.Close();
            frame();
        }
    }
}

TEST_P(DialogDrawingTest, TheDefaultControlHasThreeOutlinesThatFollowItsState) {
    RecordingDialog d{u"default"};
    d.Add<ui::TextButtonControlPane>(Rect{40, 40, 100, 60}, u"OK");
    d.SetDefaultControl(0);
    open(d, {0, 0, 200, 100});
    frame();
    for (int g : {2, 3, 4}) EXPECT_EQ(at(40 - g, 50), colour(132)) << g;
    EXPECT_EQ(at(40 - 5, 50), dlg(8));
    // The marker outline in colour 1 is the button's own.
    EXPECT_EQ(at(40, 50), colour(1));
    d.GetControl(0)->Disable();
    key(kEnter);  // any key re-checks the outline
    frame();
    for (int g : {2, 3, 4}) EXPECT_EQ(at(40 - g, 50), colour(134)) << g;
}

INSTANTIATE_TEST_SUITE_P(Formats, DialogDrawingTest,
                         testing::Values(graphics::PixelFormat::k565, graphics::PixelFormat::k555));

}  // namespace
}  // namespace vs::test
