// An 8-bit bitmap file of any bytes, decoded, given a mask and drawn.
#include <cstddef>
#include <cstdint>
#include <span>

#include "draw_sprite.h"
#include "resources/bitmap8.h"
#include "resources/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::resources;
    PixMap picture;
    DLPalette palette;
    if (!DecodeBitmap8(std::span<const uint8_t>(data, size), picture, palette)) return 0;
    picture.BuildMask();
    vs::fuzz::drawEveryWay(picture);
    return 0;
}
