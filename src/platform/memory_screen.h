#pragma once
#include <cstdint>
#include <vector>

#include "platform/screen.h"

namespace vs::platform {

// The part every screen backend shares: the readable copy of the presented picture in the
// backend's native 16-bit format, and the pixel access through that format.
class MemoryScreen : public Screen {
public:
    explicit MemoryScreen(bool native565);

    uint32_t colorAt(int x, int y) const override;
    void setColorAt(int x, int y, uint32_t rgb) override;
    ScreenStatus readRaw(int x, int y, uint16_t& out) override;
    ScreenStatus blit(const uint16_t* pixels, int pitch, const base::Rect& area) override;
    ScreenStatus fill(uint16_t colour) override;
    const uint16_t* pixels() const override { return pixels_.data(); }

    bool native565() const { return native565_; }

protected:
    // Called with every area of the copy that changed, clipped to the screen.
    virtual void changed(const base::Rect& area) = 0;
    void setNative565(bool on) { native565_ = on; }

private:
    bool native565_;
    std::vector<uint16_t> pixels_;
};

}  // namespace vs::platform
