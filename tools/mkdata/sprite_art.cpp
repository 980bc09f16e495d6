#include "mkdata/sprite_art.h"

#include <vector>

namespace vs::mkdata::art {

void texture(SpriteFrame& f, uint8_t first, int shades, uint32_t seed) {
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) f.at(x, y) = uint8_t(first + noise(x, y, seed) % shades);
}

void fillRect(SpriteFrame& f, int x, int y, int w, int h, uint8_t index) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) f.put(xx, yy, index);
}

void fillEllipse(SpriteFrame& f, int x, int y, int w, int h, uint8_t index) {
    // Twice the coordinates, so that the centre of an even box falls between pixels.
    const int cx = 2 * x + w, cy = 2 * y + h;
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            const int64_t dx = 2 * xx + 1 - cx, dy = 2 * yy + 1 - cy;
            if (dx * dx * h * h + dy * dy * w * w <= int64_t(w) * w * h * h) f.put(xx, yy, index);
        }
    }
}

void outline(SpriteFrame& f, uint8_t index) {
    const std::vector<uint8_t> was = f.pixels;
    auto clear = [&](int x, int y) {
        return x < 0 || y < 0 || x >= f.width || y >= f.height ||
               was[size_t(y) * size_t(f.width) + size_t(x)] == 0;
    };
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            if (clear(x, y)) continue;
            if (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1))
                f.at(x, y) = index;
        }
    }
}

}  // namespace vs::mkdata::art
