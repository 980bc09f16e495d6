#pragma once
#include <memory>
#include <string_view>

#include "platform/audio_device.h"

namespace vs::audio {

// Opens a file for the sound device by name: the archive entry when the archives hold the name,
// else the file on disk; null when neither exists. Seeks behave as fseek on both.
std::unique_ptr<platform::AudioFile> openAudioFile(std::string_view name);

}  // namespace vs::audio
