#pragma once
#include <cstdint>
#include <vector>

#include "mkdata/data_set.h"
#include "world/image_tables.h"

// The demo village: ground tiles, map objects, items, effects and lights with their tables, and
// the village itself as a grid of cells. Everything is drawn from hashed noise, so every run
// gives the same bytes.
namespace vs::mkdata::village {

// TILE.EPF frames. Edges and corners name the sides where grass borders the tile.
enum Tile : uint16_t {
    kPlaceholder = 0,
    kTileGrass = 1,   // 1 … 4, the last two with flowers
    kTileDirt = 5,    // then N, E, S, W edges and NE, SE, SW, NW corners
    kTileWater = 14,  // then the shores in the same order; the water cycles
    kTileCobbles = 23,
    kTileSand = 24,
    kTileWood = 25,
    kTileCount = 26,
};
inline constexpr int kEdgeN = 1, kEdgeE = 2, kEdgeS = 3, kEdgeW = 4;
inline constexpr int kCornerNE = 5, kCornerSE = 6, kCornerSW = 7, kCornerNW = 8;

// SOBJ.TBL object numbers.
enum Object : uint16_t {
    kNoObject = 0,
    kTree2,
    kTree3,
    kBush,
    kRock,
    kFenceH,
    kFenceV,
    kFencePost,
    kWall,
    kWindowWall,
    kDoorWall,
    kWell,
    kLampPost,
    kObjectCount,
};

// ITEM.EPF frames (item k travels as 0xC000 + k).
enum Item : uint16_t {
    kCoins,
    kSword,
    kShield,
    kRedPotion,
    kBluePotion,
    kApple,
    kBread,
    kKey,
    kScroll,
    kGem,
    kTorch,
    kItemCount,
};

// EFFECT.TBL effect numbers (1-based).
enum EffectNumber : int32_t { kSparkle = 1, kFireplace, kHitBurst, kHealingRing };
// LIGHT.TBL light numbers.
enum Light : int32_t { kLampLight, kTorchLight, kFireLight, kWindowGlow };

// Edge blocking bits: up, right, down, left.
inline constexpr uint8_t kBlockAll = 15;

// One cell: its tile, its blocking flags (the object's and the water's), the object standing in
// it, an item lying on it (a wire number, 0 for none) and an effect playing on it (0 for none).
struct Cell {
    uint16_t tile = kTileGrass;
    uint8_t flags = 0;
    uint16_t object = kNoObject;
    uint16_t item = 0;
    uint8_t effect = 0;
};
struct Grid {
    int32_t width = 0, height = 0;
    std::vector<Cell> cells;
    const Cell& at(int32_t x, int32_t y) const {
        return cells[size_t(y) * size_t(width) + size_t(x)];
    }
};
Grid demoVillage();
// VILLAGE.GRD: u16 width, u16 height, then per cell u16 tile, u8 flags, u16 object, u16 item,
// u8 effect, little-endian.
std::vector<uint8_t> gridFile(const Grid& grid);

std::vector<uint8_t> tileSprites();
std::vector<uint16_t> tilePalettes();
std::vector<uint8_t> pieceSprites();
std::vector<uint16_t> piecePalettes();
std::vector<world::tables::ObjectInfo> objects();
std::vector<uint8_t> itemSprites();
std::vector<world::tables::ItemInfo> items();
std::vector<uint8_t> effectSprites();
std::vector<uint32_t> effectFramePalettes();
std::vector<world::tables::Effect> effects();
std::vector<world::tables::LightInfo> lights();

// Every file of the village into the demo archives.
void addVillage(DataSet& data);

}  // namespace vs::mkdata::village
