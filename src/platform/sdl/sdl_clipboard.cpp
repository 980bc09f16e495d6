#include "platform/sdl/sdl_clipboard.h"

#include <SDL.h>

#include <cstring>

#include "base/log.h"
#include "base/text.h"

namespace vs::platform {

std::string clipboardToUtf8(std::string_view bytes) {
    const std::u16string wide = base::CodePage::current().decode(bytes);
    std::u16string lf;
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == u'\r' && i + 1 < wide.size() && wide[i + 1] == u'\n') continue;
        lf.push_back(wide[i]);
    }
    return base::utf16ToUtf8(lf);
}

std::string clipboardFromUtf8(std::string_view utf8) {
    const std::u16string wide = base::utf8ToUtf16(utf8);
    std::u16string crlf;
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == u'\n' && (i == 0 || wide[i - 1] != u'\r')) crlf.push_back(u'\r');
        crlf.push_back(wide[i]);
    }
    return base::CodePage::current().encode(crlf);
}

bool SdlClipboard::setText(std::string_view bytes) {
    if (SDL_SetClipboardText(clipboardToUtf8(bytes).c_str()) == 0) return true;
    VS_WARN("SDL_SetClipboardText: %s", SDL_GetError());
    return false;
}

bool SdlClipboard::hasText() {
    return SDL_HasClipboardText() == SDL_TRUE;
}

std::optional<std::string> SdlClipboard::text() {
    char* utf8 = SDL_GetClipboardText();
    if (!utf8) return std::nullopt;
    const size_t n = std::strlen(utf8);
    std::optional<std::string> out;
    if (n > 0 && n <= kMaxRead) out = clipboardFromUtf8(std::string_view(utf8, n));
    if (n > kMaxRead) VS_WARN("the clipboard holds %zu bytes; more than a text entry takes", n);
    SDL_free(utf8);
    return out;
}

}  // namespace vs::platform
