#include "mkdata/demo_world.h"

#include <gtest/gtest.h>

#include <set>

#include "mkdata/image_table_writer.h"
#include "mkdata/village_art.h"
#include "world/image_tables.h"

namespace vs::mkdata {
namespace {

using vs::world::Passage;

TEST(DemoWorld, BlockingIsWhatTheClientReadsFromSobjTbl) {
    const auto parsed = vs::world::tables::parseObjectTable(objectTable(village::objects()));
    std::vector<uint8_t> client;
    for (const auto& o : parsed) client.push_back(o.blocking);
    EXPECT_EQ(client, demoWorld().blocking);
    EXPECT_NE(std::count(client.begin(), client.end(), 0), std::ptrdiff_t(client.size()));
}

TEST(DemoWorld, MapsArePlayable) {
    const auto& world = demoWorld();
    ASSERT_NE(world.map(kVillageMap), nullptr);
    ASSERT_NE(world.map(kCellarMap), nullptr);
    EXPECT_EQ(world.map(kVillageMap)->width, 96);
    EXPECT_EQ(world.map(kVillageMap)->height, 64);
    EXPECT_EQ(world.map(kCellarMap)->width, 20);
    for (const DemoMap& m : world.maps) {
        SCOPED_TRACE(m.name);
        ASSERT_EQ(m.cells.size(), size_t(m.width) * m.height);
        for (const auto& c : m.cells) ASSERT_LE(c.flags, 1);
        vs::world::MapGrid g;
        g.Assign(m.number, m.width, m.height, m.cells);
        const vs::world::WalkContext walk{world.blocking};
        auto canLeave = [&](Spot s) {
            for (int d = 0; d < 4; ++d)
                if (g.Passable(s.x, s.y, d, walk) == Passage::Open) return true;
            return false;
        };
        std::set<std::pair<int, int>> seen;
        for (const Spot& s : m.starts) {
            EXPECT_TRUE(seen.insert({s.x, s.y}).second) << s.x << "," << s.y;
            EXPECT_TRUE(canLeave(s)) << s.x << "," << s.y;
            EXPECT_EQ(g.cell(s.x, s.y)->object, 0);
        }
        EXPECT_TRUE(g.inside(m.stairs.x, m.stairs.y));
        int open = 0;
        for (int32_t y = m.meadow.top; y < m.meadow.bottom; ++y)
            for (int32_t x = m.meadow.left; x < m.meadow.right; ++x)
                open += canLeave({x, y}) && g.cell(x, y)->object == 0;
        EXPECT_GT(open, m.meadow.width() * m.meadow.height() / 2);
        for (const Spot& s : m.walkerPath) EXPECT_TRUE(canLeave(s));
    }
}

}  // namespace
}  // namespace vs::mkdata
