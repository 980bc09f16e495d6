// The drop-down box and its popup menu in a dialog: opening and closing slides, keys over
// enabled and disabled items, choosing, and a click outside that goes on to the dialog.
#include "ui/popup_menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/control_fixture.h"

namespace vs::test {
namespace {

using app::InputEvent;
using Commands = std::vector<std::pair<int32_t, int32_t>>;

constexpr Rect kCombo{20, 20, 120, 36};
constexpr Rect kButton{20, 100, 80, 120};
constexpr uint8_t kEnter = 13, kEscape = 27, kUp = 129, kDown = 131;

class PopupMenuTest : public ControlFixture {
  protected:
    void SetUp() override {
        combo = &dialog.Add<ui::ComboBox>(kCombo);
        for (const char16_t* t : {u"one", u"two", u"three", u"four"}) combo->AddItem(t);
        combo->Menu().Item(2)->SetEnabled(false);
        dialog.Add<ui::TextButtonControlPane>(kButton, u"OK");
        open(dialog, {0, 0, 300, 200});
        dialog.SetFocusControl(0);
    }
    void openByClick() {
        presents = 0;
        click(kCombo.left + 10, kCombo.top + 5);
        ASSERT_TRUE(combo->Menu().IsOpen());
    }

    RecordingDialog dialog{u"combo"};
    ui::ComboBox* combo = nullptr;
};

TEST_F(PopupMenuTest, ItOpensBesideTheBoxSlidingInTwentyFiveSteps) {
    openByClick();
    // One present for the release, then the slide.
    EXPECT_EQ(presents, 1 + ui::PopupMenu::kSlideSteps);
    const Rect r = combo->Menu().GetBoundsInParent();
    EXPECT_EQ(r.topLeft(), (base::Point{kCombo.right - 1, kCombo.top}));
    EXPECT_EQ(r.height(), 4 * ui::ComboBox::kItemHeight + 1);
    EXPECT_EQ(dispatcher.parentOf(&combo->Menu()), &dialog);
    presents = 0;
    key(kEscape);
    EXPECT_EQ(presents, ui::PopupMenu::kSlideSteps);
    EXPECT_FALSE(combo->Menu().IsOpen());
    EXPECT_EQ(combo->Selected(), -1);
}

TEST_F(PopupMenuTest, KeysMoveOverEnabledItemsAndChoose) {
    struct Case {
        const char* what;
        std::vector<uint8_t> keys;
        int32_t selected;
        bool reported;
    };
    const Case cases[] = {
        {"down from none takes the first", {kDown, kEnter}, 0, true},
        {"the disabled item is skipped", {kDown, kDown, kDown, kEnter}, 3, true},
        {"none past the last", {kDown, kDown, kDown, kDown, kDown, kEnter}, 3, true},
        {"up from none takes the last", {kUp, kUp, kEnter}, 1, true},
        {"Escape chooses nothing", {kDown, kEscape}, -1, false},
    };
    for (const Case& c : cases) {
        combo->Select(-1);
        dialog.commands.clear();
        key(kDown);  // the box opens on Down
        ASSERT_TRUE(combo->Menu().IsOpen()) << c.what;
        for (uint8_t k : c.keys) key(k);
        EXPECT_FALSE(combo->Menu().IsOpen()) << c.what;
        EXPECT_EQ(combo->Selected(), c.selected) << c.what;
        EXPECT_EQ(dialog.commands, (c.reported ? Commands{{0, 8}} : Commands{})) << c.what;
    }
    // Choosing the selected item again changes and reports nothing.
    combo->Select(1);
    dialog.commands.clear();
    key(kDown);
    key(kEnter);
    EXPECT_EQ(combo->Selected(), 1);
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(PopupMenuTest, ThePointerChoosesAndAClickOutsideReachesTheDialog) {
    openByClick();
    const Rect menu = combo->Menu().GetBoundsInParent();
    // Over the disabled item nothing is selected; over the second it is.
    post(mouse(InputEvent::kMouseMove, menu.left + 10, menu.top + 2 * 16 + 5));
    EXPECT_EQ(combo->Menu().Selected(), -1);
    post(mouse(InputEvent::kMouseMove, menu.left + 10, menu.top + 16 + 5));
    EXPECT_EQ(combo->Menu().Selected(), 1);
    dialog.commands.clear();
    post(mouse(InputEvent::kLeftUp, menu.left + 10, menu.top + 16 + 5));
    EXPECT_EQ(combo->Selected(), 1);
    EXPECT_EQ(dialog.commands, (Commands{{0, 8}}));

    openByClick();
    dialog.commands.clear();
    click(kButton.left + 10, kButton.top + 5);
    EXPECT_FALSE(combo->Menu().IsOpen());
    EXPECT_EQ(dialog.commands, (Commands{{1, 9}}));
    EXPECT_EQ(combo->Selected(), 1);
}

TEST_F(PopupMenuTest, TheMenuShowsOverTheDialogUnclipped) {
    openByClick();
    frame();
    const Rect menu = combo->Menu().GetBoundsInParent();
    // The outline, the ground inside it and the shadow; the dialog again once it is gone.
    EXPECT_EQ(at(menu.left, menu.top + 5), colour(128));
    EXPECT_EQ(at(menu.left + 60, menu.top + 20), colour(252));
    EXPECT_EQ(at(menu.left + 2, menu.bottom - 1), colour(143));
    combo->Menu().CloseMenu(-1);
    frame();
    EXPECT_EQ(at(menu.left + 60, menu.top + 20), colour(frameColour(10, 8)));
}

}  // namespace
}  // namespace vs::test
