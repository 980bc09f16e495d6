#pragma once
#include <cstdint>

namespace vs::platform {

// A wake-up flag one thread sets and another waits on, alone or together with its own
// descriptors (its fd() can join a poll set). Setting it twice before a wait wakes once.
class WakeEvent {
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    void signal();           // any thread
    bool wait(int timeoutMs);  // true when signalled (and then cleared); -1 waits without limit
    void clear();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace vs::platform
