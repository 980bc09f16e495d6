#include "resources/palette_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/error.h"
#include "support/palette_fixture.h"
#include "support/pixel_formats.h"

namespace vs::resources {
namespace {

using test::greyPalFile;
using test::palFile;
using test::palSetFile;
using test::Rgb;

class PaletteManagerTest : public testing::TestWithParam<PixelFormat> {
protected:
    void SetUp() override {
        setCurrentPixelFormat(GetParam());
        files.addEverything(0x10);
    }
    void TearDown() override { setCurrentPixelFormat(PixelFormat::k565); }

    PaletteManager& make() {
        manager = std::make_unique<PaletteManager>(files);
        return *manager;
    }
    uint16_t grey(uint8_t v) const { return packRgb(GetParam(), v, v, v); }

    test::MemoryPaletteFiles files;
    std::unique_ptr<PaletteManager> manager;
};

TEST_P(PaletteManagerTest, GetPaletteIndexesSetsAndFallsBackToBase) {
    // Five TILE palettes told apart by their grey; the base palette is grey 0x10.
    std::vector<std::vector<uint8_t>> tiles;
    for (int i = 0; i < 5; ++i) tiles.push_back(greyPalFile(uint8_t(0x40 + 8 * i)));
    files.files["TILE.PAL"] = palSetFile(5, tiles);
    files.files["ITEM.PAL"] = palSetFile(0, {});
    files.files["SUPER1.PAL"] = greyPalFile(0xF0);
    files.files["SUPER6.PAL"] = greyPalFile(0xE0);
    PaletteManager& pm = make();
    const DLPalette* base = pm.GetBasePalette();
    EXPECT_EQ(base->GetColor(1), grey(0x10));
    struct Case {
        int type, number, slot;
        int expectTile;  // index in the TILE set, -1: the base palette
    };
    const Case cases[] = {
        {0, 0, 0, 0},   {0, 7, 0, 2},   {0, 5, 0, 0},
        {0, -1, 0, -1}, {0, -5, 0, 0},  {1, 0, 0, -1},  // type 1 is the base palette
        {11, 0, 0, -1},                                 // an empty set
        {13, 0, 0, -1}, {-1, 0, 0, -1},                 // unknown types
        {0, 7, 8, 2},                                   // slot 8 is no super slot
    };
    for (const auto& c : cases) {
        const DLPalette* p = pm.GetPalette(c.type, c.number, c.slot);
        const uint16_t want =
            c.expectTile < 0 ? grey(0x10) : grey(uint8_t(0x40 + 8 * c.expectTile));
        EXPECT_EQ(p->GetColor(1), want) << c.type << "," << c.number << "," << c.slot;
        if (c.expectTile < 0) {
            EXPECT_EQ(p, base);
        }
    }
    // Slot n is SUPER(n-1).PAL whatever the type and number; a missing one is an empty palette.
    EXPECT_EQ(pm.GetPalette(10, 3, 2)->GetColor(1), grey(0xF0));
    EXPECT_EQ(pm.GetPalette(-4, -4, 7)->GetColor(1), grey(0xE0));
    EXPECT_EQ(pm.GetPalette(0, 0, 1)->GetColor(1), 0);
    EXPECT_NE(pm.GetPalette(0, 0, 1), base);
    EXPECT_EQ(pm.GetPalette(0, 0, 1)->GetColor(200), 0);
}

TEST_P(PaletteManagerTest, SetsEndAtTheFirstUnreadablePalette) {
    const auto a = greyPalFile(0x40), b = greyPalFile(0x48);
    auto cut = greyPalFile(0x50);
    cut.resize(cut.size() - 100);
    files.files["TILE.PAL"] = palSetFile(3, {a, b, cut});
    files.files["BODY.PAL"] = palSetFile(0xFFFFFFFF, {a});  // the count promises far too much
    files.files["FAN.PAL"] = {1, 0};                        // not even a count
    PaletteManager& pm = make();
    EXPECT_EQ(pm.setSize(0), 2u);
    EXPECT_EQ(pm.GetPalette(0, 2, 0)->GetColor(1), grey(0x40));
    EXPECT_EQ(pm.setSize(5), 1u);
    EXPECT_EQ(pm.setSize(8), 0u);
    EXPECT_EQ(pm.GetPalette(8, 0, 0), pm.GetBasePalette());
}

TEST_P(PaletteManagerTest, MissingRequiredFilesEndStartUp) {
    for (const char* name : {"marvu.pal", "TILE.PAL", "EFFECT.PAL"}) {
        test::MemoryPaletteFiles f;
        f.addEverything();
        f.files.erase(name);
        EXPECT_THROW(PaletteManager{f}, app::FileError) << name;
    }
    files.files["marvu.pal"].resize(500);
    EXPECT_THROW(make(), app::FileError);
}

TEST_P(PaletteManagerTest, BrightnessScalesEveryFamilyButEffects) {
    auto ramp = [](int i) { return Rgb{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)}; };
    for (int type = 0; type < PaletteManager::kTypes; ++type) {
        if (const char* name = PaletteManager::setFileName(type))
            files.files[name] = palSetFile(1, {palFile(ramp)});
    }
    PaletteManager& pm = make();
    pm.SetUseAdjusted(true);
    const DLPalette* tile = pm.GetPalette(0, 0, 0);
    const DLPalette before = *tile;
    pm.SetBrightness(1.0f);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(tile->GetColor(i), before.GetColor(i));

