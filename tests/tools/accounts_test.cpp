// The development server's accounts: the SQLite store with its hashes, and the title screen's
// commands on the wire through the game port.
#include "devserver/accounts.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "devserver/login_flow.h"
#include "net/client_commands.h"
#include "net/packet_framing.h"
#include "net/server_messages.h"
#include "platform/tcp_socket.h"
#include "support/temp_dir.h"

namespace vs::devserver {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kStyles = 8;

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AccountStore, PasswordsAreKeptOnlyAsSaltedHashesAndAccountsSurviveReopening) {
    test::TempDir dir("accounts");
    const std::string path = (dir.path() / "accounts.db").string();
    std::string error;
    {
        auto store = AccountStore::open(path, kStyles, error);
        ASSERT_TRUE(store) << error;
        EXPECT_EQ(store->create("alice", "secret7", {3, true, 1, 2}), kAccepted);
        EXPECT_EQ(store->create("bob", "secret7", {0, false, 0, 0}), kAccepted);
        EXPECT_EQ(store->changePassword("bob", "secret7", "other9"), kAccepted);
    }
    const std::string bytes = readFile(path);
    EXPECT_EQ(bytes.find("secret7"), std::string::npos);
    EXPECT_EQ(bytes.find("other9"), std::string::npos);
    EXPECT_NE(bytes.find("$y$"), std::string::npos);

    auto store = AccountStore::open(path, kStyles, error);
    ASSERT_TRUE(store) << error;
    Account a;
    EXPECT_EQ(store->login("ALICE", "secret7", &a), kAccepted);
    EXPECT_EQ(a.name, "alice");
    EXPECT_EQ((std::vector<int>{a.style, a.female, a.nation, a.totem}),
              (std::vector<int>{3, 1, 1, 2}));
    EXPECT_EQ(store->login("bob", "secret7"), kWrongPassword);
    EXPECT_EQ(store->login("bob", "other9"), kAccepted);
}

TEST(AccountStore, OnePasswordOnTwoAccountsGivesTwoHashes) {
    const std::string first = hashPassword("same1"), second = hashPassword("same1");
    EXPECT_EQ(first.rfind("$y$", 0), 0u);
    EXPECT_NE(first, second);
    EXPECT_TRUE(verifyPassword("same1", first));
    EXPECT_TRUE(verifyPassword("same1", second));
    EXPECT_FALSE(verifyPassword("same2", first));
    EXPECT_FALSE(verifyPassword("same1", ""));
}

