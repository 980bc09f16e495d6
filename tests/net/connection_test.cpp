#include "net/connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "app/crash_reporter.h"
#include "app/settings.h"
#include "app/version.h"
#include "base/text.h"
#include "mkdata/archive_writer.h"
#include "net/cipher.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_mapper.h"
#include "platform/tcp_socket.h"
#include "resources/archive_manager.h"
#include "support/temp_dir.h"

namespace vs::net {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using platform::Message;
using platform::NetResult;
using platform::TcpListener;
using platform::TcpSocket;
using Clock = std::chrono::steady_clock;

constexpr platform::Ipv4Address kLoopback{127, 0, 0, 1};
constexpr int kWaitMs = 5000;

std::unique_ptr<TcpListener> listenOnLoopback(int backlog = 8) {
    auto l = TcpListener::listen(kLoopback, 0, backlog);
    EXPECT_TRUE(l);
    return l;
}

// A connection the listener holds, waiting for it at most kWaitMs.
std::unique_ptr<TcpSocket> acceptWithin(TcpListener& l, int ms = kWaitMs) {
    platform::PollEntry e{l.handle()};
    if (platform::pollHandles({&e, 1}, nullptr, ms) == 0) return nullptr;
    return l.accept();
}

// Exactly n bytes from the peer, or what came before the time ran out.
Bytes readBytes(TcpSocket& s, size_t n, int ms = kWaitMs) {
    Bytes out;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (out.size() < n && Clock::now() < end) {
        platform::PollEntry e{s.handle()};
        platform::pollHandles({&e, 1}, nullptr, 50);
        uint8_t buf[4096];
        size_t got = 0;
        if (s.receive({buf, std::min(sizeof buf, n - out.size())}, got) != NetResult::Ok) continue;
        out.insert(out.end(), buf, buf + got);
    }
    return out;
}

// No byte arrives within ms.
bool quietFor(TcpSocket& s, int ms) {
    platform::PollEntry e{s.handle()};
    return platform::pollHandles({&e, 1}, nullptr, ms) == 0;
}

class ConnectionTest : public testing::Test {
  protected:
    ConnectionTest() {
        hp.clock.followRealTime(true);
        connection.setPauseAfterOpen(0);
        connection.start();
    }
    ~ConnectionTest() override { EXPECT_TRUE(connection.stop()); }

    // Opens to the listener through the settings, as the reconnect dialog does, and takes the
    // server's end of it.
    std::unique_ptr<TcpSocket> openTo(TcpListener& l) {
        settings.setServerAddress(kLoopback);
        settings.setBasePort(l.port());
        connection.open();
        EXPECT_TRUE(connection.isConnected());
        return acceptWithin(l);
    }

    // The next window message of that id; the others before it are kept in `seen`.
    std::optional<Message> nextMessage(uint32_t id, int ms = kWaitMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) {
            Message m;
            while (hp.window.peek(m)) {
                if (m.id == id) return m;
                seen.push_back(std::move(m));
            }
            hp.window.wait(20);
        }
        return std::nullopt;
    }

    platform::HeadlessPlatform hp;
    app::Settings settings;
    Connection connection;
    std::vector<Message> seen;
};

