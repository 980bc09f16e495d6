#include "resources/pix_map.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/byte_io.h"
#include "resources/palette.h"
#include "resources/palette_format.h"
#include "support/palette_fixture.h"

namespace vs::resources {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes maskOf(const std::vector<uint8_t>& pixels, int w, int h) {
    PixMap p;
    p.Alloc8(w, h);
    std::memcpy(const_cast<uint8_t*>(p.pixels8()), pixels.data(), pixels.size());
    p.BuildMask();
    return Bytes(p.mask(), p.mask() + p.maskSize());
}

std::vector<uint8_t> row(std::initializer_list<std::pair<int, uint8_t>> runs) {
    std::vector<uint8_t> v;
    for (auto [n, value] : runs) v.insert(v.end(), size_t(n), value);
    return v;
}

TEST(PixMapTest, BuildMaskWritesRunsOfAtMost127AndEndsEachRow) {
    struct Case {
        const char* what;
        std::vector<uint8_t> pixels;
        int w, h;
        Bytes mask;
    };
    const Case cases[] = {
        {"300 visible", row({{300, 1}}), 300, 1, {0xFF, 0xFF, 0xAE, 0x00}},
        {"mixed", row({{2, 0}, {3, 5}, {1, 0}}), 6, 1, {0x02, 0x83, 0x01, 0x00}},
        {"127 exactly", row({{127, 9}}), 127, 1, {0xFF, 0x00}},
        {"128", row({{128, 9}}), 128, 1, {0xFF, 0x81, 0x00}},
        {"254 transparent", row({{254, 0}}), 254, 1, {0x7F, 0x7F, 0x00}},
        {"two rows", row({{1, 0}, {1, 4}, {2, 4}}), 2, 2, {0x01, 0x81, 0x00, 0x82, 0x00}},
    };
    for (const auto& c : cases) {
        const Bytes m = maskOf(c.pixels, c.w, c.h);
        EXPECT_EQ(m, c.mask) << c.what;
        EXPECT_TRUE(mask::check(m.data(), m.size(), c.w, c.h)) << c.what;
    }
}

TEST(PixMapTest, SixteenBitPicturesMaskTheirZeroPixelsAtTheirBoundsWidth) {
    PixMap p;
    p.Alloc16(4, 1);
    const uint16_t v[] = {0x8000, 0, 0, 0x0001};
    std::memcpy(p.pixels16(), v, sizeof v);
    p.BuildMask();
    EXPECT_EQ(Bytes(p.mask(), p.mask() + p.maskSize()), (Bytes{0x81, 0x02, 0x81, 0x00}));
    EXPECT_TRUE(p.maskChecked());
}

TEST(PixMapTest, MaskCheckRefusesWhatWouldLeadAWalkAstray) {
    struct Case {
        const char* what;
        Bytes mask;
        int w, h;
        bool ok;
    };
    const Case cases[] = {
        {"exact", {0x83, 0x01, 0x00, 0x04, 0x00}, 4, 2, true},
        {"trailing bytes", {0x84, 0x00, 0x55}, 4, 1, true},
        {"zero-length run", {0x80, 0x84, 0x00}, 4, 1, true},
        {"row short", {0x83, 0x00}, 4, 1, false},
        {"row long", {0x85, 0x00}, 4, 1, false},
        {"no row end", {0x84}, 4, 1, false},
        {"rows missing", {0x84, 0x00}, 4, 2, false},
        {"empty for a picture", {}, 4, 1, false},
        {"nothing for nothing", {}, 4, 0, true},
        {"negative width", {0x00}, -1, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mask::check(c.mask.data(), c.mask.size(), c.w, c.h), c.ok) << c.what;

    // An unchecked mask that fails is dropped when checked.
    PixMap p;
    p.Alloc8(4, 1);
    const Bytes bad{0x83, 0x00};
    p.SetMaskView(bad.data(), bad.size());
    EXPECT_FALSE(p.maskChecked());
    EXPECT_FALSE(p.CheckMask());
    EXPECT_EQ(p.mask(), nullptr);
}

TEST(PixMapTest, CopyFromOwnsItsRowsAndMaskEvenFromAViewWithALongerPitch) {
    // Three rows at a pitch of 5 whose last row stops after its 3 pixels.
    const std::vector<uint8_t> source = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99, 7, 8, 9};
    auto* heap = new uint8_t[source.size()];
    std::memcpy(heap, source.data(), source.size());
    const Bytes m = {0x83, 0x00, 0x83, 0x00, 0x83, 0x00};
    PixMap view;
    view.SetView8(heap, 5, {10, 20, 13, 23});
    view.SetMaskView(m.data(), m.size(), true);
    PixMap copy;
    copy.CopyFrom(view);
    delete[] heap;
    view.Free();
    ASSERT_TRUE(copy.ownsPixels());
    EXPECT_EQ(copy.bounds(), (base::Rect{10, 20, 13, 23}));
    EXPECT_EQ(copy.rowWidth(), 3);
    EXPECT_EQ(Bytes(copy.pixels8(), copy.pixels8() + 9), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Bytes(copy.mask(), copy.mask() + copy.maskSize()), m);
    EXPECT_NE(copy.mask(), m.data());
    EXPECT_TRUE(copy.maskChecked());

    PixMap none;
    none.Alloc16(0, 5);
    EXPECT_FALSE(none.hasPixels());
    none.Alloc8(3, -1);
    EXPECT_FALSE(none.hasPixels());
}

TEST(PixMapTest, To555ConvertsOnlyWhenTheDisplayUses555) {
    PixMap p;
    p.Alloc16(2, 1);
    const uint16_t white565 = 0xFFFF, mixed = 0x07E1;
    p.pixels16()[0] = white565, p.pixels16()[1] = mixed;
    setCurrentPixelFormat(PixelFormat::k565);
    p.To555();
    EXPECT_EQ(p.pixels16()[0], white565);
    setCurrentPixelFormat(PixelFormat::k555);
    p.To555();
    EXPECT_EQ(p.pixels16()[0], 0x7FFF);
    EXPECT_EQ(p.pixels16()[1], 0x03E1);
    setCurrentPixelFormat(PixelFormat::k565);
}

TEST(PixMapTest, UsesColorRangesLooksForAnyPixelInsideACyclingRange) {
    const DLPalette::Range ranges[] = {{40, 44}, {90, 80}};
    const auto file = test::palFile([](int) { return test::Rgb{1, 2, 3}; }, ranges);
    base::ByteReader in(file);
    DLPalette pal;
    pal.Load(in, "cycling.pal");
    PixMap p;
    p.Alloc8(2, 1);
    auto* px = const_cast<uint8_t*>(p.pixels8());
    struct Case {
        uint8_t a, b;
        bool uses;
    };
    const Case cases[] = {
        {1, 2, false}, {1, 44, true}, {40, 0, true}, {85, 0, true}, {45, 79, false}};
    for (const auto& c : cases) {
        px[0] = c.a, px[1] = c.b;
        EXPECT_EQ(p.UsesColorRanges(pal), c.uses) << int(c.a) << " " << int(c.b);
    }
    EXPECT_FALSE(p.UsesColorRanges(DLPalette()));
}

}  // namespace
}  // namespace vs::resources
