#include "ui/scroll_bar.h"

#include <algorithm>

#include "app/frame_clock.h"

namespace vs::ui {

using app::InputEvent;
using base::Rect;

namespace {
constexpr uint8_t kLeft = 128, kUp = 129, kRight = 130, kDown = 131, kPageUp = 147, kPageDown = 148;
}

ScrollBar::ScrollBar(const Rect& rect, int32_t maximum) : Control(rect, kKindScrollBar) {
    SetMarker(rect.width() > rect.height() ? 1 : 0);
    SetMaximum(maximum);
}

int32_t ScrollBar::Length() const {
    return IsHorizontal() ? GetBounds().width() : GetBounds().height();
}

int32_t ScrollBar::ArrowSize() const {
    if (IsHorizontal()) return GetBounds().height();
    const int32_t h = SpriteFrameSize(kFile, 3).y;
    return h > 0 ? h : GetBounds().width();
}

int32_t ScrollBar::ThumbStart() const {
    const int32_t a = ArrowSize(), l = Length();
    const int64_t room = std::max<int64_t>(0, int64_t(l) - 3 * int64_t(a));
    // A maximum of 0 leaves the thumb at the start of the track.
    const int64_t start = Maximum() > 0 ? a + room * Value() / Maximum() : a;
    return int32_t(std::clamp<int64_t>(start, 0, std::max<int64_t>(0, int64_t(l) - a)));
}

uint8_t ScrollBar::partAt(int32_t p) const {
    const int32_t a = ArrowSize(), l = Length();
    if (p < 0 || p >= l) return kPartNone;
    if (p < a) return kPartArrowFirst;
    if (p >= l - a) return kPartArrowLast;
    if (!IsEnabled()) return kPartThumb;
    const int32_t t = ThumbStart();
    if (p < t) return kPartTrackFirst;
    if (p < t + a) return kPartThumb;
    return kPartTrackLast;
}

uint8_t ScrollBar::HitTest(int32_t x, int32_t y) const {
    if (!GetBounds().contains(base::Point{x, y})) return kPartNone;
    return partAt(along(x, y));
}

bool ScrollBar::SetValue(int32_t value) {
    const int16_t v = int16_t(std::clamp<int32_t>(value, 0, Maximum()));
    if (v == Value()) return false;
    SetValueField(v);
    Invalidate();
    return true;
}

void ScrollBar::SetRange(int32_t maximum) {
    SetMaximum(maximum);
    if (Value() > Maximum()) SetValueField(Maximum());
    Invalidate();
}

void ScrollBar::change(int32_t value, int32_t code) {
    if (SetValue(value)) Report(code);
}

void ScrollBar::Disable() {
    stopTracking();
    Control::Disable();
}

void ScrollBar::stopTracking() {
    if (trackPart_ == kPartNone) return;
    trackPart_ = kPartNone;
    DropFocus();
    if (auto* clock = app::FrameClock::instance()) clock->cancel(this, kStepTimer);
    Control::SetState(kStateNormal);
}

void ScrollBar::step() {
    if (trackPart_ == kPartNone) return;
    const int32_t a = ArrowSize(), l = Length();
    const int32_t p = along(pointer_.x, pointer_.y);
    if (trackPart_ == kPartThumb) {
        const int32_t s = a, e = l - 2 * a;
        // No room to move: three arrows' length or less.
        if (e - s <= 0) return;
        const int32_t t = std::clamp(p - grab_, s, e);
        change(int32_t(int64_t(Maximum()) * (t - s) / (e - s)), kPartThumb);
        return;
    }
    const bool on = GetBounds().contains(pointer_) && partAt(p) == trackPart_;
    Control::SetState(on ? trackPart_ : kStateNormal);
    if (!on) return;
    static constexpr int32_t kDelta[] = {-1, -10, 0, 10, 1};
    change(Value() + kDelta[trackPart_ - kPartArrowFirst], trackPart_);
}

bool ScrollBar::OnMouse(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::kLeftDown: {
            if (!IsEnabled()) return true;
            const uint8_t part = HitTest(event.x, event.y);
            if (part < kPartArrowFirst || part > kPartArrowLast) return true;
            TakeFocus();
            trackPart_ = part;
            pointer_ = {event.x, event.y};
            grab_ = along(event.x, event.y) - ThumbStart();
            step();
            if (auto* clock = app::FrameClock::instance())
                clock->schedule(this, kStepTimer, kFirstRepeatMs);
            return true;
        }
        case InputEvent::kMouseMove:
            if (trackPart_ == kPartNone) return false;
            pointer_ = {event.x, event.y};
            // The thumb follows the pointer at once; the other parts step on the timer.
            if (trackPart_ == kPartThumb) step();
            return true;
        case InputEvent::kLeftUp:
            if (trackPart_ == kPartNone) return false;
            stopTracking();
            return true;
        default:
            return false;
    }
}

bool ScrollBar::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kStepTimer || trackPart_ == kPartNone) return true;
    if (auto* clock = app::FrameClock::instance()) clock->schedule(this, kStepTimer, kRepeatMs);
    step();
    return true;
}

bool ScrollBar::OnKey(const InputEvent& event) {
    if (event.kind != InputEvent::kKeyDown || !IsEnabled()) return false;
    int32_t delta = 0;
    switch (event.keyCode) {
        case kLeft:
        case kUp:
            delta = -1;
            break;
        case kRight:
        case kDown:
            delta = 1;
            break;
        case kPageUp:
            delta = -10;
            break;
        case kPageDown:
            delta = 10;
            break;
        default:
            return false;
    }
    SetValue(Value() + delta);
    Report(kPartNone);
    return true;
}

void ScrollBar::Paint() {
    const Rect& b = GetBounds();
    const bool h = IsHorizontal();
    const int32_t a = ArrowSize(), l = Length();
    auto span = [&](int32_t from, int32_t to) {
        return h ? Rect{b.left + from, b.top, b.left + to, b.bottom}
                 : Rect{b.left, b.top + from, b.right, b.top + to};
    };
    auto at = [&](int frame, int32_t pos) {
        const Rect r = span(pos, pos + a);
        DrawSpriteFrame(*this, kFile, frame, r.left, r.top, 0, kPalette);
    };
    const uint8_t s = State();
    const int base = h ? 4 : 0;
    SetPenColor(0);
    FillRect(b);
    if (!IsEnabled()) {
        TileSpriteFrame(*this, kFile, 10, span(a, l - a), 0, kPalette);
    } else {
        const int32_t t = ThumbStart();
        TileSpriteFrame(*this, kFile, s == kPartTrackFirst ? 11 : 10, span(a, t), 0, kPalette);
        TileSpriteFrame(*this, kFile, s == kPartTrackLast ? 11 : 10, span(t + a, l - a), 0,
                        kPalette);
        at(s == kPartThumb ? 9 : 8, t);
    }
    at(base + (s == kPartArrowFirst ? 1 : 0), 0);
    at(base + (s == kPartArrowLast ? 3 : 2), l - a);
    if (!IsEnabled()) Wash(2);
    if (IsFocused() && IsEnabled()) {
        SetPenColor(kFocusColor);
        FrameRect(b);
    }
}

}  // namespace vs::ui
