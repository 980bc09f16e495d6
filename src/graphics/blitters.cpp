// The pixel kernels. Every kernel is written once as a template on the pixel format; the two
// formats and the two instruction sets are instantiated at the end. Compiled with -O3 (see
// CMakeLists.txt): the blend loops are plain 16-bit arithmetic that the compiler vectorises.
#include "graphics/blitters.h"

#include <algorithm>
#include <cstring>

#include "graphics/blend.h"
#include "resources/pix_map.h"

namespace vs::graphics {

namespace {

using resources::mask::Walker;

// Blends run over blocks of this many 16-bit lanes (one AVX2 register, two SSE2 registers).
constexpr int32_t kLanes = 16;

VS_ALWAYS_INLINE uint16_t colourOf(uint16_t v, const uint16_t*) {
    return v;
}
VS_ALWAYS_INLINE uint16_t colourOf(uint8_t v, const uint16_t* pal) {
    return pal[v];
}

template <class F>
struct Kernels {
    // --- spans: n pixels from d, s ------------------------------------------------------------

    VS_ALWAYS_INLINE static void copy(uint16_t* d, const uint16_t* s, int32_t n, const uint16_t*) {
        std::memcpy(d, s, size_t(n) * sizeof *d);
    }
    // Two pixels per 32-bit store: the loop is bound by loads and stores, not arithmetic.
    VS_ALWAYS_INLINE static void copy(uint16_t* d, const uint8_t* s, int32_t n,
                                      const uint16_t* pal) {
        int32_t i = 0;
        for (; i + 2 <= n; i += 2) {
            const uint32_t two = uint32_t(pal[s[i]]) | uint32_t(pal[s[i + 1]]) << 16;
            std::memcpy(d + i, &two, sizeof two);
        }
        if (i < n) d[i] = pal[s[i]];
    }

    // Transparent source values (index or colour 0) keep the destination; no branches.
    template <class S>
    VS_ALWAYS_INLINE static void key(uint16_t* d, const S* s, int32_t n, const uint16_t* pal) {
        for (int32_t i = 0; i < n; ++i) {
            const uint16_t c = colourOf(s[i], pal);
            d[i] = s[i] != 0 ? c : d[i];
        }
    }

    // Runs op(d, colour, extra, third) over n pixels, 16 lanes at a time, so that every block,
    // the last partial one too (through a local copy), is straight vector code.
    // load(i, k, colour, extra, third) fills the lanes of pixels i … i + k − 1.
    template <class Load, class Op>
    VS_ALWAYS_INLINE static void blocks(uint16_t* d, int32_t n, Load&& load, Op&& op) {
        uint16_t tc[kLanes], tx[kLanes], ty[kLanes];
        int32_t i = 0;
        for (; i + kLanes <= n; i += kLanes) {
            load(i, kLanes, tc, tx, ty);
            uint16_t* dd = d + i;
            for (int32_t j = 0; j < kLanes; ++j) dd[j] = op(dd[j], tc[j], tx[j], ty[j]);
        }
        if (i == n) return;
        const int32_t k = n - i;
        uint16_t td[kLanes] = {};
        for (int32_t j = 0; j < kLanes; ++j) tc[j] = tx[j] = ty[j] = 0;
        for (int32_t j = 0; j < k; ++j) td[j] = d[i + j];
        load(i, k, tc, tx, ty);
        for (int32_t j = 0; j < kLanes; ++j) td[j] = op(td[j], tc[j], tx[j], ty[j]);
        for (int32_t j = 0; j < k; ++j) d[i + j] = td[j];
    }

    // Source colours into the colour lanes and the source values (index or colour; 0 is
    // transparent) into the extra lanes.
    template <class S>
    VS_ALWAYS_INLINE static auto sourceLanes(const S* s, const uint16_t* pal) {
        return [s, pal](int32_t i, int32_t k, uint16_t* c, uint16_t* x, uint16_t*) {
            for (int32_t j = 0; j < k; ++j) {
                c[j] = colourOf(s[i + j], pal);
                x[j] = s[i + j];
            }
        };
    }

    template <class S>
    VS_ALWAYS_INLINE static void blend(uint16_t* d, const S* s, int32_t n, const uint16_t* pal,
                                       uint16_t w) {
        blocks(d, n, sourceLanes(s, pal), [w](uint16_t dd, uint16_t c, uint16_t, uint16_t) {
            return blendPixel<F>(dd, c, w);
        });
    }

