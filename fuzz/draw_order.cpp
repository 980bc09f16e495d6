// DRWORDER.TBL from untrusted bytes.
#include <cstddef>
#include <cstdint>

#include "world/figure_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::world;
    const DrawOrderTable t = DrawOrderTable::parse({data, size});
    int sum = 0;
    for (int64_t r = -1; r <= int64_t(t.rows()); ++r)
        for (char c : t.word(r)) sum += c;
    // Keeps the lookups from being optimised away.
    static volatile int sink;
    sink = sum;
    return 0;
}
