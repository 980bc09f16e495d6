#include "resources/palette_format.h"

namespace vs::resources {

namespace {
PixelFormat gFormat = PixelFormat::k565;
}

PixelFormat currentPixelFormat() {
    return gFormat;
}
void setCurrentPixelFormat(PixelFormat format) {
    gFormat = format;
}

}  // namespace vs::resources
