#pragma once
#include <cstdint>
#include <vector>

#include "base/rect.h"

namespace vs::graphics {

// A 16-bit picture in memory, in the display's pixel format. Rows follow each other at the pitch.
class Surface {
public:
    Surface() = default;
    Surface(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return width_; }  // in pixels
    base::Rect bounds() const { return {0, 0, width_, height_}; }
    uint16_t* pixels() { return pixels_.data(); }
    const uint16_t* pixels() const { return pixels_.data(); }
    uint16_t* row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint16_t* row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
    uint16_t at(int x, int y) const { return row(y)[x]; }
    void set(int x, int y, uint16_t c) { row(y)[x] = c; }

    // Both clip to the surfaces.
    void fill(const base::Rect& area, uint16_t colour);
    // The area of `source` to the same place here.
    void copyFrom(const Surface& source, const base::Rect& area);

private:
    int width_ = 0, height_ = 0;
    std::vector<uint16_t> pixels_;
};

}  // namespace vs::graphics
