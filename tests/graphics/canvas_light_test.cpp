// LightBlit and DrawShadow against a plain per-pixel reference through the lighting tables, on
// random pictures, maps, levels, clips and positions, in both formats and on every instruction
// set this machine has; then the cases the reference cannot show on its own.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "graphics/blitters.h"
#include "graphics/canvas.h"
#include "graphics/light_blitters.h"
#include "graphics/light_map.h"
#include "graphics/pixel_format.h"

namespace vs::test {
namespace {

using base::Point;
using base::Rect;
using graphics::BlitIsa;
using graphics::LightMap;
using graphics::PixelFormat;
using resources::PixMap;

uint16_t scaled(uint16_t c, int level) {
    return graphics::pixelFunctions().scale(c, uint8_t(level));
}

// A sprite with transparent runs and single pixels, and its mask.
struct Sprite {
    std::vector<uint8_t> pixels;
    Rect bounds;
    PixMap map;

    Sprite(std::mt19937& rng, int w, int h, Rect at) : pixels(size_t(w) * size_t(h)), bounds(at) {
        for (size_t i = 0; i < pixels.size(); ++i) {
            const int x = int(i % size_t(w));
            pixels[i] = (x / 4) % 3 == 0 || rng() % 5 == 0 ? 0 : uint8_t(1 + rng() % 255);
        }
        map.SetView8(pixels.data(), w, bounds);
        map.BuildMask();
        map.CheckMask();
    }
    bool visible(int x, int y) const {
        return pixels[size_t(y - bounds.top) * size_t(bounds.width()) + size_t(x - bounds.left)];
    }
};

Rect randomRect(std::mt19937& rng, Rect around, int slack) {
    auto coord = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
    int l = coord(around.left - slack, around.right + slack),
        r = coord(around.left - slack, around.right + slack),
        t = coord(around.top - slack, around.bottom + slack),
        b = coord(around.top - slack, around.bottom + slack);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return {l, t, r, b};
}

class LightDifferential : public testing::TestWithParam<std::tuple<PixelFormat, BlitIsa>> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(std::get<0>(GetParam()));
        if (!graphics::blitIsaAvailable(std::get<1>(GetParam())))
            GTEST_SKIP() << "instruction set not available";
        graphics::selectBlitIsa(std::get<1>(GetParam()));
    }
    void TearDown() override {
        canvas.reset();
        graphics::selectPixelFormat(PixelFormat::k565);
        graphics::selectBlitIsa(BlitIsa::Avx2);
    }

