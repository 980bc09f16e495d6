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

// Server messages about the player: statistics, texts, inventory and spells, options and
// conditions, panel commands, prompts and lists.
namespace vs::net {

// 8: statistics in flagged sections. The flags also carry the dead flag (bit 7), state 3
// (bit 2) and the edge-view switch (bit 1).
struct StatusMain {      // bit 6: message bytes 2 to 24
    uint8_t nation = 0;  // byte 2
    int8_t totem = 0;    // byte 3
    uint8_t byte4 = 0;
    uint8_t value5 = 0;     // byte 5
    uint32_t maximum8 = 0;  // byte 6
    uint32_t maximum9 = 0;  // byte 10
    uint8_t value14 = 0;
    uint8_t value15 = 0;
    std::array<uint8_t, 2> bytes16 = {};
    uint8_t value18 = 0;
    std::array<uint8_t, 6> bytes19 = {};
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.nation);
        f.i8(m.totem);
        f.u8(m.byte4);
        f.u8(m.value5);
        f.u32(m.maximum8);
        f.u32(m.maximum9);
        f.u8(m.value14);
        f.u8(m.value15);
        f.array(m.bytes16);
        f.u8(m.value18);
        f.array(m.bytes19);
    }
    bool operator==(const StatusMain&) const = default;
};
struct StatusPair {  // bits 5 and 4: two values each
    uint32_t first = 0;
    uint32_t second = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.first);
        f.u32(m.second);
    }
    bool operator==(const StatusPair&) const = default;
};
struct StatusConditions {  // bit 3: the four condition bytes and one not used
    std::array<uint8_t, 4> conditions = {};
    uint8_t unused = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.conditions);
        f.u8(m.unused);
    }
    bool operator==(const StatusConditions&) const = default;
};
struct MsgStatus {
    static constexpr uint8_t kOpcode = kServerStatus;
    enum Flag : uint8_t {
        kDead = 0x80,
        kMain = 0x40,
        kBars = 0x20,
        kValues = 0x10,
        kConditions = 0x08,
        kPlainState = 0x04,
        kEdgeView = 0x02,
    };
    uint8_t flags = 0;
    std::optional<StatusMain> main;
    std::optional<StatusPair> bars;
    std::optional<StatusPair> values;
    std::optional<StatusConditions> conditions;
    uint8_t mail = 0;  // two four-bit counts
    uint8_t walkMode = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.flags);
        f.optional(m.main, (m.flags & kMain) != 0);
        f.optional(m.bars, (m.flags & kBars) != 0);
        f.optional(m.values, (m.flags & kValues) != 0);
        f.optional(m.conditions, (m.flags & kConditions) != 0);
        f.u8(m.mail);
        f.u8(m.walkMode);
    }
    bool operator==(const MsgStatus&) const = default;
};

// 10: system and private texts with a kind byte.
struct MsgMessage {
    static constexpr uint8_t kOpcode = kServerMessage;
    uint8_t kind = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        f.text16(m.text, 32767);
    }
    bool operator==(const MsgMessage&) const = default;
};

// 15: fills an inventory slot (1 to 52).
struct MsgAddInventory {
    static constexpr uint8_t kOpcode = kServerAddInventory;
    uint8_t slot = 0;
    uint16_t icon = 0;
    uint8_t colour = 0;
    std::u16string name;
    uint32_t amount = 0;
    uint8_t stack = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.u16(m.icon);
        f.u8(m.colour);
        f.text8(m.name);
        f.u32(m.amount);
        f.u8(m.stack);
    }
    bool accept() const { return isSlot(slot); }
    bool operator==(const MsgAddInventory&) const = default;
};

// 16: empties an inventory slot; the reason byte is read only when the server sent it.
struct MsgRemoveInventory {
    static constexpr uint8_t kOpcode = kServerRemoveInventory;
    uint8_t slot = 0;
    std::optional<uint8_t> reason;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.trailing(m.reason);
    }
    bool accept() const { return isSlot(slot); }
    bool operator==(const MsgRemoveInventory&) const = default;
};

