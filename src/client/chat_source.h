#pragma once
#include "ui/chat_hooks.h"

namespace vs::client {

// The chat pane's view of the message catalogue. The chat setting stays 0 until there is a
// player whose conditions say otherwise.
class CatalogueChatHooks final : public ui::ChatHooks {
  public:
    bool ParseChat(std::span<const uint8_t> payload, ui::ChatPacket& out) override;
    int32_t ChatSetting() override { return setting_; }
    void SetChatSetting(int32_t setting) { setting_ = setting; }

  private:
    int32_t setting_ = 0;
};

}  // namespace vs::client
