#include "platform/message_queue.h"

#include <chrono>

namespace vs::platform {

void MessageQueue::post(Message m) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(m));
    }
    cv_.notify_all();
}

void MessageQueue::signalQuitEvent() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    cv_.notify_all();
}

bool MessageQueue::take(Message& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

bool MessageQueue::pending() const {
    std::lock_guard lock(mutex_);
    return !queue_.empty();
}

size_t MessageQueue::size() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void MessageQueue::clear() {
    std::deque<Message> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
    quit_ = false;
}

bool MessageQueue::takeQuitEvent() {
    std::lock_guard lock(mutex_);
    bool q = quit_;
    quit_ = false;
    return q;
}

WaitResult MessageQueue::poll() {
    std::lock_guard lock(mutex_);
    if (quit_) {
        quit_ = false;
        return WaitResult::QuitEvent;
    }
    return queue_.empty() ? WaitResult::Timeout : WaitResult::Input;
}

WaitResult MessageQueue::waitFor(uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                 [&] { return quit_ || !queue_.empty(); });
    if (quit_) {
        quit_ = false;
        return WaitResult::QuitEvent;
    }
    return queue_.empty() ? WaitResult::Timeout : WaitResult::Input;
}

}  // namespace vs::platform
