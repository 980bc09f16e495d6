#pragma once
// The demo's font files, for the tests that check them.
#include <cstdint>
#include <string_view>
#include <vector>

#include "mkdata/epf_writer.h"

namespace vs::mkdata::demo {

std::vector<uint8_t> gameFont();
std::vector<uint8_t> digitFont();
std::vector<uint8_t> chatBackgrounds();

// Writes an ASCII text into a sprite frame in the demo's sans-serif face (bold when asked) of
// that pixel size: the pen at x, the baseline at y, the ink in `ink` and a one-pixel outline in
// `outline` (0: none). Returns the text's width.
int drawLabel(SpriteFrame& frame, int x, int baseline, std::string_view text, int pixelSize,
              uint8_t ink, uint8_t outline, bool bold = false);

}  // namespace vs::mkdata::demo
