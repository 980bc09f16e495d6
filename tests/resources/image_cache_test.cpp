#include "resources/image_cache.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/error.h"
#include "mkdata/archive_writer.h"
#include "mkdata/epf_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"

namespace vs::resources {
namespace {

using mkdata::EpfWriter;
using mkdata::SpriteFrame;

class ImageCacheTest : public testing::Test {
  protected:
    void SetUp() override {
        SpriteFrame a(0, 0, 3, 2, 7), b(4, 5, 2, 2, 9);
        a.at(0, 0) = 0;
        mkdata::ArchiveWriter archive;
        archive.add("DLGFRAME.EPF", EpfWriter(16, 12).add(a).add(b).build())
            .add("EMPTY.EPF", EpfWriter(5, 5).build())
            .add("BAD.EPF", std::vector<uint8_t>{0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        files_.add("MISC.DAT", archive.build());
        ASSERT_TRUE(archives_.Mount("MISC.DAT"));
        base_ = archives_.archives().at(0)->base();
    }
    bool insideArchive(const void* p) const {
        const auto* b = static_cast<const uint8_t*>(p);
        return b >= base_ && b < base_ + archives_.archives().at(0)->fileSize();
    }

    platform::MemoryFileMapper files_;
    ArchiveManager archives_{files_};
    ImageCache cache_{1000000};
    const uint8_t* base_ = nullptr;
};

TEST_F(ImageCacheTest, FramesAreViewsIntoTheArchiveLoadedOnce) {
    EXPECT_EQ(ImageCache::instance(), &cache_);
    EXPECT_EQ(cache_.FindLoaded("DLGFRAME.EPF"), -1);
    PixMap view;
    const FrameRecord* r = cache_.GetFrame("DLGFRAME.EPF", 1, view);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(view.bounds(), (base::Rect{4, 5, 6, 7}));
    EXPECT_TRUE(insideArchive(view.pixels8()));
    EXPECT_TRUE(insideArchive(view.mask()));
    EXPECT_FALSE(view.ownsPixels());
    EXPECT_EQ(view.pixels8()[0], 9);
    EXPECT_EQ(cache_.FindLoaded("DLGFRAME.EPF"), 0);

    // The second request reads nothing again: the same record, the same entry.
    PixMap again;
    EXPECT_EQ(cache_.GetFrame("DLGFRAME.EPF", 1, again), r);
    EXPECT_EQ(cache_.entries(), 1u);
    // Another spelling is another entry over the same archive bytes.
    PixMap other;
    cache_.GetFrame("dlgframe.epf", 1, other);
    EXPECT_EQ(cache_.entries(), 2u);
    EXPECT_EQ(cache_.FindLoaded("dlgframe.epf"), 1);
    EXPECT_EQ(other.pixels8(), view.pixels8());

    int32_t w = 0, h = 0;
    cache_.GetCanvasSize("DLGFRAME.EPF", w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 12);
    EXPECT_EQ(cache_.GetFrameCount("DLGFRAME.EPF"), 2);
}

TEST_F(ImageCacheTest, IndicesOutsideTheFileGiveEmptyViewsAndRectangles) {
    for (int index : {-1, 2, 40000}) {
        PixMap view;
        view.Alloc8(1, 1);
        EXPECT_EQ(cache_.GetFrame("DLGFRAME.EPF", index, view), nullptr) << index;
        EXPECT_FALSE(view.hasPixels());
        EXPECT_EQ(view.mask(), nullptr);
        base::Rect r{1, 2, 3, 4};
        cache_.GetFrameRect("DLGFRAME.EPF", index, r);
        EXPECT_EQ(r, (base::Rect{0, 0, 0, 0}));
    }
    base::Rect r;
    cache_.GetFrameRect("DLGFRAME.EPF", 0, r);
    EXPECT_EQ(r, (base::Rect{0, 0, 3, 2}));
    PixMap view;
    EXPECT_EQ(cache_.GetFrameCount("EMPTY.EPF"), 0);
    EXPECT_EQ(cache_.GetFrame("EMPTY.EPF", 0, view), nullptr);
}

TEST_F(ImageCacheTest, MissingAndBrokenFilesThrowAndAddNoEntry) {
    PixMap view;
    EXPECT_THROW(cache_.GetFrame("NONE.EPF", 0, view), app::FileError);
    EXPECT_THROW(cache_.GetFrameCount("BAD.EPF"), app::FileError);
    EXPECT_THROW(cache_.LoadFrameSet("BAD.EPF"), app::FileError);
    EXPECT_EQ(cache_.entries(), 0u);
    EXPECT_EQ(cache_.FindLoaded("NONE.EPF"), -1);
    try {
        cache_.GetFrame("NONE.EPF", 0, view);
    } catch (const app::Error& e) {
        EXPECT_EQ(e.text(), u"File not found : NONE.EPF");
    }
}

TEST_F(ImageCacheTest, CopiesOwnTheirPixelsAndFrameSetsBelongToTheCaller) {
    PixMap copy;
    ASSERT_NE(cache_.GetFrameCopy("DLGFRAME.EPF", 0, copy), nullptr);
    EXPECT_TRUE(copy.ownsPixels());
    EXPECT_FALSE(insideArchive(copy.pixels8()));
    EXPECT_EQ(copy.pixels8()[1], 7);
    EXPECT_EQ(copy.pixels8()[0], 0);
    ASSERT_NE(copy.mask(), nullptr);
    EXPECT_FALSE(insideArchive(copy.mask()));

    auto set = cache_.LoadFrameSet("DLGFRAME.EPF");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(cache_.entries(), 1u);  // only the copy above went through the cache
    EXPECT_EQ(set->frameCount(), 2);
    PixMap view;
    ASSERT_NE(ImageCache::GetSetFrame(*set, 1, view), nullptr);
    EXPECT_EQ(view.bounds(), (base::Rect{4, 5, 6, 7}));
    EXPECT_EQ(ImageCache::GetSetFrame(*set, 2, view), nullptr);
    ImageCache::FreeFrameSet(set);
    EXPECT_EQ(set, nullptr);
}

}  // namespace
}  // namespace vs::resources
