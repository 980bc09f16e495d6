#include "resources/bitmap8.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "base/byte_io.h"
#include "resources/palette.h"

namespace vs::resources {
namespace {

using Bytes = std::vector<uint8_t>;

struct Bmp {
    int width = 5, height = 3;  // a negative height stores the top row first
    int bits = 8, compression = 0, colours = 0, planes = 1;
    std::function<uint8_t(int, int)> pixel = [](int x, int y) { return uint8_t(1 + x + 10 * y); };

    // Colour i of the table: (blue, green, red) = (i, 2i, 3i).
    Bytes quads() const {
        Bytes q;
        for (int i = 0; i < (colours ? colours : 256); ++i)
            q.insert(q.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0});
        return q;
    }
    Bytes build() const {
        const int rows = height < 0 ? -height : height;
        const size_t stride = (size_t(width) + 3) & ~size_t(3);
        const Bytes table = quads();
        base::ByteWriter w;
        w.bytes(std::string_view("BM")).u32le(0).u32le(0).u32le(uint32_t(14 + 40 + table.size()));
        w.u32le(40)
            .u32le(uint32_t(width))
            .u32le(uint32_t(height))
            .u16le(uint32_t(planes))
            .u16le(uint32_t(bits));
        w.u32le(uint32_t(compression)).u32le(0).u32le(0).u32le(0).u32le(uint32_t(colours)).u32le(0);
        w.bytes(table);
        for (int r = 0; r < rows; ++r) {
            const int y = height > 0 ? rows - 1 - r : r;
            for (size_t x = 0; x < stride; ++x) w.u8(x < size_t(width) ? pixel(int(x), y) : 0xEE);
        }
        return w.take();
    }
};

TEST(Bitmap8Test, RowsAreReadAtTheirPaddingInEitherOrder) {
    for (int width = 1; width <= 9; ++width) {
        for (int height : {3, -3}) {
            Bmp b;
            b.width = width, b.height = height;
            PixMap out;
            DLPalette pal;
            ASSERT_TRUE(DecodeBitmap8(b.build(), out, pal)) << width << " " << height;
            EXPECT_TRUE(out.is8Bit());
            EXPECT_EQ(out.bounds(), (base::Rect{0, 0, width, 3}));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(out.pixels8()[y * out.rowWidth() + x], b.pixel(x, y))
                        << width << " " << height << " " << x << "," << y;
        }
    }
}

TEST(Bitmap8Test, ThePaletteComesFromTheColourTable) {
    Bmp b;
    b.colours = 16;  // the rest of the palette is black
    PixMap out;
    DLPalette pal;
    ASSERT_TRUE(DecodeBitmap8(b.build(), out, pal));
    Bytes quads = b.quads();
    quads.resize(1024, 0);
    DLPalette expected;
    ASSERT_TRUE(expected.FromQuads(quads));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(pal.GetColor(i), expected.GetColor(i)) << i;
}

TEST(Bitmap8Test, AnythingElseGivesNothingAndKeepsThePalette) {
    struct Case {
        const char* what;
        Bytes file;
    };
    auto with = [](auto change) {
        Bmp b;
        change(b);
        return b.build();
    };
    const Bytes good = Bmp().build();
    Bytes badMagic = good, pixelsBeyond = good;
    badMagic[0] = 'X';
    pixelsBeyond[10] = 0xFF;
    const Case cases[] = {
        {"4 bits", with([](Bmp& b) { b.bits = 4; })},
        {"24 bits", with([](Bmp& b) { b.bits = 24; })},
        {"compressed", with([](Bmp& b) { b.compression = 1; })},
        {"two planes", with([](Bmp& b) { b.planes = 2; })},
        {"no width", with([](Bmp& b) { b.width = 0; })},
        {"no height", with([](Bmp& b) { b.height = 0; })},
        {"absurd width", with([](Bmp& b) {
             b.width = 100000, b.height = 1, b.pixel = [](int, int) { return 0; };
         })},
        {"absurd height", with([](Bmp& b) { b.width = 1, b.height = -(kMaxBitmapSide + 1); })},
        {"more than 256 colours", with([](Bmp& b) { b.colours = 300; })},
        {"not a bitmap", badMagic},
        {"pixels beyond the file", pixelsBeyond},
        {"last row cut", Bytes(good.begin(), good.end() - 4)},
    };
    DLPalette keep;
    keep.SetColor(7, 0x1234);
    for (const auto& c : cases) {
        PixMap out;
        out.Alloc8(2, 2);
        DLPalette pal;
        pal.SetColor(7, 0x1234);
        EXPECT_FALSE(DecodeBitmap8(c.file, out, pal)) << c.what;
        EXPECT_FALSE(out.hasPixels()) << c.what;
        EXPECT_EQ(pal.GetColor(7), 0x1234) << c.what;
    }
    // Every shorter file fails without reading past its end.
    for (size_t n = 0; n < good.size() - 3; ++n) {
        PixMap out;
        DLPalette pal;
        EXPECT_FALSE(DecodeBitmap8(Bytes(good.begin(), good.begin() + long(n)), out, pal)) << n;
    }
}

}  // namespace
}  // namespace vs::resources
