#include "ui/list_pane.h"

#include <algorithm>

#include "ui/scroll_bar.h"

namespace vs::ui {

using app::InputEvent;
using base::Point;
using base::Rect;

namespace {
constexpr uint8_t kUp = 129, kDown = 131, kHome = 145, kEnd = 146, kPageUp = 147, kPageDown = 148;
}

ListPane::ListPane(int32_t rowHeight, bool multiple)
    : ScrollView({1, std::max(rowHeight, 1)}, false, true),
      rowHeight_(std::max(rowHeight, 1)),
      multiple_(multiple),
      bar_(std::make_unique<ScrollBar>(Rect{0, 0, kBarSize, kBarSize * 3}, 0)) {
    bar_->SetHost(this);
    bar_->Disable();
}

ListPane::~ListPane() {
    bar_.reset();
}

void ListPane::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    ScrollView::Attach(rect, sibling, parent, layer);
    bar_->Attach(bar_->GetBoundsInParent(), nullptr, this, GetLayer());
}

void ListPane::Detach() {
    bar_->Detach();
    ScrollView::Detach();
}

void ListPane::SetBounds(const Rect& bounds) {
    ScrollView::SetBounds(bounds);
    if (!bar_) return;
    bar_->SetRect({bounds.width() - kBarSize, 0, bounds.width(), bounds.height()});
    SetContentSize(ViewRect().width(), Count());
}

void ListPane::updateBar() {
    if (!bar_) return;
    const int32_t max = MaxScroll().y;
    bar_->SetRange(max);
    bar_->SetValue(ScrollPos().y);
    if (max > 0) {
        bar_->Enable();
    } else {
        bar_->Disable();
    }
}

void ListPane::OnScrollChanged() {
    updateBar();
}

void ListPane::Paint() {
    const Rect clip = GetClipRect();
    if (clip.empty()) return;
    SetPenColor(kFill);
    FillRect(clip);
    const Rect saved = UserClip();
    const int32_t width = ViewRect().width();
    const int32_t first = std::max(0, clip.top / rowHeight_);
    for (int32_t i = first; i < Count(); ++i) {
        const Rect line{0, i * rowHeight_, width, (i + 1) * rowHeight_};
        if (line.top >= clip.bottom) break;
        SetUserClip(line);
        rows_[size_t(i)].row->Paint(*this, line, rows_[size_t(i)].selected);
    }
    SetUserClip(saved);
}

void ListPane::invalidateRow(int32_t index) {
    if (index < 0 || index >= Count()) return;
    const Point o = GetOrigin();
    const Rect line{0, index * rowHeight_ - o.y, ViewRect().width(),
                    (index + 1) * rowHeight_ - o.y};
    Invalidate(line.intersect(ViewRect()));
}

void ListPane::report(int32_t code) {
    if (report_) report_(code);
}

void ListPane::Append(std::unique_ptr<ListRow> row) {
    Insert(Count(), std::move(row));
}

void ListPane::Insert(int32_t index, std::unique_ptr<ListRow> row) {
    if (!row) return;
    index = std::clamp(index, 0, Count());
    rows_.insert(rows_.begin() + index, Entry{std::move(row), false});
    if (anchor_ >= index) ++anchor_;
    if (cursor_ >= index) ++cursor_;
    SetContentSize(ViewRect().width(), Count());
    Invalidate(ViewRect());
}

void ListPane::Remove(int32_t index) {
    if (index < 0 || index >= Count()) return;
    rows_.erase(rows_.begin() + index);
    auto shift = [index](int32_t& v) {
        if (v == index) {
            v = -1;
        } else if (v > index) {
            --v;
        }
    };
    shift(anchor_);
    shift(cursor_);
    SetContentSize(ViewRect().width(), Count());
    Invalidate(ViewRect());
}

void ListPane::Clear() {
    rows_.clear();
    anchor_ = cursor_ = -1;
    following_ = false;
    SetContentSize(ViewRect().width(), 0);
    Invalidate(ViewRect());
}

