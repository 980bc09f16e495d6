// Mounting archives: where they are looked for, files that fail, and headers that lie.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "app/error.h"
#include "base/byte_io.h"
#include "base/text.h"
#include "mkdata/archive_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::resources {
namespace {

using mkdata::ArchiveWriter;

std::vector<uint8_t> archiveWith(std::string_view name, std::string_view data) {
    return ArchiveWriter().add(name, data).build();
}

TEST(ArchiveManagerMount, FindsTheFileHereOrInTheParentDirectory) {
    platform::MemoryFileMapper files;
    files.add("HERE.DAT", archiveWith("A.TXT", "here"));
    files.add("../UP.DAT", archiveWith("B.TXT", "up"));
    ArchiveManager m(files);
    EXPECT_TRUE(m.Mount("HERE.DAT"));
    EXPECT_TRUE(m.Mount("UP.DAT"));
    EXPECT_FALSE(m.Mount("NONE.DAT"));
    EXPECT_EQ(m.archives().size(), 2u);  // a missing archive leaves no trace
    EXPECT_TRUE(m.Exists("A.TXT"));
    EXPECT_TRUE(m.Exists("B.TXT"));
}

TEST(ArchiveManagerMount, AnArchiveThatCannotBeOpenedCountsAsMounted) {
    platform::MemoryFileMapper files;
    files.addUnopenable("LOCKED.DAT");
    ArchiveManager m(files);
    EXPECT_TRUE(m.Mount("LOCKED.DAT"));
    ASSERT_EQ(m.archives().size(), 1u);
    EXPECT_FALSE(m.archives()[0]->isOpen());
    EXPECT_EQ(m.archives()[0]->count(), 0u);
    EXPECT_EQ(m.names(), 0u);
    EXPECT_EQ(files.mapCalls("../LOCKED.DAT"), 1);  // the parent directory was tried too
}

TEST(ArchiveManagerMount, OpensTheParentCopyWhenTheOwnOneWillNotOpen) {
    platform::MemoryFileMapper files;
    files.addUnopenable("MISC.DAT");
    files.add("../MISC.DAT", archiveWith("X.TXT", "parent"));
    ArchiveManager m(files);
    EXPECT_TRUE(m.Mount("MISC.DAT"));
    DATFile f("X.TXT");
    EXPECT_EQ(f.GetSize(), 6);
}

TEST(ArchiveManagerMount, AFailedMappingIsASystemError) {
    platform::MemoryFileMapper files;
    files.addUnmappable("BIG.DAT", ENOMEM);
    ArchiveManager m(files);
    try {
        m.Mount("BIG.DAT");
        FAIL();
    } catch (const app::Win32Error& e) {
        EXPECT_EQ(e.code(), ENOMEM);
    }
    EXPECT_TRUE(m.archives().empty());
}

TEST(ArchiveManagerMount, UpperCaseCoversAsciiAndLatin1Letters) {
    EXPECT_EQ(ArchiveManager::upperCase(u"tile.pal"), u"TILE.PAL");
    EXPECT_EQ(ArchiveManager::upperCase(u"\u00E0\u00F6\u00FE\u00F7\u00FF\u00DF1_"),
              u"\u00C0\u00D6\u00DE\u00F7\u0178\u00DF1_");
}

// A sound archive of three entries, then a corruption of its header.
struct Corruption {
    const char* what;
    std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> sound() {
    return ArchiveWriter().add("A.TXT", "aaaa").add("B.TXT", "bb").add("C.TXT", "c").build();
}
// Entry i's offset field sits at 4 + 17 i, its name at 8 + 17 i; the table ends at 4 + 17 * 4.
std::vector<uint8_t> withOffset(size_t entry, uint32_t offset) {
    base::ByteWriter w(sound());
    w.patchU32le(4 + 17 * entry, offset);
    return w.take();
}

const Corruption kCorruptions[] = {
    {"an empty file", [] { return std::vector<uint8_t>{}; }},
    {"too short for the count",
     [] {
         return std::vector<uint8_t>{1, 0, 0};
     }},
    {"a count of zero",
     [] {
         return std::vector<uint8_t>{0, 0, 0, 0};
     }},
    {"a count far beyond the file",
     [] {
         base::ByteWriter w(sound());
         w.patchU32le(0, 0xFFFFFFFFu);
         return w.take();
     }},
    {"a count one beyond the table",
     [] {
         base::ByteWriter w(sound());
         w.patchU32le(0, 5);  // 4 + 17 * 5 = 89 bytes of table, the file has 79
         return w.take();
     }},
    {"an offset past the end", [] { return withOffset(1, 1000); }},
    {"a closing offset past the end", [] { return withOffset(3, 80); }},
    {"an offset inside the table", [] { return withOffset(0, 10); }},
    {"offsets that decrease", [] { return withOffset(2, 72); }},
    {"a name without its NUL",
     [] {
         std::vector<uint8_t> b = sound();
         for (size_t i = 0; i < 13; ++i) b[8 + 17 + i] = 'N';
         return b;
     }},
    {"a table cut inside its last name",
     [] {
         base::ByteWriter w;
         w.u32le(1).u32le(4 + 17).bytes(std::string_view("LONGNAME"));
         return w.take();
     }},
};

TEST(ArchiveManagerMount, RejectsHeadersThatDoNotFitTheFile) {
    ASSERT_EQ(sound().size(), 4u + 17 * 4 + 7);  // the layout the patches above rely on
    for (const auto& c : kCorruptions) {
        SCOPED_TRACE(c.what);
        platform::MemoryFileMapper files;
        files.add("GOOD.DAT", archiveWith("G.TXT", "g"));
        files.add("BAD.DAT", c.make());
        ArchiveManager m(files);
        ASSERT_TRUE(m.Mount("GOOD.DAT"));
        try {
            m.Mount("BAD.DAT");
            ADD_FAILURE() << "mounted";
        } catch (const ArchiveError& e) {
            const std::string text = base::utf16ToUtf8(e.text());
            EXPECT_EQ(text.rfind("Invalid archive : BAD.DAT (", 0), 0u) << text;
        }
        EXPECT_EQ(m.archives().size(), 1u);
        EXPECT_EQ(m.names(), 1u);
        EXPECT_TRUE(m.Exists("G.TXT"));
    }
}

TEST(ArchiveManagerMount, AcceptsTheEdgesOfASoundHeader) {
    // Only the closing entry; equal offsets (empty entries); a closing offset short of the end.
    base::ByteWriter trailing(sound());
    trailing.patchU32le(4 + 17 * 3, 78);
    const std::vector<uint8_t> cases[] = {
        ArchiveWriter().build(),
        ArchiveWriter().add("E1", "").add("E2", "").add("F", "f").build(),
        trailing.take(),
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(MappedArchive::checkHeader(bytes), "");
    }
    platform::MemoryFileMapper files;
    files.add("T.DAT", cases[2]);
    ArchiveManager m(files);
    ASSERT_TRUE(m.Mount("T.DAT"));
    DATFile c("C.TXT");
    EXPECT_EQ(c.GetSize(), 0);  // the closing offset, not the file's length, ends the last entry
}

}  // namespace
}  // namespace vs::resources
