// ITEM.TBL from untrusted bytes.
#include "table_input.h"
#include "world/image_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parseItemTable(vs::fuzz::input(data, size));
    uint32_t sum = 0;
    for (const auto& i : t.items) sum += uint32_t(i.palette) + uint32_t(i.light) + i.cycles;
    return sum == 0xFFFFFFFF;
}
