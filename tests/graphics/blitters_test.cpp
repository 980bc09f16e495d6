// The fast kernels against a deliberately simple per-pixel reference, on random pictures, masks,
// palettes, clips and positions, in both formats and on every instruction set this machine has.
// The reference walks every destination pixel, decodes masks into flags and blends through the
// lighting tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "canvas_fixture.h"
#include "resources/palette.h"

namespace vs::test {
namespace {

using graphics::BlitIsa;
using graphics::BlitOption;
using resources::DLPalette;
using resources::PixMap;

struct Sprite {
    bool depth8 = true;
    int rowWidth = 0;
    Rect bounds;
    std::vector<uint8_t> p8;
    std::vector<uint16_t> p16;
    std::vector<uint8_t> mask;  // empty: none
    bool hasMask = false;

    int value(int x, int y) const {
        const size_t i = size_t(y - bounds.top) * size_t(rowWidth) + size_t(x - bounds.left);
        return depth8 ? p8[i] : p16[i];
    }
    // The mask decoded into one flag per pixel.
    std::vector<bool> visibility() const {
        std::vector<bool> v;
        size_t at = 0;
        for (int y = 0; y < bounds.height(); ++y) {
            for (uint8_t b; (b = mask[at++]) != 0;) v.insert(v.end(), b & 0x7F, (b & 0x80) != 0);
        }
        return v;
    }
    PixMap view() const {
        PixMap m;
        if (depth8) {
            m.SetView8(p8.data(), rowWidth, bounds);
        } else {
            m.SetView16(p16.data(), rowWidth, bounds);
        }
        if (hasMask) m.SetMaskView(mask.data(), mask.size());
        return m;
    }
};

// Runs of random kinds and lengths (up to 127), or the mask of the pixels themselves.
std::vector<uint8_t> randomMask(std::mt19937& rng, int w, int h) {
    std::vector<uint8_t> m;
    for (int y = 0; y < h; ++y) {
        int left = w;
        while (left > 0) {
            const int most = std::min(left, 127);
            const int len = rng() % 4 == 0 ? most : 1 + int(rng() % uint32_t(std::min(most, 9)));
            if (rng() % 50 == 0) m.push_back(0x80);  // a visible run of no pixels is harmless
            m.push_back(uint8_t(len | (rng() % 2 ? 0x80 : 0)));
            left -= len;
        }
        m.push_back(0);
    }
    return m;
}

Sprite randomSprite(std::mt19937& rng) {
    Sprite s;
    s.depth8 = rng() % 3 != 0;
    const int wide[] = {1, 2, 7, 15, 16, 17, 31, 33, 63, 65, 129, 200, 300};
    const int w = rng() % 3 == 0 ? wide[rng() % std::size(wide)] : 1 + int(rng() % 70);
    const int h = 1 + int(rng() % 40);
    s.rowWidth = w + (rng() % 4 == 0 ? int(rng() % 5) : 0);
    const int left = int(rng() % 41) - 20, top = int(rng() % 41) - 20;
    s.bounds = Rect::fromSize(left, top, w, h);
    const size_t n = size_t(s.rowWidth) * size_t(h);
    // Plenty of transparent pixels, in runs and alone.
    auto transparent = [&](int x) { return (x / 5) % 3 == 0 || rng() % 6 == 0; };
    if (s.depth8) {
        s.p8.resize(n);
        for (size_t i = 0; i < n; ++i)
            s.p8[i] = transparent(int(i % size_t(s.rowWidth))) ? 0 : uint8_t(rng());
    } else {
        s.p16.resize(n);
        for (size_t i = 0; i < n; ++i)
            s.p16[i] = transparent(int(i % size_t(s.rowWidth))) ? 0 : uint16_t(rng());
    }
    const uint32_t kindOfMask = rng() % 3;
    if (kindOfMask == 1) {
        s.mask = randomMask(rng, w, h);
        s.hasMask = true;
    } else if (kindOfMask == 2) {
        PixMap m = s.view();
        m.BuildMask();
        s.mask.assign(m.mask(), m.mask() + m.maskSize());
        s.hasMask = true;
    }
    return s;
}

struct Target {
    Rect surface;
    Rect clip, userClip;
    std::vector<uint16_t> pixels;

