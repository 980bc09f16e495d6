#include "world/figure_draw.h"

#include <cmath>

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
    (void)lightMap;
    (void)brightness;
}

ShadowCast footShadow(const Rect& src, const Rect& dst, int32_t footY, const ShadowStyle& style) {
    return ShadowCast{src, dst, footY - dst.bottom, style.squash, style.shear};
}

Rect shadowRect(const ShadowCast& c) {
    const int32_t h = c.src.height(), w = c.src.width();
    if (h <= 0 || w <= 0 || !(c.step > 0.0f) || !std::isfinite(c.step) ||
        !std::isfinite(c.slant))
        return {};
    const double rows = std::floor(double(int64_t(c.dst.bottom) + c.offset - c.dst.top) / c.step);
    if (std::fabs(rows) > 1e7) return {};
    const int64_t y0 = int64_t(c.dst.bottom) + c.offset - int64_t(rows) - 2;
    // The rows the blitter writes: one per mask row it samples, the start moving left by the
    // slant each row.
    double x = rows * c.slant + c.dst.left;
    int64_t lo = INT64_MAX, hi = INT64_MIN, n = 0;
    for (int64_t k = 0; std::floor(double(k) * c.step + 0.5) < h; ++k, ++n, x -= c.slant) {
        const int64_t xs = int64_t(std::floor(x));
        lo = std::min(lo, xs);
        hi = std::max(hi, xs + w);
    }
    if (n == 0) return {};
    return Rect{int32_t(lo), int32_t(y0), int32_t(hi), int32_t(y0 + n)};
}

void drawShadow(graphics::Canvas& target, const resources::PixMap& picture, const ShadowCast& c,
                float strength) {
    (void)target;
    (void)picture;
    (void)c;
    (void)strength;
}

bool figuresDamaged() {
    return false;
}

}  // namespace vs::world
