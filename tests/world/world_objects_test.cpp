// The object store and the map view's handling of the server's world messages, on a fake clock
// without image libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/frame_clock.h"
#include "mkdata/demo_world.h"
#include "net/client_commands.h"
#include "net/server_messages.h"
#include "platform/headless/fake_clock.h"
#include "world/map_pane.h"
#include "world/object_store.h"
#include "world/scene_overlay_pane.h"

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
        {"an item with the player's id unfiles the player until a 51",
         [](MapPaneTest& t) {
             net::MsgDrawObjects d;
             d.objects.push_back({21, 15, 7, 0xC001, 0, 0});
             t.deliver(d);
         },
         [](MapPaneTest& t) {
             EXPECT_FALSE(t.pane_->Store().Holds(&t.pane_->User()));
             t.deliver(character51(7, 20, 15));
             EXPECT_EQ(t.pane_->Store().FindById(7), &t.pane_->User());
             EXPECT_TRUE(t.pane_->Store().List(kItemObject).empty());
         }},
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
        {"a scene without its picture is dropped",
         [](MapPaneTest& t) {
             t.deliver(net::MsgScene{77, 0x8000, 1, 2, 2});
         },
         [](MapPaneTest& t) {
             EXPECT_EQ(t.pane_->OpenScene(net::MsgScene{77, 0, 1, 2, 2}), nullptr);
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

TEST_F(MapPaneTest, HitsBalloonsMotionsAndMissiles) {
    std::vector<std::pair<int32_t, int32_t>> sounds;
    pane_->SetSoundSink([&](int32_t s, int32_t v) { sounds.push_back({s, v}); });
    deliver(character51(30, 22, 15));
    auto* c = static_cast<CharacterObjectPane*>(pane_->Store().FindById(30));
    ASSERT_NE(c, nullptr);
    auto bars = [&] { return pane_->Store().List(kHealthBarObject).size(); };

    struct Hit {
        uint8_t strength, percent;
        int32_t colour;
        size_t bars;
        bool deadSign;
    };
    const Hit hits[] = {{10, 30, 133, 1, false},
                        {0, 101, 143, 0, false},
                        {143, 0, 0, 1, true},
                        {200, 50, 0, 1, false}};
    for (const Hit& h : hits) {
        sounds.clear();
        deliver(net::MsgDamageEffect{30, h.strength, h.percent});
        EXPECT_EQ(c->damageColour(), h.colour) << int(h.strength);
        EXPECT_EQ(bars(), h.bars) << int(h.percent);
        if (h.bars) {
            EXPECT_EQ(static_cast<HealthBarObjectPane*>(pane_->Store().List(kHealthBarObject)[0])
                          ->deadSign(),
                      h.deadSign);
        }
        EXPECT_EQ(sounds, (std::vector<std::pair<int32_t, int32_t>>{{0, 100}}));
        advance(500);
        EXPECT_EQ(c->damageColour(), 0);
        EXPECT_EQ(bars(), 0u);
    }

    net::MsgSay say;
    say.kind = 1, say.id = 30, say.text = std::u16string(100, u'a');
    deliver(say);
    ASSERT_EQ(pane_->Store().List(kBalloonObject).size(), 1u);
    auto* b = static_cast<BalloonObjectPane*>(pane_->Store().List(kBalloonObject)[0]);
    EXPECT_EQ(b->text().size(), 69u);
    EXPECT_EQ(b->colour(), 14);
    deliver(say);  // replaces the first
    EXPECT_EQ(pane_->Store().List(kBalloonObject).size(), 1u);
    advance(3000);
    EXPECT_TRUE(pane_->Store().List(kBalloonObject).empty());

    // Motions: 0 ends at once (its sound still plays at frame 0); 2 plays 709 at its second
    // frame; a fourth controller cancels the oldest.
    sounds.clear();
    deliver(net::MsgMotion{30, 0, 5, 7});
    EXPECT_EQ(c->controllerCount(), 0u);
    EXPECT_EQ(sounds, (std::vector<std::pair<int32_t, int32_t>>{{7, 80}}));
    sounds.clear();
    deliver(net::MsgMotion{30, 2, 5, 7});
    EXPECT_EQ(c->currentPose(), 2);
    EXPECT_TRUE(sounds.empty());
    advance(50);
    EXPECT_EQ(sounds, (std::vector<std::pair<int32_t, int32_t>>{{709, 80}}));
    advance(100);
    EXPECT_EQ(c->controllerCount(), 0u);
    for (int i = 0; i < 4; ++i) deliver(net::MsgMotion{30, 22, 100, 255});
    EXPECT_LE(c->controllerCount(), 3u);
    advance(5000);
    EXPECT_EQ(c->controllerCount(), 0u);

    // A missile over three cells arrives in 120 ms and flashes its target; one with no
    // distance hits at once.
    sounds.clear();
    net::MsgFlyingObject shot;
    shot.shooter = 7, shot.missile = 50, shot.image = 0xC001;
    shot.startX = 19, shot.startY = 15, shot.endX = 22, shot.endY = 15, shot.target = 30;
    deliver(shot);
    ASSERT_NE(pane_->Store().FindById(50), nullptr);
    advance(80);
    EXPECT_NE(pane_->Store().FindById(50), nullptr);
    advance(50);
    EXPECT_EQ(pane_->Store().FindById(50), nullptr);
    EXPECT_EQ(c->damageColour(), 142);
    EXPECT_EQ(sounds, (std::vector<std::pair<int32_t, int32_t>>{{709, 100}, {701, 100}}));
    advance(200);
    shot.startX = 22, shot.missile = 51;
    deliver(shot);
    EXPECT_EQ(pane_->Store().FindById(51), nullptr);
    EXPECT_EQ(c->damageColour(), 142);
    checkInvariants();
}

}  // namespace
}  // namespace vs::world

