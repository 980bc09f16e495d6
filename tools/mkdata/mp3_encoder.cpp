#include "mkdata/mp3_encoder.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "mkdata/data_set.h"

extern char** environ;

namespace vs::mkdata {

namespace fs = std::filesystem;

namespace {

// A private directory for one encoding, removed with the object.
class ScratchDir {
  public:
    ScratchDir() {
        std::string tmpl = (fs::temp_directory_path() / "vs-mp3-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary directory");
        path_ = tmpl;
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::vector<uint8_t> runLame(const std::vector<uint8_t>& wav, int kbps) {
    const ScratchDir dir;
    const std::string in = (dir.path() / "in.wav").string(),
                      out = (dir.path() / "out.mp3").string();
    writeFile(in, wav);
    const std::string rate = std::to_string(kbps);
    std::vector<std::string> args = {"lame", "--quiet", "--cbr",          "-b", rate,
                                     "-m",   "m",       "--noreplaygain", in,   out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "lame", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("the MP3 encoder `lame` is not installed (run scripts/bootstrap)");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("lame failed to encode the demo music");
    std::ifstream file(out, std::ios::binary);
    std::vector<uint8_t> mp3{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
    if (mp3.empty()) throw std::runtime_error("lame wrote no MP3 data");
    return mp3;
}

}  // namespace

std::vector<uint8_t> encodeMp3(const std::vector<uint8_t>& wav, int kbps) {
    static std::mutex mutex;
    static std::map<std::pair<std::vector<uint8_t>, int>, std::vector<uint8_t>> done;
    std::lock_guard lock(mutex);
    auto key = std::make_pair(wav, kbps);
    auto it = done.find(key);
    if (it == done.end()) it = done.emplace(std::move(key), runLame(wav, kbps)).first;
    return it->second;
}

}  // namespace vs::mkdata
