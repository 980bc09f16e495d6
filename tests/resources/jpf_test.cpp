#include "resources/jpf.h"

#include <gtest/gtest.h>

#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <vector>

#include "resources/palette_format.h"

namespace vs::resources {
namespace {

using Bytes = std::vector<uint8_t>;

// A JPF file of a picture encoded by the JPEG library at the best quality.
Bytes jpf(int w, int h, int channels, uint8_t (*value)(int x, int y, int c)) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &data, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = channels;
    cinfo.in_color_space = channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(w * channels));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                row[size_t(x * channels + c)] = value(x, int(cinfo.next_scanline), c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(size + 4);
    std::memcpy(out.data(), "JPF", 4);  // with its NUL
    std::memcpy(out.data() + 4, data, size);
    std::free(data);
    return out;
}

// Flat colour blocks survive the compression almost exactly.
uint8_t blocks(int x, int y, int c) {
    static const uint8_t colours[4][3] = {
        {250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {200, 200, 40}};
    return colours[(x / 8) % 2 + 2 * ((y / 8) % 2)][c];
}
uint8_t grey(int x, int, int) {
    return x < 8 ? 40 : 220;
}

class JpfTest : public testing::TestWithParam<PixelFormat> {
  protected:
    void SetUp() override { setCurrentPixelFormat(GetParam()); }
    void TearDown() override { setCurrentPixelFormat(PixelFormat::k565); }
    // Each component of a decoded pixel within one step of the source colour's.
    void expectNear(uint16_t p, uint8_t r, uint8_t g, uint8_t b) {
        const bool six = GetParam() == PixelFormat::k565;
        const int pr = six ? p >> 11 : (p >> 10) & 31, pg = six ? (p >> 5) & 63 : (p >> 5) & 31,
                  pb = p & 31;
        EXPECT_NEAR(pr, r >> 3, 1);
        EXPECT_NEAR(pg, six ? g >> 2 : g >> 3, 1);
        EXPECT_NEAR(pb, b >> 3, 1);
        if (!six) {
            EXPECT_EQ(p & 0x8000, 0);
        }
    }
};

TEST_P(JpfTest, ColourAndGreyPicturesDecodeInTheDisplayFormat) {
    const Bytes colour = jpf(32, 16, 3, blocks);
    PixMap out;
    ASSERT_TRUE(DecodeJpf(colour.data(), colour.size(), out));
    EXPECT_FALSE(out.is8Bit());
    EXPECT_EQ(out.bounds(), (base::Rect{0, 0, 32, 16}));
    for (int y : {2, 12})
        for (int x : {3, 12, 20, 29})
            expectNear(out.pixels16()[y * 32 + x], blocks(x, y, 0), blocks(x, y, 1),
                       blocks(x, y, 2));

    const Bytes gray = jpf(16, 4, 1, grey);
    ASSERT_TRUE(DecodeJpf(gray.data(), gray.size(), out));
    expectNear(out.pixels16()[1], 40, 40, 40);
    expectNear(out.pixels16()[14], 220, 220, 220);
}

TEST_P(JpfTest, BrokenPicturesGiveNothing) {
    const Bytes good = jpf(16, 16, 3, blocks);
    Bytes wrongSignature = good, garbage = good, bigger = jpf(kMaxJpfSide + 1, 1, 1, grey);
    wrongSignature[3] = 'X';
    for (size_t i = 4; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 37);
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"wrong signature", wrongSignature},
        {"only the signature", Bytes(good.begin(), good.begin() + 4)},
        {"not a JPEG stream", garbage},
        {"header cut", Bytes(good.begin(), good.begin() + 40)},
        {"wider than a portrait may be", bigger},
    };
    for (const auto& c : cases) {
        PixMap out;
        out.Alloc16(3, 3);
        EXPECT_FALSE(DecodeJpf(c.file.data(), c.file.size(), out)) << c.what;
        EXPECT_FALSE(out.hasPixels()) << c.what;
    }
    PixMap out;
    EXPECT_FALSE(DecodeJpf(nullptr, 0, out));
    // A stream cut anywhere either decodes (the library fills what is missing) or gives
    // nothing; it never reads past the buffer.
    for (size_t n = 0; n < good.size(); n += 7) {
        const Bytes cut(good.begin(), good.begin() + long(n));
        const bool ok = DecodeJpf(cut.data(), cut.size(), out);
        EXPECT_EQ(ok, out.hasPixels()) << n;
    }
    const Bytes largest = jpf(kMaxJpfSide, 2, 1, grey);
    EXPECT_TRUE(DecodeJpf(largest.data(), largest.size(), out));
}

INSTANTIATE_TEST_SUITE_P(Formats, JpfTest, testing::Values(PixelFormat::k555, PixelFormat::k565),
                         [](const auto& info) {
                             return info.param == PixelFormat::k565 ? "565" : "555";
                         });

}  // namespace
}  // namespace vs::resources
