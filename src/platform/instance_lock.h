#pragma once
#include <cstdint>
#include <filesystem>

namespace vs::platform {

class Clock;

// A lock that only one running copy of the program holds: an exclusive lock on a file.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries to take the lock, waiting up to timeoutMs (measured and slept through `clock`) while
    // another process holds it. False on time-out or when the file cannot be opened.
    bool acquire(const std::filesystem::path& file, uint32_t timeoutMs, Clock& clock);
    bool held() const { return fd_ >= 0; }
    void release();

    static std::filesystem::path defaultPath();

private:
    int fd_ = -1;
};

}  // namespace vs::platform
