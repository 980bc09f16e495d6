#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace vs::ui {

// A chat text as the server sent it: opcode 10 (a message with a kind) or 13 (a creature
// speaking), its kind byte and its text.
struct ChatPacket {
    uint8_t opcode = 0;
    uint8_t kind = 0;
    std::u16string text;
};

// What the chat pane needs from the modules above it: the message catalogue to read a packet,
// and the local player's chat display setting. The client connects it.
class ChatHooks {
  public:
    virtual ~ChatHooks() = default;
    // False for any payload that is not a well-formed message (10) or speech (13).
    virtual bool ParseChat(std::span<const uint8_t> payload, ChatPacket& out) = 0;
    // The player's condition byte 2: 0 shows all speech, 1 hides normal speech, 2 hides
    // shouts as well. 0 while there is no player.
    virtual int32_t ChatSetting() = 0;
};

}  // namespace vs::ui
