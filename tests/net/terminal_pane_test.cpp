#include "net/terminal_pane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "base/log.h"
#include "net/connection.h"

namespace vs::net {
namespace {

using Bytes = std::vector<uint8_t>;

// Writes down what the scanner asks for, one word each.
class Recorder final : public TerminalScanner::Actions {
  public:
    void ring() override { log.push_back("ring"); }
    void sendText(std::string_view bytes) override { log.push_back("text " + hex(bytes)); }
    void sendByte(uint8_t byte) override {
        log.push_back("byte " + hex({reinterpret_cast<const char*>(&byte), 1}));
    }
    void selectFraming(Framing f) override {
        log.push_back(f == Framing::Binary ? "binary" : "lines");
    }
    void enterPacketMode() override { log.push_back("packet mode"); }
    static std::string hex(std::string_view bytes) {
        std::string out;
        for (unsigned char c : bytes) out += (out.empty() ? "" : " ") + base::strprintf("%02X", c);
        return out;
    }
    std::vector<std::string> log;
};

Bytes bytes(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

TEST(TerminalScanner, AnswersTheNegotiationAndFindsTheFramingEscape) {
    using Log = std::vector<std::string>;
    struct Case {
        const char* name;
        std::vector<std::string_view> chunks;
        Log expected;
        int state;
    } cases[] = {
        {"ESC C and any byte: binary",
         {"\x1b"
          "Cz"},
         {"binary", "packet mode"},
         6},
        {"ESC S: lines", {"\x1bS\n"}, {"lines", "packet mode"}, 6},
        {"the escape across chunks", {"ab\x1b", "C", "!rest"}, {"binary", "packet mode"}, 6},
        {"ESC ( B is skipped", {"\x1b(B", "x"}, {}, 0},
        {"ESC ( C does not select",
         {"\x1b(C"
          "Cx"},
         {},
         0},
        {"ESC and another byte", {"\x1b[C"}, {}, 0},
        {"IAC DO TERMINAL-TYPE",
         {"\xff\xfd\x18"},
         {"text FF FB 18 FF FA 18", "byte 00", "text 64 75 6D 62 FF F0"},
         0},
        {"IAC DO another option", {"\xff\xfd\x01"}, {"text FF FC 01"}, 0},
        {"IAC DO option 0, all three bytes",
         {std::string_view("\xff\xfd\x00", 3)},
         {"text FF FC 00"},
         0},
        {"IAC WILL is not answered", {"\xff\xfb\x01"}, {}, 0},
        {"IAC split over chunks",
         {"\xff", "\xfd", "\x18"},
         {"text FF FB 18 FF FA 18", "byte 00", "text 64 75 6D 62 FF F0"},
         0},
        {"bell",
         {"a\x07"
          "b"},
         {"ring"},
         0},
        {"a registry script is skipped whole",
         {"\x1b]%I\n</RunRegistry=\x07\x1b"
          "Cx"},
         {},
         0},
        {"the script is looked for from the chunk's third byte",
         {"x\x1b%I\n</RunRegistry=", "Cx"},
         {},
         0},
        {"a chunk too short to hold the script",
         {"\x1b"
          "C",
          "x"},
         {"binary", "packet mode"},
         6},
    };
    for (const auto& c : cases) {
        TerminalScanner scanner;
        Recorder r;
        for (auto chunk : c.chunks) scanner.scan(bytes(chunk), r);
        EXPECT_EQ(r.log, c.expected) << c.name;
        EXPECT_EQ(scanner.state(), c.state) << c.name;
    }
}

TEST(TerminalScanner, LooksAtNothingAfterPassingToPacketMode) {
    TerminalScanner scanner;
    Recorder r;
    EXPECT_TRUE(scanner.scan(bytes("\x1b"
                                   "Cx\x07\xff\xfd\x18"),
                             r));
    EXPECT_FALSE(scanner.scan(bytes("\x07\x1bSx"), r));
    EXPECT_EQ(r.log, (std::vector<std::string>{"binary", "packet mode"}));
    EXPECT_TRUE(scanner.done());
}

TEST(TerminalPane, ABellRingsOnStandardError) {
    app::EventDispatcher dispatcher;
    Connection connection;  // not started: nothing is sent
    InterimTerminalPrompt prompt(u"test");
    TerminalPane pane(connection, prompt, {});
    app::InputEvent e;
    e.kind = app::InputEvent::kData;
    e.subKind = 1;
    e.data = bytes("x\x07y");
    testing::internal::CaptureStderr();
    dispatcher.post(e);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\x07");
    // A packet is not the terminal's.
    e.subKind = 0;
    EXPECT_FALSE(pane.OnPacket(e));
}

}  // namespace
}  // namespace vs::net
