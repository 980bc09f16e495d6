// Edit fields in a dialog: typing reaches only the focused field, Tab, Enter and Escape stay the
// dialog's after a click into a field, a multi-line field takes Enter, and the sunken frame.
#include "ui/edit_field.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/button.h"
#include "ui/control_fixture.h"

namespace vs::test {
namespace {

using app::InputEvent;
using Commands = std::vector<std::pair<int32_t, int32_t>>;

constexpr uint8_t kTab = 9, kEnter = 13, kEscape = 27;
constexpr Rect kSingle{20, 20, 180, 36}, kMulti{20, 50, 180, 100};

class EditFieldTest : public ControlFixture {
  protected:
    void SetUp() override {
        single = &dialog.Add<ui::EditField>(kSingle, u"");
        ui::EditField::Style multiStyle;
        multiStyle.multiLine = true;
        multi = &dialog.Add<ui::EditField>(kMulti, u"", multiStyle);
        dialog.Add<ui::TextButtonControlPane>(Rect{20, 120, 80, 140}, u"OK");
        dialog.SetDefaultControl(2);
        dialog.SetCancelControl(2);
        open(dialog, {0, 0, 220, 160});
        dialog.SetFocusControl(0);
    }
    void type(std::u16string_view text) {
        InputEvent e;
        e.kind = InputEvent::kText;
        e.text = text;
        post(e);
    }

    RecordingDialog dialog{u"fields"};
    ui::EditField* single = nullptr;
    ui::EditField* multi = nullptr;
};

TEST_F(EditFieldTest, TypingGoesToTheFocusedFieldAndTabMovesOn) {
    type(u"ab");
    EXPECT_EQ(single->Text(), u"ab");
    key(kTab);
    EXPECT_EQ(dialog.FocusControl(), 1);
    type(u"cd");
    EXPECT_EQ(single->Text(), u"ab");
    EXPECT_EQ(multi->Text(), u"cd");
    // Only the focused field edits.
    EXPECT_TRUE(multi->Edit().IsActive());
    EXPECT_FALSE(single->Edit().IsActive());
    // A multi-line field keeps Enter; a single-line one leaves it to the default button.
    key(kEnter);
    EXPECT_TRUE(dialog.commands.empty());
    key(kTab, InputEvent::kShift);
    key(kEnter);
    EXPECT_EQ(dialog.commands, (Commands{{2, 9}}));
    // A disabled field takes nothing.
    single->Disable();
    dialog.SetFocusControl(0);
    type(u"x");
    EXPECT_EQ(single->Text(), u"ab");
}

TEST_F(EditFieldTest, AfterAClickIntoAFieldTheDialogStillHasItsKeys) {
    click(kMulti.left + 10, kMulti.top + 5);
    EXPECT_EQ(dialog.FocusControl(), 1);
    EXPECT_EQ(dispatcher.focus(), nullptr);
    type(u"z");
    EXPECT_EQ(multi->Text(), u"z");
    key(kTab);
    EXPECT_EQ(dialog.FocusControl(), 2);
    key(kEscape);
    EXPECT_EQ(dialog.commands, (Commands{{1, ui::kPartEdit}, {2, 9}}));
}

TEST_F(EditFieldTest, AFramedFieldIsSunken) {
    dialog.SetFocusControl(-1);
    frame();
    EXPECT_EQ(at(kSingle.left, kSingle.top + 5), colour(ui::EditField::kBevelDark));
    EXPECT_EQ(at(kSingle.left + 5, kSingle.top + 1), colour(ui::EditField::kBevelDark));
    EXPECT_EQ(at(kSingle.right - 1, kSingle.top + 5), colour(ui::EditField::kBevelLight));
    EXPECT_EQ(at(kSingle.left + 5, kSingle.bottom - 2), colour(ui::EditField::kBevelLight));
    EXPECT_EQ(single->Edit().GetBoundsInParent(),
              (Rect{2, 2, kSingle.width() - 2, kSingle.height() - 2}));
}

}  // namespace
}  // namespace vs::test
