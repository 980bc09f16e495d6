#include "resources/epf_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mkdata/epf_writer.h"

namespace vs::resources {
namespace {

using Bytes = std::vector<uint8_t>;
using mkdata::EpfWriter;
using mkdata::SpriteFrame;

// A frame whose pixel (x, y) is 1 + x + 10 y, with a transparent first column.
SpriteFrame numbered(int left, int top, int w, int h) {
    SpriteFrame f(left, top, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f.at(x, y) = x == 0 ? 0 : uint8_t(1 + x + 10 * y);
    return f;
}

Bytes twoFrames() {
    return EpfWriter(40, 30).add(numbered(2, 3, 4, 2)).add(numbered(-5, 0, 3, 3)).build();
}

uint32_t areaLength(const Bytes& f) {
    return uint32_t(f[8] | f[9] << 8 | f[10] << 16 | f[11] << 24);
}
size_t entryAt(const Bytes& f, int i) {
    return 12 + areaLength(f) + 16 * size_t(i);
}
void put16(Bytes& f, size_t at, int v) {
    f[at] = uint8_t(v), f[at + 1] = uint8_t(v >> 8);
}
void put32(Bytes& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(v >> (8 * i));
}
uint32_t get32(const Bytes& f, size_t at) {
    return uint32_t(f[at] | f[at + 1] << 8 | f[at + 2] << 16 | f[at + 3] << 24);
}

TEST(EpfFileTest, FramesViewTheirPixelsAndMasksInPlace) {
    const Bytes file = twoFrames();
    FrameSet set;
    ASSERT_TRUE(epf::parse(file, set));
    EXPECT_EQ(set.header.frameCount, 2);
    EXPECT_EQ(set.header.canvasWidth, 40);
    EXPECT_EQ(set.header.canvasHeight, 30);
    ASSERT_EQ(set.records.size(), 3u);

    PixMap view;
    ASSERT_NE(epf::view(set, 0, view), nullptr);
    EXPECT_TRUE(view.is8Bit());
    EXPECT_FALSE(view.ownsPixels());
    EXPECT_EQ(view.bounds(), (base::Rect{2, 3, 6, 5}));
    EXPECT_EQ(view.rowWidth(), 4);
    EXPECT_EQ(view.pixels8(), file.data() + 12);
    EXPECT_EQ(view.pixels8()[4 + 3], 1 + 3 + 10);
    EXPECT_TRUE(view.maskChecked());
    EXPECT_EQ(Bytes(view.mask(), view.mask() + view.maskSize()),
              (Bytes{0x01, 0x83, 0x00, 0x01, 0x83, 0x00}));

    // The last frame's mask ends exactly at the end of the pixel area.
    ASSERT_NE(epf::view(set, 1, view), nullptr);
    EXPECT_EQ(view.bounds(), (base::Rect{-5, 0, -2, 3}));
    EXPECT_EQ(view.mask() + view.maskSize(), file.data() + 12 + areaLength(file));
    // The closing record sits at the end of the pixel area.
    EXPECT_EQ(set.records[2].pixels, file.data() + 12 + areaLength(file));
    EXPECT_TRUE(set.records[2].rect.empty());
}

TEST(EpfFileTest, IndicesOutsideTheFramesGiveEmptyViews) {
    const Bytes file = twoFrames();
    FrameSet set;
    ASSERT_TRUE(epf::parse(file, set));
    for (int index : {-1, 2, 32767, 65536, -65536}) {
        PixMap view;
        view.Alloc8(2, 2);
        EXPECT_EQ(epf::view(set, index, view), nullptr) << index;
        EXPECT_FALSE(view.hasPixels()) << index;
        EXPECT_EQ(view.mask(), nullptr);
        EXPECT_TRUE(view.bounds().empty());
    }
    const Bytes none = EpfWriter(8, 8).build();
    ASSERT_TRUE(epf::parse(none, set));
    EXPECT_EQ(set.frameCount(), 0);
    PixMap view;
    EXPECT_EQ(epf::view(set, 0, view), nullptr);
}

TEST(EpfFileTest, FilesWhoseHeaderOrTableDoNotFitAreRefused) {
    const Bytes good = twoFrames();
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes negative = good, longArea = good, shortTable = good, bigCount = good;
    put16(negative, 0, -1);
    put32(longArea, 8, uint32_t(good.size()));
    shortTable.pop_back();
    put16(bigCount, 0, 3);
    const Case cases[] = {
        {"empty", {}},
        {"header cut", Bytes(good.begin(), good.begin() + 11)},
        {"negative frame count", negative},
        {"pixel area past the end", longArea},
        {"table cut", shortTable},
        {"more frames than the table holds", bigCount},
    };
    for (const auto& c : cases) {
        FrameSet set;
        std::string why;
        EXPECT_FALSE(epf::parse(c.file, set, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
        EXPECT_EQ(set.frameCount(), 0) << c.what;
    }
}

TEST(EpfFileTest, AFrameThatDoesNotFitStaysEmptyAndTheOthersLoad) {
    const Bytes good = twoFrames();
    const uint32_t d = areaLength(good);
    const size_t e = entryAt(good, 0);
    struct Case {
        const char* what;
        void (*change)(Bytes&, size_t entry, uint32_t d);
    };
    const Case cases[] = {
        {"pixels past the area", [](Bytes& f, size_t at, uint32_t d) { put32(f, at + 8, d + 1); }},
        {"pixels run past the area",
         [](Bytes& f, size_t at, uint32_t d) { put32(f, at + 8, d - 3); }},
        {"mask past the area", [](Bytes& f, size_t at, uint32_t d) { put32(f, at + 12, d + 100); }},
        {"inverted rectangle", [](Bytes& f, size_t at, uint32_t) { put16(f, at + 6, -20); }},
        {"oversized rectangle", [](Bytes& f, size_t at, uint32_t) { put16(f, at + 4, 30000); }},
        {"mask rows that do not add up",
         [](Bytes& f, size_t at, uint32_t) { f[12 + get32(f, at + 12)] = 0x05; }},
        {"mask not ended before the next frame",
         [](Bytes& f, size_t at, uint32_t) { put32(f, at + 12, get32(f, at + 12) + 1); }},
    };
    for (const auto& c : cases) {
        Bytes file = good;
        c.change(file, e, d);
        FrameSet set;
        ASSERT_TRUE(epf::parse(file, set)) << c.what;
        PixMap view;
        EXPECT_EQ(epf::view(set, 0, view), nullptr) << c.what;
        EXPECT_FALSE(view.hasPixels()) << c.what;
        EXPECT_NE(epf::view(set, 1, view), nullptr) << c.what;
        EXPECT_TRUE(view.maskChecked()) << c.what;
    }
}

TEST(EpfFileTest, FramesStoredOutOfOrderKeepTheirMasks) {
    // Swapping the two table entries makes the first frame's mask "end" before it starts.
    Bytes file = twoFrames();
    Bytes first(file.begin() + long(entryAt(file, 0)), file.begin() + long(entryAt(file, 1)));
    std::copy(file.begin() + long(entryAt(file, 1)), file.end(),
              file.begin() + long(entryAt(file, 0)));
    std::copy(first.begin(), first.end(), file.begin() + long(entryAt(file, 1)));
    FrameSet set;
    ASSERT_TRUE(epf::parse(file, set));
    PixMap view;
    ASSERT_NE(epf::view(set, 0, view), nullptr);
    EXPECT_EQ(view.bounds(), (base::Rect{-5, 0, -2, 3}));
    EXPECT_TRUE(view.maskChecked());
    ASSERT_NE(epf::view(set, 1, view), nullptr);
    EXPECT_EQ(view.bounds(), (base::Rect{2, 3, 6, 5}));
}

TEST(EpfFileTest, DecodeEpfFrameViewsTheFirstFrameOfABuffer) {
    const Bytes file = twoFrames();
    PixMap out;
    ASSERT_TRUE(DecodeEpfFrame(file, out));
    EXPECT_EQ(out.bounds(), (base::Rect{2, 3, 6, 5}));
    EXPECT_EQ(out.pixels8(), file.data() + 12);
    // The mask may take the rest of the pixel area, whatever follows it.
    EXPECT_EQ(out.mask() + out.maskSize(), file.data() + 12 + areaLength(file));
    EXPECT_TRUE(out.maskChecked());

    // A shorter buffer decodes only while it still holds the first table entry.
    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes cut(file.begin(), file.begin() + long(n));
        PixMap p;
        const bool ok = DecodeEpfFrame(cut, p);
        EXPECT_EQ(ok, p.hasPixels()) << n;
        EXPECT_EQ(ok, n >= entryAt(file, 0) + 16) << n;
    }
    Bytes none = EpfWriter(1, 1).build();
    EXPECT_FALSE(DecodeEpfFrame(none, out));
    EXPECT_FALSE(out.hasPixels());
    Bytes bad = file;
    put32(bad, entryAt(bad, 0) + 8, areaLength(bad));
    EXPECT_FALSE(DecodeEpfFrame(bad, out));
}

}  // namespace
}  // namespace vs::resources
