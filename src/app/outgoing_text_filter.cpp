#include "app/outgoing_text_filter.h"

namespace vs::app {

bool OutgoingTextFilter::accepted(char16_t c) {
    if (c == 10 || c == 13 || (c >= 32 && c <= 127)) return true;
    switch (c) {
        case 224: case 226: case 231: case 232: case 233: case 235:
        case 238: case 239: case 244: case 249: case 250: case 251:
            return true;
        default:
            return false;
    }
}

void OutgoingTextFilter::filter(char16_t* text, size_t count) {
    for (size_t i = 0; i < count && text[i] != 0; ++i) {
        if (!accepted(text[i])) text[i] = u'?';
    }
}

}  // namespace vs::app
