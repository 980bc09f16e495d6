// Every sprite file of the demo data loads through the client's loader, frame by frame.
#include <gtest/gtest.h>

#include <string>

#include "mkdata/content.h"
#include "mkdata/data_set.h"
#include "mkdata/epf_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"

namespace vs::mkdata {
namespace {

TEST(SpriteFiles, EveryDemoSpriteFileLoadsWithCheckedFramesInsideItsCanvas) {
    DataSet data;
    buildDemoData(data);
    platform::MemoryFileMapper files;
    resources::ArchiveManager manager(files);
    for (const auto& [name, writer] : data.archives()) {
        files.add(name, writer.build());
        ASSERT_TRUE(manager.Mount(name));
    }
    resources::ImageCache cache(1000000);
    int checked = 0;
    for (const auto& [archive, writer] : data.archives()) {
        for (const std::string& name : writer.names()) {
            if (name.size() < 4 || name.substr(name.size() - 4) != ".EPF") continue;
            SCOPED_TRACE(name);
            const auto set = cache.LoadFrameSet(name);
            ASSERT_GT(set->frameCount(), 0);
            for (int i = 0; i < set->frameCount(); ++i) {
                resources::PixMap view;
                ASSERT_NE(resources::ImageCache::GetSetFrame(*set, i, view), nullptr) << i;
                EXPECT_TRUE(view.maskChecked()) << i;
                EXPECT_LE(view.width(), set->header.canvasWidth) << i;
                EXPECT_LE(view.height(), set->header.canvasHeight) << i;
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 13);  // the sprite files start-up opens, at least
}

TEST(SpriteFiles, TheWriterMasksFramesAsPixMapDoes) {
    SpriteFrame f(0, 0, 300, 2, 5);
    for (int x = 0; x < 300; x += 7) f.at(x, 1) = 0;
    const auto bytes = EpfWriter(300, 2).add(f).build();
    resources::PixMap view;
    ASSERT_TRUE(resources::DecodeEpfFrame(bytes, view));
    resources::PixMap copy;
    copy.CopyFrom(view);
    copy.BuildMask();
    EXPECT_EQ(std::vector<uint8_t>(view.mask(), view.mask() + copy.maskSize()),
              std::vector<uint8_t>(copy.mask(), copy.mask() + copy.maskSize()));
    EXPECT_EQ(view.mask()[0], 0xFF);  // 300 visible: 127, 127, 46
    EXPECT_EQ(view.mask()[2], 0xAE);
}

}  // namespace
}  // namespace vs::mkdata
