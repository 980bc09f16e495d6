#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "net/client_commands_dialogs.h"
#include "net/client_commands_play.h"
#include "net/client_commands_session.h"

// The whole client command catalogue, as one type. The builders are what the client sends; the
// parsers are the server's side (the development server and tests).
namespace vs::net {

// What a reader of commands must know that the commands do not carry.
struct CommandContext {
    std::function<uint8_t(uint8_t slot)> spellKind;  // the kind of the spell in a slot, 0 unknown
    std::function<bool(uint8_t slot)> stackSlot;     // whether the item in a slot is a stack
};

using ClientCommand =
    std::variant<CmdVersion, CmdNameCheck, CmdLogin, CmdCreateCharacter, CmdAreaChecksum,
                 CmdScrollStep, CmdPickUp, CmdDropItem, CmdKeySemicolon, CmdLeaveWorld,
                 CmdRequestObject, CmdNameList, CmdSay, CmdCast, CmdTransferToken, CmdTurn,
                 CmdWield, CmdAttack, CmdNewCharacterCancelled, CmdItemAnswer, CmdUserListRequest,
                 CmdWhisper, CmdItemKeyE, CmdOption, CmdUseItem, CmdEmotion, CmdItemKeyW,
                 CmdSelection, CmdKeyO, CmdPaperText, CmdDropMoney, CmdChangePassword, CmdGiveItem,
                 CmdGiveMoney, CmdKeyS, CmdTextCommand, CmdSwapSlots, CmdLocalStep, CmdItemKeyP,
                 CmdRefresh, CmdDialogAnswer, CmdPagedAnswer, CmdBoard, CmdFieldMapDestination,
                 CmdParcel, CmdCrashReport, CmdClick, CmdChecksumAnswer, CmdPatch, CmdExchange,
                 CmdPowerValues, CmdFacePicture, CmdChooseServer, CmdListRequest, CmdBump,
                 CmdMixItems, CmdKeepAlive, CmdClockAnswer, CmdNameListUpload>;

// Parses a command with the parser of its first byte; nothing when the opcode is not a command
// or the payload is shorter than its fields.
std::optional<ClientCommand> parseClientCommand(std::span<const uint8_t> payload,
                                                const CommandContext& context = {});
uint8_t opcodeOf(const ClientCommand& command);
std::vector<uint8_t> build(const ClientCommand& command);
// The command's name for logs ("login", "scroll step"), or nullptr for an unknown opcode.
const char* clientCommandName(uint8_t opcode);

}  // namespace vs::net
