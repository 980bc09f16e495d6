// Compiled with -O3 (see CMakeLists.txt): the loops are plain 16-bit arithmetic that the compiler
// vectorises.
#include "graphics/light_blitters.h"

#include "graphics/blend.h"

namespace vs::graphics {

namespace {

// Levels above 64 scale like 64: the table's 2v cap is (v·64 + 16) >> 5 exactly, and below 64
// the product never exceeds 2v. So an entry is min((v·min(k, 64) + 16) >> 5, max), and v·k + 16
// fits 16 bits for every component.
constexpr uint16_t kDoubling = 64;

VS_ALWAYS_INLINE uint16_t capLevel(uint16_t k) {
    return k < kDoubling ? k : kDoubling;
}

VS_ALWAYS_INLINE uint16_t scaleComponent(uint16_t v, uint16_t k, uint16_t max) {
    const uint16_t s = uint16_t(uint16_t(v * k) + 16) >> 5;
    return s < max ? s : max;
}

// k at most 64; bit 15 of a 555 pixel is dropped.
template <class F>
VS_ALWAYS_INLINE uint16_t scalePixel(uint16_t p, uint16_t k) {
    constexpr int rs = F::kRedShift;
    const uint16_t r = scaleComponent((p >> rs) & 31, k, 31);
    const uint16_t g = scaleComponent((p >> 5) & F::kGreenMax, k, F::kGreenMax);
    const uint16_t b = scaleComponent(p & 31, k, 31);
    return uint16_t(r << rs | g << 5 | b);
}

// Shadow runs are short: whole blocks of 16 and 8 lanes stay vector code, a few pixels remain.
template <class F, int32_t N>
VS_ALWAYS_INLINE void scaleBlock(uint16_t* d, uint16_t k) {
    for (int32_t j = 0; j < N; ++j) d[j] = scalePixel<F>(d[j], k);
}

template <class F>
VS_ALWAYS_INLINE void lightBlitKernel(uint16_t* d, int32_t ds, const uint8_t* l, int32_t ls,
                                      int32_t w, int32_t h) {
    for (int32_t y = 0; y < h; ++y, d += ds, l += ls) {
        for (int32_t x = 0; x < w; ++x) d[x] = scalePixel<F>(d[x], capLevel(l[x]));
    }
}

template <class F>
VS_ALWAYS_INLINE void darkenKernel(uint16_t* d, int32_t n, uint8_t level) {
    const uint16_t k = capLevel(level);
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) scaleBlock<F, 16>(d + i, k);
    if (i + 8 <= n) scaleBlock<F, 8>(d + i, k), i += 8;
    for (; i < n; ++i) d[i] = scalePixel<F>(d[i], k);
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
