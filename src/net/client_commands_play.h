#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/wire.h"
#include "net/wire_fields.h"
#include "net/wire_records.h"

// Client commands of play: steps and turns, items and money, speech, spells, options, keys and
// the requests of the world view.
namespace vs::net {

struct CmdKeySemicolon : OpcodeOnly<kCmdKeySemicolon> {
    static constexpr const char* kName = "key ;";
};
struct CmdLeaveWorld : OpcodeOnly<kCmdLeaveWorld> {
    static constexpr const char* kName = "leave world";
};
struct CmdAttack : OpcodeOnly<kCmdAttack> {
    static constexpr const char* kName = "attack";
};
struct CmdUserListRequest : OpcodeOnly<kCmdUserListRequest> {
    static constexpr const char* kName = "user list request";
};
struct CmdKeyO : OpcodeOnly<kCmdKeyO> {
    static constexpr const char* kName = "key o";
};
struct CmdKeyS : OpcodeOnly<kCmdKeyS> {
    static constexpr const char* kName = "key s";
};
struct CmdRefresh : OpcodeOnly<kCmdRefresh> {
    static constexpr const char* kName = "refresh";
};
struct CmdParcel : OpcodeOnly<kCmdParcel> {
    static constexpr const char* kName = "parcel";
};

// One-byte commands: 7 pick up (0 key ",", 1 key "<"), 17 turn (a direction), 18 wield (a slot,
// 0 takes off), 26, 30 and 52 the item actions of the keys e, W and p, 28 use, 29 emotion
// (0 to 13, 254, 255), 31 selection (1 to 21).
struct CmdPickUp : OneByte<kCmdPickUp> {
    static constexpr const char* kName = "pick up";
};
struct CmdTurn : OneByte<kCmdTurn> {
    static constexpr const char* kName = "turn";
};
struct CmdWield : OneByte<kCmdWield> {
    static constexpr const char* kName = "wield";
};
struct CmdItemKeyE : OneByte<kCmdItemKeyE> {
    static constexpr const char* kName = "item e";
};
struct CmdUseItem : OneByte<kCmdUseItem> {
    static constexpr const char* kName = "use item";
};
struct CmdEmotion : OneByte<kCmdEmotion> {
    static constexpr const char* kName = "emotion";
};
struct CmdItemKeyW : OneByte<kCmdItemKeyW> {
    static constexpr const char* kName = "item W";
};
struct CmdSelection : OneByte<kCmdSelection> {
    static constexpr const char* kName = "selection";
};
struct CmdItemKeyP : OneByte<kCmdItemKeyP> {
    static constexpr const char* kName = "item p";
};

// 12 asks for an object the world does not hold; 36 and 42 drop and give money.
struct CmdRequestObject : OneU32<kCmdRequestObject> {
    static constexpr const char* kName = "request object";
};
struct CmdDropMoney : OneU32<kCmdDropMoney> {
    static constexpr const char* kName = "drop money";
};
struct CmdGiveMoney : OneU32<kCmdGiveMoney> {
    static constexpr const char* kName = "give money";
};

// 5: the checksum of the visible tiles (a 16-bit value sent in three bytes).
struct CmdAreaChecksum {
    static constexpr uint8_t kOpcode = kCmdAreaChecksum;
    static constexpr const char* kName = "area checksum";
    uint16_t left = 0;
    uint16_t top = 0;
    uint8_t width = 0;
    uint8_t height = 0;
    uint16_t checksum = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.left);
        f.u16(m.top);
        f.u8(m.width);
        f.u8(m.height);
        f.u16in24(m.checksum);
    }
    bool operator==(const CmdAreaChecksum&) const = default;
};

