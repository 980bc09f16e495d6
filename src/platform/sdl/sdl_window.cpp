#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "base/log.h"
#include "base/text.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_text_input.h"
#include "platform/us_layout.h"
#include "platform/virtual_keys.h"

namespace vs::platform {

SdlWindow::SdlWindow(const SdlOptions& options) : options_(options) {
    wakeEvent_ = SDL_RegisterEvents(1);
    registerSelf(this);
}

SdlWindow::~SdlWindow() {
    unregisterSelf(this);
    if (screen_) screen_->dropTexture();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

int SdlWindow::chooseScale(int width, int height) const {
    if (mode_.scale > 0) return mode_.scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    // Leave room for the window decorations.
    int s = std::min((usable.w - 16) / width, (usable.h - 48) / height);
    return std::max(1, s);
}

bool SdlWindow::create(std::u16string_view title, int width, int height) {
    if (window_) return true;
    width_ = width;
    height_ = height;
    const int scale = chooseScale(width, height);
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (mode_.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(base::utf16ToUtf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width * scale, height * scale, flags);
    if (!window_) {
        VS_ERROR("SDL_CreateWindow: %s", SDL_GetError());
        return false;
    }
    setIcon();
    uint32_t rflags = options_.softwareRenderer ? SDL_RENDERER_SOFTWARE : 0;
    renderer_ = SDL_CreateRenderer(window_, -1, rflags);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        VS_ERROR("SDL_CreateRenderer: %s", SDL_GetError());
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_RenderSetLogicalSize(renderer_, width, height);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    return true;
}

void SdlWindow::setIcon() {
    // A small emblem drawn here: a gold ring with a green centre on transparent ground.
    constexpr int kSize = 32;
    static uint32_t pixels[kSize * kSize];
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int dx = 2 * x - (kSize - 1), dy = 2 * y - (kSize - 1);
            const int d2 = dx * dx + dy * dy;  // in half pixels, squared
            uint32_t c = 0;
            if (d2 <= 30 * 30) c = 0xFFD8A640;   // gold ring
            if (d2 <= 24 * 24) c = 0xFF2E6B3A;   // green field
            if (d2 <= 24 * 24 && std::abs(dx) <= 3 && dy > -18 && dy < 18) c = 0xFFF0E2B0;  // blade
            if (d2 <= 24 * 24 && std::abs(dy + 6) <= 2 && std::abs(dx) < 12) c = 0xFFF0E2B0;  // guard
            pixels[y * kSize + x] = c;
        }
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kSize, kSize, 32, kSize * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlWindow::setTitle(std::u16string_view title) {
    if (window_) SDL_SetWindowTitle(window_, base::utf16ToUtf8(title).c_str());
}

void SdlWindow::show() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    if (screen_) {
        screen_->redraw();
        screen_->flush();
    }
}

void SdlWindow::hide() {
    if (window_) SDL_HideWindow(window_);
}

void SdlWindow::minimize() {
    // Only a full-screen window gets out of the way when the program loses the focus; a desktop
    // window stays where the player put it.
    if (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP))
        SDL_MinimizeWindow(window_);
}

void SdlWindow::restore() {
    if (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(window_);
}

void SdlWindow::bringToFront() {
    if (window_) SDL_RaiseWindow(window_);
}

void SdlWindow::destroy() {
    if (!window_) return;
    if (screen_) screen_->dropTexture();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
    post(Message(kWmDestroy));
}

void SdlWindow::wake() {
    SDL_Event ev{};
    ev.type = wakeEvent_;
    SDL_PushEvent(&ev);  // thread-safe; interrupts SDL_WaitEventTimeout
}

WaitResult SdlWindow::wait(uint32_t timeoutMs) {
    // What the last pass drew reaches the window once, before the loop sleeps.
    if (screen_) screen_->flush();
    WaitResult r = queue_.poll();
    if (r != WaitResult::Timeout) return r;
    SDL_Event ev;
    if (textInput_) textInput_->beginPass();
    if (SDL_WaitEventTimeout(&ev, int(timeoutMs))) {
        translate(ev);
        while (SDL_PollEvent(&ev)) translate(ev);
    }
    return queue_.poll();
}

void SdlWindow::translate(const SDL_Event& ev) {
    auto postMsg = [&](uint32_t id, uint64_t w, int64_t l) {
        Message m(id, w, l);
        m.time = ev.common.timestamp;
        queue_.post(std::move(m));
    };
    switch (ev.type) {
        case SDL_QUIT:
            postMsg(kWmClose, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            switch (ev.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    postMsg(kWmActivateApp, 1, 0);
                    postMsg(kWmSetFocus, 0, 0);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    postMsg(kWmKillFocus, 0, 0);
                    postMsg(kWmActivateApp, 0, 0);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (screen_) screen_->redraw();
                    postMsg(kWmPaint, 0, 0);
                    break;
                default:
                    break;
            }
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            // The window's picture is gone: the game presents it again through the lost path.
            if (screen_) screen_->deviceReset();
            postMsg(kWmPaint, 0, 0);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (altEnter(ev)) break;
            const bool numLock = (SDL_GetModState() & KMOD_NUM) != 0;
            uint8_t vk = sdl::virtualKeyFor(ev.key.keysym.scancode, ev.key.keysym.sym, numLock);
            const uint16_t mod = ev.key.keysym.mod;
            const bool alt = (mod & KMOD_ALT) != 0;
            const bool down = ev.type == SDL_KEYDOWN;
            uint32_t id = down ? (alt || vk == kVkMenu ? kWmSysKeyDown : kWmKeyDown)
                               : (alt || vk == kVkMenu ? kWmSysKeyUp : kWmKeyUp);
            postMsg(id, vk, ev.key.repeat ? 0x40000000 : 0);
            if (down) {
                char16_t c = sdl::controlCharacterFor(vk, (mod & KMOD_CTRL) != 0, alt);
                if (c) postMsg(kWmChar, c, 0);
            }
            if (down && textInput_) {
                textInput_->keyEvent();
                // Without the input method SDL types nothing: printable keys type themselves.
                if (textInput_->typesKeys() && !(mod & KMOD_CTRL) && !alt) {
                    char t = usLayoutCharacter(vk, (mod & KMOD_SHIFT) != 0);
                    if ((mod & KMOD_CAPS) && ((t >= 'a' && t <= 'z') || (t >= 'A' && t <= 'Z')))
                        t = char(t ^ 0x20);
                    if (t >= 32 && t <= 126) postMsg(kWmChar, char16_t(t), 0);
                }
            }
            break;
        }
        case SDL_TEXTEDITING:
#if SDL_VERSION_ATLEAST(2, 0, 22)
        case SDL_TEXTEDITING_EXT:
#endif
        case SDL_TEXTINPUT: {
            if (textInput_) {
                std::vector<Message> out;
                textInput_->translate(ev, out);
                for (Message& m : out) queue_.post(std::move(m));
                break;
            }
            if (ev.type != SDL_TEXTINPUT) break;
            // Text typed with the left Alt key held is a shortcut, not text.
            if (SDL_GetModState() & KMOD_LALT) break;
            for (char16_t u : base::utf8ToUtf16(ev.text.text)) {
                if (u >= 32) postMsg(kWmChar, u, 0);
            }
            break;
        }
        case SDL_MOUSEMOTION:
            postMsg(kWmMouseMove, 0, packPoint(ev.motion.x, ev.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = ev.type == SDL_MOUSEBUTTONDOWN;
            uint32_t id = 0;
            if (ev.button.button == SDL_BUTTON_LEFT) id = down ? kWmLButtonDown : kWmLButtonUp;
            if (ev.button.button == SDL_BUTTON_RIGHT) id = down ? kWmRButtonDown : kWmRButtonUp;
            if (id) postMsg(id, 0, packPoint(ev.button.x, ev.button.y));
            break;
        }
        case SDL_MOUSEWHEEL: {
            int delta = ev.wheel.y * 120;
            if (ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
            if (delta == 0) break;
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            // Wheel positions are in window pixels; the window procedure only uses the delta.
            postMsg(kWmMouseWheel, uint64_t(uint16_t(int16_t(delta))) << 16, packPoint(x, y));
            break;
        }
        default:
            break;
    }
}

bool SdlWindow::altEnter(const SDL_Event& ev) {
    const SDL_Scancode sc = ev.key.keysym.scancode;
    if (sc != SDL_SCANCODE_RETURN && sc != SDL_SCANCODE_KP_ENTER) return false;
    if (ev.type == SDL_KEYUP) {
        const bool swallow = swallowEnterUp_;
        swallowEnterUp_ = false;
        return swallow;
    }
    if (!(ev.key.keysym.mod & KMOD_ALT)) return false;
    // The switch between window and full screen is the desktop's business, not the game's.
    if (!ev.key.repeat && screen_) screen_->setFullscreen(!screen_->fullscreen());
    swallowEnterUp_ = true;
    return true;
}

void SdlWindow::setCapture(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

void SdlWindow::showSystemCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void SdlWindow::clipCursor(const base::Rect*) {
    // A desktop window never traps the pointer; the program clamps positions itself.
}

void SdlWindow::warpMouse(int x, int y) {
    if (!window_ || !(SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS)) return;
    // Logical to window pixels, through the renderer's scale and viewport.
    float sx = 1, sy = 1;
    SDL_Rect vp;
    SDL_RenderGetScale(renderer_, &sx, &sy);
    SDL_RenderGetViewport(renderer_, &vp);
    SDL_WarpMouseInWindow(window_, int((x + vp.x) * sx), int((y + vp.y) * sy));
}

bool SdlWindow::keyToggled(uint8_t vk) {
    const SDL_Keymod m = SDL_GetModState();
    switch (vk) {
        case kVkCapital: return (m & KMOD_CAPS) != 0;
        case kVkNumLock: return (m & KMOD_NUM) != 0;
        case kVkScroll: return (m & KMOD_SCROLL) != 0;
        default: return false;
    }
}

bool SdlWindow::keyDownNow(uint8_t vk) {
    int sc = sdl::scancodeFor(vk);
    if (sc == 0) return false;
    int n = 0;
    const uint8_t* state = SDL_GetKeyboardState(&n);
    return sc < n && state[sc];
}

}  // namespace vs::platform
