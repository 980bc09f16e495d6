#include "ui/edit_field.h"

#include <algorithm>

namespace vs::ui {

using base::Rect;

namespace {

constexpr int32_t kSingleLineLayout = 1000;

int32_t inset(bool framed) {
    return framed ? EditField::kInset : 0;
}

}  // namespace

EditField::EditField(const Rect& rect, std::u16string_view text) : EditField(rect, text, Style{}) {}

EditField::EditField(const Rect& rect, std::u16string_view text, const Style& style)
    : Control(rect, kKindText),
      edit_(
          std::max(0, rect.width() - 2 * inset(style.framed)),
          std::max(0, rect.height() - 2 * inset(style.framed)),
          style.multiLine ? std::max(1, rect.width() - 2 * inset(style.framed)) : kSingleLineLayout,
          std::max(0, rect.height() - 2 * inset(style.framed)), style.textColour, style.backColour,
          false, false, style.flags, style.font) {
    readOnly_ = (style.flags & TextEditPane::kReadOnly) != 0;
    SetMarker(style.framed ? 1 : 0);
    SetTakesEnter(style.multiLine);
    SetDrawMode(style.framed ? kCopy : kHidden);
    if (!style.multiLine) edit_.SetMaxLines(1);
    edit_.SetMaxLength(style.maxLength);
    if (!text.empty()) edit_.InsertText(text);
    edit_.SetModified(false);
    edit_.SetSelection(0, 0);
    // Only the field with the dialog's focus shows a caret and takes keys.
    updateEditing();
}

EditField::~EditField() {
    edit_.Detach();
}

Rect EditField::editRect() const {
    const int32_t d = inset(IsFramed());
    const Rect& b = GetBounds();
    return {b.left + d, b.top + d, b.right - d, b.bottom - d};
}

void EditField::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    Control::Attach(rect, sibling, parent, layer);
    edit_.Attach(editRect(), nullptr, this, GetLayer());
}

void EditField::Detach() {
    edit_.Detach();
    Control::Detach();
}

void EditField::SetText(std::u16string_view text) {
    edit_.SelectAll();
    edit_.InsertText(text);
    edit_.SetModified(false);
}

void EditField::updateEditing() {
    edit_.SetEditable(IsEnabled() && !readOnly_, IsEnabled() && IsFocused());
}

void EditField::Enable() {
    Control::Enable();
    updateEditing();
}

void EditField::Disable() {
    Control::Disable();
    updateEditing();
}

void EditField::Focus() {
    Control::Focus();
    updateEditing();
}

void EditField::Unfocus() {
    Control::Unfocus();
    updateEditing();
}

void EditField::Paint() {
    const Rect& b = GetBounds();
    if (!IsFramed()) return;
    SetPenColor(0);
    FillRect(b);
    // A sunken bevel: dark above and to the left, light below and to the right.
    for (int32_t i = 0; i < kInset; ++i) {
        const Rect r{b.left + i, b.top + i, b.right - i, b.bottom - i};
        SetPenColor(kBevelDark);
        FillRect({r.left, r.top, r.right, r.top + 1});
        FillRect({r.left, r.top, r.left + 1, r.bottom});
        SetPenColor(kBevelLight);
        FillRect({r.left, r.bottom - 1, r.right, r.bottom});
        FillRect({r.right - 1, r.top + 1, r.right, r.bottom});
    }
    if (IsFocused() && IsEnabled()) {
        SetPenColor(kFocusColor);
        FrameRect(b);
    }
}

uint8_t EditField::HitTest(int32_t, int32_t) const {
    return kPartEdit;
}

bool EditField::OnMouse(const app::InputEvent& event) {
    if (!IsEnabled()) return true;
    app::InputEvent e = event;
    e.x -= edit_.GetPosition().x;
    e.y -= edit_.GetPosition().y;
    const bool taken = edit_.OnMouse(e);
    // The dialog already follows the pointer for its pressed control; a keyboard focus of the
    // entry's own would take Tab, Enter and Escape from the dialog.
    if (edit_.HasFocus()) edit_.DropFocus();
    return taken;
}

bool EditField::OnKey(const app::InputEvent& event) {
    if (!IsEnabled()) return false;
    return edit_.OnKey(event);
}

bool EditField::OnText(const app::InputEvent& event) {
    return edit_.OnText(event);
}

}  // namespace vs::ui
