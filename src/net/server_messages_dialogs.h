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

// Server messages that open or fill windows: papers, the field map, menus and message pages,
// boards and mail, character pages, the users list, exchanges and the power dialog.
namespace vs::net {

// 27 and 53: a paper for writing (its kind comes back with the text) or for reading. Sizes are
// in 16-pixel units; tabs in the text stand for line breaks.
struct MsgEnterEditingMode {
    static constexpr uint8_t kOpcode = kServerEnterEditingMode;
    uint8_t paperKind = 0;
    uint8_t width = 0;
    uint8_t rows = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.paperKind);
        f.skip(1);
        f.u8(m.width);
        f.u8(m.rows);
        f.text16(m.text, 8000);
    }
    bool operator==(const MsgEnterEditingMode&) const = default;
};
struct MsgShowPaper {
    static constexpr uint8_t kOpcode = kServerShowPaper;
    uint8_t width = 0;
    uint8_t rows = 0;
    uint8_t centred = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.skip(1);
        f.u8(m.width);
        f.u8(m.rows);
        f.u8(m.centred);
        f.text16(m.text, 8000);
    }
    bool operator==(const MsgShowPaper&) const = default;
};

// 46: the field map with its places. A map without places, or whose current place is not one
// of them, is dropped; links to places that do not exist are left out.
struct FieldPlace {
    uint16_t x = 0;
    uint16_t y = 0;
    std::u16string name;
    uint16_t unused = 0;
    std::array<uint16_t, 3> destination = {};  // sent back in client command 63
    std::vector<uint16_t> links;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.text8(m.name, 63);
        f.u16(m.unused);
        f.array(m.destination);
        f.list16(m.links);
    }
    bool operator==(const FieldPlace&) const = default;
};
struct MsgFieldMap {
    static constexpr uint8_t kOpcode = kServerFieldMap;
    std::u16string title;
    uint8_t current = 0;
    std::vector<FieldPlace> places;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.title, 24);
        uint8_t n = f.count8(m.places);
        f.u8(n);
        f.u8(m.current);
        f.items(m.places, n);
    }
    bool accept();
    bool operator==(const MsgFieldMap&) const = default;
};

// 47: a merchant or menu dialog. Every sub-kind starts with the dialog kind and speaker (both
// echoed in the answer), the portrait and the speaker's text.
struct MenuEntry {
    std::u16string label;
    uint16_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.label);
        f.u16(m.value);
    }
    bool operator==(const MenuEntry&) const = default;
};
struct GoodsEntry {
    uint16_t picture = 0;
    uint8_t colour = 0;
    uint32_t price = 0;
    std::u16string name;
    std::u16string description;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.picture);
        f.u8(m.colour);
        f.u32(m.price);
        f.text8(m.name);
        f.text8(m.description);
    }
    bool operator==(const GoodsEntry&) const = default;
};
struct TextPair {
    std::u16string first;
    std::u16string second;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.first);
        f.text8(m.second);
    }
    bool operator==(const TextPair&) const = default;
};
struct MsgScreenMenu {
    static constexpr uint8_t kOpcode = kServerScreenMenu;
    enum SubKind : uint8_t {
        kMenu = 0,
        kMenuWithArgument = 1,
        kQuestion = 2,
        kQuestionWithArgument = 3,
        kGoods = 4,
        kSomeItems = 5,
        kTexts = 6,
        kAllItems = 8,
        kTextPairs = 10,
    };
    uint8_t subKind = kMenu;
    uint8_t dialogKind = 0;
    uint32_t speaker = 0;
    Portrait portrait;
    std::u16string text;
    Bytes argument;  // sent back unchanged
    uint16_t value = 0;
    std::vector<MenuEntry> entries;
    std::vector<GoodsEntry> goods;
    std::vector<uint8_t> slots;
    std::vector<std::u16string> texts;
    std::vector<TextPair> pairs;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        f.u8(m.dialogKind);
        f.u32(m.speaker);
        f.skip(1);
        f.item(m.portrait);
        f.skip(4);
        f.text16(m.text, 32767);
        switch (m.subKind) {
            case kMenuWithArgument:
                f.bytes8(m.argument);
                [[fallthrough]];
            case kMenu:
                f.list8(m.entries);
                break;
            case kQuestionWithArgument:
                f.bytes8(m.argument);
                [[fallthrough]];
            case kQuestion:
            case kAllItems:
                f.u16(m.value);
                break;
            case kGoods:
                f.u16(m.value), f.list16(m.goods);
                break;
            case kSomeItems:
                f.u16(m.value), f.list8(m.slots);
                break;
            case kTexts:
                f.u16(m.value), f.list16(m.texts);
                break;
            case kTextPairs:
                f.u16(m.value), f.list16(m.pairs);
                break;
            default:
                f.reject();
                break;
        }
    }
    bool operator==(const MsgScreenMenu&) const = default;
};

