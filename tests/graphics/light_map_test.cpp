#include "graphics/light_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace vs::test {
namespace {

using base::Point;
using base::Rect;
using graphics::lightLevel;
using graphics::LightMap;
using resources::PixMap;

void fillPattern(LightMap& m, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x) m.row(y)[x] = uint8_t(rng());
}

std::vector<uint8_t> bytes(const LightMap& m) {
    std::vector<uint8_t> v;
    for (int y = 0; y < m.height(); ++y) v.insert(v.end(), m.row(y), m.row(y) + m.width());
    return v;
}

TEST(LightMapTest, ConstructionZeroFillsAndRejectsBadSizes) {
    LightMap m(7, 5);
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.bounds(), (Rect{0, 0, 7, 5}));
    EXPECT_EQ(m.stride(), 7);
    EXPECT_TRUE(m.ownsData());
    EXPECT_EQ(m.Centre(), (Point{3, 2}));
    for (uint8_t b : bytes(m)) EXPECT_EQ(b, 0);

    const std::pair<int32_t, int32_t> sizes[] = {
        {0, 5}, {5, -1}, {LightMap::kMaxSide + 1, 1}, {1, 1 << 30}};
    for (auto [w, h] : sizes) {
        LightMap bad(w, h);
        EXPECT_TRUE(bad.empty()) << w << " x " << h;
        bad.Fill(nullptr, 9, 0);  // harmless on an empty map
    }
}

TEST(LightMapTest, LightLevelRoundsAndSaturates) {
    const struct {
        double f;
        int level;
    } cases[] = {{1.0, 32},
                 {0.65, 21},
                 {0.35, 11},
                 {7.98, 255},
                 {8.0, 255},
                 {1e30, 255},
                 {-0.5, 0},
                 {std::numeric_limits<double>::quiet_NaN(), 0},
                 {-std::numeric_limits<double>::infinity(), 0}};
    for (const auto& c : cases) EXPECT_EQ(lightLevel(c.f), c.level) << c.f;
}

TEST(LightMapTest, FillCombinesByOp) {
    const struct {
        int op;
        int expected;
    } cases[] = {{0, 200}, {1, 44}, {2, 156}, {3, 255}, {4, 0}, {5, 100}, {-1, 100}};
    for (const auto& c : cases) {
        LightMap m(4, 3);
        m.Fill(nullptr, 100, 0);
        const Rect part{1, 1, 9, 9};  // runs off the right and bottom edges
        m.Fill(&part, 200, c.op);
        EXPECT_EQ(m.at(0, 0), 100) << "op " << c.op;
        EXPECT_EQ(m.at(0, 2), 100) << "op " << c.op;
        EXPECT_EQ(m.at(1, 1), c.expected) << "op " << c.op;
        EXPECT_EQ(m.at(3, 2), c.expected) << "op " << c.op;
    }
}

TEST(LightMapTest, ViewSharesDataAndClips) {
    LightMap m(10, 8);
    LightMap v = m.View({6, 5, 20, 20});
    EXPECT_FALSE(v.ownsData());
    EXPECT_EQ(v.bounds(), (Rect{0, 0, 4, 3}));
    v.Fill(nullptr, 7, 0);
    EXPECT_EQ(m.at(5, 5), 0);
    EXPECT_EQ(m.at(6, 5), 7);
    EXPECT_EQ(m.at(9, 7), 7);
    EXPECT_EQ(m.at(6, 4), 0);
    EXPECT_TRUE(m.View({10, 0, 12, 8}).empty());
    // A moved view keeps pointing at the same bytes; destroying it frees nothing.
    LightMap moved = std::move(v);
    moved.Fill(nullptr, 8, 1);
    EXPECT_EQ(m.at(6, 5), 15);
}

// Each byte of dstRect ∩ bounds whose source byte lies inside the source map.
void referenceBlend(std::vector<uint8_t>& dst, int dw, int dh, Rect dstRect,
                    const std::vector<uint8_t>& src, int sw, int sh, Point sp) {
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            if (!dstRect.contains(Point{x, y})) continue;
            const int sx = sp.x + x - dstRect.left, sy = sp.y + y - dstRect.top;
            if (sx < 0 || sy < 0 || sx >= sw || sy >= sh) continue;
            dst[size_t(y * dw + x)] = uint8_t(dst[size_t(y * dw + x)] + src[size_t(sy * sw + sx)]);
        }
    }
}

TEST(LightMapTest, BlendOffEveryEdgeOfEitherMap) {
    const struct {
        Rect dstRect;
        Point srcPoint;
    } cases[] = {
        {{2, 2, 7, 6}, {0, 0}},     // inside both
        {{-3, 1, 4, 5}, {0, 0}},    // off the destination's left
        {{8, -2, 14, 3}, {1, 1}},   // off its right and top
        {{1, 5, 6, 20}, {0, 0}},    // off its bottom
        {{0, 0, 12, 9}, {-2, -3}},  // the source's left and top lie inside dstRect
        {{0, 0, 12, 9}, {3, 2}},    // and its right and bottom
        {{0, 0, 12, 9}, {40, 0}},   // no overlap
        {{5, 5, 5, 9}, {0, 0}},     // empty rectangle
    };
    LightMap src(6, 4);
    fillPattern(src, 1);
    for (const auto& c : cases) {
        LightMap dst(10, 7);
        fillPattern(dst, 2);
        std::vector<uint8_t> expected = bytes(dst);
        referenceBlend(expected, 10, 7, c.dstRect, bytes(src), 6, 4, c.srcPoint);
        dst.Blend(&c.dstRect, &src, c.srcPoint, LightMap::kAdd);
        EXPECT_EQ(bytes(dst), expected) << c.dstRect.left << "," << c.dstRect.top << " from "
                                        << c.srcPoint.x << "," << c.srcPoint.y;
    }
    // A source that is a view reads through its own stride.
    LightMap big(20, 20);
    fillPattern(big, 3);
    LightMap view = big.View({5, 5, 11, 9});
    LightMap dst(6, 4);
    const Rect all{0, 0, 6, 4};
    dst.Blend(&all, &view, {0, 0}, LightMap::kSet);
    EXPECT_EQ(dst.at(0, 0), big.at(5, 5));
    EXPECT_EQ(dst.at(5, 3), big.at(10, 8));
}

