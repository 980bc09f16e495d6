#pragma once
#include <cstddef>
#include <cstdint>
#include <map>

namespace vs::app {

// Called back on 20 ms animation ticks. Destroying a client cancels its entries.
class TickClient {
public:
    virtual ~TickClient();
    // tick: the tick at which the entry was due (missed ticks are reported one by one).
    virtual void OnTick(uint32_t tick) = 0;
};

class TickScheduler {
public:
    TickScheduler();
    ~TickScheduler();
    TickScheduler(const TickScheduler&) = delete;
    TickScheduler& operator=(const TickScheduler&) = delete;
    static TickScheduler* instance() { return instance_; }

    void scheduleNext(TickClient* client);               // at latest tick + 1
    void scheduleAfter(TickClient* client, uint32_t n);  // at current tick + n
    void cancelAll(TickClient* client);
    bool isScheduled(const TickClient* client) const;

    // Hands in the frame's tick: fires what was due before it, each at its own tick, then
    // what is due exactly at it.
    void advance(uint32_t tick);

    uint32_t currentTick() const { return current_; }
    uint32_t latestTick() const { return latest_; }
    bool firing() const { return firing_; }
    size_t pending() const { return entries_.size(); }

private:
    void insert(TickClient* client, uint32_t due);
    static inline TickScheduler* instance_ = nullptr;
    uint32_t current_ = 0;
    uint32_t latest_ = 0;
    bool firing_ = false;
    struct Entry {
        TickClient* client;
        uint64_t seq;
    };
    uint64_t nextSeq_ = 0;
    std::multimap<uint32_t, Entry> entries_;  // by due tick; insert keeps equal ticks in order
};

}  // namespace vs::app
