// Exact pixels of composed characters on tiny parts (one colour per part), in both formats.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas_fixture.h"
#include "graphics/light_map.h"
#include "world/figure_fixture.h"
#include "world/image_lib_support.h"

namespace vs::world {
namespace {

using base::Point;
using base::Rect;
using graphics::PixelFormat;
using test::kBodyRect;
using test::kHeadRect;
using test::kShieldRect;
using test::kWeaponRect;

constexpr int kW = 48, kH = 48;
constexpr uint16_t kGround = 0x0421;
// Where the figures' cells lie on the canvas.
constexpr Point kCell{12, 12};

class FigurePixels : public testing::TestWithParam<PixelFormat> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        // Every palette type its own colours, so a part drawn through the wrong one shows.
        files.files["marvu.pal"] = test::palFile([](int i) {
            return test::Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
        });
        for (int type = 0; type < resources::PaletteManager::kTypes; ++type) {
            if (const char* name = resources::PaletteManager::setFileName(type)) {
                files.files[name] =
                    test::palSetFile(1, {test::palFile([type](int i) {
                                         return test::Rgb{uint8_t(i * 5 + type * 17),
                                                          uint8_t(type * 20), uint8_t(i)};
                                     })});
            }
        }
        files.files["SUPER0.PAL"] = test::palFile([](int i) {
            return test::Rgb{uint8_t(255 - i), 7, uint8_t(i)};
        });
        palettes = std::make_unique<resources::PaletteManager>(files);
        canvas.SetBounds({0, 0, kW, kH});
        canvas.SetClipArea({0, 0, kW, kH});
        ASSERT_TRUE(canvas.Lock());
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
    }
    void TearDown() override {
        canvas.Unlock();
        libs.reset();
        palettes.reset();
        graphics::selectPixelFormat(PixelFormat::k565);
    }

    void load(const test::FigureFiles& f = {}) { libs = std::make_unique<test::FigureLibs>(f); }
    const HumanImageLib& lib() const { return *libs->human; }
    uint16_t colour(int type, int index) const {
        return palettes->GetPalette(type, 0, 0)->GetColor(index);
    }
    std::vector<uint16_t> pixels() const {
        const uint16_t* p = canvas.Picture().pixels16();
        return {p, p + kW * kH};
    }
    // Draws at the cell through the full bounds, as the world view does.
    void draw(const Appearance& a, int d = 0, int motion = 0, int32_t silhouette = 0,
              graphics::LightMap* map = nullptr, bool headOnly = false) {
        Rect b, s;
        lib().GetFullBounds(a, d, motion, 0, 0, b, s);
        lib().DrawCharacter(canvas, kCell + b.topLeft(), a, d, motion, 0, 0, silhouette, map, 1.0f,
                            headOnly);
    }
    std::string name() const {
        return std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
               (GetParam() == PixelFormat::k565 ? "-565" : "-555");
    }

    test::MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<test::FigureLibs> libs;
    graphics::Canvas canvas;
};

Appearance armed(uint16_t weapon = 0, uint8_t shield = 0) {
    Appearance a;
    a.weapon = weapon;
    a.shield = shield;
    return a;
}

// The expected picture: the ground with rectangles painted over it in order.
struct Expected {
    std::vector<uint16_t> px = std::vector<uint16_t>(kW * kH, kGround);
    void paint(Rect r, Point at, const std::function<uint16_t(uint16_t)>& colour) {
        r = r.offset(at.x, at.y);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                px[size_t(y * kW + x)] = colour(px[size_t(y * kW + x)]);
    }
};

TEST_P(FigurePixels, PartsInTheOrderOfTheWord) {
    // The frame-to-canvas offset: parts lie at their frame rectangles + (12, 12) from the cell.
    const Point at = kCell + Point{12, 12};
    // Letters other than b, h, w and s draw nothing, and the placement stays.
    for (const char* word : {"bhws", "wsbh", "sbhw", "hsbw", "b0h0"}) {
        test::FigureFiles f;
        f.words(std::vector<std::string>(104, word));
        load(f);
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        draw(armed());
        Expected e;
        for (const char* c = word; *c; ++c) {
            if (*c == 'b')
                e.paint(kBodyRect, at, [&](uint16_t) { return colour(5, test::kBodyColour); });
            if (*c == 'h')
                e.paint(kHeadRect, at, [&](uint16_t) { return colour(3, test::kHeadColour); });
            if (*c == 'w')
                e.paint(kWeaponRect, at, [&](uint16_t) { return colour(6, test::kWeaponColour); });
            if (*c == 's')
                e.paint(kShieldRect, at, [&](uint16_t) { return colour(9, test::kShieldColour); });
        }
        EXPECT_TRUE(test::samePicture(pixels(), e.px, kW, kH, name() + "-" + word));
    }
}

