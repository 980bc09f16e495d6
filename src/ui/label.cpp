#include "ui/label.h"

#include <algorithm>

#include "ui/scroll_bar.h"

namespace vs::ui {

using app::InputEvent;
using base::Rect;

Label::Label(const Rect& rect, std::u16string_view text, int32_t textColor, int32_t backColor,
             bool wrapped)
    : Control(rect, kKindText),
      text_(text),
      textColor_(textColor),
      backColor_(backColor),
      wrapped_(wrapped) {
    SetFocusable(false);
    layout();
}

Label::~Label() {
    bar_.reset();
}

int32_t Label::wrapWidth() const {
    if (!wrapped_) return kUnwrappedWidth;
    return std::max(1, GetBounds().width() - (bar_ ? kBarWidth : 0));
}

int32_t Label::LineCount() {
    if (text_.empty()) return 0;
    return TextLineCount(text_, wrapWidth());
}

void Label::layout() {
    const Rect& b = GetBounds();
    const int32_t visible = std::max(1, b.height() / kLineHeight);
    bool needsBar = false;
    if (wrapped_ && !text_.empty() && b.width() > kBarWidth) {
        needsBar = TextLineCount(text_, std::max(1, b.width())) * kLineHeight > b.height();
    }
    if (needsBar && !bar_) {
        bar_ = std::make_unique<ScrollBar>(Rect{b.right - kBarWidth, b.top, b.right, b.bottom}, 0);
        bar_->SetHost(this);
        if (Node()) bar_->Attach(bar_->GetBoundsInParent(), nullptr, this, GetLayer());
    } else if (!needsBar && bar_) {
        bar_.reset();
    }
    const int32_t maxTop = std::max(0, LineCount() - visible);
    top_ = std::clamp(top_, 0, maxTop);
    if (bar_) {
        bar_->SetRect({b.right - kBarWidth, b.top, b.right, b.bottom});
        bar_->SetRange(maxTop);
        bar_->SetValue(top_);
    }
    Invalidate();
}

void Label::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    Control::Attach(rect, sibling, parent, layer);
    if (bar_) bar_->Attach(bar_->GetBoundsInParent(), nullptr, this, GetLayer());
}

void Label::Detach() {
    if (bar_) bar_->Detach();
    Control::Detach();
}

void Label::SetBounds(const Rect& bounds) {
    const bool changed = bounds != GetBounds();
    Control::SetBounds(bounds);
    if (changed) layout();
}

void Label::SetText(std::u16string_view text) {
    text_ = text;
    top_ = 0;
    layout();
}

void Label::SetTextColor(int32_t colour) {
    if (colour == textColor_) return;
    textColor_ = colour;
    Invalidate();
}

void Label::Paint() {
    const Rect& b = GetBounds();
    SetPenColor(backColor_);
    FillRect(b);
    Canvas::SetTextColor(textColor_);
    SetTextBackMode(1);
    const Rect area{b.left, b.top - top_ * kLineHeight, b.left + wrapWidth(), b.bottom};
    DrawTextInRect(text_, area);
}

uint8_t Label::HitTest(int32_t x, int32_t y) const {
    if (bar_ && bar_->GetBoundsInParent().contains(base::Point{x, y})) return kPartEdit;
    return kPartNone;
}

bool Label::OnMouse(const InputEvent& event) {
    if (!bar_) return false;
    if (event.kind == InputEvent::kWheel) {
        if (bar_->SetValue(bar_->Value() - event.wheel)) OnCommand(0, kPartNone);
        return true;
    }
    const bool inBar = bar_->GetBoundsInParent().contains(base::Point{event.x, event.y});
    if (event.kind == InputEvent::kLeftDown) barPressed_ = inBar;
    if (!barPressed_) return false;
    if (event.kind == InputEvent::kLeftUp) barPressed_ = false;
    InputEvent e = event;
    e.x -= bar_->GetPosition().x;
    e.y -= bar_->GetPosition().y;
    return bar_->OnMouse(e);
}

bool Label::OnKey(const InputEvent& event) {
    return bar_ ? bar_->OnKey(event) : false;
}

void Label::OnCommand(int32_t, int32_t) {
    if (!bar_ || bar_->Value() == top_) return;
    top_ = bar_->Value();
    Invalidate();
}

int32_t Label::IndexOf(const Control* control) const {
    return control && control == bar_.get() ? 0 : -1;
}

void Label::SetHot(int32_t index, uint8_t state) {
    if (bar_) bar_->SetState(index == 0 ? state : kStateNormal);
}

}  // namespace vs::ui
