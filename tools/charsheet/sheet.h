#pragma once
#include <cstdint>
#include <vector>

#include "base/rect.h"
#include "graphics/canvas.h"
#include "mkdata/content/demo_figures.h"
#include "world/appearance.h"

// Sheets of figures drawn through the character and creature libraries, each figure on its own
// patch of ground with its shadow. The libraries, the image cache and the palette manager must
// exist.
namespace vs::charsheet {

// The record a demo look arrives as from the server.
world::Appearance appearance(const mkdata::demo::FigureLook& look);
world::Appearance creature(const mkdata::demo::CreatureLook& look);

// One figure whose cell's top-left corner lies at `cell`: its shadow, then the figure, both
// placed by its full bounds.
void drawCharacter(graphics::Canvas& target, base::Point cell, const world::Appearance& a,
                   int direction, int motion, int frame, int walkFrame);
void drawCreature(graphics::Canvas& target, base::Point cell, const world::Appearance& a,
                  int motion, int frame);

// Fills the rectangle with the first grass tile of TILE.EPF (a plain green without it).
void drawGround(graphics::Canvas& target, const base::Rect& area);

// Every demo look walking, attacking and casting in four directions, then each creature's
// motions; the canvas is sized to fit.
void drawDemoSheet(graphics::Canvas& target);

// 8-bit RGB rows of a locked canvas.
std::vector<uint8_t> toRgb(const graphics::Canvas& canvas);

}  // namespace vs::charsheet
