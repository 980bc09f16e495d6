#pragma once
#include <cmath>
#include <cstdint>

#include "resources/palette_format.h"

// Per-pixel colour arithmetic of the blitters, in the exact integer form of the lighting tables:
// for a component v and a level k, T[v][k] = min((v·k + 16) >> 5, 2v, cap). Blends use levels
// 0 … 32 only, where the table entry is exactly (v·k + 16) >> 5, so every step fits a 16-bit
// lane and the loops vectorise. Tests prove the equality with the tables over every input.
#define VS_ALWAYS_INLINE [[gnu::always_inline]] inline

namespace vs::graphics {

using resources::PixelFormat;

struct Format555 {
    static constexpr PixelFormat kFormat = PixelFormat::k555;
    static constexpr int kRedShift = 10;
    static constexpr uint16_t kGreenMax = 31;
};
struct Format565 {
    static constexpr PixelFormat kFormat = PixelFormat::k565;
    static constexpr int kRedShift = 11;
    static constexpr uint16_t kGreenMax = 63;
};

inline constexpr uint32_t kFullWeight = 32;
inline constexpr uint32_t kHalfWeight = 16;

// The destination weight of an opacity (or translucency factor): ⌊f × 32 + 0.5⌋ kept to 0 … 32,
// so that no value reads outside the table's blend range; NaN counts as 0.
inline uint32_t blendWeight(float f) {
    const float v = std::floor(f * 32.0f + 0.5f);
    if (!(v > 0.0f)) return 0;
    return v >= 32.0f ? kFullWeight : uint32_t(v);
}

// One component: min(T[d][w] + T[s][32 − w], max). Every step is kept to 16 bits (a component
// of at most 63 times a weight of at most 32, plus 16, fits), so the compiler can use 16-bit lanes.
VS_ALWAYS_INLINE uint16_t blendComponent(uint16_t d, uint16_t s, uint16_t w, uint16_t max) {
    const uint16_t a = uint16_t(uint16_t(d * w) + 16) >> 5;
    const uint16_t b = uint16_t(uint16_t(s * uint16_t(32 - w)) + 16) >> 5;
    const uint16_t r = uint16_t(a + b);
    return r < max ? r : max;
}

// A pixel blended with weight w (0 … 32) on the destination d; red and blue through T1, green
// through T2. Bit 15 of a 555 pixel is ignored.
template <class F>
VS_ALWAYS_INLINE uint16_t blendPixel(uint16_t d, uint16_t s, uint16_t w) {
    constexpr int rs = F::kRedShift;
    const uint16_t r = blendComponent((d >> rs) & 31, (s >> rs) & 31, w, 31);
    const uint16_t g =
        blendComponent((d >> 5) & F::kGreenMax, (s >> 5) & F::kGreenMax, w, F::kGreenMax);
    const uint16_t b = blendComponent(d & 31, s & 31, w, 31);
    return uint16_t(r << rs | g << 5 | b);
}

// avg(u, v) of the half-size blit: T[u][16] + T[v][16] per component, saturating.
template <class F>
VS_ALWAYS_INLINE uint16_t halfAverage(uint16_t u, uint16_t v) {
    return blendPixel<F>(u, v, kHalfWeight);
}

}  // namespace vs::graphics