    template <class S>
    VS_ALWAYS_INLINE static void keyBlend(uint16_t* d, const S* s, int32_t n, const uint16_t* pal,
                                          uint16_t w) {
        blocks(d, n, sourceLanes(s, pal), [w](uint16_t dd, uint16_t c, uint16_t v, uint16_t) {
            const uint16_t b = blendPixel<F>(dd, c, w);
            return v != 0 ? b : dd;
        });
    }

    // Blends with a weight per pixel; weights above 32 count as 32.
    template <class S>
    VS_ALWAYS_INLINE static void weighted(uint16_t* d, const S* s, int32_t n, const uint16_t* pal,
                                          const uint8_t* weights) {
        auto load = [s, pal, weights](int32_t i, int32_t k, uint16_t* c, uint16_t* x, uint16_t*) {
            for (int32_t j = 0; j < k; ++j) {
                c[j] = colourOf(s[i + j], pal);
                x[j] = weights[i + j] < kFullWeight ? weights[i + j] : uint16_t(kFullWeight);
            }
        };
        blocks(d, n, load, [](uint16_t dd, uint16_t c, uint16_t w, uint16_t) {
            return blendPixel<F>(dd, c, w);
        });
    }

    VS_ALWAYS_INLINE static void fillSpan(uint16_t* d, int32_t n, uint16_t c) {
        std::fill_n(d, n, c);
    }
    VS_ALWAYS_INLINE static void blendSpan(uint16_t* d, int32_t n, uint16_t c, uint16_t w) {
        blocks(
            d, n, [](int32_t, int32_t, uint16_t*, uint16_t*, uint16_t*) {},
            [c, w](uint16_t dd, uint16_t, uint16_t, uint16_t) { return blendPixel<F>(dd, c, w); });
    }

    // --- areas ----------------------------------------------------------------------------------

    VS_ALWAYS_INLINE static void fill(uint16_t* d, int32_t stride, int32_t w, int32_t h,
                                      uint16_t c) {
        for (int32_t y = 0; y < h; ++y, d += stride) fillSpan(d, w, c);
    }
    VS_ALWAYS_INLINE static void fillBlend(uint16_t* d, int32_t stride, int32_t w, int32_t h,
                                           uint16_t c, uint16_t weight) {
        for (int32_t y = 0; y < h; ++y, d += stride) blendSpan(d, w, c, weight);
    }
    VS_ALWAYS_INLINE static void invert(uint16_t* d, int32_t stride, int32_t w, int32_t h,
                                        uint16_t zero) {
        for (int32_t y = 0; y < h; ++y, d += stride) {
            for (int32_t x = 0; x < w; ++x) d[x] = d[x] != 0 ? uint16_t(~d[x]) : zero;
        }
    }

