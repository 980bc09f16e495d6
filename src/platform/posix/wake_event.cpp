#include "platform/wake_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace vs::platform {

WakeEvent::WakeEvent() {
    fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd_ < 0) throw std::runtime_error("eventfd failed");
}

WakeEvent::~WakeEvent() {
    if (fd_ >= 0) ::close(fd_);
}

void WakeEvent::signal() {
    uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void WakeEvent::clear() {
    uint64_t v;
    while (::read(fd_, &v, sizeof v) < 0 && errno == EINTR) {
    }
}

bool WakeEvent::wait(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    if (r <= 0) return false;
    clear();
    return true;
}

}  // namespace vs::platform
