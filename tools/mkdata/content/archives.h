#pragma once
#include <array>
#include <string_view>

namespace vs::mkdata {

// The archives the program mounts at start-up, in mount order. The demo data has
// all of them, so that it always starts; later content fills them. The sound archive and one
// music archive are the optional archives the demo also has.
inline constexpr std::array<std::string_view, 9> kDemoArchives = {
    "MISC.DAT", "CHAR.DAT",   "TILE.DAT",    "MON.DAT",  "EFX.DAT",
    "SND.DAT",  "MUS000.DAT", "VESTREL.DAT", "NINT.DAT",
};

// Where the demo keeps its texts (string table, help, server list).
inline constexpr const char* kTextArchive = "MISC.DAT";

}  // namespace vs::mkdata
