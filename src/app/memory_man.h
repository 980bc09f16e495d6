#pragma once
#include <cstddef>

namespace vs::app {

// Raw allocations that fail loudly: an exhausted allocator raises Win32Error (out of memory)
// instead of returning null, so callers never test for it.
struct MemoryMan {
    static void* allocate(size_t n);
    static void* allocateZeroed(size_t n);
    static void* reallocate(void* p, size_t n);
    static void release(void* p);
    static void copy(void* destination, const void* source, size_t n);  // may overlap
};

}  // namespace vs::app