    Rect clipRect() const {
        Rect r = clip;
        if (!userClip.empty()) r = r.intersect(userClip);
        return r.intersect(surface);
    }
    uint16_t& at(int x, int y) {
        return pixels[size_t(y - surface.top) * size_t(surface.width()) + size_t(x - surface.left)];
    }
};

uint32_t weightOf(float f) {
    const float v = std::floor(f * 32 + 0.5f);
    return v <= 0 || v != v ? 0 : v >= 32 ? 32 : uint32_t(v);
}

// DrawPixMap, one pixel at a time.
void referenceDraw(Target& t, const Sprite& s, Rect srcRect, Rect dstRect, int mode,
                   const uint16_t* pal, const BlitOption* opt, float opacity, bool six) {
    if (mode < 0 || mode > 3) return;
    enum {
        Copy,
        Key,
        Blend,
        KeyBlend,
        See,
        Half
    } op = mode == 0   ? Copy
           : mode == 1 ? Key
           : mode == 2 ? Blend
                       : KeyBlend;
    uint32_t w = weightOf(opacity);
    int tint = 0;
    if (mode == 1 && opt) {
        switch (opt->kind) {
            case 0:
                break;
            case 1:
                op = KeyBlend, w = weightOf(opt->factor);
                break;
            case 2:
                tint = opt->tint;
                break;
            case 3:
                op = KeyBlend, w = weightOf(opt->factor), tint = opt->tint;
                break;
            case 4:
                op = Half;
                break;
            case 6:
                op = Half, tint = opt->tint;
                break;
            case 8:
                if (!opt->mask || opt->maskStride <= 0 || opt->maskStride < opt->maskWidth ||
                    opt->maskWidth < srcRect.width() || opt->maskHeight < srcRect.height())
                    return;
                op = See;
                break;
            default:
                return;
        }
    }
    const std::vector<bool> vis =
        s.hasMask && (mode == 1 || mode == 3) ? s.visibility() : std::vector<bool>();
    auto colour = [&](int x, int y) -> uint16_t {
        const int v = s.value(x, y);
        if (!s.depth8) return uint16_t(v);
        return pal[v >= 48 ? (v + tint * 8) & 255 : v];
    };
    auto visible = [&](int x, int y) {
        if (mode == 0 || mode == 2) return true;
        if (!vis.empty())
            return bool(vis[size_t(y - s.bounds.top) * size_t(s.bounds.width()) +
                            size_t(x - s.bounds.left)]);
        return s.value(x, y) != 0;
    };
    const Rect clip = t.clipRect();
    auto sourceOf = [&](int x, int y, int& sx, int& sy) {
        sx = srcRect.left + x - dstRect.left, sy = srcRect.top + y - dstRect.top;
        return clip.contains(base::Point{x, y}) && srcRect.contains(base::Point{sx, sy}) &&
               s.bounds.contains(base::Point{sx, sy});
    };
    if (op != Half) {
        for (int y = dstRect.top; y < dstRect.bottom; ++y) {
            for (int x = dstRect.left; x < dstRect.right; ++x) {
                int sx, sy;
                if (!sourceOf(x, y, sx, sy)) continue;
                uint16_t& d = t.at(x, y);
                const uint16_t c = colour(sx, sy);
                switch (op) {
                    case Copy:
                        d = c;
                        break;
                    case Key:
                        if (visible(sx, sy)) d = c;
                        break;
                    case Blend:
                        d = tableBlend(d, c, int(w), six);
                        break;
                    case KeyBlend:
                        if (visible(sx, sy)) d = tableBlend(d, c, int(w), six);
                        break;
                    case See:
                        if (visible(sx, sy)) {
                            const int m =
                                opt->mask[size_t(sy - srcRect.top) * size_t(opt->maskStride) +
                                          size_t(sx - srcRect.left)];
                            d = tableBlend(d, c, std::min(m, 32), six);
                        }
                        break;
                    case Half:
                        break;
                }
            }
        }
        return;
    }
    // Half size: the area that a full-size blit would cover, then half of it from its corner.
    Rect area{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = dstRect.top; y < dstRect.bottom; ++y) {
        for (int x = dstRect.left; x < dstRect.right; ++x) {
            int sx, sy;
            if (sourceOf(x, y, sx, sy))
                area = {std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                        std::max(area.bottom, y + 1)};
        }
    }
    if (area.empty()) return;
    auto avg = [&](uint16_t u, uint16_t v) { return tableBlend(u, v, 16, six); };
    for (int Y = 0; Y < area.height() / 2; ++Y) {
        for (int X = 0; X < area.width() / 2; ++X) {
            int sx, sy;
            sourceOf(area.left + 2 * X, area.top + 2 * Y, sx, sy);
            if (!visible(sx, sy)) continue;
            t.at(area.left + X, area.top + Y) =
                avg(avg(colour(sx, sy), colour(sx + 1, sy)), colour(sx, sy + 1));
        }
    }
}

void referenceDrawMask(Target& t, const Sprite& s, Rect srcRect, Rect dstRect, int mode,
                       uint16_t on, uint16_t off, bool six) {
    if (mode < 0 || mode > 3 || !s.hasMask) return;
    const std::vector<bool> vis = s.visibility();
    const Rect clip = t.clipRect();
    for (int y = dstRect.top; y < dstRect.bottom; ++y) {
        for (int x = dstRect.left; x < dstRect.right; ++x) {
            const int sx = srcRect.left + x - dstRect.left, sy = srcRect.top + y - dstRect.top;
            if (!clip.contains(base::Point{x, y}) || !srcRect.contains(base::Point{sx, sy}) ||
                !s.bounds.contains(base::Point{sx, sy}))
                continue;
            const bool v = vis[size_t(sy - s.bounds.top) * size_t(s.bounds.width()) +
                               size_t(sx - s.bounds.left)];
            if (!v && (mode == 1 || mode == 3)) continue;
            uint16_t& d = t.at(x, y);
            d = mode >= 2 ? tableBlend(d, v ? on : off, 16, six) : (v ? on : off);
        }
    }
}

// Often a large part of `around`, sometimes any part of it or a little beyond.
Rect randomRect(std::mt19937& rng, const Rect& around, int slack) {
    auto coord = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
    const int w = around.width(), h = around.height();
    if (rng() % 2) {
        return {coord(around.left - slack, around.left + w / 3),
                coord(around.top - slack, around.top + h / 3),
                coord(around.right - w / 3, around.right + slack),
                coord(around.bottom - h / 3, around.bottom + slack)};
    }
    int l = coord(around.left - slack, around.right + slack),
        r = coord(around.left - slack, around.right + slack);
    int t = coord(around.top - slack, around.bottom + slack),
        b = coord(around.top - slack, around.bottom + slack);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return {l, t, r, b};
}

class BlitterDifferential : public testing::TestWithParam<std::tuple<PixelFormat, BlitIsa>> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(std::get<0>(GetParam()));
        if (!graphics::blitIsaAvailable(std::get<1>(GetParam())))
            GTEST_SKIP() << "instruction set not available";
        graphics::selectBlitIsa(std::get<1>(GetParam()));
        files.addEverything();
        files.files["marvu.pal"] = palFile([](int i) {
            return Rgb{uint8_t(i * 5 + 3), uint8_t(i * 11), uint8_t(250 - i)};
        });
        palettes = std::make_unique<resources::PaletteManager>(files);
    }
    void TearDown() override {
        canvas.reset();
        palettes.reset();
        graphics::selectPixelFormat(PixelFormat::k565);
        graphics::selectBlitIsa(BlitIsa::Avx2);
    }
    bool six() const { return std::get<0>(GetParam()) == PixelFormat::k565; }

