#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/error.h"
#include "platform/mapped_file.h"

namespace vs::resources {

// An archive whose header does not fit its file. The text names the file and the fault.
class ArchiveError : public app::MyError {
  public:
    ArchiveError(std::string_view fileName, std::string_view reason);
};

// One mounted archive file: a read-only view of the whole file and its entry table,
// checked once when it is built, so that nothing read through it lies outside the view.
// Owned by the ArchiveManager; it never changes after construction.
class MappedArchive {
  public:
    struct Entry {
        uint32_t offset;        // from the start of the archive file
        uint32_t size;          // next entry's offset minus this one
        std::string_view name;  // as stored (ANSI bytes, without the NUL), inside the view
    };

    // An archive whose file could not be opened: no entries (N = 0).
    explicit MappedArchive(std::string fileName);
    // Takes over the view and checks the header; throws ArchiveError when it does not fit.
    MappedArchive(std::string fileName, std::unique_ptr<platform::MappedFile> file);
    MappedArchive(const MappedArchive&) = delete;
    MappedArchive& operator=(const MappedArchive&) = delete;

    const std::string& fileName() const { return fileName_; }
    bool isOpen() const { return file_ != nullptr; }
    // N: the entries of the table, the closing entry included; 0 when not opened.
    uint32_t count() const { return count_; }
    // The offset stored in the closing entry.
    uint32_t endOffset() const { return endOffset_; }
    const uint8_t* base() const { return file_ ? file_->data() : nullptr; }
    size_t fileSize() const { return file_ ? file_->size() : 0; }

    // Entries 0 .. N - 2 (the closing entry is not one of them).
    size_t entryCount() const { return entries_.size(); }
    const Entry& entry(uint32_t index) const { return entries_.at(index); }
    std::span<const uint8_t> entryBytes(uint32_t index) const;

    // Why these bytes are not a sound archive, or empty when they are. The rules: the table fits
    // the file, there is at least the closing entry, every name has its NUL within 13 bytes,
    // every offset lies between the end of the table and the end of the file (and below 2^31),
    // and offsets never decrease.
    static std::string checkHeader(std::span<const uint8_t> file);

  private:
    std::string fileName_;
    std::unique_ptr<platform::MappedFile> file_;
    uint32_t count_ = 0;
    uint32_t endOffset_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace vs::resources
