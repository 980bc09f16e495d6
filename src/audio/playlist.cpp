#include "audio/playlist.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/log.h"

namespace vs::audio {

namespace {

constexpr int kMaxTrack = 99999999;  // eight digits in a file name

// A decimal number between blanks, up to max (or, saturating, max for anything larger);
// nothing for anything else.
std::optional<int> decimal(std::string_view s, int max, bool saturate = false) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (s.empty()) return std::nullopt;
    int64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = std::min<int64_t>(v * 10 + (c - '0'), int64_t(max) + 1);
    }
    if (v > max && !saturate) return std::nullopt;
    return int(std::min<int64_t>(v, max));
}

}  // namespace

std::vector<int> readPlaylist(resources::DataFile& file) {
    std::vector<int> tracks;
    std::string line;
    if (!file.ReadLine(line)) return tracks;
    // A count beyond the cap is the cap: the lines really present limit it further.
    const std::optional<int> count = decimal(line, kMaxPlaylistEntries, true);
    if (!count) return tracks;
    for (int i = 0; i < *count && file.ReadLine(line); ++i) {
        if (const auto track = decimal(line, kMaxTrack)) tracks.push_back(*track);
    }
    return tracks;
}

std::string trackFileName(int n) {
    return base::strprintf("%08d.MP3", n);
}
std::string playlistFileName(int n) {
    return base::strprintf("%08d.LST", n);
}
std::string randomPlaylistFileName(int n) {
    return base::strprintf("%08d.LSR", n);
}

}  // namespace vs::audio
