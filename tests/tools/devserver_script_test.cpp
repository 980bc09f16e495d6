// The dev server's readable form of the catalogue and its script mode, without sockets: a fake
// link and a hand-driven clock.
#include "devserver/script.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "devserver/dev_server.h"
#include "devserver/wire_text.h"
#include "net/catalogue_samples.h"

namespace vs::devserver {
namespace {

using Bytes = std::vector<uint8_t>;

// What the text form cannot say: the spell kind and stack flags the reader takes from its
// context, not from the wire.
bool needsContext(const net::ClientCommand& c) {
    return std::holds_alternative<net::CmdCast>(c) || std::holds_alternative<net::CmdMixItems>(c);
}

template <class Record, class Scan>
void expectTextRoundTrip(const Record& record, uint8_t opcode, Scan scan) {
    const std::string line = formatValues(printValues(record));
    std::string error;
    const auto values = parseValues(line, error);
    ASSERT_TRUE(values) << int(opcode) << ": " << line << ": " << error;
    const auto again = scan(opcode, *values, error);
    ASSERT_TRUE(again) << int(opcode) << ": " << line << ": " << error;
    EXPECT_EQ(net::build(*again), net::build(record)) << int(opcode) << ": " << line;
}

TEST(WireText, EveryRecordOfTheCatalogueReadsBackFromItsTextForm) {
    for (const auto& s : net::samples::serverSamples())
        expectTextRoundTrip(s.message, net::opcodeOf(s.message), scanServerMessage);
    for (const auto& s : net::samples::commandSamples()) {
        if (!needsContext(s.command))
            expectTextRoundTrip(s.command, net::opcodeOf(s.command), scanClientCommand);
    }
}

TEST(WireText, NamesInBothDirections) {
    EXPECT_EQ(serverOpcodeNamed("kServerMove"), net::kServerMove);
    EXPECT_EQ(serverOpcodeNamed("#75"), net::kServerEcho);
    EXPECT_EQ(serverOpcodeNamed("#104"), net::kServerClockProbe);
    EXPECT_EQ(serverOpcodeNamed("kServerCloseConnection"), std::nullopt);  // no body known
    EXPECT_EQ(serverOpcodeNamed("#200"), std::nullopt);
    EXPECT_EQ(commandOpcodeNamed("checksum-answer"), net::kCmdChecksumAnswer);
    EXPECT_EQ(commandOpcodeNamed("key-;"), net::kCmdKeySemicolon);
    EXPECT_EQ(commandOpcodeNamed("#12"), net::kCmdRequestObject);
    EXPECT_EQ(commandOpcodeNamed("checksum answer"), std::nullopt);
    EXPECT_EQ(commandOpcodeNamed("#1"), std::nullopt);
    EXPECT_EQ(commandScriptName(net::kCmdKeepAlive), "keep-alive");
}

TEST(WireText, TextsAndBytesKeepEveryCharacter) {
    TextValue t;
    t.kind = TextValue::Kind::Text;
    t.text = u"a \"b\"\\\r\n\t\x01 caf\u00e9 \uC548";
    TextValue b;
    b.kind = TextValue::Kind::Bytes;
    b.bytes = {0x00, 0xFF, 0x0A};
    const std::string line = formatValues({t, b});
    EXPECT_EQ(line, "\"a \\\"b\\\"\\\\\\r\\n\\t\\x01 caf\u00e9 \uC548\" <00 ff 0a>");
    std::string error;
    const auto back = parseValues(line, error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0].text, t.text);
    EXPECT_EQ((*back)[1].bytes, b.bytes);
}

TEST(WireText, MalformedLinesSayWhere) {
    struct Case {
        const char* line;
        const char* error;
    } cases[] = {
        {"1 [2 3", "column 7: ']' missing"},
        {"1 2]", "column 4: unexpected ']'"},
        {"\"open", "column 6: text not closed"},
        {"<0a 1>", "column 6: bytes take two hex digits each"},
        {"<0g>", "column 3: not a hex digit"},
        {"\"\\q\"", "column 3: unknown escape \\q"},
        {"12x", "column 1: not a value: 12x"},
        {"99999999999999999999", "column 1: not a value"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(parseValues(c.line, error)) << c.line;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.line << " -> " << error;
    }
    std::string error;
    const auto v = parseValues("1 # a comment [", error);
    ASSERT_TRUE(v) << error;
    EXPECT_EQ(v->size(), 1u);
}

TEST(WireText, ValuesThatDoNotFitTheRecordAreRefused) {
    struct Case {
        bool command;
        uint8_t opcode;
        const char* values;
        const char* error;
    } cases[] = {
        {false, net::kServerMove, "0 2 1 2 3 4 5 0", "column 3: a number from 0 to 1 expected"},
        {false, net::kServerRequestCRC, "65536", "column 1: a number from 0 to 65535 expected"},
        {false, net::kServerRequestCRC, "", "a number missing"},
        {false, net::kServerRequestCRC, "1 2", "column 3: one value too many"},
        {false, net::kServerRequestCRC, "\"1\"", "column 1: a number expected, not a \"text\""},
        {false, net::kServerRequestCRC, "*", "column 1: wildcards are for expected commands only"},
        {false, net::kServerMessage, "3 <41>", "column 3: a \"text\" expected, not <bytes>"},
        // The map's count of cells is width x height.
        {false, net::kServerMap, "0 0 1 2 [{1 2 3}]", "column 9: 2 items expected, not 1"},
        {false, net::kServerMap, "0 0 1 1 [{1 2}]", "column 10: group too short"},
        {false, net::kServerUserAppearance, "1 2", "a number missing"},
        // A sub-kind the command does not have.
        {true, net::kCmdPatch, "3", "column 1: this value is out of range here"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto values = parseValues(c.values, error);
        ASSERT_TRUE(values) << c.values << ": " << error;
        const bool scanned = c.command ? scanClientCommand(c.opcode, *values, error).has_value()
                                       : scanServerMessage(c.opcode, *values, error).has_value();
        EXPECT_FALSE(scanned) << c.values;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.values << " -> " << error;
    }
}

TEST(WireText, ExpectedValuesMatchWithWildcards) {
    struct Case {
        const char* expected;
        const char* actual;
        bool match;
    } cases[] = {
        {"1 \"a\" [2 3]", "1 \"a\" [2 3]", true},
        {"* \"a\" [* 3]", "7 \"a\" [2 3]", true},
        {"1 ...", "1 \"a\" [2 3]", true},
        {"1 * [2 ...]", "1 \"a\" [2 3]", true},
        {"1 \"b\" [2 3]", "1 \"a\" [2 3]", false},
        {"1 \"a\" [2]", "1 \"a\" [2 3]", false},
        {"1 \"a\" [2 3] 4", "1 \"a\" [2 3]", false},
        {"1 \"a\"", "1 \"a\" [2 3]", false},
        {"{1}", "[1]", false},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto e = parseValues(c.expected, error);
        const auto a = parseValues(c.actual, error);
        ASSERT_TRUE(e && a) << error;
        EXPECT_EQ(!mismatch(*e, *a), c.match) << c.expected << " / " << c.actual;
    }
}

TEST(WireText, TheTraceNamesCommandsAndMasksPasswords) {
    struct Case {
        Bytes payload;
        bool fromClient;
        std::string shown;
    } cases[] = {
        {net::build(net::CmdLogin{{u"alice", u"secret"}}), true, "login \"alice\" \"******\""},
        {net::build(net::CmdChangePassword{u"al", u"old", u"newer"}), true,
         "change-password \"al\" \"***\" \"*****\""},
        {{0x45, 0x34, 0x12, 0x00}, true, "checksum-answer 4660"},
        {{'m', 'a', 'r', 'v', 'u', 0}, true, "6 bytes: 6D 61 72 76 75 00 |marvu.|"},
        {{0x03, 2, 'm', 'e', 9, 'p'}, true, "6 bytes: 03 02 6D 65 09 70 |..me.p|"},
        {{0x3B, 0x12, 0x34}, false, "kServerRequestCRC 4660"},
    };
    for (const auto& c : cases) EXPECT_EQ(describeTraffic(c.payload, c.fromClient), c.shown);
}

// ---- script mode -------------------------------------------------------------------------------

class FakeLink final : public ScriptLink {
  public:
    void send(std::span<const uint8_t> p) override { sent.emplace_back(p.begin(), p.end()); }
    void close() override { closed = true; }
    void log(const std::string& line) override { lines.push_back(line); }
    std::vector<Bytes> sent;
    std::vector<std::string> lines;
    bool closed = false;
};

Script parsed(const std::string& text) {
    std::string error;
    auto s = Script::parse(text, error);
    EXPECT_TRUE(s) << error;
    return s ? *s : Script();
}

// Client payloads as the connection sends them: the command and a zero byte.
template <class T>
Bytes sent(const T& command) {
    Bytes b = net::build(command);
    b.push_back(0);
    return b;
}

TEST(DevServerScript, LinesThatAreNotUnderstoodNameTheirLine) {
    struct Case {
        const char* script;
        const char* error;
    } cases[] = {
        {"send kServerMove 1\n", "line 1: kServerMove: a number missing"},
        {"\n# a note\nsend kNoSuch 1\n", "line 3: no server message is named kNoSuch"},
        {"expect keep-alive\nexpect checksum-answer 70000", "line 2: checksum-answer: column 24:"},
        {"expect checksum answer 1\n", "line 1: no client command is named checksum"},
        {"wait\n", "line 1: one number of milliseconds"},
        {"wait -5\n", "line 1: one number of milliseconds"},
        {"timeout 10 20\n", "line 1: one number of milliseconds"},
        {"send <>\n", "line 1: a raw payload is one <...> of at least one byte"},
        {"close 1\n", "line 1: nothing may follow"},
        {"ignore\n", "line 1: ignore names one command or more"},
        {"ignore keep-alive nothing\n", "line 1: no client command is named nothing"},
        {"jump 3\n", "line 1: unknown directive jump"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Script::parse(c.script, error)) << c.script;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.script << " -> " << error;
    }
}

TEST(DevServerScript, PlaysMessagesPausesAndExpectedCommandsInOrder) {
    const Script script = parsed(
        "send kServerRequestCRC 0x1234   # a challenge\n"
        "send <0a 01 02>\n"
        "wait 100\n"
        "send #104 7\n"
        "ignore keep-alive\n"
        "expect checksum-answer 4660\n"
        "expect clock-answer 7 *\n");
    FakeLink link;
    ScriptRun run(script, link);
    run.advance(1000);
    ASSERT_EQ(link.sent.size(), 2u);
    EXPECT_EQ(link.sent[0], (Bytes{0x3B, 0x12, 0x34}));
    EXPECT_EQ(link.sent[1], (Bytes{0x0A, 0x01, 0x02}));
    EXPECT_EQ(run.dueInMs(1040), 60);
    // A command that comes during the pause waits for its line.
    run.received(sent(net::CmdChecksumAnswer{0x1234}), 1050);
    run.advance(1099);
    EXPECT_EQ(link.sent.size(), 2u);
    run.advance(1100);
    EXPECT_EQ(link.sent.size(), 3u);
    run.received(sent(net::CmdKeepAlive{}), 1110);
    run.received(sent(net::CmdClockAnswer{7, 123456}), 1120);
    EXPECT_EQ(run.state(), ScriptRun::State::Passed) << run.failure();
    EXPECT_EQ(link.lines, (std::vector<std::string>{
                              "line 1: sent kServerRequestCRC 4660",
                              "line 2: sent <0a 01 02>",
                              "line 4: sent #104 7",
                              "line 6: got checksum-answer 4660",
                              "line 7: ignored keep-alive",
                              "line 7: got clock-answer 7 123456",
                              "script passed",
                          }));
}

TEST(DevServerScript, FailsLoudlyWithTheLine) {
    struct Case {
        const char* script;
        Bytes command;  // empty: nothing comes
        const char* failure;
    } cases[] = {
        {"send kServerRequestCRC 1\nexpect checksum-answer 2\n", sent(net::CmdChecksumAnswer{1}),
         "line 2: checksum-answer 2 expected, got checksum-answer 1 (column 24: 2 expected, got "
         "1)"},
        {"expect say 0 \"hi\"\n", sent(net::CmdKeepAlive{}),
         "line 1: say 0 \"hi\" expected, got keep-alive"},
        {"expect login * \"pw\"\n", sent(net::CmdLogin{{u"me", u"other"}}),
         "line 1: login * \"pw\" expected, got login \"me\" \"*****\""},
        {"expect keep-alive\n", {0x99, 0x01}, "line 1: keep-alive expected, got <99 01>"},
        {"timeout 50\nexpect keep-alive\n",
         {},
         "line 2: keep-alive expected; nothing came in 50 ms"},
    };
    for (const auto& c : cases) {
        FakeLink link;
        const Script script = parsed(c.script);
        ScriptRun run(script, link);
        run.advance(0);
        if (!c.command.empty()) run.received(c.command, 10);
        run.advance(49);
        if (c.command.empty()) {
            EXPECT_EQ(run.state(), ScriptRun::State::Running);
        }
        run.advance(50);
        EXPECT_EQ(run.state(), ScriptRun::State::Failed) << c.script;
        EXPECT_EQ(run.failure().rfind(c.failure, 0), 0u) << run.failure();
        EXPECT_EQ(link.lines.back(), "script failed: " + run.failure());
    }
}

TEST(DevServerScript, TheClientLeavingFailsARunUnlessItHolds) {
    FakeLink link;
    const Script waiting = parsed("send kServerRequestCRC 1\nexpect checksum-answer 1\n");
    ScriptRun run(waiting, link);
    run.advance(0);
    run.left(5);
    EXPECT_EQ(run.state(), ScriptRun::State::Failed);
    EXPECT_EQ(run.failure(), "line 2: the client left");

    const Script holding = parsed("send kServerRequestCRC 1\nhold\nsend kServerRequestCRC 2\n");
    ScriptRun held(holding, link);
    held.advance(0);
    held.received(sent(net::CmdKeepAlive{}), 1);
    EXPECT_EQ(held.state(), ScriptRun::State::Running);
    held.left(5);
    EXPECT_EQ(held.state(), ScriptRun::State::Passed);

    FakeLink closing;
    const Script closes = parsed("close\nsend kServerRequestCRC 2\n");
    ScriptRun closed(closes, closing);
    closed.advance(0);
    EXPECT_TRUE(closing.closed);
    EXPECT_TRUE(closing.sent.empty());
    EXPECT_EQ(closed.state(), ScriptRun::State::Passed);
}

TEST(DevServerOptions, ScriptFile) {
    std::string error;
    auto o = parseOptions({"--script", "demo.script", "--trace"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->script, "demo.script");
    EXPECT_FALSE(parseOptions({"--script"}, error));
    EXPECT_FALSE(Script::load("/nonexistent/x.script", error));
    EXPECT_EQ(error, "/nonexistent/x.script: cannot be read");
}

}  // namespace
}  // namespace vs::devserver
