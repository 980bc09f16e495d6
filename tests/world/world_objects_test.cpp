// The object store and the map view's handling of the server's world messages, on a fake clock
// without image libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/frame_clock.h"
#include "net/client_commands.h"
#include "net/server_messages.h"
#include "platform/headless/fake_clock.h"
#include "world/map_pane.h"
#include "world/object_store.h"

namespace vs::world {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<ObjectPane> item(uint32_t id, int32_t x, int32_t y) {
    return std::make_unique<ItemObjectPane>(id, x, y, 0xC000, 0);
}
std::unique_ptr<ObjectPane> character(uint32_t id, int32_t x, int32_t y) {
    Appearance a;
    a.kind = Appearance::kCreature;
    a.image = 0x8000;
    return std::make_unique<CharacterObjectPane>(id, x, y, 2, a);
}

TEST(ObjectStore, AreaIsHalfOpenAndStaticsReachFurtherDown) {
    ObjectStore s(10, 20);
    struct Case {
        int32_t x, y;
        bool character, statics;
    };
    const Case cases[] = {
        {8, 18, true, true},    {7, 18, false, false},  {28, 20, true, true},
        {29, 20, false, false}, {10, 36, true, true},   {10, 37, false, true},
        {10, 44, false, true},  {10, 45, false, false}, {10, 17, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s.InArea(kCharacterObject, c.x, c.y), c.character) << c.x << "," << c.y;
        EXPECT_EQ(s.InArea(kStaticObject, c.x, c.y), c.statics) << c.x << "," << c.y;
    }
    auto outside = character(1, 29, 20);
    EXPECT_EQ(s.Add(outside), nullptr);
    EXPECT_NE(outside, nullptr) << "a refused object stays with the caller";
}

TEST(ObjectStore, RowsKeepColumnOrderAndItemsRowThenColumn) {
    ObjectStore s(0, 0);
    std::vector<ObjectPane*> added;
    for (auto [id, x] : std::vector<std::pair<uint32_t, int32_t>>{{1, 5}, {2, 3}, {3, 5}, {4, 0}}) {
        auto c = character(id, x, 4);
        added.push_back(s.Add(c));
    }
    std::vector<uint32_t> ids;
    for (ObjectPane* o : s.Row(kCharacterObject, 4)) ids.push_back(o->id());
    EXPECT_EQ(ids, (std::vector<uint32_t>{4, 2, 1, 3}));
    for (auto [id, x, y] : std::vector<std::tuple<uint32_t, int32_t, int32_t>>{
             {10, 5, 3}, {11, 1, 4}, {12, 9, 1}, {13, 1, 3}}) {
        auto i = item(id, x, y);
        s.Add(i);
    }
    ids.clear();
    for (ObjectPane* o : s.List(kItemObject)) ids.push_back(o->id());
    EXPECT_EQ(ids, (std::vector<uint32_t>{12, 13, 10, 11}));
    EXPECT_EQ(s.FindCharacterAt(3, 4)->id(), 2u);
    EXPECT_EQ(s.FindById(0), nullptr);
}

TEST(ObjectStore, ScrollDropsWhatLeavesMovesTheRestAndTakesAttachments) {
    ObjectStore s(0, 0);
    auto left = character(1, -2, 5);
    ObjectPane* leftOne = s.Add(left);
    auto right = character(2, 18, 5);
    ObjectPane* rightOne = s.Add(right);
    rightOne->SetScreenBounds({480, 144, 504, 168});
    std::unique_ptr<ObjectPane> light = std::make_unique<LightObjectPane>(-2, 5, 0, base::Point{});
    light->attachTo(leftOne);
    s.Add(light);
    std::vector<std::unique_ptr<ObjectPane>> dropped;
    s.Scroll(1, 0, dropped);
    ASSERT_EQ(dropped.size(), 2u);
    EXPECT_EQ(s.Count(), 1u);
    EXPECT_EQ(rightOne->GetScreenBounds(), (base::Rect{456, 144, 480, 168}));
    dropped.clear();
    s.Scroll(0, 1, dropped);
    EXPECT_EQ(s.Row(kCharacterObject, 5).size(), 1u);
}

class RecordingSender : public net::CommandSender {
  public:
    void send(std::span<const uint8_t> payload) override {
        sent.emplace_back(payload.begin(), payload.end());
    }
    std::vector<std::vector<uint8_t>> sent;
};

// A map view on a 40 x 30 map of open ground, the player at (20, 15) in the view's centre.
class MapPaneTest : public ::testing::Test {
  public:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vs_mappane_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        clock_.startTimers();
        pane_ = std::make_unique<MapPane>(&sender_, dir_ / "Maps");
        deliver(net::MsgUserAppearance{7, 2, 0});
        net::MsgMapSize size;
        size.number = 3, size.width = 40, size.height = 30;
        deliver(size);
        net::MsgMap tiles;
        tiles.x = 0, tiles.y = 0, tiles.width = 40, tiles.height = 30;
        tiles.cells.assign(1200, net::MapCell{1, 0, 0});
        deliver(tiles);
        deliver(net::MsgUserPosition{20, 15, 8, 7});
        deliver(character51(7, 20, 15));
    }
    void TearDown() override {
        pane_.reset();
        fs::remove_all(dir_);
    }
    template <class M>
    void deliver(const M& m) {
        pane_->Handle(net::ServerMessage(m));
    }
    static net::MsgCharacter character51(uint32_t id, uint16_t x, uint16_t y) {
        net::MsgCharacter c;
        c.id = id, c.x = x, c.y = y, c.direction = 2;
        c.name = u"someone";
        return c;
    }
    void advance(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            fake_.advance(10);
            clock_.update();
        }
    }
    // The store's invariants: every object in its area, ids unique, attachments with owners.
    void checkInvariants() {
        std::set<uint32_t> ids;
        const ObjectStore& s = pane_->Store();
        s.ForEach([&](ObjectPane* o) {
            EXPECT_TRUE(s.InArea(o->type(), o->x(), o->y())) << o->id();
            if (o->id()) {
                EXPECT_TRUE(ids.insert(o->id()).second) << o->id();
            }
            if (o->attachedTo()) {
                EXPECT_TRUE(s.Holds(o->attachedTo()));
            }
        });
    }
    platform::FakeClock fake_{1000};
    app::FrameClock clock_{fake_};
    RecordingSender sender_;
    fs::path dir_;
    std::unique_ptr<MapPane> pane_;
};

