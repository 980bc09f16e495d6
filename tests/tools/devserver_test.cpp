// The development server and the headless client on loopback: the terminal phase, packet mode
// in both framings, and the connection's end; the reconnect question when no server runs.
#include "devserver/dev_server.h"

#include <gtest/gtest.h>

#include "devserver/script.h"
#include "net/server_message_rules.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/version.h"
#include "base/text.h"
#include "client/client_fixture.h"
#include "net/connection.h"
#include "platform/message.h"
#include "platform/tcp_socket.h"
#include "platform/virtual_keys.h"
#include "resources/string_table.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/layer.h"
#include "ui/message_box.h"

namespace vs::devserver {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using net::Framing;

// Line framing decodes whole groups of three bytes: up to two bytes may follow the payload.
bool arrivedAs(Framing framing, const Bytes& got, const Bytes& sent) {
    const size_t slack = framing == Framing::Lines ? 2 : 0;
    return got.size() >= sent.size() && got.size() <= sent.size() + slack &&
           std::equal(sent.begin(), sent.end(), got.begin());
}

uint16_t freePort() {
    auto l = platform::TcpListener::listen({127, 0, 0, 1}, 0, 1);
    return l ? l->port() : 0;
}

class Payloads final : public Handler {
  public:
    void arrived(Session&, std::span<const uint8_t> p) override {
        received.emplace_back(p.begin(), p.end());
    }
    std::vector<Bytes> received;
};

class Events final : public app::EventHandler {
  public:
    bool OnPacket(const app::InputEvent& e) override {
        if (e.subKind == 0) packets.push_back(e.data);
        return false;
    }
    bool OnConnectionEvent(const app::InputEvent& e) override {
        if (e.kind == app::InputEvent::kConnectionClosed) ++closed;
        return false;
    }
    std::vector<Bytes> packets;
    int closed = 0;
};

class EndToEnd : public client::test::ClientFixture {
  protected:
    EndToEnd() {
        hp.clock.followRealTime(true);
        options.noConnect = false;
    }
    ~EndToEnd() override {
        if (client_) {
            app::EventDispatcher::instance()->remove(&events);
            client_->shutDown();
        }
        client_.reset();
        frameClock_.reset();
    }

