#pragma once

namespace vs::platform {

// The process-wide pointer of a platform interface: a backend sets it when it is built and
// clears it when it goes, so callers reach the current implementation through T::instance().
template <class T>
class Registered {
public:
    static T* instance() { return current_; }

protected:
    Registered() = default;
    ~Registered() = default;
    void registerSelf(T* self) { current_ = self; }
    void unregisterSelf(T* self) {
        if (current_ == self) current_ = nullptr;
    }

private:
    static inline T* current_ = nullptr;
};

}  // namespace vs::platform
