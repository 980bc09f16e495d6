#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "net/server_messages_dialogs.h"
#include "net/server_messages_player.h"
#include "net/server_messages_session.h"
#include "net/server_messages_world.h"

// The whole server message catalogue: every message the client understands, as one type.
namespace vs::net {

using ServerMessage =
    std::variant<MsgVersionCheck, MsgLoginCheck, MsgTileCheck, MsgUserPosition, MsgUserAppearance,
                 MsgMap, MsgDrawObjects, MsgStatus, MsgMessage, MsgMove, MsgMoveObject, MsgSay,
                 MsgRemoveObject, MsgAddInventory, MsgRemoveInventory, MsgChangeDirection, MsgWield,
                 MsgDamageEffect, MsgMapSize, MsgFlyingObject, MsgAddSpell, MsgRemoveSpell,
                 MsgSoundEffect, MsgMotion, MsgEnterEditingMode, MsgChangeShape, MsgChangeWeather,
                 MsgChangeHour, MsgSelfSaveOK, MsgRefreshUserOK, MsgOption, MsgChangeCondition,
                 MsgMovePosition, MsgEffectLayer, MsgFieldMap, MsgScreenMenu, MsgPursuitMessage,
                 MsgBulletin, MsgCharacter, MsgObjectBubbleInfo, MsgShowPaper, MsgUserList,
                 MsgSetEquipment, MsgClearEquipment, MsgSelfInfo, MsgCounter, MsgRequestCRC,
                 MsgPanel, MsgPatchData, MsgExchange, MsgPower, MsgAskPicture, MsgEcho, MsgPrompt,
                 MsgCover, MsgServerList, MsgListData, MsgScene, MsgStoreSetting, MsgTransferNotice,
                 MsgObjectGone, MsgWebNotice, MsgCountdown, MsgClockProbe, MsgNameListFlag>;

// Parses a payload with the parser of its first byte. Nothing for an empty payload, an opcode
// the catalogue does not list, a payload shorter than its fields or a value out of range.
std::optional<ServerMessage> parseServerMessage(std::span<const uint8_t> payload);
// True when the catalogue has a parser for the opcode.
bool isCatalogued(uint8_t opcode);

uint8_t opcodeOf(const ServerMessage& message);
std::vector<uint8_t> build(const ServerMessage& message);

}  // namespace vs::net