    void startServer(Framing framing, uint16_t port = 0, Handler* handler = nullptr) {
        Options o;
        o.port = port;
        o.framing = framing;
        o.trace = true;
        server = std::make_unique<Server>(o, handler ? handler : &payloads,
                                          [this](const std::string& l) { log.push_back(l); });
        std::string error;
        ASSERT_TRUE(server->listen(error)) << error;
    }
    // The client starts up against 127.0.0.1:port; its first screen connects on the first frame.
    void startClient(uint16_t port) {
        options.words = {"127.0.0.1", std::to_string(port)};
        frameClock_ = std::make_unique<app::FrameClock>(hp.clock);
        client_ = std::make_unique<client::GameClient>(options);
        client_->startUp();
        app::EventDispatcher::instance()->insert(&events);
    }
    // Runs the client's main loop and the server side by side until done() or the time is up.
    bool pumpUntil(const std::function<bool()>& done, int ms = 15000) {
        return runUntil(
            *client_,
            [this] {
                if (server) server->step(0);
            },
            done, ms);
    }
    Session* playing() {
        Session* s = server ? server->session(0) : nullptr;
        return s && s->phase() == Session::Phase::Playing ? s : nullptr;
    }
    // The message box asking whether to connect again, while it is up.
    static ui::MessageBox* reconnectBox() {
        auto* screen = ui::ScreenPane::instance();
        ui::Layer* layer = screen ? screen->GetLayerById(ui::kDialogLayer) : nullptr;
        if (!layer) return nullptr;
        for (const auto& node : layer->Root().children) {
            auto* box = dynamic_cast<ui::MessageBox*>(node->pane);
            if (box && box->ButtonCount() == 2 && !box->IsClosing()) return box;
        }
        return nullptr;
    }
    static std::u16string caption(const ui::MessageBox& box, int index) {
        auto* b = dynamic_cast<ui::TextButtonControlPane*>(box.GetControl(index));
        return b ? b->Caption() : std::u16string();
    }
    void pressKey(uint8_t vk) {
        hp.window.post(platform::Message(platform::kWmKeyDown, vk, 0));
        hp.window.post(platform::Message(platform::kWmKeyUp, vk, 0));
    }
    bool logged(const std::string& part) const {
        for (const auto& l : log)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

    Payloads payloads;
    Events events;
    std::vector<std::string> log;
    std::unique_ptr<Server> server;
    std::unique_ptr<app::FrameClock> frameClock_;
    std::unique_ptr<client::GameClient> client_;
};

class BothFramings : public EndToEnd, public testing::WithParamInterface<Framing> {};

TEST_P(BothFramings, TheClientReachesPacketModeAndBothSidesExchangePayloads) {
    const Framing framing = GetParam();
    startServer(framing);
    startClient(server->port());
    const Bytes accepted{0x00, 0x00};
    ASSERT_TRUE(pumpUntil([&] { return playing() && !events.packets.empty(); }))
        << testing::PrintToString(log);
    EXPECT_TRUE(arrivedAs(framing, events.packets[0], accepted));
    EXPECT_EQ(playing()->terminalType(), "dumb");

    // The greeting with its zero byte, then the version packet, and nothing else.
    ASSERT_EQ(payloads.received.size(), 2u);
    EXPECT_TRUE(arrivedAs(framing, payloads.received[0], {'m', 'a', 'r', 'v', 'u', 0}));
    const app::VersionInfo v = app::programVersion();
    const auto version = uint16_t(v.version), build = uint16_t(v.build);
    EXPECT_TRUE(arrivedAs(framing, payloads.received[1],
                          {0x00, uint8_t(version >> 8), uint8_t(version), 0xC5, uint8_t(build >> 8),
                           uint8_t(build), 0x00}));
    EXPECT_TRUE(logged("greeting"));
    EXPECT_TRUE(logged(base::strprintf("version %d build %d: accepted", v.version, v.build)));

    // An enciphered payload longer than a cipher block arrives as one packet.
    const Bytes payload{0x0A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    playing()->send(payload);
    ASSERT_TRUE(pumpUntil([&] { return events.packets.size() == 2; }));
    EXPECT_TRUE(arrivedAs(framing, events.packets[1], payload));

    playing()->close();
    ASSERT_TRUE(pumpUntil([&] { return events.closed == 1; }));
    EXPECT_FALSE(net::Connection::instance()->isConnected());
}

INSTANTIATE_TEST_SUITE_P(DevServer, BothFramings, testing::Values(Framing::Binary, Framing::Lines),
                         [](const auto& info) {
                             return info.param == Framing::Binary ? "Binary" : "Lines";
                         });

TEST_F(EndToEnd, WithoutAServerTheClientAsksAndLeaveEndsIt) {
    startClient(freePort());
    ui::MessageBox* box = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (box = reconnectBox()) != nullptr; }));
    ASSERT_NE(box->TextLabel(), nullptr);
    EXPECT_EQ(box->TextLabel()->Text(), u"The server cannot be reached. Please try again later.");
    EXPECT_EQ(caption(*box, 1), u"Reconnect");
    EXPECT_EQ(caption(*box, 2), u"Leave");
    // Escape is the box's Leave.
    pressKey(platform::kVkEscape);
    ASSERT_TRUE(pumpUntil([&] { return traced("request exit"); }));
}

TEST_F(EndToEnd, ReconnectReachesAServerStartedMeanwhileAndItsEndIsAnEvent) {
    const uint16_t port = freePort();
    startClient(port);
    ASSERT_TRUE(pumpUntil([&] { return reconnectBox() != nullptr; }));
    startServer(Framing::Binary, port);
    // Enter presses the default button, Reconnect.
    pressKey(platform::kVkReturn);
    ASSERT_TRUE(pumpUntil([&] { return playing() != nullptr; }));
    EXPECT_EQ(reconnectBox(), nullptr);
    // The server goes away with the client still in the game.
    server.reset();
    ASSERT_TRUE(pumpUntil([&] { return events.closed == 1; }));
}

// What the world view will do with every packet: the rules that answer at once or ask for an
// object the world does not hold (this world holds none).
class Answers final : public app::EventHandler, net::ObjectDirectory, net::CommandSender {
  public:
    bool OnPacket(const app::InputEvent& e) override {
        if (e.subKind != 0) return false;
        const auto m = net::parseServerMessage(e.data);
        if (m && !net::dropForUnknownObject(*m, *this, *this)) net::answerAtOnce(*m, 77, *this);
        return false;
    }
    bool holdsObject(uint32_t) const override { return false; }
    void send(std::span<const uint8_t> payload) override {
        net::Connection::instance()->send(payload);
    }
};

