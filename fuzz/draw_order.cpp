// DRWORDER.TBL from untrusted bytes.
#include <cstddef>
#include <cstdint>

#include "world/figure_tables.h"

// Keeps the lookups from being optimised away.
volatile int sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::world;
    const DrawOrderTable t = DrawOrderTable::parse({data, size});
    int sum = 0;
    for (int64_t r = -1; r <= int64_t(t.rows()); ++r)
        for (char c : t.word(r)) sum += c;
    sink = sum;
    return 0;
}
