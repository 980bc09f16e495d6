// The dev server's hostile world played straight into a map view (no sockets): whatever it
// sends, the view's objects stay in its area with unique ids and their owners, and timers stay
// bounded.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/frame_clock.h"
#include "devserver/world.h"
#include "net/server_messages.h"
#include "platform/headless/fake_clock.h"
#include "world/map_pane.h"

namespace vs::devserver {
namespace {

class Back final : public net::CommandSender {
  public:
    void send(std::span<const uint8_t> p) override { sent.emplace_back(p.begin(), p.end()); }
    std::vector<std::vector<uint8_t>> sent;
};

TEST(HostileWorld, TheMapViewKeepsItsInvariants) {
    const auto maps = std::filesystem::temp_directory_path() / "vs_hostile_world_maps";
    std::filesystem::remove_all(maps);
    platform::FakeClock fake(1000);
    app::FrameClock clock(fake);
    clock.startTimers();
    Back back;
    world::MapPane pane(&back, maps);
    std::vector<std::vector<uint8_t>> inbox;
    World w(WorldOptions{5, true}, [&](int player, std::span<const uint8_t> p) {
        if (player == 1) inbox.emplace_back(p.begin(), p.end());
    });
    w.enter(1, "Ann", 1000);
    w.enter(2, "Bob", 1000);
    size_t handled = 0;
    for (uint64_t t = 1000; t < 61000; t += 100) {
        w.tick(t);
        for (auto& p : inbox) {
            if (auto m = net::parseServerMessage(p)) {
                pane.Handle(*m);
                ++handled;
            }
        }
        inbox.clear();
        // The client's answers reach the world as they would over the wire.
        for (auto& c : back.sent) w.received(1, c);
        back.sent.clear();
        for (int i = 0; i < 10; ++i) {
            fake.advance(10);
            clock.update();
        }
        pane.CollectRemoved();
        const world::ObjectStore& s = pane.Store();
        std::set<uint32_t> ids;
        s.ForEach([&](world::ObjectPane* o) {
            ASSERT_TRUE(s.InArea(o->type(), o->x(), o->y())) << o->id() << " at " << t;
            if (o->id()) {
                ASSERT_TRUE(ids.insert(o->id()).second) << o->id() << " at " << t;
            }
            if (o->attachedTo()) {
                ASSERT_TRUE(s.Holds(o->attachedTo())) << t;
            }
        });
        ASSERT_LT(clock.pending(), 2000u) << t;
    }
    EXPECT_GT(handled, 300u);
    std::filesystem::remove_all(maps);
}

}  // namespace
}  // namespace vs::devserver
