#include "graphics/soft_cursor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/headless/headless_screen.h"

namespace vs::graphics {
namespace {

using base::Rect;

constexpr uint16_t kBackground = 0x1111;

// Frame k of type t is one solid colour, with its bottom-right pixel transparent.
uint16_t colourOf(int type, int frame) {
    return uint16_t(0x2000 + type * 0x100 + frame + 1);
}

class SoftCursorTest : public testing::Test {
  protected:
    SoftCursorTest() : front(640, 480) {
        front.fill(front.bounds(), kBackground);
        screen.acquire();
        screen.blit(front.pixels(), front.pitch(), front.bounds());
        std::array<Surface, kCursorTypeCount> shapes;
        for (int t = 0; t < kCursorTypeCount; ++t) {
            CursorShape& s = table[size_t(t)];
            s.frameCount = int16_t(t == 0 ? 4 : 2);
            s.width = 32, s.height = t == 1 ? 20 : 32;
            s.hotX = t == 1 ? 10 : 0, s.hotY = t == 1 ? 5 : 0;
            shapes[size_t(t)] = Surface(s.frameCount * s.width, s.height);
            for (int k = 0; k < s.frameCount; ++k) {
                shapes[size_t(t)].fill(Rect::fromSize(k * s.width, 0, s.width, s.height),
                                       colourOf(t, k));
                shapes[size_t(t)].set(k * s.width + s.width - 1, s.height - 1, 0);
            }
        }
        cursor.SetShapes(table, std::move(shapes));
    }
    uint16_t shown(int x, int y) const { return screen.pixels()[y * 640 + x]; }
    // The pixels of `area` that differ from the background.
    int marked(const Rect& area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += shown(x, y) != kBackground;
        return n;
    }

    platform::HeadlessScreen screen;
    Surface front;
    CursorTable table{};
    SoftCursor cursor;
};

TEST_F(SoftCursorTest, AnimatesOneFrameEachTimeMoreThan85MsHavePassed) {
    cursor.Show(screen, front);
    cursor.Animate(85, screen, front);
    EXPECT_EQ(cursor.Frame(), 0);  // 85 ms is not more than 85
    std::vector<int> frames;
    for (uint32_t now = 0; now <= 450; now += 5) {
        cursor.Animate(now, screen, front);
        if (frames.empty() || frames.back() != cursor.Frame()) frames.push_back(cursor.Frame());
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(shown(330, 250), colourOf(0, 1));
}

TEST_F(SoftCursorTest, ATypeChangeDrawsTheNewShapeAtTheNewHotSpotWithoutAGhost) {
    cursor.Move(100, 200);
    cursor.Show(screen, front);
    EXPECT_EQ(shown(200, 100), colourOf(0, 0));
    cursor.SetType(1, screen, front);
    EXPECT_EQ(cursor.Area(), Rect::fromSize(190, 95, 32, 20));
    EXPECT_EQ(shown(190, 95), colourOf(1, 0));
    EXPECT_EQ(marked({0, 0, 640, 480}), 32 * 20 - 1);
    EXPECT_EQ(shown(221, 114), kBackground);  // its transparent pixel

    // Showing again while shown, moving and hiding leave the picture as it was.
    cursor.Show(screen, front);
    cursor.MoveShown(300, 400, screen, front);
    EXPECT_EQ(marked({0, 0, 640, 480}), 32 * 20 - 1);
    cursor.Hide(screen);
    cursor.Hide(screen);
    EXPECT_EQ(marked({0, 0, 640, 480}), 0);
}

TEST_F(SoftCursorTest, AtTheEdgeOnlyTheVisibleColumnsAreDrawnAndRestored) {
    cursor.Move(470, 635);
    cursor.Show(screen, front);
    EXPECT_EQ(marked({600, 440, 640, 480}), 5 * 10);
    const size_t blits = screen.blits().size();
    EXPECT_EQ(screen.blits().back(), (Rect{635, 470, 640, 480}));
    cursor.Hide(screen);
    EXPECT_EQ(screen.blits().size(), blits + 1);
    EXPECT_EQ(marked({0, 0, 640, 480}), 0);
    // Entirely off the screen nothing is drawn.
    cursor.Move(-100, -100);
    cursor.Show(screen, front);
    EXPECT_EQ(marked({0, 0, 640, 480}), 0);
}

TEST_F(SoftCursorTest, APresentUnderTheCursorKeepsItOnTopOfTheNewPicture) {
    cursor.Show(screen, front);
    front.fill({300, 200, 400, 300}, 0x3333);
    screen.blit(front.pixels(), front.pitch(), {300, 200, 400, 300});
    cursor.Refresh({300, 200, 400, 300}, screen, front);
    EXPECT_EQ(shown(320, 240), colourOf(0, 0));
    cursor.Hide(screen);
    EXPECT_EQ(shown(320, 240), 0x3333);
}

std::vector<uint8_t> tableBytes(const std::vector<std::array<int32_t, 6>>& records) {
    std::vector<uint8_t> out;
    for (const auto& r : records) {
        for (int i = 0; i < 6; ++i) {
            const int bytes = i < 2 ? 2 : 4;
            for (int b = 0; b < bytes; ++b)
                out.push_back(uint8_t(uint32_t(r[size_t(i)]) >> (8 * b)));
        }
    }
    return out;
}

TEST(CursorTable, IsReadAndRejectedWhenItWouldDivideByZeroOrAllocateWithoutBound) {
    std::vector<std::array<int32_t, 6>> good(7, {0, 3, 2, 1, 32, 24});
    good[6] = {21, 4, 7, 8, 16, 16};
    CursorTable t;
    ASSERT_TRUE(ParseCursorTable(tableBytes(good), t));
    EXPECT_EQ(t[6].firstFrame, 21);
    EXPECT_EQ(t[6].frameCount, 4);
    EXPECT_EQ(t[6].hotY, 7);
    EXPECT_EQ(t[6].hotX, 8);
    EXPECT_EQ(t[0].height, 32);
    EXPECT_EQ(t[0].width, 24);

    struct Bad {
        const char* what;
        int field;
        int32_t value;
    };
    for (const Bad& b :
         {Bad{"no frames", 1, 0}, Bad{"negative first frame", 0, -1}, Bad{"no width", 5, 0},
          Bad{"too tall", 4, 257}, Bad{"too wide", 5, 100000}}) {
        auto records = good;
        records[3][size_t(b.field)] = b.value;
        std::string why;
        EXPECT_FALSE(ParseCursorTable(tableBytes(records), t, &why)) << b.what;
        EXPECT_FALSE(why.empty());
    }
    auto bytes = tableBytes(good);
    bytes.push_back(0);
    EXPECT_FALSE(ParseCursorTable(bytes, t));
    bytes.resize(139);
    EXPECT_FALSE(ParseCursorTable(bytes, t));
}

}  // namespace
}  // namespace vs::graphics