    // A canvas at a random origin with random pixels and a random clip.
    void makeTarget(std::mt19937& rng) {
        const int w = 30 + int(rng() % 120), h = 10 + int(rng() % 50);
        canvas = std::make_unique<graphics::Canvas>();
        canvas->SetOrigin({int(rng() % 21) - 10, int(rng() % 21) - 10});
        canvas->SetBounds({0, 0, w, h});
        surface = canvas->SurfaceRect();
        clip = rng() % 3 ? randomRect(rng, surface, 6) : surface;
        canvas->SetClipArea(clip);
        clip = clip.intersect(surface);
        ASSERT_TRUE(canvas->Lock());
        expected.resize(size_t(w) * size_t(h));
        for (auto& p : expected) p = uint16_t(rng());
        std::copy(expected.begin(), expected.end(), canvas->Picture().pixels16());
    }
    uint16_t& at(int x, int y) {
        return expected[size_t(y - surface.top) * size_t(surface.width()) +
                        size_t(x - surface.left)];
    }
    bool same() const {
        const uint16_t* p = canvas->Picture().pixels16();
        for (size_t i = 0; i < expected.size(); ++i) {
            if (p[i] != expected[i]) {
                ADD_FAILURE() << "pixel " << i % size_t(surface.width()) << ","
                              << i / size_t(surface.width()) << " is " << p[i] << ", expected "
                              << expected[i];
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<graphics::Canvas> canvas;
    Rect surface, clip;
    std::vector<uint16_t> expected;
};

TEST_P(LightDifferential, LightBlitMatchesThePerPixelReference) {
    std::mt19937 rng(77 + unsigned(std::get<0>(GetParam()) == PixelFormat::k565));
    for (int round = 0; round < 1500; ++round) {
        makeTarget(rng);
        LightMap full(1 + int(rng() % 90), 1 + int(rng() % 50));
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                full.row(y)[x] = uint8_t(rng() % 4 ? rng() % 80 : rng());
        // Half the time a view, whose stride is wider than its width.
        LightMap view = full.View(randomRect(rng, full.bounds(), 0));
        const LightMap& map = rng() % 2 && !view.empty() ? view : full;
        const Rect dstRect = randomRect(rng, surface, 20);
        const Rect srcRect = Rect::fromSize(int(rng() % 41) - 20, int(rng() % 41) - 20, 5, 5);
        for (int y = dstRect.top; y < dstRect.bottom; ++y) {
            for (int x = dstRect.left; x < dstRect.right; ++x) {
                const int mx = srcRect.left + x - dstRect.left, my = srcRect.top + y - dstRect.top;
                if (!clip.contains(Point{x, y}) || !map.bounds().contains(Point{mx, my})) continue;
                at(x, y) = scaled(at(x, y), map.at(mx, my));
            }
        }
        canvas->LightBlit(map, srcRect, dstRect);
        ASSERT_TRUE(same()) << "round " << round;
    }
}

TEST_P(LightDifferential, DrawShadowMatchesThePerPixelReference) {
    std::mt19937 rng(91 + unsigned(std::get<0>(GetParam()) == PixelFormat::k565));
    for (int round = 0; round < 1500; ++round) {
        makeTarget(rng);
        const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 50);
        const Sprite s(rng, w, h, Rect::fromSize(int(rng() % 21) - 10, int(rng() % 21) - 10, w, h));
        const Rect srcRect = rng() % 2 ? s.bounds : randomRect(rng, s.bounds, 4);
        const Rect dstRect = randomRect(rng, surface, 30);
        const int32_t offset = int(rng() % 11) - 5;
        const float step = rng() % 4 ? 0.3f + float(rng() % 40) / 10 : 2.0f;
        const float slant = float(int(rng() % 41) - 20) / 10;
        const float darkness = float(rng() % 100) / 40;
        const int level = int(std::floor(darkness * 32 + 0.5f));

        const Rect src = srcRect.intersect(s.bounds);
        if (!src.empty()) {
            const int rows =
                int(std::floor((double(dstRect.bottom) + offset - dstRect.top) / step));
            const int y0 = dstRect.bottom + offset - rows - 2;
            for (int k = 0;; ++k) {
                const int m = int(std::floor(double(k) * step + 0.5));
                if (m >= src.height()) break;
                const int y = y0 + k;
                const int x =
                    int(std::floor(double(rows) * slant + dstRect.left - double(k) * slant));
                for (int c = 0; c < src.width(); ++c) {
                    if (!s.visible(src.left + c, src.top + m)) continue;
                    if (clip.contains(Point{x + c, y})) at(x + c, y) = scaled(at(x + c, y), level);
                }
            }
        }
        canvas->DrawShadow(s.map, srcRect, dstRect, 3, darkness, offset, step, slant);
        ASSERT_TRUE(same()) << "round " << round;
    }
}

TEST_P(LightDifferential, KernelsMatchTheTablesForEveryPixelAndLevel) {
    const auto& f = graphics::lightFunctions();
    std::vector<uint16_t> all(65536), out(65536);
    std::vector<uint8_t> levels(65536);
    for (int level = 0; level < 256; ++level) {
        for (int c = 0; c < 65536; ++c) all[size_t(c)] = uint16_t(c);
        out = all;
        f.darken(out.data(), 65536, uint8_t(level));
        std::fill(levels.begin(), levels.end(), uint8_t(level));
        f.lightBlit(all.data(), 256, levels.data(), 256, 256, 256);
        for (int c = 0; c < 65536; ++c) {
            const uint16_t want = scaled(uint16_t(c), level);
            ASSERT_EQ(out[size_t(c)], want) << "darken " << c << " at " << level;
            ASSERT_EQ(all[size_t(c)], want) << "light blit " << c << " at " << level;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndIsas, LightDifferential,
    testing::Combine(testing::Values(PixelFormat::k555, PixelFormat::k565),
                     testing::Values(BlitIsa::Baseline, BlitIsa::Avx2)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == PixelFormat::k565 ? "565" : "555") +
               (std::get<1>(info.param) == BlitIsa::Avx2 ? "Avx2" : "Baseline");
    });

class LightCanvasTest : public testing::TestWithParam<PixelFormat> {
  protected:
    static constexpr int kW = 40, kH = 50;
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        canvas.SetBounds({0, 0, kW, kH});
        canvas.SetClipArea({0, 0, kW, kH});
        ASSERT_TRUE(canvas.Lock());
        fill(colour(20, 40, 10));
    }
    void TearDown() override { graphics::selectPixelFormat(PixelFormat::k565); }
    bool six() const { return GetParam() == PixelFormat::k565; }
    uint16_t colour(int r, int g, int b) const {
        if (!six()) g /= 2;
        return six() ? uint16_t(r << 11 | g << 5 | b) : uint16_t(r << 10 | g << 5 | b);
    }
    uint16_t& px(int x, int y) { return canvas.Picture().pixels16()[y * kW + x]; }
    void fill(uint16_t c) {
        for (int i = 0; i < kW * kH; ++i) canvas.Picture().pixels16()[i] = c;
    }
    int darkened(uint16_t plain) {
        int n = 0;
        for (int i = 0; i < kW * kH; ++i) n += canvas.Picture().pixels16()[i] != plain;
        return n;
    }
    graphics::Canvas canvas;
};

TEST_P(LightCanvasTest, LightBlitLevelsThirtyTwoZeroAndSixtyFour) {
    const struct {
        int level;
        uint16_t result;
    } cases[] = {{32, colour(20, 40, 10)}, {0, 0}, {64, colour(31, 63, 20)}};
    for (const auto& c : cases) {
        fill(colour(20, 40, 10));
        LightMap m(kW, kH);
        m.Fill(nullptr, uint8_t(c.level), 0);
        canvas.LightBlit(m, m.bounds(), {0, 0, kW, kH});
        EXPECT_EQ(px(0, 0), c.result) << c.level;
        EXPECT_EQ(px(kW - 1, kH - 1), c.result) << c.level;
    }
}

TEST_P(LightCanvasTest, ShadowSquashesByStepAndDrawsOnlyInModeThree) {
    // A solid 4 × 40 sprite: with step 2 and offset 0 the shadow is 20 rows of mask rows 0, 2, …
    std::vector<uint8_t> solid(4 * 40, 7);
    PixMap p;
    p.SetView8(solid.data(), 4, {0, 0, 4, 40});
    p.BuildMask();
    const uint16_t plain = px(0, 0);
    for (int mode : {0, 1, 2, 4}) {
        canvas.DrawShadow(p, p.bounds(), {5, 5, 9, 45}, mode, 0.5f, 0, 2.0f, 0.0f);
        EXPECT_EQ(darkened(plain), 0) << "mode " << mode;
    }
    canvas.DrawShadow(p, p.bounds(), {5, 5, 9, 45}, 3, 0.5f, 0, 2.0f, 0.0f);
    EXPECT_EQ(darkened(plain), 20 * 4);
    EXPECT_EQ(px(5, 45 - 22), scaled(plain, 16));  // y0 = bottom − rows − 2
    EXPECT_EQ(px(8, 45 - 3), scaled(plain, 16));
    EXPECT_EQ(px(5, 45 - 2), plain);
}

TEST_P(LightCanvasTest, OnePixelBarShowsTheShear) {
    // A 1 × 10 bar, step 1, slant 1: its foot stays under the sprite, its top leans 10 pixels.
    std::vector<uint8_t> bar(10, 3);
    PixMap p;
    p.SetView8(bar.data(), 1, {0, 0, 1, 10});
    p.BuildMask();
    const uint16_t plain = px(0, 0);
    canvas.DrawShadow(p, p.bounds(), {10, 20, 11, 30}, 3, 0.0f, 0, 1.0f, 1.0f);
    EXPECT_EQ(darkened(plain), 10);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(px(20 - k, 18 + k), 0) << "row " << k;
}

// Aborts the process when the test body runs away instead of finishing.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fputs("watchdog: the drawing did not finish\n", stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

TEST_P(LightCanvasTest, HostileArgumentsDrawSafelyAndFinish) {
    Watchdog watchdog(std::chrono::seconds(60));
    std::vector<uint8_t> solid(8 * 8, 1);
    PixMap p;
    p.SetView8(solid.data(), 8, {0, 0, 8, 8});
    p.BuildMask();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const uint16_t plain = px(0, 0);
    const struct {
        Rect dst;
        int32_t offset;
        float darkness, step, slant;
        bool draws;
    } cases[] = {
        {{0, 0, 8, 8}, 0, nan, 1, 0, false},
        {{0, 0, 8, 8}, 0, 0.5f, nan, 0, false},
        {{0, 0, 8, 8}, 0, 0.5f, 1, inf, false},
        {{0, 0, 8, 8}, 0, 0.5f, 0, 0, false},
        {{0, 0, 8, 8}, 0, 0.5f, -1, 0, false},
        {{0, 0, 8, 8}, 0, 0.5f, inf, 0, false},
        {{0, 0, 8, 8}, 0, 0.5f, 1e-30f, 0, true},  // rows run far above the canvas
        {{0, 0, 8, 30}, 0, 0.5f, 1e-6f, 0.001f, true},
        {{0, 0, 8, 8}, 0, 0.5f, 1, 1e30f, false},
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, INT32_MAX, 0.5f, 0.5f, -1e9f, false},
        {{0, INT32_MIN, 8, INT32_MAX}, INT32_MIN, 1e30f, 1e-20f, 3, false},
    };
    for (const auto& c : cases) {
        fill(plain);
        canvas.DrawShadow(p, p.bounds(), c.dst, 3, c.darkness, c.offset, c.step, c.slant);
        if (!c.draws) {
            EXPECT_EQ(darkened(plain), 0) << c.step << " " << c.slant;
        }
    }
    // Light maps placed at the far ends of the coordinates.
    LightMap m(8, 8);
    canvas.LightBlit(m, {INT32_MIN, INT32_MIN, 0, 0}, {INT32_MAX - 1, INT32_MAX - 1, 0, 0});
    canvas.LightBlit(m, {INT32_MAX, INT32_MAX, 0, 0}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    EXPECT_EQ(darkened(plain), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, LightCanvasTest,
                         testing::Values(PixelFormat::k555, PixelFormat::k565),
                         [](const auto& info) {
                             return std::string(info.param == PixelFormat::k565 ? "565" : "555");
                         });

}  // namespace
}  // namespace vs::test