// 48: a page of a message dialog: text, choices or a question. Layout 2 makes the portrait an
// item picture whatever its kind byte says.
struct MsgPursuitMessage {
    static constexpr uint8_t kOpcode = kServerPursuitMessage;
    enum SubKind : uint8_t {
        kText = 0,
        kButtons = 1,
        kTextChoices = 2,
        kChoices = 3,
        kTextQuestion = 4,
        kQuestion = 5,
        kTextPassword = 7,
        kPassword = 8,
        kAccountCheck = 9,
        kHeadStyle = 10,
    };
    uint8_t subKind = kText;
    uint8_t dialogKind = 0;
    uint32_t speaker = 0;
    uint8_t layout = 0;
    Portrait portrait;
    uint16_t value = 0;
    uint16_t page = 0;
    uint8_t hasPrevious = 0;
    uint8_t hasNext = 0;
    std::u16string text;
    std::vector<std::u16string> choices;
    std::u16string prompt;
    uint8_t maxLength = 0;
    std::u16string secondLine;
    bool showsPortrait() const {
        return layout == 1 || layout == 2 || layout == 3 || layout == 5 || layout == 6;
    }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        f.u8(m.dialogKind);
        f.u32(m.speaker);
        f.u8(m.layout);
        if (m.layout == 2) {
            f.forced(m.portrait.kind, Appearance::kItem);
            Portrait::body(f, m.portrait);
        } else {
            f.item(m.portrait);
        }
        f.skip(4);
        f.u16(m.value);
        f.u16(m.page);
        f.u8(m.hasPrevious);
        f.u8(m.hasNext);
        const uint8_t s = m.subKind;
        if (s == kText || s == kTextChoices || s == kTextQuestion || s == kTextPassword ||
            s == kAccountCheck || s == kHeadStyle)
            f.text16(m.text);
        if (s == kTextChoices || s == kChoices) {
            f.list8(m.choices);
        } else if (s == kTextQuestion || s == kQuestion || s == kTextPassword || s == kPassword) {
            f.text8(m.prompt);
            f.u8(m.maxLength);
            f.text8(m.secondLine);
        } else if (s == kAccountCheck) {
            f.text8(m.prompt);
            f.skip(1);
            f.text8(m.secondLine);
        } else if (s != kText && s != kButtons && s != kHeadStyle) {
            f.reject();
        }
    }
    bool operator==(const MsgPursuitMessage&) const = default;
};

