#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vs::audio {

// The player's own MP3 files in the folders of a list separated by ';', as folder + "/" + name.
// Each folder is read in name order (the system's order is unspecified), ".mp3" is compared
// without case, and with recursion the subfolders are read in their place in that order, except
// those whose names begin with '.'. A folder reached twice (a link back up) is read once.
std::vector<std::string> findMp3Files(std::u16string_view directories, bool recurse);

inline constexpr size_t kMaxUserFiles = 100000;

}  // namespace vs::audio
