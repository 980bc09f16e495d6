#pragma once
#include <cstdint>

#include "platform/registered.h"

namespace vs::platform {

// Milliseconds since an arbitrary start, on the same base as the times of input messages.
class Clock : public Registered<Clock> {
public:
    virtual ~Clock() = default;
    virtual uint32_t nowMs() = 0;
    // The only way the program sleeps; the fake clock advances instead.
    virtual void sleepMs(uint32_t ms) = 0;
};

}  // namespace vs::platform
