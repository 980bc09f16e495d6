#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/rect.h"
#include "world/map_grid.h"

// The demo's maps as the server keeps them, and what lives on them. The data builder writes the
// client's copies of the same maps and SOBJ.TBL from here, and the dev server serves them, so the
// blocking the client checks and the blocking the server enforces cannot drift apart.
namespace vs::mkdata {

using vs::world::MapCell;

inline constexpr uint16_t kVillageMap = 1;
inline constexpr uint16_t kCellarMap = 2;

struct Spot {
    int32_t x = 0, y = 0;
};

struct DemoMap {
    uint16_t number = 0;
    std::string name;
    int32_t width = 0, height = 0;
    uint16_t light = 0;  // 0: daylight follows the hour
    uint8_t flags = 0;   // kServerMapSize flags
    std::vector<MapCell> cells;
    std::vector<Spot> starts;      // where players appear, the first free one taken
    base::Rect meadow;             // creatures wander inside
    std::vector<Spot> walkerPath;  // the villager walks these cells back and forth
    Spot smith{-1, -1}, guard{-1, -1}, guardTarget{-1, -1}, fire{-1, -1}, well{-1, -1};
    Spot torch{-1, -1};
    Spot stairs{-1, -1};  // stepping here takes the player to the other map's start
    const MapCell& at(int32_t x, int32_t y) const {
        return cells[size_t(y) * size_t(width) + size_t(x)];
    }
};

struct DemoWorld {
    std::vector<DemoMap> maps;
    std::vector<uint8_t> blocking;  // by static object number, as SOBJ.TBL gives it
    const DemoMap* map(uint16_t number) const;
};

// The same bytes every run.
const DemoWorld& demoWorld();
DemoMap villageMap();
DemoMap cellarMap();

// A client's map file of a whole map, as the client writes it (fixtures, tests).
std::vector<uint8_t> mapFile(const DemoMap& map);
// A scene picture ("C%04d.MAP"): 8 header bytes, then 15 rows of 17 cells from (x, y).
std::vector<uint8_t> scenePicture(const DemoMap& map, int32_t x, int32_t y);

}  // namespace vs::mkdata
