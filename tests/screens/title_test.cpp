// The title screen: its items by key and mouse, the keep-alive, and the server's messages it
// acts on (version, redirect, server list, transfer screen, notices, the lost connection).
#include "screens/title_pane.h"

#include <gtest/gtest.h>

#include "net/client_commands.h"
#include "net/server_messages.h"
#include "platform/virtual_keys.h"
#include "screens/login_result.h"
#include "screens/story_viewer.h"
#include "screens/transfer_screen.h"
#include "screens/wait_screen.h"
#include "screens_fixture.h"

namespace vs::screens::test {
namespace {

using app::InputEvent;

// Stands for any dialog over the title.
class SomeDialog final : public ui::Pane {};

class Title : public ScreensFixture {
  protected:
    Title() {
        dialogs.newUser = [this](TitlePane&) { opened.push_back("new user"); };
        dialogs.login = [this](TitlePane&) { opened.push_back("login"); };
        dialogs.password = [this](TitlePane&) { opened.push_back("password"); };
        dialogs.servers = [this](TitlePane&, const std::vector<net::ServerEntry>& list) {
            opened.push_back("servers");
            servers = list;
        };
        title = &ui::OpenPane<TitlePane>(services, dialogs);
    }
    std::string screenShown() const {
        if (StoryViewer::instance()) return "story";
        if (title->IsClosing()) return "closed";
        return opened.empty() ? "" : opened.back();
    }

    TitlePane::Dialogs dialogs;
    TitlePane* title = nullptr;
    std::vector<std::string> opened;
    std::vector<net::ServerEntry> servers;
};

TEST_F(Title, KeysAndMouseSelectAndActivateItems) {
    using namespace platform;
    constexpr int kNone = TitlePane::kNoItem;
    struct Case {
        int selected;
        int event;  // a key, or -1 for a mouse move to (x, y), -2 for a left button release there
        int x, y;
        int after;  // selected afterwards
        const char* shown;
    };
    const Case cases[] = {
        {kNone, kVkUp, 0, 0, 5, ""},
        {kNone, kVkLeft, 0, 0, 5, ""},
        {kNone, kVkDown, 0, 0, 0, ""},
        {kNone, kVkRight, 0, 0, 0, ""},
        {5, kVkDown, 0, 0, 0, ""},
        {0, kVkUp, 0, 0, 5, ""},
        {2, kVkRight, 0, 0, 3, ""},
        {kNone, kVkReturn, 0, 0, kNone, ""},
        {1, kVkReturn, 0, 0, 1, "login"},
        {kNone, -1, 500, 310, 0, ""},
        {0, -1, 500, 371, 2, ""},
        {2, -1, 100, 100, 2, ""},          // off the items: the selection stays
        {2, -2, 100, 100, 2, "password"},  // a release anywhere activates the last item
        {kNone, -2, 500, 310, kNone, ""},
        {0, -2, 0, 0, 0, "new user"},
        {3, kVkReturn, 0, 0, 3, "story"},
    };
    for (const Case& c : cases) {
        opened.clear();
        title->Select(c.selected);
        if (c.event >= 0)
            key(uint8_t(c.event));
        else
            mouse(c.event == -1 ? InputEvent::kMouseMove : InputEvent::kLeftUp, c.x, c.y);
        EXPECT_EQ(title->selected(), c.after) << c.selected << " " << c.event;
        EXPECT_EQ(screenShown(), c.shown) << c.selected << " " << c.event;
        if (auto* story = StoryViewer::instance()) story->Close();
        frame();
    }
}

TEST_F(Title, TheStoryViewerIsModalAndClosesAfterItsLastPage) {
    title->Select(TitlePane::kStory);
    key(platform::kVkReturn);
    // Without the pages there is nothing to show: the viewer goes at once.
    ASSERT_TRUE(StoryViewer::instance());
    EXPECT_TRUE(StoryViewer::instance()->IsClosing());
    frame();
    EXPECT_EQ(StoryViewer::instance(), nullptr);
}

TEST_F(Title, LeaveClosesTheConnectionAndOpensANewConnectionScreen) {
    title->Select(TitlePane::kLeave);
    key(platform::kVkReturn);
    EXPECT_EQ(calls, (std::vector<std::string>{"close", "connection screen"}));
    EXPECT_TRUE(title->IsClosing());
}

TEST_F(Title, KeepAliveEvery20SecondsExceptWhileTransferring) {
    const Bytes keepAlive{0x71};
    clock.advance(19999);
    frame();
    EXPECT_TRUE(sent.empty());
    clock.advance(1);
    frame();
    EXPECT_EQ(sent, std::vector<Bytes>{keepAlive});
    TransferScreen::Open();
    clock.advance(20000);
    frame();
    EXPECT_EQ(sent.size(), 1u);
    TransferScreen::CloseOpen();
    clock.advance(20000);
    frame();
    EXPECT_EQ(sent.size(), 2u);
}

TEST_F(Title, VersionAnswers) {
    const Bytes patch = net::build(net::MsgVersionCheck{2, 311, {{{'a', '/'}}}});
    struct Case {
        Bytes payload;
        std::vector<std::u16string> boxes;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {{0x00, 0x00}, {}, {}},       {{0x00, 0x01}, {u"Out of date"}, {}},
        {patch, {}, {"patch 311"}},   {patch, {}, {}},  // handed over once
        {{0x00, 0x03, 0x01}, {}, {}},                   // short: dropped
        {{0x00, 0x04}, {}, {}},       {{0x00, 0xFF, 1, 2, 3}, {}, {}},
    };
    for (const Case& c : cases) {
        boxes.clear();
        calls.clear();
        packet(c.payload);
        EXPECT_EQ(boxes, c.boxes) << testing::PrintToString(c.payload);
        EXPECT_EQ(calls, c.calls) << testing::PrintToString(c.payload);
    }
}

TEST_F(Title, ARedirectConnectsSendsTheTokenUploadsAndClosesTheWaitScreen) {
    WaitScreen::Open();
    packet(net::build(net::MsgTileCheck{0x7F000001, 4000, {'t', 'o', 'k'}}));
    EXPECT_EQ(calls, (std::vector<std::string>{"connect 127.0.0.1:4000", "upload"}));
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x10, 't', 'o', 'k'}}));
    EXPECT_TRUE(WaitScreen::instance()->IsClosing());
    EXPECT_FALSE(TransferScreen::Showing());
}

