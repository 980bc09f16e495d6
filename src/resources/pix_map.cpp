#include "resources/pix_map.h"

#include <algorithm>

#include "app/memory_man.h"
#include "resources/palette.h"
#include "resources/palette_format.h"

namespace vs::resources {

namespace mask {

bool check(const uint8_t* mask, size_t size, int32_t width, int32_t height) {
    if (width < 0 || height < 0) return false;
    if (height == 0) return true;
    if (!mask) return false;
    size_t at = 0;
    for (int32_t y = 0; y < height; ++y) {
        int64_t sum = 0;
        for (;;) {
            if (at >= size) return false;
            const uint8_t b = mask[at++];
            if (b == 0) break;
            sum += b & kLengthBits;
            if (sum > width) return false;
        }
        if (sum != width) return false;
    }
    return true;
}

size_t maxSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return height > 0 ? size_t(height) : 0;
    // Worst case: every pixel its own run, plus the row's 0 byte.
    return (size_t(width) + 1) * size_t(height);
}

template <class T>
size_t build(const T* pixels, int32_t rowWidth, int32_t width, int32_t height, uint8_t* out) {
    size_t n = 0;
    for (int32_t y = 0; y < height; ++y) {
        const T* row = pixels + size_t(y) * size_t(rowWidth);
        int32_t x = 0;
        while (x < width) {
            const bool visible = row[x] != 0;
            int32_t run = 0;
            // A run that reaches the longest length is written at once and the count restarts.
            while (x < width && (row[x] != 0) == visible && run < kLengthBits) ++x, ++run;
            out[n++] = uint8_t(run | (visible ? kVisible : 0));
        }
        out[n++] = 0;
    }
    return n;
}

template size_t build<uint8_t>(const uint8_t*, int32_t, int32_t, int32_t, uint8_t*);
template size_t build<uint16_t>(const uint16_t*, int32_t, int32_t, int32_t, uint8_t*);

}  // namespace mask

PixMap& PixMap::operator=(PixMap&& o) noexcept {
    if (this == &o) return *this;
    Free();
    depth8_ = o.depth8_;
    base_ = std::exchange(o.base_, nullptr);
    rowWidth_ = std::exchange(o.rowWidth_, 0);
    bounds_ = std::exchange(o.bounds_, {});
    maskSize_ = std::exchange(o.maskSize_, 0);
    mask_ = std::exchange(o.mask_, nullptr);
    ownsPixels_ = std::exchange(o.ownsPixels_, false);
    ownsMask_ = std::exchange(o.ownsMask_, false);
    maskChecked_ = std::exchange(o.maskChecked_, false);
    return *this;
}

void PixMap::freePixels() {
    if (ownsPixels_) app::MemoryMan::release(base_);
    base_ = nullptr;
    ownsPixels_ = false;
}

void PixMap::freeMask() {
    if (ownsMask_) app::MemoryMan::release(const_cast<uint8_t*>(mask_));
    mask_ = nullptr;
    maskSize_ = 0;
    ownsMask_ = false;
    maskChecked_ = false;
}

void PixMap::Free() {
    freePixels();
    freeMask();
    rowWidth_ = 0;
    bounds_ = {};
}

void PixMap::alloc(int32_t w, int32_t h, bool depth8) {
    Free();
    depth8_ = depth8;
    if (w <= 0 || h <= 0) return;
    base_ =
        static_cast<uint8_t*>(app::MemoryMan::allocate(size_t(w) * size_t(h) * (depth8 ? 1 : 2)));
    ownsPixels_ = true;
    rowWidth_ = w;
    bounds_ = {0, 0, w, h};
}

