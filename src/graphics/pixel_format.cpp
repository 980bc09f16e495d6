#include "graphics/pixel_format.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace vs::graphics {

namespace {

LightTables gTables;

// The masks that keep, after a shift right by s, only the bits that stay inside each component.
struct Masks555 {
    static constexpr uint16_t m1 = 0x3DEF, m2 = 0x1CE7, m3 = 0x0C63, m4 = 0x0421;
};
struct Masks565 {
    static constexpr uint16_t m1 = 0x7BCF, m2 = 0x39C7, m3 = 0x18C3, m4 = 0x0841;
};
// Eight pixels in one 128-bit vector (a GCC and Clang extension; plain SIMD code where the target
// has it). Each lane is one pixel, so nothing can leak from one pixel into the next.
using Pixels8 = uint16_t __attribute__((vector_size(16)));

// The fade formula of one level, on one pixel or a vector of them. Every component of the result
// lies inside its field, so carries and borrows between fields during the computation cancel out.
template <int L, class M, class T>
inline T fadeWord(T p) {
    [[maybe_unused]] const T h1 = (p >> 1) & M::m1;
    [[maybe_unused]] const T h2 = (p >> 2) & M::m2;
    [[maybe_unused]] const T h3 = (p >> 3) & M::m3;
    [[maybe_unused]] const T h4 = (p >> 4) & M::m4;
    if constexpr (L == 0)
        return p;
    else if constexpr (L == 1)
        return p - h4;
    else if constexpr (L == 2)
        return p + h4 - h3;
    else if constexpr (L == 3)
        return p - h3;
    else if constexpr (L == 4)
        return p - h4 - h3;
    else if constexpr (L == 5)
        return p + h4 - h2;
    else if constexpr (L == 6)
        return p - h2;
    else if constexpr (L == 7)
        return p - h4 - h2;
    else if constexpr (L == 8)
        return p - h3 - h2;
    else if constexpr (L == 9)
        return p - h4 - h3 - h2;
    else if constexpr (L == 10)
        return p + h4 - 2 * h2;
    else if constexpr (L == 11)
        return p + h4 - h1;
    else if constexpr (L == 12)
        return h4 + h1;
    else if constexpr (L == 13)
        return h1;
    else if constexpr (L == 14)
        return h1 - h4;
    else if constexpr (L == 15)
        return 2 * h2 - h4;
    else if constexpr (L == 16)
        return h4 + h3 + h2;
    else if constexpr (L == 17)
        return h3 + h2;
    else if constexpr (L == 18)
        return h4 + h2;
    else if constexpr (L == 19)
        return h2;
    else if constexpr (L == 20)
        return h2 - h4;
    else if constexpr (L == 21)
        return h3 + h4;
    else if constexpr (L == 22)
        return h3;
    else if constexpr (L == 23)
        return h4;
    else
        return T{};
}

template <int L, class M>
void fadeLevel(uint16_t* px, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        Pixels8 w;
        std::memcpy(&w, px + i, sizeof w);
        w = fadeWord<L, M>(w);
        std::memcpy(px + i, &w, sizeof w);
    }
    for (; i < n; ++i) px[i] = uint16_t(fadeWord<L, M>(uint32_t(px[i])));
}

using FadeLevelFn = void (*)(uint16_t*, size_t);

template <class M, int... L>
constexpr auto fadeTable(std::integer_sequence<int, L...>) {
    return std::array<FadeLevelFn, sizeof...(L)>{&fadeLevel<L, M>...};
}

template <class M>
void fade(uint16_t* px, size_t n, int level) {
    static constexpr auto table = fadeTable<M>(std::make_integer_sequence<int, kFadeLevels>());
    level = std::clamp(level, 0, kFadeLevels - 1);
    if (level == 0 || !px) return;
    table[size_t(level)](px, n);
}

uint32_t toRgb555(uint16_t c) {
    uint32_t r = (c >> 10) & 0x1F, g = (c >> 5) & 0x1F, b = c & 0x1F;
    r = r << 3 | r >> 2, g = g << 3 | g >> 2, b = b << 3 | b >> 2;
    return r << 16 | g << 8 | b;
}

uint32_t toRgb565(uint16_t c) {
    uint32_t r = c >> 11, g = (c >> 5) & 0x3F, b = c & 0x1F;
    r = r << 3 | r >> 2, g = g << 2 | g >> 4, b = b << 3 | b >> 2;
    return r << 16 | g << 8 | b;
}

uint16_t scale555(uint16_t c, uint8_t k) {
    return uint16_t(gTables.t1[(c >> 10) & 0x1F][k] << 10 | gTables.t2[(c >> 5) & 0x1F][k] << 5 |
                    gTables.t1[c & 0x1F][k]);
}

uint16_t scale565(uint16_t c, uint8_t k) {
    return uint16_t(gTables.t1[c >> 11][k] << 11 | gTables.t2[(c >> 5) & 0x3F][k] << 5 |
                    gTables.t1[c & 0x1F][k]);
}

constexpr PixelFunctions kFunctions555{PixelFormat::k555, &resources::packRgb555, &toRgb555,
                                       &scale555, &fade<Masks555>};
constexpr PixelFunctions kFunctions565{PixelFormat::k565, &resources::packRgb565, &toRgb565,
                                       &scale565, &fade<Masks565>};

const PixelFunctions* gFunctions = &kFunctions565;

}  // namespace

void selectPixelFormat(PixelFormat format) {
    const bool six = format == PixelFormat::k565;
    gFunctions = six ? &kFunctions565 : &kFunctions555;
    const uint32_t greenMax = six ? 63 : 31;
    for (uint32_t v = 0; v < 256; ++v) {
        for (uint32_t k = 0; k < 256; ++k) {
            gTables.t1[v][k] = resources::scaleComponent(v, k, 31);
            gTables.t2[v][k] = resources::scaleComponent(v, k, greenMax);
        }
    }
    resources::setCurrentPixelFormat(format);
}

bool is565() {
    return gFunctions->format == PixelFormat::k565;
}
const PixelFunctions& pixelFunctions() {
    return *gFunctions;
}
const LightTables& lightTables() {
    return gTables;
}

}  // namespace vs::graphics
