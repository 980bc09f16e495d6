// The title screen against the development server's accounts, end to end: the headless client
// and the server on loopback with a database of its own. The test plays the dialogs' part
// through their forms: server choice, transfer, a new character, a wrong then the right
// password, the world placeholder; then the server restarts and the same account logs in.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/input_man.h"
#include "app/settings.h"
#include "base/text.h"
#include "client/client_fixture.h"
#include "devserver/accounts.h"
#include "devserver/dev_server.h"
#include "devserver/login_flow.h"
#include "net/connection.h"
#include "platform/tcp_socket.h"
#include "platform/virtual_keys.h"
#include "screens/fake_form_view.h"
#include "screens/title_forms.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "screens/world_placeholder.h"
#include "support/temp_dir.h"

namespace vs::devserver {
namespace {

using Clock = std::chrono::steady_clock;
using net::Framing;
using screens::Field;
using screens::test::FakeView;

uint16_t freePort() {
    auto l = platform::TcpListener::listen({127, 0, 0, 1}, 0, 1);
    return l ? l->port() : 0;
}

// Hands the server's answers to the form that waits for one, as its dialog would.
class Answers final : public app::EventHandler {
  public:
    bool OnPacket(const app::InputEvent& e) override {
        if (e.subKind != 0) return false;
        if (auto r = screens::ParseLoginResult(e.data); r && onResult) onResult(*r);
        return false;
    }
    std::function<void(const screens::LoginResult&)> onResult;
};

class TitleFlow : public client::test::ClientFixture, public testing::WithParamInterface<Framing> {
  protected:
    TitleFlow() {
        hp.clock.followRealTime(true);
        options.noConnect = false;
        port = freePort();
    }
    ~TitleFlow() override {
        if (client_) {
            app::EventDispatcher::instance()->remove(&answers);
            client_->shutDown();
        }
        client_.reset();
        frameClock_.reset();
        stopServer();
    }
    void startServer() {
        std::string error;
        accounts = AccountStore::open((db / "accounts.db").string(), 8, error);
        ASSERT_TRUE(accounts) << error;
        flow = std::make_unique<LoginFlow>(*accounts);
        Options o;
        o.port = port;
        o.gamePort = 0;
        o.framing = GetParam();
        o.trace = true;
        server = std::make_unique<Server>(o, flow.get(),
                                          [this](const std::string& l) { log.push_back(l); });
        ASSERT_TRUE(server->listen(error)) << error;
    }
    void stopServer() {
        server.reset();
        flow.reset();
        accounts.reset();
    }
    void startClient() {
        options.words = {"127.0.0.1", std::to_string(port)};
        frameClock_ = std::make_unique<app::FrameClock>(hp.clock);
        client_ = std::make_unique<client::GameClient>(options);
        client_->startUp();
        app::EventDispatcher::instance()->insert(&answers);
    }
    bool pumpUntil(const std::function<bool()>& done, int ms = 20000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (Clock::now() > end) return false;
            hp.window.wait(5);
            platform::Message m;
            while (hp.window.peek(m)) {
                client_->windowProc(m);
                m = platform::Message();
            }
            client_->frameStep();
            if (server) server->step(0);
        }
        return true;
    }
    std::string boxTexts() const {
        std::string out;
        for (const auto& b : hp.messageBox.shown()) out += " [" + base::utf16ToUtf8(b.text) + "]";
        return out;
    }
    bool waiting() const {
        auto* w = screens::WaitScreen::instance();
        return w && !w->IsClosing();
    }
    screens::TitlePane* title() const {
        auto* t = screens::TitlePane::instance();
        return t && !t->IsClosing() ? t : nullptr;
    }
    // The commands the server logged as received, by name, in order.
    std::vector<std::string> commands() const {
        std::vector<std::string> out;
        for (const auto& l : log) {
            const size_t at = l.find("] <- ");
            if (at == std::string::npos) continue;
            std::string name = l.substr(at + 5);
            name = name.substr(0, name.find(' '));
            // The greeting is no command: it shows as its byte count.
            // A crash report left by an earlier run of anything on this machine goes along
            // with the transfer; it is no step of this test.
            if (name != "keep-alive" && name != "crash-report" && !std::isdigit(uint8_t(name[0])))
                out.push_back(name);
        }
        return out;
    }
    bool logged(const std::string& part) const {
        for (const auto& l : log)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

    // From the title: the server list, a choice, the transfer to the game port.
    void chooseServer() {
        ASSERT_TRUE(pumpUntil([&] {
            auto* s = app::Settings::instance();
            return title() && s && s->serverCount() == 2;
        })) << testing::PrintToString(log)
            << boxTexts();
        std::vector<net::ServerEntry> list;
        for (const auto& e : app::Settings::instance()->servers())
            list.push_back({e.id, 0, e.port, e.name, e.description, e.agreement});
        EXPECT_EQ(list[0].name, u"Vestrel");
        EXPECT_EQ(list[1].description, u"The same village, by the back door");
        screens::ServerForm servers(*title());
        servers.SetList(list);
        servers.Select(1);
        ASSERT_TRUE(servers.Choose());
        ASSERT_TRUE(pumpUntil([&] { return logged("transferred") && !waiting(); }))
            << testing::PrintToString(log);
    }
    // A login with the password; the form's answer.
    void login(FakeView& view, const std::u16string& password, bool enters) {
        view.fields = {{Field::Name, u"Rowan"}, {Field::Password, password}};
        screens::LoginForm form(*title(), view);
        view.onSchedule = [&] { form.Due(); };
        answers.onResult = [&](const screens::LoginResult& r) { form.Result(r); };
        form.Ok();
        ASSERT_TRUE(pumpUntil([&] {
            return !form.pending() && (!enters || screens::WorldPlaceholderPane::instance());
        })) << testing::PrintToString(log);
        answers.onResult = nullptr;
    }

    test::TempDir db{"titleflow"};
    uint16_t port = 0;
    Answers answers;
    std::unique_ptr<AccountStore> accounts;
    std::unique_ptr<LoginFlow> flow;
    std::unique_ptr<Server> server;
    std::vector<std::string> log;
    std::unique_ptr<app::FrameClock> frameClock_;
    std::unique_ptr<client::GameClient> client_;
};

TEST_P(TitleFlow, ANewCharacterLogsInAndAgainAfterARestart) {
    startServer();
    startClient();
    ASSERT_NO_FATAL_FAILURE(chooseServer());

    // A new character: the name check, then the creation.
    FakeView made;
    made.fields = {
        {Field::Name, u"Rowan"}, {Field::Password, u"acorn42"}, {Field::Confirmation, u"acorn42"}};
    {
        screens::NewUserForm form(*title(), made, 8);
        form.SetFemale(true);
        form.SetNation(1);
        form.SetTotem(2);
        answers.onResult = [&](const screens::LoginResult& r) { form.Result(r); };
        form.Ok();
        ASSERT_TRUE(pumpUntil([&] { return made.closed == "slide"; }))
            << testing::PrintToString(log);
        answers.onResult = nullptr;
    }
    EXPECT_EQ(made.boxes, std::vector<std::u16string>{u"Your character was created. Welcome!"});
    EXPECT_FALSE(waiting());
    const auto account = accounts->find("rowan");
    ASSERT_TRUE(account);
    EXPECT_TRUE(account->female);
    EXPECT_EQ(account->nation, 1);
    EXPECT_EQ(account->totem, 2);

    FakeView wrong;
    ASSERT_NO_FATAL_FAILURE(login(wrong, u"acorn43", false));
    EXPECT_EQ(wrong.boxes, std::vector<std::u16string>{u"The password is wrong."});
    EXPECT_EQ(wrong.focused, Field::Password);
    EXPECT_TRUE(title());

    FakeView right;
    ASSERT_NO_FATAL_FAILURE(login(right, u"acorn42", true));
    auto* world = screens::WorldPlaceholderPane::instance();
    ASSERT_TRUE(world);
    EXPECT_EQ(world->account(), u"Rowan");
    EXPECT_EQ(app::Settings::instance()->lastAccount(), u"Rowan");
    EXPECT_EQ(commands(),
              (std::vector<std::string>{"version", "choose-server", "transfer-token", "name-check",
                                        "create-character", "login", "login"}));

    // The server goes and comes back: Reconnect, the title again, the same account.
    // The server goes; the reconnect box comes up over the world; the server is back; Enter
    // presses Reconnect.
    stopServer();
    log.clear();
    ASSERT_TRUE(pumpUntil([&] { return app::EventDispatcher::instance()->topModal() != nullptr; }));
    startServer();
    app::InputMan::instance()->keyDown(platform::kVkReturn, app::FrameClock::instance()->now());
    ASSERT_TRUE(pumpUntil([&] { return world->IsClosing(); }));
    ASSERT_NO_FATAL_FAILURE(chooseServer());
    FakeView again;
    ASSERT_NO_FATAL_FAILURE(login(again, u"acorn42", true));
    ASSERT_TRUE(screens::WorldPlaceholderPane::instance());
    EXPECT_EQ(screens::WorldPlaceholderPane::instance()->account(), u"Rowan");
    EXPECT_TRUE(logged("\"Rowan\" entered the world"));
}

INSTANTIATE_TEST_SUITE_P(DevServer, TitleFlow, testing::Values(Framing::Binary, Framing::Lines),
                         [](const auto& info) {
                             return info.param == Framing::Binary ? "Binary" : "Lines";
                         });

}  // namespace
}  // namespace vs::devserver
