#include "world/figure_draw.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "graphics/light_map.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;
using graphics::BlitOption;

BlitOption partOption(int32_t tint, bool translucent, float factor) {
    BlitOption o;
    if (translucent) {
        o.kind = tint != 0 ? BlitOption::kTranslucentTinted : BlitOption::kTranslucent;
        o.factor = factor;
    } else if (tint != 0) {
        o.kind = BlitOption::kTinted;
    }
    o.tint = tint;
    return o;
}

void drawPart(graphics::Canvas& target, const resources::PixMap& picture, const Rect& dst,
              const resources::DLPalette* palette, const BlitOption& option,
              int32_t silhouetteColour, graphics::LightMap* lightMap, float brightness) {
    if (silhouetteColour != 0) {
        const int32_t pen = target.PenColor();
        target.SetPenColor(silhouetteColour);
        target.DrawMask(picture, picture.bounds(), dst, 1);
        target.SetPenColor(pen);
    } else {
        target.DrawPixMap(picture, picture.bounds(), dst, 1, palette, &option);
    }
    if (lightMap) {
        const Rect& b = picture.bounds();
        addShapeLight(*lightMap, target, picture, {dst.left - b.left, dst.top - b.top}, brightness,
                      1);
    }
}

ShadowCast footShadow(const Rect& src, const Rect& dst, int32_t footY, const ShadowStyle& style) {
    return ShadowCast{src, dst, footY - dst.bottom, style.squash, style.shear};
}

Rect shadowRect(const ShadowCast& c) {
    const int32_t h = c.src.height(), w = c.src.width();
    if (h <= 0 || w <= 0 || !(c.step > 0.0f) || !std::isfinite(c.step) || !std::isfinite(c.slant))
        return {};
    const double rows = std::floor(double(int64_t(c.dst.bottom) + c.offset - c.dst.top) / c.step);
    if (std::fabs(rows) > 1e7) return {};
    const int64_t y0 = int64_t(c.dst.bottom) + c.offset - int64_t(rows) - 2;
    // The rows the blitter writes: one per mask row it samples (k with ⌊k·step + 0.5⌋ < h), each
    // starting the slant further left than the one above; the extremes are the first and last.
    auto sampled = [&](double k) { return std::floor(k * c.step + 0.5) < h; };
    double n = std::ceil((h - 0.5) / c.step);
    if (n > 1e7) return {};
    while (n > 0 && !sampled(n - 1)) --n;
    while (sampled(n)) ++n;
    if (n <= 0) return {};
    const double x0 = rows * c.slant + c.dst.left;
    const auto first = int64_t(std::floor(x0)), last = int64_t(std::floor(x0 - (n - 1) * c.slant));
    const int64_t lo = std::min(first, last), hi = std::max(first, last) + w;
    const auto y1 = y0 + int64_t(n);
    return Rect{int32_t(lo), int32_t(y0), int32_t(hi), int32_t(y1)};
}

void drawShadow(graphics::Canvas& target, const resources::PixMap& picture, const ShadowCast& c,
                float strength) {
    target.DrawShadow(picture, c.src, c.dst, 3, strength, c.offset, c.step, c.slant);
}

}  // namespace vs::world
