#pragma once
#include <cstdint>
#include <vector>

namespace vs::mkdata {

// Encodes a WAV file into MP3 with the `lame` program (Debian package lame), at a constant bit
// rate with fixed options: the same input gives the same bytes on every run. Each result is
// kept for the life of the process, so fixtures that build the demo data again pay once.
// Throws std::runtime_error when lame is missing or fails.
std::vector<uint8_t> encodeMp3(const std::vector<uint8_t>& wav, int kbps = 48);

}  // namespace vs::mkdata
