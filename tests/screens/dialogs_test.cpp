// The title's dialogs on their controls: the login delay against a lost connection, and the
// server dialog refreshed by a new list.
#include "screens/title_dialogs.h"

#include <gtest/gtest.h>

#include "net/client_commands.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "screens_fixture.h"
#include "ui/list_host.h"

namespace vs::screens::test {
namespace {

class Dialogs : public ScreensFixture {
  protected:
    Dialogs() {
        TitlePane::Dialogs d;
        d.login = OpenLoginDialog;
        d.servers = ShowServerList;
        title = &ui::OpenPane<TitlePane>(services, d);
    }
    TitlePane* title = nullptr;
};

TEST_F(Dialogs, APendingLoginSendsNothingOnceTheConnectionEndedIt) {
    title->Activate(TitlePane::kLogin);
    LoginDialog* login = LoginDialog::instance();
    ASSERT_TRUE(login);
    EXPECT_EQ(dispatcher.parentOf(login), title);
    login->FieldOf(Field::Name)->InsertText(u"alice");
    login->FieldOf(Field::Password)->InsertText(u"secret7");
    login->UpdateControls();
    EXPECT_TRUE(login->GetControl(login->okIndex())->IsEnabled());
    nextRandom = 300;
    login->form().Ok();
    EXPECT_TRUE(WaitScreen::instance());
    clock.advance(100);
    frame();
    EXPECT_TRUE(sent.empty());
    connectionClosed();
    EXPECT_TRUE(login->IsClosing());
    frame();
    clock.advance(1000);
    frame();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(LoginDialog::instance(), nullptr);
}

TEST_F(Dialogs, ANewListRefreshesTheOpenServerDialog) {
    std::vector<net::ServerEntry> list = {{1, 0x7F000001, 1, u"One", u"", u""},
                                          {2, 0x7F000001, 1, u"Two", u"", u""}};
    packet(net::build(net::MsgServerList{list}));
    ServerDialog* dialog = ServerDialog::instance();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->GetControl(dialog->okIndex())->IsEnabled());
    EXPECT_FALSE(dialog->GetControl(dialog->cancelIndex())->IsEnabled());
    dialog->list().List().Select(1);
    dialog->OnCommand(dialog->IndexOf(&dialog->list()), ui::kListSelectionChanged);
    EXPECT_TRUE(dialog->GetControl(dialog->okIndex())->IsEnabled());
    list.push_back({3, 0x7F000001, 1, u"Three", u"", u""});
    list.erase(list.begin());
    packet(net::build(net::MsgServerList{list}));
    EXPECT_EQ(ServerDialog::instance(), dialog);
    EXPECT_EQ(dialog->list().List().Count(), 2);
    EXPECT_EQ(dialog->form().selected(), -1);  // the row now shows another server
    EXPECT_FALSE(dialog->GetControl(dialog->okIndex())->IsEnabled());
    dialog->list().List().Select(0);
    dialog->OnCommand(dialog->IndexOf(&dialog->list()), ui::kListChosen);
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x57, 0x00, 2}}));
    EXPECT_TRUE(dialog->IsClosing());
}

}  // namespace
}  // namespace vs::screens::test
