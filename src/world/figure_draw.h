#pragma once
#include <cstdint>

#include "base/rect.h"
#include "graphics/canvas.h"

namespace vs::graphics {
class LightMap;
}

// Drawing steps the character and creature libraries share: a part or frame drawn with its
// palette and option (or as a silhouette), its light added to a light map, its ground shadow and
// the rectangle that shadow covers.
namespace vs::world {

// The world view's shadow values: strength s (darkness), squash q and shear k.
struct ShadowStyle {
    float strength = 0.65f;
    float squash = 2.0f;
    float shear = 0.8f;
};

// Frame y of the line figures stand on: the bottom edge of their cell.
inline constexpr int32_t kFootLine = 12;

// State 5 and creature frames blend with this weight on what lies beneath (the canvas's blend
// weight is the destination's): 0.7 keeps 70 % of the ground and 30 % of the figure.
inline constexpr float kTranslucentWeight = 0.7f;

// The tint and translucency of a part; factor is the destination weight.
graphics::BlitOption partOption(int32_t tint, bool translucent, float factor);

// Draws one part or frame at `dst`: its pixels through the palette, or its opaque pixels in the
// silhouette colour of the base palette when that is not 0. Adds its shape to the light map.
void drawPart(graphics::Canvas& target, const resources::PixMap& picture, const base::Rect& dst,
              const resources::DLPalette* palette, const graphics::BlitOption& option,
              int32_t silhouetteColour, graphics::LightMap* lightMap, float brightness);

// One ground shadow: the source rows of a frame placed at `dst`, flattened by `step` and sheared
// by `slant` per row, its foot `offset` rows below dst's bottom.
struct ShadowCast {
    base::Rect src;
    base::Rect dst;
    int32_t offset = 0;
    float step = 2.0f;
    float slant = 0.0f;
};
// The shadow of a part whose foot belongs on footY (in dst's coordinates).
ShadowCast footShadow(const base::Rect& src, const base::Rect& dst, int32_t footY,
                      const ShadowStyle& style);
// The rectangle the shadow darkens, from the blitter's own geometry; empty when nothing is drawn.
base::Rect shadowRect(const ShadowCast& cast);
void drawShadow(graphics::Canvas& target, const resources::PixMap& picture, const ShadowCast& cast,
                float strength);

}  // namespace vs::world
