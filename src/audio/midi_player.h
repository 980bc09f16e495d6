#pragma once

namespace vs::audio {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order, and the switch that the music switch turns with it.
class MidiPlayer {
  public:
    MidiPlayer() { instance_ = this; }
    ~MidiPlayer() {
        if (instance_ == this) instance_ = nullptr;
    }
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;
    static MidiPlayer* instance() { return instance_; }

    void EnableMidi() { enabled_ = true; }
    void DisableMidi() { enabled_ = false; }
    bool IsMidiEnabled() const { return enabled_; }

  private:
    static inline MidiPlayer* instance_ = nullptr;
    bool enabled_ = true;
};

}  // namespace vs::audio
