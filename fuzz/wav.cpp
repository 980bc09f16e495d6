// A sound effect of any bytes: its chunks are walked as the sound manager walks them, and every
// byte the result points at is read. Nothing may lie outside the input.
#include <cstddef>
#include <cstdint>

#include "audio/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto wav = vs::audio::parseWav({data, size});
    if (!wav) return 0;
    uint64_t sum = wav->format + wav->channels + wav->rate + wav->bits;
    for (uint8_t b : wav->samples) sum += b;
    for (uint8_t b : wav->file) sum += b;
    if (wav->file.size() > size || wav->samples.size() % wav->blockAlign) __builtin_trap();
    return sum == 1 ? 1 : 0;  // keeps the reads from being optimised away
}
