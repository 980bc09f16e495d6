#pragma once

namespace vs::audio {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class LogoVideo {
public:
    LogoVideo() { instance_ = this; }
    ~LogoVideo() {
        if (instance_ == this) instance_ = nullptr;
    }
    LogoVideo(const LogoVideo&) = delete;
    LogoVideo& operator=(const LogoVideo&) = delete;
    static LogoVideo* instance() { return instance_; }
    // Plays a logo video; there is no video player yet.
    static void Play(const char* name) { (void)name; }

private:
    static inline LogoVideo* instance_ = nullptr;
};

}  // namespace vs::audio
