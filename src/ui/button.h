#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace vs::ui {

// A control that is pressed: by the mouse through its dialog, or by Space or Enter while it has
// the key focus.
class Button : public Control {
  public:
    explicit Button(const base::Rect& rect);
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnKey(const app::InputEvent& event) override;
};

// A bevelled plate with a centred caption.
class TextButtonControlPane : public Button {
  public:
    static constexpr int32_t kFace = 196, kLight = 200, kDark = 192;
    static constexpr int32_t kText = 128, kTextDisabled = 134;

    TextButtonControlPane(const base::Rect& rect, std::u16string_view caption);
    void Paint() override;
    void SetCaption(std::u16string_view caption);
    const std::u16string& Caption() const { return caption_; }

  private:
    std::u16string caption_;
};

// Frame 0 of "BUTTONEX.EPF" with a centred caption.
class ImageButton : public Button {
  public:
    static constexpr const char* kFile = "BUTTONEX.EPF";
    ImageButton(const base::Rect& rect, std::u16string_view caption);
    void Paint() override;
    void Enable() override;
    void Disable() override;
    int32_t CaptionColor() const { return captionColor_; }

  private:
    std::u16string caption_;
    int32_t captionColor_ = 128;
};

// Three frames of any sprite file: normal, pressed and selected. While pressed it calls its
// repeat callback every 150 ms (arrows step while held).
class ImageToggle : public Button {
  public:
    static constexpr uint32_t kRepeatMs = 150;
    static constexpr int32_t kRepeatTimer = 0x52707420;  // "Rpt "

    ImageToggle(const base::Rect& rect, std::string epf, std::string palette, int normal,
                int pressed, int selected, bool focusable);
    void Paint() override;
    void SetState(uint8_t state) override;
    void SetSelected(bool on);
    bool IsSelected() const { return selected_; }
    void SetRepeat(std::function<void()> repeat) { repeat_ = std::move(repeat); }
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

  private:
    std::string epf_, palette_;
    int normal_, pressed_, selectedFrame_;
    bool selected_ = false;
    std::function<void()> repeat_;
};

}  // namespace vs::ui
