#include "ui/dialog_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/settings.h"
#include "ui/ui_fixture.h"

namespace vs::test {
namespace {

struct PlaceCase {
    const char* what;
    app::DialogPos saved;
    Rect asked;
    Rect placed;
};

class DialogPlacementTest : public UiFixture {
  protected:
    app::Settings settings;
};

TEST_F(DialogPlacementTest, SavedPositionsPlaceTheDialogAndKeepACornerReachable) {
    const Rect asked{10, 20, 210, 120};  // 200 × 100
    const PlaceCase cases[] = {
        {"top-left", {0, 60, 70}, asked, {70, 60, 270, 160}},
        {"centre", {1, 240, 320}, asked, {220, 190, 420, 290}},
        {"top-right", {2, 11, 432}, asked, {232, 11, 432, 111}},
        {"another kind keeps the rectangle", {7, 0, 0}, asked, asked},
        {"below the screen", {0, 470, 100}, asked, {100, 430, 300, 530}},
        {"above the screen", {0, -200, 100}, asked, {100, -50, 300, 50}},
        {"far left", {2, 100, 10}, asked, {-150, 100, 50, 200}},
        {"far right", {0, 100, 900}, asked, {590, 100, 790, 200}},
        {"extreme values", {1, INT32_MIN, INT32_MAX}, asked, {590, -50, 790, 50}},
        {"extreme the other way", {2, INT32_MAX, INT32_MIN}, asked, {-150, 430, 50, 530}},
    };
    for (const PlaceCase& c : cases) {
        settings.setDialogPos(3, c.saved);
        EXPECT_EQ(ui::PlaceDialog(3, c.asked), c.placed) << c.what;
    }
    // A slot outside 0 … 15 has no saved position: only the reachability rule applies.
    for (int slot : {-1, 16, 1000})
        EXPECT_EQ(ui::PlaceDialog(slot, {0, 600, 100, 700}), (Rect{0, 430, 100, 530}));
}

TEST_F(DialogPlacementTest, AfterADragTheSlotKeepsItsKindAndTakesTheNewRectangle) {
    const Rect dragged{100, 50, 300, 151};
    const std::vector<std::pair<app::DialogPos, app::DialogPos>> cases = {
        {{0, 1, 1}, {0, 50, 100}},
        {{1, 1, 1}, {1, 100, 200}},
        {{2, 1, 1}, {2, 50, 300}},
        {{5, 1, 1}, {5, 1, 1}},
    };
    for (const auto& [before, after] : cases) {
        settings.setDialogPos(0, before);
        ui::SaveDialogPos(0, dragged);
        EXPECT_EQ(settings.dialogPos(0), after) << before.kind;
    }
    ui::SaveDialogPos(16, dragged);  // ignored
}

TEST_F(DialogPlacementTest, SlidesPresentFiveStepsOfAFifthOfTheHeightEach) {
    PatternPane dialog(1);
    dialog.Attach({100, 100, 300, 203}, nullptr, nullptr, raw[ui::kDialogLayer]);  // 103 high
    std::vector<int> tops, clipTops, sleeps;
    ui::SlideHooks hooks;
    hooks.present = [&] {
        tops.push_back(dialog.GetPosition().y);
        clipTops.push_back(dialog.ClipArea().top);
        frame();
    };
    hooks.sleep = [&](uint32_t ms) { sleeps.push_back(int(ms)); };
    ui::SlideOpen(dialog, hooks);
    EXPECT_EQ(tops, (std::vector<int>{100 - 82, 100 - 61, 100 - 41, 100 - 20, 100}));
    EXPECT_EQ(clipTops, (std::vector<int>{82, 61, 41, 20, 0}));
    EXPECT_EQ(sleeps, (std::vector<int>(5, 24)));
    EXPECT_EQ(dialog.GetBoundsInParent(), (Rect{100, 100, 300, 203}));
    EXPECT_EQ(dialog.ClipArea(), (Rect{0, 0, 200, 103}));
    // What shows of the dialog never reaches above its final top edge.
    for (int y = 0; y < 100; ++y) ASSERT_EQ(back.at(150, y), 0) << y;

    tops.clear();
    ui::SlideClose(dialog, hooks);
    EXPECT_EQ(tops, (std::vector<int>{100 - 20, 100 - 41, 100 - 61, 100 - 82, 100 - 103}));
    EXPECT_EQ(dialog.GetBoundsInParent(), (Rect{100, 100, 300, 203}));

    tops.clear();
    dialog.Hide();
    ui::SlideOpen(dialog, hooks);
    EXPECT_TRUE(tops.empty());
}

}  // namespace
}  // namespace vs::test
