#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace vs::mkdata {

// A RIFF WAVE file of 16-bit PCM samples (interleaved when there are two channels).
std::vector<uint8_t> wavFile(std::span<const int16_t> samples, int rate, int channels = 1);

// Floating-point samples (-1..1, clipped) as 16-bit PCM.
std::vector<int16_t> toPcm16(std::span<const float> samples);

}  // namespace vs::mkdata
