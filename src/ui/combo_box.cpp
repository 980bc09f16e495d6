#include "ui/combo_box.h"

namespace vs::ui {

using base::Rect;

namespace {
constexpr uint8_t kDown = 131;
}

ComboBox::ComboBox(const Rect& rect) : Control(rect, kKindComboBox) {
    menu_.SetChooser([this](int32_t item) { chosen(item); });
}

void ComboBox::AddItem(std::u16string_view text) {
    const int32_t i = int32_t(texts_.size());
    texts_.emplace_back(text);
    menu_.AddItem(std::make_unique<TextPopupItem>(
        Rect{0, i * kItemHeight, GetBounds().width(), (i + 1) * kItemHeight}, text));
}

void ComboBox::Select(int32_t index) {
    if (index < -1 || index >= int32_t(texts_.size()) || index == selected_) return;
    selected_ = index;
    Invalidate();
}

void ComboBox::OpenMenu() {
    const base::Point s = GetScreenPosition();
    menu_.Open(this, s.x + GetBounds().width() - 1, s.y, selected_);
}

void ComboBox::chosen(int32_t item) {
    if (item < 0 || item == selected_) return;
    Select(item);
    Report(kPartNone);
}

void ComboBox::Paint() {
    const Rect& b = GetBounds();
    SetPenColor(0);
    FillRect(b);
    const base::Point left = SpriteFrameSize(kFile, 0), right = SpriteFrameSize(kFile, 2);
    TileSpriteFrame(*this, kFile, 1, {b.left + left.x, b.top, b.right - right.x, b.bottom}, 0,
                    kInterfacePalette);
    DrawSpriteFrame(*this, kFile, 0, b.left, b.top, 0, kInterfacePalette);
    DrawSpriteFrame(*this, kFile, 2, b.right - right.x, b.top, 0, kInterfacePalette);
    if (selected_ >= 0) {
        Canvas::SetTextColor(kText);
        SetTextBackMode(1);
        const Rect saved = UserClip();
        SetUserClip({b.left, b.top, b.right - right.x, b.bottom});
        MoveTo(b.left + 1, b.bottom - 2);
        DrawText(texts_[size_t(selected_)]);
        SetUserClip(saved);
    }
    if (!IsEnabled()) Wash(3);
    PaintOutlines();
}

uint8_t ComboBox::HitTest(int32_t, int32_t) const {
    return kPartDropDown;
}

bool ComboBox::OnMouse(const app::InputEvent& event) {
    if (event.kind == app::InputEvent::kLeftUp && IsEnabled() &&
        GetBounds().contains(base::Point{event.x, event.y}))
        OpenMenu();
    return true;
}

bool ComboBox::OnKey(const app::InputEvent& event) {
    if (event.kind != app::InputEvent::kKeyDown || event.keyCode != kDown || event.modifiers != 0)
        return false;
    OpenMenu();
    return true;
}

}  // namespace vs::ui