// 6 and 50: a step of the player; bit 7 of the step number asks for the echo. A scroll step
// carries the new strip of the view and its checksum.
struct CmdLocalStep {
    static constexpr uint8_t kOpcode = kCmdLocalStep;
    static constexpr const char* kName = "local step";
    uint8_t direction = 0;
    uint8_t stepNumber = 0;
    bool echo = false;
    uint16_t x = 0;
    uint16_t y = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.direction);
        f.highBit(m.stepNumber, m.echo);
        f.u16(m.x);
        f.u16(m.y);
    }
    bool operator==(const CmdLocalStep&) const = default;
};
struct CmdScrollStep : CmdLocalStep {
    static constexpr uint8_t kOpcode = kCmdScrollStep;
    static constexpr const char* kName = "scroll step";
    uint16_t stripLeft = 0;
    uint16_t stripTop = 0;
    uint8_t stripWidth = 0;
    uint8_t stripHeight = 0;
    uint16_t stripChecksum = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        CmdLocalStep::fields(f, m);
        f.u16(m.stripLeft);
        f.u16(m.stripTop);
        f.u8(m.stripWidth);
        f.u8(m.stripHeight);
        f.u16(m.stripChecksum);
    }
    bool operator==(const CmdScrollStep&) const = default;
};

// 8 and 41: drop or give the item of a slot, the whole stack or one.
struct SlotAndFlag {
    uint8_t slot = 0;
    bool wholeStack = false;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.flag(m.wholeStack);
    }
    bool operator==(const SlotAndFlag&) const = default;
};
struct CmdDropItem : SlotAndFlag {
    static constexpr uint8_t kOpcode = kCmdDropItem;
    static constexpr const char* kName = "drop item";
};
struct CmdGiveItem : SlotAndFlag {
    static constexpr uint8_t kOpcode = kCmdGiveItem;
    static constexpr const char* kName = "give item";
};

// A sub-kind or mode byte and a u8-text: 13 name list (2 add, 3 remove), 14 say (0) or shout (1).
struct ModeAndText {
    uint8_t mode = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.mode);
        f.text8(m.text);
    }
    bool operator==(const ModeAndText&) const = default;
};
struct CmdNameList : ModeAndText {
    static constexpr uint8_t kOpcode = kCmdNameList;
    static constexpr const char* kName = "name list";
    enum Mode : uint8_t { kAdd = 2, kRemove = 3 };
};
struct CmdSay : ModeAndText {
    static constexpr uint8_t kOpcode = kCmdSay;
    static constexpr const char* kName = "say";
    enum Mode : uint8_t { kSay = 0, kShout = 1 };
};

// 15: cast the spell of a slot. What follows depends on the spell's kind, which the command
// does not carry: 1 a text to the end, 2 a target and its cell, 3, 4, 6 and 7 four, three, two
// or one numbers, 8 an item slot; any other kind sends the slot alone.
struct CmdCast {
    static constexpr uint8_t kOpcode = kCmdCast;
    static constexpr const char* kName = "cast";
    uint8_t slot = 0;
    uint8_t kind = 0;  // not sent: selects the body
    std::u16string text;
    uint32_t target = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    std::vector<uint16_t> numbers;
    uint8_t item = 0;
    static constexpr size_t numberCount(uint8_t kind) {
        return kind == 3 ? 4 : kind == 4 ? 3 : kind == 6 ? 2 : kind == 7 ? 1 : 0;
    }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.spellKind(m.slot, m.kind);
        if (m.kind == 1) {
            f.textToEnd(m.text);
        } else if (m.kind == 2) {
            f.u32(m.target);
            f.u16(m.x);
            f.u16(m.y);
        } else if (m.kind == 8) {
            f.u8(m.item);
        } else {
            f.items(m.numbers, numberCount(m.kind));
        }
    }
    bool operator==(const CmdCast&) const = default;
};

// 23: an item answer: 0 and the slot (key t), or 1 and the value of a yes/no prompt.
struct CmdItemAnswer {
    static constexpr uint8_t kOpcode = kCmdItemAnswer;
    static constexpr const char* kName = "item answer";
    uint8_t subKind = 0;
    uint8_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        f.u8(m.value);
    }
    bool operator==(const CmdItemAnswer&) const = default;
};

