// Start-up creates the image libraries; a damaged effect table stops it with the file's name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "client/application.h"
#include "client/client_fixture.h"
#include "mkdata/data_set.h"
#include "mkdata/image_table_writer.h"
#include "mkdata/village_art.h"
#include "world/effect_image_lib.h"
#include "world/image_lib_support.h"
#include "world/light_image_lib.h"
#include "world/tile_image_lib.h"

namespace vs::client {
namespace {

namespace fs = std::filesystem;

class ImageLibsStartup : public test::ClientFixture {
  protected:
    int run() {
        onStep = [this](std::string_view step) {
            if (step != "first screen") return;
            reachedFirstScreen_ = true;
            loaded_ = world::TileImageLib::instance() && world::EffectImageLib::instance() &&
                      world::LightImageLib::instance() && !world::libraryDamaged();
        };
        options.smokeTest = true;
        return runApplication(options);
    }
    bool reachedFirstScreen_ = false, loaded_ = false;
};

TEST_F(ImageLibsStartup, LoadTheDemoTablesAndStopOnADamagedEffectTable) {
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(reachedFirstScreen_);
    EXPECT_TRUE(loaded_);

    // The first byte of EFFECT.TBL holds a check bit of its count.
    const fs::path efx = dataDir() / "EFX.DAT";
    std::ifstream in(efx, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    const auto table = mkdata::effectTable(mkdata::village::effects());
    const auto at = std::search(bytes.begin(), bytes.end(), table.begin(), table.end());
    ASSERT_NE(at, bytes.end());
    *at ^= 1;
    mkdata::writeFile(efx, bytes);
    reachedFirstScreen_ = false;
    const size_t before = hp.messageBox.shown().size();
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(reachedFirstScreen_);
    ASSERT_EQ(hp.messageBox.shown().size(), before + 1);
    EXPECT_EQ(hp.messageBox.shown().back().text, u"Damaged file : EFFECT.TBL");
    EXPECT_EQ(hp.messageBox.shown().back().caption, u"Error");  // as for a missing table
    world::setLibraryDamaged(false);
}

}  // namespace
}  // namespace vs::client
