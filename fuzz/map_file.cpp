// A map file ("CMAP") from untrusted bytes, read for the size its header names (kept small),
// then summed and walked.
#include "table_input.h"
#include "world/map_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto bytes = vs::fuzz::input(data, size);
    if (bytes.size() < 8) return 0;
    auto small = [](int32_t v, int32_t most) { return v >= 1 && v <= most ? v : 1 + v % most; };
    const int32_t w = small(bytes[4] | bytes[5] << 8, 96), h = small(bytes[6] | bytes[7] << 8, 64);
    auto cells = vs::world::decodeMapFile(bytes, w, h);
    if (cells.size() != size_t(w) * size_t(h)) __builtin_trap();
    vs::world::MapGrid g;
    g.Assign(1, w, h, std::move(cells));
    const uint8_t blocking[] = {0, 1, 2, 4, 8, 15};
    uint32_t open = g.Checksum({-1, -1, w + 1, h + 1});
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            for (int d = 0; d < 4; ++d)
                open += g.Passable(x, y, d, {blocking}) == vs::world::Passage::Open;
    return open == 0xFFFFFFFF;
}
