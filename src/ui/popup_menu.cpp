#include "ui/popup_menu.h"

#include <algorithm>

#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/layer.h"

namespace vs::ui {

using app::InputEvent;
using base::Point;
using base::Rect;

namespace {
constexpr uint8_t kEnter = 13, kEscape = 27, kSpace = 32, kLeft = 128, kUp = 129, kRight = 130,
                  kDown = 131;
constexpr int32_t kOutline = 128, kShadow = 143;
}  // namespace

void TextPopupItem::Paint(graphics::Canvas& c, bool selected) {
    const base::Rect& r = Rect();
    if (selected) {
        c.SetPenColor(kSelectedBack);
        c.FillRect({r.left + 1, r.top, r.right - 1, r.bottom});
    }
    c.SetTextColor(!IsEnabled() ? kDisabledText : selected ? kSelectedText : kText);
    // Dark letters on the light ground take a light rim; light ones on the bar a dark one.
    c.SetTextBackColor(selected ? kSelectedBack : kSelectedText);
    c.SetTextBackMode(1);
    const int32_t top = r.top + (r.height() - 12) / 2;
    c.DrawTextInRect(text_, {r.left + 4, top, r.right - 2, top + 12});
}

PopupMenu::PopupMenu() : Pane(kCopy) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::AddItem(std::unique_ptr<PopupItem> item) {
    if (item) items_.push_back(std::move(item));
}

void PopupMenu::ClearItems() {
    items_.clear();
    selected_ = -1;
}

PopupItem* PopupMenu::Item(int32_t index) const {
    return index >= 0 && index < int32_t(items_.size()) ? items_[size_t(index)].get() : nullptr;
}

void PopupMenu::Open(Control* owner, int32_t x, int32_t y, int32_t selected) {
    if (open_) CloseMenu(-1);
    auto* screen = ScreenPane::instance();
    Layer* layer = screen ? screen->GetLayerById(kDialogLayer) : nullptr;
    if (items_.empty() || !layer) return;
    const Rect& last = items_.back()->Rect();
    owner_ = owner;
    open_ = true;
    Attach({x, y, x + last.right + 1, y + last.bottom + 1}, nullptr, nullptr, layer);
    RegisterHandler(nullptr, owner ? owner->GetParent() : nullptr);
    selected_ = -1;
    select(selected);
    slide(true);
}

void PopupMenu::CloseMenu(int32_t item) {
    if (!open_) return;
    open_ = false;
    if (owner_) {
        if (auto* dialog = dynamic_cast<Dialog*>(owner_->GetParent())) dialog->UpdateControls();
    }
    slide(false);
    Detach();
    UnregisterHandler();
    owner_ = nullptr;
    if (chooser_) chooser_(item);
}

void PopupMenu::slide(bool down) {
    if (!IsShowing()) return;
    const Rect rect = GetBoundsInParent();
    const Rect clip = ClipArea();
    const int32_t h = rect.height();
    for (int step = 0; step < kSlideSteps; ++step) {
        // Opening moves from 24/25 of the height above to the place; closing the other way.
        const int k = down ? kSlideSteps - 1 - step : step + 1;
        const int32_t shift = int32_t(int64_t(k) * h / kSlideSteps);
        // What the shifted clip hides is still to be painted afterwards.
        const Rect pending = DirtyRegion().rect();
        SetPosition({rect.left, rect.top - shift});
        SetClipArea(clip.intersect(GetBounds().offset(0, shift)));
        PresentNow();
        SetClipArea(clip);
        if (shift > 0) Invalidate(pending);
    }
    SetPosition(rect.topLeft());
}

void PopupMenu::select(int32_t index) {
    if (index == selected_) return;
    if (PopupItem* old = Item(selected_)) Invalidate(old->Rect());
    selected_ = Item(index) ? index : -1;
    if (PopupItem* now = Item(selected_)) Invalidate(now->Rect());
}

int32_t PopupMenu::itemAt(Point p) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->Rect().contains(p)) return int32_t(i);
    return -1;
}

void PopupMenu::Paint() {
    const Rect& b = GetBounds();
    SetPenColor(0);
    FillRect(b);
    TileSpriteFrame(*this, kGround, 0, {b.left, b.top, b.right - 1, b.bottom - 1}, 0,
                    kInterfacePalette);
    SetPenColor(kOutline);
    FrameRect({b.left, b.top, b.right - 1, b.bottom - 1});
    SetPenColor(kShadow);
    FillRect({b.right - 1, b.top + 2, b.right, b.bottom});
    FillRect({b.left + 2, b.bottom - 1, b.right, b.bottom});
    const Rect saved = UserClip();
    for (size_t i = 0; i < items_.size(); ++i) {
        SetUserClip(items_[i]->Rect());
        items_[i]->Paint(*this, int32_t(i) == selected_);
    }
    SetUserClip(saved);
}

bool PopupMenu::OnMouse(const InputEvent& event) {
    if (!open_) return false;
    // The handler hangs below the dialog while the pane sits on the screen: screen positions.
    const Point s = GetScreenPosition();
    const Point p{event.screenX - s.x, event.screenY - s.y};
    const bool inside = GetBounds().contains(p);
    const int32_t item = itemAt(p);
    const bool usable = item >= 0 && items_[size_t(item)]->IsEnabled();
    switch (event.kind) {
        case InputEvent::kMouseMove:
            if (usable) select(item);
            return inside;
        case InputEvent::kLeftDown:
            if (!inside) {
                // The click goes on to whatever lies under it.
                CloseMenu(-1);
                return false;
            }
            return true;
        case InputEvent::kLeftUp:
            if (usable) {
                CloseMenu(item);
                return true;
            }
            return inside;
        default:
            return inside;
    }
}

bool PopupMenu::OnKey(const InputEvent& event) {
    if (!open_) return false;
    if (event.kind != InputEvent::kKeyDown || event.modifiers != 0) return true;
    const int32_t n = int32_t(items_.size());
    auto enabled = [this](int32_t i) { return items_[size_t(i)]->IsEnabled(); };
    switch (event.keyCode) {
        case kEnter:
        case kSpace:
            CloseMenu(selected_);
            break;
        case kEscape:
            CloseMenu(-1);
            break;
        case kLeft:
        case kUp: {
            for (int32_t i = (selected_ < 0 ? n : selected_) - 1; i >= 0; --i) {
                if (enabled(i)) {
                    select(i);
                    break;
                }
            }
            break;
        }
        case kRight:
        case kDown:
            for (int32_t i = selected_ + 1; i < n; ++i) {
                if (enabled(i)) {
                    select(i);
                    break;
                }
            }
            break;
        default:
            break;
    }
    return true;
}

}  // namespace vs::ui
