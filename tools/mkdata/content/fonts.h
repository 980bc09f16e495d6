#pragma once
// The demo's font files, for the tests that check them.
#include <cstdint>
#include <vector>

namespace vs::mkdata::demo {

std::vector<uint8_t> gameFont();
std::vector<uint8_t> digitFont();
std::vector<uint8_t> chatBackgrounds();

}  // namespace vs::mkdata::demo
