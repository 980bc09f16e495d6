#pragma once
#include <array>
#include <string_view>

namespace vs::mkdata {

// The archives the program mounts at start-up, in mount order. The demo data has
// all of them, so that it always starts; later content fills them. The sound archive is the one
// optional archive the demo also has.
inline constexpr std::array<std::string_view, 8> kDemoArchives = {
    "MISC.DAT", "CHAR.DAT", "TILE.DAT", "MON.DAT", "EFX.DAT", "SND.DAT", "VESTREL.DAT", "NINT.DAT",
};

// Where the demo keeps its texts (string table, help, server list).
inline constexpr const char* kTextArchive = "MISC.DAT";

}  // namespace vs::mkdata
