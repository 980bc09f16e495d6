#include "ui/button.h"

#include "app/frame_clock.h"

namespace vs::ui {

using base::Rect;

namespace {
constexpr uint8_t kEnter = 13, kSpace = 32;
constexpr int32_t kLineHeight = 12;

// The caption centred across the width, in a line box centred down the height.
void drawCaption(graphics::Canvas& c, std::u16string_view text, const Rect& b, int32_t colour,
                 bool pressed) {
    const int32_t top = b.top + (b.height() - kLineHeight) / 2 + (pressed ? 1 : 0);
    const int32_t dx = pressed ? 1 : 0;
    c.SetTextColor(colour);
    c.SetTextBackMode(1);
    c.SetAlignment(1);
    c.DrawTextInRect(text, {b.left + dx, top, b.right + dx, top + kLineHeight});
    c.SetAlignment(0);
}
}  // namespace

Button::Button(const Rect& rect) : Control(rect, kKindButton) {
    SetTakesEnter(true);
}

uint8_t Button::HitTest(int32_t, int32_t) const {
    return kPartButton;
}

bool Button::OnKey(const app::InputEvent& event) {
    if (event.kind != app::InputEvent::kKeyDown) return false;
    if (event.keyCode != kSpace && event.keyCode != kEnter) return false;
    ControlHost* host = Host();
    const int32_t index = Index();
    if (!host || index < 0 || !IsEnabled()) return false;
    // The command may rebuild the dialog: nothing of the button is touched after it.
    AnimatePress(*host, index);
    return true;
}

TextButtonControlPane::TextButtonControlPane(const Rect& rect, std::u16string_view caption)
    : Button(rect), caption_(caption) {}

void TextButtonControlPane::SetCaption(std::u16string_view caption) {
    caption_ = caption;
    Invalidate();
}

void TextButtonControlPane::Paint() {
    const Rect& b = GetBounds();
    const bool pressed = State() == kStatePressed;
    SetPenColor(kFace);
    FillRect(b);
    const int32_t light = pressed ? kDark : kLight, dark = pressed ? kLight : kDark;
    for (int32_t i = 0; i < 2; ++i) {
        const Rect r{b.left + i, b.top + i, b.right - i, b.bottom - i};
        SetPenColor(light);
        FillRect({r.left, r.top, r.right, r.top + 1});
        FillRect({r.left, r.top, r.left + 1, r.bottom});
        SetPenColor(dark);
        FillRect({r.left, r.bottom - 1, r.right, r.bottom});
        FillRect({r.right - 1, r.top, r.right, r.bottom});
    }
    drawCaption(*this, caption_, b, IsEnabled() ? kText : kTextDisabled, pressed);
    PaintOutlines();
}

ImageButton::ImageButton(const Rect& rect, std::u16string_view caption)
    : Button(rect), caption_(caption) {}

void ImageButton::Paint() {
    const Rect& b = GetBounds();
    const bool pressed = State() == kStatePressed;
    SetPenColor(0);
    FillRect(b);
    const int32_t d = pressed ? 1 : 0;
    DrawSpriteFrame(*this, kFile, 0, b.left + d, b.top + d, 1, kInterfacePalette);
    drawCaption(*this, caption_, b, captionColor_, pressed);
    PaintOutlines();
}

void ImageButton::Enable() {
    captionColor_ = TextButtonControlPane::kText;
    Button::Enable();
}

void ImageButton::Disable() {
    captionColor_ = TextButtonControlPane::kTextDisabled;
    Button::Disable();
}

ImageToggle::ImageToggle(const Rect& rect, std::string epf, std::string palette, int normal,
                         int pressed, int selected, bool focusable)
    : Button(rect),
      epf_(std::move(epf)),
      palette_(std::move(palette)),
      normal_(normal),
      pressed_(pressed),
      selectedFrame_(selected) {
    SetFocusable(focusable);
}

void ImageToggle::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    const int frame = State() == kStatePressed ? pressed_ : selected_ ? selectedFrame_ : normal_;
    DrawSpriteFrame(*this, epf_.c_str(), frame, 0, 0, 1, palette_.c_str());
    if (!IsEnabled()) Wash(2);
    PaintOutlines();
}

void ImageToggle::SetState(uint8_t state) {
    const bool was = State() == kStatePressed;
    Button::SetState(state);
    const bool now = State() == kStatePressed;
    auto* clock = app::FrameClock::instance();
    if (!clock || was == now) return;
    if (now) {
        clock->schedule(this, kRepeatTimer, kRepeatMs);
    } else {
        clock->cancel(this, kRepeatTimer);
    }
}

bool ImageToggle::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kRepeatTimer || State() != kStatePressed) return true;
    if (auto* clock = app::FrameClock::instance()) clock->schedule(this, kRepeatTimer, kRepeatMs);
    if (repeat_) repeat_();
    return true;
}

void ImageToggle::SetSelected(bool on) {
    selected_ = on;
    Invalidate();
}

}  // namespace vs::ui
