#include "resources/disk_file.h"

#include <system_error>

#include "app/error.h"

namespace vs::resources {

DiskFile::~DiskFile() {
    Close();
}

void DiskFile::Open(std::string_view name) {
    Close();
    const std::filesystem::path path{std::string(name)};
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) throw app::FileError(name);
    // A directory has no size of its own: it opens, and reads nothing.
    const auto size =
        std::filesystem::is_regular_file(status) ? std::filesystem::file_size(path, ec) : 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw app::FileError(name);
    size_ = ec ? 0 : int64_t(size);
}

int DiskFile::Close() {
    if (!file_) return 0;
    const int r = std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
    return r == 0 ? 1 : 0;
}

int DiskFile::GetPos() const {
    return file_ ? int(std::ftell(file_)) : -1;
}

bool DiskFile::Seek(int offset, int origin) {
    if (!file_) return false;
    static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return false;
    return std::fseek(file_, offset, kWhence[origin]) == 0;
}

int DiskFile::GetSize() const {
    return file_ ? int(size_) : -1;
}

int DiskFile::Read(void* buffer, int count) {
    if (!file_) return 0;
    const size_t n = count < 0 ? size_t(size_) : size_t(count);
    return int(std::fread(buffer, 1, n, file_));
}

void DiskFile::skipLineFeed() {
    const int c = std::fgetc(file_);
    if (c != '\n' && c != EOF) std::ungetc(c, file_);
}

int DiskFile::nextByte() {
    const int c = std::fgetc(file_);
    return c == EOF || c == 0xFF ? -1 : c;
}

bool DiskFile::ReadLine(std::string& line) {
    line.clear();
    if (!file_) return false;
    int c = nextByte();
    if (c < 0) return false;
    for (; c >= 0; c = nextByte()) {
        if (c == '\r') {
            skipLineFeed();
            break;
        }
        if (c == '\n') break;
        line.push_back(char(c));
    }
    return true;
}

int DiskFile::ReadLine(char* buffer, int capacity) {
    if (!file_ || capacity <= 0) return -1;
    int c = nextByte();
    if (c < 0) return -1;
    int n = 0;
    for (; c >= 0; c = nextByte()) {
        if (c == '\r') {
            skipLineFeed();
            break;
        }
        if (c == '\n') break;
        buffer[n++] = char(c);
        if (n == capacity) return -1;
    }
    return n;
}

int DiskFile::ReadAll(std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!file_) return 0;
    const int64_t rest = size_ - std::ftell(file_);
    bytes.resize(rest > 0 ? size_t(rest) : 0);
    const int n = bytes.empty() ? 0 : Read(bytes.data(), int(bytes.size()));
    bytes.resize(size_t(n));
    return n;
}

bool FileExists(const std::filesystem::path& name) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::status(name, ec)) && !ec;
}

}  // namespace vs::resources
