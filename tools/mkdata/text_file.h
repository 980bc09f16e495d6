#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vs::mkdata {

// Text in the game's default code page (Windows-1252), from UTF-8 source text.
std::string ansi(std::string_view utf8);

// Lines in the game's default code page, each ended by CR LF; with finalBreak false the last
// line has none.
std::vector<uint8_t> textFile(const std::vector<std::string>& utf8Lines, bool finalBreak = true);

}  // namespace vs::mkdata
