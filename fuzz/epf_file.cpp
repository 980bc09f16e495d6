// A sprite file of any bytes, loaded as the image cache loads one; every frame is then drawn.
#include <cstddef>
#include <cstdint>
#include <span>

#include "draw_sprite.h"
#include "resources/epf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::resources;
    FrameSet set;
    if (!epf::parse(std::span<const uint8_t>(data, size), set)) return 0;
    for (int i = -1; i <= set.frameCount(); ++i) {
        PixMap view;
        if (epf::view(set, i, view)) vs::fuzz::drawEveryWay(view);
    }
    return 0;
}
