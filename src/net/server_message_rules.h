#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "net/client_commands.h"
#include "net/server_messages.h"

// The rules that decide, before any effect, whether a server message is answered at once or
// dropped. The world view and the title screen apply them; sending goes through CommandSender,
// which the connection implements.
namespace vs::net {

// Whether the world holds an object.
class ObjectDirectory {
  public:
    virtual ~ObjectDirectory() = default;
    virtual bool holdsObject(uint32_t id) const = 0;
};

// Where client commands go. Sending never waits for an answer.
class CommandSender {
  public:
    virtual ~CommandSender() = default;
    virtual void send(std::span<const uint8_t> payload) = 0;
};

template <WireRecord T>
void sendCommand(CommandSender& out, const T& command) {
    const std::vector<uint8_t> payload = build(command);
    out.send(payload);
}

// The object that messages 12, 17, 18, 26 and 29 name; the world must hold it to act on them.
std::optional<uint32_t> objectTheWorldMustHold(const ServerMessage& message);

// A message naming an object the world does not hold is dropped, and the object asked for
// (client command 12). Id 0 names nothing: it is dropped without asking. True when dropped.
bool dropForUnknownObject(const ServerMessage& message, const ObjectDirectory& world,
                          CommandSender& out);

// The replies sent at once: 59 with command 69 (the value's bytes exchanged), 104 with command
// 117 (the value and the clock), and 75 by sending its body back as it came. True when the
// message was one of these.
bool answerAtOnce(const ServerMessage& message, uint32_t clockMs, CommandSender& out);

// Message 3: where to reconnect and the token command (16) to send once connected. Nothing when
// address and port are both 0: then only the transfer screen is shown.
struct ServerTransfer {
    uint32_t address = 0;
    uint16_t port = 0;
    std::vector<uint8_t> tokenCommand;
};
std::optional<ServerTransfer> serverTransfer(const MsgTileCheck& message);

// Messages whose effect nothing defines (64, and 94 with an address): true, and logged.
bool undefinedEffect(const ServerMessage& message);

}  // namespace vs::net
