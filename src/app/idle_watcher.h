#pragma once
#include <cstdint>

#include "app/frame_clock.h"

namespace vs::app {

// Marks the player idle after a time without keyboard or mouse input.
class IdleWatcher final : public TimerClient {
public:
    explicit IdleWatcher(uint32_t delayMs);
    ~IdleWatcher() override;
    static IdleWatcher* instance() { return instance_; }

    void activity();
    bool isIdle() const { return idle_; }
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

private:
    static inline IdleWatcher* instance_ = nullptr;
    uint32_t delay_;
    bool idle_ = false;
};

}  // namespace vs::app
