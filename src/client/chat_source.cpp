#include "client/chat_source.h"

#include "net/server_messages.h"

namespace vs::client {

bool CatalogueChatHooks::ParseChat(std::span<const uint8_t> payload, ui::ChatPacket& out) {
    if (payload.empty() || (payload[0] != net::kServerMessage && payload[0] != net::kServerSay))
        return false;
    const auto message = net::parseServerMessage(payload);
    if (!message) return false;
    if (const auto* m = std::get_if<net::MsgMessage>(&*message)) {
        out = {net::kServerMessage, m->kind, m->text};
        return true;
    }
    if (const auto* s = std::get_if<net::MsgSay>(&*message)) {
        out = {net::kServerSay, s->kind, s->text};
        return true;
    }
    return false;
}

}  // namespace vs::client
