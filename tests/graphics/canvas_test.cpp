#include "graphics/canvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "canvas_fixture.h"
#include "resources/palette.h"

namespace vs::test {
namespace {

using graphics::BlitOption;
using graphics::Canvas;
using resources::DLPalette;
using resources::PixMap;

PixMap picture8(int w, int h, const std::vector<uint8_t>& values) {
    PixMap p;
    p.Alloc8(w, h);
    std::memcpy(const_cast<uint8_t*>(p.pixels8()), values.data(), size_t(w * h));
    return p;
}

PixMap solid16(int w, int h, uint16_t c) {
    PixMap p;
    p.Alloc16(w, h);
    for (int i = 0; i < w * h; ++i) p.pixels16()[i] = c;
    return p;
}

// Every pixel inside `area` equals `inside`, every other one `outside`.
testing::AssertionResult onlyInside(const std::vector<uint16_t>& px, int w, const Rect& area,
                                    uint16_t inside, uint16_t outside) {
    for (size_t i = 0; i < px.size(); ++i) {
        const int x = int(i % size_t(w)), y = int(i / size_t(w));
        const uint16_t want = area.contains(base::Point{x, y}) ? inside : outside;
        if (px[i] != want)
            return testing::AssertionFailure()
                   << "(" << x << ", " << y << ") is " << std::hex << px[i] << " not " << want;
    }
    return testing::AssertionSuccess();
}

TEST_P(CanvasTest, KeyedModeLeavesEveryPixelUnderIndexZero) {
    const std::vector<uint8_t> v = {0, 5, 0, 9, 9, 0, 0, 0, 7, 0, 1, 0};
    for (bool masked : {false, true}) {
        fill(0x1234);
        PixMap p = picture8(4, 3, v);
        if (masked) p.BuildMask();
        canvas.DrawPixMapAt(10, 10, p, nullptr, 1);
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(px(10 + i % 4, 10 + i / 4), v[size_t(i)] ? base(v[size_t(i)]) : 0x1234)
                << i << " masked " << masked;
        }
    }
}

TEST_P(CanvasTest, TheMaskNotThePixelDecidesWhatIsVisible) {
    PixMap p = picture8(4, 1, {3, 3, 3, 3});
    const uint8_t mask[] = {0x02, 0x82, 0x00};  // two hidden, two visible
    p.SetMaskView(mask, sizeof mask);
    fill(0x0001);
    canvas.DrawPixMapAt(0, 0, p, nullptr, 1);
    EXPECT_EQ(px(0, 0), 0x0001);
    EXPECT_EQ(px(1, 0), 0x0001);
    EXPECT_EQ(px(2, 0), base(3));
    EXPECT_EQ(px(3, 0), base(3));
}

TEST_P(CanvasTest, OpacityWeighsTheDestination) {
    const uint16_t white = rgb(31, six() ? 63 : 31, 31);
    struct Case {
        float opacity;
        uint16_t expected;
    };
    const Case cases[] = {
        {0.5f, rgb(16, six() ? 32 : 16, 16)},  // white over black: half of each
        {1.0f, 0},                             // the destination stays
        {0.0f, white},                         // the source is copied
        {2.0f, 0},                             // kept to 1.0, not read past the tables
        {-1.0f, white},                        // kept to 0.0
    };
    for (const auto& c : cases) {
        fill(0);
        canvas.SetOpacity(c.opacity);
        canvas.DrawPixMapAt(0, 0, solid16(3, 2, white), nullptr, 2);
        EXPECT_EQ(px(1, 1), c.expected) << c.opacity;
        EXPECT_EQ(px(3, 1), 0) << c.opacity;
    }
}

TEST_P(CanvasTest, TintShiftsIndicesFromFortyEightModuloTheColourCount) {
    PixMap p = picture8(3, 1, {50, 40, 250});
    p.BuildMask();
    BlitOption tint;
    tint.kind = BlitOption::kTinted;
    tint.tint = 3;
    canvas.DrawPixMapAt(0, 0, p, nullptr, 1, &tint);
    EXPECT_EQ(px(0, 0), base(74));
    EXPECT_EQ(px(1, 0), base(40));
    EXPECT_EQ(px(2, 0), base(18));
}

TEST_P(CanvasTest, OptionKindsOutsideTheListDrawNothing) {
    PixMap p = picture8(2, 2, {9, 9, 9, 9});
    p.BuildMask();
    for (int kind : {5, 7, 9, -1}) {
        BlitOption o;
        o.kind = kind;
        fill(0x0101);
        canvas.DrawPixMapAt(0, 0, p, nullptr, 1, &o);
        EXPECT_TRUE(onlyInside(pixels(), kW, {}, 0, 0x0101)) << kind;
    }
}

TEST_P(CanvasTest, SeeThroughWeightsAboveThirtyTwoCountAsThirtyTwo) {
    const uint16_t white = rgb(31, six() ? 63 : 31, 31);
    PixMap p = solid16(3, 1, white);
    p.BuildMask();
    const uint8_t weights[] = {0, 16, 200};
    BlitOption o;
    o.kind = BlitOption::kSeeThrough;
    o.mask = weights;
    o.maskWidth = 3, o.maskHeight = 1, o.maskStride = 3;
    fill(0);
    canvas.DrawPixMapAt(0, 0, p, nullptr, 1, &o);
    EXPECT_EQ(px(0, 0), white);
    EXPECT_EQ(px(1, 0), rgb(16, six() ? 32 : 16, 16));
    EXPECT_EQ(px(2, 0), 0);
    // A weight map smaller than the source draws nothing.
    o.maskWidth = 2;
    fill(0);
    canvas.DrawPixMapAt(0, 0, p, nullptr, 1, &o);
    EXPECT_EQ(px(0, 0), 0);
}

TEST_P(CanvasTest, SpritesOffEachEdgeDrawOnlyTheirVisiblePart) {
    const uint16_t c = rgb(3, 4, 5);
    const PixMap p = solid16(10, 8, c);
    struct Case {
        int x, y;
        Rect visible;
    };
    const Case cases[] = {
        {-4, 5, {0, 5, 6, 13}},
        {kW - 3, 5, {kW - 3, 5, kW, 13}},
        {20, -6, {20, 0, 30, 2}},
        {20, kH - 1, {20, kH - 1, 30, kH}},
        {-9, -7, {0, 0, 1, 1}},
        {kW, 0, {}},
        {-10, 0, {}},
        {0, -8, {}},
        {0, kH, {}},
    };
    for (const auto& k : cases) {
        fill(0);
        canvas.DrawPixMapAt(k.x, k.y, p, nullptr, 0);
        EXPECT_TRUE(onlyInside(pixels(), kW, k.visible, c, 0)) << k.x << ", " << k.y;
    }
}

TEST_P(CanvasTest, DrawingStaysInsideTheClipAndTheUserClip) {
    const uint16_t c = rgb(7, 7, 7);
    canvas.SetClipArea({5, 5, 40, 30});
    canvas.SetUserClip({20, 0, 60, 25});
    EXPECT_EQ(canvas.GetClipRect(), (Rect{20, 5, 40, 25}));
    fill(0);
    canvas.DrawPixMapAt(0, 0, solid16(kW, kH, c), nullptr, 0);
    EXPECT_TRUE(onlyInside(pixels(), kW, {20, 5, 40, 25}, c, 0));
    // An empty user clip is no extra clip; the picture's bounds always are one.
    canvas.SetUserClip({});
    canvas.SetClipArea({-100, -100, 100, 100});
    EXPECT_EQ(canvas.GetClipRect(), (Rect{0, 0, kW, kH}));
}

TEST_P(CanvasTest, ASourceRectangleBeyondThePictureReadsOnlyThePicture) {
    const uint16_t c = rgb(9, 9, 9);
    const PixMap p = solid16(4, 4, c);
    fill(0);
    canvas.DrawPixMap(p, {-4, -4, 12, 12}, {0, 0, 16, 16}, 0);
    EXPECT_TRUE(onlyInside(pixels(), kW, {4, 4, 8, 8}, c, 0));
}

TEST_P(CanvasTest, PalettesWithoutCyclingColoursWaitOutPaletteAnimation) {
    PixMap p = picture8(1, 1, {5});
    DLPalette plain;
    plain.SetColor(5, 0x00FF);
    palettes->SetAnimating(true);
    fill(0);
    canvas.DrawPixMapAt(0, 0, p, &plain, 0);
    EXPECT_EQ(px(0, 0), 0);
    palettes->SetAnimating(false);
    canvas.DrawPixMapAt(0, 0, p, &plain, 0);
    EXPECT_EQ(px(0, 0), 0x00FF);
}

TEST_P(CanvasTest, NothingIsDrawnDisabledUnlockedOrInAnUnknownMode) {
    const PixMap p = solid16(4, 4, 0x0F0F);
    fill(0);
    canvas.SetDrawingEnabled(false);
    canvas.DrawPixMapAt(0, 0, p, nullptr, 0);
    canvas.FillRect({0, 0, 8, 8});
    canvas.SetDrawingEnabled(true);
    canvas.DrawPixMapAt(0, 0, p, nullptr, 4);
    canvas.SetTransferMode(7);
    canvas.FillRect({0, 0, 8, 8});
    canvas.LineToPoint(10, 7);  // slanted
    canvas.SetPixel(1, 1, 5);
    EXPECT_TRUE(onlyInside(pixels(), kW, {}, 0, 0));
    EXPECT_EQ(canvas.GetPen(), (base::Point{10, 7}));
    canvas.Unlock();
    canvas.SetTransferMode(0);
    canvas.FillRect({0, 0, 8, 8});  // must not touch the unlocked surface
    ASSERT_TRUE(canvas.Lock());
    EXPECT_TRUE(onlyInside(pixels(), kW, {}, 0, 0));
}

TEST_P(CanvasTest, PenDrawingFollowsTheTransferMode) {
    canvas.SetPenColor(20);
    const uint16_t c = base(20);
    const uint16_t d = rgb(2, 2, 2);
    // Mode, pen colour, expected pixel over d.
    struct Case {
        uint8_t mode;
        int pen;
        uint16_t expected;
    };
    const Case cases[] = {
        {0, 20, c},
        {1, 20, c},
        {2, 20, tableBlend(d, c, 16, six())},
        {3, 20, tableBlend(d, c, 16, six())},
        {0, 0, 0},
        {1, 0, d},
        {2, 0, tableBlend(d, 0, 16, six())},
        {3, 0, d},
    };
    for (const auto& k : cases) {
        canvas.SetTransferMode(k.mode);
        canvas.SetPenColor(k.pen);
        fill(d);
        canvas.SetPixel(3, 3, k.pen);
        EXPECT_EQ(px(3, 3), k.expected) << "pixel, mode " << int(k.mode) << " pen " << k.pen;
        fill(d);
        canvas.MoveTo(2, 4);
        canvas.LineTo(5, 0);
        EXPECT_EQ(px(7, 4), k.expected) << "span, mode " << int(k.mode) << " pen " << k.pen;
        EXPECT_EQ(px(8, 4), d);
        fill(d);
        canvas.SetOpacity(0.5f);
        canvas.FillRect({1, 1, 3, 3});
        EXPECT_EQ(px(2, 2), k.expected) << "fill, mode " << int(k.mode) << " pen " << k.pen;
    }
}

TEST_P(CanvasTest, LinesIncludeBothEndsClipAndMoveThePen) {
    canvas.SetPenColor(20);
    const uint16_t c = base(20);
    fill(0);
    canvas.MoveTo(5, 5);
    canvas.LineTo(0, 0);
    EXPECT_TRUE(onlyInside(pixels(), kW, {5, 5, 6, 6}, c, 0));
    EXPECT_EQ(canvas.GetPen(), (base::Point{5, 5}));

    fill(0);
    canvas.MoveTo(-50, -50);
    canvas.LineTo(10, 20);  // wholly outside
    EXPECT_TRUE(onlyInside(pixels(), kW, {}, c, 0));
    EXPECT_EQ(canvas.GetPen(), (base::Point{-40, -30}));

    // A diagonal through the canvas: clipped, one pixel per row, ends included.
    fill(0);
    canvas.MoveTo(-10, -10);
    canvas.LineToPoint(100, 100);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) ASSERT_EQ(px(x, y), x == y ? c : 0) << x << ", " << y;
    }
    fill(0);
    canvas.MoveTo(1, 1);
    canvas.LineToPoint(7, 4);
    EXPECT_EQ(px(1, 1), c);
    EXPECT_EQ(px(7, 4), c);
    int drawn = 0;
    for (uint16_t p : pixels()) drawn += p == c;
    EXPECT_EQ(drawn, 7);  // one per column along the longer axis

    // Keyed blend down a column only touches pixels that are not 0.
    fill(0);
    px(30, 11) = rgb(4, 4, 4);
    canvas.SetTransferMode(3);
    canvas.MoveTo(30, 10);
    canvas.LineTo(0, 2);
    EXPECT_EQ(px(30, 10), 0);
    EXPECT_EQ(px(30, 11), tableBlend(rgb(4, 4, 4), c, 16, six()));
    EXPECT_EQ(px(30, 12), 0);
}

