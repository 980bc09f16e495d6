#pragma once
#include <string_view>

#include "base/rect.h"
#include "graphics/canvas.h"

namespace vs::screens {

// Frame `index` of a sprite file at its own place in the file's canvas, moved by `at`, through
// the named palette. A file that cannot be read draws nothing: the screens stay usable.
bool DrawSpriteFrame(graphics::Canvas& canvas, std::string_view file, int index,
                     const char* palette, base::Point at = {}, int mode = 1);
// The frames of a sprite file; 0 when it cannot be read.
int SpriteFrameCount(std::string_view file);
// A string of the string table; empty without one.
std::u16string Text(int id);

}  // namespace vs::screens
