#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "base/time.h"
#include "platform/clock.h"
#include "platform/paths.h"

namespace vs::platform {

InstanceLock::~InstanceLock() { release(); }

void InstanceLock::release() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the descriptor drops the lock
        fd_ = -1;
    }
}

std::filesystem::path InstanceLock::defaultPath() {
    return runtimeDir() / ("Quilm.SingleInstance." + std::to_string(::getuid()) + ".lock");
}

bool InstanceLock::acquire(const std::filesystem::path& file, uint32_t timeoutMs, Clock& clock) {
    release();
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const uint32_t start = clock.nowMs();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (base::timeReached(clock.nowMs(), start + timeoutMs)) break;
        clock.sleepMs(50);
    }
    ::close(fd);
    return false;
}

}  // namespace vs::platform
