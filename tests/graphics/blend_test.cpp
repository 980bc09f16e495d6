// The kernels compute blends in an integer form instead of reading the lighting tables; these
// tests prove the two equal over every input they can see.
#include "graphics/blend.h"

#include <gtest/gtest.h>

#include <random>

#include "canvas_fixture.h"

namespace vs::test {
namespace {

using graphics::blendComponent;

class BlendTest : public testing::TestWithParam<PixelFormat> {
  protected:
    void SetUp() override { graphics::selectPixelFormat(GetParam()); }
    void TearDown() override { graphics::selectPixelFormat(PixelFormat::k565); }
    bool six() const { return GetParam() == PixelFormat::k565; }
};

TEST_P(BlendTest, TablesHaveTheExactIntegerForm) {
    const auto& t = graphics::lightTables();
    const int g = six() ? 63 : 31;
    for (int v = 0; v < 256; ++v) {
        for (int k = 0; k < 256; ++k) {
            const int exact = std::min({(v * k + 16) >> 5, 2 * v});
            ASSERT_EQ(t.t1[v][k], std::min(exact, 31)) << v << " " << k;
            ASSERT_EQ(t.t2[v][k], std::min(exact, g)) << v << " " << k;
        }
    }
}

TEST_P(BlendTest, EveryComponentBlendEqualsTheTableBlend) {
    const auto& t = graphics::lightTables();
    struct Component {
        const uint8_t (*table)[256];
        int max;
    };
    const Component components[] = {{t.t1, 31}, {t.t2, six() ? 63 : 31}};
    for (const auto& c : components) {
        for (int w = 0; w <= 32; ++w) {
            for (int d = 0; d <= c.max; ++d) {
                for (int s = 0; s <= c.max; ++s) {
                    const int expected = std::min(c.table[d][w] + c.table[s][32 - w], c.max);
                    ASSERT_EQ(
                        blendComponent(uint16_t(d), uint16_t(s), uint16_t(w), uint16_t(c.max)),
                        expected)
                        << "d " << d << " s " << s << " w " << w << " max " << c.max;
                }
            }
        }
    }
}

TEST_P(BlendTest, PixelsBlendComponentWise) {
    // Bit 15 of a 555 pixel is not a component (InvertRect can set it); it never reaches a result.
    std::mt19937 rng(5);
    for (int i = 0; i < 200000; ++i) {
        const uint16_t d = uint16_t(rng()), s = uint16_t(rng());
        const uint16_t w = uint16_t(rng() % 33);
        const uint16_t got = six() ? graphics::blendPixel<graphics::Format565>(d, s, w)
                                   : graphics::blendPixel<graphics::Format555>(d, s, w);
        ASSERT_EQ(got, tableBlend(d, s, w, six()))
            << std::hex << d << " " << s << std::dec << " w " << w;
    }
}

VS_BOTH_FORMATS(BlendTest);

TEST(BlendWeightTest, OpacityBecomesAWeightOfZeroToThirtyTwo) {
    struct Case {
        float opacity;
        uint32_t weight;
    };
    const Case cases[] = {
        {0.5f, 16},
        {1.0f, 32},
        {0.0f, 0},
        {0.9f, 29},
        {0.01f, 0},
        {0.02f, 1},
        // Outside 0 … 1 the weight stays inside the tables (kept to a byte, 8.5 would give 16).
        {1.5f, 32},
        {8.5f, 32},
        {-0.25f, 0},
        {std::nanf(""), 0},
        {1e30f, 32},
        {-1e30f, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(graphics::blendWeight(c.opacity), c.weight) << c.opacity;
}

}  // namespace
}  // namespace vs::test
