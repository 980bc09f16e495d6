#include "world/village_grid.h"

#include "base/byte_io.h"

namespace vs::world {

namespace {
constexpr size_t kCellSize = 8;
}

std::optional<VillageGrid> parseVillageGrid(std::span<const uint8_t> bytes) {
    base::ByteReader r(bytes);
    VillageGrid g;
    g.width = r.u16le();
    g.height = r.u16le();
    if (r.failed() || size_t(g.width) * size_t(g.height) * kCellSize != r.remaining())
        return std::nullopt;
    g.cells.resize(size_t(g.width) * size_t(g.height));
    for (GridCell& c : g.cells) {
        c.tile = r.u16le();
        c.flags = r.u8();
        c.object = r.u16le();
        c.item = r.u16le();
        c.effect = r.u8();
    }
    return g;
}

}  // namespace vs::world
