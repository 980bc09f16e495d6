#include "graphics/surface.h"

#include <algorithm>
#include <cstring>

namespace vs::graphics {

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(size_t(width_) * size_t(height_), 0) {}

void Surface::fill(const base::Rect& area, uint16_t colour) {
    const base::Rect r = area.intersect(bounds());
    if (r.empty()) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill_n(row(y) + r.left, r.width(), colour);
}

void Surface::copyFrom(const Surface& source, const base::Rect& area) {
    const base::Rect r = area.intersect(bounds()).intersect(source.bounds());
    if (r.empty()) return;
    const size_t bytes = size_t(r.width()) * sizeof(uint16_t);
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(row(y) + r.left, source.row(y) + r.left, bytes);
}

}  // namespace vs::graphics
