// The demo data builder: the archive writer's bytes, the demo texts, and a deterministic run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "base/text.h"
#include "mkdata/archive_writer.h"
#include "mkdata/content.h"
#include "mkdata/content/archives.h"
#include "mkdata/content/demo_strings.h"
#include "mkdata/data_set.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/help_text.h"
#include "resources/string_table.h"
#include "resources/text_format.h"
#include "support/temp_dir.h"

namespace vs::mkdata {
namespace {

namespace fs = std::filesystem;

TEST(ArchiveWriter, WritesTheTableWithItsClosingEntry) {
    const std::vector<uint8_t> bytes = ArchiveWriter().add("AB", "xyz").add("", "").build();
    // N = 3, the table ends at 4 + 17 * 3 = 55; "AB" at 55 (3 bytes), "" at 58, the end at 58.
    std::vector<uint8_t> expected = {3, 0, 0, 0, 55, 0, 0, 0, 'A', 'B'};
    expected.resize(4 + 17, 0);
    expected.insert(expected.end(), {58, 0, 0, 0});
    expected.resize(4 + 17 * 2, 0);
    expected.insert(expected.end(), {58, 0, 0, 0});
    expected.resize(4 + 17 * 3, 0);
    expected.insert(expected.end(), {'x', 'y', 'z'});
    EXPECT_EQ(bytes, expected);
    EXPECT_THROW(ArchiveWriter().add("THIRTEEN.CHAR", ""), std::invalid_argument);
    EXPECT_THROW(ArchiveWriter().add(std::string_view("A\0B", 3), ""), std::invalid_argument);
    EXPECT_NO_THROW(ArchiveWriter().add("TWELVE.CHARS", ""));
}

TEST(DataSet, RefusesOneNameInTwoArchives) {
    DataSet data;
    data.archive("A.DAT").add("Tile.pal", "1");
    data.archive("B.DAT").add("TILE.PAL", "2");
    EXPECT_THROW(data.checkUnique(), std::runtime_error);
    EXPECT_THROW(data.addFile("../outside", {}), std::invalid_argument);
}

TEST(DemoStrings, EveryTextFitsItsUse) {
    std::set<int> ids;
    int previous = -1;
    for (const DemoString& s : demoStrings()) {
        SCOPED_TRACE(s.id);
        EXPECT_GT(s.id, previous) << "ids in increasing order, each once";
        previous = s.id;
        ids.insert(s.id);
        const std::u16string text = base::utf8ToUtf16(s.text);
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), resources::StringTable::kMaxLine);
        EXPECT_EQ(text.find_first_of(u"\r\n"), std::u16string::npos);
        EXPECT_EQ(resources::FormatDirectives(text), s.args) << s.text;
        EXPECT_NE(std::string(s.use), "");
    }
    EXPECT_LT(previous, resources::StringTable::kMaxStrings);
    for (int id : resources::kHelpFallback) {
        if (id >= 0) {
            EXPECT_TRUE(ids.count(id)) << "help string " << id;
        }
    }
    EXPECT_TRUE(ids.count(resources::kHelpTitle));
}

// The demo data, built in memory and mounted as the program mounts it.
TEST(DemoData, HoldsTheArchivesTheProgramNeedsAndItsTextsLoad) {
    DataSet data;
    buildDemoData(data);
    platform::MemoryFileMapper files;
    for (const auto& [name, writer] : data.archives()) files.add(name, writer.build());
    resources::ArchiveManager manager(files);
    for (std::string_view name : kDemoArchives) EXPECT_TRUE(manager.Mount(name)) << name;

    resources::StringTable table;
    EXPECT_EQ(table.Get(0), u"Vestrel");
    for (const DemoString& s : demoStrings()) EXPECT_EQ(table.Get(s.id), base::utf8ToUtf16(s.text));
    EXPECT_EQ(table.Get(1), u"");  // a number nobody uses
    EXPECT_EQ(table.count(), demoStrings().back().id + 1);

    const auto help = resources::HelpLines();
    EXPECT_EQ(help.size(), demoHelpLines().size());
    EXPECT_EQ(help.front(), u"Function keys");

    resources::DATFile connaddr("CONNADDR");
    std::string line;
    ASSERT_TRUE(connaddr.ReadLine(line));
    EXPECT_EQ(line, "127.0.0.1 2323");
}

uint64_t checksum(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it)
        h = (h ^ uint8_t(*it)) * 1099511628211ull;
    return h;
}

std::map<std::string, uint64_t> checksums(const fs::path& dir) {
    std::map<std::string, uint64_t> sums;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) sums[fs::relative(e.path(), dir).string()] = checksum(e.path());
    return sums;
}

TEST(DemoData, TwoRunsOfTheCommandWriteTheSameBytes) {
    const char* binaryDir = std::getenv("VS_TEST_BINARY_DIR");
    ASSERT_NE(binaryDir, nullptr);
    const fs::path tool = fs::path(binaryDir) / "tools/mkdata/vestrel-mkdata";
    ASSERT_TRUE(fs::exists(tool));
    const test::TempDir root("mkdata");
    for (const char* run : {"a", "b"}) {
        const std::string cmd = tool.string() + " --out " + (root / run).string() + " >/dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    const auto a = checksums(root / "a");
    EXPECT_EQ(a, checksums(root / "b"));
    for (std::string_view name : kDemoArchives) EXPECT_TRUE(a.count(std::string(name))) << name;
    EXPECT_NE(std::system((tool.string() + " --bogus 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace vs::mkdata
