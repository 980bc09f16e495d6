#pragma once
// Canvases for drawing tests, run in both pixel formats: a base palette of distinct colours, a
// locked canvas of its own surface, a per-pixel reference of the blend rule through the
// lighting tables, and pictures compared exactly (with PNG files of both on a mismatch).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/blitters.h"
#include "graphics/canvas.h"
#include "graphics/pixel_format.h"
#include "graphics/png_writer.h"
#include "resources/palette_manager.h"
#include "support/palette_fixture.h"

namespace vs::test {

using base::Rect;
using graphics::PixelFormat;

// The blend rule as the tables state it: min(T[d][w] + T[s][32 − w], max) per component.
inline uint16_t tableBlend(uint16_t d, uint16_t s, int w, bool six) {
    const auto& t = graphics::lightTables();
    const int rs = six ? 11 : 10, gm = six ? 63 : 31;
    auto one = [&](int dc, int sc, const uint8_t(*table)[256], int max) {
        const int v = table[dc][w] + table[sc][32 - w];
        return v < max ? v : max;
    };
    const int r = one((d >> rs) & 31, (s >> rs) & 31, t.t1, 31);
    const int g = one((d >> 5) & gm, (s >> 5) & gm, t.t2, gm);
    const int b = one(d & 31, s & 31, t.t1, 31);
    return uint16_t(r << rs | g << 5 | b);
}

// Writes a 16-bit picture as a PNG into the build's test output folder.
inline void savePicture(const std::vector<uint16_t>& px, int w, int h, const std::string& name) {
    std::vector<uint8_t> rgb;
    rgb.reserve(px.size() * 3);
    for (uint16_t p : px) {
        const uint32_t c = graphics::pixelFunctions().toRgb(p);
        rgb.push_back(uint8_t(c >> 16)), rgb.push_back(uint8_t(c >> 8)), rgb.push_back(uint8_t(c));
    }
    const char* dir = std::getenv("VS_TEST_BINARY_DIR");
    const std::filesystem::path out = std::filesystem::path(dir ? dir : ".") / "test-pictures";
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    graphics::writeFileBytes(out / (name + ".png"), graphics::encodePng(rgb, w, h));
}

// True when the pictures are equal; otherwise reports the first difference and saves both.
inline testing::AssertionResult samePicture(const std::vector<uint16_t>& actual,
                                            const std::vector<uint16_t>& expected, int w, int h,
                                            const std::string& name) {
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        std::string safe = name;
        for (char& c : safe) {
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        savePicture(actual, w, h, safe + "-actual");
        savePicture(expected, w, h, safe + "-expected");
        return testing::AssertionFailure()
               << name << ": pixel (" << i % size_t(w) << ", " << i / size_t(w) << ") is "
               << std::hex << actual[i] << ", expected " << expected[i]
               << " (pictures in test-pictures/" << safe << "-*.png)";
    }
    if (actual.size() != expected.size())
        return testing::AssertionFailure() << name << ": sizes differ";
    return testing::AssertionSuccess();
}

// A 16-bit colour from components in the current format.
inline uint16_t rgb(int r, int g, int b) {
    return graphics::is565() ? uint16_t(r << 11 | g << 5 | b) : uint16_t(r << 10 | g << 5 | b);
}

class CanvasTest : public testing::TestWithParam<PixelFormat> {
  protected:
    static constexpr int kW = 64, kH = 48;

    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        files.addEverything();
        // Base colour i: a different colour for every index, none of them 0 but index 0's.
        files.files["marvu.pal"] = palFile([](int i) {
            return Rgb{uint8_t(i * 7 + 8), uint8_t(255 - i), uint8_t(i * 29 + 16)};
        });
        palettes = std::make_unique<resources::PaletteManager>(files);
        canvas.SetBounds({0, 0, kW, kH});
        canvas.SetClipArea({0, 0, kW, kH});
        ASSERT_TRUE(canvas.Lock());
    }
    void TearDown() override {
        canvas.Unlock();
        palettes.reset();
        graphics::selectPixelFormat(PixelFormat::k565);
        graphics::selectBlitIsa(graphics::BlitIsa::Avx2);
    }

    bool six() const { return GetParam() == PixelFormat::k565; }
    uint16_t base(int index) const { return palettes->GetBasePalette()->GetColor(index); }
    uint16_t& px(int x, int y) {
        return canvas.Picture().pixels16()[y * canvas.Picture().rowWidth() + x];
    }
    std::vector<uint16_t> pixels() {
        const uint16_t* p = canvas.Picture().pixels16();
        return {p, p + kW * kH};
    }
    void fill(uint16_t c) {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) px(x, y) = c;
    }
    std::string name() const {
        return std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
               (six() ? "-565" : "-555");
    }

    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    graphics::Canvas canvas;
};

inline std::string formatName(const testing::TestParamInfo<PixelFormat>& info) {
    return info.param == PixelFormat::k565 ? "565" : "555";
}

}  // namespace vs::test

#define VS_BOTH_FORMATS(Suite)                                                      \
    INSTANTIATE_TEST_SUITE_P(Formats, Suite,                                        \
                             testing::Values(PixelFormat::k555, PixelFormat::k565), \
                             vs::test::formatName)
