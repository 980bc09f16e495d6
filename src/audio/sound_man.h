#pragma once

namespace vs::audio {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class SoundMan {
public:
    SoundMan() { instance_ = this; }
    ~SoundMan() {
        if (instance_ == this) instance_ = nullptr;
    }
    SoundMan(const SoundMan&) = delete;
    SoundMan& operator=(const SoundMan&) = delete;
    static SoundMan* instance() { return instance_; }
    void NextTrack() {}
    void StartNextTrack() {}
    void ResumeSamples() {}
    void StopAllSamples() {}
    bool IsMusicPlaying() const { return false; }
    void PauseMusic() {}

private:
    static inline SoundMan* instance_ = nullptr;
};

}  // namespace vs::audio
