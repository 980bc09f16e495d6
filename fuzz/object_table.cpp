// SOBJ.TBL from untrusted bytes.
#include "table_input.h"
#include "world/image_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parseObjectTable(vs::fuzz::input(data, size));
    uint32_t sum = 0;
    for (const auto& o : t) {
        sum += uint32_t(o.light) + o.blocking + o.lightHeight;
        for (uint16_t p : o.pieces) sum += p;
    }
    return sum == 0xFFFFFFFF;
}