// 25: whisper a message to a name.
struct CmdWhisper {
    static constexpr uint8_t kOpcode = kCmdWhisper;
    static constexpr const char* kName = "whisper";
    std::u16string name;
    std::u16string message;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.name);
        f.text8(m.message);
    }
    bool operator==(const CmdWhisper&) const = default;
};

// 27: an option number and, for most options, a value.
struct CmdOption {
    static constexpr uint8_t kOpcode = kCmdOption;
    static constexpr const char* kName = "option";
    uint8_t option = 0;
    std::optional<uint8_t> value;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.option);
        f.trailing(m.value);
    }
    bool operator==(const CmdOption&) const = default;
};

// 46: a text command.
struct CmdTextCommand {
    static constexpr uint8_t kOpcode = kCmdTextCommand;
    static constexpr const char* kName = "text command";
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.text);
    }
    bool operator==(const CmdTextCommand&) const = default;
};

// 48: swap two inventory (0) or spell (1) slots.
struct CmdSwapSlots {
    static constexpr uint8_t kOpcode = kCmdSwapSlots;
    static constexpr const char* kName = "swap slots";
    uint8_t spells = 0;
    uint8_t first = 0;
    uint8_t second = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.spells);
        f.u8(m.first);
        f.u8(m.second);
    }
    bool operator==(const CmdSwapSlots&) const = default;
};

// 67: a click on a character; F1, F2 and the icons add two numbers (4, 0) after the id.
struct ClickExtra {
    uint16_t first = 4;
    uint16_t second = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.first);
        f.u16(m.second);
    }
    bool operator==(const ClickExtra&) const = default;
};
struct CmdClick {
    static constexpr uint8_t kOpcode = kCmdClick;
    static constexpr const char* kName = "click";
    static constexpr uint32_t kSelf = 0xFFFFFFFF;   // key F1
    static constexpr uint32_t kOther = 0xFFFFFFFE;  // key F2
    uint32_t id = 0;
    std::optional<ClickExtra> extra;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.constant(1);
        f.u32(m.id);
        f.trailing(m.extra);
    }
    bool operator==(const CmdClick&) const = default;
};

// 79: the player's face picture (empty when there is none) and profile text.
struct CmdFacePicture {
    static constexpr uint8_t kOpcode = kCmdFacePicture;
    static constexpr const char* kName = "face picture";
    Bytes picture;
    std::u16string profile;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.bytes16(m.picture);
        f.text8(m.profile);
    }
    bool operator==(const CmdFacePicture&) const = default;
};

// 102: a list request: the selectable-entries list, or an item's description for the inventory
// page (its row's height and slot).
struct CmdListRequest {
    static constexpr uint8_t kOpcode = kCmdListRequest;
    static constexpr const char* kName = "list request";
    bool itemText = false;
    uint8_t y = 0;
    uint8_t slot = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.either(m.itemText, 0, 1);
        if (m.itemText) {
            f.u8(m.y);
            f.constant(0);
            f.constant(1);
            f.constant(1);
            f.u8(m.slot);
            f.constant(1);
            f.constant(0);
            f.constant(0);
        } else {
            for (uint8_t b : {0, 1, 1, 0, 1, 1, 0}) f.constant(b);
        }
    }
    bool operator==(const CmdListRequest&) const = default;
};

// 105: bump into the creature on a cell.
struct CmdBump {
    static constexpr uint8_t kOpcode = kCmdBump;
    static constexpr const char* kName = "bump";
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t direction = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.u8(m.direction);
    }
    bool operator==(const CmdBump&) const = default;
};

// 107: mix items: each slot, and a count for a slot that holds a stack (at most 255 slots).
struct MixEntry {
    uint8_t slot = 0;
    bool stack = false;  // not sent: whether the slot holds a stack
    uint8_t count = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.stackSlot(m.slot, m.stack);
        if (m.stack) f.u8(m.count);
    }
    bool operator==(const MixEntry&) const = default;
};
struct CmdMixItems {
    static constexpr uint8_t kOpcode = kCmdMixItems;
    static constexpr const char* kName = "mix items";
    std::vector<MixEntry> entries;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.list8(m.entries);
    }
    bool operator==(const CmdMixItems&) const = default;
};

