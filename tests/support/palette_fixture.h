#pragma once
// Palette files built in memory with the data builder's writer, for the tests of everything that
// loads palettes.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "app/error.h"
#include "mkdata/palette_writer.h"
#include "resources/palette_manager.h"

namespace vs::test {

using mkdata::Rgb;

// A PAL file whose colour i is colour(i).
inline std::vector<uint8_t> palFile(const std::function<Rgb(int)>& colour,
                                    std::span<const resources::DLPalette::Range> ranges = {}) {
    mkdata::Colours colours;
    for (int i = 0; i < 256; ++i) colours[size_t(i)] = colour(i);
    return mkdata::palFile(colours, ranges);
}

// Every colour (v, v, v).
inline std::vector<uint8_t> greyPalFile(uint8_t v) {
    return palFile([v](int) { return Rgb{v, v, v}; });
}

using mkdata::palSetFile;

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
