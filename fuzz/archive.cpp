// An archive file of any bytes: mounted as the program mounts one, then every entry is read
// through every DATFile operation. Nothing may read outside the mapping.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    platform::MemoryFileMapper files;
    files.add("FUZZ.DAT", std::vector<uint8_t>(data, data + size));
    resources::ArchiveManager manager(files);
    try {
        manager.Mount("FUZZ.DAT");
    } catch (const resources::ArchiveError&) {
        return 0;
    }
    const resources::MappedArchive& archive = *manager.archives().at(0);
    std::vector<char> buffer;
    uint64_t sum = 0;
    for (uint32_t i = 0; i < archive.entryCount(); ++i) {
        const std::string_view raw = archive.entry(i).name;
        if (raw.empty()) continue;
        resources::DATFile f;
        f.Open(std::u16string_view(base::CodePage::current().decode(raw)));
        buffer.assign(size_t(f.GetSize()) + 8, 0);
        sum += uint32_t(f.Read(buffer.data(), -1));
        f.Seek(0, 0);
        std::string line;
        while (f.ReadLine(line)) sum += line.size();
        f.Seek(0, 0);
        while (f.ReadLine(buffer.data(), 5) > 0) ++sum;
        for (int origin = 0; origin < 3; ++origin) {
            if (f.Seek(1, origin)) sum += f.View().size();
            int32_t v;
            if (f.ReadScrambledInt(v)) sum += uint32_t(v);
        }
        if (const uint8_t* p = f.GetPointer(); p && f.GetPos() < f.GetSize()) sum += *p;
    }
    return sum == 1 ? 1 : 0;  // keeps the reads from being optimised away
}