// 119: the name list: the non-empty entries, each distinct entry once, in order.
struct CmdNameListUpload {
    static constexpr uint8_t kOpcode = kCmdNameListUpload;
    static constexpr const char* kName = "name list upload";
    std::vector<std::u16string> names;
    static CmdNameListUpload fromList(const std::vector<std::u16string>& list);
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.list8(m.names);
    }
    bool operator==(const CmdNameListUpload&) const = default;
};

inline constexpr auto parseCmdKeySemicolon = parse<CmdKeySemicolon>;
inline constexpr auto parseCmdLeaveWorld = parse<CmdLeaveWorld>;
inline constexpr auto parseCmdAttack = parse<CmdAttack>;
inline constexpr auto parseCmdUserListRequest = parse<CmdUserListRequest>;
inline constexpr auto parseCmdKeyO = parse<CmdKeyO>;
inline constexpr auto parseCmdKeyS = parse<CmdKeyS>;
inline constexpr auto parseCmdRefresh = parse<CmdRefresh>;
inline constexpr auto parseCmdParcel = parse<CmdParcel>;
inline constexpr auto parseCmdPickUp = parse<CmdPickUp>;
inline constexpr auto parseCmdTurn = parse<CmdTurn>;
inline constexpr auto parseCmdWield = parse<CmdWield>;
inline constexpr auto parseCmdItemKeyE = parse<CmdItemKeyE>;
inline constexpr auto parseCmdUseItem = parse<CmdUseItem>;
inline constexpr auto parseCmdEmotion = parse<CmdEmotion>;
inline constexpr auto parseCmdItemKeyW = parse<CmdItemKeyW>;
inline constexpr auto parseCmdSelection = parse<CmdSelection>;
inline constexpr auto parseCmdItemKeyP = parse<CmdItemKeyP>;
inline constexpr auto parseCmdRequestObject = parse<CmdRequestObject>;
inline constexpr auto parseCmdDropMoney = parse<CmdDropMoney>;
inline constexpr auto parseCmdGiveMoney = parse<CmdGiveMoney>;
inline constexpr auto parseCmdAreaChecksum = parse<CmdAreaChecksum>;
inline constexpr auto parseCmdLocalStep = parse<CmdLocalStep>;
inline constexpr auto parseCmdScrollStep = parse<CmdScrollStep>;
inline constexpr auto parseCmdDropItem = parse<CmdDropItem>;
inline constexpr auto parseCmdGiveItem = parse<CmdGiveItem>;
inline constexpr auto parseCmdNameList = parse<CmdNameList>;
inline constexpr auto parseCmdSay = parse<CmdSay>;
inline constexpr auto parseCmdItemAnswer = parse<CmdItemAnswer>;
inline constexpr auto parseCmdWhisper = parse<CmdWhisper>;
inline constexpr auto parseCmdOption = parse<CmdOption>;
inline constexpr auto parseCmdTextCommand = parse<CmdTextCommand>;
inline constexpr auto parseCmdSwapSlots = parse<CmdSwapSlots>;
inline constexpr auto parseCmdClick = parse<CmdClick>;
inline constexpr auto parseCmdFacePicture = parse<CmdFacePicture>;
inline constexpr auto parseCmdListRequest = parse<CmdListRequest>;
inline constexpr auto parseCmdBump = parse<CmdBump>;
inline constexpr auto parseCmdNameListUpload = parse<CmdNameListUpload>;
// Casting and mixing need to know the spells and stacks the player holds.
std::optional<CmdCast> parseCmdCast(std::span<const uint8_t> payload,
                                    const CommandContext& context);
std::optional<CmdMixItems> parseCmdMixItems(std::span<const uint8_t> payload,
                                            const CommandContext& context);

}  // namespace vs::net
