#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vs::world {

// A small hand-made map of cells, for pictures of the world before maps are served: u16 width,
// u16 height, then per cell u16 tile, u8 blocking flags, u16 static object, u16 item (a wire
// number, 0 for none), u8 effect (0 for none), little-endian.
struct GridCell {
    uint16_t tile = 0;
    uint8_t flags = 0;
    uint16_t object = 0;
    uint16_t item = 0;
    uint8_t effect = 0;
};
struct VillageGrid {
    int32_t width = 0, height = 0;
    std::vector<GridCell> cells;
    const GridCell& at(int32_t x, int32_t y) const {
        return cells[size_t(y) * size_t(width) + size_t(x)];
    }
};
inline constexpr const char* kVillageGridFile = "VILLAGE.GRD";

// Nothing when the bytes do not hold every cell the sizes promise.
std::optional<VillageGrid> parseVillageGrid(std::span<const uint8_t> bytes);

}  // namespace vs::world
