#pragma once
// One realistic value of every server message and client command, for the round-trip and
// truncation tests and the fuzz seeds.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "net/client_commands.h"
#include "net/server_messages.h"

namespace vs::net::samples {

inline Bytes bytes(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

struct ServerSample {
    ServerMessage message;
    // Bytes at the end that a shorter message may leave out (optional parts, text to the end);
    // every prefix shorter than the rest must be rejected.
    size_t optionalTail = 0;
    // The last field runs to the end of the payload, so padding would become part of it.
    bool endsInRest = false;
};
struct CommandSample {
    ClientCommand command;
    size_t optionalTail = 0;
    bool endsInRest = false;
};

// The spells and stacks the command samples assume.
inline CommandContext sampleContext() {
    CommandContext c;
    c.spellKind = [](uint8_t slot) -> uint8_t { return slot == 2 ? 2 : slot == 9 ? 1 : 0; };
    c.stackSlot = [](uint8_t slot) { return slot == 3; };
    return c;
}

inline Appearance character() {
    return {.kind = Appearance::kCharacter,
            .gender = 1,
            .state = 0,
            .head = 7,
            .headTint = 12,
            .body = 3,
            .bodyColour = 40,
            .weapon = 10005,
            .weaponTint = 2,
            .shield = 255,
            .shieldTint = 0};
}
inline Appearance creature() {
    return {.kind = Appearance::kCreature, .gender = 0, .state = 4, .image = 0x8012, .colour = 33};
}
inline EquipmentSlots equipment() {
    return {{{0x0101, 1}, {0x0202, 0}, {0, 0}, {0x0303, 5}, {0x0404, 9}}};
}

template <class T>
T step(uint8_t direction, bool echo, int16_t x, int16_t y, uint8_t number) {
    T m;
    m.direction = direction;
    m.echo = echo;
    m.x = x;
    m.y = y;
    m.viewColumn = 8;
    m.viewRow = 7;
    m.stepNumber = number;
    return m;
}

inline std::vector<ServerSample> serverSamples() {
    MsgStatus status{.flags = MsgStatus::kDead | MsgStatus::kMain | MsgStatus::kBars |
                              MsgStatus::kValues | MsgStatus::kConditions,
                     .main = StatusMain{.nation = 1,
                                        .totem = 2,
                                        .value5 = 45,
                                        .maximum8 = 1200,
                                        .maximum9 = 300,
                                        .value14 = 3,
                                        .value15 = 4,
                                        .value18 = 120},
                     .bars = StatusPair{1100, 250},
                     .values = StatusPair{123456, 78},
                     .conditions = StatusConditions{{0, 1, 0, 2}, 0},
                     .mail = 0x21,
                     .walkMode = 1};
    MsgSoundEffect sound{.kind = MsgSoundEffect::kEffect,
                         .header = {0x00, 0x2A, 80},
                         .source = {MsgSoundEffect::kSourceCell, {0, 12, 0, 15}},
                         .modifier = {4, {0x01, 0xF4, 0x00, 0x32}},
                         .repeat = {1, {0, 3}}};
    MsgFieldMap fieldMap{.title = u"Kingdom", .current = 1};
    fieldMap.places = {
        {.x = 40, .y = 60, .name = u"Harbour", .destination = {1, 10, 12}, .links = {1}},
        {.x = 90, .y = 30, .name = u"Castle", .destination = {2, 5, 5}, .links = {0, 2}},
        {.x = 120, .y = 100, .name = u"Mine", .destination = {3, 7, 40}, .links = {1}}};
    MsgScreenMenu menu{.subKind = MsgScreenMenu::kMenuWithArgument,
                       .dialogKind = 6,
                       .speaker = 0x3001,
                       .portrait = {.kind = Appearance::kCharacter, .character = character()},
                       .text = u"What will it be, traveller?",
                       .argument = bytes("\x01q7"),
                       .entries = {{u"Buy", 1}, {u"Sell", 2}, {u"Caf\u00e9 talk", 3}}};
    MsgPursuitMessage page{
        .subKind = MsgPursuitMessage::kTextQuestion,
        .dialogKind = 2,
        .speaker = 0x3002,
        .layout = 1,
        .portrait = {.kind = Appearance::kCreature, .picture = 0x8004, .colour = 3},
        .value = 9,
        .page = 2,
        .hasPrevious = 1,
        .hasNext = 0,
        .text = u"The gate asks a word.",
        .prompt = u"Word:",
        .maxLength = 12,
        .secondLine = u"(letters only)"};
    MsgBulletin form{.subKind = MsgBulletin::kForm,
                     .form = {{u"Name", 1, 10, u"empty", 0}, {u"Story", 0, 4, u"Once...", 1}}};
    MsgObjectBubbleInfo look{.texts = {u"Knight", u"Level 12", u"North", u"Guild", u"Alice"},
                             .appearance = character(),
                             .equipment = equipment(),
                             .text6 = u"Likes\tfishing",
                             .id = 0x2003,
                             .stateA = 1,
                             .stateB = 0,
                             .nation = 2,
                             .picture = bytes(std::string_view("JPF\0\x01\x02", 6)),
                             .text7 = u"Profile",
                             .lines = {{3, 12, u"Sword master"}},
                             .totem = 2};
    MsgUserList users{.total = 850,
                      .sortByName = 0,
                      .users = {{0x12, 0x31, 37, u"Alice"}, {0x24, 0x02, 12, u"Bob"}}};
    MsgSelfInfo self{.numbers = {-3, 0, 7},
                     .texts = {u"Knight", u"Level 12", u"North", u"Long text"},
                     .stateA = 0,
                     .number4 = 99,
                     .text5 = u"Guild",
                     .equipment = equipment(),
                     .counters = u"Blessing 30\tHaste 5",
                     .stateB = 1,
                     .lines = {{1, 128, u"First"}, {2, 12, u"Second"}}};
    MsgServerList servers{{{1, 0x7F000001, 2323, u"Dawn", u"The first world", u""},
                           {2, 0xC0A80002, 2324, u"Dusk", u"", u"agreement"}}};
    return {
        {MsgVersionCheck{MsgVersionCheck::kPatch,
                         311,
                         {{bytes("http://patch.example/")}, {bytes("http://mirror.example/")}}}},
        {MsgLoginCheck{15, u"Wrong password"}},
        {MsgTileCheck{0x7F000001, 2324, bytes("token-42")}},
        {MsgUserPosition{120, 85, 8, 7}},
        {MsgUserAppearance{0x1001, 2, 3}},
        {MsgMap{10, 20, 2, 2, {{5, 1, 0}, {6, 0, 12}, {7, 1, 0}, {5, 0, 0}}}},
        {MsgDrawObjects{{{12, 15, 0x2001, 0x8003, 5, 2}, {13, 15, 0x2002, 0x0042, 0, 0}}}},
        {status},
        {MsgMessage{5, u"Welcome to Vestrel"}},
        {step<MsgMove>(1, true, 11, 20, 12)},
        {MsgMoveObject{0x2001, 14, 15, 3}},
        {MsgSay{1, 0x2001, u"Hello there"}},
        {MsgRemoveObject{0x2002}},
        {MsgAddInventory{3, 120, 4, u"Short sword", 1, 0}},
        {MsgRemoveInventory{3, 1}, 1},
        {MsgChangeDirection{0x2001, 2}},
        {MsgWield{0x2001, 3, 10}},
        {MsgDamageEffect{0x2001, 40, 75}},
        {MsgMapSize{7, 100, 80, MsgMapSize::kWeather | MsgMapSize::kNoSeeThrough, 0,
                    u"Green Meadow", 305}},
        {MsgFlyingObject{0x2001, 0x10, 1, 0x4001, 10, 10, 14, 12, 0x2002, 3}},
        {MsgAddSpell{2, 2, u"Fire bolt", u"Target: "}},
        {MsgRemoveSpell{2}},
        {sound},
        {MsgMotion{0x2001, 5, 30, 12}},
        {MsgEnterEditingMode{3, 10, 5, u"Dear friend,\tI write"}},
        {MsgChangeShape{0x2001, creature()}},
        {MsgChangeWeather{2}},
        {MsgChangeHour{23, 59}},
        {MsgSelfSaveOK{}},
        {MsgRefreshUserOK{}},
        {MsgOption{{1, 0, 1, 1, 1}}},
        {MsgChangeCondition{{0, 1, 0, 2}}},
        {step<MsgMovePosition>(4, false, 11, 21, 13)},
        {MsgEffectLayer{0x2001, 12, 5, 14, 15}},
        {fieldMap},
        {menu},
        {page},
        {form},
        {MsgCharacter{14, 16, 2, 0x2003, character(), 2, u"Alice"}},
        {look, 1},
        {MsgShowPaper{10, 5, 1, u"A notice"}},
        {users},
        {MsgSetEquipment{7, 0x120, 3}},
        {MsgClearEquipment{7}},
        {self},
        {MsgCounter{u"Blessing", 30}},
        {MsgRequestCRC{0x1234}},
        {MsgPanel{4, {}}, 0, true},
        {MsgPatchData{bytes("\x01\x02patch")}, 7, true},
        {MsgExchange{.subKind = MsgExchange::kItem,
                     .text = u"Short sword",
                     .slot = 3,
                     .side = 1,
                     .picture = 120,
                     .colour = 4}},
        {MsgPower{{{0x3001, 1, 500, 17, u"Oak guard"}, {0x3002, 4, 20, -1, u"Scout"}}}},
        {MsgAskPicture{}},
        {MsgEcho{{kCmdOption, 13}}},
        {MsgPrompt{7}},
        {MsgCover{1}},
        {servers},
        {MsgListData{.subKind = MsgListData::kNations,
                     .listValue = 2,
                     .nations = {{1, u"Aurel"}, {2, u"Brisk"}}}},
        {MsgScene{3, 0x1234, 2, 8, 7}},
        {MsgStoreSetting{u"last", 1, 2, 3}},
        {MsgTransferNotice{0, 0, 0}},
        {MsgObjectGone{0x2002}},
        {MsgWebNotice{.subKind = MsgWebNotice::kOpen,
                      .addressBytes = bytes("http://vestrel.example/news"),
                      .text = u"Read the news?"}},
        {MsgCountdown{1, 3600}},
        {MsgClockProbe{0xDEADBEEF}},
        {MsgNameListFlag{1}},
    };
}

// A scroll step up from (10, 20) as step 63, the echo off.
inline CmdScrollStep scrollUp() {
    CmdScrollStep up;
    up.direction = 0;
    up.stepNumber = 63;
    up.x = 10;
    up.y = 20;
    up.stripLeft = 1;
    up.stripTop = 2;
    up.stripWidth = 3;
    up.stripHeight = 4;
    up.stripChecksum = 0x0506;
    return up;
}

inline std::vector<CommandSample> commandSamples() {
    CmdCast cast{.slot = 2, .kind = 2, .target = 0x2001, .x = 14, .y = 15};
    CmdDialogAnswer answer{.dialogKind = 6, .speaker = 0x3001, .value = 2};
    answer.addArgument(bytes("\x01q7")).addText(u"yes");
    return {
        {CmdVersion{310, 0}},
        {CmdNameCheck{u"Bob", u"abc1"}},
        {CmdLogin{u"Bob", u"abc1"}},
        {CmdCreateCharacter{5, true, 1, 2}},
        {CmdAreaChecksum{3, 4, 19, 17, 0x1D0F}},
        {scrollUp()},
        {CmdPickUp{{0}}},
        {CmdDropItem{{3, true}}},
        {CmdKeySemicolon{}},
        {CmdLeaveWorld{}},
        {CmdRequestObject{{0x2001}}},
        {CmdNameList{{CmdNameList::kAdd, u"Alice"}}},
        {CmdSay{{CmdSay::kShout, u"Hello all"}}},
        {cast},
        {CmdTransferToken{bytes("token-42")}, 8, true},
        {CmdTurn{{1}}},
        {CmdWield{{3}}},
        {CmdAttack{}},
        {CmdNewCharacterCancelled{}},
        {CmdItemAnswer{1, 7}},
        {CmdUserListRequest{}},
        {CmdWhisper{u"Bob", u"hi"}},
        {CmdItemKeyE{{4}}},
        {CmdOption{13, 0}, 1},
        {CmdUseItem{{5}}},
        {CmdEmotion{{254}}},
        {CmdItemKeyW{{6}}},
        {CmdSelection{{21}}},
        {CmdKeyO{}},
        {CmdPaperText{3, u"a\rb"}},
        {CmdDropMoney{{100}}},
        {CmdChangePassword{u"Bob", u"abc1", u"xyz2"}},
        {CmdGiveItem{{3, false}}},
        {CmdGiveMoney{{50}}},
        {CmdKeyS{}},
        {CmdTextCommand{u"who"}},
        {CmdSwapSlots{0, 1, 2}},
        {CmdLocalStep{2, 5, true, 10, 21}},
        {CmdItemKeyP{{7}}},
        {CmdRefresh{}},
        {answer, 8, true},
        {CmdPagedAnswer{.dialogKind = 2,
                        .speaker = 0x3002,
                        .value = 9,
                        .page = 3,
                        .action = CmdPagedAnswer::kChoice,
                        .choice = 3},
         2},
        {CmdBoard{.subCode = 6,
                  .board = 1,
                  .recipient = u"Alice",
                  .title = u"Hello",
                  .body = u"See you\rat noon"}},
        {CmdFieldMapDestination{{1, 10, 12}}},
        {CmdParcel{}},
        {CmdCrashReport{bytes("Vestrel 3.1 crash\r\n")}},
        {CmdClick{CmdClick::kSelf, ClickExtra{4, 0}}, 4},
        {CmdChecksumAnswer{0x1234}},
        {CmdPatch{1, u"Patcher.exe", 1024}},
        {CmdExchange{
            .subCode = CmdExchange::kOfferCount, .partner = 0x2001, .slot = 3, .count = 5}},
        {CmdPowerValues{2, {10, -1, 17, 11}, 0x3001, 17}},
        {CmdFacePicture{bytes(std::string_view("JPF\0\x01", 5)), u"Hello"}},
        {CmdChooseServer{1}},
        {CmdListRequest{true, 40, 3}},
        {CmdBump{11, 20, 1}},
        {CmdMixItems{{{3, true, 5}, {4, false, 0}}}},
        {CmdKeepAlive{}},
        {CmdClockAnswer{0xDEADBEEF, 123456}},
        {CmdNameListUpload{{u"Alice", u"Bob"}}},
    };
}

}  // namespace vs::net::samples
