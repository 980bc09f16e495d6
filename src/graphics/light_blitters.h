#pragma once
#include <cstdint>

#include "graphics/blitters.h"

// The lighting kernels behind Canvas::LightBlit and Canvas::DrawShadow, once per pixel format and
// instruction set like the blitters. Each pixel's components go through the lighting tables at a
// level: the kernels compute the tables' entries, min((v·k + 16) >> 5, 2v, max), in 16-bit lanes.
namespace vs::graphics {

struct LightFunctions {
    // w × h pixels, each scaled by its own level.
    void (*lightBlit)(uint16_t* dst, int32_t dstStride, const uint8_t* levels, int32_t levelStride,
                      int32_t w, int32_t h);
    // n pixels scaled by one level.
    void (*darken)(uint16_t* dst, int32_t n, uint8_t level);
};

// The set of the current pixel format on the instruction set the blitters use.
const LightFunctions& lightFunctions();
const LightFunctions& lightFunctions(PixelFormat format, BlitIsa isa);

}  // namespace vs::graphics