    // Calls span(d, s, y, a, b) for the visible columns [a, b) of each row y of the job's area,
    // with d and s at the row's first destination and source pixels.
    template <class S, class Span>
    VS_ALWAYS_INLINE static void visibleSpans(const SpriteJob& j, const S* src, Span&& span) {
        uint16_t* d = j.dst;
        if (j.mask) {
            Walker walker(j.mask, j.maskSize);
            walker.skipRows(j.maskRow);
            const int32_t mc = j.maskColumn;
            if (mc == 0 && j.width == j.maskWidth) {
                for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                    walker.wholeRow([&](int32_t a, int32_t b) { span(d, src, y, a, b); },
                                    [](int32_t, int32_t) {});
                }
                return;
            }
            for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                walker.row(mc, mc + j.width,
                           [&](int32_t a, int32_t b) { span(d, src, y, a - mc, b - mc); });
            }
            return;
        }
        for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
            int32_t x = 0;
            while (x < j.width) {
                while (x < j.width && src[x] == 0) ++x;
                const int32_t a = x;
                while (x < j.width && src[x] != 0) ++x;
                if (x > a) span(d, src, y, a, x);
            }
        }
    }

    template <class S>
    VS_ALWAYS_INLINE static void halfSize(const SpriteJob& j, const S* src) {
        const int32_t ow = j.width / 2, oh = j.height / 2;
        const uint16_t* pal = j.colours;
        auto draw = [&](int32_t y, int32_t a, int32_t b) {
            const S* r1 = src + size_t(2 * y) * size_t(j.srcStride);
            const S* r3 = r1 + j.srcStride;
            uint16_t* d = j.dst + size_t(y) * size_t(j.dstStride);
            const int32_t first = (a + 1) / 2, last = std::min((b - 1) / 2, ow - 1);
            if (first > last) return;
            auto load = [&](int32_t i, int32_t k, uint16_t* p1, uint16_t* p2, uint16_t* p3) {
                for (int32_t q = 0; q < k; ++q) {
                    const int32_t x = 2 * (first + i + q);
                    p1[q] = colourOf(r1[x], pal);
                    p2[q] = colourOf(r1[x + 1], pal);
                    p3[q] = colourOf(r3[x], pal);
                }
            };
            blocks(d + first, last - first + 1, load,
                   [](uint16_t, uint16_t p1, uint16_t p2, uint16_t p3) {
                       return halfAverage<F>(halfAverage<F>(p1, p2), p3);
                   });
        };
        if (j.mask) {
            Walker walker(j.mask, j.maskSize);
            walker.skipRows(j.maskRow);
            const int32_t mc = j.maskColumn;
            for (int32_t y = 0; y < oh; ++y) {
                walker.row(mc, mc + j.width,
                           [&](int32_t a, int32_t b) { draw(y, a - mc, b - mc); });
                walker.skipRows(1);  // the odd source rows only lend their pixels as neighbours
            }
            return;
        }
        for (int32_t y = 0; y < oh; ++y) {
            const S* r1 = src + size_t(2 * y) * size_t(j.srcStride);
            for (int32_t x = 0; x < ow; ++x) {
                if (r1[2 * x] != 0) draw(y, 2 * x, 2 * x + 1);
            }
        }
    }

    template <class S>
    VS_ALWAYS_INLINE static void spriteFrom(const SpriteJob& j, const S* src) {
        const uint16_t* pal = j.colours;
        uint16_t* d = j.dst;
        switch (j.op) {
            case SpriteOp::Copy:
                for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                    copy(d, src, j.width, pal);
                }
                return;
            case SpriteOp::Blend:
                for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                    blend(d, src, j.width, pal, j.weight);
                }
                return;
            case SpriteOp::Key:
                if (!j.mask) {
                    for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                        key(d, src, j.width, pal);
                    }
                    return;
                }
                visibleSpans(j, src, [&](uint16_t* dr, const S* sr, int32_t, int32_t a, int32_t b) {
                    copy(dr + a, sr + a, b - a, pal);
                });
                return;
            case SpriteOp::KeyBlend:
                if (!j.mask) {
                    for (int32_t y = 0; y < j.height; ++y, d += j.dstStride, src += j.srcStride) {
                        keyBlend(d, src, j.width, pal, j.weight);
                    }
                    return;
                }
                visibleSpans(j, src, [&](uint16_t* dr, const S* sr, int32_t, int32_t a, int32_t b) {
                    blend(dr + a, sr + a, b - a, pal, j.weight);
                });
                return;
            case SpriteOp::SeeThrough:
                visibleSpans(j, src,
                             [&](uint16_t* dr, const S* sr, int32_t y, int32_t a, int32_t b) {
                                 weighted(dr + a, sr + a, b - a, pal,
                                          j.weights + size_t(y) * size_t(j.weightStride) + a);
                             });
                return;
            case SpriteOp::HalfSize:
                halfSize(j, src);
                return;
        }
    }

    VS_ALWAYS_INLINE static void sprite(const SpriteJob& j) {
        if (j.width <= 0 || j.height <= 0) return;
        if (j.src8) {
            spriteFrom(j, j.src8);
        } else if (j.src16) {
            spriteFrom(j, j.src16);
        }
    }

    VS_ALWAYS_INLINE static void twoColourSpan(const TwoColourJob& j, uint16_t* d, int32_t n,
                                               bool on) {
        const uint16_t c = on ? j.on : j.off;
        if (j.blend) {
            blendSpan(d, n, c, kHalfWeight);
        } else {
            fillSpan(d, n, c);
        }
    }

    VS_ALWAYS_INLINE static void drawMask(const TwoColourJob& j) {
        if (j.width <= 0 || j.height <= 0 || !j.mask) return;
        Walker walker(j.mask, j.maskSize);
        walker.skipRows(j.maskRow);
        const int32_t mc = j.maskColumn;
        uint16_t* d = j.dst;
        for (int32_t y = 0; y < j.height; ++y, d += j.dstStride) {
            walker.row(
                mc, mc + j.width,
                [&](int32_t a, int32_t b) { twoColourSpan(j, d + (a - mc), b - a, true); },
                [&](int32_t a, int32_t b) {
                    if (j.drawOff) twoColourSpan(j, d + (a - mc), b - a, false);
                });
        }
    }

    VS_ALWAYS_INLINE static void drawBits(const TwoColourJob& j) {
        if (j.width <= 0 || j.height <= 0 || !j.bits) return;
        uint16_t* d = j.dst;
        for (int32_t y = 0; y < j.height; ++y, d += j.dstStride) {
            const int64_t row = j.firstBit + int64_t(y) * j.bitsWidth;
            for (int32_t x = 0; x < j.width; ++x) {
                const int64_t bit = row + x;
                const bool on = (j.bits[bit >> 3] >> (7 - (bit & 7))) & 1;
                if (!on && !j.drawOff) continue;
                const uint16_t c = on ? j.on : j.off;
                d[x] = j.blend ? blendPixel<F>(d[x], c, kHalfWeight) : c;
            }
        }
    }
};

