#pragma once
#include <memory>
#include <string>

namespace vs::platform {

// The window's scale and full-screen mode come from the settings (Window::setMode).
struct SdlOptions {
    bool softwareRenderer = false;
};

// The real platform: SDL2 for window, input and message boxes, POSIX for the rest (the settings
// file, host names). Builds and registers every interface; throws std::runtime_error when SDL
// cannot start.
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
