#include "world/figure_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "mkdata/figure_tables_writer.h"

namespace vs::world {
namespace {

using mkdata::CreatureFrameRecord;
using mkdata::CreatureRecord;
using mkdata::PartRecord;

TEST(PartTable, EntriesDefaultsAndDamage) {
    const PartRecord records[] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const std::vector<uint8_t> file = mkdata::partTableFile(records);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        size_t count;
        PartEntry second;
    };
    std::vector<uint8_t> damaged = file;
    damaged[8 + 24 + 8 + 3] ^= 1;  // the second entry's palette
    std::vector<uint8_t> huge = mkdata::partTableFile(records, 0x7FFFFFFF);
    std::vector<uint8_t> negative = mkdata::partTableFile(records, -3);
    std::vector<uint8_t> badCount = file;
    badCount[0] ^= 1;
    const Case cases[] = {
        {"whole", file, 3, {4, 5, 6}},
        {"a value failing its check makes its entry the default", damaged, 3,
         PartTable::kPartFallback},
        {"a short last entry ends the table", {file.begin(), file.end() - 1}, 2, {4, 5, 6}},
        {"cut inside the second entry",
         {file.begin(), file.begin() + 8 + 24 + 20},
         1,
         PartTable::kPartFallback},
        {"a count beyond the file", huge, 3, {4, 5, 6}},
        {"a negative count", negative, 0, PartTable::kPartFallback},
        {"a damaged count", badCount, 0, PartTable::kPartFallback},
        {"empty", {}, 0, PartTable::kPartFallback},
    };
    for (const Case& c : cases) {
        const PartTable t = PartTable::parse(c.bytes, PartTable::kPartFallback);
        EXPECT_EQ(t.count(), c.count) << c.what;
        EXPECT_EQ(t.at(1), c.second) << c.what;
        EXPECT_EQ(t.at(-1), PartTable::kPartFallback) << c.what;
    }
    EXPECT_EQ(PartTable::parse({}, PartTable::kHeadFallback).at(0), PartTable::kHeadFallback);
}

TEST(DrawOrderTable, FiveBytesARowAndBh00Outside) {
    const std::vector<std::string> words = {"wsbh", "sbhw", "bhsw"};
    const std::vector<uint8_t> bytes = mkdata::drawOrderFile(words);
    const DrawOrderTable t = DrawOrderTable::parse(bytes);
    EXPECT_EQ(t.rows(), 3u);
    EXPECT_EQ(t.word(1), (DrawOrderWord{'s', 'b', 'h', 'w'}));
    EXPECT_EQ(t.word(3), DrawOrderTable::kOutside);
    EXPECT_EQ(t.word(-1), DrawOrderTable::kOutside);
    // Lines ended by CR LF drift by a byte per row.
    const std::vector<uint8_t> crlf = {'w', 's', 'b', 'h', '\r', '\n', 's', 'b', 'h', 'w', '\r'};
    EXPECT_EQ(DrawOrderTable::parse(crlf).word(1), (DrawOrderWord{'\n', 's', 'b', 'h'}));
}

// Two creatures: one with motions of 2 and 0 frames, one without motions.
std::vector<CreatureRecord> twoCreatures() {
    const CreatureFrameRecord a{3, 120, 7, 128, 1, 2}, b{4, 80, 0, 0, 0, 0};
    return {CreatureRecord{10, true, 2, {{a, b}, {}}}, CreatureRecord{20, false, 1, {}}};
}

TEST(CreatureTable, ReadsRecordsAndFallsBack) {
    const auto file = mkdata::creatureTableFile(twoCreatures());
    const CreatureTable t = CreatureTable::parse(file);
    ASSERT_EQ(t.count(), 2u);
    const Creature& c = *t.find(0);
    EXPECT_EQ(c.baseFrame, 10u);
    EXPECT_TRUE(c.noGroundShadow);
    EXPECT_EQ(c.palette, 2);
    ASSERT_EQ(c.motions.size(), 2u);
    EXPECT_EQ(c.motion(0).frame(0), (CreatureFrame{3, 120, 7, 128, {1, 2}}));
    // A motion beyond the list is motion 0; a frame beyond the motion an all-zero record.
    EXPECT_EQ(c.motion(7).frame(1).offset, 4);
    EXPECT_EQ(c.motion(1).frame(0), CreatureFrame{});
    EXPECT_EQ(c.motion(0).frame(2), CreatureFrame{});
    // No motions at all: every motion is empty.
    EXPECT_TRUE(t.find(1)->motion(0).frames.empty());
    EXPECT_EQ(t.find(1)->motion(3).frame(0), CreatureFrame{});
    // Beyond the table: nothing to draw, the default creature for timing.
    EXPECT_EQ(t.find(2), nullptr);
    EXPECT_EQ(t.find(-1), nullptr);
    const Creature& d = t.motions(2);
    ASSERT_EQ(d.motions.size(), 21u);
    EXPECT_EQ(d.motion(20).frame(0), (CreatureFrame{0, 30000, 0, 0, {0, 0}}));
    EXPECT_EQ(d.motion(20).frames.size(), 1u);
}

TEST(CreatureTable, AShortReadEndsTheTableKeepingWhatWasRead) {
    const auto file = mkdata::creatureTableFile(twoCreatures());
    // Layout: count 4; creature 0 header 8 at 4; motion 0 count 2 at 12, frames 9 each at 14
    // and 23; motion 1 count at 32; creature 1 header at 34.
    struct Case {
        size_t length;
        size_t creatures, motions, frames;  // of the last creature read, frames of its motion 0
    };
    const Case cases[] = {
        {0, 0, 0, 0},  {3, 0, 0, 0},  {4, 0, 0, 0},  {11, 0, 0, 0}, {12, 1, 0, 0},
        {13, 1, 0, 0}, {14, 1, 1, 0}, {22, 1, 1, 0}, {23, 1, 1, 1}, {31, 1, 1, 1},
        {32, 1, 1, 2}, {33, 1, 1, 2}, {34, 1, 2, 2}, {41, 1, 2, 2}, {42, 2, 0, 0},
    };
    for (const Case& c : cases) {
        const CreatureTable t = CreatureTable::parse({file.data(), c.length});
        ASSERT_EQ(t.count(), c.creatures) << c.length;
        if (!c.creatures) continue;
        const Creature& last = *t.find(int64_t(c.creatures) - 1);
        EXPECT_EQ(last.motions.size(), c.motions) << c.length;
        if (c.motions) {
            EXPECT_EQ(last.motions[0].frames.size(), c.frames) << c.length;
        }
    }
    EXPECT_EQ(file.size(), 42u);
}

TEST(CreatureTable, CountsBeyondTheFile) {
    std::vector<uint8_t> file = mkdata::creatureTableFile(twoCreatures());
    file[0] = file[1] = file[2] = file[3] = 0xFF;  // 4 billion creatures
    file[12] = file[13] = 0xFF;                    // 65535 frames in motion 0
    const CreatureTable t = CreatureTable::parse(file);
    ASSERT_EQ(t.count(), 1u);
    EXPECT_EQ(t.find(0)->motions.size(), 1u);
    EXPECT_EQ(t.find(0)->motions[0].frames.size(), 3u);  // 28 bytes after it hold three
}

}  // namespace
}  // namespace vs::world
