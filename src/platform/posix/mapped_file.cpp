#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vs::platform {

namespace {

class PosixMappedFile final : public MappedFile {
  public:
    PosixMappedFile(void* base, size_t size) : base_(base), size_(size) {}
    ~PosixMappedFile() override {
        if (base_) ::munmap(base_, size_);
    }
    PosixMappedFile(const PosixMappedFile&) = delete;
    PosixMappedFile& operator=(const PosixMappedFile&) = delete;
    const uint8_t* data() const override { return static_cast<const uint8_t*>(base_); }
    size_t size() const override { return size_; }

  private:
    void* base_;
    size_t size_;
};

class PosixFileMapper final : public FileMapper {
  public:
    bool exists(const std::filesystem::path& file) override {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        ::close(fd);
        return true;
    }

    MapResult map(const std::filesystem::path& file) override {
        MapResult r;
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            r.error = errno;
            return r;
        }
        struct stat st {};
        const bool statted = ::fstat(fd, &st) == 0;
        if (!statted || !S_ISREG(st.st_mode)) {
            // A directory or a device under an archive's name cannot be read as one.
            r.error = statted ? EISDIR : errno;
            ::close(fd);
            return r;
        }
        const auto size = size_t(st.st_size);
        void* base = nullptr;
        if (size > 0) {
            base = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (base == MAP_FAILED) {
                r.status = MapResult::Status::MapFailed;
                r.error = errno;
                ::close(fd);
                return r;
            }
            ::posix_madvise(base, size, POSIX_MADV_RANDOM);
        }
        ::close(fd);  // the mapping keeps the file
        r.status = MapResult::Status::Mapped;
        r.file = std::make_unique<PosixMappedFile>(base, size);
        return r;
    }
};

}  // namespace

FileMapper& systemFileMapper() {
    static PosixFileMapper mapper;
    return mapper;
}

}  // namespace vs::platform
