// The scrambled part tables (HEAD.TBL and its kind) from untrusted bytes.
#include <cstddef>
#include <cstdint>

#include "world/figure_tables.h"

// Keeps the lookups from being optimised away.
volatile int64_t sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::world;
    int64_t sum = 0;
    for (const PartEntry& fallback : {PartTable::kHeadFallback, PartTable::kPartFallback}) {
        const PartTable t = PartTable::parse({data, size}, fallback);
        for (int64_t i = -1; i <= int64_t(t.count()); ++i) sum += t.at(i).base + t.at(i).palette;
    }
    sink = sum;
    return 0;
}
