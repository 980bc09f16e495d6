#pragma once
#include <cstdint>

namespace vs::resources {

// The two ways the screen stores a 16-bit pixel. The display detects which one the screen uses
// and selects it once; palettes convert their colours to it when they load.
enum class PixelFormat : uint8_t { k555, k565 };

PixelFormat currentPixelFormat();
void setCurrentPixelFormat(PixelFormat format);

constexpr uint16_t packRgb555(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}
constexpr uint16_t packRgb565(uint8_t r, uint8_t g, uint8_t b) {
    return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}
constexpr uint16_t packRgb(PixelFormat f, uint8_t r, uint8_t g, uint8_t b) {
    return f == PixelFormat::k565 ? packRgb565(r, g, b) : packRgb555(r, g, b);
}

// The darkest visible grey (1, 1, 1) in each format: what a black sprite colour becomes, so that
// it is not taken for the transparent colour 0.
constexpr uint16_t darkestGrey(PixelFormat f) {
    return f == PixelFormat::k565 ? 0x0821 : 0x0421;
}

// A colour component scaled by a light level (32 unchanged, 16 half, 64 double): rounded, never
// more than twice the input, saturated at the component's maximum.
constexpr uint8_t scaleComponent(uint32_t v, uint32_t level, uint32_t max) {
    uint32_t s = (v * level + 16) / 32;
    if (s > 2 * v) s = 2 * v;
    return uint8_t(s > max ? max : s);
}

// Every component of a colour scaled by a light level.
constexpr uint16_t scaleColor(PixelFormat f, uint16_t c, uint8_t level) {
    if (f == PixelFormat::k565) {
        return uint16_t(scaleComponent(c >> 11, level, 31) << 11 |
                        scaleComponent((c >> 5) & 0x3F, level, 63) << 5 |
                        scaleComponent(c & 0x1F, level, 31));
    }
    return uint16_t(scaleComponent((c >> 10) & 0x1F, level, 31) << 10 |
                    scaleComponent((c >> 5) & 0x1F, level, 31) << 5 |
                    scaleComponent(c & 0x1F, level, 31));
}

}  // namespace vs::resources
