#include "platform/us_layout.h"

#include "platform/virtual_keys.h"

namespace vs::platform {

char usLayoutCharacter(uint8_t vk, bool shift) {
    if (vk >= kVkA && vk <= kVkA + 25) return char((shift ? 'A' : 'a') + (vk - kVkA));
    if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : char(vk);
    if (vk >= kVkNumpad0 && vk <= kVkNumpad0 + 9) return char('0' + (vk - kVkNumpad0));
    switch (vk) {
        case kVkBack:
            return 8;
        case kVkTab:
            return 9;
        case kVkReturn:
            return 13;
        case kVkEscape:
            return 27;
        case kVkSpace:
            return ' ';
        case kVkMultiply:
            return '*';
        case kVkAdd:
            return '+';
        case kVkSubtract:
            return '-';
        case kVkDecimal:
            return '.';
        case kVkDivide:
            return '/';
        case kVkOem1:
            return shift ? ':' : ';';
        case kVkOemPlus:
            return shift ? '+' : '=';
        case kVkOemComma:
            return shift ? '<' : ',';
        case kVkOemMinus:
            return shift ? '_' : '-';
        case kVkOemPeriod:
            return shift ? '>' : '.';
        case kVkOem2:
            return shift ? '?' : '/';
        case kVkOem3:
            return shift ? '~' : '`';
        case kVkOem4:
            return shift ? '{' : '[';
        case kVkOem5:
            return shift ? '|' : '\\';
        case kVkOem6:
            return shift ? '}' : ']';
        case kVkOem7:
            return shift ? '"' : '\'';
        default:
            return 0;
    }
}

}  // namespace vs::platform