TEST_P(FigurePixels, AWeaponReachingLeftLeavesTheBodyInPlace) {
    load();
    const Point at = kCell + Point{12, 12};
    for (uint16_t weapon : {uint16_t(0), uint16_t(0xFFFF)}) {
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        draw(armed(weapon, 255), 2);
        Expected e;
        e.paint(kBodyRect, at, [&](uint16_t) { return colour(5, test::kBodyColour); });
        e.paint(kHeadRect, at, [&](uint16_t) { return colour(3, test::kHeadColour); });
        if (weapon == 0)
            e.paint(kWeaponRect, at, [&](uint16_t) { return colour(6, test::kWeaponColour); });
        EXPECT_TRUE(
            test::samePicture(pixels(), e.px, kW, kH, name() + "-" + std::to_string(weapon)));
    }
}

// A body whose left half is index 47 and right half 48: tints move only the right half.
test::FigureFiles twoToneBody() {
    test::FigureFiles f;
    mkdata::EpfWriter epf(48, 48);
    for (int i = 0; i < 104; ++i) {
        mkdata::SpriteFrame fr(kBodyRect.left, kBodyRect.top, kBodyRect.width(), kBodyRect.height(),
                               47);
        for (int y = 0; y < fr.height; ++y)
            for (int x = fr.width / 2; x < fr.width; ++x) fr.at(x, y) = 48;
        epf.add(fr);
    }
    f.chars["BODY.EPF"] = epf.build();
    f.words(std::vector<std::string>(104, "b000"));
    return f;
}

TEST_P(FigurePixels, BodyTintFrom48AndTheSuperPalette) {
    load(twoToneBody());
    const Point at = kCell + Point{12, 12};
    const Rect left{kBodyRect.left, kBodyRect.top, 0, kBodyRect.bottom};
    const Rect right{0, kBodyRect.top, kBodyRect.right, kBodyRect.bottom};
    const resources::DLPalette& super = *palettes->GetPalette(5, 0, 1);
    struct Case {
        uint8_t bodyColour;
        uint16_t left, right;
    };
    const Case cases[] = {
        {0, colour(5, 47), colour(5, 48)},
        {1, colour(5, 47), colour(5, 56)},
        {25, colour(5, 47), colour(5, 248)},
        {32, super.GetColor(47), super.GetColor(48)},  // slot 1, a shift of 256
        {33, super.GetColor(47), super.GetColor(56)},
    };
    for (const Case& c : cases) {
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        Appearance a = armed();
        a.bodyColour = c.bodyColour;
        draw(a);
        Expected e;
        e.paint(left, at, [&](uint16_t) { return c.left; });
        e.paint(right, at, [&](uint16_t) { return c.right; });
        EXPECT_TRUE(
            test::samePicture(pixels(), e.px, kW, kH, name() + "-" + std::to_string(c.bodyColour)));
    }
}

TEST_P(FigurePixels, StatesSilhouetteAndHeadOnly) {
    load();
    const Point at = kCell + Point{12, 12};
    const bool six = GetParam() == PixelFormat::k565;
    auto solid = [](uint16_t c) { return [c](uint16_t) { return c; }; };
    struct Case {
        const char* what;
        uint8_t state;
        int32_t silhouette;
        bool headOnly;
    };
    for (const Case c :
         {Case{"translucent", 5, 0, false}, Case{"silhouette", 0, 200, false},
          Case{"head only", 0, 0, true}, Case{"translucent head only", 5, 0, true}}) {
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        Appearance a = armed();
        a.state = c.state;
        draw(a, 0, 0, c.silhouette, nullptr, c.headOnly);
        Expected e;
        auto part = [&](const Rect& r, int type, uint8_t index) {
            uint16_t own = c.silhouette ? palettes->GetBasePalette()->GetColor(c.silhouette)
                                        : colour(type, index);
            if (c.state == 5) {
                // The ground keeps 22/32 of its weight under a translucent part.
                e.paint(r, at, [&](uint16_t d) { return test::tableBlend(d, own, 22, six); });
            } else {
                e.paint(r, at, solid(own));
            }
        };
        if (!c.headOnly) part(kBodyRect, 5, test::kBodyColour);
        part(kHeadRect, 3, test::kHeadColour);
        if (!c.headOnly) part(kWeaponRect, 6, test::kWeaponColour);
        if (!c.headOnly) part(kShieldRect, 9, test::kShieldColour);
        EXPECT_TRUE(test::samePicture(pixels(), e.px, kW, kH, name() + "-" + c.what)) << c.what;
    }
}

