#include "app/frame_clock.h"

#include "base/log.h"
#include "platform/clock.h"

namespace vs::app {

TimerClient::~TimerClient() {
    if (auto* fc = FrameClock::instance()) fc->cancelAll(this);
}

FrameClock::FrameClock(platform::Clock& clock) : clock_(clock) {
    lastRaw_ = clock_.nowMs();
    now_ = lastRaw_;
    start_ = lastRaw_;
    instance_ = this;
}

FrameClock::~FrameClock() {
    if (instance_ == this) instance_ = nullptr;
}

void FrameClock::read() {
    uint32_t raw = clock_.nowMs();
    now_ += uint32_t(raw - lastRaw_);
    lastRaw_ = raw;
    sinceStart_.store(uint32_t(now_) - start_, std::memory_order_relaxed);
}

void FrameClock::startTimers() {
    read();
    start_ = uint32_t(now_);
}

void FrameClock::schedule(TimerClient* client, int32_t code, uint32_t delayMs, int32_t first,
                          int32_t second) {
    if (!client) return;
    queue_.insert({now_ + delayMs, Entry{client, code, first, second}});
}

void FrameClock::cancel(TimerClient* client, int32_t code) {
    for (auto it = queue_.begin(); it != queue_.end();) {
        if (it->second.client == client && it->second.code == code)
            it = queue_.erase(it);
        else
            ++it;
    }
}

void FrameClock::cancelAll(TimerClient* client) {
    for (auto it = queue_.begin(); it != queue_.end();) {
        if (it->second.client == client)
            it = queue_.erase(it);
        else
            ++it;
    }
}

bool FrameClock::hasTimer(const TimerClient* client, int32_t code) const {
    for (const auto& [due, e] : queue_) {
        if (e.client == client && e.code == code) return true;
    }
    return false;
}

void FrameClock::update() {
    read();
#ifndef NDEBUG
    size_t fired = 0;
#endif
    while (!queue_.empty() && queue_.begin()->first <= now_) {
        Entry e = queue_.begin()->second;
        queue_.erase(queue_.begin());
#ifndef NDEBUG
        // A timer that re-arms itself with delay 0 for ever would freeze the program.
        if (++fired > 1000000) {
            VS_ERROR("FrameClock: more than a million timers in one update; stopping");
            break;
        }
#endif
        e.client->OnTimer(e.code, e.first, e.second);
    }
}

}  // namespace vs::app
