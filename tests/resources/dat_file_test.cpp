// Reading entries of mounted archives: names, seeks, reads and lines at the entry boundaries.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "app/error.h"
#include "base/byte_io.h"
#include "base/text.h"
#include "mkdata/archive_writer.h"
#include "mkdata/scrambled_int_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::resources {
namespace {

using mkdata::ArchiveWriter;

// Two archives: the first holds the entries under test, each followed by a neighbour so that a
// read past an entry's end would see foreign bytes instead of failing.
class DatFileTest : public testing::Test {
  protected:
    void SetUp() override {
        ArchiveWriter first;
        first.add("TILE.PAL", "0123456789")
            .add("EMPTY.BIN", "")
            .add("LINES.TXT", "A\r\nB")
            .add("MIXED.TXT", "one\ntwo\rthree\r\nfour\n\nlast")
            .add("CR.TXT", "x\r")  // its CR is the last byte: the next entry starts with LF
            .add("NEXT.TXT", "\nneighbour")
            .add("", "nameless")
            .add("twice.txt", "first")
            .add("TWICE.TXT", "second")
            .add("\xC9T\xC9.TXT", "latin");  // ÉTÉ.TXT in Windows-1252
        ArchiveWriter second;
        second.add("tile.pal", "from the second archive").add("ONLY2.TXT", "two");
        files_.add("FIRST.DAT", first.build());
        files_.add("SECOND.DAT", second.build());
        ASSERT_TRUE(manager_.Mount("FIRST.DAT"));
        ASSERT_TRUE(manager_.Mount("SECOND.DAT"));
    }

    std::string readAll(std::string_view name) {
        DATFile f(name);
        std::string s(size_t(f.GetSize()), '\0');
        EXPECT_EQ(f.Read(s.data(), -1), f.GetSize());
        return s;
    }

    platform::MemoryFileMapper files_;
    ArchiveManager manager_{files_};
};

TEST_F(DatFileTest, NamesResolveWithoutCaseAndFirstRegistrationWins) {
    struct Case {
        std::u16string name;
        bool found;
        std::string contents;
    } cases[] = {
        {u"TILE.PAL", true, "0123456789"},
        {u"tile.pal", true, "0123456789"},  // the second archive's "tile.pal" loses
        {u"Tile.Pal", true, "0123456789"},
        {u"TWICE.TXT", true, "first"},  // the earlier table entry wins
        {u"\u00E9t\u00E9.txt", true, "latin"},
        {u"ONLY2.TXT", true, "two"},
        {u"", false, ""},  // the nameless entry and the closing entry
        {u"MISSING.PAL", false, ""},
        {u"TILE.PAL ", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::utf16ToUtf8(c.name));
        EXPECT_EQ(manager_.Exists(c.name), c.found);
        if (c.found) {
            EXPECT_EQ(readAll(base::utf16ToUtf8(c.name)), c.contents);
        }
    }
    // FIRST.DAT: 8 distinct names (one nameless entry, one duplicate); SECOND.DAT adds ONLY2.TXT.
    EXPECT_EQ(manager_.names(), 9u);
}

TEST_F(DatFileTest, UnknownNameThrowsFileErrorCutTo78Characters) {
    try {
        DATFile f("NOPE.PAL");
        FAIL();
    } catch (const app::FileError& e) {
        EXPECT_EQ(e.text(), u"File not found : NOPE.PAL");
    }
    try {
        DATFile f(std::string(100, 'X'));
        FAIL();
    } catch (const app::FileError& e) {
        EXPECT_EQ(e.text().size(), 78u);
    }
}

TEST_F(DatFileTest, ClosedFileGivesFailureValues) {
    DATFile f;
    char buf[4];
    std::string line;
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(f.GetPos(), -1);
    EXPECT_EQ(f.GetSize(), -1);
    EXPECT_FALSE(f.Seek(0, 0));
    EXPECT_EQ(f.Read(buf, 1), 0);
    EXPECT_FALSE(f.ReadLine(line));
    EXPECT_EQ(f.ReadLine(buf, 4), -1);
    EXPECT_EQ(f.GetPointer(), nullptr);
    EXPECT_TRUE(f.View().empty());
    int32_t v = 7;
    EXPECT_FALSE(f.ReadScrambledInt(v));
    EXPECT_EQ(v, 7);
    f.Open("TILE.PAL");
    EXPECT_EQ(f.Close(), 1);
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(f.GetPos(), -1);
}

TEST_F(DatFileTest, SeekRules) {
    // TILE.PAL has 10 bytes. Each step runs on the position left by the one before.
    struct Step {
        int offset, origin;
        bool ok;
        int pos;  // position afterwards
    } steps[] = {
        {0, 0, true, 0},   {9, 0, true, 9},   {10, 0, false, 9}, {-1, 0, false, 9},
        {-9, 1, true, 0},  {-1, 1, false, 0}, {9, 1, true, 9},   {1, 1, false, 9},
        {0, 2, true, 10},  {1, 2, true, 9},   {9, 2, true, 1},   {10, 2, false, 1},
        {-1, 2, false, 1}, {0, 3, false, 1},  {0, -1, false, 1},
    };
    DATFile f("TILE.PAL");
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "Seek(" << s.offset << ", " << s.origin << ")");
        EXPECT_EQ(f.Seek(s.offset, s.origin), s.ok);
        EXPECT_EQ(f.GetPos(), s.pos);
    }
}

