// The demo's characters and creatures, built in-process by the data builder: bounds hold what
// is drawn, and a golden sheet of one character in every pose.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "charsheet/sheet.h"
#include "graphics/canvas_fixture.h"
#include "graphics/pixel_format.h"
#include "mkdata/content.h"
#include "mkdata/content/demo_figures.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"

namespace vs::world {
namespace {

using base::Point;
using base::Rect;
using graphics::PixelFormat;
namespace demo = mkdata::demo;

// The demo data set, built once, mounted from memory for each test.
const mkdata::DataSet& demoData() {
    static const mkdata::DataSet data = [] {
        mkdata::DataSet d;
        mkdata::buildDemoData(d);
        return d;
    }();
    return data;
}

class DemoFigures : public testing::TestWithParam<PixelFormat> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        for (const auto& [name, archive] : demoData().archives()) {
            files.add(name, archive.build());
            archives.Mount(name);
        }
        palettes = std::make_unique<resources::PaletteManager>();
        humans = std::make_unique<HumanImageLib>();
        monsters = std::make_unique<MonsterImageLib>();
    }
    void TearDown() override {
        monsters.reset();
        humans.reset();
        palettes.reset();
        graphics::selectPixelFormat(PixelFormat::k565);
    }

    platform::MemoryFileMapper files;
    resources::ArchiveManager archives{files};
    resources::ImageCache cache{64u << 20};
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<HumanImageLib> humans;
    std::unique_ptr<MonsterImageLib> monsters;
};

// The frames a pose has: walking frames for pose 0, motion frames for 1 to 3 and 22.
int poseFrames(int motion) {
    return motion == 0 || motion == 22 ? 4 : motion <= 3 ? 2 : 1;
}

// Checks that a drawing call changes only pixels inside `bounds` (relative to the cell).
class ChangeProbe {
  public:
    static constexpr int kSize = 112;
    static constexpr Point kCell{44, 60};
    static constexpr uint16_t kBackground = 0x5555;

    ChangeProbe() {
        canvas_.SetBounds({0, 0, kSize, kSize});
        canvas_.SetClipArea({0, 0, kSize, kSize});
        canvas_.Lock();
    }
    graphics::Canvas& clear() {
        std::fill_n(canvas_.Picture().pixels16(), kSize * kSize, kBackground);
        return canvas_;
    }
    // The number of changed pixels outside, and whether anything changed at all.
    int outside(const Rect& bounds, bool& changed) const {
        const Rect inside = bounds.offset(kCell.x, kCell.y);
        int n = 0;
        changed = false;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                if (canvas_.Picture().pixels16()[y * kSize + x] == kBackground) continue;
                changed = true;
                n += !inside.contains(Point{x, y});
            }
        }
        return n;
    }

  private:
    graphics::Canvas canvas_;
};

