#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "resources/palette.h"

namespace vs::mkdata {

using Rgb = std::array<uint8_t, 3>;
using Colours = std::array<Rgb, 256>;

// One PAL file: the header as the program writes it, the cycling ranges, 256 colours.
std::vector<uint8_t> palFile(const Colours& colours,
                             std::span<const resources::DLPalette::Range> ranges = {});

// A palette set file: a count, then the palettes back to back. The count is the number of
// palettes unless given (fixtures that promise more than they hold).
std::vector<uint8_t> palSetFile(const std::vector<std::vector<uint8_t>>& palettes);
std::vector<uint8_t> palSetFile(uint32_t count, const std::vector<std::vector<uint8_t>>& palettes);

}  // namespace vs::mkdata
