#include "net/server_message_rules.h"

#include "base/log.h"

namespace vs::net {

std::optional<uint32_t> objectTheWorldMustHold(const ServerMessage& message) {
    return std::visit(
        [](const auto& m) -> std::optional<uint32_t> {
            using T = std::decay_t<decltype(m)>;
            if constexpr (std::is_same_v<T, MsgMoveObject> ||
                          std::is_same_v<T, MsgChangeDirection> || std::is_same_v<T, MsgWield> ||
                          std::is_same_v<T, MsgMotion> || std::is_same_v<T, MsgChangeShape>)
                return m.id;
            else
                return std::nullopt;
        },
        message);
}

bool dropForUnknownObject(const ServerMessage& message, const ObjectDirectory& world,
                          CommandSender& out) {
    const auto id = objectTheWorldMustHold(message);
    if (!id) return false;
    if (*id == 0) return true;
    if (world.holdsObject(*id)) return false;
    sendCommand(out, CmdRequestObject{{*id}});
    return true;
}

bool answerAtOnce(const ServerMessage& message, uint32_t clockMs, CommandSender& out) {
    if (const auto* crc = std::get_if<MsgRequestCRC>(&message)) {
        sendCommand(out, CmdChecksumAnswer{crc->value});
        return true;
    }
    if (const auto* probe = std::get_if<MsgClockProbe>(&message)) {
        sendCommand(out, CmdClockAnswer{probe->value, clockMs});
        return true;
    }
    if (const auto* echo = std::get_if<MsgEcho>(&message)) {
        out.send(echo->body);
        return true;
    }
    return false;
}

std::optional<ServerTransfer> serverTransfer(const MsgTileCheck& message) {
    if (!message.transfers()) return std::nullopt;
    return ServerTransfer{message.address, message.port, build(CmdTransferToken{message.token})};
}

bool undefinedEffect(const ServerMessage& message) {
    if (std::holds_alternative<MsgPatchData>(message)) {
        VS_DEBUG("patch data message ignored");
        return true;
    }
    if (const auto* notice = std::get_if<MsgTransferNotice>(&message);
        notice && notice->transfers()) {
        VS_DEBUG("transfer notice with an address ignored");
        return true;
    }
    return false;
}

}  // namespace vs::net