TEST_P(CanvasTest, FrameRectDrawsTheInnerEdgesAndKeepsThePen) {
    canvas.SetPenColor(20);
    fill(0);
    canvas.MoveTo(1, 2);
    canvas.FrameRect({10, 10, 14, 13});
    for (int y = 10; y < 13; ++y) {
        for (int x = 10; x < 14; ++x) {
            const bool edge = x == 10 || x == 13 || y == 10 || y == 12;
            EXPECT_EQ(px(x, y), edge ? base(20) : 0) << x << ", " << y;
        }
    }
    EXPECT_EQ(px(14, 10), 0);
    EXPECT_EQ(canvas.GetPen(), (base::Point{1, 2}));
}

TEST_P(CanvasTest, InvertRectComplementsAndPaintsZeroInTheTextColour) {
    canvas.SetTextColor(33);
    fill(0);
    px(2, 2) = 0x1234;
    canvas.InvertRect({1, 1, 4, 4});
    EXPECT_EQ(px(2, 2), uint16_t(~0x1234));  // bit 15 may be set in 555, as it always was
    EXPECT_EQ(px(1, 1), base(33));
    EXPECT_EQ(px(4, 4), 0);
}

TEST_P(CanvasTest, DrawBitsPaintsOnesAndZerosByMode) {
    canvas.SetPenColor(20);
    canvas.SetFillColor(21);
    const uint16_t p = base(20), f = base(21), d = rgb(1, 2, 3);
    // 5 × 2 bits, packed without padding: 10110 01101.
    const uint8_t bits[] = {0b10110011, 0b01000000};
    const int rows[2][5] = {{1, 0, 1, 1, 0}, {0, 1, 1, 0, 1}};
    for (int mode = 0; mode < 4; ++mode) {
        fill(d);
        canvas.DrawBits(bits, {3, 3, 8, 5}, mode);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool one = rows[y][x];
                uint16_t want = d;
                if (one || mode == 0 || mode == 2)
                    want = mode >= 2 ? tableBlend(d, one ? p : f, 16, six()) : (one ? p : f);
                EXPECT_EQ(px(3 + x, 3 + y), want) << "mode " << mode << " at " << x << ", " << y;
            }
        }
    }
    // Clipped on the left: the bits keep their places.
    fill(d);
    canvas.SetClipArea({5, 0, kW, kH});
    canvas.DrawBits(bits, {3, 3, 8, 5}, 1);
    EXPECT_EQ(px(4, 3), d);
    EXPECT_EQ(px(5, 3), p);
    EXPECT_EQ(px(7, 4), p);
    // Too few bytes for the picture: nothing.
    fill(d);
    canvas.DrawBits(std::span<const uint8_t>(bits, 1), {3, 3, 8, 5}, 0);
    EXPECT_TRUE(onlyInside(pixels(), kW, {}, 0, d));
}

