#pragma once

namespace vs::app {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class CrashReporter {
public:
    CrashReporter() { instance_ = this; }
    ~CrashReporter() {
        if (instance_ == this) instance_ = nullptr;
    }
    CrashReporter(const CrashReporter&) = delete;
    CrashReporter& operator=(const CrashReporter&) = delete;
    static CrashReporter* instance() { return instance_; }

private:
    static inline CrashReporter* instance_ = nullptr;
};

}  // namespace vs::app
