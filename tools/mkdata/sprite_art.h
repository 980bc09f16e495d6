#pragma once
#include <cstdint>

#include "mkdata/epf_writer.h"

// Small deterministic drawing helpers for demo sprites: the same bytes on every run.
namespace vs::mkdata::art {

// A hash of a position and a seed, 0 … 255: noise that never changes between runs.
constexpr uint8_t noise(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return uint8_t((h ^ (h >> 16)) & 0xFF);
}

// Fills the frame with one of `shades` consecutive indices from `first`, chosen by noise.
void texture(SpriteFrame& f, uint8_t first, int shades, uint32_t seed);
void fillRect(SpriteFrame& f, int x, int y, int w, int h, uint8_t index);
// A filled ellipse inside the box (x, y, w, h).
void fillEllipse(SpriteFrame& f, int x, int y, int w, int h, uint8_t index);
// A one-pixel outline in `index` around every visible pixel that touches a transparent one.
void outline(SpriteFrame& f, uint8_t index);

}  // namespace vs::mkdata::art