TEST_P(CanvasTest, DrawMaskPaintsRunsInThePenAndFillColours) {
    PixMap p = picture8(4, 1, {0, 6, 6, 0});
    p.BuildMask();
    canvas.SetPenColor(20);
    canvas.SetFillColor(21);
    fill(0);
    canvas.DrawMask(p, p.bounds(), p.bounds(), 0);
    EXPECT_EQ(px(0, 0), base(21));
    EXPECT_EQ(px(1, 0), base(20));
    EXPECT_EQ(px(3, 0), base(21));
    fill(0);
    canvas.DrawMask(p, p.bounds(), p.bounds(), 1);
    EXPECT_EQ(px(0, 0), 0);
    EXPECT_EQ(px(2, 0), base(20));
    // Without a mask there is nothing to draw.
    fill(0);
    canvas.DrawMask(picture8(4, 1, {6, 6, 6, 6}), {0, 0, 4, 1}, {0, 0, 4, 1}, 0);
    EXPECT_EQ(px(1, 0), 0);
}

TEST_P(CanvasTest, ScrollMovesPixelsAndBlanksWhatItUncovers) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) px(x, y) = uint16_t(y * 256 + x + 1);
    const auto before = pixels();
    Rect exposed;
    const Rect r{4, 4, 40, 30};
    canvas.Scroll(r, 6, -3, exposed);
    EXPECT_EQ(exposed, r);  // the bounding area of the bottom rows and the left columns
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            uint16_t want = before[size_t(y * kW + x)];
            if (r.contains(base::Point{x, y}))
                want = (x < 10 || y >= 27) ? 0 : before[size_t((y + 3) * kW + x - 6)];
            ASSERT_EQ(px(x, y), want) << x << ", " << y;
        }
    }
    canvas.Scroll(r, -6, 0, exposed);
    EXPECT_EQ(exposed, (Rect{34, 4, 40, 30}));
    // A move as wide as the area blanks all of it.
    canvas.Scroll(r, 0, 26, exposed);
    EXPECT_EQ(exposed, r);
    EXPECT_EQ(px(20, 20), 0);
    canvas.Scroll(r, 0, 0, exposed);
    EXPECT_TRUE(exposed.empty());
}

