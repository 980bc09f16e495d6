// LIGHT.TBL from untrusted bytes, and the light images it makes.
#include "table_input.h"
#include "world/image_tables.h"
#include "world/light_image_lib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto t = vs::world::tables::parseLightTable(vs::fuzz::input(data, size));
    uint32_t sum = 0;
    // A few images: each may take a few megabytes.
    for (size_t i = 0; i < t.lights.size() && i < 3; ++i) {
        const auto image = vs::world::LightImageLib::makeImage(t.lights[i]);
        if (!image.empty()) sum += image.at(image.width() / 2, image.height() / 2);
    }
    return sum == 0xFFFFFFFF;
}
