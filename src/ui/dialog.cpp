#include "ui/dialog.h"

#include <algorithm>

#include "app/error.h"
#include "app/event_dispatcher.h"
#include "resources/image_cache.h"
#include "ui/dialog_placement.h"
#include "ui/layer.h"

namespace vs::ui {

using app::InputEvent;
using base::Point;
using base::Rect;

namespace {

constexpr uint8_t kTab = 9, kEnter = 13, kEscape = 27;

std::vector<Dialog*>& liveDialogs() {
    static std::vector<Dialog*> all;
    return all;
}

// The unblended mode a dialog is drawn in while it moves.
uint8_t solidMode(uint8_t mode) {
    if (mode == Pane::kBlend) return Pane::kCopy;
    if (mode == Pane::kKeyedBlend) return Pane::kKeyed;
    return mode;
}

}  // namespace

Dialog::Dialog(std::u16string_view name, int16_t slot, uint8_t drawMode)
    : Pane(drawMode),
      name_(name.substr(0, std::min(name.size(), kMaxName))),
      slot_(slot >= 0 && slot < kDialogSlotCount ? slot : -1) {
    liveDialogs().push_back(this);
}

Dialog::~Dialog() {
    auto& all = liveDialogs();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    // The controls hang below the dialog's node: they go first.
    controls_.clear();
    retired_.clear();
}

void Dialog::CancelAllInteractions() {
    for (Dialog* d : liveDialogs()) d->CancelInteraction();
}

void Dialog::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    const Rect placed = slot_ >= 0 ? PlaceDialog(slot_, rect) : rect;
    Pane::Attach(placed, sibling, parent, layer);
    AfterChange();
    for (auto& c : controls_) c->Attach(c->GetBoundsInParent(), nullptr, this, GetLayer());
    PlaySound(kOpenSound, kOpenVolume);
}

void Dialog::Detach() {
    CancelInteraction();
    for (auto& c : controls_) c->Detach();
    Pane::Detach();
}

void Dialog::RegisterHandler(Pane* sibling, Pane* parent) {
    Pane::RegisterHandler(sibling, parent);
    if (auto* d = app::EventDispatcher::instance()) d->pushModal(this);
}

void Dialog::UnregisterHandler() {
    if (auto* d = app::EventDispatcher::instance()) d->popModal(this);
    Pane::UnregisterHandler();
}

void Dialog::Paint() {
    DrawBackground();
    DrawFrame();
    DrawDefaultOutline();
}

void Dialog::DrawBackground() {
    const Rect& b = GetBounds();
    if (background_.hasPixels()) {
        SetPenColor(0);
        FillRect(b);
        DrawPixMap(background_, background_.bounds(),
                   background_.bounds().offset(backgroundAt_.x, backgroundAt_.y), 1);
        return;
    }
    TileSpriteFrame(*this, kFrameFile, 8, b, 0, kInterfacePalette);
}

void Dialog::DrawFrame() {
    if (background_.hasPixels()) return;
    const int32_t w = GetBounds().width(), h = GetBounds().height();
    auto draw = [this](int frame, int32_t x, int32_t y) {
        DrawSpriteFrame(*this, kFrameFile, frame, x, y, 1, kInterfacePalette);
    };
    for (int32_t x = kFrameSide; x + kFrameSide < w; x += kFrameSide) {
        draw(1, x, 0);
        draw(6, x, h - kFrameSide);
    }
    for (int32_t y = kFrameSide; y + kFrameSide < h; y += kFrameSide) {
        draw(3, 0, y);
        draw(4, w - kFrameSide, y);
    }
    draw(0, 0, 0);
    draw(2, w - kFrameSide, 0);
    draw(5, 0, h - kFrameSide);
    draw(7, w - kFrameSide, h - kFrameSide);
}

void Dialog::DrawDefaultOutline() {
    if (!valid(default_)) return;
    const Control& c = *controls_[size_t(default_)];
    const Rect r = c.GetBoundsInParent();
    SetPenColor(c.IsEnabled() ? kDefaultEnabled : kDefaultDisabled);
    for (int32_t grow = 4; grow >= 2; --grow)
        FrameRect({r.left - grow, r.top - grow, r.right + grow, r.bottom + grow});
}

void Dialog::invalidateOutline(int32_t index) {
    if (!valid(index)) return;
    const Rect r = controls_[size_t(index)]->GetBoundsInParent();
    Invalidate({r.left - 4, r.top - 4, r.right + 4, r.bottom + 4});
    if (index == default_) outlineEnabled_ = usable(index);
}

