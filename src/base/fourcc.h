#pragma once
#include <cstdint>
#include <string>

namespace vs::base {

// A 32-bit code written as four letters, first letter in the top byte: fourcc("term") == 0x7465726D.
constexpr uint32_t fourcc(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

inline std::string fourccText(uint32_t code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        char c = char((code >> (24 - 8 * i)) & 0xFF);
        s[size_t(i)] = (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

}  // namespace vs::base