    // A canvas with a random surface, clip and user clip, and the same state for the reference.
    void makeTarget(std::mt19937& rng) {
        const int w = 40 + int(rng() % 160), h = 20 + int(rng() % 60);
        const base::Point origin{int(rng() % 21) - 10, int(rng() % 21) - 10};
        canvas = std::make_unique<graphics::Canvas>();
        canvas->SetOrigin(origin);
        canvas->SetBounds({0, 0, w, h});
        ref.surface = canvas->SurfaceRect();
        ref.clip = rng() % 2 ? ref.surface : randomRect(rng, ref.surface, 8);
        ref.userClip = rng() % 3 ? Rect{} : randomRect(rng, ref.surface, 8);
        canvas->SetClipArea(ref.clip);
        canvas->SetUserClip(ref.userClip);
        ASSERT_TRUE(canvas->Lock());
        ref.pixels.resize(size_t(w) * size_t(h));
        for (auto& p : ref.pixels) p = uint16_t(rng() % 5 == 0 ? 0 : rng());
        std::copy(ref.pixels.begin(), ref.pixels.end(), canvas->Picture().pixels16());
    }
    std::vector<uint16_t> drawn() const {
        const uint16_t* p = canvas->Picture().pixels16();
        return {p, p + ref.pixels.size()};
    }

    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<graphics::Canvas> canvas;
    Target ref;
};

