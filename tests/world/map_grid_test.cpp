#include "world/map_grid.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "base/byte_io.h"

namespace vs::world {
namespace {

namespace fs = std::filesystem;

// Bit by bit, as the checksum is defined: each 16-bit word enters after the register shifted
// by one byte.
uint16_t referenceCrc(const std::vector<uint16_t>& words) {
    uint16_t c = 0;
    for (uint16_t w : words) {
        uint16_t t = uint16_t(c >> 8) << 8;
        for (int b = 0; b < 8; ++b)
            t = (t & 0x8000) ? uint16_t((t << 1) ^ 0x1021) : uint16_t(t << 1);
        c = uint16_t((c << 8) ^ t ^ w);
    }
    return c;
}

MapGrid randomGrid(uint16_t number, int32_t w, int32_t h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<MapCell> cells(size_t(w) * h);
    for (auto& c : cells) c = {uint16_t(rng()), uint16_t(rng()), uint16_t(rng())};
    MapGrid g;
    g.Assign(number, w, h, std::move(cells));
    return g;
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vs_map_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        maps_ = dir_ / "Maps";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void writeFile(uint16_t number, const std::vector<uint8_t>& bytes) {
        fs::create_directories(maps_);
        std::ofstream(mapFilePath(maps_, number), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    fs::path dir_, maps_;
};

TEST(MapChecksum, KnownValuesAndRandomRectanglesAgainstBitwiseReference) {
    MapGrid one;
    one.Assign(1, 1, 1, {{1, 0, 0}});
    EXPECT_EQ(one.Checksum({0, 0, 1, 1}), 0x1021);
    MapGrid zero;
    zero.Assign(1, 30, 20, std::vector<MapCell>(600));
    EXPECT_EQ(zero.Checksum({-5, -5, 40, 40}), 0);

    const MapGrid g = randomGrid(3, 40, 30, 7);
    std::mt19937 rng(11);
    for (int i = 0; i < 200; ++i) {
        const int32_t x = int32_t(rng() % 60) - 10, y = int32_t(rng() % 50) - 10;
        const base::Rect r = base::Rect::fromSize(x, y, int32_t(rng() % 25), int32_t(rng() % 20));
        std::vector<uint16_t> words;
        for (int32_t cy = std::max(r.top, 0); cy < std::min(r.bottom, 30); ++cy)
            for (int32_t cx = std::max(r.left, 0); cx < std::min(r.right, 40); ++cx) {
                const MapCell& c = *g.cell(cx, cy);
                words.insert(words.end(), {c.tile, c.flags, c.object});
            }
        ASSERT_EQ(g.Checksum(r), referenceCrc(words)) << r.left << "," << r.top;
    }
}

TEST(MapChecksum, ScrollStripsLieNextToTheWidenedView) {
    // The view at (10, 20): widened it is (9, 19) to (28, 36).
    EXPECT_EQ(scrollStrip(10, 20, 0), (base::Rect{9, 18, 28, 19}));
    EXPECT_EQ(scrollStrip(10, 20, 1), (base::Rect{28, 19, 29, 36}));
    EXPECT_EQ(scrollStrip(10, 20, 2), (base::Rect{9, 36, 28, 37}));
    EXPECT_EQ(scrollStrip(10, 20, 3), (base::Rect{8, 19, 9, 36}));
}

TEST(MapPassable, Rules) {
    // Blocking bytes: 1 blocks the bottom edge, 2 the top, 4 the left, 8 the right.
    const std::vector<uint8_t> blocking = {0, 2, 1, 8, 4, 15};
    struct Case {
        const char* what;
        MapCell here, target;
        int direction;
        bool dead;
        int creature;  // 0 none, 1 a creature, 2 one whose name ends in "gm"
        Passage expected;
    };
    const Case cases[] = {
        {"open ground", {1, 0, 0}, {1, 0, 0}, 2, false, 0, Passage::Open},
        {"tile 0 without flags", {1, 0, 0}, {0, 0, 0}, 2, false, 0, Passage::Blocked},
        {"flag bit 0", {1, 0, 0}, {1, 1, 0}, 2, false, 0, Passage::Blocked},
        {"other flag bits", {1, 0, 0}, {1, 0xFFFE, 0}, 2, false, 0, Passage::Open},
        {"dead walks anywhere", {1, 0, 0}, {0, 1, 5}, 2, true, 1, Passage::Open},
        {"creature", {1, 0, 0}, {1, 0, 0}, 2, false, 1, Passage::Occupied},
        {"gm creature", {1, 0, 0}, {1, 0, 0}, 2, false, 2, Passage::Open},
        {"top bit here stops up", {1, 0, 1}, {1, 0, 0}, 0, false, 0, Passage::Blocked},
        {"top bit here lets down", {1, 0, 1}, {1, 0, 0}, 2, false, 0, Passage::Open},
        {"bottom bit of target stops up", {1, 0, 0}, {1, 0, 2}, 0, false, 0, Passage::Blocked},
        {"right bit here stops right", {1, 0, 3}, {1, 0, 0}, 1, false, 0, Passage::Blocked},
        {"left bit of target stops right", {1, 0, 0}, {1, 0, 4}, 1, false, 0, Passage::Blocked},
        {"left bit here stops left", {1, 0, 4}, {1, 0, 0}, 3, false, 0, Passage::Blocked},
        {"right bit of target stops left", {1, 0, 0}, {1, 0, 3}, 3, false, 0, Passage::Blocked},
        {"both beyond the table", {1, 0, 6}, {1, 0, 900}, 2, false, 0, Passage::Blocked},
        {"one beyond has no bits", {1, 0, 0}, {1, 0, 900}, 2, false, 0, Passage::Open},
        {"the other beyond", {1, 0, 70}, {1, 0, 0}, 2, false, 0, Passage::Open},
    };
    for (const Case& c : cases) {
        MapGrid g;
        // here at (1, 1); the target is wherever the direction points, the rest is open.
        std::vector<MapCell> cells(9, MapCell{1, 0, 0});
        cells[4] = c.here;
        const int32_t tx = 1 + kStepDx[c.direction], ty = 1 + kStepDy[c.direction];
        cells[size_t(ty * 3 + tx)] = c.target;
        g.Assign(1, 3, 3, cells);
        WalkContext ctx{blocking, c.dead, {}};
        if (c.creature)
            ctx.creatureAt = [&](int32_t x, int32_t y, bool& passable) {
                passable = walksThrough(c.creature == 2 ? u"Sentry_gm" : u"Wolf");
                return x == tx && y == ty;
            };
        EXPECT_EQ(g.Passable(1, 1, c.direction, ctx), c.expected) << c.what;
    }
    MapGrid g;
    g.Assign(1, 3, 3, std::vector<MapCell>(9, MapCell{1, 0, 0}));
    EXPECT_EQ(g.Passable(0, 0, 0, {blocking}), Passage::Blocked) << "off the map";
    EXPECT_EQ(g.Passable(2, 2, 1, {blocking, true}), Passage::Blocked) << "off the map, dead";
}

TEST(MapServerTiles, ClippedToTheMapAndOnlyFlagBitZero) {
    MapGrid g;
    g.Assign(1, 4, 3, std::vector<MapCell>(12, MapCell{1, 0xF0, 0}));
    // A 3 x 2 rectangle at (2, 2): only (2, 2) and (3, 2) are inside.
    const std::vector<MapCell> tiles = {{7, 0xFF, 3}, {1, 0, 4}, {9, 1, 5},
                                        {8, 1, 6},    {8, 1, 6}, {8, 1, 6}};
    std::vector<std::pair<int, int>> changed;
    g.ApplyServerTiles(2, 2, 3, 2, tiles, [&](int32_t x, int32_t y) { changed.push_back({x, y}); });
    EXPECT_EQ(*g.cell(2, 2), (MapCell{7, 0xF1, 3}));
    EXPECT_EQ(*g.cell(3, 2), (MapCell{1, 0xF0, 4}));
    EXPECT_EQ(*g.cell(1, 2), (MapCell{1, 0xF0, 0}));
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{2, 2}}));
}

std::vector<uint8_t> header(const char* magic, uint16_t w, uint16_t h) {
    base::ByteWriter out;
    out.bytes(std::string_view(magic, 4)).u16le(w).u16le(h);
    return out.take();
}
std::vector<uint8_t> compressed(const std::vector<uint8_t>& raw) {
    uLongf n = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(n);
    compress(out.data(), &n, raw.data(), uLong(raw.size()));
    out.resize(n);
    return out;
}

TEST_F(TempDir, LoadTakesOnlyAMatchingFileAndNeverMoreThanTheGrid) {
    const MapGrid source = randomGrid(5, 6, 4, 3);
    const auto good = encodeMapFile(6, 4, source.cells());
    base::ByteWriter w;
    for (const auto& c : source.cells()) w.u16le(c.tile).u16le(c.flags).u16le(c.object);
    const std::vector<uint8_t> raw = w.take();
    auto longer = raw;
    longer.insert(longer.end(), 600, 0xAB);
    auto plus = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    auto truncated = good;
    truncated.resize(good.size() / 2);
    struct Case {
        const char* what;
        bool present;
        std::vector<uint8_t> file;
        size_t cellsKept;  // from the source, then zero
    };
    const Case cases[] = {
        {"no file", false, {}, 0},
        {"whole file", true, good, 24},
        {"other magic", true, plus(header("CMAQ", 6, 4), compressed(raw)), 0},
        {"other width", true, plus(header("CMAP", 7, 4), compressed(raw)), 0},
        {"other height", true, plus(header("CMAP", 6, 3), compressed(raw)), 0},
        {"short header", true, {'C', 'M', 'A', 'P', 6}, 0},
        {"overlong stream", true, plus(header("CMAP", 6, 4), compressed(longer)), 24},
        {"damaged stream", true, plus(header("CMAP", 6, 4), {1, 2, 3, 4, 5}), 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_);
        if (c.present) writeFile(5, c.file);
        MapGrid g;
        g.Enter(maps_, 5, 6, 4, false);
        ASSERT_TRUE(g.hasCells()) << c.what;
        EXPECT_TRUE(fs::is_directory(maps_)) << c.what;
        for (size_t i = 0; i < 24; ++i)
            ASSERT_EQ(g.cells()[i], i < c.cellsKept ? source.cells()[i] : MapCell{})
                << c.what << " cell " << i;
    }
    // A truncated stream fills what it reaches and leaves the rest zero.
    fs::remove_all(dir_);
    writeFile(5, truncated);
    MapGrid g;
    g.Enter(maps_, 5, 6, 4, false);
    size_t reached = 0;
    while (reached < 24 && g.cells()[reached] == source.cells()[reached]) ++reached;
    EXPECT_LT(reached, 24u);
    for (size_t i = reached + 1; i < 24; ++i) EXPECT_EQ(g.cells()[i], MapCell{});
}

TEST_F(TempDir, StoreWritesAWholeFileAndAlwaysFreesTheGrid) {
    MapGrid g = randomGrid(9, 30, 20, 5);
    const std::vector<MapCell> kept(g.cells().begin(), g.cells().end());
    ASSERT_TRUE(g.Store(maps_));
    EXPECT_FALSE(g.hasCells());
    std::ifstream in(mapFilePath(maps_, 9), std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "CMAP");
    MapGrid back;
    back.Enter(maps_, 9, 30, 20, false);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), back.cells().begin()));

    // The file cannot be replaced (a directory stands in its place): nothing is written, what
    // was there stays, and the grid is freed all the same.
    MapGrid blocked = randomGrid(4, 5, 5, 1);
    fs::create_directories(mapFilePath(maps_, 4) / "inside");
    EXPECT_FALSE(blocked.Store(maps_));
    EXPECT_FALSE(blocked.hasCells());
    EXPECT_TRUE(fs::is_directory(mapFilePath(maps_, 4) / "inside"));
    EXPECT_TRUE(fs::exists(mapFilePath(maps_, 9)));
}

