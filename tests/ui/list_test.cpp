// Lists in a dialog: the bar's range and state from rows and view, selection by pointer and
// keys (single and multiple), the end report, sorting and removal keeping the selection.
#include "ui/list_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_fixture.h"
#include "ui/scroll_bar.h"

namespace vs::test {
namespace {

using app::InputEvent;

class NumberRow final : public ui::ListRow {
  public:
    explicit NumberRow(int n) : n(n) {}
    void Paint(graphics::Canvas& c, const Rect& r, bool selected) override {
        c.SetPenColor(selected ? 1 : 60 + n % 50);
        c.FillRect(r);
    }
    int n;
};

// The list host at (10, 10) of a dialog at (0, 0), rows of 12: 100 × 62 shows 5 rows.
constexpr Rect kHost{10, 10, 110, 72};

class ListTest : public ControlFixture {
  protected:
    ui::ListPane& build(int rows, bool multiple = false, int32_t rowHeight = 12,
                        Rect host = kHost) {
        auto& h = dialog.Add<ui::ListHost>(host, rowHeight, multiple);
        open(dialog, {0, 0, 300, 300});
        for (int i = 0; i < rows; ++i) h.List().Append(std::make_unique<NumberRow>(i));
        return h.List();
    }
    // A point on the row shown at place k of the view.
    static base::Point onRow(int k) { return {kHost.left + 20, kHost.top + 1 + 12 * k + 5}; }
    int reports(int32_t code) const {
        int n = 0;
        for (const auto& [i, c] : dialog.commands) n += c == code;
        return n;
    }
    RecordingDialog dialog{u"list"};
};

TEST_F(ListTest, TheBarRangeFollowsRowsRowHeightAndView) {
    struct Case {
        int rows;
        int32_t rowHeight;
        Rect host;
        int16_t maximum;
        bool enabled;
    };
    const Case cases[] = {
        {0, 12, kHost, 0, false},
        {5, 12, kHost, 0, false},
        {6, 12, kHost, 1, true},
        {30, 12, kHost, 25, true},
        {30, 24, kHost, 28, true},
        {30, 14, {10, 10, 110, 150}, 21, true},
        {30, 12, {10, 10, 110, 372}, 0, false},
    };
    for (const Case& c : cases) {
        RecordingDialog d{u"range"};
        auto& h = d.Add<ui::ListHost>(c.host, c.rowHeight);
        open(d, {0, 0, 300, 400});
        for (int i = 0; i < c.rows; ++i) h.List().Append(std::make_unique<NumberRow>(i));
        EXPECT_EQ(h.List().Bar().Maximum(), c.maximum) << c.rows << " rows of " << c.rowHeight;
        EXPECT_EQ(h.List().Bar().IsEnabled(), c.enabled) << c.rows << " rows of " << c.rowHeight;
        d.Close();
        frame();
    }
}

TEST_F(ListTest, ThePointerSelectsAndDragsTheSelection) {
    auto& list = build(30);
    post(mouse(InputEvent::kLeftDown, onRow(1).x, onRow(1).y));
    EXPECT_EQ(list.Selected(), 1);
    post(mouse(InputEvent::kMouseMove, onRow(3).x, onRow(3).y));
    EXPECT_EQ(list.Selected(), 3);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int32_t>{3}));
    // Dragged below the view: the list follows a row at a time.
    post(mouse(InputEvent::kMouseMove, onRow(3).x, kHost.bottom + 20));
    EXPECT_EQ(list.TopRow(), 1);
    EXPECT_EQ(list.Selected(), 5);
    post(mouse(InputEvent::kLeftUp, onRow(3).x, kHost.bottom + 20));
    EXPECT_EQ(reports(ui::kListSelectionChanged), 3);
    // A double click chooses.
    post(mouse(InputEvent::kLeftDouble, onRow(0).x, onRow(0).y));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(reports(ui::kListChosen), 1);
    // The screen shows the selected row.
    frame();
    EXPECT_EQ(at(onRow(0).x, onRow(0).y), colour(1));
    EXPECT_EQ(at(onRow(1).x, onRow(1).y), colour(60 + 2));
}

