#pragma once
#include <functional>
#include <string_view>

#include "net/terminal_pane.h"

namespace vs::ui {
class MessageBox;
}

namespace vs::client {

// The terminal phase's boxes as the game's own message boxes: the note while it connects, and
// the question with "Reconnect" and "Leave" when the server cannot be reached.
class MessageBoxPrompt final : public net::TerminalPrompt {
  public:
    ~MessageBoxPrompt() override;
    void showWaiting(std::u16string_view text) override;
    void hideWaiting() override;
    void askReconnect(std::u16string_view text,
                      std::function<void(bool reconnect)> answer) override;

  private:
    ui::MessageBox* waiting_ = nullptr;
};

}  // namespace vs::client
