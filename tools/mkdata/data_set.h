#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "mkdata/archive_writer.h"

namespace vs::mkdata {

// A game data directory being built: archives by file name, and loose files by relative path.
class DataSet {
  public:
    // The archive of that file name ("MISC.DAT"), created empty on first use.
    ArchiveWriter& archive(const std::string& fileName) { return archives_[fileName]; }
    // A loose file, by a path relative to the data directory ("Maps/VL000001.cmp").
    void addFile(const std::string& relativePath, std::vector<uint8_t> bytes);

    const std::map<std::string, ArchiveWriter>& archives() const { return archives_; }
    const std::map<std::string, std::vector<uint8_t>>& files() const { return files_; }

    // Throws std::runtime_error when two archives hold the same entry name: the reader would
    // silently take only the first, so the data set says so instead.
    void checkUnique() const;
    // Writes every archive and file into the directory (created when missing) and returns the
    // paths written, relative to it. Throws std::runtime_error on a write failure.
    std::vector<std::string> write(const std::filesystem::path& directory) const;

  private:
    std::map<std::string, ArchiveWriter> archives_;
    std::map<std::string, std::vector<uint8_t>> files_;
};

// Writes a whole file or throws std::runtime_error.
void writeFile(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

}  // namespace vs::mkdata
