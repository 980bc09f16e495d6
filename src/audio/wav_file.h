#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vs::audio {

// What a WAV file's chunks say, read in place.
struct WavInfo {
    uint16_t format = 0;  // 1 PCM, 2 MS ADPCM, 3 float, 6 A-law, 7 mu-law, 0x11 IMA ADPCM
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
    std::span<const uint8_t> samples;  // the data chunk, cut to whole blocks
    // The file as far as its chunks reach inside the bytes given: what a decoder may read.
    std::span<const uint8_t> file;
};

// Walks the chunks of a RIFF WAVE file without leaving the bytes: a RIFF size beyond the bytes,
// a chunk that overruns them or a missing format or data chunk never reads outside. Nothing when
// the bytes are not a sample this program plays: 1 or 2 channels, 4000..96000 Hz, a format above,
// 8 or 16 bits for PCM, at least one block of samples.
std::optional<WavInfo> parseWav(std::span<const uint8_t> bytes);

}  // namespace vs::audio
