#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/mapped_file.h"
#include "resources/mapped_archive.h"

namespace vs::resources {

// The archives and the one directory of their entry names. Created at start-up, which mounts the
// archives in their fixed order; reached through instance(). After start-up the directory is
// only read, from any thread, without a lock.
//
// To read a resource, open it by its bare name with a DATFile (resources/dat_file.h); ask
// Exists() first when the resource is optional. Names are compared without regard to case
// (ASCII and Latin-1 letters).
class ArchiveManager {
  public:
    // The mapper opens the archive files: the real file system unless a test hands in another.
    explicit ArchiveManager(platform::FileMapper& mapper = platform::systemFileMapper());
    ~ArchiveManager();
    ArchiveManager(const ArchiveManager&) = delete;
    ArchiveManager& operator=(const ArchiveManager&) = delete;
    static ArchiveManager* instance() { return instance_; }

    // Mounts one archive file, looked for as given and then in the parent directory ("../").
    // False when neither exists. A file that exists but cannot be opened counts as mounted and
    // contributes no names. Names already in the directory keep their first registration.
    // Throws ArchiveError when the header does not fit the file (nothing is registered then),
    // and app::Win32Error when the system refuses the mapping.
    bool Mount(std::string_view name);

    // Looks the name up (UTF-16, or UTF-8 for names written in the program). The outputs may be
    // left out.
    bool Find(std::u16string_view name, const MappedArchive** archive = nullptr,
              uint32_t* index = nullptr) const;
    bool Find(std::string_view name, const MappedArchive** archive = nullptr,
              uint32_t* index = nullptr) const;
    bool Exists(std::u16string_view name) const { return Find(name); }
    bool Exists(std::string_view name) const { return Find(name); }

    // The mounted archives in mount order, unopened ones included.
    const std::vector<std::unique_ptr<MappedArchive>>& archives() const { return archives_; }
    // The number of names in the directory.
    size_t names() const { return directory_.size(); }

    // The directory's key for a name: ASCII and Latin-1 letters in upper case.
    static std::u16string upperCase(std::u16string_view name);

  private:
    struct Location {
        const MappedArchive* archive;
        uint32_t index;
    };
    void enter(const MappedArchive& archive);

    platform::FileMapper& mapper_;
    std::vector<std::unique_ptr<MappedArchive>> archives_;
    std::unordered_map<std::u16string, Location> directory_;

    static inline ArchiveManager* instance_ = nullptr;
};

}  // namespace vs::resources