TEST_F(ConnectionTest, SendsPacketsTextAndBytesAsTheWireExpects) {
    auto listener = listenOnLoopback();
    auto peer = openTo(*listener);
    ASSERT_TRUE(peer);
    connection.setLineFraming(false);

    // An empty payload is still one zero byte; opcode 0 travels in clear.
    connection.send({});
    EXPECT_EQ(readBytes(*peer, 4), (Bytes{0xAA, 0x00, 0x01, 0x00}));

    const app::VersionInfo v = app::programVersion();
    connection.sendVersion();
    EXPECT_EQ(readBytes(*peer, 10),
              (Bytes{0xAA, 0x00, 0x07, 0x00, uint8_t(uint16_t(v.version) >> 8), uint8_t(v.version),
                     0xC5, uint8_t(uint16_t(v.build) >> 8), uint8_t(v.build), 0x00}));

    // Text goes out as it is, a zero inside included; then a single byte.
    connection.sendText(std::string_view("\xFF\xFC\x00", 3));
    connection.sendByte(7);
    EXPECT_EQ(readBytes(*peer, 4), (Bytes{0xFF, 0xFC, 0x00, 0x07}));

    // While blocked, neither a packet nor the version is posted.
    connection.setSendBlocked(true);
    const Bytes chat{0x0E, 'h', 'i'};
    connection.send(chat);
    connection.sendVersion();
    connection.setSendBlocked(false);
    connection.sendByte(1);
    EXPECT_EQ(readBytes(*peer, 1), Bytes{1});
    EXPECT_TRUE(quietFor(*peer, 100));

    // An enciphered payload: opcode, counter, body, and the zero byte send adds.
    connection.send(chat);
    Bytes frame = readBytes(*peer, 8);
    ASSERT_EQ(frame.size(), 8u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 3), (Bytes{0xAA, 0x00, 0x05}));
    EXPECT_EQ(decipher(Bytes(frame.begin() + 3, frame.end())), (Bytes{0x0E, 'h', 'i', 0x00}));

    // Line framing: the 3-byte payload 00 01 00 is one line.
    connection.setLineFraming(true);
    connection.send(Bytes{0x00, 0x01});
    const std::string line = "*01;;?;.\n";
    const Bytes got = readBytes(*peer, line.size());
    EXPECT_EQ(std::string(got.begin(), got.end()), line);
}

TEST_F(ConnectionTest, APendingCrashReportGoesOutOnceAndIsDeleted) {
    test::TempDir dir("crash-upload");
    app::CrashReporter reporter(dir / "MCrash.nfo");
    std::ofstream(dir / "MCrash.nfo", std::ios::binary) << "report";
    auto listener = listenOnLoopback();
    auto peer = openTo(*listener);
    ASSERT_TRUE(peer);
    connection.setLineFraming(false);
    connection.uploadPendingCrashReport();
    connection.uploadPendingCrashReport();
    // 0x42 0x01, the length, the report and its zero byte; enciphered with the counter.
    const Bytes frame = readBytes(*peer, 3 + 12);
    ASSERT_EQ(frame.size(), 15u);
    EXPECT_EQ(decipher(Bytes(frame.begin() + 3, frame.end())),
              (Bytes{0x42, 0x01, 0x00, 0x06, 'r', 'e', 'p', 'o', 'r', 't', 0x00}));
    EXPECT_TRUE(quietFor(*peer, 100));
    EXPECT_FALSE(std::filesystem::exists(dir / "MCrash.nfo"));
}

TEST_F(ConnectionTest, ReadsRawBytesThenPacketsUntilTheServerCloses) {
    auto listener = listenOnLoopback();
    auto peer = openTo(*listener);
    ASSERT_TRUE(peer);
    const platform::Interrupt none;

    const Bytes terminal{0xFF, 0xFD, 0x18};
    ASSERT_EQ(peer->sendAll(terminal, none), NetResult::Ok);
    auto raw = nextMessage(platform::kMsgRawData);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->data, terminal);

    connection.setLineFraming(false);
    connection.setRaw(false);
    connection.synchronise();
    // Two payloads, one in clear and one enciphered by the server, split across writes.
    const Bytes plain{0x40, 1, 2, 3};
    const Bytes secret{0x0A, 9, 8, 7, 6};
    Bytes stream{0xAA, 0x00, uint8_t(plain.size())};
    stream.insert(stream.end(), plain.begin(), plain.end());
    const Bytes wire = encipher(secret, 77);
    stream.insert(stream.end(), {0xAA, 0x00, uint8_t(wire.size())});
    stream.insert(stream.end(), wire.begin(), wire.end());
    ASSERT_EQ(peer->sendAll(std::span(stream).first(5), none), NetResult::Ok);
    std::this_thread::sleep_for(20ms);
    ASSERT_EQ(peer->sendAll(std::span(stream).subspan(5), none), NetResult::Ok);
    auto first = nextMessage(platform::kMsgPacketData);
    auto second = nextMessage(platform::kMsgPacketData);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->data, plain);
    EXPECT_EQ(second->data, secret);

    peer.reset();
    auto closed = nextMessage(platform::kMsgSocket);
    ASSERT_TRUE(closed);
    EXPECT_EQ(platform::lowWord(closed->lParam), uint32_t(Connection::kSocketClosed));
    EXPECT_FALSE(connection.isConnected());
}

