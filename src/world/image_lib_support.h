#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "base/rect.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "resources/epf_file.h"
#include "resources/pix_map.h"

namespace vs::resources {
class DLPalette;
}

// What the tile, static object, item, effect and light libraries share.
namespace vs::world {

// Set when EFFECT.TBL is found damaged; while it is set the tile, static object, item and effect
// libraries draw nothing.
bool libraryDamaged();
void setLibraryDamaged(bool damaged);

bool paletteAnimating();
// Palette `number` of palette type `type`, looked up at the moment of drawing.
const resources::DLPalette* libraryPalette(int type, int number);

// The whole of an archive entry; throws app::FileError when no archive holds it.
std::vector<uint8_t> readEntry(std::string_view name);
std::unique_ptr<resources::FrameSet> loadFrames(std::string_view name);

// A frame of a set (an empty picture outside it).
resources::PixMap frameOf(const resources::FrameSet* set, int index);

// Adds a drawn frame's shape to a light map that covers the target's surface (byte (0, 0) under
// its top-left), clipped to the target's clip: rising from 0 at the frame's top row to
// ⌊brightness × 32 + 0.5⌋ at its bottom row. `at` is where the frame's bounds were moved by.
void addShapeLight(graphics::LightMap& map, const graphics::Canvas& target,
                   const resources::PixMap& frame, base::Point at, float brightness, int op);

}  // namespace vs::world
