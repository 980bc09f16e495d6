// Palette files from untrusted bytes: one PAL palette, a palette set, a palette loaded by name,
// a packed logo palette.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/error.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "resources/palette_manager.h"

namespace {

// A valid base palette, empty sets, and the input as the floor set and as "FUZZ.PAL".
class Files final : public vs::resources::PaletteFiles {
public:
    explicit Files(std::vector<uint8_t> input) : input_(std::move(input)) {}
    bool Exists(std::string_view) override { return false; }
    std::vector<uint8_t> Read(std::string_view name) override {
        if (name == "TILE.PAL" || name == "FUZZ.PAL") return input_;
        if (name == "marvu.pal") return base();
        return {0, 0, 0, 0};
    }

private:
    static const std::vector<uint8_t>& base() {
        static const std::vector<uint8_t> bytes = [] {
            vs::base::ByteWriter w;
            w.bytes(std::string_view("DLPalette"))
                .fill(0, 7)
                .u32le(32)
                .u32le(256)
                .u32le(0)
                .u32le(0);
            w.fill(0x40, 1024);
            return w.take();
        }();
        return bytes;
    }
    std::vector<uint8_t> input_;
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
    try {
        Files files(bytes);
        resources::PaletteManager pm(files);
        pm.GetPaletteByName("FUZZ.PAL");
        pm.AnimateStep();
        pm.SetBrightness(0.25f);
        pm.GetPalette(0, int(size), 0);
    } catch (const app::FileError&) {
    }
    return 0;
}
