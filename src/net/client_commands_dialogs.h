#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/wire.h"
#include "net/wire_fields.h"

// Client commands that answer windows: papers, menus and message pages, boards and mail, the
// field map, exchanges and the power dialog.
namespace vs::net {

// 35: the text of a paper opened for writing; line breaks travel as tabs.
struct CmdPaperText {
    static constexpr uint8_t kOpcode = kCmdPaperText;
    static constexpr const char* kName = "paper text";
    uint8_t paperKind = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.paperKind);
        f.text16Tabs(m.text);
    }
    bool operator==(const CmdPaperText&) const = default;
};

// 57: the answer to a menu dialog: its kind, speaker and value, then the choice, whose shape
// depends on the dialog: a slot, u8-texts, or the dialog's argument sent back as it came.
struct CmdDialogAnswer {
    static constexpr uint8_t kOpcode = kCmdDialogAnswer;
    static constexpr const char* kName = "dialog answer";
    uint8_t dialogKind = 0;
    uint32_t speaker = 0;
    uint16_t value = 0;
    Bytes choice;
    CmdDialogAnswer& addText(const std::u16string& text);
    CmdDialogAnswer& addArgument(const Bytes& argument);
    CmdDialogAnswer& addSlot(uint8_t slot);
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.dialogKind);
        f.u32(m.speaker);
        f.u16(m.value);
        f.rest(m.choice);
    }
    bool operator==(const CmdDialogAnswer&) const = default;
};

// 58: the answer to a message page: previous, next or close (no action), a choice (1 and the
// choice's number) or a text (2 and the text).
struct CmdPagedAnswer {
    static constexpr uint8_t kOpcode = kCmdPagedAnswer;
    static constexpr const char* kName = "paged answer";
    enum Action : uint8_t { kPage = 0, kChoice = 1, kText = 2 };
    uint8_t dialogKind = 0;
    uint32_t speaker = 0;
    uint16_t value = 0;
    uint16_t page = 0;
    uint8_t action = kPage;
    uint8_t choice = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.dialogKind);
        f.u32(m.speaker);
        f.u16(m.value);
        f.u16(m.page);
        f.tag(m.action);
        if (m.action == kChoice)
            f.u8(m.choice);
        else if (m.action == kText)
            f.text8(m.text);
        else if (m.action != kPage)
            f.reject();
    }
    bool operator==(const CmdPagedAnswer&) const = default;
};

// 59: boards and mail. Sub-codes: 1 open the boards, 2 ask for a board's articles (0x7FFF for
// the newest, value 240), 3 read an article (direction 0, 1 newer, 255 older), 4 post, 5 read
// a mail, 6 send a mail, 7 delete, 8 ask whether one may write, 9 open the mail box.
struct CmdBoard {
    static constexpr uint8_t kOpcode = kCmdBoard;
    static constexpr const char* kName = "board";
    static constexpr uint16_t kNewest = 0x7FFF;
    uint8_t subCode = 1;
    uint16_t board = 0;
    uint16_t article = 0;
    uint8_t value = 0;
    std::u16string recipient;
    std::u16string title;
    std::u16string body;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subCode);
        const uint8_t s = m.subCode;
        if (s < 1 || s > 9) return f.reject();
        if (s != 1 && s != 9) f.u16(m.board);
        if (s == 2 || s == 3 || s == 5 || s == 7) f.u16(m.article);
        if (s == 2 || s == 3) f.u8(m.value);
        if (s == 6) f.text8(m.recipient);
        if (s == 4 || s == 6) {
            f.text8(m.title);
            f.text16(m.body);
        }
    }
    bool operator==(const CmdBoard&) const = default;
};

// 63: the chosen place's three destination values, as the field map gave them.
struct CmdFieldMapDestination {
    static constexpr uint8_t kOpcode = kCmdFieldMapDestination;
    static constexpr const char* kName = "field map destination";
    std::array<uint16_t, 3> destination = {};
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.destination);
    }
    bool operator==(const CmdFieldMapDestination&) const = default;
};

// 74: an exchange. Sub-codes: 0 ask for an exchange with a character, 1 offer a slot, 2 offer a
// count of a slot, 3 offer gold, 4 cancel, 5 confirm.
struct CmdExchange {
    static constexpr uint8_t kOpcode = kCmdExchange;
    static constexpr const char* kName = "exchange";
    enum SubCode : uint8_t {
        kAsk = 0,
        kOffer = 1,
        kOfferCount = 2,
        kGold = 3,
        kCancel = 4,
        kConfirm = 5
    };
    uint8_t subCode = kAsk;
    uint32_t partner = 0;
    uint8_t slot = 0;
    uint8_t count = 0;
    uint32_t gold = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subCode);
        f.u32(m.partner);
        if (m.subCode == kOffer || m.subCode == kOfferCount) f.u8(m.slot);
        if (m.subCode == kOfferCount) f.u8(m.count);
        if (m.subCode == kGold) f.u32(m.gold);
        if (m.subCode > kConfirm) f.reject();
    }
    bool operator==(const CmdExchange&) const = default;
};

// 76: the power dialog's four colour numbers (sub-code 1), or those and one entry marked with a
// colour (sub-code 2).
struct CmdPowerValues {
    static constexpr uint8_t kOpcode = kCmdPowerValues;
    static constexpr const char* kName = "power values";
    uint8_t subCode = 1;
    std::array<int8_t, 4> colours = {};
    uint32_t id = 0;
    int8_t colour = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subCode);
        f.constant(4);
        f.array(m.colours);
        if (m.subCode == 2) {
            f.u32(m.id);
            f.i8(m.colour);
        } else if (m.subCode != 1) {
            f.reject();
        }
    }
    bool operator==(const CmdPowerValues&) const = default;
};

inline constexpr auto parseCmdPaperText = parse<CmdPaperText>;
inline constexpr auto parseCmdDialogAnswer = parse<CmdDialogAnswer>;
inline constexpr auto parseCmdPagedAnswer = parse<CmdPagedAnswer>;
inline constexpr auto parseCmdBoard = parse<CmdBoard>;
inline constexpr auto parseCmdFieldMapDestination = parse<CmdFieldMapDestination>;
inline constexpr auto parseCmdExchange = parse<CmdExchange>;
inline constexpr auto parseCmdPowerValues = parse<CmdPowerValues>;

}  // namespace vs::net
