#pragma once

namespace vs::platform {
class Screen;
}

namespace vs::graphics {

// The screen device the display draws through. Throws MyError when the platform has no screen.
class DDrawDevice {
public:
    DDrawDevice();
    ~DDrawDevice();
    DDrawDevice(const DDrawDevice&) = delete;
    DDrawDevice& operator=(const DDrawDevice&) = delete;
    static DDrawDevice* instance() { return instance_; }

    platform::Screen& screen() const { return *screen_; }

private:
    static inline DDrawDevice* instance_ = nullptr;
    platform::Screen* screen_;
};

}  // namespace vs::graphics
