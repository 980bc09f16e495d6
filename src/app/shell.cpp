#include "app/shell.h"

namespace vs::app {

namespace {
std::atomic<int32_t> gPhase{0};
}

int32_t phase() { return gPhase.load(std::memory_order_relaxed); }
void setPhase(int32_t p) { gPhase.store(p, std::memory_order_relaxed); }

}  // namespace vs::app