TEST_F(TempDir, EnterMap) {
    struct Case {
        const char* what;
        uint16_t number, width, height;
        bool forced;
        bool numberChanged, resized, oldFileWritten;
        bool keepsCells;
    };
    const Case cases[] = {
        {"same map", 2, 10, 8, false, false, false, false, true},
        {"new number", 3, 10, 8, false, true, false, true, false},
        {"same number, new size", 2, 12, 8, false, false, true, false, false},
        {"forced: stored and loaded again", 2, 10, 8, true, true, false, true, true},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_);
        MapGrid g;
        g.Enter(maps_, 2, 10, 8, false);
        g.ApplyServerTiles(0, 0, 1, 1, std::vector<MapCell>{{42, 1, 0}});
        const auto r = g.Enter(maps_, c.number, c.width, c.height, c.forced);
        EXPECT_EQ(r.numberChanged, c.numberChanged) << c.what;
        EXPECT_EQ(r.resized, c.resized) << c.what;
        EXPECT_EQ(fs::exists(mapFilePath(maps_, 2)), c.oldFileWritten) << c.what;
        ASSERT_TRUE(g.hasCells()) << c.what;
        EXPECT_EQ(g.width(), c.width) << c.what;
        EXPECT_EQ(g.cells().size(), size_t(c.width) * c.height) << c.what;
        EXPECT_EQ(g.cell(0, 0)->tile, c.keepsCells ? 42 : 0) << c.what;
    }
    // Map 0 first: no number change, but a grid of the given size.
    MapGrid first;
    const auto r = first.Enter(maps_, 0, 17, 15, false);
    EXPECT_FALSE(r.numberChanged);
    EXPECT_TRUE(first.hasCells());
    EXPECT_EQ(first.cells().size(), 17u * 15u);
    // Beyond the catalogue's cap: no cells at all.
    MapGrid huge;
    huge.Enter(maps_, 8, 65535, 65535, false);
    EXPECT_FALSE(huge.hasCells());
    EXPECT_EQ(huge.cell(0, 0), nullptr);
}

}  // namespace
}  // namespace vs::world
