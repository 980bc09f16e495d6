// VILLAGE.GRD from untrusted bytes.
#include "world/village_grid.h"
#include "table_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto g = vs::world::parseVillageGrid(vs::fuzz::input(data, size));
    if (!g) return 0;
    uint32_t sum = 0;
    for (int32_t y = 0; y < g->height; ++y)
        for (int32_t x = 0; x < g->width; ++x) sum += g->at(x, y).tile;
    return sum == 0xFFFFFFFF;
}