void ListPane::Sort(const std::function<bool(const ListRow&, const ListRow&)>& less) {
    const ListRow* anchor = anchor_ >= 0 ? rows_[size_t(anchor_)].row.get() : nullptr;
    const ListRow* cursor = cursor_ >= 0 ? rows_[size_t(cursor_)].row.get() : nullptr;
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&less](const Entry& a, const Entry& b) { return less(*a.row, *b.row); });
    anchor_ = cursor_ = -1;
    for (int32_t i = 0; i < Count(); ++i) {
        if (rows_[size_t(i)].row.get() == anchor) anchor_ = i;
        if (rows_[size_t(i)].row.get() == cursor) cursor_ = i;
    }
    Invalidate(ViewRect());
}

ListRow* ListPane::Row(int32_t index) const {
    return index >= 0 && index < Count() ? rows_[size_t(index)].row.get() : nullptr;
}

int32_t ListPane::Selected() const {
    for (int32_t i = 0; i < Count(); ++i)
        if (rows_[size_t(i)].selected) return i;
    return -1;
}

std::vector<int32_t> ListPane::SelectedRows() const {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < Count(); ++i)
        if (rows_[size_t(i)].selected) out.push_back(i);
    return out;
}

bool ListPane::IsSelected(int32_t index) const {
    return index >= 0 && index < Count() && rows_[size_t(index)].selected;
}

void ListPane::Select(int32_t index) {
    for (int32_t i = 0; i < Count(); ++i) {
        const bool on = i == index;
        if (rows_[size_t(i)].selected != on) {
            rows_[size_t(i)].selected = on;
            invalidateRow(i);
        }
    }
    anchor_ = cursor_ = index >= 0 && index < Count() ? index : -1;
}

void ListPane::ClearSelection() {
    Select(-1);
}

void ListPane::ScrollToRow(int32_t row) {
    ScrollTo(0, row);
}

int32_t ListPane::rowAt(int32_t y) const {
    const int64_t content = int64_t(y) + int64_t(ScrollPos().y) * rowHeight_;
    if (content < 0) return -1;
    const int64_t row = content / rowHeight_;
    return row < Count() ? int32_t(row) : -1;
}

void ListPane::pick(int32_t row, uint8_t modifiers) {
    if (row < 0 || row >= Count()) return;
    const std::vector<int32_t> before = SelectedRows();
    if (multiple_ && (modifiers & InputEvent::kCtrl)) {
        Entry& e = rows_[size_t(row)];
        e.selected = !e.selected;
        invalidateRow(row);
        anchor_ = cursor_ = row;
    } else if (multiple_ && (modifiers & InputEvent::kShift) && anchor_ >= 0) {
        const int32_t lo = std::min(anchor_, row), hi = std::max(anchor_, row);
        for (int32_t i = 0; i < Count(); ++i) {
            const bool on = i >= lo && i <= hi;
            if (rows_[size_t(i)].selected != on) {
                rows_[size_t(i)].selected = on;
                invalidateRow(i);
            }
        }
        cursor_ = row;
    } else {
        Select(row);
    }
    if (SelectedRows() != before) report(kListSelectionChanged);
}

void ListPane::playerScrolled(bool pushedPastEnd) {
    if (Count() > 0 && ScrollPos().y == MaxScroll().y && pushedPastEnd) report(kListScrolledToEnd);
}

void ListPane::moveCursor(int32_t row) {
    if (Count() == 0) return;
    const bool down = row > cursor_;
    row = std::clamp(row, 0, Count() - 1);
    pick(row, 0);
    MakeVisible({0, row * rowHeight_, 1, (row + 1) * rowHeight_});
    // Reaching the last row, or pressing on past it.
    if (down && row == Count() - 1) playerScrolled(true);
}