TEST_F(MapPaneTest, PositionSendsTheChecksumOfTheWidenedView) {
    ASSERT_FALSE(sender_.sent.empty());
    const auto cmd = net::parseClientCommand(sender_.sent.back());
    ASSERT_TRUE(cmd);
    const auto* sum = std::get_if<net::CmdAreaChecksum>(&*cmd);
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->left, 11);
    EXPECT_EQ(sum->top, 7);
    EXPECT_EQ(sum->width, 19);
    EXPECT_EQ(sum->height, 17);
    EXPECT_EQ(sum->checksum, pane_->Grid().Checksum({11, 7, 30, 24}));
    EXPECT_EQ(pane_->originX(), 12);
    EXPECT_TRUE(pane_->Store().Holds(&pane_->User()));
    EXPECT_FALSE(pane_->waitingForPlayer());
}

TEST_F(MapPaneTest, AnotherCharacterWalksOneCellIn400Ms) {
    deliver(character51(30, 22, 15));
    deliver(net::MsgMoveObject{30, 22, 15, 1});
    auto* c = static_cast<CharacterObjectPane*>(pane_->Store().FindById(30));
    ASSERT_NE(c, nullptr);
    const base::Rect start = c->GetScreenBounds();
    advance(200);
    EXPECT_TRUE(c->walking());
    EXPECT_EQ(c->GetScreenBounds().left, start.left + 12);
    advance(200);
    EXPECT_FALSE(c->walking());
    EXPECT_EQ(c->x(), 23);
    EXPECT_EQ(pane_->Store().FindCharacterAt(23, 15), c);
    // A second move while walking finishes the first step at once, from the new start cell.
    deliver(net::MsgMoveObject{30, 23, 15, 1});
    advance(100);
    deliver(net::MsgMoveObject{30, 24, 15, 2});
    EXPECT_EQ(c->y(), 15);
    advance(400);
    EXPECT_EQ(c->x(), 24);
    EXPECT_EQ(c->y(), 16);
    checkInvariants();
}

