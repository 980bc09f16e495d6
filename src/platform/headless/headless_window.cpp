#include "platform/headless/headless_window.h"

#include "base/time.h"

namespace vs::platform {

bool HeadlessWindow::create(std::u16string_view title, int, int) {
    if (failCreate_) return false;
    created_ = true;
    title_ = title;
    return true;
}

void HeadlessWindow::destroy() {
    if (!created_) return;
    created_ = false;
    visible_ = false;
    post(Message(kWmDestroy));
}

void HeadlessWindow::postAt(uint32_t time, Message m) {
    m.time = time;
    scheduled_.emplace(time, std::move(m));
}

WaitResult HeadlessWindow::wait(uint32_t timeoutMs) {
    ++waits_;
    if (clock_.followsRealTime()) return queue_.waitFor(timeoutMs);
    WaitResult r = queue_.poll();
    if (r != WaitResult::Timeout) return r;
    const uint32_t now = clock_.nowMs();
    if (!scheduled_.empty() && base::timeReached(now + timeoutMs, scheduled_.begin()->first)) {
        uint32_t due = scheduled_.begin()->first;
        if (!base::timeReached(now, due)) clock_.set(due);
        while (!scheduled_.empty() && base::timeReached(clock_.nowMs(), scheduled_.begin()->first)) {
            queue_.post(std::move(scheduled_.begin()->second));
            scheduled_.erase(scheduled_.begin());
        }
        return WaitResult::Input;
    }
    clock_.advance(timeoutMs);
    return WaitResult::Timeout;
}

}  // namespace vs::platform
