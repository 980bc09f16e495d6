// The chat pane reading server messages and speech through the catalogue: which kinds show, in
// which colours, under each chat setting; nothing else shows, and no packet is ever consumed.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "client/chat_source.h"
#include "net/server_messages.h"
#include "ui/chatting_pane.h"

namespace vs::client {
namespace {

app::InputEvent packet(std::vector<uint8_t> bytes, uint8_t subKind = 0) {
    app::InputEvent e;
    e.kind = app::InputEvent::kData;
    e.subKind = subKind;
    e.data = std::move(bytes);
    return e;
}

struct Shown {
    int32_t text, back;
};

// What one packet adds to a new pane under a setting, if anything.
std::optional<Shown> shownFor(const app::InputEvent& e, int32_t setting) {
    CatalogueChatHooks hooks;
    hooks.SetChatSetting(setting);
    ui::ChattingPane pane(&hooks);
    const size_t before = pane.Messages().size();
    EXPECT_FALSE(pane.OnPacket(e)) << "never consumed";
    if (pane.Messages().size() == before) return std::nullopt;
    EXPECT_EQ(pane.Messages().back()->Text(), u"hi");
    return Shown{pane.Messages().back()->TextColor(), pane.Messages().back()->BackColor()};
}

TEST(ChatPackets, KindsColoursAndTheChatSetting) {
    struct MessageCase {
        uint8_t kind;
        std::optional<Shown> want;
    };
    const MessageCase messages[] = {
        {0, Shown{1, 143}},
        {11, Shown{1, 143}},
        {4, Shown{143, 12}},
        {5, Shown{143, 1}},
        {12, Shown{58, 143}},
        {17, Shown{143, 5}},
        {1, {}},
        {3, {}},
        {10, {}},
        {18, {}},
        {255, {}},
    };
    for (const MessageCase& c : messages) {
        const auto got = shownFor(packet(net::build(net::MsgMessage{c.kind, u"hi"})), 0);
        ASSERT_EQ(got.has_value(), c.want.has_value()) << int(c.kind);
        if (got) {
            EXPECT_EQ(got->text, c.want->text) << int(c.kind);
            EXPECT_EQ(got->back, c.want->back) << int(c.kind);
        }
    }
    // Speech by kind (rows) under the settings 0, 1 and 2 (columns): the text colour, or 0 for
    // nothing shown. The background is always 143.
    const int32_t says[4][3] = {{128, 0, 0}, {12, 12, 0}, {0, 0, 0}, {128, 128, 128}};
    for (uint8_t kind = 0; kind < 4; ++kind) {
        for (int32_t setting = 0; setting < 3; ++setting) {
            const auto got =
                shownFor(packet(net::build(net::MsgSay{kind, 0x01020304, u"hi"})), setting);
            EXPECT_EQ(got ? got->text : 0, says[kind][setting]) << int(kind) << " " << setting;
            if (got) {
                EXPECT_EQ(got->back, 143);
            }
        }
    }
}

TEST(ChatPackets, AnythingElseIsLeftAlone) {
    std::vector<uint8_t> message = net::build(net::MsgMessage{0, u"hi"});
    std::vector<uint8_t> say = net::build(net::MsgSay{0, 7, u"hi"});
    const std::vector<uint8_t> shortMessage(message.begin(), message.end() - 1);
    const std::vector<uint8_t> shortSay(say.begin(), say.begin() + 5);
    std::vector<uint8_t> badSayKind = say;
    badSayKind[1] = 4;
    for (const app::InputEvent& e :
         {packet(shortMessage), packet(shortSay), packet(badSayKind), packet({}),
          packet({net::kServerMove, 0, 1, 0, 2}), packet(message, 1)}) {
        EXPECT_FALSE(shownFor(e, 0).has_value());
    }
    // Without hooks the pane reads no packets at all.
    ui::ChattingPane alone;
    EXPECT_FALSE(alone.OnPacket(packet(message)));
    EXPECT_EQ(alone.Messages().size(), 5u);
}

}  // namespace
}  // namespace vs::client
