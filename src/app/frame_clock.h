#pragma once
#include <cstddef>
#include <cstdint>
#include <atomic>
#include <map>

namespace vs::platform {
class Clock;
}

namespace vs::app {

// Called back by the frame clock on the UI thread. Destroying a client cancels its timers.
class TimerClient {
public:
    virtual ~TimerClient();
    virtual bool OnTimer(int32_t code, int32_t first, int32_t second) = 0;
};

// The program's millisecond clock and its timer queue, examined once per frame step. Time is
// uint32 at every interface; inside it is 64-bit so a wrap of the system clock changes nothing.
class FrameClock {
public:
    explicit FrameClock(platform::Clock& clock);
    ~FrameClock();
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;
    static FrameClock* instance() { return instance_; }

    // First frame: the finest timer period (nothing to set here) and a fresh reading.
    void startTimers();
    // Takes a new reading of the system clock.
    void read();
    uint32_t now() const { return uint32_t(now_); }
    uint64_t now64() const { return now_; }
    uint32_t startTime() const { return start_; }
    // Milliseconds from startTimers to the last reading, readable from any thread or a signal
    // handler (the crash report prints it).
    static uint32_t sinceStart() { return sinceStart_.load(std::memory_order_relaxed); }

    void schedule(TimerClient* client, int32_t code, uint32_t delayMs, int32_t first = 0,
                  int32_t second = 0);
    void cancel(TimerClient* client, int32_t code);
    void cancelAll(TimerClient* client);
    bool hasTimer(const TimerClient* client, int32_t code) const;
    size_t pending() const { return queue_.size(); }

    // Reads the clock and fires every due timer in due order (equal times in scheduling order).
    // A timer scheduled again with delay 0 from OnTimer fires again in the same update.
    void update();

private:
    struct Entry {
        TimerClient* client;
        int32_t code;
        int32_t first;
        int32_t second;
    };
    static inline FrameClock* instance_ = nullptr;
    static inline std::atomic<uint32_t> sinceStart_{0};
    platform::Clock& clock_;
    uint32_t lastRaw_ = 0;
    uint64_t now_ = 0;
    uint32_t start_ = 0;
    std::multimap<uint64_t, Entry> queue_;  // by due time; insert keeps equal times in order
};

}  // namespace vs::app
