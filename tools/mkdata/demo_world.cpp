#include "mkdata/demo_world.h"

#include <cmath>
#include <string>

#include "base/byte_io.h"
#include "mkdata/village_art.h"

namespace vs::mkdata {

namespace {

namespace v = village;

uint32_t hash(int32_t x, int32_t y, uint32_t salt) {
    uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// A map drawn in letters first. Ground: g grass, f flowers, d path, w water, c cobbles, s sand,
// o wooden floor, # nothing. Objects: T Y trees, b bush, r rock, - | fences, + post, W N D house
// fronts, O well, L lamp post.
struct Sketch {
    int32_t w, h;
    std::vector<std::string> ground, objects;
    Sketch(int32_t width, int32_t height, char fill)
        : w(width),
          h(height),
          ground(size_t(height), std::string(size_t(width), fill)),
          objects(size_t(height), std::string(size_t(width), '.')) {}
    bool in(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    void g(int32_t x, int32_t y, char c) {
        if (in(x, y)) ground[size_t(y)][size_t(x)] = c;
    }
    void o(int32_t x, int32_t y, char c) {
        if (in(x, y)) objects[size_t(y)][size_t(x)] = c;
    }
    char G(int32_t x, int32_t y) const { return in(x, y) ? ground[size_t(y)][size_t(x)] : 'g'; }
    char O(int32_t x, int32_t y) const { return in(x, y) ? objects[size_t(y)][size_t(x)] : '.'; }
    void front(int32_t x, int32_t y, const char* pieces) {
        for (int32_t i = 0; pieces[i]; ++i) o(x + i, y, pieces[i]);
    }
};

bool grassy(char c) {
    return c == 'g' || c == 'f';
}

// The edge or corner of a path or water cell from its grass neighbours.
int sideOf(const Sketch& s, int32_t x, int32_t y) {
    auto g = [&](int32_t xx, int32_t yy) { return s.in(xx, yy) && grassy(s.G(xx, yy)); };
    const bool n = g(x, y - 1), e = g(x + 1, y), so = g(x, y + 1), we = g(x - 1, y);
    if (n && e) return v::kCornerNE;
    if (so && e) return v::kCornerSE;
    if (so && we) return v::kCornerSW;
    if (n && we) return v::kCornerNW;
    if (n) return v::kEdgeN;
    if (e) return v::kEdgeE;
    if (so) return v::kEdgeS;
    if (we) return v::kEdgeW;
    return 0;
}

std::vector<MapCell> cellsOf(const Sketch& s) {
    std::vector<MapCell> cells;
    cells.reserve(size_t(s.w) * size_t(s.h));
    const std::string key = "TYbr-|+WNDOL";
    for (int32_t y = 0; y < s.h; ++y) {
        for (int32_t x = 0; x < s.w; ++x) {
            MapCell c;
            const uint32_t n = hash(x, y, 7) % 8;
            switch (s.G(x, y)) {
                case 'f':
                    c.tile = uint16_t(v::kTileGrass + 2 + n % 2);
                    break;
                case 'd':
                    c.tile = uint16_t(v::kTileDirt + sideOf(s, x, y));
                    break;
                case 'w':
                    c.tile = uint16_t(v::kTileWater + sideOf(s, x, y));
                    c.flags = 1;
                    break;
                case 'c':
                    c.tile = v::kTileCobbles;
                    break;
                case 's':
                    c.tile = v::kTileSand;
                    break;
                case 'o':
                    c.tile = v::kTileWood;
                    break;
                case '#':
                    c.tile = 0;
                    break;
                default:
                    c.tile = uint16_t(v::kTileGrass + n % 2);
                    break;
            }
            if (const auto at = key.find(s.O(x, y)); at != std::string::npos)
                c.object = uint16_t(v::kTree2 + at);
            cells.push_back(c);
        }
    }
    return cells;
}

}  // namespace

DemoMap villageMap() {
    constexpr int32_t W = 96, H = 64;
    Sketch s(W, H, 'g');
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            if (hash(x, y, 1) % 13 == 0) s.g(x, y, 'f');
    // The lake in the north-west and the river that leaves it to the south.
    for (int32_t y = 0; y < H; ++y) {
        for (int32_t x = 0; x < W; ++x) {
            const double dx = (x - 16) / 12.0, dy = (y - 13) / 8.0;
            const double d = dx * dx + dy * dy;
            if (d <= 1.0) {
                s.g(x, y, 'w');
            } else if (d <= 1.35) {
                s.g(x, y, 's');
            }
        }
    }
    for (int32_t y = 19; y < H; ++y) {
        const int32_t cx = 22 + int32_t(std::lround(4 * std::sin(y * 0.2)));
        for (int32_t x = cx - 1; x <= cx + 1; ++x) s.g(x, y, 'w');
    }
    // Roads: east to west across the map, north to south through the village; a bridge where
    // the road meets the river.
    for (int32_t x = 0; x < W; ++x)
        for (int32_t y = 30; y <= 31; ++y) s.g(x, y, s.G(x, y) == 'w' ? 'o' : 'd');
    for (int32_t y = 8; y < 56; ++y)
        for (int32_t x = 47; x <= 48; ++x) s.g(x, y, 'd');
    // The village square with its well and lamps; houses north and south of it; the inn.
    for (int32_t y = 33; y <= 38; ++y)
        for (int32_t x = 40; x <= 56; ++x) s.g(x, y, 'c');
    s.o(50, 35, 'O');
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {45, 29}, {51, 29}, {45, 39}, {51, 39}, {41, 33}, {56, 33}})
        s.o(x, y, 'L');
    s.front(38, 27, "WNDNW");
    s.front(52, 27, "WNDNW");  // the inn
    s.front(38, 42, "WNDNW");
    s.front(52, 42, "WNWNW");
    s.front(58, 42, "WDW");  // the smithy
    for (int32_t x = 59; x <= 61; ++x) s.g(x, 43, 'c');
    s.g(60, 37, 'o');  // the cellar hatch
    // Forest in the north-east and around the edges.
    for (int32_t y = 0; y < H; ++y) {
        for (int32_t x = 0; x < W; ++x) {
            const char g = s.G(x, y);
            if (g == 'w' || g == 'd' || g == 'o' || g == 's' || g == 'c') continue;
            const bool edge = x < 2 || y < 2 || x >= W - 2 || y >= H - 2;
            const bool forest = x > 60 && y < 19;
            const uint32_t n = hash(x, y, 3);
            if ((edge && n % 3 != 0) || (forest && n % 3 == 0)) s.o(x, y, n % 2 ? 'T' : 'Y');
        }
    }
    // The meadow east of the village: bushes and rocks here and there.
    const base::Rect meadow{57, 19, 91, 29};
    for (int32_t y = meadow.top; y < meadow.bottom; ++y)
        for (int32_t x = meadow.left; x < meadow.right; ++x)
            if (const uint32_t n = hash(x, y, 5) % 29; n < 2) s.o(x, y, n ? 'b' : 'r');
    // Fenced fields south-east, open on their north side.
    for (int32_t y = 44; y <= 55; ++y)
        for (int32_t x = 64; x <= 82; ++x) s.g(x, y, (y % 3 == 0) ? 'd' : 'f');
    for (int32_t x = 63; x <= 83; ++x) s.o(x, 56, '-');
    for (int32_t y = 44; y <= 55; ++y) s.o(63, y, '|'), s.o(83, y, '|');
    s.o(63, 56, '+'), s.o(83, 56, '+');

