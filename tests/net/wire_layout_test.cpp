// Byte-exact layouts of commands, the value rules of the parsers, and the texts at the edges.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "base/byte_io.h"
#include "base/text.h"
#include "catalogue_samples.h"
#include "net/client_commands.h"
#include "net/server_messages.h"

namespace vs::net {
namespace {

using P = std::vector<uint8_t>;

TEST(CommandLayout, BytesAsSent) {
    CmdPowerValues apply{1, {10, -1, 17, 11}};
    struct Case {
        const char* name;
        P built;
        P expected;
    } cases[] = {
        {"version 310 build 0",
         build(CmdVersion{310, 0}),
         {0x00, 0x01, 0x36, 0xC5, 0x00, 0x00, 0x00}},
        {"area checksum",
         build(CmdAreaChecksum{3, 4, 19, 17, 0x1D0F}),
         {0x05, 0x00, 0x03, 0x00, 0x04, 0x13, 0x11, 0x00, 0x1D, 0x0F}},
        {"scroll step up, step 63, no echo",
         build(samples::scrollUp()),
         {0x06, 0x00, 0x3F, 0x00, 0x0A, 0x00, 0x14, 0, 1, 0, 2, 3, 4, 5, 6}},
        {"local step with echo",
         build(CmdLocalStep{1, 5, true, 10, 21}),
         {0x32, 1, 0x85, 0, 10, 0, 21}},
        {"whisper hi to Bob",
         build(CmdWhisper{u"Bob", u"hi"}),
         {0x19, 0x03, 0x42, 0x6F, 0x62, 0x02, 0x68, 0x69}},
        {"checksum answer for 0x1234", build(CmdChecksumAnswer{0x1234}), {0x45, 0x34, 0x12}},
        {"F1",
         build(CmdClick{CmdClick::kSelf, ClickExtra{}}),
         {0x43, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x04, 0x00, 0x00}},
        {"back from a menu", build(CmdClick{0x01020304, {}}), {0x43, 0x01, 1, 2, 3, 4}},
        {"paper a, line break, b",
         build(CmdPaperText{7, u"a\rb"}),
         {0x23, 7, 0x00, 0x03, 0x61, 0x09, 0x62}},
        {"power colours", build(apply), {0x4C, 1, 4, 10, 0xFF, 17, 11}},
        {"name check",
         build(CmdNameCheck{u"Bob", u"x1"}),
         {2, 3, 'B', 'o', 'b', 2, 'x', '1', 0, 0}},
        {"create character", build(CmdCreateCharacter{5, true, 1, 3}), {4, 5, 1, 2, 3, 0}},
        {"entries list request", build(CmdListRequest{}), {0x66, 1, 0, 1, 1, 0, 1, 1, 0}},
        {"item text request",
         build(CmdListRequest{true, 40, 3}),
         {0x66, 0, 40, 0, 1, 1, 3, 1, 0, 0}},
        {"crash report", build(CmdCrashReport{{'a', 'b'}}), {0x42, 1, 0, 2, 'a', 'b', 0}},
        {"exchange request",
         build(CmdExchange{CmdExchange::kAsk, 0x2001}),
         {0x4A, 0, 0, 0, 0x20, 0x01}},
        {"option without value", build(CmdOption{13, {}}), {0x1B, 13}},
        {"patch done", build(CmdPatch{2}), {0x48, 2}},
        {"mix: a stack with its count, a single item",
         build(CmdMixItems{{{3, true, 5}, {4, false, 0}}}),
         {0x6B, 2, 3, 5, 4}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built, c.expected) << c.name;
}

TEST(CommandLayout, NameListUploadSendsEachDistinctNameOnce) {
    std::vector<std::u16string> list(20);
    list[2] = u"Alice";
    list[7] = u"Bob";
    list[11] = u"Alice";
    EXPECT_EQ(build(CmdNameListUpload::fromList(list)),
              (P{0x77, 2, 5, 'A', 'l', 'i', 'c', 'e', 3, 'B', 'o', 'b'}));
}

TEST(CommandLayout, CastBodiesFollowTheSpellKind) {
    CommandContext context;
    context.spellKind = [](uint8_t slot) -> uint8_t { return slot; };
    struct Case {
        CmdCast cast;
        P expected;
    } cases[] = {
        {{.slot = 1, .kind = 1, .text = u"go"}, {15, 1, 'g', 'o'}},
        {{.slot = 2, .kind = 2, .target = 9, .x = 3, .y = 4}, {15, 2, 0, 0, 0, 9, 0, 3, 0, 4}},
        {{.slot = 3, .kind = 3, .numbers = {1, 2, 3, 4}}, {15, 3, 0, 1, 0, 2, 0, 3, 0, 4}},
        {{.slot = 7, .kind = 7, .numbers = {9}}, {15, 7, 0, 9}},
        {{.slot = 8, .kind = 8, .item = 5}, {15, 8, 5}},
        {{.slot = 5, .kind = 5}, {15, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(build(c.cast), c.expected) << int(c.cast.slot);
        // The server reads it back with the zero byte sending adds.
        P received = c.expected;
        received.push_back(0);
        EXPECT_EQ(parseCmdCast(received, context), c.cast) << int(c.cast.slot);
    }
}

TEST(CommandLayout, ShortTextsAreCutOnACharacterBoundary) {
    // 300 letters: the length byte says 255 and the next field stays where it belongs.
    const auto whisper = build(CmdWhisper{std::u16string(300, u'a'), u"hi"});
    ASSERT_EQ(whisper.size(), 1 + 1 + 255 + 1 + 2u);
    EXPECT_EQ(whisper[1], 255);
    auto back = parseCmdWhisper(whisper);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, std::u16string(255, u'a'));
    EXPECT_EQ(back->message, u"hi");

    // Two-byte characters: 128 of them are 256 bytes, cut to 127 whole characters.
    ASSERT_TRUE(base::CodePage::setCurrent("949"));
    const std::u16string hangul(128, u'\uAC00');
    const auto say = build(CmdSay{{CmdSay::kSay, hangul}});
    const auto again = parseCmdSay(say);
    base::CodePage::setCurrent("WINDOWS-1252");
    EXPECT_EQ(say[2], 254);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, hangul.substr(0, 127));
}

// Parser rules on hand-made payloads: what is dropped, what is kept, what is normalised.
TEST(MessageRules, RangesAndDirections) {
    struct Case {
        const char* name;
        P payload;
        bool accepted;
    } cases[] = {
        {"object walks left", {12, 0, 0, 0, 5, 0, 1, 0, 2, 3}, true},
        {"object walks in direction 4", {12, 0, 0, 0, 5, 0, 1, 0, 2, 4}, false},
        {"object turns to 7", {17, 0, 0, 0, 5, 7}, false},
        {"character facing 200", {51, 0, 1, 0, 2, 200, 0, 0, 0, 5, 1, 0, 1, 0, 0, 0, 0, 0}, false},
        {"scene facing 9", {90, 0, 1, 0, 2, 9, 3, 4}, false},
        {"wield slot 52", {18, 0, 0, 0, 5, 52, 0}, true},
        {"wield slot 0 takes off", {18, 0, 0, 0, 5, 0, 0}, true},
        {"wield slot 53", {18, 0, 0, 0, 5, 53, 0}, false},
        {"inventory slot 0", {15, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, false},
        {"inventory slot 53", {15, 53, 0, 1, 0, 0, 0, 0, 0, 0, 0}, false},
        {"remove slot 52 without reason", {16, 52}, true},
        {"remove slot 53", {16, 53, 0}, false},
        {"spell kind 8", {23, 1, 8, 0, 0}, true},
        {"spell kind 9", {23, 1, 9, 0, 0}, false},
        {"spell kind 0", {23, 1, 0, 0, 0}, false},
        {"spell removed from slot 0", {24, 0}, false},
        {"hour 23:59", {32, 23, 59}, true},
        {"hour 24", {32, 24, 0}, false},
        {"minute 60", {32, 10, 60}, false},
        {"speech kind 3", {13, 3, 0, 0, 0, 1, 0}, true},
        {"speech kind 4", {13, 4, 0, 0, 0, 1, 0}, false},
        {"remove object 0", {14, 0, 0, 0, 0}, true},
        {"view cell (16, 14)", {4, 0, 1, 0, 1, 0, 16, 0, 14}, true},
        {"view column 17", {4, 0, 1, 0, 1, 0, 17, 0, 0}, false},
        {"view row 15", {4, 0, 1, 0, 1, 0, 0, 0, 15}, false},
        {"new shape of kind 1", {29, 0, 0, 0, 5, 1, 0, 0, 0x80, 1, 0}, true},
        {"new shape of kind 2", {29, 0, 0, 0, 5, 2, 0, 1, 0}, false},
        {"sound of kind 3", {25, 3, 0, 0, 0, 0, 0, 0}, false},
        {"echo of one byte", {75, 0, 1, 19}, true},
        {"echo of no bytes", {75, 0, 0}, false},
        {"echo longer than the message", {75, 0, 4, 19, 0}, false},
        {"item text of 0 bytes", {89, 0, 10, 0, 0}, false},
        {"web notice of sub-kind 4", {102, 4, 0, 0}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseServerMessage(c.payload).has_value(), c.accepted) << c.name;

    P menu = build(MsgScreenMenu{});
    EXPECT_TRUE(parseScreenMenu(menu));
    menu[1] = 7;  // no such sub-kind
    EXPECT_FALSE(parseScreenMenu(menu));
}

TEST(MessageRules, StepAnswerDirections) {
    struct Case {
        uint8_t byte;
        uint8_t direction;
        bool echo;
    } cases[] = {{0x02, 2, false},
                 {0x83, 3, true},
                 {0x04, kNoStep, false},
                 {0x85, kNoStep, true},
                 {0x7F, kNoStep, false}};
    for (const auto& c : cases) {
        auto m = parseMove(P{11, c.byte, 0xFF, 0xFE, 0, 5, 0, 8, 0, 7, 0x8C});
        ASSERT_TRUE(m) << int(c.byte);
        EXPECT_EQ(m->direction, c.direction) << int(c.byte);
        EXPECT_EQ(m->echo, c.echo) << int(c.byte);
        EXPECT_EQ(m->x, -2);
        EXPECT_EQ(m->stepNumber, 12);  // bit 7 is not part of it
    }
}

TEST(MessageRules, DrawObjectsDropsBadRecordsAlone) {
    const P payload = {7, 0, 3, 0, 1, 0, 2, 0, 0,    0,    1,    0x7F, 0xFF, 0,
                       2, 0, 1, 0, 2, 0, 0, 0, 2,    0x80, 0x00, 0,    9,  // direction 9
                       0, 1, 0, 2, 0, 0, 0, 3, 0xBF, 0xFF, 0,    1};
    auto m = parseDrawObjects(payload);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->objects.size(), 2u);
    EXPECT_EQ(m->objects[0].id, 1u);
    EXPECT_FALSE(m->objects[0].isCreature());
    EXPECT_EQ(m->objects[1].id, 3u);
    EXPECT_TRUE(m->objects[1].isCreature());
    EXPECT_TRUE((DrawnObject{.image = 0x8000}).isCreature());
    EXPECT_FALSE((DrawnObject{.image = 0xC000}).isCreature());
    auto none = parseDrawObjects(P{7, 0, 0});
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->objects.empty());
}

TEST(MessageRules, MapSizes) {
    auto mapSize = [](uint16_t w, uint16_t h) {
        return build(MsgMapSize{.number = 1, .width = w, .height = h, .name = u"M"});
    };
    EXPECT_TRUE(parseMapSize(mapSize(4096, 4096)));   // 2^24 cells
    EXPECT_FALSE(parseMapSize(mapSize(4097, 4096)));  // refused
    EXPECT_FALSE(parseMapSize(mapSize(65535, 65535)));
    auto empty = parseMapSize(mapSize(0, 80));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->hasGrid());
}

TEST(MessageRules, FieldMapPlacesAndLinks) {
    auto fieldMap = [](uint8_t current, std::vector<FieldPlace> places) {
        MsgFieldMap m{.title = u"A very long field map title, longer than 24", .current = current};
        m.places = std::move(places);
        return parseFieldMap(build(m));
    };
    const std::u16string longName(80, u'n');
    auto m = fieldMap(1, {{.name = longName, .links = {1, 2, 7}}, {.name = u"B", .links = {0}}});
    ASSERT_TRUE(m);
    EXPECT_EQ(m->title.size(), 24u);
    EXPECT_EQ(m->places[0].name, longName.substr(0, 63));
    EXPECT_EQ(m->places[0].links, (std::vector<uint16_t>{1}));  // places 2 and 7 do not exist
    EXPECT_FALSE(fieldMap(0, {}));
    EXPECT_FALSE(fieldMap(2, {{.name = u"A"}, {.name = u"B"}}));
}

TEST(MessageRules, MessageDialogLayoutTwoShowsAnItem) {
    MsgPursuitMessage m{.subKind = MsgPursuitMessage::kText,
                        .layout = 2,
                        .portrait = {.kind = Appearance::kItem, .picture = 0x30, .colour = 1},
                        .text = u"Look"};
    auto payload = build(m);
    payload[8] = 0;  // the portrait's kind byte says "character"; layout 2 overrides it
    auto parsed = parsePursuitMessage(payload);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->portrait, m.portrait);
}

TEST(MessageRules, SoundBlocksAreReadOnlyWhereTheirLengthCoversThem) {
    const P payload = {25, 0, 3,    0x01, 0x90, 50,  // header: sound 400 at volume 50
                       0,  2, 0xAA, 0xBB,            // source kind 0 with two of its four bytes
                       4,  2, 0x00, 0x64,            // modifier kind 4 without its rate
                       2,  0};                       // repeat kind 2 without its count
    auto m = parseSoundEffect(payload);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->soundNumber(), 400);
    EXPECT_EQ(m->volume(), 50);
    EXPECT_EQ(m->sourceObject(), std::nullopt);
    EXPECT_EQ(m->sourceCell(), std::nullopt);
    EXPECT_EQ(m->modifierValue(), 100);
    EXPECT_EQ(m->modifierRate(), std::nullopt);
    EXPECT_EQ(m->repeatCount(), std::nullopt);
    EXPECT_FALSE(parseSoundEffect(P{25, 0, 3, 0x01, 0x90, 50, 0, 2, 0xAA, 0xBB, 4, 2, 0x00, 0x64}));
}