namespace vs::world {
namespace {

TEST(WorldObjectRules, HealthBarWidthsAndColours) {
    struct Case {
        int64_t percent, maximum;
        int32_t width;
        uint8_t colour;
    };
    const Case cases[] = {
        {30, 100, 6, 12}, {50, 100, 11, 14}, {100, 100, 22, 2}, {60, 0, 13, 2},
        {60, -5, 13, 2},  {250, 100, 22, 2}, {1, 100, 0, 12},   {40, 20, 22, 2},
    };
    for (const Case& c : cases) {
        const int32_t w = HealthBarObjectPane::innerWidth(c.percent, c.maximum);
        EXPECT_EQ(w, c.width) << c.percent << "/" << c.maximum;
        EXPECT_EQ(HealthBarObjectPane::colourFor(w), c.colour) << c.percent << "/" << c.maximum;
    }
}

TEST(WorldObjectRules, MissilePlacementPerQuadrantIn64Bits) {
    auto reference = [](int64_t n, int64_t k, int64_t dx, int64_t dy) {
        const bool right = dx > (dy < 0 ? -dy : dy);
        const bool up = !right && dy < dx && dx <= -dy;
        const bool down = !right && !up && dy >= dx && dx > -dy;
        const int64_t lx = right ? 15 : up ? 5 : down ? -6 : -15;
        const int64_t ly = right || (!up && !down) ? -18 : -21;
        return base::Point{int32_t((lx * (n - k - 1) + (k + 1) * dx * 24) / n - 9),
                           int32_t((ly * (n - k - 1) + (k + 1) * dy * 24) / n - 6)};
    };
    const int64_t deltas[][2] = {{3, 0},  {0, -4}, {-2, 0},  {0, 5},        {2, -2},
                                 {-3, 3}, {1, 1},  {-1, -1}, {60000, 5000}, {-65535, 65535}};
    for (const auto& d : deltas) {
        const int64_t n = std::abs(d[0]) + std::abs(d[1]);
        for (int64_t k : {int64_t(0), n / 2, n - 1})
            EXPECT_EQ(MissileObjectPane::placement(n, k, d[0], d[1]), reference(n, k, d[0], d[1]))
                << d[0] << "," << d[1] << " step " << k;
    }
}

}  // namespace
}  // namespace vs::world

