// The title dialogs' forms: OK enabling, the password rules, the commands they send, and what
// each answer code does to the focus, the boxes, the wait screen and the dialog.
#include "screens/title_forms.h"

#include <gtest/gtest.h>

#include <map>

#include "app/settings.h"
#include "net/client_commands.h"
#include "screens/fake_form_view.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "screens/world_placeholder.h"
#include "screens_fixture.h"
#include "support/fake_shell.h"

namespace vs::screens::test {
namespace {

class Forms : public ScreensFixture {
  protected:
    Forms() { title = &ui::OpenPane<TitlePane>(services); }
    bool waiting() const { return WaitScreen::instance() && !WaitScreen::instance()->IsClosing(); }
    std::optional<net::ClientCommand> lastCommand() const {
        if (sent.empty()) return std::nullopt;
        return net::parseClientCommand(sent.back());
    }

    vs::test::FakeShell shell;
    TitlePane* title = nullptr;
    FakeView view;
};

constexpr auto N = Field::Name, P = Field::Password, O = Field::OldPassword, W = Field::NewPassword,
               C = Field::Confirmation;

TEST_F(Forms, OkIsEnabledWhileTheFieldsAreFilled) {
    LoginForm login(*title, view);
    PasswordForm password(*title, view);
    NewUserForm newUser(*title, view, 8);
    struct Case {
        std::map<Field, std::u16string> fields;
        bool login, password, newUser;
    };
    const Case cases[] = {
        {{}, false, false, false},
        {{{N, u"a"}}, false, false, false},
        {{{N, u"a"}, {P, u"b"}}, true, false, false},
        {{{N, u"a"}, {P, u"b"}, {C, u"c"}}, true, false, true},
        {{{N, u"a"}, {O, u"b"}, {W, u"c"}, {C, u"d"}}, false, true, false},
    };
    for (const Case& c : cases) {
        view.fields = c.fields;
        login.UpdateControls();
        EXPECT_EQ(view.okEnabled, c.login);
        password.UpdateControls();
        EXPECT_EQ(view.okEnabled, c.password);
        newUser.UpdateControls();
        EXPECT_EQ(view.okEnabled, c.newUser);
    }
}

TEST_F(Forms, LoginAfterItsDelayAndEveryAnswer) {
    struct Case {
        uint8_t code;
        const char16_t* text;
        std::optional<Field> focus;
        std::vector<std::u16string> boxes;
        std::string closed;
        bool inWorld;
    };
    const Case cases[] = {
        {15, u"Wrong password", P, {u"Wrong password"}, "", false},
        {19, u"Already there", std::nullopt, {u"Already there"}, "", false},
        {14, u"", N, {}, "", false},
        {20, u"x", N, {u"x"}, "", false},
        {5, u"", std::nullopt, {}, "", false},  // a code the login does not name
        {0, u"", std::nullopt, {}, "slide", true},
    };
    for (const Case& c : cases) {
        FakeView v;
        v.fields = {{N, u"alice"}, {P, u"secret7"}};
        v.focused.reset();
        LoginForm login(*title, v);
        nextRandom = 321;
        sent.clear();
        login.Ok();
        EXPECT_EQ(v.delays, std::vector<uint32_t>{321});
        EXPECT_TRUE(sent.empty());  // nothing before the delay
        EXPECT_TRUE(waiting());
        EXPECT_EQ(title->accountName(), u"alice");
        login.Due();
        const auto command = lastCommand();
        ASSERT_TRUE(command && std::holds_alternative<net::CmdLogin>(*command));
        EXPECT_EQ(std::get<net::CmdLogin>(*command).password, u"secret7");
        EXPECT_TRUE(login.Result({c.code, c.text}));
        EXPECT_FALSE(login.Result({c.code, c.text}));  // answered: later results are not its own
        EXPECT_EQ(v.focused, c.focus) << int(c.code);
        EXPECT_EQ(v.boxes, c.boxes) << int(c.code);
        EXPECT_EQ(v.closed, c.closed) << int(c.code);
        EXPECT_FALSE(waiting()) << int(c.code);
        EXPECT_EQ(shell.inGameFlag, c.inWorld);
        frame();
    }
    EXPECT_TRUE(WorldPlaceholderPane::instance());
}

TEST_F(Forms, NewPasswordsNeedADigitBeforeTheyAreCompared) {
    struct Case {
        const char16_t *password, *confirmation;
        std::vector<std::u16string> boxes;
        bool sends;
    };
    const Case cases[] = {
        {u"letters", u"other", {u"password must containt at least 1 number"}, false},
        {u"abc1", u"abc2", {u"They differ"}, false},
        {u"abc1", u"abc1", {}, true},
    };
    for (const Case& c : cases) {
        for (const bool newUser : {false, true}) {
            FakeView v;
            v.fields = {
                {N, u"bob"}, {O, u"old1"}, {W, c.password}, {P, c.password}, {C, c.confirmation}};
            sent.clear();
            if (newUser) {
                NewUserForm f(*title, v, 8);
                f.Ok();
            } else {
                PasswordForm f(*title, v);
                f.Ok();
            }
            EXPECT_EQ(v.boxes, c.boxes) << newUser;
            EXPECT_EQ(!sent.empty(), c.sends) << newUser;
            if (!c.sends) {
                EXPECT_EQ(v.focused, newUser ? P : W);
                EXPECT_FALSE(waiting());
            }
            WaitScreen::CloseOpen();
            frame();
        }
    }
}

TEST_F(Forms, PasswordChangeAnswers) {
    struct Case {
        uint8_t code;
        std::optional<Field> focus;
        std::string closed;
    };
    const Case cases[] = {{0, std::nullopt, "slide"}, {7, W, ""}, {15, O, ""},
                          {12, std::nullopt, ""},     {4, N, ""}, {21, N, ""},
                          {22, std::nullopt, ""}};
    for (const Case& c : cases) {
        FakeView v;
        v.fields = {{N, u"bob"}, {O, u"old1"}, {W, u"new1"}, {C, u"new1"}};
        PasswordForm f(*title, v);
        sent.clear();
        f.Ok();
        const auto command = lastCommand();
        ASSERT_TRUE(command && std::holds_alternative<net::CmdChangePassword>(*command));
        EXPECT_EQ(std::get<net::CmdChangePassword>(*command),
                  (net::CmdChangePassword{u"bob", u"old1", u"new1"}));
        EXPECT_TRUE(f.Result({c.code, u"said"}));
        EXPECT_EQ(v.focused, c.focus) << int(c.code);
        EXPECT_EQ(v.boxes, std::vector<std::u16string>{u"said"}) << int(c.code);
        EXPECT_EQ(v.closed, c.closed) << int(c.code);
        EXPECT_FALSE(waiting()) << int(c.code);
        frame();
    }
}

TEST_F(Forms, NewCharacterTellsItsTwoStagesApartAndStaysUsableAfterARefusal) {
    struct Case {
        uint8_t check;                // the name check's answer
        std::optional<uint8_t> made;  // the creation's answer, when there is one
        std::optional<Field> focus;
        std::vector<std::u16string> boxes;
        std::string closed;
    };
    const Case cases[] = {
        {3, std::nullopt, N, {u"no"}, ""},
        {5, std::nullopt, P, {u"no"}, ""},
        {11, std::nullopt, std::nullopt, {u"no"}, ""},
        {0, 10, std::nullopt, {u"no"}, ""},  // a refused creation leaves the dialog usable
        {0, 0, std::nullopt, {u"no"}, "slide"},
    };
    for (const Case& c : cases) {
        FakeView w;
        w.fields = {{N, u"carol"}, {P, u"pass1"}, {C, u"pass1"}};
        NewUserForm g(*title, w, 8);
        g.SetFemale(true);
        g.SetNation(1);
        g.SetTotem(3);
        g.strip().MoveRight();
        sent.clear();
        g.Ok();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_TRUE(std::holds_alternative<net::CmdNameCheck>(*lastCommand()));
        EXPECT_TRUE(g.Result({c.check, c.check == 0 ? u"" : u"no"}));
        if (c.check == 0) {
            ASSERT_EQ(sent.size(), 2u);
            EXPECT_EQ(std::get<net::CmdCreateCharacter>(*lastCommand()),
                      (net::CmdCreateCharacter{uint8_t(g.strip().selectedStyle()), true, 1, 3}));
            EXPECT_TRUE(waiting());  // kept up for the creation
            EXPECT_TRUE(g.Result({*c.made, u"no"}));
        }
        EXPECT_FALSE(g.Result({0, u""}));  // nothing pending any more
        EXPECT_EQ(w.focused, c.focus) << int(c.check);
        EXPECT_EQ(w.boxes, c.boxes) << int(c.check);
        EXPECT_EQ(w.closed, c.closed) << int(c.check);
        EXPECT_FALSE(waiting()) << int(c.check);
        frame();
    }
}

TEST_F(Forms, ACreationWithoutATextSaysSoAndCancelTellsTheServer) {
    FakeView v;
    v.fields = {{N, u"dave"}, {P, u"pass1"}, {C, u"pass1"}};
    NewUserForm f(*title, v, 8);
    f.Ok();
    f.Result({0, u""});
    f.Result({0, u""});
    EXPECT_EQ(v.boxes, std::vector<std::u16string>{u"삑사리!"});
    sent.clear();
    NewUserForm g(*title, v, 8);
    g.Cancel();
    EXPECT_EQ(sent, std::vector<Bytes>{{0x15}});
    EXPECT_EQ(v.closed, "at once");
}

TEST_F(Forms, NewCharacterChoicesComeFromTheRandomSource) {
    nextRandom = 5;  // strip 5 % 4 = 1, nation 6 % 2 = 0, totem 7 % 4 = 3, sex 8 % 2 = 0
    NewUserForm f(*title, view, 8);
    EXPECT_EQ(f.strip().first(), 1);
    EXPECT_EQ(f.nation(), 0);
    EXPECT_EQ(f.totem(), 3);
    EXPECT_FALSE(f.female());
}

TEST_F(Forms, ServerListRowsSelectionAndChoice) {
    app::Settings settings;
    ServerForm form(*title);
    const std::vector<net::ServerEntry> list = {{4, 0x7F000001, 3000, u"North", u"cold", u""},
                                                {9, 0x0A000002, 3001, u"South", u"", u""}};
    form.SetList(list);
    EXPECT_EQ(ServerForm::RowText(list[0]), u"North : cold");
    EXPECT_FALSE(form.OkEnabled());
    EXPECT_FALSE(form.Choose());
    form.Select(1);
    EXPECT_TRUE(form.OkEnabled());
    // The same list keeps the selection, another one at that row clears it.
    form.SetList(list);
    EXPECT_EQ(form.selected(), 1);
    form.SetList({list[0]});
    EXPECT_EQ(form.selected(), -1);
    form.SetList(list);
    form.Select(1);
    EXPECT_TRUE(form.Choose());
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x57, 0x00, 9}}));
    EXPECT_EQ(settings.serverIndex(), 9);
    EXPECT_EQ(settings.connectedServerText(), u"9.10.0.0.2.3001");
    EXPECT_TRUE(waiting());
}

}  // namespace
}  // namespace vs::screens::test