    DemoMap m;
    m.number = kVillageMap;
    m.name = "Vestrel Village";
    m.width = W, m.height = H;
    m.light = 0;
    m.flags = 0;
    m.cells = cellsOf(s);
    for (int32_t y = 28; y <= 29; ++y)
        for (int32_t x = 52; x <= 56; ++x) m.starts.push_back({x, y});
    m.meadow = meadow;
    for (int32_t x = 40; x <= 56; ++x) m.walkerPath.push_back({x, 32});
    m.smith = {59, 44};
    m.fire = {60, 44};
    m.guard = {62, 31};
    m.guardTarget = {68, 31};
    m.well = {50, 35};
    m.torch = {46, 36};
    m.stairs = {60, 37};
    return m;
}

DemoMap cellarMap() {
    constexpr int32_t W = 20, H = 16;
    Sketch s(W, H, 'o');
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            if (x == 0 || y == 0 || x == W - 1 || y == H - 1) s.g(x, y, '#');
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{2, 2}, {17, 2}, {2, 13}, {17, 13}})
        s.o(x, y, 'r');
    s.g(10, 1, 'c');
    DemoMap m;
    m.number = kCellarMap;
    m.name = "Inn Cellar";
    m.width = W, m.height = H;
    m.light = 112;  // dim, whatever the hour
    m.cells = cellsOf(s);
    m.starts = {{10, 3}, {9, 3}, {11, 3}, {10, 4}, {9, 4}, {11, 4}};
    m.meadow = {3, 7, 17, 13};
    m.stairs = {10, 1};
    return m;
}

const DemoMap* DemoWorld::map(uint16_t number) const {
    for (const auto& m : maps)
        if (m.number == number) return &m;
    return nullptr;
}

const DemoWorld& demoWorld() {
    static const DemoWorld world = [] {
        DemoWorld w;
        w.maps.push_back(villageMap());
        w.maps.push_back(cellarMap());
        for (const auto& o : v::objects()) w.blocking.push_back(o.blocking);
        return w;
    }();
    return world;
}

std::vector<uint8_t> mapFile(const DemoMap& map) {
    return vs::world::encodeMapFile(map.width, map.height, map.cells);
}

std::vector<uint8_t> scenePicture(const DemoMap& map, int32_t x, int32_t y) {
    base::ByteWriter w;
    w.bytes(std::string_view("SCENE\0\0\0", 8));
    for (int32_t row = 0; row < 15; ++row) {
        for (int32_t col = 0; col < 17; ++col) {
            const bool in =
                x + col >= 0 && y + row >= 0 && x + col < map.width && y + row < map.height;
            const MapCell c = in ? map.at(x + col, y + row) : MapCell{};
            w.u16le(c.tile).u16le(c.flags).u16le(c.object);
        }
    }
    return w.take();
}

}  // namespace vs::mkdata
