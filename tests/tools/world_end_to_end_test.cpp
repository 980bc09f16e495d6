// The headless client with a map view against the dev server's living world on loopback: the
// player enters, the world fills the view, the map is stored and the next visit needs no tiles.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "client/client_fixture.h"
#include "devserver/dev_server.h"
#include "devserver/world.h"
#include "net/connection.h"
#include "world/map_pane.h"

namespace vs::devserver {
namespace {

using Clock = std::chrono::steady_clock;

class WorldEndToEnd : public client::test::ClientFixture {
  protected:
    WorldEndToEnd() {
        hp.clock.followRealTime(true);
        options.noConnect = false;
    }
    ~WorldEndToEnd() override {
        map_.reset();
        if (client_) client_->shutDown();
        client_.reset();
        frameClock_.reset();
        server_.reset();  // it tells the world who left
    }
    void start() {
        Options o;
        o.port = 0;
        o.trace = true;
        server_ = std::make_unique<Server>(o, nullptr,
                                           [this](const std::string& l) { log_.push_back(l); });
        const auto t0 = Clock::now();
        world_ = std::make_unique<WorldHandler>(*server_, WorldOptions{3, false}, [t0] {
            return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0)
                                .count()) +
                   1;
        });
        server_->setHandler(world_.get());
        std::string error;
        ASSERT_TRUE(server_->listen(error)) << error;
        options.words = {"127.0.0.1", std::to_string(server_->port())};
        frameClock_ = std::make_unique<app::FrameClock>(hp.clock);
        client_ = std::make_unique<client::GameClient>(options);
        client_->startUp();
        openMap();
    }
    void openMap() {
        map_ = std::make_unique<world::MapPane>(nullptr, dataDir() / "Maps");
        app::EventDispatcher::instance()->insert(map_.get());
    }
    bool pumpUntil(const std::function<bool()>& done, int ms = 15000) {
        return runUntil(
            *client_,
            [this] {
                map_->CollectRemoved();
                server_->step(0);
            },
            done, ms);
    }
    int logged(const std::string& part) const {
        int n = 0;
        for (const auto& l : log_) n += l.find(part) != std::string::npos;
        return n;
    }
    size_t creatures() const {
        size_t n = 0;
        map_->Store().ForEach([&](world::ObjectPane* o) {
            if (o->type() == world::kCharacterObject &&
                static_cast<world::CharacterObjectPane*>(o)->isCreature())
                ++n;
        });
        return n;
    }

    std::vector<std::string> log_;
    std::unique_ptr<Server> server_;
    std::unique_ptr<WorldHandler> world_;
    std::unique_ptr<app::FrameClock> frameClock_;
    std::unique_ptr<client::GameClient> client_;
    std::unique_ptr<world::MapPane> map_;
};

TEST_F(WorldEndToEnd, TheViewFillsTheMapIsStoredAndTheNextVisitNeedsNoTiles) {
    start();
    World& w = world_->world();
    ASSERT_TRUE(pumpUntil([&] {
        return map_->Store().Holds(&map_->User()) && logged("area sent") == 1 && creatures() > 0;
    })) << testing::PrintToString(log_)
        << " origin " << map_->originX() << " grid " << map_->Grid().width() << " filed "
        << map_->Store().Holds(&map_->User()) << " count " << map_->Store().Count();
    const World::Entity* me = w.player(1);
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(map_->User().id(), me->id);
    EXPECT_EQ(map_->User().x(), me->x);
    // The tiles the server sent make the client's view agree with the server's map.
    const base::Rect area = map_->Grid().Clip(world::widenedView(map_->originX(), map_->originY()));
    ASSERT_TRUE(pumpUntil([&] { return map_->Grid().Checksum(area) == w.grid(1).Checksum(area); }));
    EXPECT_GT(map_->Store().Row(world::kStaticObject, me->y - 1).size() +
                  map_->Store().Row(world::kStaticObject, me->y - 2).size(),
              0u);

    // A creature in view walks: its cell changes within a few of its steps.
    const int before = logged("kServerMoveObject");
    ASSERT_TRUE(pumpUntil([&] { return logged("kServerMoveObject") > before; }, 20000));

    // Leaving stores the map; the next visit loads it and the server finds it in order.
    map_.reset();
    ASSERT_TRUE(std::filesystem::exists(dataDir() / "Maps" / "VL000001.cmp"));
    openMap();
    w.teleport(1, 1, me->x, me->y);
    ASSERT_TRUE(pumpUntil([&] { return logged("area ok") == 1; })) << testing::PrintToString(log_);
    EXPECT_EQ(logged("area sent"), 1);

    // The cellar and back: a new map number stores the village and loads the cellar.
    w.teleport(1, mkdata::kCellarMap, 10, 3);
    ASSERT_TRUE(pumpUntil(
        [&] { return map_->Grid().number() == mkdata::kCellarMap && logged("area sent") == 2; }));
    EXPECT_EQ(map_->User().x(), 10);
}

}  // namespace
}  // namespace vs::devserver
