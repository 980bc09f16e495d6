#pragma once
#include <cstdint>
#include <span>

#include "resources/pix_map.h"

namespace vs::resources {

class DLPalette;

// An 8-bit bitmap file held in memory ("LEVEL.BMP"): an 8-bit picture of its width and |height|,
// top row first, and the palette of its colour table. Rows are read at the format's 4-byte
// padding. False, an empty picture and an unchanged palette for anything else: other bit
// depths, compression, a colour table or pixel rows that do not fit, sides beyond kMaxBitmapSide.
inline constexpr int32_t kMaxBitmapSide = 8192;
bool DecodeBitmap8(std::span<const uint8_t> buffer, PixMap& out, DLPalette& palette);

}  // namespace vs::resources