TEST_P(CanvasTest, TilePixMapCoversOnlyItsRectAndEndsForEmptyPictures) {
    PixMap tile = picture8(3, 2, {1, 2, 3, 4, 5, 6});
    fill(0);
    canvas.SetUserClip({0, 0, 50, 40});
    canvas.SetTransferMode(0);
    canvas.TilePixMap({4, 5, 20, 11}, tile, nullptr);
    EXPECT_EQ(canvas.UserClip(), (Rect{0, 0, 50, 40}));
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool in = Rect{4, 5, 20, 11}.contains(base::Point{x, y});
            ASSERT_EQ(px(x, y), in ? base(1 + (x % 3) + 3 * (y % 2)) : 0) << x << ", " << y;
        }
    }
    PixMap empty;
    empty.Alloc8(0, 5);
    canvas.TilePixMap({0, 0, kW, kH}, empty, nullptr);  // the watchdog ends a loop that never ends
}

TEST_P(CanvasTest, CopyBitsComposesByMode) {
    Canvas source;
    source.SetBounds({0, 0, 4, 1});
    ASSERT_TRUE(source.Lock());
    const uint16_t c = rgb(20, 20, 20);
    source.Picture().pixels16()[0] = c;
    source.Picture().pixels16()[1] = 0;
    source.Picture().pixels16()[2] = c;
    source.Picture().pixels16()[3] = 0;
    source.Unlock();
    const uint16_t d = rgb(10, 10, 10);
    source.SetOpacity(0.75f);  // replaces the destination's opacity in the software modes
    canvas.SetOpacity(0.5f);
    const uint16_t blended = tableBlend(d, c, 24, six()), blended0 = tableBlend(d, 0, 24, six());
    const uint16_t expected[4][4] = {{c, 0, c, 0},
                                     {c, d, c, d},
                                     {blended, blended0, blended, blended0},
                                     {blended, d, blended, d}};
    for (int mode = 0; mode < 4; ++mode) {
        fill(d);
        canvas.CopyBits(source, {0, 0, 4, 1}, {8, 8, 12, 9}, mode);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(px(8 + x, 8), expected[mode][x]) << "mode " << mode << " x " << x;
        EXPECT_EQ(px(12, 8), d);
    }
    EXPECT_EQ(canvas.Opacity(), 0.5f);
}