TEST(AccountStore, RefusesAFileOfAnotherSchemaOrProgram) {
    test::TempDir dir("accounts");
    std::string error;
    const std::string newer = (dir.path() / "newer.db").string();
    {
        auto store = AccountStore::open(newer, kStyles, error);
        ASSERT_TRUE(store);
    }
    {
        // A later server's schema.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(newer.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "PRAGMA user_version = 7", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    EXPECT_FALSE(AccountStore::open(newer, kStyles, error));
    EXPECT_NE(error.find("unknown schema version 7"), std::string::npos) << error;

    const auto text = dir.path() / "notes.txt";
    std::ofstream(text) << "not a database at all, just some words that fill a page";
    EXPECT_FALSE(AccountStore::open(text.string(), kStyles, error));
}

TEST(AccountNames, LettersDigitsAndLengths) {
    struct Case {
        const char* text;
        bool name, password;
    };
    const Case cases[] = {
        {"ab", true, false},
        {"a", false, false},
        {"a1b2", true, true},
        {"1abc", false, true},
        {"abcdefghijklmno", true, false},
        {"abcdefghijklmnop", false, false},
        {"ab c1", false, true},
        {"abc", true, false},
        {"abc!", false, false},
        {"\x7f"
         "abc1",
         false, false},
        {"12345678901234x", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(validAccountName(c.text), c.name) << c.text;
        EXPECT_EQ(validPassword(c.text), c.password) << c.text;
    }
}

// A client of the game port: packet mode from the start, the client's framing and cipher.
class GamePort : public testing::Test {
  protected:
    GamePort() {
        std::string error;
        accounts = AccountStore::open(":memory:", kStyles, error);
        flow = std::make_unique<LoginFlow>(*accounts);
        Options o;
        o.port = 0;
        o.gamePort = 0;
        o.trace = true;
        server = std::make_unique<Server>(o, flow.get(),
                                          [this](const std::string& l) { log.push_back(l); });
        EXPECT_TRUE(server->listen(error)) << error;
    }
    std::unique_ptr<platform::TcpSocket> connect() {
        auto socket = platform::TcpSocket::create();
        EXPECT_EQ(socket->connect({127, 0, 0, 1}, server->gamePort(), 2000, {}),
                  platform::NetResult::Ok);
        server->step(50);
        return socket;
    }
    void send(platform::TcpSocket& socket, Bytes payload) {
        payload.push_back(0);  // the zero byte that ends every client packet
        for (const auto& frame : writer.write(payload)) socket.sendAll(frame, {});
    }
    void send(platform::TcpSocket& socket, const net::ClientCommand& c) {
        send(socket, net::build(c));
    }
    // Steps the server until a payload arrives (or the connection ends: nothing).
    std::optional<Bytes> next(platform::TcpSocket& socket) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < end) {
            if (!got.empty()) {
                Bytes p = got.front();
                got.erase(got.begin());
                return p;
            }
            server->step(10);
            uint8_t buffer[4096];
            size_t n = 0;
            const auto r = socket.receive(buffer, n);
            if (r == platform::NetResult::Ok)
                reader.feed({buffer, n}, [this](Bytes p) { got.push_back(std::move(p)); });
            else if (r != platform::NetResult::WouldBlock)
                return std::nullopt;
        }
        return std::nullopt;
    }
    std::optional<net::MsgLoginCheck> answer(platform::TcpSocket& socket) {
        auto p = next(socket);
        return p ? net::parseLoginCheck(*p) : std::nullopt;
    }
    std::unique_ptr<platform::TcpSocket> admitted() {
        auto socket = connect();
        const std::string token = flow->issueToken();
        Bytes payload{0x10};
        payload.insert(payload.end(), token.begin(), token.end());
        send(*socket, payload);
        server->step(50);
        return socket;
    }
    bool logged(const std::string& part) const {
        for (const auto& l : log)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

    std::unique_ptr<AccountStore> accounts;
    std::unique_ptr<LoginFlow> flow;
    std::unique_ptr<Server> server;
    std::vector<std::string> log;
    net::PacketWriter writer;
    net::PacketReader reader;
    std::vector<Bytes> got;
};

TEST_F(GamePort, EveryRefusalHasItsCode) {
    ASSERT_EQ(accounts->create("taken", "pass1", {0, false, 0, 0}), kAccepted);
    auto socket = admitted();
    struct Case {
        const char* what;
        net::ClientCommand command;
        uint8_t code;
    };
    const Case cases[] = {
        {"creation before a name check", net::CmdCreateCharacter{1, false, 0, 0}, kNoNameChecked},
        {"name taken, in any case", net::CmdNameCheck{{u"TAKEN", u"pass1"}}, kNameTaken},
        {"name with a blank", net::CmdNameCheck{{u"new one", u"pass1"}}, kBadName},
        {"name starting with a digit", net::CmdNameCheck{{u"1new", u"pass1"}}, kBadName},
        {"password without a digit", net::CmdNameCheck{{u"newone", u"password"}}, kBadPassword},
        {"password too short", net::CmdNameCheck{{u"newone", u"p1"}}, kBadPassword},
        {"refused check, then creation", net::CmdCreateCharacter{1, false, 0, 0}, kNoNameChecked},
        {"accepted check", net::CmdNameCheck{{u"newone", u"pass1"}}, kAccepted},
        {"style beyond the heads", net::CmdCreateCharacter{kStyles, false, 0, 0}, kOutOfRange},
        {"nation 2", net::CmdCreateCharacter{1, false, 2, 0}, kOutOfRange},
        {"totem 4", net::CmdCreateCharacter{1, true, 1, 4}, kOutOfRange},
        {"creation", net::CmdCreateCharacter{7, true, 1, 3}, kAccepted},
        {"second creation, no check", net::CmdCreateCharacter{7, true, 1, 3}, kNoNameChecked},
        {"login, no such account", net::CmdLogin{{u"nobody", u"pass1"}}, kNoSuchAccount},
        {"login, wrong password", net::CmdLogin{{u"newone", u"pass2"}}, kWrongPassword},
        {"change, wrong old password", net::CmdChangePassword{u"newone", u"pass2", u"pass3"},
         kWrongPassword},
        {"change, bad new password", net::CmdChangePassword{u"newone", u"pass1", u"pass"},
         kBadPassword},
        {"change, no such account", net::CmdChangePassword{u"nobody", u"pass1", u"pass3"},
         kNoSuchAccount},
        {"change", net::CmdChangePassword{u"newone", u"pass1", u"pass3"}, kAccepted},
        {"login with the old password", net::CmdLogin{{u"newone", u"pass1"}}, kWrongPassword},
        {"login", net::CmdLogin{{u"newone", u"pass3"}}, kAccepted},
    };
    for (const Case& c : cases) {
        send(*socket, c.command);
        const auto a = answer(*socket);
        ASSERT_TRUE(a) << c.what;
        EXPECT_EQ(a->result, c.code) << c.what;
        if (c.code != kAccepted) {
            EXPECT_FALSE(a->text.empty()) << c.what;
        }
    }
    const auto made = accounts->find("newone");
    ASSERT_TRUE(made);
    EXPECT_EQ((std::vector<int>{made->style, made->female, made->nation, made->totem}),
              (std::vector<int>{7, 1, 1, 3}));
    EXPECT_EQ(flow->accountOf(*server->session(0)), "newone");

    // A second client cannot take the same character into the world.
    auto other = admitted();
    send(*other, net::CmdLogin{{u"NewOne", u"pass3"}});
    const auto a = answer(*other);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->result, kAlreadyInWorld);

    // Malformed commands are dropped, and the log never shows a password.
    send(*other, Bytes{0x03, 0x05, 'a'});
    server->step(50);
    EXPECT_TRUE(logged("malformed command dropped"));
    for (const auto& l : log) {
        EXPECT_EQ(l.find("pass1"), std::string::npos) << l;
        EXPECT_EQ(l.find("pass3"), std::string::npos) << l;
    }
}

TEST_F(GamePort, OnlyAValidTokenOnceOpensTheGamePort) {
    const std::string token = flow->issueToken();
    Bytes withToken{0x10};
    withToken.insert(withToken.end(), token.begin(), token.end());
    struct Case {
        const char* what;
        Bytes first;
        bool admitted;
    };
    const Case cases[] = {
        {"a login first", net::build(net::CmdLogin{{u"a", u"b"}}), false},
        {"an unknown token", {0x10, 'x', 'y', 'z'}, false},
        {"the token", withToken, true},
        {"the same token again", withToken, false},
    };
    for (const Case& c : cases) {
        auto socket = connect();
        send(*socket, c.first);
        send(*socket, net::build(net::CmdLogin{{u"nobody", u"pass1"}}));
        const auto reply = next(*socket);
        EXPECT_EQ(reply.has_value(), c.admitted) << c.what;
    }
}

}  // namespace
}  // namespace vs::devserver
