#pragma once
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vs::test {

// A fresh, empty directory under the system's temporary directory, removed with the object.
// Its name holds the process id, so test binaries running side by side never share one.
class TempDir {
  public:
    explicit TempDir(std::string_view tag) {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("vs_" + std::string(tag) + "_" + std::to_string(::getpid()) + "_" +
                 std::to_string(serial++));
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& p) const { return path_ / p; }

  private:
    std::filesystem::path path_;
};

}  // namespace vs::test