TEST_P(CanvasTest, HalfSizeAveragesThreeSourcePixelsOfEveryOtherVisiblePixel) {
    // 4 × 2: the output is 2 × 1 from source pixels (0, 0) and (2, 0).
    const uint16_t a = rgb(30, 2, 4), b = rgb(2, 30, 8), e = rgb(4, 6, 28);
    PixMap p;
    p.Alloc16(4, 2);
    const uint16_t v[] = {a, b, 0, a, e, e, b, b};
    std::memcpy(p.pixels16(), v, sizeof v);
    p.BuildMask();
    BlitOption o;
    o.kind = BlitOption::kHalfSize;
    fill(0x0001);
    canvas.DrawPixMapAt(5, 5, p, nullptr, 1, &o);
    auto avg = [&](uint16_t u, uint16_t w) { return tableBlend(u, w, 16, six()); };
    EXPECT_EQ(px(5, 5), avg(avg(a, b), e));
    EXPECT_EQ(px(6, 5), 0x0001);  // source (2, 0) is transparent
    EXPECT_EQ(px(5, 6), 0x0001);  // only half the height is drawn
}

VS_BOTH_FORMATS(CanvasTest);

// Canvases resize their own surface and keep what both sizes share.
TEST(CanvasSurfaceTest, SetBoundsKeepsTheSharedPartAndLockFollowsTheSurface) {
    Canvas c;
    EXPECT_FALSE(c.Lock());
    c.SetBounds({0, 0, 4, 3});
    ASSERT_TRUE(c.Lock());
    EXPECT_EQ(c.Picture().bounds(), (Rect{0, 0, 4, 3}));
    for (int i = 0; i < 12; ++i) c.Picture().pixels16()[i] = uint16_t(i + 1);
    c.Unlock();
    EXPECT_FALSE(c.IsLocked());
    c.SetBounds({0, 0, 2, 5});
    ASSERT_TRUE(c.Lock());
    const uint16_t* p = c.Picture().pixels16();
    EXPECT_EQ(c.Picture().rowWidth(), 2);
    EXPECT_EQ((std::vector<uint16_t>(p, p + 10)),
              (std::vector<uint16_t>{1, 2, 5, 6, 9, 10, 0, 0, 0, 0}));
    c.Unlock();
    c.SetBounds({});
    EXPECT_FALSE(c.HasSurface());

    std::vector<uint16_t> outside(20 * 10, 7);
    c.AttachSurface(outside.data(), 20, {0, 0, 16, 10});
    ASSERT_TRUE(c.Lock());
    EXPECT_EQ(c.Picture().rowWidth(), 20);
    c.Unlock();
}

}  // namespace
}  // namespace vs::test
