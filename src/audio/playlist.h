#pragma once
#include <string>
#include <vector>

#include "resources/data_file.h"

namespace vs::audio {

// A music playlist file: the number of entries on the first line, then one track number per
// line (decimal). Reads at most that many lines and at most kMaxPlaylistEntries, keeping the
// lines that hold a track number; a bad count reads nothing.
inline constexpr int kMaxPlaylistEntries = 10000;
std::vector<int> readPlaylist(resources::DataFile& file);

// The archive names of music track n and of playlists n.
std::string trackFileName(int n);           // "%08d.MP3"
std::string playlistFileName(int n);        // "%08d.LST"
std::string randomPlaylistFileName(int n);  // "%08d.LSR"

}  // namespace vs::audio
