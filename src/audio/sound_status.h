#pragma once
#include <cstdint>
#include <string>

#include "app/input_event.h"
#include "base/rect.h"

namespace vs::audio {

class SoundMan;

// What the sound status line of the game screen shows and the keys it takes; its pane draws
// the text on black and repaints after a key it took.
struct SoundStatus {
    static constexpr base::Rect kArea{286, 469, 400, 481};
    static constexpr int kTextColour = 143;
    static constexpr base::Point kTextAt{0, 11};

    // "Sound On/Music Off" and the like.
    static std::u16string Text(const SoundMan& sound);
    // 'm' with Ctrl alone switches sound (and its setting); 'M' with Ctrl, whatever else is held,
    // switches music, MIDI with it. True when the key was one of them.
    static bool OnKey(const app::InputEvent& e, SoundMan& sound);
};

}  // namespace vs::audio
