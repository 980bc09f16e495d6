#include "graphics/test_pattern.h"

#include "graphics/pixel_format.h"
#include "resources/palette.h"

namespace vs::graphics {

namespace {
constexpr base::Rect kBars{0, 0, 640, 120};
constexpr base::Rect kRamps{0, 120, 640, 240};
constexpr base::Rect kPalette{0, 240, 640, 400};
constexpr base::Rect kChecks{0, 400, 640, 480};
}  // namespace

base::Rect drawTestPatternPalette(Surface& s, const resources::DLPalette* palette) {
    // 16 × 16 swatches of 40 × 10 pixels, index 0 top left.
    for (int i = 0; i < 256; ++i) {
        const uint16_t c = palette ? palette->GetColor(i) : 0;
        const int x = kPalette.left + (i % 16) * 40, y = kPalette.top + (i / 16) * 10;
        s.fill(base::Rect::fromSize(x, y, 40, 10), c);
    }
    return kPalette;
}

void drawTestPattern(Surface& s, const resources::DLPalette* palette) {
    const auto rgb = pixelFunctions().fromRgb;
    static constexpr uint32_t kBarColours[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                                0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    for (int i = 0; i < 8; ++i) {
        const uint32_t c = kBarColours[i];
        s.fill(base::Rect::fromSize(i * 80, kBars.top, 80, kBars.height()),
               rgb(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)));
    }
    // Red, green, blue and grey from 0 to 255 across the width, 30 rows each.
    for (int x = 0; x < 640; ++x) {
        const uint8_t v = uint8_t(x * 256 / 640);
        const uint16_t ramps[4] = {rgb(v, 0, 0), rgb(0, v, 0), rgb(0, 0, v), rgb(v, v, v)};
        for (int band = 0; band < 4; ++band) {
            for (int y = 0; y < 30; ++y) s.set(x, kRamps.top + band * 30 + y, ramps[band]);
        }
    }
    drawTestPatternPalette(s, palette);
    // Pixel checkerboards: single pixels on the left, 2 × 2 and 4 × 4 blocks to the right.
    const uint16_t white = rgb(255, 255, 255);
    for (int y = kChecks.top; y < kChecks.bottom; ++y) {
        for (int x = 0; x < 640; ++x) {
            const int cell = x < 214 ? 1 : x < 427 ? 2 : 4;
            s.set(x, y, ((x / cell + y / cell) & 1) ? white : 0);
        }
    }
    const base::Rect all = s.bounds();
    s.fill({all.left, all.top, all.right, all.top + 1}, white);
    s.fill({all.left, all.bottom - 1, all.right, all.bottom}, white);
    s.fill({all.left, all.top, all.left + 1, all.bottom}, white);
    s.fill({all.right - 1, all.top, all.right, all.bottom}, white);
}

}  // namespace vs::graphics