// 49: boards and mail. Sub-kinds: 1 board list, 2 article list, 3 article, 4 mail list, 5 mail,
// 6 post result, 7 deletion result, 8 "may not write" notice, 9 writing form.
struct BoardRow {
    uint16_t board = 0;
    std::u16string name;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.board);
        f.text8(m.name);
    }
    bool operator==(const BoardRow&) const = default;
};
struct ArticleRow {
    uint8_t mark = 0;
    uint16_t article = 0;
    std::u16string author;
    uint8_t month = 0;
    uint8_t day = 0;
    std::u16string title;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.mark);
        f.u16(m.article);
        f.text8(m.author);
        f.u8(m.month);
        f.u8(m.day);
        f.text8(m.title);
    }
    bool operator==(const ArticleRow&) const = default;
};
struct FormField {
    std::u16string label;  // never empty: a zero length ends the form
    uint8_t singleLine = 0;
    uint8_t size = 0;
    std::u16string defaultText;
    uint8_t breakAfter = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.label);
        f.skip(1);
        f.u8(m.singleLine);
        f.u8(m.size);
        f.text8(m.defaultText);
        f.u8(m.breakAfter);
    }
    bool operator==(const FormField&) const = default;
};
struct MsgBulletin {
    static constexpr uint8_t kOpcode = kServerBulletin;
    enum SubKind : uint8_t {
        kBoards = 1,
        kArticles = 2,
        kArticle = 3,
        kMails = 4,
        kMail = 5,
        kPostResult = 6,
        kDeleteResult = 7,
        kNoWriting = 8,
        kForm = 9,
    };
    enum Flag : uint8_t { kMore = 1, kMayWrite = 2, kAskFirst = 4 };
    uint8_t subKind = kBoards;
    std::u16string title;  // the window title (1), an article's or mail's title (3, 5)
    std::vector<BoardRow> boards;
    uint8_t flags = 0;
    uint16_t board = 0;
    std::u16string boardName;
    std::vector<ArticleRow> articles;
    uint16_t article = 0;
    std::u16string author;
    uint8_t month = 0;
    uint8_t day = 0;
    std::u16string body;
    uint8_t result = 0;
    std::u16string text;
    std::vector<FormField> form;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        switch (m.subKind) {
            case kBoards: {
                // The count is signed: 0 or less lists nothing.
                uint8_t n = std::min<uint8_t>(f.count8(m.boards), 127);
                f.text8(m.title);
                f.u8(n);
                f.items(m.boards, int8_t(n) > 0 ? n : 0);
                break;
            }
            case kArticles:
            case kMails:
                f.u8(m.flags);
                f.u16(m.board);
                f.text8(m.boardName);
                f.list8(m.articles);
                break;
            case kArticle:
            case kMail:
                f.u8(m.flags);
                f.skip(1);
                f.u16(m.article);
                f.text8(m.author);
                f.u8(m.month);
                f.u8(m.day);
                f.text8(m.title);
                f.text16(m.body);
                break;
            case kPostResult:
            case kDeleteResult:
                f.u8(m.result), f.text8(m.text);
                break;
            case kNoWriting:
                f.skip(1), f.text8(m.text);
                break;
            case kForm:
                f.skip(1), f.untilZero(m.form);
                break;
            default:
                f.reject();
                break;
        }
    }
    bool operator==(const MsgBulletin&) const = default;
};

// 52: the page of another player looked at.
struct MsgObjectBubbleInfo {
    static constexpr uint8_t kOpcode = kServerObjectBubbleInfo;
    std::array<std::u16string, 5> texts;  // T1 to T5; T5 is the player's name
    Appearance appearance;
    EquipmentSlots equipment;
    std::u16string text6;
    uint32_t id = 0;
    uint8_t stateA = 255;
    uint8_t stateB = 255;
    uint8_t nation = 0;
    Bytes picture;
    std::u16string text7;
    std::vector<SymbolLine> lines;
    std::optional<uint8_t> totem;  // sent to clients of a version above 530 only
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.texts);
        f.item(m.appearance);
        f.array(m.equipment);
        f.text8(m.text6);
        f.u32(m.id);
        f.u8(m.stateA);
        f.u8(m.stateB);
        f.u8(m.nation);
        f.bytes16(m.picture);
        f.text8(m.text7);
        f.list8(m.lines);
        f.trailing(m.totem);
    }
    bool operator==(const MsgObjectBubbleInfo&) const = default;
};

// 54: the users on line.
struct UserEntry {
    uint8_t first = 0;   // nation (high four bits), class (low three)
    uint8_t second = 0;  // rank mark (high four bits), icon variant (low three)
    uint8_t colour = 0;
    std::u16string name;
    uint8_t nation() const { return first >> 4; }
    uint8_t userClass() const { return first & 7; }
    uint8_t rank() const { return second >> 4; }
    uint8_t icon() const { return second & 7; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.first);
        f.u8(m.second);
        f.u8(m.colour);
        f.text8(m.name);
    }
    bool operator==(const UserEntry&) const = default;
};
struct MsgUserList {
    static constexpr uint8_t kOpcode = kServerUserList;
    uint16_t total = 0;
    uint8_t sortByName = 0;
    std::vector<UserEntry> users;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.total);
        uint16_t n = f.count16(m.users);
        f.u16(n);
        f.u8(m.sortByName);
        f.items(m.users, n);
    }
    bool operator==(const MsgUserList&) const = default;
};