TEST_F(MapPaneTest, WorldFaults) {
    struct Case {
        const char* what;
        std::function<void(MapPaneTest&)> act;
        std::function<void(MapPaneTest&)> check;
    };
    const Case cases[] = {
        {"a move outside the area removes the object",
         [](MapPaneTest& t) {
             t.deliver(character51(30, 22, 15));
             t.deliver(net::MsgMoveObject{30, 2, 2, 1});
         },
         [](MapPaneTest& t) { EXPECT_EQ(t.pane_->Store().FindById(30), nullptr); }},
        {"a step out of the widened view removes the walker",
         [](MapPaneTest& t) {
             t.deliver(character51(30, 29, 15));
             t.deliver(net::MsgMoveObject{30, 29, 15, 1});
             t.advance(400);
         },
         [](MapPaneTest& t) { EXPECT_EQ(t.pane_->Store().FindById(30), nullptr); }},
        {"an item under a character's id goes first",
         [](MapPaneTest& t) {
             net::MsgDrawObjects d;
             d.objects.push_back({21, 15, 30, 0xC001, 0, 0});
             t.deliver(d);
             t.deliver(character51(30, 22, 15));
         },
         [](MapPaneTest& t) {
             ASSERT_NE(t.pane_->Store().FindById(30), nullptr);
             EXPECT_EQ(t.pane_->Store().FindById(30)->type(), kCharacterObject);
             EXPECT_TRUE(t.pane_->Store().List(kItemObject).empty());
         }},
        {"removing the player unfiles it until a 51",
         [](MapPaneTest& t) { t.deliver(net::MsgRemoveObject{{7}}); },
         [](MapPaneTest& t) {
             EXPECT_FALSE(t.pane_->Store().Holds(&t.pane_->User()));
             t.deliver(character51(7, 20, 15));
             EXPECT_TRUE(t.pane_->Store().Holds(&t.pane_->User()));
         }},
        {"an item with the player's id leaves the player whole",
         [](MapPaneTest& t) {
             net::MsgDrawObjects d;
             d.objects.push_back({21, 15, 7, 0xC001, 0, 0});
             t.deliver(d);
         },
         [](MapPaneTest& t) { EXPECT_EQ(t.pane_->Store().FindById(7), &t.pane_->User()); }},
        {"a removed walker stops walking",
         [](MapPaneTest& t) {
             t.deliver(character51(30, 22, 15));
             t.deliver(net::MsgMoveObject{30, 22, 15, 1});
             t.deliver(net::MsgObjectGone{{30}});
             t.advance(500);
         },
         [](MapPaneTest& t) {
             EXPECT_EQ(t.pane_->Store().FindById(30), nullptr);
             EXPECT_EQ(t.clock_.pending(), 0u);
         }},
        {"an unknown id is asked for",
         [](MapPaneTest& t) {
             t.sender_.sent.clear();
             t.deliver(net::MsgMoveObject{99, 22, 15, 1});
         },
         [](MapPaneTest& t) {
             ASSERT_EQ(t.sender_.sent.size(), 1u);
             EXPECT_EQ(t.sender_.sent[0], (std::vector<uint8_t>{12, 0, 0, 0, 99}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.act(*this);
        c.check(*this);
        checkInvariants();
        TearDown();
    }
}

TEST_F(MapPaneTest, TilesRefreshStaticsAndAMapChangeKeepsOnlyThePlayer) {
    net::MsgMap tiles;
    tiles.x = 21, tiles.y = 16, tiles.width = 2, tiles.height = 1;
    tiles.cells = {{1, 0, 4}, {1, 1, 0}};
    deliver(tiles);
    ASSERT_NE(pane_->Store().FindStaticAt(21, 16), nullptr);
    EXPECT_EQ(pane_->Grid().cell(22, 16)->flags, 1);
    tiles.cells = {{1, 0, 0}, {1, 0, 0}};
    deliver(tiles);
    EXPECT_EQ(pane_->Store().FindStaticAt(21, 16), nullptr);

    deliver(character51(30, 22, 15));
    net::MsgMapSize other;
    other.number = 4, other.width = 20, other.height = 20;
    deliver(other);
    EXPECT_TRUE(fs::exists(mapFilePath(dir_ / "Maps", 3)));
    EXPECT_EQ(pane_->Store().Count(), 0u);
    EXPECT_TRUE(pane_->waitingForPlayer());
    // The same map again changes nothing.
    deliver(net::MsgUserPosition{10, 10, 8, 7});
    deliver(character51(7, 10, 10));
    deliver(character51(31, 11, 10));
    deliver(other);
    EXPECT_EQ(pane_->Store().Count(), 2u);
}

}  // namespace
}  // namespace vs::world
