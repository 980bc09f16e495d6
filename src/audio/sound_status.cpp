#include "audio/sound_status.h"

#include "audio/sound_man.h"

namespace vs::audio {

std::u16string SoundStatus::Text(const SoundMan& sound) {
    return std::u16string(sound.SoundOn() ? u"Sound On" : u"Sound Off") + u"/" +
           (sound.MusicOn() ? u"Music On" : u"Music Off");
}

bool SoundStatus::OnKey(const app::InputEvent& e, SoundMan& sound) {
    if (e.kind != app::InputEvent::kKeyDown) return false;
    if (e.keyCode == 'm' && e.modifiers == app::InputEvent::kCtrl) {
        sound.SoundOn() ? sound.DisableSound() : void(sound.EnableSound());
        return true;
    }
    if (e.keyCode == 'M' && (e.modifiers & app::InputEvent::kCtrl)) {
        sound.MusicOn() ? sound.DisableMusic() : sound.EnableMusic();
        return true;
    }
    return false;
}

}  // namespace vs::audio