namespace vs::world {
namespace {

class TimedObjects : public ::testing::Test {
  protected:
    void SetUp() override { clock_.startTimers(); }
    // Runs the clock for ms in 10 ms updates; answers how many timers fired at most per update.
    void advance(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            fake_.advance(10);
            clock_.update();
        }
    }
    platform::FakeClock fake_{1000};
    app::FrameClock clock_{fake_};
};

TEST_F(TimedObjects, EffectLoopsEndByDurationAndZeroDelaysCannotSpin) {
    tables::EffectList list;
    for (int i = 0; i < 4; ++i) list.frames.push_back({i, 0, 0.0f, -1});  // delays of 0
    list.loopStart = 1, list.loopEnd = 2;
    struct Case {
        int64_t duration;
        bool expiredAfter2s;
    };
    for (const Case c : {Case{-1, false}, Case{0, true}, Case{500, true}, Case{5000, false}}) {
        EffectObjectPane e(kFrontEffectObject, 1, list, 3, 3, false);
        bool expired = false;
        e.expired = [&](ObjectPane&) { expired = true; };
        e.Start(c.duration);
        EXPECT_EQ(e.frameIndex(), 0);
        advance(2000);
        EXPECT_EQ(expired, c.expiredAfter2s) << c.duration;
        EXPECT_LE(clock_.pending(), 2u);
        e.retire();
    }
}

TEST_F(TimedObjects, SoundEmitterKindsAndRepeats) {
    using Plan = SoundEmitterObjectPane::Plan;
    struct Case {
        const char* what;
        Plan plan;
        uint32_t runMs;
        int plays;
        bool gone;
    };
    const Case cases[] = {
        {"modifier 0 plays nothing", {5, 80, 0}, 100, 0, true},
        {"modifier 1 plays once", {5, 80, 1}, 100, 1, true},
        {"modifier 2 stays for its seconds", {5, 80, 2, 0, 0, 2, 3}, 2900, 1, false},
        {"modifier 2 then goes", {5, 80, 2, 0, 0, 2, 3}, 3100, 1, true},
        {"every 500 ms, three times", {5, 80, 3, 500, 0, 1, 3}, 5000, 3, true},
        {"a period of 0 is 100 ms", {5, 80, 3, 0, 0, 2, 1}, 2000, 9, true},
        {"forever", {5, 80, 3, 1000, 0, 0, 0}, 10050, 10, false},
        {"never by chance 0", {5, 80, 4, 100, 0, 0, 0}, 1050, 0, false},
        {"always by chance 100", {5, 80, 4, 100, 100, 0, 0}, 1050, 10, false},
        {"an unknown modifier plays once", {5, 80, 9}, 100, 1, true},
    };
    for (const Case& c : cases) {
        SoundEmitterObjectPane e(1, 1, c.plan);
        int plays = 0;
        bool gone = false;
        e.play = [&](int32_t, int32_t) { ++plays; };
        e.chance = [] { return 32766u; };
        e.expired = [&](ObjectPane& o) {
            gone = true;
            o.retire();
        };
        e.Start();
        advance(c.runMs);
        EXPECT_EQ(plays, c.plays) << c.what;
        EXPECT_EQ(gone, c.gone) << c.what;
        e.retire();
    }
}

}  // namespace
}  // namespace vs::world

namespace vs::world {
namespace {

TEST(SceneOverlay, PictureAndCharacter) {
    const auto demo = mkdata::scenePicture(mkdata::villageMap(), 40, 26);
    const auto cells = SceneOverlayPane::ParseScene(demo);
    ASSERT_TRUE(cells);
    EXPECT_EQ((*cells)[0], mkdata::villageMap().at(40, 26));
    EXPECT_EQ((*cells)[16 + 14 * 17], mkdata::villageMap().at(56, 40));
    EXPECT_FALSE(SceneOverlayPane::ParseScene(std::span(demo).first(demo.size() - 1)));
    EXPECT_FALSE(SceneOverlayPane::ParseScene({}));

    const Appearance creature = SceneOverlayPane::SceneCharacter(0x8003);
    EXPECT_EQ(creature.kind, Appearance::kCreature);
    EXPECT_EQ(creature.image, 0x8003);
    const Appearance person = SceneOverlayPane::SceneCharacter(0x0207);
    EXPECT_EQ(person.kind, Appearance::kCharacter);
    EXPECT_EQ(person.head, 7);
    EXPECT_EQ(person.body, 2);
    EXPECT_EQ(pickWeapon(person.weapon, false).weaponClass, WeaponClass::Unarmed);
}

}  // namespace
}  // namespace vs::world
