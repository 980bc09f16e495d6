#pragma once
// Draws a picture every way the blitters walk it, onto a canvas it overlaps only in part, so that
// a mask or a rectangle that passed the loaders but would lead a walk astray is found.
#include <cstdint>

#include "graphics/canvas.h"
#include "resources/palette.h"

namespace vs::fuzz {

inline void drawEveryWay(const resources::PixMap& picture) {
    static resources::DLPalette palette;
    graphics::Canvas canvas;
    canvas.SetBounds({0, 0, 48, 40});
    canvas.SetClipArea({0, 0, 48, 40});
    canvas.Lock();
    uint8_t weights[64 * 64];
    for (auto& w : weights) w = 40;
    graphics::BlitOption half, see;
    half.kind = graphics::BlitOption::kHalfSize;
    see.kind = graphics::BlitOption::kSeeThrough;
    see.mask = weights;
    see.maskWidth = see.maskHeight = see.maskStride = 64;
    const base::Rect b = picture.bounds();
    for (const base::Rect& at :
         {b.offset(-b.left + 3, -b.top - 2), b.offset(-b.left - 5, -b.top + 7)}) {
        for (int mode = 0; mode < 4; ++mode) canvas.DrawPixMap(picture, b, at, mode, &palette);
        canvas.DrawPixMap(picture, b, at, 1, &palette, &half);
        canvas.DrawPixMap(picture, b, at, 1, &palette, &see);
        canvas.DrawMask(picture, b, at, 0, &palette);
    }
    canvas.Unlock();
}

}  // namespace vs::fuzz
