#include "audio/user_music.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "base/text.h"

namespace vs::audio {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxDepth = 32;

bool isMp3(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return ext == ".mp3";
}

class Scanner {
  public:
    explicit Scanner(bool recurse) : recurse_(recurse) {}

    void scan(const std::string& dir, int depth) {
        std::error_code ec;
        const fs::path canonical = fs::canonical(fs::path(dir), ec);
        if (ec || !visited_.insert(canonical.string()).second) return;
        std::vector<std::pair<std::string, bool>> entries;  // name, is a folder
        for (fs::directory_iterator
                 it(fs::path(dir), fs::directory_options::skip_permission_denied, ec),
             end;
             !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            entries.emplace_back(it->path().filename().string(), it->is_directory(typeError));
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& [name, folder] : entries) {
            if (files.size() >= kMaxUserFiles) return;
            const std::string path = dir + "/" + name;
            if (!folder) {
                if (isMp3(name)) files.push_back(path);
            } else if (recurse_ && depth < kMaxDepth && name.front() != '.') {
                scan(path, depth + 1);
            }
        }
    }

    std::vector<std::string> files;

  private:
    bool recurse_;
    std::set<std::string> visited_;
};

}  // namespace

std::vector<std::string> findMp3Files(std::u16string_view directories, bool recurse) {
    Scanner scanner(recurse);
    size_t start = 0;
    while (start <= directories.size()) {
        size_t end = directories.find(u';', start);
        if (end == std::u16string_view::npos) end = directories.size();
        if (end > start) scanner.scan(base::utf16ToUtf8(directories.substr(start, end - start)), 0);
        start = end + 1;
    }
    return std::move(scanner.files);
}

}  // namespace vs::audio
