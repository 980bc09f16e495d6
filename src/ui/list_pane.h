#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/scroll_view.h"

namespace vs::ui {

class ScrollBar;

// One row of a list; owners subclass it to draw what the row shows.
class ListRow {
  public:
    virtual ~ListRow() = default;
    // `rect` in the list's content coordinates; the canvas clips to it.
    virtual void Paint(graphics::Canvas& canvas, const base::Rect& rect, bool selected) = 0;
};

// What a list reports to the one who shows it.
enum ListCode : int32_t {
    kListSelectionChanged = 0x20,
    kListChosen = 0x21,
    kListScrolledToEnd = 0x22,
};

// Rows of one height under a view, a scroll bar at the right (disabled while every row fits,
// its value the top row). The pointer selects (and, held, drags the selection); with multiple
// selection Ctrl toggles a row and Shift takes a range. A double click chooses; the wheel, the
// arrow, page, Home and End keys scroll or move the selection into view.
class ListPane : public ScrollView, public ControlHost {
  public:
    static constexpr int32_t kFill = 0;

    ListPane(int32_t rowHeight, bool multiple = false);
    ~ListPane() override;

    void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer) override;
    void Detach() override;
    void SetBounds(const base::Rect& bounds) override;
    void Paint() override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    void OnScrollChanged() override;

    // --- ControlHost, for the scroll bar --------------------------------------------------------
    void OnCommand(int32_t index, int32_t code) override;
    int32_t IndexOf(const Control* control) const override;
    void SetHot(int32_t index, uint8_t state) override;

    // --- rows
    // -------------------------------------------------------------------------------------
    void Append(std::unique_ptr<ListRow> row);
    // At `index` (clamped to 0 … count).
    void Insert(int32_t index, std::unique_ptr<ListRow> row);
    void Remove(int32_t index);
    void Clear();
    // Stable: equal rows keep their order, and the selection stays with its rows.
    void Sort(const std::function<bool(const ListRow&, const ListRow&)>& less);
    int32_t Count() const { return int32_t(rows_.size()); }
    ListRow* Row(int32_t index) const;
    int32_t RowHeight() const { return rowHeight_; }

    // --- selection ----------------------------------------------------------------------------
    // The first selected row, or −1.
    int32_t Selected() const;
    std::vector<int32_t> SelectedRows() const;
    bool IsSelected(int32_t index) const;
    // Only this row (−1: none). Reports nothing.
    void Select(int32_t index);
    void ClearSelection();
    // The top row.
    void ScrollToRow(int32_t row);
    int32_t TopRow() const { return ScrollPos().y; }
    ScrollBar& Bar() const { return *bar_; }

    // Where reports go (the list host passes them to its dialog).
    void SetReport(std::function<void(int32_t code)> report) { report_ = std::move(report); }

  private:
    struct Entry {
        std::unique_ptr<ListRow> row;
        bool selected = false;
    };
    int32_t rowAt(int32_t y) const;
    void report(int32_t code);
    void invalidateRow(int32_t index);
    void updateBar();
    // A selection change made by the player: one row, a toggle or a range.
    void pick(int32_t row, uint8_t modifiers);
    void moveCursor(int32_t row);
    // After the player scrolled (or tried to): the end report when the last row shows.
    void playerScrolled(bool pushedPastEnd);

    int32_t rowHeight_;
    bool multiple_;
    std::vector<Entry> rows_;
    std::unique_ptr<ScrollBar> bar_;
    int32_t anchor_ = -1;
    int32_t cursor_ = -1;
    bool following_ = false;
    bool barPressed_ = false;
    std::function<void(int32_t)> report_;
};

}  // namespace vs::ui