TEST_P(FigurePixels, GhostHiddenAndInvisible) {
    load();
    for (uint8_t state : {uint8_t(1), uint8_t(2), uint8_t(6), uint8_t(255)}) {
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        Appearance a = armed();
        a.state = state;
        a.head = 1;
        draw(a);
        Expected e;
        if (state == 1) {
            // GHOST.EPF frame 1 through GHOST.PAL, which this fixture lacks: the base palette.
            e.paint(test::kGhostRect, kCell + Point{12, 12}, [&](uint16_t) {
                return palettes->GetBasePalette()->GetColor(test::kGhostColour);
            });
        }
        EXPECT_TRUE(
            test::samePicture(pixels(), e.px, kW, kH, name() + "-" + std::to_string(state)));
        Rect b, s;
        lib().GetFullBounds(a, 0, 0, 0, 0, b, s);
        const Rect expected = state == 2   ? Rect{0, 0, 24, 24}
                              : state == 1 ? test::kGhostRect.offset(12, 12)
                                           : Rect{};
        EXPECT_EQ(b, expected) << int(state);
        EXPECT_TRUE(s.empty()) << int(state);
    }
}

TEST_P(FigurePixels, LightMapTakesEachPartsShape) {
    load();
    graphics::LightMap map(kW, kH);
    map.Fill(nullptr, 0, 0);
    Appearance a = armed(0xFFFF, 255);
    draw(a, 0, 0, 0, &map);
    // Each part adds a level rising from 0 at its top row to 32 at its bottom row.
    const Point at = kCell + Point{12, 12};
    std::vector<int> expected(kW * kH, 0);
    for (const Rect& r : {kBodyRect, kHeadRect}) {
        const Rect p = r.offset(at.x, at.y);
        for (int y = p.top; y < p.bottom; ++y)
            for (int x = p.left; x < p.right; ++x)
                expected[size_t(y * kW + x)] +=
                    (32 * (y - p.top) * 2 + (p.height() - 1)) / (2 * (p.height() - 1));
    }
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(map.data()[y * map.stride() + x], expected[size_t(y * kW + x)])
                << x << "," << y;
}

// Creature shadows by how far the frame's bottom b lies below the foot line, with and without
// the no-ground-shadow flag.
TEST_P(FigurePixels, CreatureShadowCases) {
    struct Case {
        int b;
        bool flag;
        bool drawn;
        int32_t offset;
        float step, slant;
        int cut;  // rows taken off the bottom of the frame
    };
    const Case cases[] = {
        {-5, false, true, 5, 2.0f, 0.8f, 0}, {-5, true, true, 10, 1.5f, 0.0f, 0},
        {-4, false, true, 0, 2.0f, 0.8f, 0}, {-4, true, false, 0, 0, 0, 0},
        {5, false, true, 0, 2.0f, 0.8f, 0},  {5, true, false, 0, 0, 0, 0},
        {6, false, true, 0, 2.0f, 0.8f, 6},  {6, true, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const Rect frame{-4, 12 + c.b - 10, 4, 12 + c.b};
        test::FigureFiles f;
        f.monsters["MONSTER.EPF"] = test::solidSet(1, frame, 80);
        f.creatures({test::CreatureRecord{0, c.flag, 0, {{{0, 100, 0, 0, 0, 0}}}}});
        load(f);
        Appearance a;
        a.kind = Appearance::kCreature;
        a.image = 0x8000;
        Rect bounds, shadow;
        libs->monster->GetCreatureBounds(a, 0, 0, bounds, shadow);
        EXPECT_EQ(bounds, frame.offset(12, 12));
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        libs->monster->DrawCreatureShadow(canvas, kCell + bounds.topLeft(), a, 0, 0);

        graphics::Canvas reference;
        reference.SetBounds({0, 0, kW, kH});
        reference.SetClipArea({0, 0, kW, kH});
        ASSERT_TRUE(reference.Lock());
        std::fill_n(reference.Picture().pixels16(), kW * kH, kGround);
        if (c.drawn) {
            resources::PixMap picture;
            libs->cache.GetFrame("MONSTER.EPF", 0, picture);
            const Rect src{frame.left, frame.top, frame.right, frame.bottom - c.cut};
            const Rect dst = src.offset(kCell.x + 12, kCell.y + 12);
            reference.DrawShadow(picture, src, dst, 3, 0.65f, c.offset, c.step, c.slant);
        }
        const uint16_t* r = reference.Picture().pixels16();
        const std::string what = name() + "-b" + std::to_string(c.b) + (c.flag ? "-flag" : "");
        EXPECT_TRUE(test::samePicture(pixels(), {r, r + kW * kH}, kW, kH, what));
        EXPECT_EQ(shadow.empty(), !c.drawn) << what;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (r[y * kW + x] != kGround) {
                    ASSERT_TRUE(shadow.offset(kCell.x, kCell.y).contains(Point{x, y})) << what;
                }
            }
        }
    }
}

