#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/message.h"

namespace vs::platform {

enum class WaitResult { QuitEvent, Input, Timeout };

// The main window's thread-safe message queue and its quit event (auto-reset). Messages keep
// the order in which they were posted.
class MessageQueue {
public:
    void post(Message m);
    void signalQuitEvent();
    bool take(Message& out);
    bool pending() const;
    // Consumes the quit event when it is set.
    bool takeQuitEvent();
    // Waits up to timeoutMs of real time for a message or the quit event.
    WaitResult waitFor(uint32_t timeoutMs);
    // Quit event first (it is the first handle waited on), then queued messages.
    WaitResult poll();
    size_t size() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Message> queue_;
    bool quit_ = false;
};

}  // namespace vs::platform