void Dialog::AfterChange() {
    if (IsClosing()) return;
    UpdateControls();
    if (IsClosing()) return;
    // Compared with the state last asked for: it may have changed anywhere since.
    if (usable(default_) != outlineEnabled_) invalidateOutline(default_);
}

void Dialog::SetFocusControl(int32_t index) {
    if (!valid(index)) index = -1;
    if (valid(focus_)) controls_[size_t(focus_)]->Unfocus();
    focus_ = index;
    if (valid(focus_)) controls_[size_t(focus_)]->Focus();
}

int32_t Dialog::AddControl(std::unique_ptr<Control> control) {
    if (!control) return -1;
    control->SetHost(this);
    Control& c = *control;
    controls_.push_back(std::move(control));
    if (Node()) c.Attach(c.GetBoundsInParent(), nullptr, this, GetLayer());
    return int32_t(controls_.size()) - 1;
}

void Dialog::ClearControls() {
    CancelInteraction();
    for (auto& c : controls_) {
        c->Detach();
        c->SetHost(nullptr);
        retired_.push_back(std::move(c));
    }
    controls_.clear();
    default_ = cancel_ = focus_ = -1;
    Invalidate();
}

void Dialog::collect() {
    if (depth_ == 0) retired_.clear();
}

Control* Dialog::GetControl(int32_t index) const {
    return valid(index) ? controls_[size_t(index)].get() : nullptr;
}

int32_t Dialog::IndexOf(const Control* control) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].get() == control) return int32_t(i);
    return -1;
}

void Dialog::SetDefaultControl(int32_t index) {
    if (!valid(index)) index = -1;
    if (valid(default_)) {
        controls_[size_t(default_)]->SetMarker(0);
        invalidateOutline(default_);
    }
    default_ = index;
    if (valid(default_)) {
        controls_[size_t(default_)]->SetMarker(1);
        invalidateOutline(default_);
    }
}

void Dialog::SetHot(int32_t index, uint8_t state) {
    if (valid(hot_) && hotState_ != kStateNormal && hot_ != index)
        controls_[size_t(hot_)]->SetState(kStateNormal);
    hot_ = valid(index) ? index : -1;
    hotState_ = hot_ >= 0 ? state : kStateNormal;
    if (hot_ >= 0) controls_[size_t(hot_)]->SetState(state);
}

bool Dialog::SetBackground(const char* epfName, int frame, Point placement) {
    auto* cache = resources::ImageCache::instance();
    resources::PixMap pic;
    if (!cache) return false;
    try {
        cache->GetFrameCopy(epfName, frame, pic);
    } catch (const app::Error&) {
        return false;
    }
    if (!pic.hasPixels()) return false;
    background_ = std::move(pic);
    backgroundAt_ = placement;
    Invalidate();
    return true;
}

Dialog::Hit Dialog::HitAt(int32_t x, int32_t y) const {
    for (size_t i = controls_.size(); i-- > 0;) {
        const Control& c = *controls_[i];
        if (!c.IsVisible()) continue;
        const Rect r = c.GetBoundsInParent();
        if (!r.contains(Point{x, y})) continue;
        uint8_t part = c.HitTest(x - r.left, y - r.top);
        if (!c.IsEnabled()) part |= kPartDisabled;
        return {int32_t(i), part};
    }
    return {};
}

void Dialog::forwardMouse(int32_t index, const InputEvent& event) {
    if (!valid(index)) return;
    Control& c = *controls_[size_t(index)];
    InputEvent e = event;
    const Point p = c.GetPosition();
    e.x -= p.x;
    e.y -= p.y;
    c.OnMouse(e);
}

void Dialog::endDrag(bool save) {
    if (!dragging_) return;
    dragging_ = false;
    SetDrawMode(savedDrawMode_);
    if (save && slot_ >= 0) SaveDialogPos(slot_, GetBoundsInParent());
}

void Dialog::releasePressed(const InputEvent* event, bool command) {
    if (!valid(pressed_)) {
        pressed_ = -1;
        return;
    }
    const int32_t index = pressed_;
    const uint8_t part = pressedPart_;
    pressed_ = -1;
    pressedPart_ = kPartNone;
    SetHot(-1, kStateNormal);
    InputEvent up;
    if (event) {
        up = *event;
    } else {
        up.kind = InputEvent::kLeftUp;
        up.x = up.y = -1000;
    }
    forwardMouse(index, up);
    if (!command || !event) return;
    PresentNow();
    if (IsClosing() || !valid(index)) return;
    const Hit hit = HitAt(event->x, event->y);
    if (hit.index == index && hit.part == part) OnCommand(index, part);
    AfterChange();
}

