#include "platform/memory_screen.h"

#include <algorithm>
#include <cstring>

namespace vs::platform {

namespace {
constexpr base::Rect kScreenRect{0, 0, Screen::kWidth, Screen::kHeight};
}

MemoryScreen::MemoryScreen(bool native565)
    : native565_(native565), pixels_(size_t(kWidth) * kHeight, 0) {}

uint32_t MemoryScreen::colorAt(int x, int y) const {
    if (!kScreenRect.contains(base::Point{x, y})) return 0;
    const uint32_t p = pixels_[size_t(y) * kWidth + size_t(x)];
    uint32_t r, g, b;
    if (native565_) {
        r = (p >> 11) << 3, g = ((p >> 5) & 0x3F) << 2, b = (p & 0x1F) << 3;
    } else {
        r = ((p >> 10) & 0x1F) << 3, g = ((p >> 5) & 0x1F) << 3, b = (p & 0x1F) << 3;
    }
    // Full intensity reads back as 0xFF, as a drawing context reports it.
    r |= r >> 5, b |= b >> 5, g |= native565_ ? g >> 6 : g >> 5;
    return (r << 16) | (g << 8) | b;
}

void MemoryScreen::setColorAt(int x, int y, uint32_t rgb) {
    if (!kScreenRect.contains(base::Point{x, y})) return;
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    const uint16_t p = native565_ ? uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3))
                                  : uint16_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
    pixels_[size_t(y) * kWidth + size_t(x)] = p;
    changed(base::Rect::fromSize(x, y, 1, 1));
}

ScreenStatus MemoryScreen::readRaw(int x, int y, uint16_t& out) {
    if (!kScreenRect.contains(base::Point{x, y})) return ScreenStatus::Failed;
    out = pixels_[size_t(y) * kWidth + size_t(x)];
    return ScreenStatus::Ok;
}

ScreenStatus MemoryScreen::blit(const uint16_t* src, int pitch, const base::Rect& area) {
    const base::Rect r = area.intersect(kScreenRect);
    if (r.empty() || !src) return ScreenStatus::Ok;
    const size_t bytes = size_t(r.width()) * sizeof(uint16_t);
    for (int y = r.top; y < r.bottom; ++y) {
        std::memcpy(&pixels_[size_t(y) * kWidth + size_t(r.left)],
                    src + size_t(y) * size_t(pitch) + size_t(r.left), bytes);
    }
    changed(r);
    return ScreenStatus::Ok;
}

ScreenStatus MemoryScreen::fill(uint16_t colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
    changed(kScreenRect);
    return ScreenStatus::Ok;
}

}  // namespace vs::platform