void PixMap::CopyFrom(const PixMap& source) {
    if (&source == this) return;
    Free();
    depth8_ = source.depth8_;
    bounds_ = source.bounds_;
    const int32_t w = source.bounds_.width(), h = source.bounds_.height();
    if (source.base_ && w > 0 && h > 0) {
        // Row by row into a buffer of its own width: a view's last row may end before the pitch.
        const size_t bpp = depth8_ ? 1 : 2, row = size_t(w) * bpp;
        base_ = static_cast<uint8_t*>(app::MemoryMan::allocate(row * size_t(h)));
        ownsPixels_ = true;
        rowWidth_ = w;
        for (int32_t y = 0; y < h; ++y) {
            std::memcpy(base_ + size_t(y) * row,
                        source.base_ + size_t(y) * size_t(source.rowWidth_) * bpp, row);
        }
    }
    if (source.mask_ && source.maskSize_) {
        auto* m = static_cast<uint8_t*>(app::MemoryMan::allocate(source.maskSize_));
        std::memcpy(m, source.mask_, source.maskSize_);
        mask_ = m;
        maskSize_ = source.maskSize_;
        ownsMask_ = true;
        maskChecked_ = source.maskChecked_;
    }
}

void PixMap::BuildMask() {
    freeMask();
    if (!base_) return;
    const int32_t w = bounds_.width(), h = bounds_.height();
    if (h <= 0) return;
    auto* out = static_cast<uint8_t*>(app::MemoryMan::allocate(mask::maxSize(w, h)));
    const size_t n = depth8_ ? mask::build(base_, rowWidth_, std::max(w, 0), h, out)
                             : mask::build(pixels16(), rowWidth_, std::max(w, 0), h, out);
    mask_ = out;
    maskSize_ = n;
    ownsMask_ = true;
    maskChecked_ = true;
}

void PixMap::To555() {
    if (depth8_ || !base_ || currentPixelFormat() != PixelFormat::k555) return;
    const int32_t w = bounds_.width(), h = bounds_.height();
    for (int32_t y = 0; y < h; ++y) {
        uint16_t* row = pixels16() + size_t(y) * size_t(rowWidth_);
        for (int32_t x = 0; x < w; ++x)
            row[x] = uint16_t((row[x] & 0x001F) | ((row[x] >> 1) & 0x7FE0));
    }
}

bool PixMap::UsesColorRanges(const DLPalette& palette) const {
    if (!depth8_ || !base_ || palette.ranges().empty()) return false;
    bool cycles[256] = {};
    for (const auto& r : palette.ranges()) {
        for (int i = std::min(r.first, r.last); i <= std::max(r.first, r.last); ++i)
            cycles[i] = true;
    }
    const int32_t w = bounds_.width(), h = bounds_.height();
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = base_ + size_t(y) * size_t(rowWidth_);
        for (int32_t x = 0; x < w; ++x) {
            if (cycles[row[x]]) return true;
        }
    }
    return false;
}

void PixMap::pointAt(uint8_t* pixels, int32_t rowWidth, const base::Rect& bounds, bool depth8) {
    depth8_ = depth8;
    base_ = pixels;
    rowWidth_ = rowWidth;
    bounds_ = bounds;
}

void PixMap::SetView8(const uint8_t* pixels, int32_t rowWidth, const base::Rect& bounds) {
    Free();
    pointAt(const_cast<uint8_t*>(pixels), rowWidth, bounds, true);
}

void PixMap::SetView16(uint16_t* pixels, int32_t rowWidth, const base::Rect& bounds) {
    Free();
    pointAt(reinterpret_cast<uint8_t*>(pixels), rowWidth, bounds, false);
}

void PixMap::ViewPixels16(uint16_t* pixels, int32_t rowWidth, const base::Rect& bounds) {
    freePixels();
    pointAt(reinterpret_cast<uint8_t*>(pixels), rowWidth, bounds, false);
}

void PixMap::ClearPixels() {
    freePixels();
    rowWidth_ = 0;
}

void PixMap::SetMaskView(const uint8_t* mask, size_t size, bool checked) {
    freeMask();
    mask_ = mask;
    maskSize_ = mask ? size : 0;
    maskChecked_ = mask && checked;
}

bool PixMap::CheckMask() {
    if (!mask_) return false;
    if (maskChecked_) return true;
    if (mask::check(mask_, maskSize_, bounds_.width(), bounds_.height())) {
        maskChecked_ = true;
        return true;
    }
    freeMask();
    return false;
}

}  // namespace vs::resources
