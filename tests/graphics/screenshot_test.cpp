#include "graphics/screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "graphics/surface.h"
#include "support/pixel_formats.h"
#include "support/temp_dir.h"

namespace vs::graphics {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readAll(const fs::path& file) {
    std::ifstream f(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class ScreenshotTest : public testing::TestWithParam<PixelFormat> {
  protected:
    ScreenshotTest() : picture(640, 480) {
        // Every row different, so that a flipped or shifted row shows.
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) picture.set(x, y, uint16_t(y * 641 + x * 3));
    }
    test::TempDir dir{"shots"};
    Surface picture;
};

TEST_P(ScreenshotTest, TheBmpIs555BottomRowFirstBehindAFixedHeader) {
    const fs::path file = SaveBmpScreenshot(picture, GetParam(), dir.path() / "ScreenShots");
    ASSERT_EQ(file, dir.path() / "ScreenShots" / "VL0001.bmp");
    const std::vector<uint8_t> b = readAll(file);
    ASSERT_EQ(b.size(), 614454u);
    const std::vector<uint8_t> header = {'B', 'M', 0x36, 0x60, 0x09, 0, 0, 0, 0,    0,
                                         54,  0,   0,    0,    40,   0, 0, 0, 0x80, 2,
                                         0,   0,   0xE0, 1,    0,    0, 1, 0, 16,   0};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), b.begin()));
    for (size_t i = 30; i < 54; ++i) ASSERT_EQ(b[i], 0) << i;
    for (int row : {0, 1, 479}) {
        const int y = 479 - row;
        for (int x : {0, 1, 639}) {
            const uint16_t p = picture.at(x, y);
            const uint16_t want =
                GetParam() == PixelFormat::k565 ? uint16_t(((p >> 1) & 0x7FE0) | (p & 0x1F)) : p;
            const size_t at = 54 + (size_t(row) * 640 + size_t(x)) * 2;
            ASSERT_EQ(uint16_t(b[at] | b[at + 1] << 8), want) << row << "," << x;
        }
    }
}

TEST_P(ScreenshotTest, NumbersTakeTheFirstFreeOneBmpFromOneAndJpegFromZero) {
    const fs::path shots = dir.path() / "ScreenShots";
    fs::create_directories(shots);
    for (int i = 1; i <= 5; ++i)
        std::ofstream(shots / ("VL000" + std::to_string(i) + ".bmp")) << "x";
    EXPECT_EQ(SaveBmpScreenshot(picture, GetParam(), shots), shots / "VL0006.bmp");
    const fs::path jpeg = SaveJpegScreenshot(picture, GetParam(), shots);
    ASSERT_EQ(jpeg, shots / "VL0000.jpg");
    const std::vector<uint8_t> b = readAll(jpeg);
    ASSERT_GT(b.size(), 4u);
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xD8);
    EXPECT_EQ(b[b.size() - 2], 0xFF);
    EXPECT_EQ(b[b.size() - 1], 0xD9);
    EXPECT_EQ(SaveJpegScreenshot(picture, GetParam(), shots), shots / "VL0001.jpg");
    EXPECT_FALSE(fs::exists(shots / "VL0000.jpg.part"));
}

TEST(ScreenshotNames, StopAfterNumberOneThousandAndLeaveNoPartialFile) {
    test::TempDir dir("shotnames");
    for (int i = 0; i <= 1000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "VL%04d.jpg", i);
        std::ofstream(dir.path() / name) << "x";
    }
    EXPECT_TRUE(NextScreenshotName(dir.path(), "jpg", 0).empty());
    EXPECT_EQ(NextScreenshotName(dir.path(), "bmp", 1), dir.path() / "VL0001.bmp");
    Surface picture(640, 480);
    EXPECT_TRUE(SaveJpegScreenshot(picture, PixelFormat::k565, dir.path()).empty());
    // A folder that cannot be written: nothing is saved and nothing is left behind.
    const fs::path blocked = dir.path() / "blocked";
    std::ofstream(blocked) << "a file where the folder should be";
    EXPECT_TRUE(SaveBmpScreenshot(picture, PixelFormat::k565, blocked).empty());
    EXPECT_EQ(readAll(blocked).size(), 33u);
}

VS_INSTANTIATE_IN_BOTH_FORMATS(ScreenshotTest);

}  // namespace
}  // namespace vs::graphics