TEST_P(FigurePixels, CreatureNumbersAndFrames) {
    test::FigureFiles f;
    // Frame 4 lies beyond the file: a frame offset past the end draws nothing.
    f.creatures(
        {test::CreatureRecord{2, false, 0, {{{0, 100, 0, 0, 0, 0}, {2, 100, 0, 0, 0, 0}}}}});
    load(f);
    struct Case {
        uint16_t image;
        int frame;
        bool drawn;
    };
    for (const Case c : {Case{0x8000, 0, true}, Case{0x8000, 1, false}, Case{0x8000, 5, true},
                         Case{0x8001, 0, false}, Case{0x7FFF, 0, false}, Case{0x0000, 0, false}}) {
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        Appearance a;
        a.kind = Appearance::kCreature;
        a.image = c.image;
        Rect bounds, shadow;
        libs->monster->GetCreatureBounds(a, 0, c.frame, bounds, shadow);
        libs->monster->DrawCreature(canvas, kCell + bounds.topLeft(), a, 0, c.frame);
        const bool changed = pixels() != Expected{}.px;
        EXPECT_EQ(changed, c.drawn) << std::hex << c.image << " frame " << c.frame;
        EXPECT_EQ(bounds.empty(), !c.drawn) << std::hex << c.image << " frame " << c.frame;
    }
}

TEST_P(FigurePixels, CreatureOpacityAndTint) {
    const bool six = GetParam() == PixelFormat::k565;
    const Rect frame{-4, -6, 4, 12};
    struct Case {
        uint8_t opacity, state, colour;
        int weight;  // of the ground; -1 opaque
        int index;
    };
    const Case cases[] = {
        {0, 0, 0, -1, 80}, {128, 0, 0, 16, 80},  // 128/255 of the ground
        {0, 5, 0, 22, 80}, {255, 5, 0, 32, 80},  // a frame's own opacity wins over state 5
        {0, 0, 2, -1, 96},                       // tinted by the colour
    };
    for (const Case& c : cases) {
        test::FigureFiles f;
        f.monsters["MONSTER.EPF"] = test::solidSet(1, frame, 80);
        f.creatures({test::CreatureRecord{0, false, 0, {{{0, 100, 0, c.opacity, 0, 0}}}}});
        load(f);
        Appearance a;
        a.kind = Appearance::kCreature;
        a.image = 0x8000;
        a.state = c.state;
        a.colour = c.colour;
        std::fill_n(canvas.Picture().pixels16(), kW * kH, kGround);
        libs->monster->DrawCreature(canvas, kCell + frame.offset(12, 12).topLeft(), a, 0, 0);
        Expected e;
        const uint16_t own = colour(10, c.index);
        e.paint(frame, kCell + Point{12, 12}, [&](uint16_t d) {
            return c.weight < 0 ? own : test::tableBlend(d, own, c.weight, six);
        });
        EXPECT_TRUE(test::samePicture(
            pixels(), e.px, kW, kH,
            name() + "-" + std::to_string(c.opacity) + "-" + std::to_string(c.state)));
    }
}

TEST_P(FigurePixels, NothingWhileTheLibrariesAreDamaged) {
    load();
    setLibraryDamaged(true);
    Appearance creature;
    creature.kind = Appearance::kCreature;
    creature.image = 0x8000;
    draw(armed());
    lib().DrawShadow(canvas, kCell, armed(), 0, 0, 0, 0);
    libs->monster->DrawCreature(canvas, kCell, creature, 0, 0);
    libs->monster->DrawCreatureShadow(canvas, kCell, creature, 0, 0);
    setLibraryDamaged(false);
    EXPECT_EQ(pixels(), Expected{}.px);
    draw(armed());
    EXPECT_NE(pixels(), Expected{}.px);
}

VS_BOTH_FORMATS(FigurePixels);

}  // namespace
}  // namespace vs::world
