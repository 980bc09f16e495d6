#pragma once
#include <memory>
#include <string>

namespace vs::platform {

struct SdlOptions {
    int scale = 0;            // window scale factor; 0: the largest that fits the desktop
    bool fullscreen = false;  // borderless desktop full screen
    bool softwareRenderer = false;
    int pixelFormat = 565;    // the native format the screen reports: 565 or 555
};

// The real platform: SDL2 for window, input and message boxes, POSIX for the rest. Builds and
// registers every interface; throws std::runtime_error when SDL cannot start.
class SdlPlatform {
public:
    explicit SdlPlatform(const SdlOptions& options);
    ~SdlPlatform();
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // A box for errors that happen before or without the platform (SDL's own, or stderr).
    static void showFatal(const std::string& textUtf8, const std::string& captionUtf8);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vs::platform
