// EFFECT.TBL from untrusted bytes.
#include "table_input.h"
#include "world/image_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parseEffectTable(vs::fuzz::input(data, size));
    if (!t) return 0;
    uint32_t sum = 0;
    for (const auto& e : *t) {
        for (const auto* list : {&e.front, &e.behind}) {
            // A kept loop lies inside its list.
            if (list->loops() && list->frames.at(size_t(list->loopEnd)).frame == list->loopStart)
                ++sum;
            for (const auto& f : list->frames) sum += uint32_t(f.frame) + uint32_t(f.time);
        }
    }
    return sum == 0xFFFFFFFF;
}