class ScriptedEndToEnd : public EndToEnd {
  protected:
    // Plays the script against the client until it passes or fails.
    bool play(const std::string& text, Framing framing) {
        std::string error;
        auto script = Script::parse(text, error);
        EXPECT_TRUE(script) << error;
        if (!script) return false;
        player = std::make_unique<ScriptPlayer>(std::move(*script));
        startServer(framing, 0, player.get());
        startClient(server->port());
        app::EventDispatcher::instance()->insert(&answers);
        const bool ended = pumpUntil([&] { return player->state() != ScriptRun::State::Running; });
        app::EventDispatcher::instance()->remove(&answers);
        EXPECT_TRUE(ended) << testing::PrintToString(log);
        return ended;
    }
    ~ScriptedEndToEnd() override { server.reset(); }

    Answers answers;
    std::unique_ptr<ScriptPlayer> player;
};

TEST_F(ScriptedEndToEnd, AScriptDrivesTheClientAndTheLogShowsWhatItSent) {
    ASSERT_TRUE(
        play("send kServerRequestCRC 0x1234\n"
             "expect checksum-answer 0x1234\n"
             "send #104 9\n"
             "expect clock-answer 9 *\n"
             "wait 20\n"
             "send kServerMoveObject 4242 10 12 1   # an object the client does not hold\n"
             "expect request-object 4242\n"
             "send #75 <0e 00 02 68 69>             # sent back as it came: a say\n"
             "expect say 0 \"hi\"\n",
             Framing::Binary));
    EXPECT_EQ(player->state(), ScriptRun::State::Passed) << player->failure();

    // The trace names every command the client sent.
    std::vector<std::string> commands;
    for (const auto& l : log) {
        if (l.rfind("[1] <- ", 0) == 0) commands.push_back(l.substr(7));
    }
    ASSERT_EQ(commands.size(), 6u) << testing::PrintToString(log);
    EXPECT_EQ(commands[0], "6 bytes: 6D 61 72 76 75 00 |marvu.|");
    EXPECT_EQ(commands[1].rfind("version ", 0), 0u);
    EXPECT_EQ((std::vector<std::string>(commands.begin() + 2, commands.end())),
              (std::vector<std::string>{"checksum-answer 4660", "clock-answer 9 77",
                                        "request-object 4242", "say 0 \"hi\""}));
    EXPECT_TRUE(logged("[1] line 9: got say 0 \"hi\""));
    EXPECT_TRUE(logged("[1] script passed"));
}

TEST_F(ScriptedEndToEnd, AScriptThatFailsSaysWhy) {
    ASSERT_TRUE(play("send kServerRequestCRC 1\nexpect checksum-answer 2\n", Framing::Lines));
    EXPECT_EQ(player->state(), ScriptRun::State::Failed);
    EXPECT_TRUE(
        logged("[1] script failed: line 2: checksum-answer 2 expected, got "
               "checksum-answer 1"))
        << testing::PrintToString(log);
}

TEST(DevServerOptions, CommandLine) {
    std::string error;
    auto o = parseOptions({"--port", "0", "--framing", "line", "--trace", "--require-version",
                           "311", "--db", "a.db", "--game-port", "0", "--refuse-version"},
                          error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->port, 0);
    EXPECT_EQ(o->framing, Framing::Lines);
    EXPECT_TRUE(o->trace);
    EXPECT_EQ(o->requireVersion, 311);
    EXPECT_EQ(o->db, "a.db");
    EXPECT_EQ(o->gamePort, 0);
    EXPECT_TRUE(o->refuseVersion);
    EXPECT_EQ(parseOptions({}, error)->port, 2323);
    EXPECT_EQ(parseOptions({}, error)->gamePort, -1);
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--port", "70000"},
                                                                 {"--port"},
                                                                 {"--framing", "lines"},
                                                                 {"--require-version", "x"},
                                                                 {"--db"},
                                                                 {"--game-port", "x"}}) {
        EXPECT_FALSE(parseOptions(bad, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(DevServerTrace, PasswordsAreMasked) {
    struct Case {
        Bytes payload;
        std::string text;
    } cases[] = {
        {{0x03, 2, 'm', 'e', 3, 'p', 'w', 'd'}, "|..me.***|"},
        {{0x26, 1, 'a', 2, 'o', 'l', 2, 'n', 'w'}, "|&.a.**.**|"},
        {{0x03, 2, 'm', 'e', 9, 'p'}, "|..me.p|"},  // cut short: nothing to mask, nothing read past
        {{0x0E, 2, 'h', 'i'}, "|..hi|"},
    };
    for (const auto& c : cases) {
        const std::string d = describePayload(c.payload);
        EXPECT_NE(d.find(c.text), std::string::npos) << d;
        EXPECT_EQ(d.find("pwd"), std::string::npos);
    }
}

}  // namespace
}  // namespace vs::devserver