TEST_F(ListTest, CtrlTogglesAndShiftTakesARangeInAMultipleList) {
    auto& list = build(10, true);
    struct Step {
        int row;
        uint8_t modifiers;
        std::vector<int32_t> selected;
    };
    const Step steps[] = {
        {1, 0, {1}},
        {3, InputEvent::kCtrl, {1, 3}},
        {1, InputEvent::kCtrl, {3}},
        {0, InputEvent::kShift, {0, 1}},  // from the row last clicked
        {4, 0, {4}},
        {2, InputEvent::kShift, {2, 3, 4}},
    };
    for (const Step& s : steps) {
        post(mouse(InputEvent::kLeftDown, onRow(s.row).x, onRow(s.row).y, s.modifiers));
        post(mouse(InputEvent::kLeftUp, onRow(s.row).x, onRow(s.row).y));
        EXPECT_EQ(list.SelectedRows(), s.selected) << s.row;
    }
}

TEST_F(ListTest, KeysMoveTheSelectionIntoViewAndOtherKeysPass) {
    auto& list = build(30);
    dialog.SetFocusControl(0);
    struct Case {
        uint8_t key;
        int32_t selected, top;
    };
    const Case cases[] = {{131, 0, 0},   {131, 1, 0},   {148, 5, 1}, {146, 29, 25},
                          {147, 25, 25}, {129, 24, 24}, {145, 0, 0}};
    for (const Case& c : cases) {
        key(c.key);
        EXPECT_EQ(list.Selected(), c.selected) << int(c.key);
        EXPECT_EQ(list.TopRow(), c.top) << int(c.key);
    }
    EXPECT_FALSE(list.OnKey([] {
        InputEvent e;
        e.kind = InputEvent::kKeyDown;
        e.keyCode = 'x';
        return e;
    }()));
}

TEST_F(ListTest, TheEndIsReportedOncePerPlayerScrollAndNeverForRowsAdded) {
    auto& list = build(8);  // 5 on view: the top row runs 0 … 3
    auto wheel = [this](int notches) {
        InputEvent e = mouse(InputEvent::kWheel, kHost.left + 20, kHost.top + 20);
        e.wheel = notches;
        post(e);
    };
    wheel(-1);
    EXPECT_EQ(list.TopRow(), 1);
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 0);
    wheel(-5);
    EXPECT_EQ(list.TopRow(), 3);
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 1);
    wheel(-1);  // pushing past the end
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 2);
    wheel(2);
    EXPECT_EQ(list.TopRow(), 1);
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 2);
    // Rows added by code never report, even with the view at the end.
    list.ScrollToRow(3);
    for (int i = 0; i < 5; ++i) list.Append(std::make_unique<NumberRow>(100 + i));
    list.ScrollToRow(100);
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 2);
    // The bar's last arrow at the end pushes past it.
    const int32_t barX = kHost.right - 1 - 6;
    post(mouse(InputEvent::kLeftDown, barX, kHost.bottom - 4));
    post(mouse(InputEvent::kLeftUp, barX, kHost.bottom - 4));
    EXPECT_EQ(reports(ui::kListScrolledToEnd), 3);
}

TEST_F(ListTest, SortAndRemoveKeepTheSelectionWithItsRows) {
    auto& list = build(0, true);
    for (int n : {5, 3, 9, 3, 1}) list.Append(std::make_unique<NumberRow>(n));
    auto number = [&list](int32_t i) { return static_cast<NumberRow*>(list.Row(i))->n; };
    const ui::ListRow* firstThree = list.Row(1);
    click(onRow(1).x, onRow(1).y);                                                  // the first 3
    post(mouse(InputEvent::kLeftDown, onRow(2).x, onRow(2).y, InputEvent::kCtrl));  // 9
    post(mouse(InputEvent::kLeftUp, onRow(2).x, onRow(2).y));
    list.Sort([](const ui::ListRow& a, const ui::ListRow& b) {
        return static_cast<const NumberRow&>(a).n < static_cast<const NumberRow&>(b).n;
    });
    // 1 3 3 5 9: the stable sort keeps the selected 3 first of the two.
    EXPECT_EQ(list.Row(1), firstThree);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int32_t>{1, 4}));
    list.Remove(0);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(number(0), 3);
    list.Remove(0);
    EXPECT_EQ(list.SelectedRows(), (std::vector<int32_t>{2}));
    EXPECT_EQ(list.Selected(), 2);
    list.Remove(7);  // out of range: nothing
    EXPECT_EQ(list.Count(), 3);
    list.Clear();
    EXPECT_EQ(list.Selected(), -1);
}

}  // namespace
}  // namespace vs::test
