// Compiled with -O3 (see CMakeLists.txt): the loops are plain 16-bit arithmetic that the compiler
// vectorises.
#include "graphics/light_blitters.h"

#include "graphics/blend.h"

namespace vs::graphics {

namespace {

// One component through the table at level k (0 … 255): v·k + 16 fits 16 bits for v ≤ 63.
VS_ALWAYS_INLINE uint16_t scaleComponent(uint16_t v, uint16_t k, uint16_t max) {
    uint16_t s = uint16_t(uint16_t(v * k) + 16) >> 5;
    const uint16_t twice = uint16_t(v + v);
    s = s < twice ? s : twice;
    return s < max ? s : max;
}

// Bit 15 of a 555 pixel is dropped.
template <class F>
VS_ALWAYS_INLINE uint16_t scalePixel(uint16_t p, uint16_t k) {
    constexpr int rs = F::kRedShift;
    const uint16_t r = scaleComponent((p >> rs) & 31, k, 31);
    const uint16_t g = scaleComponent((p >> 5) & F::kGreenMax, k, F::kGreenMax);
    const uint16_t b = scaleComponent(p & 31, k, 31);
    return uint16_t(r << rs | g << 5 | b);
}

template <class F>
VS_ALWAYS_INLINE void lightBlitKernel(uint16_t* d, int32_t ds, const uint8_t* l, int32_t ls,
                                      int32_t w, int32_t h) {
    for (int32_t y = 0; y < h; ++y, d += ds, l += ls) {
        for (int32_t x = 0; x < w; ++x) d[x] = scalePixel<F>(d[x], l[x]);
    }
}

template <class F>
VS_ALWAYS_INLINE void darkenKernel(uint16_t* d, int32_t n, uint8_t level) {
    const uint16_t k = level;
    for (int32_t x = 0; x < n; ++x) d[x] = scalePixel<F>(d[x], k);
}

#define VS_LIGHT_SET(Isa, ...)                                                             \
    template <class F>                                                                     \
    __VA_ARGS__ void lightBlit##Isa(uint16_t* d, int32_t ds, const uint8_t* l, int32_t ls, \
                                    int32_t w, int32_t h) {                                \
        lightBlitKernel<F>(d, ds, l, ls, w, h);                                            \
    }                                                                                      \
    template <class F>                                                                     \
    __VA_ARGS__ void darken##Isa(uint16_t* d, int32_t n, uint8_t level) {                  \
        darkenKernel<F>(d, n, level);                                                      \
    }                                                                                      \
    template <class F>                                                                     \
    constexpr LightFunctions k##Isa##Set{&lightBlit##Isa<F>, &darken##Isa<F>};

VS_LIGHT_SET(Baseline)
#if defined(__x86_64__)
VS_LIGHT_SET(Avx2, __attribute__((target("avx2"))))
#endif

}  // namespace

const LightFunctions& lightFunctions(PixelFormat format, BlitIsa isa) {
    const bool six = format == PixelFormat::k565;
#if defined(__x86_64__)
    if (isa == BlitIsa::Avx2 && blitIsaAvailable(BlitIsa::Avx2))
        return six ? kAvx2Set<Format565> : kAvx2Set<Format555>;
#else
    (void)isa;
#endif
    return six ? kBaselineSet<Format565> : kBaselineSet<Format555>;
}

const LightFunctions& lightFunctions() {
    return lightFunctions(resources::currentPixelFormat(), selectedBlitIsa());
}

}  // namespace vs::graphics
