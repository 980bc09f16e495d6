#include "ui/radio_group.h"

namespace vs::ui {

using base::Rect;

RadioGroup::RadioGroup(const Rect& rect) : Control(rect, kKindRadioGroup) {}

bool RadioGroup::AddItem(const Rect& rect, std::u16string_view caption) {
    if (items_.size() >= kMaxItems) return false;
    items_.push_back(
        {rect, std::u16string(caption.substr(0, std::min(caption.size(), kMaxCaption)))});
    Invalidate(rect);
    return true;
}

void RadioGroup::Select(int32_t index) {
    if (index == selected_ || index < 0 || index >= int32_t(items_.size())) return;
    if (selected_ >= 0 && selected_ < int32_t(items_.size()))
        Invalidate(items_[size_t(selected_)].rect);
    selected_ = index;
    Invalidate(items_[size_t(index)].rect);
}

int32_t RadioGroup::itemAt(int32_t x, int32_t y) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].rect.contains(base::Point{x, y})) return int32_t(i);
    return -1;
}

uint8_t RadioGroup::HitTest(int32_t x, int32_t y) const {
    const int32_t i = itemAt(x, y);
    return i < 0 ? uint8_t(kPartNone) : uint8_t(kPartRadioItem + i);
}

bool RadioGroup::OnMouse(const app::InputEvent& event) {
    if (event.kind == app::InputEvent::kLeftUp && IsEnabled() &&
        GetBounds().contains(base::Point{event.x, event.y})) {
        const int32_t i = itemAt(event.x, event.y);
        if (i >= 0) Select(i);
    }
    return true;
}

void RadioGroup::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    const bool on = IsEnabled();
    Canvas::SetTextColor(on ? kText : kTextDisabled);
    SetTextBackMode(1);
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& it = items_[i];
        const bool sel = int32_t(i) == selected_;
        const int frame = on ? (sel ? 1 : 0) : (sel ? 3 : 2);
        const int32_t middle = it.rect.top + it.rect.height() / 2;
        DrawSpriteFrame(*this, kFile, frame, it.rect.left, middle - 5, 1, kInterfacePalette);
        const int32_t textTop = middle - 6;
        DrawTextInRect(it.caption, {it.rect.left + 11 + 3, textTop, it.rect.right, textTop + 12});
    }
    PaintOutlines();
}

}  // namespace vs::ui
