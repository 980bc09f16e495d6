#pragma once
#include <cstdint>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "platform/window.h"

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

namespace vs::platform {

class SdlScreen;
class SdlTextInput;

class SdlWindow final : public Window {
public:
    explicit SdlWindow(const SdlOptions& options);
    ~SdlWindow() override;

    bool create(std::u16string_view title, int width, int height) override;
    bool isCreated() const override { return window_ != nullptr; }
    void setTitle(std::u16string_view title) override;
    void show() override;
    void hide() override;
    void minimize() override;
    void restore() override;
    void bringToFront() override;
    void destroy() override;

    WaitResult wait(uint32_t timeoutMs) override;

    void setCapture(bool on) override;
    void showSystemCursor(bool show) override;
    void clipCursor(const base::Rect* area) override;
    void warpMouse(int x, int y) override;
    bool keyToggled(uint8_t virtualKey) override;
    bool keyDownNow(uint8_t virtualKey) override;
    uint32_t doubleClickTime() override { return 500; }

    SDL_Window* sdlWindow() const { return window_; }
    SDL_Renderer* renderer() const { return renderer_; }
    // The screen drawn into this window (set by the screen itself).
    void setScreen(SdlScreen* screen) { screen_ = screen; }
    // The input method that turns SDL's text events into messages (set by itself).
    void setTextInput(SdlTextInput* input) { textInput_ = input; }

protected:
    void wake() override;

private:
    void translate(const SDL_Event& ev);
    bool altEnter(const SDL_Event& ev);
    void setIcon();
    int chooseScale(int width, int height) const;

    SdlOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SdlScreen* screen_ = nullptr;
    SdlTextInput* textInput_ = nullptr;
    bool swallowEnterUp_ = false;
    uint32_t wakeEvent_ = 0;
    int width_ = 640, height_ = 480;
};

}  // namespace vs::platform
