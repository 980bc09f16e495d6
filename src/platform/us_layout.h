#pragma once
#include <cstdint>

namespace vs::platform {

// The character a US keyboard types for a virtual key, with or without Shift; 0 for none.
char usLayoutCharacter(uint8_t virtualKey, bool shift);

}  // namespace vs::platform
