#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "resources/data_file.h"
#include "resources/mapped_archive.h"

namespace vs::resources {

// An entry of a mounted archive, opened by its bare name through ArchiveManager::instance().
// Reads come straight from the archive's read-only view and never go past the entry's end. A
// DATFile is cheap and usually local: open, read, close; closing it never touches the archive,
// and pointers into the entry stay valid until the manager goes.
//
//     DATFile f;
//     f.Open("TILE.PAL");                     // app::FileError when no archive holds it
//     base::ByteReader r(f.View());           // parse in place, bounds-checked
//
// Positions are counted from the start of the entry.
class DATFile final : public DataFile {
  public:
    DATFile() = default;
    explicit DATFile(std::string_view name) { Open(name); }

    void Open(std::string_view name) override;
    void Open(std::u16string_view name);
    // 1 when it was open, else 0.
    int Close() override;
    int GetPos() const override;
    // origin 0: 0 <= offset < size. 1: the target stays inside the entry. 2: 0 <= offset < size,
    // counted backwards from the end (Seek(0, 2) reaches the end).
    bool Seek(int offset, int origin) override;
    int GetSize() const override;
    // No partial reads: a request that crosses the entry's end copies nothing and returns 0.
    int Read(void* buffer, int count) override;
    // A line ends at CR, LF or CR LF; the last line needs no terminator.
    bool ReadLine(std::string& line) override;
    // As above, but the terminator is copied too; -1 at the end, when not open, or when the line
    // does not fit (the position then stays).
    int ReadLine(char* buffer, int capacity) override;

    // The byte at the current position inside the mapped archive; null when not open.
    const uint8_t* GetPointer() const;
    // Reads one 8-byte scrambled integer (resources/scrambled_int.h); false when its check value
    // does not match the position (out unchanged) or fewer than 8 bytes remain.
    bool ReadScrambledInt(int32_t& out);
    bool ReadScrambledInt(uint32_t& out);

    bool IsOpen() const { return archive_ != nullptr; }
    // The rest of the entry from the current position, without copying; empty when not open.
    std::span<const uint8_t> View() const;
    const MappedArchive* Archive() const { return archive_; }

  private:
    // The length of the line at the position and the length with its terminator.
    void scanLine(uint32_t& text, uint32_t& whole) const;
    uint32_t entryEnd() const { return offset_ + size_; }

    const MappedArchive* archive_ = nullptr;
    uint32_t offset_ = 0;  // the entry's offset in the archive file
    uint32_t size_ = 0;
    uint32_t position_ = 0;  // absolute, inside the archive file
};

}  // namespace vs::resources
