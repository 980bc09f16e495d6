#include "platform/sdl/sdl_screen.h"

#include <SDL.h>

#include "base/log.h"
#include "platform/sdl/sdl_window.h"

namespace vs::platform {

namespace {
constexpr base::Rect kScreenRect{0, 0, Screen::kWidth, Screen::kHeight};
}

SdlScreen::SdlScreen(SdlWindow& window) : MemoryScreen(true), window_(window) {
    window_.setScreen(this);
    registerSelf(this);
}

SdlScreen::~SdlScreen() {
    unregisterSelf(this);
    dropTexture();
    window_.setScreen(nullptr);
}

bool SdlScreen::createTexture() {
    if (texture_) return true;
    SDL_Renderer* r = window_.renderer();
    if (!r) return false;
    texture_ = SDL_CreateTexture(r, native565() ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555,
                                 SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (!texture_) {
        VS_ERROR("SDL_CreateTexture: %s", SDL_GetError());
        return false;
    }
    upload_ = kScreenRect;
    render_ = true;
    return true;
}

void SdlScreen::dropTexture() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
}

ScreenStatus SdlScreen::acquire() {
    if (!window_.renderer()) return ScreenStatus::Failed;
    return createTexture() ? ScreenStatus::Ok : ScreenStatus::Failed;
}

ScreenStatus SdlScreen::restore() {
    // A reset renderer may keep the texture object but not its contents: start afresh.
    dropTexture();
    if (!createTexture()) return ScreenStatus::Failed;
    lost_ = false;
    return ScreenStatus::Ok;
}

void SdlScreen::deviceReset() {
    lost_ = true;
    upload_ = kScreenRect;
    render_ = true;
}

ScreenStatus SdlScreen::blit(const uint16_t* pixels, int pitch, const base::Rect& area) {
    if (lost_) return ScreenStatus::Lost;
    return MemoryScreen::blit(pixels, pitch, area);
}

ScreenStatus SdlScreen::fill(uint16_t colour) {
    if (lost_) return ScreenStatus::Lost;
    return MemoryScreen::fill(colour);
}

void SdlScreen::flush() {
    if (lost_ || (upload_.empty() && !render_)) return;
    SDL_Renderer* r = window_.renderer();
    if (!r || !createTexture()) return;
    if (!upload_.empty()) {
        const SDL_Rect rect{upload_.left, upload_.top, upload_.width(), upload_.height()};
        const uint16_t* src = pixels() + size_t(upload_.top) * kWidth + size_t(upload_.left);
        if (SDL_UpdateTexture(texture_, &rect, src, kWidth * int(sizeof(uint16_t))) != 0)
            VS_WARN("SDL_UpdateTexture: %s", SDL_GetError());
        upload_ = {};
    }
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderCopy(r, texture_, nullptr, nullptr);
    SDL_RenderPresent(r);
    render_ = false;
}

bool SdlScreen::fullscreen() const {
    SDL_Window* w = window_.sdlWindow();
    return w &&
           (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void SdlScreen::setFullscreen(bool on) {
    SDL_Window* w = window_.sdlWindow();
    if (!w || on == fullscreen()) return;
    if (SDL_SetWindowFullscreen(w, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        VS_WARN("SDL_SetWindowFullscreen: %s", SDL_GetError());
        return;
    }
    // The window's mode is what the settings keep of the player's choice.
    window_.setMode({window_.mode().scale, on});
    render_ = true;
}

void SdlScreen::chooseFormat(bool rgb565) {
    if (rgb565 == native565()) return;
    // The texture holds the old format; the next flush makes a new one.
    setNative565(rgb565);
    dropTexture();
}

}  // namespace vs::platform
