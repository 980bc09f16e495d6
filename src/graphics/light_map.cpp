#include "graphics/light_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/memory_man.h"

namespace vs::graphics {

using base::Point;
using base::Rect;

namespace {

// v + 0.5 truncated, kept to 0 … 255; NaN gives 0.
uint8_t roundLevel(double v) {
    const double r = std::floor(v + 0.5);
    if (!(r > 0.0)) return 0;
    return r >= 255.0 ? 255 : uint8_t(r);
}

template <int Op>
inline uint8_t combine(uint8_t d, uint8_t v) {
    if constexpr (Op == LightMap::kSet) {
        return v;
    } else if constexpr (Op == LightMap::kAdd) {
        return uint8_t(d + v);
    } else if constexpr (Op == LightMap::kSubtract) {
        return uint8_t(d - v);
    } else if constexpr (Op == LightMap::kAddSaturating) {
        const int s = d + v;
        return uint8_t(s > 255 ? 255 : s);
    } else {
        return uint8_t(d > v ? d - v : 0);
    }
}

// Calls f.template operator()<Op>() for a valid op; false for any other.
template <class F>
bool withOp(int op, F&& f) {
    switch (op) {
        case LightMap::kSet:
            f.template operator()<LightMap::kSet>();
            return true;
        case LightMap::kAdd:
            f.template operator()<LightMap::kAdd>();
            return true;
        case LightMap::kSubtract:
            f.template operator()<LightMap::kSubtract>();
            return true;
        case LightMap::kAddSaturating:
            f.template operator()<LightMap::kAddSaturating>();
            return true;
        case LightMap::kSubtractSaturating:
            f.template operator()<LightMap::kSubtractSaturating>();
            return true;
        default:
            return false;
    }
}

template <int Op>
void combineSpan(uint8_t* d, int32_t n, uint8_t v) {
    if constexpr (Op == LightMap::kSet) {
        std::memset(d, v, size_t(n));
    } else {
        for (int32_t i = 0; i < n; ++i) d[i] = combine<Op>(d[i], v);
    }
}

template <int Op>
void combineSpan(uint8_t* d, const uint8_t* s, int32_t n) {
    if constexpr (Op == LightMap::kSet) {
        std::memmove(d, s, size_t(n));
    } else {
        for (int32_t i = 0; i < n; ++i) d[i] = combine<Op>(d[i], s[i]);
    }
}

// A rectangle given in 64-bit coordinates, cut down to int32 after clipping.
struct Area {
    int64_t left, top, right, bottom;
    Area clip(const Rect& r) const {
        return {std::max<int64_t>(left, r.left), std::max<int64_t>(top, r.top),
                std::min<int64_t>(right, r.right), std::min<int64_t>(bottom, r.bottom)};
    }
    bool empty() const { return right <= left || bottom <= top; }
};

}  // namespace

uint8_t lightLevel(double f) {
    return roundLevel(f * 32.0);
}

LightMap& LightMap::operator=(LightMap&& o) noexcept {
    if (this == &o) return *this;
    Free();
    bounds_ = o.bounds_;
    data_ = o.data_;
    width_ = o.width_;
    height_ = o.height_;
    stride_ = o.stride_;
    owns_ = o.owns_;
    o.data_ = nullptr;
    o.owns_ = false;
    o.Free();
    return *this;
}

void LightMap::Create(int32_t w, int32_t h) {
    Free();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return;
    data_ = static_cast<uint8_t*>(app::MemoryMan::allocateZeroed(size_t(w) * size_t(h)));
    owns_ = true;
    width_ = stride_ = w;
    height_ = h;
    bounds_ = {0, 0, w, h};
}

void LightMap::Free() {
    if (owns_) app::MemoryMan::release(data_);
    data_ = nullptr;
    owns_ = false;
    width_ = height_ = stride_ = 0;
    bounds_ = {};
}

LightMap LightMap::View(const Rect& rect) const {
    LightMap v;
    const Rect r = rect.intersect(bounds_);
    if (!data_ || r.empty()) return v;
    v.data_ = const_cast<uint8_t*>(data_) + size_t(r.top) * size_t(stride_) + size_t(r.left);
    v.width_ = r.width();
    v.height_ = r.height();
    v.stride_ = stride_;
    v.bounds_ = {0, 0, v.width_, v.height_};
    return v;
}

void LightMap::Fill(const Rect* rect, uint8_t value, int op) {
    if (!data_) return;
    const Rect r = rect ? rect->intersect(bounds_) : bounds_;
    if (r.empty()) return;
    withOp(op, [&]<int Op>() {
        for (int32_t y = r.top; y < r.bottom; ++y)
            combineSpan<Op>(row(y) + r.left, r.width(), value);
    });
}

void LightMap::Blend(const Rect* dstRect, const LightMap* source, Point srcPoint, int op) {
    if (!dstRect || !source || !data_ || !source->data_) return;
    // Where the source map lies on this one, keeping dstRect's alignment.
    const int64_t dx = int64_t(dstRect->left) - srcPoint.x, dy = int64_t(dstRect->top) - srcPoint.y;
    const Area onUs{source->bounds_.left + dx, source->bounds_.top + dy, source->bounds_.right + dx,
                    source->bounds_.bottom + dy};
    const Area a = onUs.clip(dstRect->intersect(bounds_));
    if (a.empty()) return;
    const auto n = int32_t(a.right - a.left);
    withOp(op, [&]<int Op>() {
        for (int64_t y = a.top; y < a.bottom; ++y) {
            combineSpan<Op>(row(int32_t(y)) + a.left, source->row(int32_t(y - dy)) + (a.left - dx),
                            n);
        }
    });
}

void LightMap::CircleGradient(int32_t cx, int32_t cy, int32_t radius, int32_t inner, int32_t outer,
                              double exponent, int op) {
    if (!data_ || radius < 1 || !(exponent > 0.0)) return;
    const double in = uint8_t(inner), span = double(uint8_t(outer)) - in;
    const double re = std::pow(double(radius), exponent);
    const Area a = Area{int64_t(cx) - radius, int64_t(cy) - radius, int64_t(cx) + radius + 1,
                        int64_t(cy) + radius + 1}
                       .clip(bounds_);
    if (a.empty()) return;
    withOp(op, [&]<int Op>() {
        for (int64_t y = a.top; y < a.bottom; ++y) {
            uint8_t* d = row(int32_t(y));
            const double ddy = double(y - cy);
            for (int64_t x = a.left; x < a.right; ++x) {
                const double ddx = double(x - cx);
                const double dist = std::sqrt(ddx * ddx + ddy * ddy);
                if (dist > radius) continue;
                d[x] = combine<Op>(d[x], roundLevel(in + std::pow(dist, exponent) * span / re));
            }
        }
    });
}

void LightMap::EllipseGradient(int32_t cx, int32_t cy, int32_t r0, int32_t rx, int32_t ry,
                               int32_t inner, int32_t outer, double exponent, int op) {
    if (!data_ || r0 < 0 || rx <= 0 || ry <= 0 || !(exponent > 0.0)) return;
    const double in = uint8_t(inner), span = double(uint8_t(outer)) - in;
    const double big = std::max(rx, ry);
    // The smaller axis is stretched to the larger one.
    const double sx = rx < ry ? double(ry) / rx : 1.0, sy = rx < ry ? 1.0 : double(rx) / ry;
    const double fall = big > r0 ? std::pow(big - r0, exponent) : 0.0;
    const Area a =
        Area{int64_t(cx) - rx, int64_t(cy) - ry, int64_t(cx) + rx + 1, int64_t(cy) + ry + 1}.clip(
            bounds_);
    if (a.empty()) return;
    withOp(op, [&]<int Op>() {
        for (int64_t y = a.top; y < a.bottom; ++y) {
            uint8_t* d = row(int32_t(y));
            const double ddy = double(y - cy) * sy;
            for (int64_t x = a.left; x < a.right; ++x) {
                const double ddx = double(x - cx) * sx;
                const double e = std::sqrt(ddx * ddx + ddy * ddy);
                if (e > big) continue;
                double v = in;
                if (e > r0 && fall > 0.0) v += std::pow(e - r0, exponent) * span / fall;
                d[x] = combine<Op>(d[x], roundLevel(v));
            }
        }
    });
}

void LightMap::AddShape(const resources::PixMap& picture, const Rect& srcRect, Point dstPoint,
                        uint8_t level, int op) {
    if (!data_ || !picture.hasPixels()) return;
    const Rect& pb = picture.bounds();
    const Rect src = srcRect.intersect(pb);
    if (src.empty()) return;
    // The source on this map: srcRect's top-left lands on dstPoint.
    const int64_t dx = int64_t(dstPoint.x) - srcRect.left, dy = int64_t(dstPoint.y) - srcRect.top;
    const Area a = Area{src.left + dx, src.top + dy, src.right + dx, src.bottom + dy}.clip(bounds_);
    if (a.empty()) return;
    const int64_t h = pb.height();
    auto rowLevel = [&](int64_t r) {
        if (h <= 1) return level;
        return uint8_t((int64_t(level) * r * 2 + (h - 1)) / (2 * (h - 1)));
    };
    // Picture columns and rows of the area.
    const auto c0 = int32_t(a.left - dx - pb.left), c1 = int32_t(a.right - dx - pb.left);
    const auto r0 = int32_t(a.top - dy - pb.top), r1 = int32_t(a.bottom - dy - pb.top);
    const int32_t x0 = int32_t(a.left) - c0;  // the map column of picture column 0
    withOp(op, [&]<int Op>() {
        if (picture.maskChecked()) {
            resources::mask::Walker walker(picture.mask(), picture.maskSize());
            walker.skipRows(r0);
            for (int32_t r = r0; r < r1; ++r) {
                uint8_t* d = row(int32_t(r + pb.top + dy)) + x0;
                const uint8_t v = rowLevel(r);
                walker.row(c0, c1, [&](int32_t b, int32_t e) { combineSpan<Op>(d + b, e - b, v); });
            }
            return;
        }
        const int32_t rw = picture.rowWidth();
        for (int32_t r = r0; r < r1; ++r) {
            uint8_t* d = row(int32_t(r + pb.top + dy)) + x0;
            const uint8_t v = rowLevel(r);
            const size_t at = size_t(r) * size_t(rw);
            for (int32_t c = c0; c < c1; ++c) {
                const bool visible = picture.is8Bit() ? picture.pixels8()[at + c] != 0
                                                      : picture.pixels16()[at + c] != 0;
                if (visible) d[c] = combine<Op>(d[c], v);
            }
        }
    });
}

}  // namespace vs::graphics
