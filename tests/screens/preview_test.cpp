// The new character previews: a figure walking in place, its frames and turns read back from
// the pixels of its head.
#include "screens/figure_preview.h"

#include <gtest/gtest.h>

#include "support/palette_fixture.h"
#include "ui/pane.h"
#include "world/figure_fixture.h"

namespace vs::screens {
namespace {

// Every head frame in a colour of its own, and palettes that tell the colours apart.
class Previews : public testing::Test {
  protected:
    Previews() {
        mkdata::EpfWriter heads(48, 48);
        for (int i = 0; i < 208; ++i) {
            const base::Rect& r = vs::test::kHeadRect;
            heads.add(
                mkdata::SpriteFrame(r.left, r.top, r.width(), r.height(), uint8_t(1 + i % 250)));
        }
        files.chars["HEAD.EPF"] = heads.build();
        auto distinct = vs::test::palFile([](int i) {
            return mkdata::Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
        });
        paletteFiles.files["marvu.pal"] = distinct;
        for (int type = 0; type < resources::PaletteManager::kTypes; ++type) {
            if (const char* name = resources::PaletteManager::setFileName(type))
                paletteFiles.files[name] = vs::test::palSetFile(1, {distinct});
        }
        palettes = std::make_unique<resources::PaletteManager>(paletteFiles);
        libs = std::make_unique<vs::test::FigureLibs>(files);
        canvas.SetBounds({0, 0, 60, 80});
        canvas.SetClipArea({0, 0, 60, 80});
    }
    // The colour at the middle of the head of a figure standing on the box's bottom.
    uint16_t headPixel() {
        canvas.Lock();
        const uint16_t p =
            canvas.Picture().pixels16()[(80 - 12 - 20) * canvas.Picture().rowWidth() + 30];
        canvas.Unlock();
        return p;
    }
    uint16_t expected(int style, const WalkInPlace& w) {
        const auto pose = libs->human->ComputePose(PreviewAppearance(style, false), w.direction(),
                                                   0, 0, w.walkFrame());
        return palettes->GetBasePalette()->GetColor(int32_t(1 + pose.head % 250));
    }

    vs::test::FigureFiles files;
    vs::test::MemoryPaletteFiles paletteFiles;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<vs::test::FigureLibs> libs;
    ui::Pane canvas;
};

TEST_F(Previews, TheFigureWalksFourFramesAndTurnsEvery16Steps) {
    WalkInPlace walk;
    std::vector<int> directions;
    for (int step = 0; step <= 64; ++step) {
        canvas.Lock();
        canvas.SetPenColor(0);
        canvas.FillRect({0, 0, 60, 80});
        DrawPreview(canvas, {0, 0, 60, 80}, 1, false, walk);
        canvas.Unlock();
        EXPECT_EQ(headPixel(), expected(1, walk)) << step;
        EXPECT_EQ(walk.walkFrame(), step % 4);
        if (step % 16 == 0) directions.push_back(walk.direction());
        walk.Step();
    }
    EXPECT_EQ(directions, (std::vector<int>{0, 1, 2, 3, 0}));
    const auto a = PreviewAppearance(5, true);
    EXPECT_EQ((std::vector<int>{a.gender, a.head, a.body, a.weapon, a.shield, a.state}),
              (std::vector<int>{1, 5, 0, 0xFFFF, 255, 0}));
}

}  // namespace
}  // namespace vs::screens
