#pragma once
#include <cstdint>

// The opcodes of the game protocol: the first byte of every payload. Server messages travel from
// the server to the client, client commands the other way. Which opcodes skip the cipher is the
// framing's business; the catalogues below only lay out the bodies.
namespace vs::net {

// Server messages.
enum ServerOpcode : uint8_t {
    kServerVersionCheck = 0,
    kServerNewUserCheck = 1,
    kServerLoginCheck = 2,
    kServerTileCheck = 3,
    kServerUserPosition = 4,
    kServerUserAppearance = 5,
    kServerMap = 6,
    kServerDrawObjects = 7,
    kServerStatus = 8,
    kServerNationAndTotemCheck = 9,
    kServerMessage = 10,
    kServerMove = 11,
    kServerMoveObject = 12,
    kServerSay = 13,
    kServerRemoveObjects = 14,
    kServerAddInventory = 15,
    kServerRemoveInventory = 16,
    kServerChangeDirection = 17,
    kServerWield = 18,
    kServerDamageEffect = 19,
    kServerNewPasswordCheck = 20,
    kServerMapSize = 21,
    kServerFlyingObject = 22,
    kServerAddSpell = 23,
    kServerRemoveSpell = 24,
    kServerSoundEffect = 25,
    kServerMotion = 26,
    kServerEnterEditingMode = 27,
    kServerChangeShape = 29,
    kServerChangeWeather = 31,
    kServerChangeHour = 32,
    kServerSelfSaveOK = 33,
    kServerRefreshUserOK = 34,
    kServerOption = 35,
    kServerChangeCondition = 36,
    kServerMovePosition = 38,
    kServerCloseConnection = 40,
    kServerEffectLayer = 41,
    kServerFieldMap = 46,
    kServerScreenMenu = 47,
    kServerPursuitMessage = 48,
    kServerBulletin = 49,
    kServerCharacter = 51,  // no name of its own in the debug table ("#51")
    kServerObjectBubbleInfo = 52,
    kServerShowPaper = 53,
    kServerUserList = 54,
    kServerSetEquipment = 55,    // "#55"
    kServerClearEquipment = 56,  // "#56"
    kServerSelfInfo = 57,        // "#57"
    kServerCounter = 58,         // "#58"
    kServerRequestCRC = 59,
    kServerPanel = 62,       // "#62"
    kServerPatchData = 64,   // "#64"
    kServerExchange = 66,    // "#66"
    kServerIdle = 68,        // "#68", consumed by the world view without effect
    kServerPower = 70,       // "#70"
    kServerAskPicture = 73,  // "#73"
    kServerEcho = 75,        // "#75"
    kServerPrompt = 78,      // "#78"
    kServerCover = 81,       // "#81"
    kServerServerClose = 83,
    kServerServerList = 86,      // "#86"
    kServerListData = 89,        // "#89"
    kServerScene = 90,           // "#90"
    kServerStoreSetting = 91,    // "#91"
    kServerTransferNotice = 94,  // "#94"
    kServerObjectGone = 95,      // "#95"
    kServerWebNotice = 102,      // "#102"
    kServerCountdown = 103,      // "#103"
    kServerClockProbe = 104,     // "#104"
    kServerNameListFlag = 106,   // "#106"
    kServerReconnect = 115,
};

// The debug name table covers opcodes 0 to 115.
inline constexpr int kServerNameCount = 116;

// Client commands.
enum ClientOpcode : uint8_t {
    kCmdVersion = 0,
    kCmdNameCheck = 2,
    kCmdLogin = 3,
    kCmdCreateCharacter = 4,
    kCmdAreaChecksum = 5,
    kCmdScrollStep = 6,
    kCmdPickUp = 7,
    kCmdDropItem = 8,
    kCmdKeySemicolon = 9,
    kCmdLeaveWorld = 11,
    kCmdRequestObject = 12,
    kCmdNameList = 13,
    kCmdSay = 14,
    kCmdCast = 15,
    kCmdTransferToken = 16,
    kCmdTurn = 17,
    kCmdWield = 18,
    kCmdAttack = 19,
    kCmdNewCharacterCancelled = 21,
    kCmdItemAnswer = 23,
    kCmdUserListRequest = 24,
    kCmdWhisper = 25,
    kCmdItemKeyE = 26,
    kCmdOption = 27,
    kCmdUseItem = 28,
    kCmdEmotion = 29,
    kCmdItemKeyW = 30,
    kCmdSelection = 31,
    kCmdKeyO = 32,
    kCmdPaperText = 35,
    kCmdDropMoney = 36,
    kCmdChangePassword = 38,
    kCmdGiveItem = 41,
    kCmdGiveMoney = 42,
    kCmdKeyS = 45,
    kCmdTextCommand = 46,
    kCmdSwapSlots = 48,
    kCmdLocalStep = 50,
    kCmdItemKeyP = 52,
    kCmdRefresh = 56,
    kCmdDialogAnswer = 57,
    kCmdPagedAnswer = 58,
    kCmdBoard = 59,
    kCmdFieldMapDestination = 63,
    kCmdParcel = 65,
    kCmdCrashReport = 66,
    kCmdClick = 67,
    kCmdChecksumAnswer = 69,
    kCmdPatch = 72,
    kCmdExchange = 74,
    kCmdPowerValues = 76,
    kCmdFacePicture = 79,
    kCmdChooseServer = 87,
    kCmdListRequest = 102,
    kCmdBump = 105,
    kCmdMixItems = 107,
    kCmdKeepAlive = 113,
    kCmdClockAnswer = 117,
    kCmdNameListUpload = 119,
};

// Shared value ranges.
inline constexpr uint8_t kDirectionCount = 4;  // 0 up, 1 right, 2 down, 3 left
inline constexpr uint8_t kNoStep = 4;
inline constexpr uint8_t kFirstSlot = 1;
inline constexpr uint8_t kLastSlot = 52;
inline constexpr uint16_t kViewColumns = 17;
inline constexpr uint16_t kViewRows = 15;

inline constexpr bool isDirection(uint8_t d) {
    return d < kDirectionCount;
}
inline constexpr bool isSlot(uint8_t s) {
    return s >= kFirstSlot && s <= kLastSlot;
}

}  // namespace vs::net
