#pragma once
#include <array>
#include <string>
#include <vector>

namespace vs::resources {

// The help of the main screen: its title is string 97; its lines are those of
// "HELP.RES" when the archives hold it, else these 60 string ids (-1: an empty line).
inline constexpr int kHelpTitle = 97;
inline constexpr std::array<int, 60> kHelpFallback = {
    166, 172, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, -1,
    167, 172, 101, 103, 104, 106, 110, 114, 128, 117, -1,  168, 172, 121, 116,
    102, 111, 126, -1,  169, 172, 107, 108, 115, 129, 112, 127, -1,  170, 172,
    109, 122, 132, 113, 123, 124, 131, 130, -1,  171, 172, 100, 120, 118, 133,
};

// The title, from StringTable::instance().
std::u16string HelpTitle();
// Built each time the help is shown: "HELP.RES" line by line (terminators CR, LF or CR LF,
// converted with the current code page), or the fallback through StringTable::instance().
std::vector<std::u16string> HelpLines();

}  // namespace vs::resources
