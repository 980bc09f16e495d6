#include "graphics/pixel_format.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/pixel_formats.h"

namespace vs::graphics {
namespace {

class PixelFormatTest : public testing::TestWithParam<PixelFormat> {
protected:
    void SetUp() override { selectPixelFormat(GetParam()); }
    void TearDown() override { selectPixelFormat(PixelFormat::k565); }
    bool six() const { return GetParam() == PixelFormat::k565; }

    // The components of a pixel: red, green, blue.
    std::array<int, 3> split(uint16_t p) const {
        if (six()) return {p >> 11, (p >> 5) & 0x3F, p & 0x1F};
        return {(p >> 10) & 0x1F, (p >> 5) & 0x1F, p & 0x1F};
    }
    uint16_t join(int r, int g, int b) const {
        return six() ? uint16_t(r << 11 | g << 5 | b) : uint16_t(r << 10 | g << 5 | b);
    }
    std::vector<uint16_t> randomPixels(size_t n) const {
        std::mt19937 rng(7);
        std::vector<uint16_t> v(n);
        // 555 pixels never have the top bit set.
        for (auto& p : v) p = uint16_t(rng() & (six() ? 0xFFFF : 0x7FFF));
        return v;
    }
};

TEST_P(PixelFormatTest, LightTablesScaleRoundSaturateAndNeverMoreThanDouble) {
    const LightTables& t = lightTables();
    EXPECT_EQ(t.t1[10][32], 10);
    EXPECT_EQ(t.t1[10][16], 5);
    EXPECT_EQ(t.t1[10][64], 20);
    EXPECT_EQ(t.t1[20][64], 31);
    EXPECT_EQ(t.t1[3][255], 6);
    EXPECT_EQ(t.t1[0][255], 0);
    EXPECT_EQ(t.t1[31][0], 0);
    if (six()) {
        EXPECT_EQ(t.t2[40][64], 63);
        EXPECT_EQ(t.t2[20][64], 40);
    } else {
        EXPECT_EQ(t.t2[20][64], 31);
        EXPECT_EQ(t.t2[40][64], 31);
    }
    // Through the function set: level 32 changes no colour, level 16 halves white.
    const auto& f = pixelFunctions();
    for (uint32_t c = 0; c < 0x10000; ++c) {
        if (!six() && (c & 0x8000)) continue;
        ASSERT_EQ(f.scale(uint16_t(c), 32), c);
    }
    const uint16_t white = six() ? 0xFFFF : 0x7FFF;
    EXPECT_EQ(f.scale(white, 16), six() ? join(16, 32, 16) : join(16, 16, 16));
    EXPECT_EQ(f.scale(white, 64), white);
}

TEST_P(PixelFormatTest, ColourConversionsFollowTheFormat) {
    const auto& f = pixelFunctions();
    EXPECT_EQ(f.format, GetParam());
    EXPECT_EQ(is565(), six());
    EXPECT_EQ(f.fromRgb(255, 255, 255), six() ? 0xFFFF : 0x7FFF);
    EXPECT_EQ(f.fromRgb(0, 4, 0), six() ? 0x0020 : 0);
    EXPECT_EQ(f.toRgb(f.fromRgb(255, 255, 255)), 0xFFFFFFu);
    EXPECT_EQ(f.toRgb(0), 0u);
    EXPECT_EQ(f.toRgb(f.fromRgb(0x80, 0x40, 0x20)), six() ? 0x844121u : 0x844221u);
    EXPECT_EQ(resources::currentPixelFormat(), GetParam());
}

TEST_P(PixelFormatTest, FadeKeepsDarkensAndBlacksOut) {
    const auto fade = pixelFunctions().fade;
    const auto src = randomPixels(641);  // odd: the last pixel is done alone
    auto run = [&](int level) {
        auto v = src;
        fade(v.data(), v.size(), level);
        return v;
    };
    EXPECT_EQ(run(0), src);
    EXPECT_EQ(run(-3), src);
    EXPECT_EQ(run(24), std::vector<uint16_t>(src.size(), 0));
    EXPECT_EQ(run(99), std::vector<uint16_t>(src.size(), 0));
    // Level 13 halves each component after dropping its lowest bit. The fade works on five bits
    // of every component, so 565 green loses its two lowest bits.
    const auto half = run(13);
    for (size_t i = 0; i < src.size(); ++i) {
        const auto [r, g, b] = split(src[i]);
        ASSERT_EQ(half[i], join(r >> 1, six() ? (g >> 1) & 0x3E : g >> 1, b >> 1)) << i;
    }
}

TEST_P(PixelFormatTest, FadeTreatsEveryPixelOnItsOwn) {
    // Two pixels share a 32-bit word: nothing of one may leak into the other.
    const auto fade = pixelFunctions().fade;
    const auto src = randomPixels(257);
    for (int level = 0; level < kFadeLevels; ++level) {
        auto together = src;
        fade(together.data(), together.size(), level);
        for (size_t i = 0; i < src.size(); ++i) {
            uint16_t alone = src[i];
            fade(&alone, 1, level);
            ASSERT_EQ(together[i], alone) << "level " << level << " pixel " << i;
            // A fade never brightens a component.
            const auto a = split(alone), s = split(src[i]);
            for (int c = 0; c < 3; ++c) ASSERT_LE(a[size_t(c)], s[size_t(c)]);
        }
    }
    // White darkens at every level.
    uint16_t last = six() ? 0xFFFF : 0x7FFF;
    for (int level = 1; level < kFadeLevels; ++level) {
        uint16_t w = six() ? 0xFFFF : 0x7FFF;
        fade(&w, 1, level);
        const auto now = split(w), before = split(last);
        EXPECT_LT(now[0], before[0]) << level;
        EXPECT_LT(now[2], before[2]) << level;
        last = w;
    }
}

VS_INSTANTIATE_IN_BOTH_FORMATS(PixelFormatTest);

}  // namespace
}  // namespace vs::graphics
