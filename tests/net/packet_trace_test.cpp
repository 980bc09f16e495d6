// Debug names, the packet trace, and the delivery of payloads to the packet handlers.
#include "net/packet_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/input_man.h"
#include "net/packet_delivery.h"
#include "net/wire.h"
#include "platform/headless/headless_platform.h"

namespace vs::net {
namespace {

TEST(MessageNames, TableOf116) {
    EXPECT_STREQ(serverMessageName(0), "kServerVersionCheck");
    EXPECT_STREQ(serverMessageName(11), "kServerMove");
    EXPECT_STREQ(serverMessageName(28), "#28");
    EXPECT_STREQ(serverMessageName(51), "#51");
    EXPECT_STREQ(serverMessageName(115), "kServerReconnect");
    EXPECT_EQ(serverMessageName(116), nullptr);
    int named = 0;
    for (int op = 0; op < kServerNameCount; ++op) {
        const std::string name = serverMessageName(uint8_t(op));
        named += name[0] != '#';
        EXPECT_LE(name.size(), 63u);
        EXPECT_EQ(serverOpcodeByName(name), op);
    }
    EXPECT_EQ(named, 48);
    EXPECT_EQ(serverOpcodeByName("kServerNothing"), -1);
}

TEST(MessageNames, TraceLines) {
    EXPECT_EQ(packetTraceLine(0x1A2B, 11), "00001a2b: packet kServerMove\n");
    EXPECT_EQ(packetTraceLine(0xFFFFFFFF, 94), "ffffffff: packet #94\n");
    EXPECT_EQ(packetTraceLine(5, 200), "00000005: packet #d\n");
}

class Recorder final : public app::EventHandler {
  public:
    explicit Recorder(bool consumes) : consumes_(consumes) {}
    bool OnPacket(const app::InputEvent& e) override {
        packets.push_back(e.data);
        return consumes_;
    }
    std::vector<std::vector<uint8_t>> packets;

  private:
    bool consumes_;
};

class Delivery : public testing::Test {
  protected:
    Delivery() {
        dispatcher.insert(&first);
        dispatcher.insert(&second);
        PacketTrace::setSink([this](std::string_view line) { trace += line; });
    }
    ~Delivery() override {
        PacketTrace::setEnabled(false);
        PacketTrace::setSink({});
    }
    platform::HeadlessPlatform hp;
    app::EventDispatcher dispatcher;
    app::InputMan input;
    Recorder first{false};
    Recorder second{false};
    std::string trace;
};

TEST_F(Delivery, EveryHandlerSeesThePayloadAndTheTracePrintsIt) {
    hp.clock.set(0x10);
    deliverPacket({kServerChangeHour, 10, 30});
    EXPECT_EQ(trace, "");  // off by default
    PacketTrace::setEnabled(true);
    deliverPacket({kServerMove, 1});
    const std::vector<std::vector<uint8_t>> both = {{kServerChangeHour, 10, 30}, {kServerMove, 1}};
    EXPECT_EQ(first.packets, both);
    EXPECT_EQ(second.packets, both);
    EXPECT_EQ(trace, "00000010: packet kServerMove\n");
}

TEST_F(Delivery, EmptyPayloadsNeverReachAHandler) {
    PacketTrace::setEnabled(true);
    deliverPacket({});
    EXPECT_TRUE(first.packets.empty());
    EXPECT_TRUE(second.packets.empty());
    EXPECT_EQ(trace, "");
}

}  // namespace
}  // namespace vs::net
