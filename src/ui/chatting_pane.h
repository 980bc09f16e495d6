#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

#include "ui/chat_hooks.h"
#include "ui/color_string_chatting_message.h"
#include "ui/scroll_view.h"

namespace vs::ui {

// The chat lines of the game screen: the last 100 messages, newest last, five lines of 13
// pixels on view. New lines scroll into view unless the pane has the focus or Shift is held;
// Shift with the arrow and page keys, and the wheel, scroll through the history.
class ChattingPane : public ScrollView {
  public:
    static constexpr size_t kMaxMessages = 100;
    static constexpr int32_t kLineHeight = 13;
    static constexpr int32_t kContentWidth = 420;
    static constexpr int32_t kLineWidth = 408;
    static constexpr int32_t kFill = 143;

    // Without hooks the pane shows only what AddMessage gives it.
    explicit ChattingPane(ChatHooks* hooks = nullptr);

    void AddMessage(std::u16string_view text, int32_t textColor, int32_t backColor);
    // Shows the chat texts of server messages and speech; never consumes a packet.
    bool OnPacket(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    void Paint() override;

    const std::deque<std::unique_ptr<ColorStringChattingMessage>>& Messages() const {
        return messages_;
    }
    // The line's rectangle in content coordinates.
    static base::Rect LineRect(size_t row) {
        return {0, int32_t(row) * kLineHeight, kLineWidth, int32_t(row + 1) * kLineHeight};
    }

  private:
    void updateRange() { SetContentSize(kContentWidth, int32_t(messages_.size())); }

    ChatHooks* hooks_;
    std::deque<std::unique_ptr<ColorStringChattingMessage>> messages_;
};

}  // namespace vs::ui
