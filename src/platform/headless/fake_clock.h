#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/clock.h"

namespace vs::platform {

// A clock that tests move by hand. In real-time mode it follows the steady clock from its
// current reading instead, for tests that run real worker threads.
class FakeClock final : public Clock {
public:
    explicit FakeClock(uint32_t start = 1000) : now_(start) { registerSelf(this); }
    ~FakeClock() override { unregisterSelf(this); }

    uint32_t nowMs() override;
    void sleepMs(uint32_t ms) override;

    void set(uint32_t ms) { now_ = ms; }
    void advance(uint32_t ms) { now_ += ms; }
    void followRealTime(bool on);
    bool followsRealTime() const { return real_; }
    uint64_t sleptMs() const { return slept_; }

private:
    std::atomic<uint32_t> now_;
    std::atomic<bool> real_{false};
    std::atomic<uint64_t> slept_{0};
    uint32_t realBase_ = 0;
    std::chrono::steady_clock::time_point realStart_;
};

}  // namespace vs::platform