P compressed(std::string_view plain) {
    uLongf size = compressBound(uLong(plain.size()));
    P out(size);
    compress(out.data(), &size, reinterpret_cast<const Bytef*>(plain.data()), uLong(plain.size()));
    out.resize(size);
    return out;
}
P serverListMessage(const P& packed) {
    base::ByteWriter w;
    w.u8(kServerServerList).u16be(uint32_t(packed.size())).bytes(packed);
    return w.take();
}

std::string entry(uint8_t id, uint8_t last, std::string_view text, bool terminated = true) {
    std::string e = {char(id), 10, 0, 0, char(last), 9, char(id)};
    e += text;
    if (terminated) e += '\0';
    return e;
}

TEST(ServerList, EntriesAndTheirTexts) {
    const std::string plain = "\x04" + entry(1, 1, "Dawn;First world:rules") +
                              entry(2, 2, "Dusk:more") + entry(3, 3, "Noon;a;b") +
                              entry(4, 4, "Cut", false);
    auto m = parseServerList(serverListMessage(compressed(plain)));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->servers.size(), 3u);  // the incomplete fourth entry ends the list
    EXPECT_EQ(m->servers[0],
              (ServerEntry{1, 0x0A000001, 0x0901, u"Dawn", u"First world", u"rules"}));
    EXPECT_EQ(m->servers[1], (ServerEntry{2, 0x0A000002, 0x0902, u"Dusk", u"", u"more"}));
    EXPECT_EQ(m->servers[2], (ServerEntry{3, 0x0A000003, 0x0903, u"Noon", u"a;b", u""}));
}

