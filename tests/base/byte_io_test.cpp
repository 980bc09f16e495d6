#include "base/byte_io.h"

#include <gtest/gtest.h>

#include "base/fourcc.h"
#include "base/time.h"

namespace vs::base {
namespace {

TEST(ByteReader, ReadsBothEndiannesses) {
    const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
    ByteReader be(bytes, sizeof bytes);
    EXPECT_EQ(be.u16be(), 0x1234);
    EXPECT_EQ(be.u24be(), 0x56789Au);
    EXPECT_TRUE(be.ok());
    EXPECT_TRUE(be.atEnd());

    ByteReader le(bytes, sizeof bytes);
    EXPECT_EQ(le.u32le(), 0x78563412u);
    EXPECT_EQ(le.i8(), int8_t(0x9A));
    EXPECT_TRUE(le.ok());
}

TEST(ByteReader, ShortReadFailsForGoodAndNeverReadsPastTheEnd) {
    const uint8_t bytes[] = {1, 2, 3};
    ByteReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.u16be(), 0x0102);
    EXPECT_EQ(r.u16be(), 0);  // one byte left: fails, yields 0
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.u8(), 0);  // stays failed, even though a byte is there
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.bytes(1).empty());
}

TEST(ByteReader, SizesNearTheLimitDoNotOverflow) {
    const uint8_t bytes[] = {1, 2, 3, 4};
    ByteReader r(bytes, sizeof bytes);
    r.u8();
    EXPECT_FALSE(r.has(SIZE_MAX));
    EXPECT_TRUE(r.bytes(SIZE_MAX - 1).empty());
    EXPECT_FALSE(r.ok());
}

TEST(ByteWriter, WritesWhatTheReaderReads) {
    ByteWriter w;
    w.u8(0xAA).u16be(0x0102).u24be(0x030405).u32be(0x06070809).u16le(0x0A0B).u32le(0x0C0D0E0F);
    const auto& d = w.data();
    const std::vector<uint8_t> expected = {0xAA, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x0C};
    EXPECT_EQ(d, expected);
    ByteReader r(d);
    EXPECT_EQ(r.u8(), 0xAA);
    EXPECT_EQ(r.u16be(), 0x0102);
    EXPECT_EQ(r.u24be(), 0x030405u);
    EXPECT_EQ(r.u32be(), 0x06070809u);
    EXPECT_EQ(r.u16le(), 0x0A0B);
    EXPECT_EQ(r.u32le(), 0x0C0D0E0Fu);
    EXPECT_TRUE(r.ok() && r.atEnd());
}

TEST(FourCC, FirstLetterInTheTopByte) {
    static_assert(fourcc("term") == 0x7465726D);
    EXPECT_EQ(fourccText(fourcc("goog")), "goog");
}

TEST(Time, ComparisonsSurviveTheWrap) {
    struct Case {
        uint32_t now, due;
        bool reached;
    } cases[] = {
        {100, 100, true},
        {99, 100, false},
        {5, 0xFFFFFFF0u, true},   // after the wrap
        {0xFFFFFFF0u, 5, false},  // before the wrap
        {0x80000000u, 0, false},  // half the range away counts as not yet
    };
    for (const auto& c : cases) EXPECT_EQ(timeReached(c.now, c.due), c.reached) << c.now << " " << c.due;
    EXPECT_EQ(timeDiff(5, 0xFFFFFFFBu), 10);
}

}  // namespace
}  // namespace vs::base
