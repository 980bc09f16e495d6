#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vs::mkdata {

// Writes one archive file exactly as the reader expects it (resources/archive_format.h): the
// entry table with its closing entry, then the entries' data in the order they were added.
// Duplicate names and empty names are allowed (test fixtures need them; the reader keeps the
// first and skips the empty).
class ArchiveWriter {
  public:
    // Throws std::invalid_argument for a name of more than 12 characters or with a NUL.
    ArchiveWriter& add(std::string_view name, std::span<const uint8_t> data);
    ArchiveWriter& add(std::string_view name, std::string_view data);

    size_t entries() const { return entries_.size(); }
    // True when an entry has that name, compared without regard to ASCII case.
    bool contains(std::string_view name) const;
    std::vector<std::string> names() const;

    std::vector<uint8_t> build() const;

  private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> data;
    };
    std::vector<Entry> entries_;
};

}  // namespace vs::mkdata
