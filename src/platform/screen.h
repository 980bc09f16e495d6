#pragma once
#include <cstdint>

#include "base/rect.h"
#include "platform/registered.h"

namespace vs::platform {

// How a screen operation ended. Lost: the screen's contents are gone (a reset render target);
// restore() and repeat. Busy: try again at once. Failed: the screen cannot do it.
enum class ScreenStatus { Ok, Lost, Busy, Failed };

// The 640 × 480 16-bit picture the player sees. The screen keeps a readable copy of what was
// presented; blits land in that copy and reach the player at the next flush().
class Screen : public Registered<Screen> {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    virtual ~Screen() = default;

    // Takes the screen for the game (the window or borderless full screen the player chose) and
    // gives it back; the desktop's own display mode is never changed.
    virtual ScreenStatus acquire() = 0;
    virtual void release() = 0;
    // After Lost: makes the screen usable again. Its picture must then be presented anew.
    virtual ScreenStatus restore() = 0;

    // One pixel of the presented picture as 0xRRGGBB, read and written the way a drawing context
    // does it: through the conversion of the screen's native pixel format.
    virtual uint32_t colorAt(int x, int y) const = 0;
    virtual void setColorAt(int x, int y, uint32_t rgb) = 0;
    // The stored 16-bit value of one pixel, as a lock of the screen memory shows it.
    virtual ScreenStatus readRaw(int x, int y, uint16_t& out) = 0;

    // Copies `area` of a 640 × 480 picture (`pitch` in pixels) to the same place on the screen.
    // The area must lie inside the screen.
    virtual ScreenStatus blit(const uint16_t* pixels, int pitch, const base::Rect& area) = 0;
    virtual ScreenStatus fill(uint16_t colour) = 0;
    // Shows the player what was blitted since the last flush.
    virtual void flush() = 0;

    // The presented picture, kWidth × kHeight pixels at pitch kWidth.
    virtual const uint16_t* pixels() const = 0;

    virtual bool fullscreen() const = 0;
    virtual void setFullscreen(bool on) = 0;
    // The pixel format the player chose. Only a backend free to store pixels either way follows
    // it; the display reads back what the screen really uses.
    virtual void chooseFormat(bool rgb565) = 0;
};

}  // namespace vs::platform
