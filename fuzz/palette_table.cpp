// TILE.TBL and TILEC.TBL from untrusted bytes.
#include "table_input.h"
#include "world/image_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parsePaletteTable(vs::fuzz::input(data, size));
    uint32_t sum = 0;
    for (uint16_t e : t) sum += e & vs::world::tables::kPaletteBits;
    return sum == 0xFFFFFFFF;
}
