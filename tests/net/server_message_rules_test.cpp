// The rules applied before any effect: unknown objects, the replies sent at once, transfers.
#include "net/server_message_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "catalogue_samples.h"

namespace vs::net {
namespace {

class FakeWorld final : public ObjectDirectory {
  public:
    bool holdsObject(uint32_t id) const override { return held.count(id) != 0; }
    std::set<uint32_t> held;
};

class SentCommands final : public CommandSender {
  public:
    void send(std::span<const uint8_t> payload) override {
        sent.emplace_back(payload.begin(), payload.end());
    }
    std::vector<std::vector<uint8_t>> sent;
};

TEST(UnknownObject, MessagesAboutAnObjectNotHeldAskForItAndAreDropped) {
    const uint32_t id = 0x2001;
    const ServerMessage messages[] = {
        MsgMoveObject{id, 14, 15, 3},
        MsgChangeDirection{id, 2},
        MsgWield{id, 3, 10},
        MsgMotion{id, 5, 30, 12},
        MsgChangeShape{id, samples::creature()},
    };
    for (const auto& m : messages) {
        SCOPED_TRACE(int(opcodeOf(m)));
        FakeWorld world;
        SentCommands out;
        EXPECT_TRUE(dropForUnknownObject(m, world, out));
        EXPECT_EQ(out.sent,
                  (std::vector<std::vector<uint8_t>>{{kCmdRequestObject, 0, 0, 0x20, 0x01}}));

        world.held.insert(id);
        out.sent.clear();
        EXPECT_FALSE(dropForUnknownObject(m, world, out));
        EXPECT_TRUE(out.sent.empty());
    }
}

TEST(UnknownObject, IdZeroIsNeverAskedFor) {
    FakeWorld world;
    SentCommands out;
    EXPECT_TRUE(dropForUnknownObject(MsgMoveObject{0, 1, 1, 0}, world, out));
    EXPECT_TRUE(out.sent.empty());
}

TEST(UnknownObject, OtherMessagesAreNotConcerned) {
    FakeWorld world;
    SentCommands out;
    for (const auto& s : samples::serverSamples()) {
        if (objectTheWorldMustHold(s.message)) continue;
        EXPECT_FALSE(dropForUnknownObject(s.message, world, out)) << int(opcodeOf(s.message));
    }
    EXPECT_TRUE(out.sent.empty());
}

TEST(AnswerAtOnce, ChallengeClockProbeAndEcho) {
    struct Case {
        ServerMessage message;
        std::vector<uint8_t> reply;
    } cases[] = {
        {MsgRequestCRC{0x1234}, {0x45, 0x34, 0x12}},
        {MsgClockProbe{0x01020304}, {117, 1, 2, 3, 4, 0x00, 0x00, 0x30, 0x39}},
        {MsgEcho{{kCmdOption, 13}}, {kCmdOption, 13}},
    };
    for (const auto& c : cases) {
        SentCommands out;
        EXPECT_TRUE(answerAtOnce(c.message, 12345, out));
        EXPECT_EQ(out.sent, (std::vector<std::vector<uint8_t>>{c.reply}));
    }
    SentCommands out;
    EXPECT_FALSE(answerAtOnce(MsgChangeHour{10, 0}, 0, out));
    EXPECT_TRUE(out.sent.empty());
}

TEST(Transfer, TokenCommandAfterReconnecting) {
    auto t = serverTransfer(MsgTileCheck{0x7F000001, 2324, samples::bytes("ab")});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->address, 0x7F000001u);
    EXPECT_EQ(t->port, 2324);
    EXPECT_EQ(t->tokenCommand, (std::vector<uint8_t>{16, 'a', 'b'}));
    EXPECT_FALSE(serverTransfer(MsgTileCheck{0, 0, samples::bytes("ab")}));
    EXPECT_TRUE(serverTransfer(MsgTileCheck{0, 99, {}}));
}

TEST(Transfer, UndefinedEffects) {
    EXPECT_TRUE(undefinedEffect(MsgPatchData{{1, 2}}));
    EXPECT_TRUE(undefinedEffect(MsgTransferNotice{0x7F000001, 23, 0}));
    EXPECT_FALSE(undefinedEffect(MsgTransferNotice{0, 0, 0}));
    EXPECT_FALSE(undefinedEffect(MsgChangeHour{1, 1}));
}

}  // namespace
}  // namespace vs::net