TEST_P(DemoFigures, BoundsHoldWhatIsDrawn) {
    ChangeProbe probe;
    bool changed = false;
    int drawn = 0;
    for (const demo::FigureLook& look : demo::kFigures) {
        for (uint8_t state : {0, 1, 3, 5}) {
            Appearance a = charsheet::appearance(look);
            a.state = state;
            for (int motion = 0; motion < HumanImageLib::kPoseCount; ++motion) {
                for (int d = 0; d < 4; ++d) {
                    for (int f = 0; f < poseFrames(motion); ++f) {
                        const int frame = motion == 0 ? 0 : f, walk = motion == 0 ? f : 0;
                        Rect full, shadow, body, bodyShadow;
                        humans->GetFullBounds(a, d, motion, frame, walk, full, shadow);
                        humans->GetBounds(a, d, motion, frame, walk, body, bodyShadow);
                        const Point at = ChangeProbe::kCell + full.topLeft();
                        humans->DrawCharacter(probe.clear(), at, a, d, motion, frame, walk);
                        ASSERT_EQ(probe.outside(full, changed), 0)
                            << look.name << " state " << int(state) << " pose " << motion << " d "
                            << d << " f " << f;
                        drawn += changed;
                        EXPECT_TRUE(full.contains(body)) << look.name << " pose " << motion;
                        EXPECT_EQ(shadow, bodyShadow);
                        humans->DrawShadow(probe.clear(), at, a, d, motion, frame, walk);
                        ASSERT_EQ(probe.outside(shadow, changed), 0)
                            << look.name << " shadow, state " << int(state) << " pose " << motion
                            << " d " << d << " f " << f;
                        EXPECT_EQ(changed, state == 0 || state == 3) << look.name;
                    }
                }
            }
        }
    }
    EXPECT_GT(drawn, 2000);
    for (const demo::CreatureLook& look : demo::kCreatures) {
        for (uint8_t state : {0, 1, 5}) {
            Appearance a = charsheet::creature(look);
            a.state = state;
            const Creature& c = monsters->GetMotion(look.image - MonsterImageLib::kFirstImage);
            for (int m = 0; m < int(c.motions.size()); ++m) {
                for (int f = 0; f < int(c.motions[size_t(m)].frames.size()); ++f) {
                    Rect bounds, shadow;
                    monsters->GetCreatureBounds(a, m, f, bounds, shadow);
                    const Point at = ChangeProbe::kCell + bounds.topLeft();
                    monsters->DrawCreature(probe.clear(), at, a, m, f);
                    ASSERT_EQ(probe.outside(bounds, changed), 0) << look.name << " motion " << m;
                    EXPECT_TRUE(changed) << look.name << " motion " << m;
                    monsters->DrawCreatureShadow(probe.clear(), at, a, m, f);
                    ASSERT_EQ(probe.outside(shadow, changed), 0)
                        << look.name << " shadow, motion " << m << " frame " << f;
                }
            }
        }
    }
}

uint64_t fnv(const std::vector<uint8_t>& bytes) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

// One character (head, body, sword, shield) in every direction, pose and frame with its shadow.
TEST_P(DemoFigures, GoldenSheet) {
    constexpr int kBoxW = 40, kBoxH = 60, kColumns = 16;
    const int w = kColumns * kBoxW, h = HumanImageLib::kPoseCount * kBoxH;
    graphics::Canvas sheet;
    sheet.SetBounds({0, 0, w, h});
    sheet.SetClipArea({0, 0, w, h});
    ASSERT_TRUE(sheet.Lock());
    // A plain ground, so that only the figure art moves the hash.
    sheet.SetFillColor(54);
    sheet.FillRect({0, 0, w, h});
    const Appearance a = charsheet::appearance(demo::kGoldenFigure);
    for (int motion = 0; motion < HumanImageLib::kPoseCount; ++motion) {
        int column = 0;
        for (int d = 0; d < 4; ++d) {
            for (int f = 0; f < poseFrames(motion); ++f) {
                const Point cell{column++ * kBoxW + 8, motion * kBoxH + 32};
                charsheet::drawCharacter(sheet, cell, a, d, motion, motion == 0 ? 0 : f,
                                         motion == 0 ? f : 0);
            }
        }
    }
    const std::vector<uint8_t> rgb = charsheet::toRgb(sheet);
    const uint64_t hash = fnv(rgb);
    const bool six = GetParam() == PixelFormat::k565;
    const uint64_t golden = six ? 0xb6def4f68294b1a3ull : 0xc9680b59d66c0e45ull;
    if (hash != golden) {
        const std::string name = std::string("figure-sheet-") + (six ? "565" : "555");
        const uint16_t* p = sheet.Picture().pixels16();
        test::savePicture({p, p + size_t(w) * size_t(h)}, w, h, name);
        ADD_FAILURE() << "sheet hash 0x" << std::hex << hash << " (picture in test-pictures/"
                      << name << ".png)";
    }
}

VS_BOTH_FORMATS(DemoFigures);

}  // namespace
}  // namespace vs::world