void Dialog::CancelInteraction() {
    if (valid(pressed_)) releasePressed(nullptr, false);
    pressed_ = -1;
    SetHot(-1, kStateNormal);
    endDrag(false);
}

bool Dialog::OnMouse(const InputEvent& event) {
    collect();
    ++depth_;
    const Point at{event.x, event.y};
    switch (event.kind) {
        case InputEvent::kLeftDown: {
            // A button-up that never came must not leave the dialog deaf to clicks.
            if (pressed_ >= 0) releasePressed(nullptr, false);
            const Hit hit = HitAt(at.x, at.y);
            if (hit.part == kPartNone || hit.part == (kPartNone | kPartDisabled)) {
                if (!dragging_ && GetBounds().contains(at)) {
                    dragging_ = true;
                    dragStartScreen_ = {event.screenX, event.screenY};
                    dragStartPos_ = GetPosition();
                    savedDrawMode_ = DrawModeValue();
                    SetDrawMode(solidMode(savedDrawMode_));
                }
                break;
            }
            if (hit.index < 0 || (hit.part & kPartDisabled)) break;
            Control& c = *controls_[size_t(hit.index)];
            if (c.IsFocusable() && focus_ != hit.index) SetFocusControl(hit.index);
            pressed_ = hit.index;
            pressedPart_ = hit.part;
            SetHot(hit.index, hit.part);
            forwardMouse(hit.index, event);
            break;
        }
        case InputEvent::kMouseMove:
            if (dragging_) {
                const int64_t w = GetBounds().width(), h = GetBounds().height();
                int64_t left = int64_t(dragStartPos_.x) + event.screenX - dragStartScreen_.x;
                int64_t top = int64_t(dragStartPos_.y) + event.screenY - dragStartScreen_.y;
                if (limitsOn_) {
                    left =
                        std::max<int64_t>(limits_.left, std::min<int64_t>(left, limits_.right - w));
                    top =
                        std::max<int64_t>(limits_.top, std::min<int64_t>(top, limits_.bottom - h));
                }
                SetPosition({int32_t(left), int32_t(top)});
            }
            if (valid(pressed_)) {
                const Hit hit = HitAt(at.x, at.y);
                SetHot(pressed_, hit.index == pressed_ && hit.part == pressedPart_ ? pressedPart_
                                                                                   : kStateNormal);
                forwardMouse(pressed_, event);
            }
            break;
        case InputEvent::kLeftUp:
            endDrag(true);
            if (valid(pressed_)) releasePressed(&event, true);
            break;
        case InputEvent::kLeftDouble: {
            const Hit hit = HitAt(at.x, at.y);
            if (hit.index >= 0 && !(hit.part & kPartDisabled)) forwardMouse(hit.index, event);
            break;
        }
        case InputEvent::kWheel: {
            if (!GetBounds().contains(at)) break;
            const Hit hit = HitAt(at.x, at.y);
            if (hit.index >= 0 && !(hit.part & kPartDisabled)) forwardMouse(hit.index, event);
            break;
        }
        default:
            break;
    }
    --depth_;
    return true;
}

void Dialog::PressControl(int32_t index) {
    if (!usable(index)) return;
    AnimatePress(*this, index);
}

bool Dialog::OnKey(const InputEvent& event) {
    collect();
    ++depth_;
    const bool press = event.kind == InputEvent::kKeyDown;
    const int32_t n = int32_t(controls_.size());
    if (press && event.keyCode == kTab) {
        const bool back = event.modifiers & InputEvent::kShift;
        const int32_t start = valid(focus_) ? focus_ : (back ? n : -1);
        for (int32_t step = 1; step <= n; ++step) {
            const int32_t i = ((start + (back ? -step : step)) % n + n) % n;
            if (i == focus_) break;
            const Control& c = *controls_[size_t(i)];
            if (c.IsFocusable() && c.IsEnabled()) {
                SetFocusControl(i);
                break;
            }
        }
    } else if (press && event.keyCode == kEnter &&
               !(usable(focus_) && controls_[size_t(focus_)]->TakesEnter())) {
        PressControl(default_);
    } else if (press && event.keyCode == kEscape) {
        PressControl(cancel_);
    } else if (usable(focus_)) {
        controls_[size_t(focus_)]->OnKey(event);
    }
    AfterChange();
    --depth_;
    return true;
}

bool Dialog::OnText(const InputEvent& event) {
    bool taken = false;
    if (usable(focus_)) taken = controls_[size_t(focus_)]->OnText(event);
    AfterChange();
    return taken;
}

}  // namespace vs::ui
