#include "app/memory_man.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/error.h"

namespace vs::app {

void* MemoryMan::allocate(size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw Win32Error(ENOMEM);
    return p;
}

void* MemoryMan::allocateZeroed(size_t n) {
    void* p = std::calloc(n ? n : 1, 1);
    if (!p) throw Win32Error(ENOMEM);
    return p;
}

void* MemoryMan::reallocate(void* p, size_t n) {
    void* q = std::realloc(p, n ? n : 1);
    if (!q) throw Win32Error(ENOMEM);  // the old block stays valid and owned by the caller
    return q;
}

void MemoryMan::release(void* p) { std::free(p); }

void MemoryMan::copy(void* d, const void* s, size_t n) {
    if (n) std::memmove(d, s, n);
}

}  // namespace vs::app
