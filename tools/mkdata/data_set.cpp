#include "mkdata/data_set.h"

#include <fstream>
#include <stdexcept>

namespace vs::mkdata {

namespace fs = std::filesystem;

void DataSet::addFile(const std::string& relativePath, std::vector<uint8_t> bytes) {
    const fs::path p(relativePath);
    if (p.empty() || p.is_absolute() || relativePath.find("..") != std::string::npos)
        throw std::invalid_argument("not a path inside the data directory: " + relativePath);
    files_[relativePath] = std::move(bytes);
}

void DataSet::checkUnique() const {
    std::map<std::string, std::string> seen;  // upper-cased entry name -> archive
    for (const auto& [archiveName, writer] : archives_) {
        for (const std::string& name : writer.names()) {
            std::string key = name;
            for (char& c : key)
                if (c >= 'a' && c <= 'z') c = char(c - 32);
            auto [it, fresh] = seen.emplace(key, archiveName);
            if (!fresh)
                throw std::runtime_error("entry " + name + " is in both " + it->second + " and " +
                                         archiveName);
        }
    }
}

void writeFile(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> DataSet::write(const fs::path& directory) const {
    checkUnique();
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (!fs::is_directory(directory))
        throw std::runtime_error("cannot create the directory " + directory.string());
    std::vector<std::string> written;
    for (const auto& [name, writer] : archives_) {
        writeFile(directory / name, writer.build());
        written.push_back(name);
    }
    for (const auto& [path, bytes] : files_) {
        writeFile(directory / path, bytes);
        written.push_back(path);
    }
    return written;
}

}  // namespace vs::mkdata
