#pragma once
#include <cstdint>

#include "base/rect.h"

namespace vs::base {

// An area kept as one bounding rectangle: dirty areas, clip areas, exposed areas. Unions grow the
// box; a subtraction only cuts a side that the rectangle covers completely, so the area never
// shrinks below what is really left of it.
class DirtyArea {
  public:
    DirtyArea() = default;
    explicit DirtyArea(const Rect& r) { *this = r; }
    DirtyArea& operator=(const Rect& r) {
        rect_ = r.empty() ? Rect{} : r;
        return *this;
    }

    const Rect& rect() const { return rect_; }
    bool empty() const { return rect_.empty(); }
    void clear() { rect_ = {}; }

    DirtyArea& operator|=(const Rect& r) { return *this = rect_.unite(r.empty() ? Rect{} : r); }
    DirtyArea& operator|=(const DirtyArea& a) { return *this |= a.rect_; }
    DirtyArea& operator&=(const Rect& r) { return *this = rect_.intersect(r); }
    DirtyArea& operator&=(const DirtyArea& a) { return *this &= a.rect_; }
    DirtyArea operator&(const Rect& r) const { return DirtyArea(*this) &= r; }
    DirtyArea operator|(const Rect& r) const { return DirtyArea(*this) |= r; }

    // Cuts off the side of the area that `r` covers across the area's whole height (or width);
    // any other overlap leaves the area as it is.
    DirtyArea& operator-=(const Rect& r) {
        if (empty() || r.empty()) return *this;
        Rect a = rect_;
        if (r.contains(a)) {
            clear();
            return *this;
        }
        if (r.top <= a.top && r.bottom >= a.bottom) {
            if (r.left <= a.left && r.right > a.left)
                a.left = r.right;
            else if (r.right >= a.right && r.left < a.right)
                a.right = r.left;
        } else if (r.left <= a.left && r.right >= a.right) {
            if (r.top <= a.top && r.bottom > a.top)
                a.top = r.bottom;
            else if (r.bottom >= a.bottom && r.top < a.bottom)
                a.bottom = r.top;
        }
        return *this = a;
    }

    DirtyArea& offset(int32_t dx, int32_t dy) {
        if (!empty()) rect_ = rect_.offset(dx, dy);
        return *this;
    }
    // An empty area lies inside every area.
    bool contains(const Rect& r) const { return r.empty() || rect_.contains(r); }
    bool contains(const DirtyArea& a) const { return contains(a.rect_); }

    friend bool operator==(const DirtyArea&, const DirtyArea&) = default;

  private:
    Rect rect_;
};

}  // namespace vs::base