    pm.SetBrightness(0.5f);
    const bool six = GetParam() == PixelFormat::k565;
    // Each component halves, rounding halves up.
    auto halve = [six](uint16_t c) {
        auto h = [](int v) { return (v + 1) / 2; };
        if (six) return uint16_t(h(c >> 11) << 11 | h((c >> 5) & 0x3F) << 5 | h(c & 0x1F));
        return uint16_t(h((c >> 10) & 0x1F) << 10 | h((c >> 5) & 0x1F) << 5 | h(c & 0x1F));
    };
    for (int type : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        const DLPalette* p = pm.GetPalette(type, 0, 0);
        for (int i = 1; i < 256; ++i)
            ASSERT_EQ(p->GetColor(i), halve(before.GetColor(i)))
                << "type " << type << " colour " << i;
        EXPECT_EQ(p->GetColor(0), 0);
    }
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(pm.GetPalette(12, 0, 0)->GetColor(i), before.GetColor(i));
    // The unadjusted sets stay as loaded, and back at 1.0 the adjusted ones match them again.
    pm.SetUseAdjusted(false);
    EXPECT_EQ(pm.GetPalette(0, 0, 0)->GetColor(200), before.GetColor(200));
    pm.SetUseAdjusted(true);
    pm.SetBrightness(1.0f);
    EXPECT_EQ(tile->GetColor(200), before.GetColor(200));
}

TEST_P(PaletteManagerTest, ByNameLoadsOncePerSpellingAndFallsBackToBase) {
    files.files["NPAL8.PAL"] = greyPalFile(0x60);
    files.files["npal8.pal"] = greyPalFile(0x68);
    PaletteManager& pm = make();
    const DLPalette* upper = pm.GetPaletteByName("NPAL8.PAL");
    const DLPalette* lower = pm.GetPaletteByName("npal8.pal");
    EXPECT_NE(upper, lower);
    EXPECT_EQ(upper->GetColor(3), grey(0x60));
    EXPECT_EQ(pm.GetPaletteByName("NPAL8.PAL"), upper);
    EXPECT_EQ(pm.byNameCount(), 2u);
    const auto reads = files.reads.size();
    pm.GetPaletteByName("npal8.pal");
    EXPECT_EQ(files.reads.size(), reads);

    files.files["BROKEN.PAL"] = {'D', 'L'};
    EXPECT_EQ(pm.GetPaletteByName("MISSING.PAL"), pm.GetBasePalette());
    EXPECT_EQ(pm.GetPaletteByName("BROKEN.PAL"), pm.GetBasePalette());
    EXPECT_EQ(pm.GetPaletteByName(nullptr), pm.GetBasePalette());
    EXPECT_EQ(pm.byNameCount(), 2u);
}

TEST_P(PaletteManagerTest, AnimateStepCyclesTheSetsTheShadowSettingSelects) {
    const std::vector<DLPalette::Range> range = {{1, 2}};
    const auto cycling = palFile([](int i) { return Rgb{uint8_t(i * 8), 0, 0}; }, range);
    for (int type = 0; type < PaletteManager::kTypes; ++type) {
        if (const char* name = PaletteManager::setFileName(type))
            files.files[name] = palSetFile(1, {cycling});
    }
    files.files["GHOST.PAL"] = cycling;
    files.files["SUPER0.PAL"] = cycling;
    files.files["marvu.pal"] = cycling;
    PaletteManager& pm = make();
    bool shadow = false;
    pm.setShadowSetting([&] { return shadow; });
    const DLPalette* ghost = pm.GetPaletteByName("GHOST.PAL");
    const uint16_t one = ghost->GetColor(1), two = ghost->GetColor(2);
    auto rotated = [&](const DLPalette* p) {
        return p->GetColor(1) == two && p->GetColor(2) == one;
    };

    pm.AnimateStep();
    EXPECT_TRUE(rotated(ghost));
    EXPECT_FALSE(rotated(pm.GetBasePalette()));
    EXPECT_FALSE(rotated(pm.GetPalette(0, 0, 1)));
    for (int type = 0; type < PaletteManager::kTypes; ++type) {
        if (type == 1) continue;
        pm.SetUseAdjusted(true);
        EXPECT_EQ(rotated(pm.GetPalette(type, 0, 0)), type != 3 && type != 4) << type;
        pm.SetUseAdjusted(false);
        EXPECT_FALSE(rotated(pm.GetPalette(type, 0, 0))) << type;
    }

    shadow = true;
    pm.AnimateStep();
    pm.SetUseAdjusted(false);
    EXPECT_TRUE(rotated(pm.GetPalette(10, 0, 0)));
    EXPECT_FALSE(rotated(pm.GetPalette(3, 0, 0)));
    pm.SetUseAdjusted(true);
    EXPECT_TRUE(rotated(pm.GetPalette(10, 0, 0)));  // one step from before, none now
}

VS_INSTANTIATE_IN_BOTH_FORMATS(PaletteManagerTest);

}  // namespace
}  // namespace vs::resources