// One entry point per kernel, format and instruction set. The kernels are always inlined, so
// each entry point is compiled whole for its instruction set.
#define VS_BLIT_SET(Isa, ...)                                                                 \
    template <class F>                                                                        \
    __VA_ARGS__ void fill##Isa(uint16_t* d, int32_t s, int32_t w, int32_t h, uint16_t c) {    \
        Kernels<F>::fill(d, s, w, h, c);                                                      \
    }                                                                                         \
    template <class F>                                                                        \
    __VA_ARGS__ void fillBlend##Isa(uint16_t* d, int32_t s, int32_t w, int32_t h, uint16_t c, \
                                    uint16_t k) {                                             \
        Kernels<F>::fillBlend(d, s, w, h, c, k);                                              \
    }                                                                                         \
    template <class F>                                                                        \
    __VA_ARGS__ void invert##Isa(uint16_t* d, int32_t s, int32_t w, int32_t h, uint16_t z) {  \
        Kernels<F>::invert(d, s, w, h, z);                                                    \
    }                                                                                         \
    template <class F>                                                                        \
    __VA_ARGS__ void sprite##Isa(const SpriteJob& j) {                                        \
        Kernels<F>::sprite(j);                                                                \
    }                                                                                         \
    template <class F>                                                                        \
    __VA_ARGS__ void drawMask##Isa(const TwoColourJob& j) {                                   \
        Kernels<F>::drawMask(j);                                                              \
    }                                                                                         \
    template <class F>                                                                        \
    __VA_ARGS__ void drawBits##Isa(const TwoColourJob& j) {                                   \
        Kernels<F>::drawBits(j);                                                              \
    }                                                                                         \
    template <class F>                                                                        \
    constexpr BlitFunctions k##Isa##Set{&fill##Isa<F>,   &fillBlend##Isa<F>, &invert##Isa<F>, \
                                        &sprite##Isa<F>, &drawMask##Isa<F>,  &drawBits##Isa<F>};

VS_BLIT_SET(Baseline)
#if defined(__x86_64__)
VS_BLIT_SET(Avx2, __attribute__((target("avx2"))))
#endif

bool hasAvx2() {
#if defined(__x86_64__)
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
#else
    return false;
#endif
}

}  // namespace

bool blitIsaAvailable(BlitIsa isa) {
    return isa == BlitIsa::Baseline || hasAvx2();
}

const BlitFunctions& blitFunctions(PixelFormat format, BlitIsa isa) {
    const bool six = format == PixelFormat::k565;
#if defined(__x86_64__)
    if (isa == BlitIsa::Avx2 && hasAvx2()) return six ? kAvx2Set<Format565> : kAvx2Set<Format555>;
#else
    (void)isa;
#endif
    return six ? kBaselineSet<Format565> : kBaselineSet<Format555>;
}

static BlitIsa gIsa = BlitIsa::Avx2;  // the best available unless a test chose

void selectBlitIsa(BlitIsa isa) {
    gIsa = isa;
}

BlitIsa selectedBlitIsa() {
    return gIsa;
}

const BlitFunctions& blitFunctions(PixelFormat format) {
    return blitFunctions(format, gIsa);
}

const BlitFunctions& blitFunctions() {
    return blitFunctions(resources::currentPixelFormat());
}

}  // namespace vs::graphics
