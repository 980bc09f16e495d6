#include "graphics/ddraw_device.h"

#include "app/error.h"
#include "platform/screen.h"

namespace vs::graphics {

DDrawDevice::DDrawDevice() : screen_(platform::Screen::instance()) {
    if (!screen_)
        throw app::MyError(
            u"DirectX not installed, or is corrupted. Please install DirectX again.");
    instance_ = this;
}

DDrawDevice::~DDrawDevice() {
    if (instance_ == this) instance_ = nullptr;
}

}  // namespace vs::graphics
