#pragma once
#include <cstdint>

#include "platform/memory_screen.h"

struct SDL_Texture;

namespace vs::platform {

class SdlWindow;

// The screen on SDL: one streaming texture in RGB565 or RGB555, drawn with integer scaling and
// nearest filtering into the window's renderer. Blits only touch the memory copy; flush() uploads
// the changed area and presents once.
class SdlScreen final : public MemoryScreen {
public:
    explicit SdlScreen(SdlWindow& window);
    ~SdlScreen() override;
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

    ScreenStatus acquire() override;
    void release() override {}
    ScreenStatus restore() override;
    ScreenStatus blit(const uint16_t* pixels, int pitch, const base::Rect& area) override;
    ScreenStatus fill(uint16_t colour) override;
    void flush() override;
    bool fullscreen() const override;
    void setFullscreen(bool on) override;
    void chooseFormat(bool rgb565) override;

    // From the window's events: the window must be drawn again (exposed, resized), or the
    // renderer lost its textures.
    void redraw() { render_ = true; }
    void deviceReset();
    // The renderer is about to go.
    void dropTexture();

protected:
    void changed(const base::Rect& area) override { upload_ = upload_.unite(area); }

private:
    bool createTexture();

    SdlWindow& window_;
    SDL_Texture* texture_ = nullptr;
    base::Rect upload_;
    bool render_ = false;
    bool lost_ = false;
};

}  // namespace vs::platform