TEST_F(Title, AFailedRedirectSaysSoAndQuits) {
    connects = false;
    WaitScreen::Open();
    packet(net::build(net::MsgTileCheck{0x0A000001, 4000, {'t'}}));
    EXPECT_EQ(calls, (std::vector<std::string>{"connect 10.0.0.1:4000", "quit"}));
    EXPECT_EQ(boxes, std::vector<std::u16string>{u"Unreachable"});
    EXPECT_TRUE(sent.empty());
}

TEST_F(Title, TransferScreenOpensAndCloses) {
    struct Case {
        Bytes payload;
        bool showing;
    };
    const Case cases[] = {
        {net::build(net::MsgTileCheck{0, 0, {}}), true},  // no transfer: only the screen
        {{73}, false},
        {net::build(net::MsgTransferNotice{0, 0, 0}), true},
        {{106, 0}, false},
        {net::build(net::MsgTransferNotice{0x7F000001, 4000, 0}), false},
    };
    for (const Case& c : cases) {
        packet(c.payload);
        EXPECT_EQ(TransferScreen::Showing(), c.showing) << testing::PrintToString(c.payload);
        frame();
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(Title, AServerListClosesTheWaitScreenAndOpensItsDialog) {
    WaitScreen::Open();
    // A list without a complete entry changes nothing.
    packet(net::build(net::MsgServerList{}));
    EXPECT_FALSE(WaitScreen::instance()->IsClosing());
    EXPECT_TRUE(opened.empty());

    std::vector<net::ServerEntry> list = {{3, 0x7F000001, 2000, u"North", u"cold", u"x"},
                                          {7, 0x7F000002, 2001, u"South", u"", u""}};
    packet(net::build(net::MsgServerList{list}));
    EXPECT_TRUE(WaitScreen::instance()->IsClosing());
    EXPECT_EQ(opened, std::vector<std::string>{"servers"});
    EXPECT_EQ(servers, list);
}

TEST_F(Title, AWebNoticeOnlyClosesTheWaitScreen) {
    WaitScreen::Open();
    packet({102, 9});
    EXPECT_TRUE(WaitScreen::instance()->IsClosing());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Title, ALostConnectionClosesEverythingAndAsks) {
    for (const bool again : {true, false}) {
        calls.clear();
        boxes.clear();
        reconnect = again;
        TitlePane& t = again ? *title : ui::OpenPane<TitlePane>(services, dialogs);
        auto& dialog = ui::OpenPane<SomeDialog>();
        t.TrackDialog(&dialog);
        WaitScreen::Open();
        TransferScreen::Open();
        connectionClosed();
        EXPECT_TRUE(dialog.IsClosing());
        EXPECT_TRUE(WaitScreen::instance()->IsClosing());
        EXPECT_FALSE(TransferScreen::Showing());
        EXPECT_EQ(boxes, std::vector<std::u16string>{u"Connection lost"});
        if (again) {
            EXPECT_EQ(calls, (std::vector<std::string>{"close", "connection screen"}));
            EXPECT_TRUE(t.IsClosing());
        } else {
            EXPECT_EQ(calls, (std::vector<std::string>{"close", "quit"}));
            EXPECT_FALSE(t.IsClosing());
        }
        frame();
    }
}

TEST(TitleText, VersionIsMajorDotMinor) {
    EXPECT_EQ(TitlePane::VersionText(310), u"V3.1");
    EXPECT_EQ(TitlePane::VersionText(129), u"V1.2");
    EXPECT_EQ(TitlePane::VersionText(5), u"V0.0");
}

TEST(LoginResults, ACompleteReplyNeedsNoText) {
    struct Case {
        Bytes payload;
        std::optional<LoginResult> result;
    };
    const Case cases[] = {
        {{2, 15}, LoginResult{15, u""}},
        {{2, 0, 0}, LoginResult{0, u""}},
        {{2, 3, 2, 'h', 'i'}, LoginResult{3, u"hi"}},
        {{2, 3, 9, 'h', 'i'}, LoginResult{3, u"hi"}},  // the bytes that are there
        {{2}, std::nullopt},
        {{3, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto r = ParseLoginResult(c.payload);
        ASSERT_EQ(r.has_value(), c.result.has_value()) << testing::PrintToString(c.payload);
        if (!r) continue;
        EXPECT_EQ(r->code, c.result->code);
        EXPECT_EQ(r->text, c.result->text);
    }
}

TEST(LoginResults, FocusByCode) {
    using F = FocusTarget;
    const F K = F::Keep, N = F::Name, P = F::Password, O = F::OldPassword, W = F::NewPassword;
    // Codes 1 to 22.
    const F login[] = {K, K, K, K, K, K, K, K, K, K, K, K, K, N, P, N, N, N, K, N, N, K};
    const F change[] = {K, K, N, N, W, W, W, W, W, K, K, K, K, N, O, N, N, N, K, N, N, K};
    const F newUser[] = {K, K, N, N, P, P, P, P, P, K, K, K, K, N, P, N, N, N, K, N, N, K};
    for (uint8_t code = 1; code <= 22; ++code) {
        EXPECT_EQ(LoginFocus(code), login[code - 1]) << int(code);
        EXPECT_EQ(PasswordChangeFocus(code), change[code - 1]) << int(code);
        EXPECT_EQ(NewUserFocus(code), newUser[code - 1]) << int(code);
    }
}

TEST(LoginResults, TheDigitRuleComesBeforeTheConfirmation) {
    EXPECT_EQ(CheckNewPassword(u"letters", u"other"), NewPasswordCheck::NoDigit);
    EXPECT_EQ(CheckNewPassword(u"abc1", u"abc2"), NewPasswordCheck::Mismatch);
    EXPECT_EQ(CheckNewPassword(u"abc1", u"abc1"), NewPasswordCheck::Ok);
}

}  // namespace
}  // namespace vs::screens::test
