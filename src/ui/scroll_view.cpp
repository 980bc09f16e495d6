#include "ui/scroll_view.h"

#include <algorithm>
#include <cstdlib>

namespace vs::ui {

using base::Point;
using base::Rect;

ScrollView::ScrollView(Point unit, bool horizontalBar, bool verticalBar, uint8_t drawMode)
    : Pane(drawMode),
      unit_{std::max(unit.x, 1), std::max(unit.y, 1)},
      horizontalBar_(horizontalBar),
      verticalBar_(verticalBar) {}

void ScrollView::SetBounds(const Rect& bounds) {
    Pane::SetBounds(bounds);
    // A view of another size may scroll less far.
    ScrollTo(pos_.x, pos_.y);
}

Rect ScrollView::ViewRect() const {
    const Rect& b = GetBounds();
    Rect v = b;
    if (verticalBar_) v.right = std::max(v.left, v.right - kBarSize);
    if (horizontalBar_) v.bottom = std::max(v.top, v.bottom - kBarSize);
    return v;
}

Point ScrollView::VisibleUnits() const {
    const Rect v = ViewRect();
    return {v.width() / unit_.x, v.height() / unit_.y};
}

Point ScrollView::MaxScroll() const {
    const Point visible = VisibleUnits();
    return {std::max(0, content_.x - visible.x), std::max(0, content_.y - visible.y)};
}

void ScrollView::SetContentSize(int32_t width, int32_t height) {
    content_ = {std::max(width, 0), std::max(height, 0)};
    const Point before = pos_;
    ScrollTo(pos_.x, pos_.y);
    // The range changed even when the position did not.
    if (pos_ == before) OnScrollChanged();
}

void ScrollView::ScrollTo(int32_t x, int32_t y) {
    const Point max = MaxScroll();
    const Point next{std::clamp(x, 0, max.x), std::clamp(y, 0, max.y)};
    if (next == pos_) return;
    moveTo(next);
    OnScrollChanged();
}

void ScrollView::ContentShifted(int32_t rows) {
    pos_.y = std::max(0, pos_.y + rows);
    SetOrigin({pos_.x * unit_.x, pos_.y * unit_.y});
    OnScrollChanged();
}

void ScrollView::MakeVisible(const Rect& rect) {
    const Rect v = ViewRect();
    auto axis = [](int32_t pos, int32_t unit, int32_t view, int32_t lo, int32_t hi) {
        const int64_t shownLo = int64_t(pos) * unit, shownHi = shownLo + view;
        if (lo < shownLo) return int32_t(lo / unit - (lo % unit < 0));
        if (hi > shownHi) return int32_t((int64_t(hi) - view + unit - 1) / unit);
        return pos;
    };
    ScrollTo(axis(pos_.x, unit_.x, v.width(), rect.left, rect.right),
             axis(pos_.y, unit_.y, v.height(), rect.top, rect.bottom));
}

void ScrollView::moveTo(Point next) {
    const Point oldOrigin = GetOrigin();
    const Point newOrigin{next.x * unit_.x, next.y * unit_.y};
    pos_ = next;
    const Rect view = ViewRect();
    const int32_t dx = oldOrigin.x - newOrigin.x, dy = oldOrigin.y - newOrigin.y;
    const bool pending = DirtyRegion().rect().intersects(view);
    const bool far =
        std::abs(int64_t(dx)) >= view.width() || std::abs(int64_t(dy)) >= view.height();
    SetOrigin(newOrigin);
    if (!HasSurface() || pending || far) {
        Invalidate(view);
        return;
    }
    // Move the pixels in surface terms: the view's canvas rectangle under the old origin.
    SetOrigin(oldOrigin);
    const Rect clip = ClipArea();
    SetClipArea(view.offset(oldOrigin.x, oldOrigin.y));
    Rect exposed;
    if (Lock()) {
        Scroll(view.offset(oldOrigin.x, oldOrigin.y), dx, dy, exposed);
        Unlock();
    }
    SetClipArea(clip);
    SetOrigin(newOrigin);
    if (!exposed.empty()) paintNow(exposed.offset(-oldOrigin.x, -oldOrigin.y));
    MarkDirty(view);
}

// Paints a part of the view (pane coordinates) at once, outside the frame's painting.
void ScrollView::paintNow(const Rect& area) {
    const Point o = GetOrigin();
    const Rect clip = ClipArea();
    SetClipArea(area.intersect(ViewRect()).offset(o.x, o.y));
    if (Lock()) {
        Paint();
        Unlock();
    }
    SetClipArea(clip);
}

bool ScrollView::OnMouse(const app::InputEvent& event) {
    if (event.kind != app::InputEvent::kWheel || !IsShowing()) return false;
    if (!ViewRect().contains(Point{event.x, event.y})) return false;
    ScrollBy(0, -event.wheel * wheelStep_);
    return true;
}

}  // namespace vs::ui
