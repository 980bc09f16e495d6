#pragma once

namespace vs::graphics {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class DDrawDevice {
public:
    DDrawDevice() { instance_ = this; }
    ~DDrawDevice() {
        if (instance_ == this) instance_ = nullptr;
    }
    DDrawDevice(const DDrawDevice&) = delete;
    DDrawDevice& operator=(const DDrawDevice&) = delete;
    static DDrawDevice* instance() { return instance_; }

private:
    static inline DDrawDevice* instance_ = nullptr;
};

}  // namespace vs::graphics