TEST(ServerList, ZlibErrorsAndOversizedListsGiveNoList) {
    const P list = compressed("\x01" + entry(1, 1, "A"));
    P corrupt = list;
    corrupt[corrupt.size() / 2] ^= 0x55;
    P truncated(list.begin(), list.end() - 3);
    P lyingLength = serverListMessage(list);
    lyingLength[2] += 1;  // claims one byte more than the message has
    struct Case {
        const char* name;
        P payload;
    } cases[] = {
        {"corrupt stream", serverListMessage(corrupt)},
        {"truncated stream", serverListMessage(truncated)},
        {"not zlib at all", serverListMessage({1, 2, 3, 4})},
        {"more than 2048 bytes inflated", serverListMessage(compressed(std::string(2049, '\0')))},
        {"length past the message", lyingLength},
    };
    for (const auto& c : cases) EXPECT_FALSE(parseServerList(c.payload)) << c.name;
    EXPECT_TRUE(parseServerList(serverListMessage(compressed(std::string(2048, '\0')))));
}

TEST(ServerList, BuildingLeavesOutWhatTheReceiverCannotHold) {
    std::vector<ServerEntry> many(300, ServerEntry{1, 0x7F000001, 23, u"", u"", u""});
    auto m = parseServerList(build(MsgServerList{many}));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->servers.size(), 255u);
    std::vector<ServerEntry> big(
        5, ServerEntry{1, 0x7F000001, 23, std::u16string(500, u'x'), u"", u""});
    m = parseServerList(build(MsgServerList{big}));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->servers.size(), 4u);  // 4 x 508 bytes fit in 2048, a fifth does not
}

TEST(MessageRules, OptionalTrailingFields) {
    auto removed = parseRemoveInventory(P{16, 4});
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->reason, std::nullopt);
    removed = parseRemoveInventory(P{16, 4, 9});
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->reason, 9);
    auto answer =
        parseCmdPagedAnswer(P{58, 1, 0, 0, 0, 2, 0, 9, 0, 3, 0});  // the zero sending adds
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->action, CmdPagedAnswer::kPage);
    auto click = parseCmdClick(P{67, 1, 0, 0, 0, 5, 0, 0, 0});  // padding is not an extra part
    ASSERT_TRUE(click);
    EXPECT_EQ(click->extra, std::nullopt);
}

}  // namespace
}  // namespace vs::net