bool ListPane::OnMouse(const InputEvent& event) {
    const Point at{event.x, event.y};
    const bool inBar = bar_->GetBoundsInParent().contains(at);
    switch (event.kind) {
        case InputEvent::kWheel: {
            if (!GetBounds().contains(at)) return false;
            const int32_t before = ScrollPos().y;
            ScrollBy(0, -event.wheel);
            const bool down = event.wheel < 0;
            if (down) playerScrolled(ScrollPos().y != before || before == MaxScroll().y);
            return true;
        }
        case InputEvent::kLeftDown:
            if (inBar) {
                barPressed_ = true;
                InputEvent e = event;
                e.x -= bar_->GetPosition().x;
                e.y -= bar_->GetPosition().y;
                const uint8_t part = bar_->HitTest(e.x, e.y);
                const bool atEnd = ScrollPos().y == MaxScroll().y;
                bar_->OnMouse(e);
                // Pressing on towards the end when it already shows.
                if (atEnd && (part == kPartTrackLast || part == kPartArrowLast))
                    playerScrolled(true);
                return true;
            }
            if (!ViewRect().contains(at)) return true;
            pick(rowAt(at.y), event.modifiers);
            following_ = rowAt(at.y) >= 0;
            return true;
        case InputEvent::kMouseMove:
            if (barPressed_) {
                InputEvent e = event;
                e.x -= bar_->GetPosition().x;
                e.y -= bar_->GetPosition().y;
                return bar_->OnMouse(e);
            }
            if (following_) {
                const Rect v = ViewRect();
                // Above or below the view the list scrolls a row towards the pointer.
                if (at.y < v.top) {
                    ScrollBy(0, -1);
                } else if (at.y >= v.bottom) {
                    ScrollBy(0, 1);
                }
                const int32_t y = std::clamp(at.y, v.top, v.bottom - 1);
                int32_t row = rowAt(y);
                if (row < 0) row = Count() - 1;
                if (row != cursor_) pick(row, multiple_ && anchor_ >= 0 ? InputEvent::kShift : 0);
                return true;
            }
            return false;
        case InputEvent::kLeftUp:
            following_ = false;
            if (barPressed_) {
                barPressed_ = false;
                InputEvent e = event;
                e.x -= bar_->GetPosition().x;
                e.y -= bar_->GetPosition().y;
                bar_->OnMouse(e);
            }
            return true;
        case InputEvent::kLeftDouble: {
            if (!ViewRect().contains(at)) return false;
            const int32_t row = rowAt(at.y);
            if (row < 0) return true;
            if (!IsSelected(row)) pick(row, 0);
            report(kListChosen);
            return true;
        }
        default:
            return false;
    }
}

bool ListPane::OnKey(const InputEvent& event) {
    if (event.kind != InputEvent::kKeyDown || Count() == 0) return false;
    const int32_t page = std::max(1, VisibleUnits().y - 1);
    const int32_t at = cursor_ >= 0 ? cursor_ : -1;
    switch (event.keyCode) {
        case kUp:
            moveCursor(at < 0 ? 0 : at - 1);
            return true;
        case kDown:
            moveCursor(at + 1);
            return true;
        case kPageUp:
            moveCursor(at < 0 ? 0 : at - page);
            return true;
        case kPageDown:
            moveCursor(at < 0 ? page : at + page);
            return true;
        case kHome:
            moveCursor(0);
            return true;
        case kEnd:
            moveCursor(Count() - 1);
            return true;
        default:
            return false;
    }
}

void ListPane::OnCommand(int32_t, int32_t) {
    const int32_t before = ScrollPos().y;
    ScrollTo(0, bar_->Value());
    if (ScrollPos().y != before) playerScrolled(ScrollPos().y > before);
}

int32_t ListPane::IndexOf(const Control* control) const {
    return control && control == bar_.get() ? 0 : -1;
}

void ListPane::SetHot(int32_t index, uint8_t state) {
    bar_->SetState(index == 0 ? state : kStateNormal);
}

}  // namespace vs::ui