TEST_F(ConnectionTest, TheServerEndingTheTerminalPhaseIsNoticedToo) {
    auto listener = listenOnLoopback();
    auto peer = openTo(*listener);
    ASSERT_TRUE(peer);
    peer.reset();
    EXPECT_TRUE(nextMessage(platform::kMsgSocket));
    EXPECT_FALSE(connection.isConnected());
}

TEST_F(ConnectionTest, TheFallbackListIsTriedInOrderAndTheServerThatAnswersIsKept) {
    auto first = listenOnLoopback();
    auto second = listenOnLoopback();
    uint16_t closedPort;
    {
        auto closed = listenOnLoopback();
        closedPort = closed->port();
    }
    const std::string list =
        "onefield\r\n"
        "nowhere.test 1\r\n"
        "closed.test " +
        std::to_string(closedPort) +
        "\r\n"
        "\tsecond.test  " +
        std::to_string(second->port()) +
        "\r\n"
        "first.test " +
        std::to_string(first->port()) + "\r\n";
    mkdata::ArchiveWriter archive;
    archive.add("CONNADDR", list);
    platform::MemoryFileMapper files;
    files.add("MISC.DAT", archive.build());
    auto archives = std::make_unique<resources::ArchiveManager>(files);
    ASSERT_TRUE(archives->Mount("MISC.DAT"));
    for (const char* host : {"closed.test", "second.test", "first.test"})
        hp.resolver.add(host, kLoopback);

    // No address set: the list decides.
    connection.openWithFallback();
    ASSERT_TRUE(connection.isConnected());
    EXPECT_TRUE(acceptWithin(*second));
    EXPECT_FALSE(acceptWithin(*first, 100));
    EXPECT_EQ(hp.resolver.asked(),
              (std::vector<std::string>{"nowhere.test", "closed.test", "second.test"}));
    // The unresolvable line does not count; the refused one does.
    const std::string port = std::to_string(second->port());
    EXPECT_EQ(settings.connectedServerText(), base::asciiToUtf16("1.127.0.0.1." + port));
    EXPECT_EQ(settings.serverAddress(), kLoopback);
    EXPECT_EQ(settings.basePort(), second->port());
    EXPECT_EQ(settings.serverIndex(), 1);

    // A plain open reaches the same server again.
    connection.open();
    EXPECT_TRUE(connection.isConnected());
    EXPECT_TRUE(acceptWithin(*second));

    // Neither the address nor a list: no connection.
    settings.setBasePort(closedPort);
    archives.reset();
    connection.openWithFallback();
    EXPECT_FALSE(connection.isConnected());
}

TEST_F(ConnectionTest, StopAndCloseEndAConnectThatHangs) {
    // A listener whose queue is full lets further connects hang.
    auto listener = listenOnLoopback(0);
    std::vector<std::unique_ptr<TcpSocket>> fillers;
    NetResult last = NetResult::Ok;
    for (int i = 0; i < 3; ++i) {
        fillers.push_back(TcpSocket::create());
        last = fillers.back()->connect(kLoopback, listener->port(), 200, {});
    }
    ASSERT_EQ(last, NetResult::TimedOut);
    settings.setServerAddress(kLoopback);
    settings.setBasePort(listener->port());

    connection.open();
    std::this_thread::sleep_for(100ms);
    auto start = Clock::now();
    connection.close();
    EXPECT_FALSE(connection.isConnected());
    EXPECT_LT(Clock::now() - start, 1s);

    connection.open();
    std::this_thread::sleep_for(100ms);
    start = Clock::now();
    EXPECT_TRUE(connection.stop(2000));
    EXPECT_LT(Clock::now() - start, 1s);
}

TEST(ConnectionAddressLine, HostAndPortSeparatedByBlanksOrTabs) {
    struct Case {
        std::string_view line;
        std::optional<std::pair<std::string, uint16_t>> expected;
    } cases[] = {
        {"127.0.0.1 2323", {{"127.0.0.1", 2323}}},
        {" \tgame.example\t\t23 extra\r", {{"game.example", 23}}},
        {"host notaport", {{"host", 0}}},
        {"onefield", std::nullopt},
        {"  \t ", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = Connection::parseAddressLine(c.line);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.line;
        if (!got) continue;
        EXPECT_EQ(got->host, c.expected->first) << c.line;
        EXPECT_EQ(got->port, c.expected->second) << c.line;
    }
}

}  // namespace
}  // namespace vs::net
