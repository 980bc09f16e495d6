#include "platform/headless/fake_clock.h"

#include <thread>

namespace vs::platform {

uint32_t FakeClock::nowMs() {
    if (!real_) return now_;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - realStart_)
                  .count();
    return realBase_ + uint32_t(ms);
}

void FakeClock::sleepMs(uint32_t ms) {
    slept_ += ms;
    if (real_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else {
        now_ += ms;
    }
}

void FakeClock::followRealTime(bool on) {
    if (on == real_) return;
    if (on) {
        realBase_ = now_;
        realStart_ = std::chrono::steady_clock::now();
        real_ = true;
    } else {
        now_ = nowMs();
        real_ = false;
    }
}

}  // namespace vs::platform
