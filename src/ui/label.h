#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace vs::ui {

class ScrollBar;

// A text in 12-pixel lines, wrapped at the control's width unless created unwrapped. A text
// taller than the label gets a scroll bar at the right, so that nothing of it is lost.
class Label : public Control, public ControlHost {
  public:
    static constexpr int32_t kLineHeight = 12;
    static constexpr int32_t kUnwrappedWidth = 1000;
    static constexpr int32_t kBarWidth = 12;

    Label(const base::Rect& rect, std::u16string_view text, int32_t textColor = 128,
          int32_t backColor = 0, bool wrapped = true);
    ~Label() override;

    void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer) override;
    void Detach() override;
    void SetBounds(const base::Rect& bounds) override;
    void Paint() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;

    void OnCommand(int32_t index, int32_t code) override;
    int32_t IndexOf(const Control* control) const override;
    void SetHot(int32_t index, uint8_t state) override;

    void SetText(std::u16string_view text);
    const std::u16string& Text() const { return text_; }
    void SetTextColor(int32_t colour);
    int32_t LineCount();
    int32_t TopLine() const { return top_; }
    // The bar when the text does not fit, else null.
    ScrollBar* Bar() const { return bar_.get(); }

  private:
    int32_t wrapWidth() const;
    void layout();

    std::u16string text_;
    int32_t textColor_, backColor_;
    bool wrapped_;
    int32_t top_ = 0;
    std::unique_ptr<ScrollBar> bar_;
    bool barPressed_ = false;
};

}  // namespace vs::ui