TEST_F(DatFileTest, EmptyEntryOpensAndRefusesEverySeek) {
    DATFile f("EMPTY.BIN");
    EXPECT_EQ(f.GetSize(), 0);
    for (int origin = 0; origin < 3; ++origin) EXPECT_FALSE(f.Seek(0, origin));
    char c = 'z';
    EXPECT_EQ(f.Read(&c, 0), 0);
    EXPECT_EQ(f.Read(&c, -1), 0);
    EXPECT_EQ(f.Read(&c, 1), 0);
    EXPECT_EQ(c, 'z');
    std::string line;
    EXPECT_FALSE(f.ReadLine(line));
}

TEST_F(DatFileTest, ReadsAreWholeOrNothingAndStayInsideTheEntry) {
    DATFile f("TILE.PAL");
    std::array<char, 16> buf{};
    buf.fill('#');
    EXPECT_EQ(f.Read(buf.data(), 11), 0);  // would reach into the next entry
    EXPECT_EQ(f.GetPos(), 0);
    EXPECT_EQ(buf[0], '#');
    EXPECT_EQ(f.Read(buf.data(), 4), 4);
    EXPECT_EQ(std::string(buf.data(), 4), "0123");
    EXPECT_EQ(f.Read(buf.data(), -1), 0);  // "the size" from position 4 crosses the end
    EXPECT_EQ(f.Read(buf.data(), 7), 0);
    EXPECT_EQ(f.Read(buf.data(), 6), 6);
    EXPECT_EQ(f.GetPos(), 10);
    EXPECT_EQ(f.Read(buf.data(), 1), 0);
    EXPECT_EQ(f.Read(buf.data(), 0), 0);

    ASSERT_TRUE(f.Seek(0, 0));
    EXPECT_EQ(f.Read(buf.data(), -1), 10);  // back at the start the whole entry reads again
    ASSERT_TRUE(f.Seek(0, 2));
    EXPECT_EQ(f.GetPos(), 10);
    EXPECT_EQ(f.Read(buf.data(), 1), 0);
}

TEST_F(DatFileTest, PointerAndViewShowTheEntryInPlace) {
    DATFile f("TILE.PAL");
    ASSERT_TRUE(f.Seek(3, 0));
    EXPECT_EQ(std::memcmp(f.GetPointer(), "3456789", 7), 0);
    EXPECT_EQ(f.View().size(), 7u);
    ASSERT_TRUE(f.Seek(0, 2));
    EXPECT_TRUE(f.View().empty());
}

TEST_F(DatFileTest, ReadLineIntoString) {
    struct Case {
        const char* entry;
        std::vector<std::string> lines;
    } cases[] = {
        {"LINES.TXT", {"A", "B"}},
        {"MIXED.TXT", {"one", "two", "three", "four", "", "last"}},
        {"CR.TXT", {"x"}},  // the neighbour's LF is not this entry's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        DATFile f(c.entry);
        std::vector<std::string> got;
        std::string line;
        while (f.ReadLine(line)) got.push_back(line);
        EXPECT_EQ(got, c.lines);
        EXPECT_EQ(f.GetPos(), f.GetSize());
    }
}

