#pragma once
#include <algorithm>
#include <cstdint>

namespace vs::base {

// A point on the screen or in a picture. The wire and the event records carry (y, x); code that
// builds them writes the vertical coordinate first, everything else uses this type.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
    Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

// Left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static constexpr Rect fromSize(int32_t x, int32_t y, int32_t w, int32_t h) {
        return {x, y, x + w, y + h};
    }
    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool contains(const Rect& r) const {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    constexpr bool intersects(const Rect& r) const { return !intersect(r).empty(); }
    constexpr Rect intersect(const Rect& r) const {
        return {std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                std::min(bottom, r.bottom)};
    }
    // Bounding union; an empty rectangle never widens the other one.
    constexpr Rect unite(const Rect& r) const {
        if (r.empty()) return *this;
        if (empty()) return r;
        return {std::min(left, r.left), std::min(top, r.top), std::max(right, r.right),
                std::max(bottom, r.bottom)};
    }
    constexpr Rect offset(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Point topLeft() const { return {left, top}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vs::base
