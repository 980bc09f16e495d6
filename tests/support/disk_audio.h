#pragma once
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace vs::test {

// SDL's "disk" sound driver for the life of the object: whatever the mixer plays is written to
// the file as 16-bit samples, so a test can tell whether something was really heard.
class DiskAudioOutput {
  public:
    explicit DiskAudioOutput(std::filesystem::path file) : file_(std::move(file)) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    }
    ~DiskAudioOutput() {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    DiskAudioOutput(const DiskAudioOutput&) = delete;
    DiskAudioOutput& operator=(const DiskAudioOutput&) = delete;

    // The loudest sample written so far (the file is complete once the device has closed).
    int peak() const {
        std::ifstream in(file_, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        int max = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            int16_t v;
            std::memcpy(&v, bytes.data() + i, 2);
            max = std::max(max, std::abs(int(v)));
        }
        return max;
    }

  private:
    std::filesystem::path file_;
};

}  // namespace vs::test
