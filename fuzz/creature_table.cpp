// MONSTER.DNA from untrusted bytes, and every lookup animation timing makes in it.
#include <cstddef>
#include <cstdint>

#include "world/figure_tables.h"

// Keeps the lookups from being optimised away.
volatile uint32_t sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::world;
    const CreatureTable t = CreatureTable::parse({data, size});
    uint32_t sum = 0;
    for (int64_t n = -1; n <= int64_t(t.count()); ++n) {
        const Creature& c = t.motions(n);
        for (int64_t m = -1; m <= int64_t(c.motions.size()); ++m) {
            const CreatureMotion& motion = c.motion(m);
            for (int64_t f = -1; f <= int64_t(motion.frames.size()); ++f)
                sum += motion.frame(f).offset + c.baseFrame;
        }
    }
    sink = sum;
    return 0;
}
