// A picture received from the server: the first frame of a sprite file of any bytes, drawn.
#include <cstddef>
#include <cstdint>
#include <span>

#include "draw_sprite.h"
#include "resources/epf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vs::resources::PixMap picture;
    if (vs::resources::DecodeEpfFrame(std::span<const uint8_t>(data, size), picture))
        vs::fuzz::drawEveryWay(picture);
    return 0;
}
