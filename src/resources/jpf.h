#pragma once
#include <cstddef>
#include <cstdint>

#include "resources/pix_map.h"

namespace vs::resources {

// Pictures from the server are never larger than this on either side.
inline constexpr int32_t kMaxJpfSide = 1024;

// A JPF portrait: "JPF" and a NUL, then a JPEG stream to the end of the buffer. Gives a 16-bit
// picture in the display's pixel format; grayscale streams decode too. False and an empty
// picture on a wrong signature, any JPEG error, or a picture beyond kMaxJpfSide.
bool DecodeJpf(const uint8_t* buffer, size_t length, PixMap& out);

}  // namespace vs::resources
