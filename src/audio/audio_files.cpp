#include "audio/audio_files.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <span>

#include "app/error.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/disk_file.h"

namespace vs::audio {

namespace {

// The target of an fseek-style seek from pos in a file of size bytes; -1 when it is not allowed.
int64_t seekTarget(int64_t pos, int64_t size, int64_t offset, int whence) {
    int64_t from = 0;
    switch (whence) {
        case 0:
            break;
        case 1:
            from = pos;
            break;
        case 2:
            from = size;
            break;
        default:
            return -1;
    }
    if (offset < 0 ? offset < -from : offset > INT64_MAX - from) return -1;
    return from + offset;
}

// An archive entry, read in place from the archive's mapping (read-only, shared by all threads).
class ArchiveAudioFile final : public platform::AudioFile {
  public:
    explicit ArchiveAudioFile(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    int64_t size() const override { return int64_t(bytes_.size()); }
    size_t read(void* buffer, size_t n) override {
        if (pos_ >= size()) return 0;
        n = std::min(n, size_t(size() - pos_));
        if (n) std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += int64_t(n);
        return n;
    }
    int64_t seek(int64_t offset, int whence) override {
        const int64_t target = seekTarget(pos_, size(), offset, whence);
        if (target < 0) return -1;
        return pos_ = target;
    }

  private:
    std::span<const uint8_t> bytes_;
    int64_t pos_ = 0;
};

// A loose file, through its own stream.
class DiskAudioFile final : public platform::AudioFile {
  public:
    explicit DiskAudioFile(std::string_view name) { file_.Open(name); }
    int64_t size() const override { return file_.GetSize(); }
    size_t read(void* buffer, size_t n) override {
        const int64_t pos = file_.GetPos();
        if (pos < 0 || pos >= size()) return 0;
        n = std::min({n, size_t(size() - pos), size_t(INT_MAX)});
        return size_t(std::max(0, file_.Read(buffer, int(n))));
    }
    int64_t seek(int64_t offset, int whence) override {
        const int64_t target = seekTarget(file_.GetPos(), size(), offset, whence);
        if (target < 0 || target > INT_MAX || !file_.Seek(int(target), 0)) return -1;
        return file_.GetPos();
    }

  private:
    resources::DiskFile file_;
};

}  // namespace

std::unique_ptr<platform::AudioFile> openAudioFile(std::string_view name) {
    auto* archives = resources::ArchiveManager::instance();
    if (archives && archives->Exists(name)) {
        const resources::DATFile entry(name);
        return std::make_unique<ArchiveAudioFile>(entry.View());
    }
    if (name.empty() || !resources::FileExists(std::string(name))) return nullptr;
    try {
        return std::make_unique<DiskAudioFile>(name);
    } catch (const app::Error&) {
        return nullptr;
    }
}

}  // namespace vs::audio
