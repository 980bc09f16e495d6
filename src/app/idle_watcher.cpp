#include "app/idle_watcher.h"

namespace vs::app {

IdleWatcher::IdleWatcher(uint32_t delayMs) : delay_(delayMs) {
    instance_ = this;
    activity();
}

IdleWatcher::~IdleWatcher() {
    if (instance_ == this) instance_ = nullptr;
}

void IdleWatcher::activity() {
    idle_ = false;
    if (auto* fc = FrameClock::instance()) {
        fc->cancel(this, 0);
        fc->schedule(this, 0, delay_);
    }
}

bool IdleWatcher::OnTimer(int32_t code, int32_t, int32_t) {
    if (code == 0) idle_ = true;
    return true;
}

}  // namespace vs::app
