#pragma once
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/mapped_file.h"

namespace vs::platform {

// Files held in memory for the archive manager, by path as given ("MISC.DAT", "../MUS000.DAT").
// A file can also be made to exist but refuse to open, or to fail its mapping.
class MemoryFileMapper final : public FileMapper {
  public:
    void add(const std::filesystem::path& file, std::vector<uint8_t> bytes) {
        files_[file.string()] = Entry{std::move(bytes), Fault::None, 0};
    }
    // Exists (the existence test passes) but every open fails.
    void addUnopenable(const std::filesystem::path& file) {
        files_[file.string()] = Entry{{}, Fault::Open, EACCES};
    }
    // Opens, but the mapping fails with the error.
    void addUnmappable(const std::filesystem::path& file, int error) {
        files_[file.string()] = Entry{{}, Fault::Map, error};
    }
    // How often each path was mapped (tests check which candidates were tried).
    int mapCalls(const std::filesystem::path& file) const {
        auto it = calls_.find(file.string());
        return it == calls_.end() ? 0 : it->second;
    }

    bool exists(const std::filesystem::path& file) override {
        return files_.count(file.string()) != 0;
    }
    MapResult map(const std::filesystem::path& file) override {
        ++calls_[file.string()];
        MapResult r;
        auto it = files_.find(file.string());
        if (it == files_.end()) {
            r.error = ENOENT;
            return r;
        }
        switch (it->second.fault) {
            case Fault::Open:
                r.error = it->second.error;
                return r;
            case Fault::Map:
                r.status = MapResult::Status::MapFailed;
                r.error = it->second.error;
                return r;
            case Fault::None:
                break;
        }
        r.status = MapResult::Status::Mapped;
        r.file = std::make_unique<BufferMappedFile>(it->second.bytes);
        return r;
    }

  private:
    enum class Fault { None, Open, Map };
    struct Entry {
        std::vector<uint8_t> bytes;
        Fault fault;
        int error;
    };
    std::map<std::string, Entry> files_;
    std::map<std::string, int> calls_;
};

}  // namespace vs::platform
