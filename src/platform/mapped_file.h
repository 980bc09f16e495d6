#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace vs::platform {

// A whole file, read-only, at one address for as long as the object lives.
class MappedFile {
  public:
    virtual ~MappedFile() = default;
    virtual const uint8_t* data() const = 0;
    virtual size_t size() const = 0;
    std::span<const uint8_t> bytes() const { return {data(), size()}; }
};

// The memory-buffer form: owns its bytes (tests, fuzz targets, data built in memory).
class BufferMappedFile final : public MappedFile {
  public:
    explicit BufferMappedFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const uint8_t* data() const override { return bytes_.data(); }
    size_t size() const override { return bytes_.size(); }

  private:
    std::vector<uint8_t> bytes_;
};

// The outcome of mapping a file. Opening and mapping fail differently: a file that cannot be
// opened is an ordinary condition for the caller, a mapping that fails is a system error.
struct MapResult {
    enum class Status { Mapped, OpenFailed, MapFailed };
    Status status = Status::OpenFailed;
    int error = 0;  // errno of the failed step
    std::unique_ptr<MappedFile> file;
};

// Opens files for mapping. The archive manager takes one, so tests can hand it files held in
// memory (platform/headless/memory_file_mapper.h).
class FileMapper {
  public:
    virtual ~FileMapper() = default;
    // True when the file opens for reading (it is closed again at once).
    virtual bool exists(const std::filesystem::path& file) = 0;
    // Opens an existing file read-only and maps all of it, asking for random access. An empty
    // file maps as an empty view.
    virtual MapResult map(const std::filesystem::path& file) = 0;
};

// The real file system (mmap).
FileMapper& systemFileMapper();

}  // namespace vs::platform
