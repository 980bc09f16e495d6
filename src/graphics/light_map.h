#pragma once
#include <cstdint>

#include "base/rect.h"
#include "resources/pix_map.h"

namespace vs::graphics {

// ⌊f × 32 + 0.5⌋ kept to a light level 0 … 255; NaN gives 0. Every real-valued brightness,
// darkness and intensity becomes a level through this one function.
uint8_t lightLevel(double f);

// An 8-bit picture of light levels, one byte per screen pixel: 32 leaves a pixel unchanged, 0
// makes it black, 64 doubles it. Byte (x, y) is data[y × stride + x]; bounds are always
// (0, 0, width, height), views included.
//
// Combining ops: 0 sets, 1 adds and 2 subtracts modulo 256 (callers keep their levels in range),
// 3 adds and 4 subtracts saturating at 255 and 0. Any other op does nothing.
class LightMap {
  public:
    enum Op : int {
        kSet = 0,
        kAdd = 1,
        kSubtract = 2,
        kAddSaturating = 3,
        kSubtractSaturating = 4
    };
    // Larger sides give an empty map.
    static constexpr int32_t kMaxSide = 16384;

    LightMap() = default;
    // An owning w × h map of level 0.
    LightMap(int32_t w, int32_t h) { Create(w, h); }
    ~LightMap() { Free(); }
    LightMap(LightMap&& o) noexcept { *this = static_cast<LightMap&&>(o); }
    LightMap& operator=(LightMap&& o) noexcept;
    LightMap(const LightMap&) = delete;
    LightMap& operator=(const LightMap&) = delete;

    // Re-creates the map at w × h, zero-filled; a side of 0 or less, or above kMaxSide, gives
    // an empty map.
    void Create(int32_t w, int32_t h);
    void Free();

    // A non-owning map of the part inside rect (clipped to the bounds), sharing the data; empty
    // when nothing remains. It must not outlive this map's data.
    LightMap View(const base::Rect& rect) const;
    base::Point Centre() const { return {width_ / 2, height_ / 2}; }

    // Within rect ∩ bounds (the whole map for null).
    void Fill(const base::Rect* rect, uint8_t value, int op);
    // Within dstRect ∩ bounds, each byte combined with the source's byte at srcPoint + its offset
    // from dstRect's top-left; bytes whose source lies outside the source map are left alone.
    void Blend(const base::Rect* dstRect, const LightMap* source, base::Point srcPoint, int op);
    // Levels from inner at (cx, cy) to outer at the radius: inner + d^e·(outer − inner) / R^e,
    // rounded; bytes farther than the radius are left alone.
    void CircleGradient(int32_t cx, int32_t cy, int32_t radius, int32_t inner, int32_t outer,
                        double exponent, int op);
    // The same over an ellipse with the distance measured in its larger radius, flat inner up to
    // r0.
    void EllipseGradient(int32_t cx, int32_t cy, int32_t r0, int32_t rx, int32_t ry, int32_t inner,
                         int32_t outer, double exponent, int op);
    // The light of a sprite's shape: the source (srcRect ∩ the picture's bounds) is placed with
    // its top-left at dstPoint, and every visible pixel of picture row r (counted from the top
    // of the whole picture, h rows) combines ⌊level·r/(h − 1) + 0.5⌋ (level when h = 1) by op:
    // nothing at the top row, the whole level at the bottom. Visibility is the checked mask's,
    // else a pixel value other than 0.
    void AddShape(const resources::PixMap& picture, const base::Rect& srcRect, base::Point dstPoint,
                  uint8_t level, int op);

    const base::Rect& bounds() const { return bounds_; }
    uint8_t* data() { return data_; }
    const uint8_t* data() const { return data_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return stride_; }
    bool ownsData() const { return owns_; }
    bool empty() const { return data_ == nullptr; }
    uint8_t at(int32_t x, int32_t y) const {
        return data_[size_t(y) * size_t(stride_) + size_t(x)];
    }
    uint8_t* row(int32_t y) { return data_ + size_t(y) * size_t(stride_); }
    const uint8_t* row(int32_t y) const { return data_ + size_t(y) * size_t(stride_); }

  private:
    base::Rect bounds_;
    uint8_t* data_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    bool owns_ = false;
};

}  // namespace vs::graphics
