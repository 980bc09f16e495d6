// A portrait picture of any bytes, decoded and drawn.
#include <cstddef>
#include <cstdint>

#include "draw_sprite.h"
#include "resources/jpf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vs::resources::PixMap picture;
    if (vs::resources::DecodeJpf(data, size, picture)) vs::fuzz::drawEveryWay(picture);
    return 0;
}