// 23 and 24: fills or empties a spell slot; spell kinds are 1 to 8.
struct MsgAddSpell {
    static constexpr uint8_t kOpcode = kServerAddSpell;
    uint8_t slot = 0;
    uint8_t kind = 0;
    std::u16string name;
    std::u16string prompt;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.u8(m.kind);
        f.text8(m.name);
        f.text8(m.prompt);
    }
    bool accept() const { return isSlot(slot) && kind >= 1 && kind <= 8; }
    bool operator==(const MsgAddSpell&) const = default;
};
struct MsgRemoveSpell {
    static constexpr uint8_t kOpcode = kServerRemoveSpell;
    uint8_t slot = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
    }
    bool accept() const { return isSlot(slot); }
    bool operator==(const MsgRemoveSpell&) const = default;
};

// 35: the five server option bytes; the fifth switches sound effects (1 on).
struct MsgOption {
    static constexpr uint8_t kOpcode = kServerOption;
    std::array<uint8_t, 5> options = {};
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.options);
    }
    bool operator==(const MsgOption&) const = default;
};

// 36: the player's four condition bytes.
struct MsgChangeCondition {
    static constexpr uint8_t kOpcode = kServerChangeCondition;
    std::array<uint8_t, 4> conditions = {};
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.conditions);
    }
    bool operator==(const MsgChangeCondition&) const = default;
};

// 62: panel and trade-mode commands; sub-kinds 4, 7 and 8 choose a character page view. What
// follows the sub-kind is kept for the pane that acts on it.
struct MsgPanel {
    static constexpr uint8_t kOpcode = kServerPanel;
    uint8_t subKind = 0;
    Bytes rest;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        f.rest(m.rest);
    }
    bool operator==(const MsgPanel&) const = default;
};

// 78: a yes/no prompt; yes answers with the value (client command 23, sub-kind 1).
struct MsgPrompt : OneByte<kServerPrompt> {};

// 81: shows (not 0) or removes (0) the full-screen cover.
struct MsgCover {
    static constexpr uint8_t kOpcode = kServerCover;
    uint8_t show = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.show);
    }
    bool operator==(const MsgCover&) const = default;
};

// 89: sub-kind 1 is the nation list (numbers and names); sub-kind 0 an item description for
// the inventory page (1 to 1023 bytes of text, shown at height y).
struct NationEntry {
    uint8_t number = 0;
    std::u16string name;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.number);
        f.text8(m.name, 32);
    }
    bool operator==(const NationEntry&) const = default;
};
struct MsgListData {
    static constexpr uint8_t kOpcode = kServerListData;
    enum SubKind : uint8_t { kItemText = 0, kNations = 1 };
    uint8_t subKind = kNations;
    uint8_t unused = 0;
    int16_t listValue = 0;  // the nation list is taken only when above 0
    std::vector<NationEntry> nations;
    uint8_t y = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        if (m.subKind == kNations) {
            f.u8(m.unused);
            f.i16(m.listValue);
            f.list8(m.nations);
        } else if (m.subKind == kItemText) {
            f.u8(m.y);
            f.text16(m.text, 1023, 1023);
        } else {
            f.reject();
        }
    }
    bool accept() const { return subKind != kItemText || !text.empty(); }
    bool operator==(const MsgListData&) const = default;
};

// 103: the countdown clock: commands 0 to 2 set its mode and seconds, 3 closes it.
struct MsgCountdown {
    static constexpr uint8_t kOpcode = kServerCountdown;
    uint8_t command = 0;
    uint32_t seconds = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.command);
        f.u32(m.seconds);
    }
    bool operator==(const MsgCountdown&) const = default;
};

inline constexpr auto parseStatus = parse<MsgStatus>;
inline constexpr auto parseMessage = parse<MsgMessage>;
inline constexpr auto parseAddInventory = parse<MsgAddInventory>;
inline constexpr auto parseRemoveInventory = parse<MsgRemoveInventory>;
inline constexpr auto parseAddSpell = parse<MsgAddSpell>;
inline constexpr auto parseRemoveSpell = parse<MsgRemoveSpell>;
inline constexpr auto parseOption = parse<MsgOption>;
inline constexpr auto parseChangeCondition = parse<MsgChangeCondition>;
inline constexpr auto parsePanel = parse<MsgPanel>;
inline constexpr auto parsePrompt = parse<MsgPrompt>;
inline constexpr auto parseCover = parse<MsgCover>;
inline constexpr auto parseListData = parse<MsgListData>;
inline constexpr auto parseCountdown = parse<MsgCountdown>;

}  // namespace vs::net