// 55, 56, 57 and 58: the player's own character page: one worn item set or cleared, the whole
// page, one counter set (value not 0) or removed (0).
struct MsgSetEquipment {
    static constexpr uint8_t kOpcode = kServerSetEquipment;
    uint8_t slot = 0;
    uint16_t picture = 0;
    uint8_t tint = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
        f.u16(m.picture);
        f.u8(m.tint);
    }
    bool operator==(const MsgSetEquipment&) const = default;
};
struct MsgClearEquipment {
    static constexpr uint8_t kOpcode = kServerClearEquipment;
    uint8_t slot = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.slot);
    }
    bool operator==(const MsgClearEquipment&) const = default;
};
struct MsgSelfInfo {
    static constexpr uint8_t kOpcode = kServerSelfInfo;
    std::array<int8_t, 3> numbers = {};   // N1 to N3
    std::array<std::u16string, 4> texts;  // texts 1 to 4
    uint8_t stateA = 255;
    uint32_t number4 = 0;
    std::u16string text5;
    EquipmentSlots equipment;
    std::u16string counters;  // one per line; tabs break the lines
    uint8_t stateB = 255;
    std::vector<SymbolLine> lines;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.array(m.numbers);
        f.array(m.texts);
        f.u8(m.stateA);
        f.u32(m.number4);
        f.text8(m.text5);
        f.array(m.equipment);
        f.text8(m.counters);
        f.u8(m.stateB);
        f.list8(m.lines);
    }
    bool operator==(const MsgSelfInfo&) const = default;
};
struct MsgCounter {
    static constexpr uint8_t kOpcode = kServerCounter;
    std::u16string name;
    uint32_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.name);
        f.u32(m.value);
    }
    bool operator==(const MsgCounter&) const = default;
};

// 66: an exchange between two players. Sub-kinds: 0 open, 1 ask for a count, 2 an item on a
// side, 3 a side's gold, 4 ended without trade, 5 a side confirmed.
struct MsgExchange {
    static constexpr uint8_t kOpcode = kServerExchange;
    enum SubKind : uint8_t {
        kOpen = 0,
        kAskCount = 1,
        kItem = 2,
        kGold = 3,
        kEnded = 4,
        kConfirmed = 5
    };
    uint8_t subKind = kOpen;
    uint32_t partner = 0;
    std::u16string text;  // the partner's name (0), the item's name (2), the notice (4, 5)
    uint8_t slot = 0;     // inventory slot (1), the row's slot key (2)
    uint8_t side = 0;     // 0 own, 1 partner
    uint16_t picture = 0;
    uint8_t colour = 0;
    uint32_t gold = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        switch (m.subKind) {
            case kOpen:
                f.u32(m.partner), f.text8(m.text, 64);
                break;
            case kAskCount:
                f.u8(m.slot);
                break;
            case kItem:
                f.u8(m.side);
                f.u8(m.slot);
                f.u16(m.picture);
                f.u8(m.colour);
                f.text8(m.text);
                break;
            case kGold:
                f.u8(m.side), f.u32(m.gold);
                break;
            case kEnded:
                f.skip(1), f.text8(m.text);
                break;
            case kConfirmed:
                f.u8(m.side), f.text8(m.text);
                break;
            default:
                f.reject();
                break;
        }
    }
    bool operator==(const MsgExchange&) const = default;
};

// 70: the power dialog's entries.
struct PowerEntry {
    uint32_t id = 0;
    uint8_t kind = 0;  // 1 to 4
    uint32_t value = 0;
    int8_t colour = 0;
    std::u16string name;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.kind);
        f.u32(m.value);
        f.i8(m.colour);
        f.text8(m.name);
    }
    bool operator==(const PowerEntry&) const = default;
};
struct MsgPower {
    static constexpr uint8_t kOpcode = kServerPower;
    std::vector<PowerEntry> entries;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.skip(1);
        f.list16(m.entries);
    }
    bool operator==(const MsgPower&) const = default;
};

inline constexpr auto parseEnterEditingMode = parse<MsgEnterEditingMode>;
inline constexpr auto parseShowPaper = parse<MsgShowPaper>;
inline constexpr auto parseFieldMap = parse<MsgFieldMap>;
inline constexpr auto parseScreenMenu = parse<MsgScreenMenu>;
inline constexpr auto parsePursuitMessage = parse<MsgPursuitMessage>;
inline constexpr auto parseBulletin = parse<MsgBulletin>;
inline constexpr auto parseObjectBubbleInfo = parse<MsgObjectBubbleInfo>;
inline constexpr auto parseUserList = parse<MsgUserList>;
inline constexpr auto parseSetEquipment = parse<MsgSetEquipment>;
inline constexpr auto parseClearEquipment = parse<MsgClearEquipment>;
inline constexpr auto parseSelfInfo = parse<MsgSelfInfo>;
inline constexpr auto parseCounter = parse<MsgCounter>;
inline constexpr auto parseExchange = parse<MsgExchange>;
inline constexpr auto parsePower = parse<MsgPower>;

}  // namespace vs::net
