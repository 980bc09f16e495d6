// The title screen against the development server's accounts, end to end: the headless client
// and the server on loopback with a database of its own. The test plays the dialogs' part
// with their fields and buttons: server choice, transfer, a new character, a wrong then the right
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
#include "screens/title_dialogs.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "screens/world_placeholder.h"
#include "support/temp_dir.h"
#include "ui/label.h"
#include "ui/list_host.h"
#include "ui/message_box.h"

namespace vs::devserver {
namespace {

using Clock = std::chrono::steady_clock;
using net::Framing;
using screens::Field;

uint16_t freePort() {
    auto l = platform::TcpListener::listen({127, 0, 0, 1}, 0, 1);
    return l ? l->port() : 0;
}

class TitleFlow : public client::test::ClientFixture, public testing::WithParamInterface<Framing> {
  protected:
    TitleFlow() {
        hp.clock.followRealTime(true);
        options.noConnect = false;
        port = freePort();
    }
    ~TitleFlow() override {
        if (client_) {
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
    }
    bool pumpUntil(const std::function<bool()>& done, int ms = 20000) {
        return runUntil(
            *client_,
            [this] {
                if (server) server->step(0);
            },
            done, ms);
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

    // The box over everything, when one is up.
    ui::MessageBox* box() const {
        return dynamic_cast<ui::MessageBox*>(app::EventDispatcher::instance()->topModal());
    }
    std::u16string boxText() const {
        ui::MessageBox* b = box();
        return b && b->TextLabel() ? b->TextLabel()->Text() : u"";
    }
    void press(uint8_t key) {
        app::InputMan::instance()->keyDown(key, app::FrameClock::instance()->now());
    }
    void pressOk(screens::TitleDialog& d) { d.OnCommand(d.okIndex(), ui::kPartButton); }

    // From the title: the server list in its dialog, a choice, the transfer to the game port.
    void chooseServer() {
        ASSERT_TRUE(pumpUntil([&] {
            auto* d = screens::ServerDialog::instance();
            return title() && d && !d->IsClosing() && d->form().servers().size() == 2;
        })) << testing::PrintToString(log);
        screens::ServerDialog& d = *screens::ServerDialog::instance();
        EXPECT_EQ(d.form().servers()[0].name, u"Vestrel");
        EXPECT_EQ(d.form().servers()[1].description, u"The same village, by the back door");
        d.list().List().Select(1);
        d.OnCommand(d.IndexOf(&d.list()), ui::kListChosen);
        ASSERT_TRUE(pumpUntil([&] { return logged("transferred") && !waiting(); }))
            << testing::PrintToString(log);
    }
    // The login dialog with the password; its answer box, if any, is left up.
    void login(const std::u16string& password, bool enters) {
        title()->Activate(screens::TitlePane::kLogin);
        screens::LoginDialog* d = screens::LoginDialog::instance();
        ASSERT_TRUE(d);
        EXPECT_EQ(d->FieldText(Field::Name), u"Rowan");  // the last name that logged in
        d->FieldOf(Field::Password)->SelectAll();
        d->FieldOf(Field::Password)->InsertText(password);
        pressOk(*d);
        ASSERT_TRUE(pumpUntil([&] {
            return enters ? screens::WorldPlaceholderPane::instance() != nullptr
                          : !boxText().empty();
        })) << testing::PrintToString(log);
    }

    test::TempDir db{"titleflow"};
    uint16_t port = 0;
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
    title()->Activate(screens::TitlePane::kNewUser);
    screens::NewUserDialog* made = screens::NewUserDialog::instance();
    ASSERT_TRUE(made);
    made->FieldOf(Field::Name)->InsertText(u"Rowan");
    made->FieldOf(Field::Password)->InsertText(u"acorn42");
    made->FieldOf(Field::Confirmation)->InsertText(u"acorn42");
    made->form().SetFemale(true);
    made->form().SetNation(1);
    made->form().SetTotem(2);
    made->UpdateControls();
    ASSERT_TRUE(made->GetControl(made->okIndex())->IsEnabled());
    pressOk(*made);
    ASSERT_TRUE(pumpUntil([&] { return !boxText().empty(); })) << testing::PrintToString(log);
    EXPECT_EQ(boxText(), u"Your character was created. Welcome!");
    // The dialog has closed (and may be gone already).
    auto* still = screens::NewUserDialog::instance();
    EXPECT_TRUE(!still || still->IsClosing());
    EXPECT_FALSE(waiting());
    press(platform::kVkReturn);
    ASSERT_TRUE(pumpUntil([&] { return !box() && title(); }));
    const auto account = accounts->find("rowan");
    ASSERT_TRUE(account);
    EXPECT_TRUE(account->female);
    EXPECT_EQ(account->nation, 1);
    EXPECT_EQ(account->totem, 2);

    // A wrong password: the server's text; the dialog stays for another try.
    ASSERT_NO_FATAL_FAILURE(login(u"acorn43", false));
    EXPECT_EQ(boxText(), u"The password is wrong.");
    press(platform::kVkReturn);
    ASSERT_TRUE(pumpUntil([&] { return !box(); }));
    ASSERT_TRUE(screens::LoginDialog::instance());
    EXPECT_TRUE(title());

    ASSERT_NO_FATAL_FAILURE(login(u"acorn42", true));
    auto* world = screens::WorldPlaceholderPane::instance();
    ASSERT_TRUE(world);
    EXPECT_EQ(world->account(), u"Rowan");
    EXPECT_EQ(app::Settings::instance()->lastAccount(), u"Rowan");
    EXPECT_EQ(commands(),
              (std::vector<std::string>{"version", "choose-server", "transfer-token", "name-check",
                                        "create-character", "login", "login"}));

    // The server goes; the reconnect box comes up over the world; the server is back; Enter
    // presses Reconnect.
    stopServer();
    log.clear();
    ASSERT_TRUE(pumpUntil([&] { return boxText() == u"The connection to the server was lost."; }));
    startServer();
    press(platform::kVkReturn);
    ASSERT_TRUE(pumpUntil([&] { return world->IsClosing(); }));
    ASSERT_NO_FATAL_FAILURE(chooseServer());
    ASSERT_NO_FATAL_FAILURE(login(u"acorn42", true));
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
