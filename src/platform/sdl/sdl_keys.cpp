#include "platform/sdl/sdl_keys.h"

#include <SDL.h>

#include "platform/virtual_keys.h"

namespace vs::platform::sdl {

uint8_t virtualKeyFor(int scancode, int keycode, bool numLock) {
    if (keycode >= 'a' && keycode <= 'z') return uint8_t(kVkA + (keycode - 'a'));
    const auto sc = SDL_Scancode(scancode);
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return uint8_t(kVkA + (sc - SDL_SCANCODE_A));
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return uint8_t('1' + (sc - SDL_SCANCODE_1));
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return uint8_t(kVkF1 + (sc - SDL_SCANCODE_F1));
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
        if (numLock) return uint8_t(kVkNumpad0 + 1 + (sc - SDL_SCANCODE_KP_1));
        static constexpr uint8_t kNavigation[9] = {kVkEnd,  kVkDown,  kVkNext,  kVkLeft, kVkClear,
                                                   kVkRight, kVkHome, kVkUp,    kVkPrior};
        return kNavigation[sc - SDL_SCANCODE_KP_1];
    }
    switch (sc) {
        case SDL_SCANCODE_0: return '0';
        case SDL_SCANCODE_RETURN: return kVkReturn;
        case SDL_SCANCODE_KP_ENTER: return kVkReturn;
        case SDL_SCANCODE_ESCAPE: return kVkEscape;
        case SDL_SCANCODE_BACKSPACE: return kVkBack;
        case SDL_SCANCODE_TAB: return kVkTab;
        case SDL_SCANCODE_SPACE: return kVkSpace;
        case SDL_SCANCODE_MINUS: return kVkOemMinus;
        case SDL_SCANCODE_EQUALS: return kVkOemPlus;
        case SDL_SCANCODE_LEFTBRACKET: return kVkOem4;
        case SDL_SCANCODE_RIGHTBRACKET: return kVkOem6;
        case SDL_SCANCODE_BACKSLASH: return kVkOem5;
        case SDL_SCANCODE_NONUSHASH: return kVkOem5;
        case SDL_SCANCODE_SEMICOLON: return kVkOem1;
        case SDL_SCANCODE_APOSTROPHE: return kVkOem7;
        case SDL_SCANCODE_GRAVE: return kVkOem3;
        case SDL_SCANCODE_COMMA: return kVkOemComma;
        case SDL_SCANCODE_PERIOD: return kVkOemPeriod;
        case SDL_SCANCODE_SLASH: return kVkOem2;
        case SDL_SCANCODE_NONUSBACKSLASH: return kVkOem102;
        case SDL_SCANCODE_CAPSLOCK: return kVkCapital;
        case SDL_SCANCODE_SCROLLLOCK: return kVkScroll;
        case SDL_SCANCODE_PAUSE: return kVkPause;
        case SDL_SCANCODE_PRINTSCREEN: return kVkSnapshot;
        case SDL_SCANCODE_INSERT: return kVkInsert;
        case SDL_SCANCODE_HOME: return kVkHome;
        case SDL_SCANCODE_PAGEUP: return kVkPrior;
        case SDL_SCANCODE_DELETE: return kVkDelete;
        case SDL_SCANCODE_END: return kVkEnd;
        case SDL_SCANCODE_PAGEDOWN: return kVkNext;
        case SDL_SCANCODE_RIGHT: return kVkRight;
        case SDL_SCANCODE_LEFT: return kVkLeft;
        case SDL_SCANCODE_DOWN: return kVkDown;
        case SDL_SCANCODE_UP: return kVkUp;
        case SDL_SCANCODE_NUMLOCKCLEAR: return kVkNumLock;
        case SDL_SCANCODE_KP_DIVIDE: return kVkDivide;
        case SDL_SCANCODE_KP_MULTIPLY: return kVkMultiply;
        case SDL_SCANCODE_KP_MINUS: return kVkSubtract;
        case SDL_SCANCODE_KP_PLUS: return kVkAdd;
        case SDL_SCANCODE_KP_0: return numLock ? kVkNumpad0 : kVkInsert;
        case SDL_SCANCODE_KP_PERIOD: return numLock ? kVkDecimal : kVkDelete;
        case SDL_SCANCODE_APPLICATION: return kVkApps;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL: return kVkControl;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return kVkShift;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT: return kVkMenu;
        case SDL_SCANCODE_LGUI: return kVkLWin;
        case SDL_SCANCODE_RGUI: return kVkRWin;
        default: return 0;
    }
}

int scancodeFor(uint8_t vk) {
    switch (vk) {
        case kVkLShift: return SDL_SCANCODE_LSHIFT;
        case kVkRShift: return SDL_SCANCODE_RSHIFT;
        case kVkLControl: return SDL_SCANCODE_LCTRL;
        case kVkRControl: return SDL_SCANCODE_RCTRL;
        case kVkLMenu: return SDL_SCANCODE_LALT;
        case kVkRMenu: return SDL_SCANCODE_RALT;
        default: return 0;
    }
}

char16_t controlCharacterFor(uint8_t vk, bool ctrl, bool alt) {
    if (alt) return 0;
    switch (vk) {
        case kVkBack: return 8;
        case kVkTab: return 9;
        case kVkReturn: return 13;
        case kVkEscape: return 27;
        default: break;
    }
    if (ctrl && vk >= kVkA && vk <= kVkA + 25) return char16_t(vk - kVkA + 1);
    return 0;
}

}  // namespace vs::platform::sdl
