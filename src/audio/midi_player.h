#pragma once

namespace vs::audio {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class MidiPlayer {
public:
    MidiPlayer() { instance_ = this; }
    ~MidiPlayer() {
        if (instance_ == this) instance_ = nullptr;
    }
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;
    static MidiPlayer* instance() { return instance_; }

private:
    static inline MidiPlayer* instance_ = nullptr;
};

}  // namespace vs::audio
