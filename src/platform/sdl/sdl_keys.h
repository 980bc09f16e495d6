#pragma once
#include <cstdint>

namespace vs::platform::sdl {

// The virtual key for a key event: generic Shift, Ctrl and Alt; keypad keys by Num Lock; letters
// by the layout's key code when it is a letter; 0 for keys the program has no number for.
// scancode and keycode are SDL's values (scancodes are USB usage numbers).
uint8_t virtualKeyFor(int scancode, int keycode, bool numLock);

// The scancode of a virtual key, for reading the keyboard state (0 when none).
int scancodeFor(uint8_t virtualKey);

// The control character a desktop text translation types for a key (Backspace 8, Tab 9, Enter 13,
// Escape 27, Ctrl+A..Z 1..26), or 0.
char16_t controlCharacterFor(uint8_t virtualKey, bool ctrl, bool alt);

}  // namespace vs::platform::sdl
