#pragma once
#include <cstddef>
#include <cstdint>

#include "resources/palette_format.h"

// The pixel kernels behind Canvas. Each exists once per pixel format (and, on x86-64, once more
// for AVX2 machines); the canvas selects the set of the current format once per call and hands
// the kernels areas already clipped, so they check nothing but what the jobs say.
namespace vs::graphics {

using resources::PixelFormat;

// What a sprite blit does with each source pixel.
enum class SpriteOp : uint8_t {
    Copy,        // every pixel replaced
    Key,         // visible pixels replaced
    Blend,       // every pixel blended with `weight` on the destination
    KeyBlend,    // visible pixels blended
    SeeThrough,  // visible pixels blended with the per-pixel `weights`
    HalfSize,    // half size: output (X, Y) from source (2X, 2Y) when visible
};

// A sprite blit over an area already clipped on both sides. Visible means inside a visible run
// of the mask when there is one, else a value other than 0.
struct SpriteJob {
    uint16_t* dst = nullptr;          // the area's top-left on the destination
    int32_t dstStride = 0;            // in pixels
    int32_t width = 0, height = 0;    // the area in source pixels (HalfSize draws half of it)
    const uint8_t* src8 = nullptr;    // 8-bit source at the area's top-left, or
    const uint16_t* src16 = nullptr;  // 16-bit source
    int32_t srcStride = 0;
    const uint16_t* colours = nullptr;  // 8-bit sources: 256 colours (tint already applied)
    const uint8_t* mask = nullptr;      // a mask that passed mask::check for the whole picture
    size_t maskSize = 0;
    int32_t maskRow = 0, maskColumn = 0;  // the area's top-left from the picture's top-left
    int32_t maskWidth = 0;                // the picture's width
    SpriteOp op = SpriteOp::Copy;
    uint16_t weight = 16;  // Blend, KeyBlend: destination weight 0 … 32
    const uint8_t* weights =
        nullptr;  // SeeThrough: at the area's top-left; values above 32 count as 32
    int32_t weightStride = 0;
};

// The two colours of a mask or a 1-bit picture over a clipped area.
struct TwoColourJob {
    uint16_t* dst = nullptr;
    int32_t dstStride = 0;
    int32_t width = 0, height = 0;
    uint16_t on = 0, off = 0;  // colours of visible runs (1-bits) and hidden runs (0-bits)
    bool drawOff = false;      // hidden runs (0-bits) are drawn too
    bool blend = false;        // half blends instead of copies
    // DrawMask: a checked mask and the area's top-left from the picture's top-left.
    const uint8_t* mask = nullptr;
    size_t maskSize = 0;
    int32_t maskRow = 0, maskColumn = 0, maskWidth = 0;
    // DrawBits: rows of `bitsWidth` bits packed without padding, most significant bit first;
    // `firstBit` is the bit of the area's top-left.
    const uint8_t* bits = nullptr;
    int32_t bitsWidth = 0;
    int64_t firstBit = 0;
};

struct BlitFunctions {
    void (*fill)(uint16_t* dst, int32_t stride, int32_t w, int32_t h, uint16_t colour);
    void (*fillBlend)(uint16_t* dst, int32_t stride, int32_t w, int32_t h, uint16_t colour,
                      uint16_t weight);
    // Pixels other than 0 become their complement, pixels 0 become `zero`.
    void (*invert)(uint16_t* dst, int32_t stride, int32_t w, int32_t h, uint16_t zero);
    void (*sprite)(const SpriteJob& job);
    void (*drawMask)(const TwoColourJob& job);
    void (*drawBits)(const TwoColourJob& job);
};

enum class BlitIsa : uint8_t { Baseline, Avx2 };

// The set for the current pixel format on the selected instruction set (the best this machine
// has unless selectBlitIsa chose another; tests run every set).
const BlitFunctions& blitFunctions();
void selectBlitIsa(BlitIsa isa);
BlitIsa selectedBlitIsa();
const BlitFunctions& blitFunctions(PixelFormat format);
// A particular set, for tests and benchmarks; false when this machine cannot run it.
bool blitIsaAvailable(BlitIsa isa);
const BlitFunctions& blitFunctions(PixelFormat format, BlitIsa isa);

}  // namespace vs::graphics
