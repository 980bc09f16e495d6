#include "resources/palette.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "app/error.h"
#include "support/palette_fixture.h"
#include "support/pixel_formats.h"

namespace vs::resources {
namespace {

using test::palFile;
using test::Rgb;

class PaletteTest : public testing::TestWithParam<PixelFormat> {
protected:
    void SetUp() override { setCurrentPixelFormat(GetParam()); }
    void TearDown() override { setCurrentPixelFormat(PixelFormat::k565); }
    bool six() const { return GetParam() == PixelFormat::k565; }

    static DLPalette load(const std::vector<uint8_t>& bytes) {
        DLPalette p;
        base::ByteReader in(bytes);
        p.Load(in, "TEST.PAL");
        return p;
    }
};

TEST_P(PaletteTest, LoadConvertsKeepsIndexZeroTransparentAndBlackVisible) {
    const std::vector<DLPalette::Range> ranges = {{10, 13}, {40, 32}};
    const auto bytes = palFile(
        [](int i) -> Rgb {
            if (i == 0) return {255, 255, 255};
            if (i == 7) return {0, 0, 0};
            if (i == 8) return {7, 3, 7};  // below one step of every component: black too
            return {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
        },
        ranges);
    const DLPalette p = load(bytes);
    EXPECT_EQ(p.GetColor(0), 0);
    EXPECT_EQ(p.GetColor(7), six() ? 0x0821 : 0x0421);
    EXPECT_EQ(p.GetColor(8), six() ? 0x0821 : 0x0421);
    // White is all ones in either format; mid values keep their top bits.
    const DLPalette white = load(test::greyPalFile(255));
    EXPECT_EQ(white.GetColor(1), six() ? 0xFFFF : 0x7FFF);
    const uint16_t c100 = p.GetColor(100);  // (100, 155, 300 mod 256 = 44)
    EXPECT_EQ(c100, six() ? (100 >> 3) << 11 | (155 >> 2) << 5 | (44 >> 3)
                          : (100 >> 3) << 10 | (155 >> 3) << 5 | (44 >> 3));
    EXPECT_EQ(p.ranges(), ranges);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p.header().data())), "DLPalette");
    EXPECT_EQ(p.GetColor(-1), 0);
    EXPECT_EQ(p.GetColor(256), 0);
}

TEST_P(PaletteTest, ShortOrOversizedFilesThrowAndChangeNothing) {
    const std::vector<DLPalette::Range> two = {{1, 4}, {9, 5}};
    const auto good = palFile([](int) { return Rgb{200, 100, 50}; }, two);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"half a header", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 32)},
        {"ranges cut", std::vector<uint8_t>(good.begin(), good.begin() + 35)},
        {"colours cut", std::vector<uint8_t>(good.begin(), good.end() - 1)},
    };
    // Range counts the entry cannot hold, up to the largest the field can say.
    for (uint32_t count : {3u, 600u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        auto b = good;
        b[24] = uint8_t(count), b[25] = uint8_t(count >> 8), b[26] = uint8_t(count >> 16),
        b[27] = uint8_t(count >> 24);
        cases.push_back({"range count too large", b});
    }
    const DLPalette before = load(palFile([](int) { return Rgb{9, 9, 9}; }));
    for (const auto& c : cases) {
        DLPalette p = before;
        base::ByteReader in(c.bytes);
        EXPECT_THROW(p.Load(in, "TEST.PAL"), app::FileError) << c.what;
        EXPECT_TRUE(p.ranges().empty()) << c.what;
        EXPECT_EQ(p.GetColor(1), before.GetColor(1)) << c.what;
    }
}

TEST_P(PaletteTest, RotateCyclesEachRangeInItsDirection) {
    // Colour i is i << 3 in red, so each colour is told apart by its index.
    const std::vector<DLPalette::Range> ranges = {{10, 13}, {23, 20}, {30, 30}};
    DLPalette p = load(palFile([](int i) { return Rgb{uint8_t(i << 3), 0, 0}; }, ranges));
    auto idx = [&](int i) { return six() ? p.GetColor(i) >> 11 : p.GetColor(i) >> 10; };
    p.Rotate();
    // (10, 13): W X Y Z becomes Z W X Y; (23, 20) turns W X Y Z at 20…23 into X Y Z W.
    EXPECT_EQ(std::vector<int>({idx(10), idx(11), idx(12), idx(13)}),
              std::vector<int>({13, 10, 11, 12}));
    EXPECT_EQ(std::vector<int>({idx(20), idx(21), idx(22), idx(23)}),
              std::vector<int>({21, 22, 23, 20}));
    EXPECT_EQ(idx(30), 30);
    EXPECT_EQ(idx(9), 9);
    EXPECT_EQ(idx(14), 14);
    for (int i = 0; i < 3; ++i) p.Rotate();
    EXPECT_EQ(idx(10), 10);
    EXPECT_EQ(idx(20), 20);
}

TEST_P(PaletteTest, FromQuadsAndFromPackedRgbReadBlueFirst) {
    std::vector<uint8_t> quads(1024);
    for (int i = 0; i < 256; ++i) {
        quads[size_t(4 * i)] = 0xF8;            // blue
        quads[size_t(4 * i + 2)] = uint8_t(i);  // red
    }
    DLPalette q;
    ASSERT_TRUE(q.FromQuads(quads));
    EXPECT_EQ(q.GetColor(0), 0x1F);  // no transparency fix-up here: it is a picture's own table
    EXPECT_EQ(q.GetColor(255), packRgb(GetParam(), 255, 0, 0xF8));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(q.header().data())), "DLPalette");
    EXPECT_EQ(q.header()[16], 32);
    EXPECT_EQ(q.header()[21], 1);  // 256
    EXPECT_FALSE(q.FromQuads(std::span<const uint8_t>(quads).first(1023)));

    auto pack = [](size_t n) {
        std::vector<uint8_t> raw(n);
        for (size_t i = 0; i < n; ++i) raw[i] = i % 3 == 2 ? 0xFF : 0;  // red
        uLongf size = compressBound(uLong(n));
        std::vector<uint8_t> z(size);
        compress(z.data(), &size, raw.data(), uLong(n));
        z.resize(size);
        return z;
    };
    DLPalette p;
    const auto exact = pack(768);
    ASSERT_TRUE(p.FromPackedRGB(exact.data(), exact.size()));
    EXPECT_EQ(p.GetColor(0), packRgb(GetParam(), 255, 0, 0));
    for (size_t n : {767u, 769u, 2000u}) {
        const auto wrong = pack(n);
        DLPalette r;
        EXPECT_FALSE(r.FromPackedRGB(wrong.data(), wrong.size())) << n;
        EXPECT_EQ(r.GetColor(5), 0) << n;
    }
    const uint8_t junk[] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(p.FromPackedRGB(junk, sizeof junk));
    EXPECT_FALSE(p.FromPackedRGB(exact.data(), exact.size() - 1));
    EXPECT_EQ(p.GetColor(0), packRgb(GetParam(), 255, 0, 0));
}

VS_INSTANTIATE_IN_BOTH_FORMATS(PaletteTest);

}  // namespace
}  // namespace vs::resources
