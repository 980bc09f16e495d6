// The demo's palettes, read back through the archives the way the program reads them.
#include <gtest/gtest.h>

#include "mkdata/content.h"
#include "mkdata/content/archives.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/data_set.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/palette_manager.h"

namespace vs::mkdata {
namespace {

TEST(DemoPalettes, EveryFamilyHasPalettesAndWaterAndFireCycle) {
    DataSet data;
    buildDemoData(data);
    platform::MemoryFileMapper files;
    for (const auto& [name, writer] : data.archives()) files.add(name, writer.build());
    resources::ArchiveManager archives(files);
    for (std::string_view name : kDemoArchives) ASSERT_TRUE(archives.Mount(name)) << name;
    resources::setCurrentPixelFormat(resources::PixelFormat::k565);
    resources::PaletteManager palettes;

    const resources::DLPalette* base = palettes.GetBasePalette();
    // The interface colours: light text on a dark fill.
    auto brightness = [](uint16_t c) { return (c >> 11) + ((c >> 5) & 0x3F) / 2 + (c & 0x1F); };
    EXPECT_GT(brightness(base->GetColor(128)), 80);
    EXPECT_LT(brightness(base->GetColor(143)), 15);
    for (int type = 0; type < resources::PaletteManager::kTypes; ++type) {
        if (type == 1) continue;
        EXPECT_GT(palettes.setSize(type), 0u) << type;
        EXPECT_NE(palettes.GetPalette(type, 0, 0), base) << type;
    }
    const resources::DLPalette::Range water{demo::kWaterCycleFirst, demo::kWaterCycleLast};
    const resources::DLPalette::Range fire{demo::kFireCycleFirst, demo::kFireCycleLast};
    EXPECT_EQ(palettes.GetPalette(0, 1, 0)->ranges(),
              std::vector<resources::DLPalette::Range>{water});
    EXPECT_EQ(palettes.GetPalette(12, 0, 0)->ranges(),
              std::vector<resources::DLPalette::Range>{fire});
    // A cycling step changes the colours of the run and nothing else.
    palettes.SetUseAdjusted(true);
    const resources::DLPalette* tile = palettes.GetPalette(0, 0, 0);
    const resources::DLPalette before = *tile;
    palettes.AnimateStep();
    for (int i = 0; i < 256; ++i) {
        if (i < water.first || i > water.last) {
            EXPECT_EQ(tile->GetColor(i), before.GetColor(i)) << i;
        }
    }
    EXPECT_NE(tile->GetColor(water.first), before.GetColor(water.first));
    // The golden super palette is there; the others are empty.
    EXPECT_NE(palettes.GetPalette(0, 0, 1)->GetColor(colour(demo::kGrey, 8)), 0);
    EXPECT_EQ(palettes.GetPalette(0, 0, 7)->GetColor(colour(demo::kGrey, 8)), 0);
}

}  // namespace
}  // namespace vs::mkdata
