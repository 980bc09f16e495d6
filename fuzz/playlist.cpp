// A playlist of any bytes, read from an archive entry as the sound manager reads one.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/playlist.h"
#include "mkdata/archive_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    platform::MemoryFileMapper files;
    files.add("P.DAT", mkdata::ArchiveWriter().add("00000001.LST", {data, size}).build());
    resources::ArchiveManager archives(files);
    archives.Mount("P.DAT");
    resources::DATFile file("00000001.LST");
    const std::vector<int> tracks = audio::readPlaylist(file);
    if (tracks.size() > size_t(audio::kMaxPlaylistEntries)) __builtin_trap();
    for (int t : tracks)
        if (t < 0 || t > 99999999) __builtin_trap();
    return 0;
}
