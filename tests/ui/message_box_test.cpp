// The message box: its size from the text and the buttons, its place on the owner and on the
// screen, a text too long for the screen, the buttons' callbacks and the keys.
#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/button.h"
#include "ui/control_fixture.h"
#include "ui/label.h"
#include "ui/scroll_bar.h"

namespace vs::test {
namespace {

using app::InputEvent;

class MessageBoxTest : public ControlFixture {
  protected:
    const Rect screenRect{0, 0, 640, 480};
};

TEST_F(MessageBoxTest, SizeFollowsTheTextAndTheButtons) {
    struct Case {
        const char* what;
        std::u16string text, first, second;
        int32_t width, height, buttons;
    };
    // Letters are 6 pixels wide: 20 letters 120, 50 letters 300 (more than 240).
    const std::u16string twenty(20, u'a'), fifty(50, u'a');
    const Case cases[] = {
        {"empty with one button", u"", u"OK", u"", 74 + 48, 80, 1},
        {"short with two buttons", twenty, u"Delete", u"Cancel", 160 + 48, 12 + 80, 2},
        {"short with one", twenty, u"OK", u"", 120 + 48, 12 + 80, 1},
        {"long wraps at 240", fifty, u"OK", u"", 240 + 48, 24 + 80, 1},
        {"no buttons", twenty, u"", u"", 120 + 48, 12 + 80, 0},
    };
    for (const Case& c : cases) {
        ui::MessageBox box(c.text, nullptr, c.first, c.second);
        const Rect r = box.PlannedRect();
        EXPECT_EQ(r.width(), c.width) << c.what;
        EXPECT_EQ(r.height(), c.height) << c.what;
        EXPECT_EQ(box.ButtonCount(), c.buttons) << c.what;
        EXPECT_EQ(box.ControlCount(), 1 + c.buttons) << c.what;
        // Centred on the screen without an owner.
        EXPECT_EQ(r.left, (640 - c.width) / 2) << c.what;
        EXPECT_EQ(r.top, (480 - c.height) / 2) << c.what;
        if (c.buttons == 0) {
            EXPECT_EQ(box.DefaultControl(), -1) << c.what;
            continue;
        }
        const int32_t w = c.width, h = c.height;
        const Rect last{w - 98, h - 44, w - 24, h - 24};
        EXPECT_EQ(box.GetControl(c.buttons)->GetBoundsInParent(), last) << c.what;
        if (c.buttons == 2) {
            EXPECT_EQ(box.GetControl(1)->GetBoundsInParent(),
                      (Rect{w - 184, h - 44, w - 110, h - 24}));
        }
        EXPECT_EQ(box.DefaultControl(), 1) << c.what;
        EXPECT_EQ(box.CancelControl(), c.buttons) << c.what;
    }
}

TEST_F(MessageBoxTest, ABoxStaysOnTheScreenWhateverItsTextAndOwner) {
    // A server text of 32767 units would make a box far taller than the screen.
    const std::u16string huge(32767, u'w');
    ui::MessageBox big(huge, nullptr, u"OK");
    EXPECT_TRUE(screenRect.contains(big.PlannedRect()));
    EXPECT_EQ(big.PlannedRect().height(), 480);
    ui::Label* label = big.TextLabel();
    ASSERT_NE(label, nullptr);
    ASSERT_NE(label->Bar(), nullptr);
    EXPECT_GT(label->Bar()->Maximum(), 0);
    // The button stays inside the box.
    EXPECT_TRUE(Rect(0, 0, big.PlannedRect().width(), 480)
                    .contains(big.GetControl(1)->GetBoundsInParent()));

    // On an owner near the corner the box is centred on it, then kept inside the screen.
    PatternPane owner(1);
    owner.Attach({560, 400, 640, 480}, nullptr, nullptr, raw[ui::kBaseLayer]);
    ui::MessageBox corner(u"hello", &owner, u"OK");
    EXPECT_TRUE(screenRect.contains(corner.PlannedRect()));
    EXPECT_EQ(corner.PlannedRect().right, 640);
    owner.Attach({200, 100, 300, 200}, nullptr, nullptr, raw[ui::kBaseLayer]);
    ui::MessageBox centred(u"hello", &owner, u"OK");
    const Rect c = centred.PlannedRect();
    EXPECT_EQ(c.left + c.width() / 2, 250);
    EXPECT_EQ(c.top + c.height() / 2, 150);
    // A detached owner counts as none: the screen's centre.
    owner.Detach();
    ui::MessageBox lost(u"hello", &owner, u"OK");
    EXPECT_EQ(lost.PlannedRect().left, (640 - lost.PlannedRect().width()) / 2);
}

TEST_F(MessageBoxTest, ButtonsAndKeysRunTheirCallbackOnceAndCloseTheBox) {
    struct Case {
        const char* what;
        std::u16string second;
        uint8_t key;
        int oks, cancels;
    };
    const Case cases[] = {
        {"Enter on two buttons", u"Cancel", 13, 1, 0},
        {"Escape on two buttons", u"Cancel", 27, 0, 1},
        {"Escape on one button is OK", u"", 27, 1, 0},
        {"Enter on one button", u"", 13, 1, 0},
    };
    for (const Case& c : cases) {
        int oks = 0, cancels = 0;
        ui::MessageBox* box = ui::MessageBox::Show(
            u"Delete it?", nullptr, u"Delete", c.second, [&] { ++oks; }, [&] { ++cancels; });
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(dispatcher.topModal(), box) << c.what;
        key(c.key);
        key(c.key);  // the box is closing: the second key reaches nobody
        EXPECT_EQ(oks, c.oks) << c.what;
        EXPECT_EQ(cancels, c.cancels) << c.what;
        EXPECT_TRUE(box->IsClosing()) << c.what;
        frame();
    }
    // A click on the first of two buttons.
    int oks = 0;
    ui::MessageBox* box = ui::MessageBox::Show(u"?", nullptr, u"Delete", u"Cancel", [&] { ++oks; });
    const Rect b =
        box->GetControl(1)->GetBoundsInParent().offset(box->GetPosition().x, box->GetPosition().y);
    click(b.left + 5, b.top + 5);
    EXPECT_EQ(oks, 1);
    frame();
}

TEST_F(MessageBoxTest, ANoteWithoutButtonsIgnoresKeysUntilDismissed) {
    ui::MessageBox* note = ui::MessageBox::Show(u"Connecting", nullptr, u"");
    ASSERT_NE(note, nullptr);
    // After the slide the whole box is drawn, not only the strip the first step showed.
    frame();
    const Rect r = note->GetBoundsInParent();
    EXPECT_EQ(at(r.left, r.top), colour(frameColour(10, 0)));
    EXPECT_EQ(at(r.left + 20, r.top + 3), colour(frameColour(10, 1)));
    key(13);
    key(27);
    EXPECT_FALSE(note->IsClosing());
    frame();
    note->Dismiss();
    EXPECT_TRUE(note->IsClosing());
    frame();
    EXPECT_EQ(dispatcher.topModal(), nullptr);
}

}  // namespace
}  // namespace vs::test
