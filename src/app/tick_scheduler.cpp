#include "app/tick_scheduler.h"

namespace vs::app {

TickClient::~TickClient() {
    if (auto* s = TickScheduler::instance()) s->cancelAll(this);
}

TickScheduler::TickScheduler() { instance_ = this; }

TickScheduler::~TickScheduler() {
    if (instance_ == this) instance_ = nullptr;
}

void TickScheduler::insert(TickClient* client, uint32_t due) {
    if (client) entries_.insert({due, Entry{client, nextSeq_++}});
}

void TickScheduler::scheduleNext(TickClient* client) { insert(client, latest_ + 1); }

void TickScheduler::scheduleAfter(TickClient* client, uint32_t n) { insert(client, current_ + n); }

void TickScheduler::cancelAll(TickClient* client) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.client == client)
            it = entries_.erase(it);
        else
            ++it;
    }
}

bool TickScheduler::isScheduled(const TickClient* client) const {
    for (const auto& [due, e] : entries_) {
        if (e.client == client) return true;
    }
    return false;
}

void TickScheduler::advance(uint32_t tick) {
    if (tick == latest_) return;
    latest_ = tick;
    firing_ = true;
    size_t fired = 0;
    // Catch-up: every entry due before this tick, each told its own tick. Entries come off the
    // queue one at a time, so a callback may cancel or destroy any other client safely.
    while (!entries_.empty() && entries_.begin()->first < tick && ++fired < 10000000) {
        auto it = entries_.begin();
        const uint32_t due = it->first;
        TickClient* client = it->second.client;
        entries_.erase(it);
        current_ = due;
        client->OnTick(due);
    }
    firing_ = false;
    current_ = tick;
    // Then the entries due exactly now that existed before this phase; one scheduled again
    // after 0 ticks from its callback waits for the next advance.
    const uint64_t limit = nextSeq_;
    while (!entries_.empty() && entries_.begin()->first == tick &&
           entries_.begin()->second.seq < limit) {
        TickClient* client = entries_.begin()->second.client;
        entries_.erase(entries_.begin());
        client->OnTick(tick);
    }
    current_ = tick;
}

}  // namespace vs::app
