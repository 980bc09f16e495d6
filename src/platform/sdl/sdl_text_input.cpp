#include "platform/sdl/sdl_text_input.h"

#include <SDL.h>

#include "base/text.h"
#include "platform/sdl/sdl_window.h"

namespace vs::platform {

int32_t utf16Offset(std::string_view utf8, int32_t characters) {
    int32_t units = 0;
    size_t i = 0;
    for (int32_t c = 0; c < characters && i < utf8.size(); ++c) {
        const auto lead = uint8_t(utf8[i]);
        const size_t len = lead < 0x80    ? 1
                           : lead >= 0xF0 ? 4
                           : lead >= 0xE0 ? 3
                           : lead >= 0xC0 ? 2
                                          : 1;
        units += len == 4 ? 2 : 1;
        i += len;
    }
    return units;
}

SdlTextInput::SdlTextInput(SdlWindow& window) : window_(window) {
    // SDL starts composing at once; the game wants plain keys until an entry asks.
    SDL_StopTextInput();
    window_.setTextInput(this);
    registerSelf(this);
}

SdlTextInput::~SdlTextInput() {
    unregisterSelf(this);
    window_.setTextInput(nullptr);
}

void SdlTextInput::setAvailable(bool on) {
    if (on == available()) return;
    if (on) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
        composing_ = false;
    }
}

bool SdlTextInput::available() const {
    return SDL_IsTextInputActive() == SDL_TRUE;
}

void SdlTextInput::clearComposition(std::u16string_view dropped) {
    // Some methods commit what they held when reset: that commit must not type it twice.
    SDL_ClearComposition();
    composing_ = false;
    dropped_ = std::u16string(dropped);
}

void SdlTextInput::setCompositionRect(const base::Rect& rect) {
    SDL_Rect r{rect.left, rect.top, std::max(rect.width(), 1), std::max(rect.height(), 1)};
    if (SDL_Renderer* renderer = window_.renderer()) {
        // Game pixels to window pixels, through the renderer's scale and viewport.
        float sx = 1, sy = 1;
        SDL_Rect vp;
        SDL_RenderGetScale(renderer, &sx, &sy);
        SDL_RenderGetViewport(renderer, &vp);
        r = {int((rect.left + vp.x) * sx), int((rect.top + vp.y) * sy), int(r.w * sx),
             int(r.h * sy)};
    }
    SDL_SetTextInputRect(&r);
}

void SdlTextInput::beginPass() {
    passAvailable_ = available();
}

bool SdlTextInput::translate(const SDL_Event& ev, std::vector<Message>& out) {
    auto add = [&](uint32_t id, uint64_t w, int64_t l, std::string text = {}) {
        Message m(id, w, l);
        m.time = ev.common.timestamp;
        m.text = std::move(text);
        out.push_back(std::move(m));
    };
    auto editing = [&](const char* text, int32_t start) {
        const std::string utf8 = text ? text : "";
        if (utf8.empty()) {
            if (composing_) add(kWmImeEndComposition, 0, 0);
            composing_ = false;
            return;
        }
        dropped_.reset();
        if (!composing_) add(kWmImeStartComposition, 0, 0);
        composing_ = true;
        add(kWmImeComposition, uint64_t(utf16Offset(utf8, start)), kGcsCompStr | kGcsCursorPos,
            utf8);
    };
    switch (ev.type) {
        case SDL_TEXTEDITING:
            editing(ev.edit.text, ev.edit.start);
            return true;
#if SDL_VERSION_ATLEAST(2, 0, 22)
        case SDL_TEXTEDITING_EXT:
            editing(ev.editExt.text, ev.editExt.start);
            SDL_free(ev.editExt.text);
            return true;
#endif
        case SDL_TEXTINPUT: {
            const std::u16string text = base::utf8ToUtf16(ev.text.text);
            if (dropped_ && *dropped_ == text) {
                dropped_.reset();
                return true;
            }
            dropped_.reset();
            if (composing_) {
                add(kWmImeComposition, 0, kGcsResultStr, ev.text.text);
                add(kWmImeEndComposition, 0, 0);
                composing_ = false;
                return true;
            }
            // Text typed with the left Alt key held is a shortcut, not text.
            const int64_t alt = (SDL_GetModState() & KMOD_LALT) ? kCharAltBit : 0;
            for (char16_t u : text) {
                // Stopped, the window typed the plain keys from their key-downs already.
                if (u < 32 || (!passAvailable_ && u <= 126)) continue;
                add(kWmChar, u, alt);
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace vs::platform
