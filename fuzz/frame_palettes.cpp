// EFFECT.FRM from untrusted bytes.
#include "table_input.h"
#include "world/image_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parseFramePalettes(vs::fuzz::input(data, size));
    uint32_t sum = 0;
    for (uint32_t e : t) sum += e;
    return sum == 0xFFFFFFFF;
}
