#pragma once
#include <cstdint>
#include <functional>

#include "base/rect.h"

namespace vs::graphics {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class Display {
public:
    ~Display() {
        if (instance_ == this) instance_ = nullptr;
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    static Display* instance() { return instance_; }
    Display(int width, int height, int depth) : width_(width), height_(height) {
        (void)depth;
        instance_ = this;
    }
    void Setup() {}
    void AcquireExclusive() {}
    void ReleaseExclusive() {}
    void RestoreSurfaces() {}
    void StartTimers() {}
    void Present() {}
    void InvalidateRect(const base::Rect& r) { (void)r; }
    // With no screen yet a fade has nothing to show: it ends at once.
    void FadeIn(std::function<void()> done) { if (done) done(); }
    void FadeOut(std::function<void()> done) { if (done) done(); }
    void LoadCursor() {}
    void ShowCursor() {}
    void HideCursor() {}
    bool IsCursorVisible() const { return false; }
    void MoveCursor(int32_t y, int32_t x) { (void)y; (void)x; }
    void AnimateCursor(uint32_t now) { (void)now; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;

private:
    static inline Display* instance_ = nullptr;
};

}  // namespace vs::graphics
