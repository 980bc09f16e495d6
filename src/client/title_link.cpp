#include "client/title_link.h"

#include <cstdlib>

#include "app/shell.h"
#include "base/log.h"
#include "base/text.h"
#include "net/connection.h"
#include "patch/version_answer.h"
#include "screens/title_dialogs.h"
#include "ui/message_box.h"

namespace vs::client {

std::unique_ptr<screens::TitleServices> makeTitleServices(
    std::function<void()> openConnectionScreen) {
    auto s = std::make_unique<screens::TitleServices>();
    s->send = [](std::span<const uint8_t> payload) {
        if (auto* c = net::Connection::instance()) c->send(payload);
    };
    s->closeConnection = [] {
        if (auto* c = net::Connection::instance()) c->close();
    };
    s->connectTo = [](const platform::Ipv4Address& address, uint16_t port) {
        if (auto* c = net::Connection::instance()) c->connectTo(address, port);
    };
    s->isConnected = [] {
        auto* c = net::Connection::instance();
        return c && c->isConnected();
    };
    s->uploadPendingCrashReport = [] {
        if (auto* c = net::Connection::instance()) c->uploadPendingCrashReport();
    };
    s->showMessage = [](std::u16string_view text, std::function<void()> onOk) {
        VS_INFO("%s", base::utf16ToUtf8(text).c_str());
        if (!ui::MessageBox::Show(text, nullptr, u"OK", {}, onOk) && onOk) onOk();
    };
    s->askReconnect = [](std::u16string_view text, std::function<void(bool)> answer) {
        VS_INFO("%s", base::utf16ToUtf8(text).c_str());
        auto shared = std::make_shared<std::function<void(bool)>>(std::move(answer));
        if (!ui::MessageBox::Show(
                text, nullptr, u"Reconnect", u"Leave", [shared] { (*shared)(true); },
                [shared] { (*shared)(false); }))
            (*shared)(false);
    };
    s->versionAnswer = patch::onVersionAnswer;
    s->openConnectionScreen = std::move(openConnectionScreen);
    s->quit = [] {
        if (auto* shell = app::Shell::instance()) shell->requestExit();
    };
    s->random = [](uint32_t bound) { return uint32_t(std::rand()) % bound; };
    return s;
}

screens::TitlePane::Dialogs titleDialogs() {
    screens::TitlePane::Dialogs d;
    d.newUser = screens::OpenNewUserDialog;
    d.login = screens::OpenLoginDialog;
    d.password = screens::OpenPasswordDialog;
    d.servers = screens::ShowServerList;
    return d;
}

}  // namespace vs::client