TEST(LightMapTest, CircleGradient) {
    LightMap m(20, 20);
    m.Fill(nullptr, 3, 0);
    m.CircleGradient(10, 10, 5, 64, 0, 1, 0);
    EXPECT_EQ(m.at(10, 10), 64);
    EXPECT_EQ(m.at(12, 10), 38);
    EXPECT_EQ(m.at(15, 10), 0);
    EXPECT_EQ(m.at(16, 10), 3);
    EXPECT_EQ(m.at(14, 14), 3);  // in the square, beyond the radius

    // Nothing for a radius below 1 or an exponent that is not positive.
    for (double e : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        m.CircleGradient(10, 10, 5, 200, 0, e, 0);
        EXPECT_EQ(m.at(10, 10), 64);
    }
    m.CircleGradient(10, 10, 0, 200, 0, 1, 0);
    EXPECT_EQ(m.at(10, 10), 64);
    // Centres far away, even where the square's corners would overflow.
    m.CircleGradient(INT32_MAX, INT32_MIN, INT32_MAX, 200, 0, 1, 0);
    EXPECT_EQ(m.at(0, 19), 3);
}

TEST(LightMapTest, EllipseGradient) {
    {
        // rx = ry = r0: a flat disc of inner.
        LightMap m(20, 20);
        m.EllipseGradient(10, 10, 4, 4, 4, 90, 0, 2, 0);
        EXPECT_EQ(m.at(10, 10), 90);
        EXPECT_EQ(m.at(14, 10), 90);
        EXPECT_EQ(m.at(10, 6), 90);
        EXPECT_EQ(m.at(13, 13), 0);  // outside the disc: unchanged
    }
    {
        // rx < ry: horizontal distances count double.
        LightMap m(30, 30);
        m.Fill(nullptr, 5, 0);
        m.EllipseGradient(10, 10, 0, 4, 8, 80, 0, 1, 0);
        EXPECT_EQ(m.at(10, 10), 80);
        EXPECT_EQ(m.at(12, 10), 40);
        EXPECT_EQ(m.at(10, 14), 40);
        EXPECT_EQ(m.at(14, 10), 0);
        EXPECT_EQ(m.at(10, 18), 0);
        EXPECT_EQ(m.at(15, 10), 5);
        EXPECT_EQ(m.at(14, 17), 5);  // in the box, outside the ellipse
    }
    {
        // rx > ry, with a flat core and an added glow.
        LightMap m(30, 30);
        m.Fill(nullptr, 10, 0);
        m.EllipseGradient(15, 15, 2, 9, 3, 100, 0, 1, LightMap::kAdd);
        EXPECT_EQ(m.at(15, 15), 110);
        EXPECT_EQ(m.at(15, 18), 10);             // E = 9: the edge
        EXPECT_EQ(m.at(20, 15), 10 + 100 - 43);  // E = 5: 100 − 3/7 · 100 = 57.1
        EXPECT_EQ(m.at(15, 19), 10);             // outside the box
    }
}

TEST(LightMapTest, AddShapeRisesFromTopToBottomOnVisiblePixels) {
    // Five rows: levels 0, 10, 20, 30, 40 of 40; value 0 is transparent.
    const uint8_t px[5 * 3] = {1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1};
    for (bool withMask : {false, true}) {
        PixMap p;
        p.SetView8(px, 3, Rect::fromSize(-1, -4, 3, 5));
        if (withMask) {
            p.BuildMask();
            ASSERT_TRUE(p.CheckMask());
        }
        LightMap m(6, 8);
        m.Fill(nullptr, 1, 0);
        m.AddShape(p, p.bounds(), {2, 1}, 40, LightMap::kAdd);
        const uint8_t expected[8][6] = {{1, 1, 1, 1, 1, 1},   {1, 1, 1, 1, 1, 1},
                                        {1, 1, 11, 1, 11, 1}, {1, 1, 21, 21, 21, 1},
                                        {1, 1, 31, 31, 1, 1}, {1, 1, 41, 41, 41, 1},
                                        {1, 1, 1, 1, 1, 1},   {1, 1, 1, 1, 1, 1}};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(m.at(x, y), expected[y][x]) << x << "," << y << " mask " << withMask;

        // Clipped by the map and by the source rectangle, rows still counted on the whole frame.
        LightMap small(2, 2);
        small.AddShape(p, {0, -2, 5, 1}, {-1, 0}, 40, LightMap::kSet);
        EXPECT_EQ(small.at(0, 0), 20);  // picture (1, −2), row 2
        EXPECT_EQ(small.at(1, 0), 0);   // beyond the picture
        EXPECT_EQ(small.at(0, 1), 0);   // picture (1, −1) is transparent
    }
    // A one-row frame adds the whole level.
    const uint8_t one[2] = {5, 5};
    PixMap p;
    p.SetView8(one, 2, {0, 0, 2, 1});
    LightMap m(2, 1);
    m.AddShape(p, p.bounds(), {0, 0}, 250, LightMap::kAddSaturating);
    m.AddShape(p, p.bounds(), {0, 0}, 250, LightMap::kAddSaturating);
    EXPECT_EQ(m.at(0, 0), 255);
}

}  // namespace
}  // namespace vs::test
