#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vs::graphics {

// A PNG file (8-bit RGB, no interlacing) of `rgb`: width × height pixels of red, green and blue
// bytes, top row first. Empty when the sizes do not match.
std::vector<uint8_t> encodePng(std::span<const uint8_t> rgb, int width, int height);

// Writes the bytes to a new file (replacing an old one); false when that fails.
bool writeFileBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes);

}  // namespace vs::graphics
