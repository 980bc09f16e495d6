#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "resources/data_file.h"

namespace vs::resources {

// A loose file on disk (maps, downloads, per-user files), read through a buffered stream with
// the same operations as an archive entry. Names are paths (UTF-8), relative to the
// working directory (the data directory); callers validate names that come from outside.
class DiskFile final : public DataFile {
  public:
    DiskFile() = default;
    ~DiskFile() override;
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    // Throws app::FileError ("File not found : %s") when the file is missing or cannot be read.
    void Open(std::string_view name) override;
    // 1 when the stream closed cleanly, else 0.
    int Close() override;
    int GetPos() const override;
    // The stream's own seek: origin 0 from the start, 1 from here, 2 from the end (offset added).
    bool Seek(int offset, int origin) override;
    // The size the file had when it was opened.
    int GetSize() const override;
    // Up to count bytes (count < 0: the size); the number read.
    int Read(void* buffer, int count) override;
    // Lines end at CR, LF, CR LF, the end of the file or a byte 0xFF.
    bool ReadLine(std::string& line) override;
    // Stores at most capacity bytes, no terminator; -1 when the line fills the buffer (the rest
    // of that line stays to be read) or nothing is left.
    int ReadLine(char* buffer, int capacity) override;
    // Everything from the position to the end; the Read result.
    int ReadAll(std::vector<uint8_t>& bytes);

    bool IsOpen() const { return file_ != nullptr; }

  private:
    // The next byte, or -1 at the end of the stream or at a byte 0xFF.
    int nextByte();
    // After a CR: drops the LF of a CR LF pair, and only that.
    void skipLineFeed();

    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
};

// True when the file system knows the file (a loose file, not an archive entry).
bool FileExists(const std::filesystem::path& name);

}  // namespace vs::resources
