#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/lobject.h"
#include "base/rect.h"

namespace vs::graphics {
class Canvas;
}

namespace vs::ui {

// One line of the chat history: a text in a text colour over one of the chat backgrounds.
class ColorStringChattingMessage : public base::LObject {
  public:
    static constexpr const char* kBackFile = "CHATBACK.EPF";
    static constexpr const char* kBackPalette = "NPAL7.PAL";

    ColorStringChattingMessage(std::u16string_view text, int32_t textColor, int32_t backColor)
        : text_(text), textColor_(textColor), backColor_(backColor) {}

    virtual std::unique_ptr<ColorStringChattingMessage> Clone() const {
        return std::make_unique<ColorStringChattingMessage>(text_, textColor_, backColor_);
    }
    // A chat line is one line; what does not fit is cut off.
    virtual int32_t LineCount(graphics::Canvas&, int32_t) const { return 1; }
    // Tiles the background frame of the background colour over the rectangle and draws the
    // text on it. A background without a frame (143, 12 and 1 have one) draws nothing at all.
    virtual void Draw(graphics::Canvas& canvas, const base::Rect& rect) const;

    const std::u16string& Text() const { return text_; }
    int32_t TextColor() const { return textColor_; }
    int32_t BackColor() const { return backColor_; }
    // The background frame of a colour, or −1.
    static int BackFrame(int32_t backColor);

  private:
    std::u16string text_;
    int32_t textColor_;
    int32_t backColor_;
};

}  // namespace vs::ui
