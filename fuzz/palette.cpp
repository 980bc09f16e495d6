// Palette files from untrusted bytes: one PAL palette, a palette set, a packed logo palette.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/error.h"
#include "base/log.h"
#include "resources/palette_manager.h"

namespace {

// Every palette file the manager asks for holds the same bytes.
class SameBytes final : public vs::resources::PaletteFiles {
public:
    explicit SameBytes(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool Exists(std::string_view) override { return true; }
    std::vector<uint8_t> Read(std::string_view) override { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    base::setLogLevel(base::LogLevel::Error);
    const std::vector<uint8_t> bytes(data, data + size);
    resources::DLPalette single;
    try {
        base::ByteReader in(bytes);
        single.Load(in, "FUZZ.PAL");
        single.Rotate();
    } catch (const app::FileError&) {
    }
    resources::DLPalette packed;
    packed.FromPackedRGB(data, size);
    // As a set file (after a count of its own) and as the base palette at once.
    std::vector<uint8_t> set = {2, 0, 0, 0};
    set.insert(set.end(), bytes.begin(), bytes.end());
    try {
        SameBytes files(bytes);
        resources::PaletteManager pm(files);
        pm.AnimateStep();
        pm.SetBrightness(0.25f);
    } catch (const app::FileError&) {
    }
    try {
        SameBytes files(set);
        resources::PaletteManager pm(files);
        pm.GetPalette(0, 1, 0);
    } catch (const app::FileError&) {
    }
    return 0;
}
