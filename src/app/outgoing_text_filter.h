#pragma once

namespace vs::app {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class OutgoingTextFilter {
public:
    OutgoingTextFilter() { instance_ = this; }
    ~OutgoingTextFilter() {
        if (instance_ == this) instance_ = nullptr;
    }
    OutgoingTextFilter(const OutgoingTextFilter&) = delete;
    OutgoingTextFilter& operator=(const OutgoingTextFilter&) = delete;
    static OutgoingTextFilter* instance() { return instance_; }

private:
    static inline OutgoingTextFilter* instance_ = nullptr;
};

}  // namespace vs::app