TEST_P(BlitterDifferential, DrawPixMapMatchesThePerPixelReference) {
    std::mt19937 rng(1234 + unsigned(six()));
    for (int round = 0; round < 4000; ++round) {
        makeTarget(rng);
        const Sprite s = randomSprite(rng);
        DLPalette pal;
        for (int i = 0; i < 256; ++i) pal.SetColor(i, uint16_t(rng()));

        Rect srcRect = rng() % 3 ? s.bounds : randomRect(rng, s.bounds, 4);
        // Anywhere from just off the left or top edge to just off the right or bottom edge.
        const int dx = int(rng() % uint32_t(ref.surface.width() + srcRect.width())) -
                       srcRect.width() + 4 + ref.surface.left - srcRect.left;
        const int dy = int(rng() % uint32_t(ref.surface.height() + srcRect.height())) -
                       srcRect.height() + 4 + ref.surface.top - srcRect.top;
        Rect dstRect = srcRect.offset(dx, dy);
        if (rng() % 5 == 0)
            dstRect.right += int(rng() % 9) - 4, dstRect.bottom += int(rng() % 9) - 4;
        const int mode = rng() % 20 == 0 ? int(rng() % 3) + 4 : rng() % 2 ? 1 : int(rng() % 4);

        BlitOption opt;
        const int kinds[] = {0, 1, 2, 3, 4, 6, 8, 8, 5, 7};
        opt.kind = kinds[rng() % std::size(kinds)];
        opt.factor = float(int(rng() % 200) - 50) / 100.0f;
        opt.tint = int(rng() % 81) - 40;
        std::vector<uint8_t> seeThrough;
        if (opt.kind == 8) {
            opt.maskWidth = srcRect.width() + int(rng() % 3) - (rng() % 8 == 0 ? 1 : 0);
            opt.maskHeight = srcRect.height() + int(rng() % 3) - (rng() % 8 == 0 ? 1 : 0);
            opt.maskStride =
                std::max(opt.maskWidth, 1) + int(rng() % 3) - (rng() % 20 == 0 ? 50 : 0);
            if (opt.maskWidth > 0 && opt.maskHeight > 0 && opt.maskStride > 0) {
                seeThrough.resize(size_t(opt.maskStride) * size_t(opt.maskHeight));
                for (auto& b : seeThrough) b = uint8_t(rng() % 40);
                opt.mask = seeThrough.data();
            }
        }
        const bool withOption = rng() % 2;
        const float opacity = float(int(rng() % 160) - 30) / 100.0f;
        canvas->SetOpacity(opacity);

        const PixMap view = s.view();
        canvas->DrawPixMap(view, srcRect, dstRect, mode, &pal, withOption ? &opt : nullptr);
        referenceDraw(ref, s, srcRect, dstRect, mode, pal.colors(), withOption ? &opt : nullptr,
                      opacity, six());
        const std::string what = "round " + std::to_string(round) + " mode " +
                                 std::to_string(mode) + " kind " +
                                 std::to_string(withOption ? opt.kind : -1) +
                                 (s.depth8 ? " 8-bit" : " 16-bit") + (s.hasMask ? " masked" : "");
        ASSERT_TRUE(
            samePicture(drawn(), ref.pixels, ref.surface.width(), ref.surface.height(), what));
    }
}

