#pragma once
// Palette files built in memory, for the tests of everything that loads palettes.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "app/error.h"
#include "base/byte_io.h"
#include "resources/palette_manager.h"

namespace vs::test {

using Rgb = std::array<uint8_t, 3>;

// A PAL file whose colour i is colour(i).
inline std::vector<uint8_t> palFile(const std::function<Rgb(int)>& colour,
                                    std::span<const resources::DLPalette::Range> ranges = {}) {
    base::ByteWriter w;
    w.bytes(std::string_view("DLPalette")).fill(0, 7);
    w.u32le(32).u32le(256).u32le(uint32_t(ranges.size())).u32le(0);
    for (const auto& r : ranges) w.u8(r.first).u8(r.last);
    for (int i = 0; i < 256; ++i) {
        const Rgb c = colour(i);
        w.u8(c[0]).u8(c[1]).u8(c[2]).u8(0);
    }
    return w.take();
}

// Every colour (v, v, v).
inline std::vector<uint8_t> greyPalFile(uint8_t v) {
    return palFile([v](int) { return Rgb{v, v, v}; });
}

// A palette set file: the count, then the palettes back to back.
inline std::vector<uint8_t> palSetFile(uint32_t count,
                                       const std::vector<std::vector<uint8_t>>& palettes) {
    base::ByteWriter w;
    w.u32le(count);
    for (const auto& p : palettes) w.bytes(p);
    return w.take();
}

class MemoryPaletteFiles final : public resources::PaletteFiles {
public:
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> reads;

    bool Exists(std::string_view name) override { return files.count(std::string(name)) != 0; }
    std::vector<uint8_t> Read(std::string_view name) override {
        reads.emplace_back(name);
        auto it = files.find(std::string(name));
        if (it == files.end()) throw app::FileError(name);
        return it->second;
    }

    // The base palette and every set with one palette, all of grey `v`.
    void addEverything(uint8_t v = 0x80) {
        files["marvu.pal"] = greyPalFile(v);
        for (int type = 0; type < resources::PaletteManager::kTypes; ++type) {
            if (const char* name = resources::PaletteManager::setFileName(type))
                files[name] = palSetFile(1, {greyPalFile(v)});
        }
    }
};

}  // namespace vs::test
