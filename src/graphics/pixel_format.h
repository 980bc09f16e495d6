#pragma once
#include <cstddef>
#include <cstdint>

#include "resources/palette_format.h"

namespace vs::graphics {

using resources::PixelFormat;

// The pixel operations that differ between the two formats. The display selects one set when it
// has detected the screen's format; everything that draws goes through it.
struct PixelFunctions {
    PixelFormat format;
    uint16_t (*fromRgb)(uint8_t r, uint8_t g, uint8_t b);
    uint32_t (*toRgb)(uint16_t colour);  // 0xRRGGBB, each component widened to 8 bits
    // Each component through the lighting tables at light level k (32: unchanged).
    uint16_t (*scale)(uint16_t colour, uint8_t k);
    // The whole-screen fade: n pixels to level 0 (unchanged) … 24 (black); levels outside clamp.
    void (*fade)(uint16_t* pixels, size_t n, int level);
};

// T1 scales a 5-bit component, T2 the green component (6 bits in 565): [component][light level].
struct LightTables {
    uint8_t t1[256][256];
    uint8_t t2[256][256];
};

// Selects the functions of a format, builds its lighting tables and makes it the palettes' format.
void selectPixelFormat(PixelFormat format);
bool is565();
const PixelFunctions& pixelFunctions();
const LightTables& lightTables();

inline constexpr int kFadeLevels = 25;

}  // namespace vs::graphics