TEST_P(BlitterDifferential, DrawMaskAndFillRectMatchThePerPixelReference) {
    std::mt19937 rng(99 + unsigned(six()));
    for (int round = 0; round < 1500; ++round) {
        makeTarget(rng);
        const int mode = int(rng() % 5);
        const uint16_t on = uint16_t(rng()), off = uint16_t(rng());
        DLPalette pal;
        pal.SetColor(3, on);
        pal.SetColor(4, off);
        canvas->SetPenColor(3);
        canvas->SetFillColor(4);
        canvas->SetTransferMode(uint8_t(mode));
        if (round % 2) {
            Sprite s = randomSprite(rng);
            if (!s.hasMask)
                s.mask = randomMask(rng, s.bounds.width(), s.bounds.height()), s.hasMask = true;
            const Rect srcRect = rng() % 2 ? s.bounds : randomRect(rng, s.bounds, 4);
            const Rect dstRect =
                srcRect.offset(int(rng() % 100) - 50 - srcRect.left + ref.surface.left,
                               int(rng() % 60) - 30 - srcRect.top + ref.surface.top);
            const PixMap view = s.view();
            canvas->DrawMask(view, srcRect, dstRect, mode, &pal);
            referenceDrawMask(ref, s, srcRect, dstRect, mode, on, off, six());
        } else {
            const int pen = rng() % 8 == 0 ? 0 : int(rng() % 256);
            canvas->SetPenColor(pen);
            const Rect r = randomRect(rng, ref.surface, 10);
            const float opacity = float(int(rng() % 160) - 30) / 100.0f;
            canvas->SetOpacity(opacity);
            canvas->FillRect(r);
            const Rect area = r.intersect(ref.clipRect());
            const uint16_t c = palettes->GetBasePalette()->GetColor(pen);
            const bool skip = mode > 3 || ((mode == 1 || mode == 3) && pen == 0);
            for (int y = area.top; y < area.bottom && !skip; ++y) {
                for (int x = area.left; x < area.right; ++x) {
                    uint16_t& d = ref.at(x, y);
                    d = mode <= 1 ? c : tableBlend(d, c, int(weightOf(opacity)), six());
                }
            }
        }
        ASSERT_TRUE(
            samePicture(drawn(), ref.pixels, ref.surface.width(), ref.surface.height(),
                        "round " + std::to_string(round) + " mode " + std::to_string(mode)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndIsas, BlitterDifferential,
    testing::Combine(testing::Values(PixelFormat::k555, PixelFormat::k565),
                     testing::Values(BlitIsa::Baseline, BlitIsa::Avx2)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param) == PixelFormat::k565 ? "565" : "555") +
               (std::get<1>(info.param) == BlitIsa::Avx2 ? "Avx2" : "Baseline");
    });

}  // namespace
}  // namespace vs::test
