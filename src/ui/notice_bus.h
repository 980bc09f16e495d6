#pragma once
#include <cstdint>

#include "base/lobject.h"

namespace vs::ui {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class NoticeBus {
public:
    NoticeBus() { instance_ = this; }
    ~NoticeBus() {
        if (instance_ == this) instance_ = nullptr;
    }
    NoticeBus(const NoticeBus&) = delete;
    NoticeBus& operator=(const NoticeBus&) = delete;
    static NoticeBus* instance() { return instance_; }
    // Nobody can subscribe yet, so a notice reaches nobody.
    void Notify(base::LObject* sender, uint32_t notice) { (void)sender; (void)notice; }

private:
    static inline NoticeBus* instance_ = nullptr;
};

}  // namespace vs::ui
