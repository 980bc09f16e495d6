#pragma once
#include "base/rect.h"
#include "graphics/surface.h"

namespace vs::resources {
class DLPalette;
}

namespace vs::graphics {

// A picture for checking the screen by eye: colour bars, ramps of each component, the colours of
// a palette (which cycle when it has ranges), a pixel checkerboard and a one-pixel frame.
void drawTestPattern(Surface& surface, const resources::DLPalette* palette);
// Only the palette's colours again; returns the area drawn.
base::Rect drawTestPatternPalette(Surface& surface, const resources::DLPalette* palette);

}  // namespace vs::graphics
