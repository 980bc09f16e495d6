#pragma once
#include <cstdint>

namespace vs::base {

// Root of every program object that travels by owner pointer (posted objects, notices, errors).
class LObject {
public:
    LObject() = default;
    LObject(const LObject&) = default;
    LObject& operator=(const LObject&) = default;
    virtual ~LObject() = default;

    // Receives a notice broadcast by a sender on the notice bus; empty by default.
    virtual void OnNotice(LObject* sender, uint32_t notice) {
        (void)sender;
        (void)notice;
    }
};

}  // namespace vs::base
