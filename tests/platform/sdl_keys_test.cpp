#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace vs::platform::sdl {
namespace {

// Scancodes are USB usage numbers; key codes are the layout's characters.
TEST(SdlKeys, ScancodesToVirtualKeys) {
    struct Case {
        const char* name;
        int scancode, keycode;
        bool numLock;
        uint8_t vk;
    } cases[] = {
        {"a", 4, 'a', false, kVkA},
        {"z on a layout that puts it elsewhere", 28, 'z', false, 'Z'},
        {"letter scancode without a letter keycode", 4, 0, false, kVkA},
        {"1", 30, '1', false, '1'},
        {"0", 39, '0', false, '0'},
        {"Enter", 40, 13, false, kVkReturn},
        {"Escape", 41, 27, false, kVkEscape},
        {"Backspace", 42, 8, false, kVkBack},
        {"Tab", 43, 9, false, kVkTab},
        {"Space", 44, ' ', false, kVkSpace},
        {"minus", 45, '-', false, kVkOemMinus},
        {"semicolon", 51, ';', false, kVkOem1},
        {"apostrophe", 52, '\'', false, kVkOem7},
        {"slash", 56, '/', false, kVkOem2},
        {"F1", 58, 0, false, kVkF1},
        {"F12", 69, 0, false, kVkF12},
        {"Scroll Lock", 71, 0, false, kVkScroll},
        {"Page Up", 75, 0, false, kVkPrior},
        {"Delete", 76, 0, false, kVkDelete},
        {"Right", 79, 0, false, kVkRight},
        {"Up", 82, 0, false, kVkUp},
        {"keypad 8 with Num Lock", 96, 0, true, kVkNumpad0 + 8},
        {"keypad 8 without", 96, 0, false, kVkUp},
        {"keypad 5 without", 93, 0, false, kVkClear},
        {"keypad 0 with", 98, 0, true, kVkNumpad0},
        {"keypad 0 without", 98, 0, false, kVkInsert},
        {"keypad . with", 99, 0, true, kVkDecimal},
        {"keypad . without", 99, 0, false, kVkDelete},
        {"keypad *", 85, 0, false, kVkMultiply},
        {"keypad Enter", 88, 0, false, kVkReturn},
        {"left Ctrl", 224, 0, false, kVkControl},
        {"right Shift", 229, 0, false, kVkShift},
        {"right Alt", 230, 0, false, kVkMenu},
        {"an unknown key", 120, 0, false, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(virtualKeyFor(c.scancode, c.keycode, c.numLock), c.vk) << c.name;
}

TEST(SdlKeys, ControlCharactersOfTheDesktopTranslation) {
    struct Case {
        uint8_t vk;
        bool ctrl, alt;
        char16_t c;
    } cases[] = {
        {kVkBack, false, false, 8},  {kVkTab, false, false, 9},   {kVkReturn, false, false, 13},
        {kVkEscape, false, false, 27}, {kVkA, true, false, 1},    {'Z', true, false, 26},
        {kVkA, false, false, 0},     {kVkA, true, true, 0},      {kVkReturn, false, true, 0},
        {kVkF1, true, false, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(controlCharacterFor(c.vk, c.ctrl, c.alt), c.c) << int(c.vk);
}

}  // namespace
}  // namespace vs::platform::sdl