TEST_F(DatFileTest, ReadLineIntoBufferKeepsTerminatorsAndChecksCapacity) {
    DATFile f("MIXED.TXT");
    char buf[8];
    EXPECT_EQ(f.ReadLine(buf, 3), -1);  // "one\n" needs 4
    EXPECT_EQ(f.GetPos(), 0);
    EXPECT_EQ(f.ReadLine(buf, 4), 4);
    EXPECT_EQ(std::string(buf, 4), "one\n");
    EXPECT_EQ(f.ReadLine(buf, 8), 4);
    EXPECT_EQ(std::string(buf, 4), "two\r");
    EXPECT_EQ(f.ReadLine(buf, 8), 7);
    EXPECT_EQ(std::string(buf, 7), "three\r\n");
    EXPECT_EQ(f.ReadLine(buf, 8), 5);
    EXPECT_EQ(f.ReadLine(buf, 8), 1);  // the empty line: its LF alone
    EXPECT_EQ(f.ReadLine(buf, 8), 4);
    EXPECT_EQ(std::string(buf, 4), "last");
    EXPECT_EQ(f.ReadLine(buf, 8), -1);

    DATFile cr("CR.TXT");
    EXPECT_EQ(cr.ReadLine(buf, 8), 2);  // "x\r", not the neighbour's "\n"
    EXPECT_EQ(cr.ReadLine(buf, 8), -1);
}

TEST_F(DatFileTest, OpeningAgainTakesTheNewEntry) {
    DATFile f("TILE.PAL");
    ASSERT_TRUE(f.Seek(5, 0));
    f.Open("ONLY2.TXT");
    EXPECT_EQ(f.GetPos(), 0);
    EXPECT_EQ(f.GetSize(), 3);
    EXPECT_THROW(f.Open("MISSING"), app::FileError);
    EXPECT_FALSE(f.IsOpen());
}

TEST(ScrambledInt, RoundTripsThroughWriterAndReader) {
    // Records at even and odd positions, after other data, with both overloads.
    base::ByteWriter w;
    const uint32_t values[] = {0, 1, 0xFFFFFFFFu, 0x12345678u, 0x80000000u};
    for (uint32_t v : values) mkdata::appendScrambledInt(w, v);
    w.u8(0xAA);  // shift the next records to odd positions
    for (uint32_t v : values) mkdata::appendScrambledInt(w, v);
    platform::MemoryFileMapper files;
    files.add("T.DAT", ArchiveWriter().add("PAD", "xyz").add("INTS.TBL", w.data()).build());
    ArchiveManager manager(files);
    ASSERT_TRUE(manager.Mount("T.DAT"));

    DATFile f("INTS.TBL");
    for (int round = 0; round < 2; ++round) {
        for (uint32_t v : values) {
            uint32_t u = 0;
            ASSERT_TRUE(f.ReadScrambledInt(u));
            EXPECT_EQ(u, v);
        }
        if (round == 0) {
            ASSERT_TRUE(f.Seek(1, 1));
        }
    }
    ASSERT_TRUE(f.Seek(3 * 8, 0));
    int32_t s = 0;
    ASSERT_TRUE(f.ReadScrambledInt(s));
    EXPECT_EQ(s, 0x12345678);
    ASSERT_TRUE(f.Seek(2 * 8, 0));
    ASSERT_TRUE(f.ReadScrambledInt(s));
    EXPECT_EQ(s, -1);
}

TEST(ScrambledInt, WrongCheckValueFailsAndLeavesTheOutputAlone) {
    base::ByteWriter good;
    mkdata::appendScrambledInt(good, 42);  // made for position 0
    std::vector<uint8_t> flipped = good.data();
    flipped[0] ^= 0x01;                   // one bit of the half that carries the check value
    std::vector<uint8_t> moved = {0, 0};  // the good record, but read at position 2
    moved.insert(moved.end(), good.data().begin(), good.data().end());
    platform::MemoryFileMapper files;
    files.add("T.DAT", ArchiveWriter()
                           .add("GOOD", good.data())
                           .add("FLIPPED", flipped)
                           .add("MOVED", moved)
                           .add("SHORT", std::vector<uint8_t>(7, 0))
                           .build());
    ArchiveManager manager(files);
    ASSERT_TRUE(manager.Mount("T.DAT"));

    uint32_t out = 99;
    DATFile f("GOOD");
    ASSERT_TRUE(f.ReadScrambledInt(out));
    EXPECT_EQ(out, 42u);
    for (const char* name : {"FLIPPED", "MOVED", "SHORT"}) {
        SCOPED_TRACE(name);
        DATFile bad(name);
        if (std::string_view(name) == "MOVED") {
            ASSERT_TRUE(bad.Seek(2, 0));
        }
        out = 99;
        EXPECT_FALSE(bad.ReadScrambledInt(out));
        EXPECT_EQ(out, 99u);
    }
}

}  // namespace
}  // namespace vs::resources
