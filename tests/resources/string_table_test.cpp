// The string table's lines, limits and failures, and the help built from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/error.h"
#include "mkdata/archive_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/help_text.h"
#include "resources/string_table.h"

namespace vs::resources {
namespace {

std::vector<std::u16string> parse(const std::string& bytes) {
    return StringTable::parse(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string lines(int n, const char* terminator) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "L" + std::string(i + 1 < n ? terminator : "");
    return s;
}

TEST(StringTable, SplitsLines) {
    const std::string a1500(1500, 'a');
    const std::string b1024(1024, 'b');
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::u16string> strings;
    } cases[] = {
        {"CR LF", "A\r\nB", {u"A", u"B"}},
        {"a final break adds an empty string", "A\r\nB\r\n", {u"A", u"B", u""}},
        {"LF", "A\nB\n", {u"A", u"B", u""}},
        {"lone CR keeps the next byte", "A\rB", {u"A", u"B"}},
        {"CR CR", "A\r\rB", {u"A", u"", u"B"}},
        {"empty lines", "\n\n", {u"", u"", u""}},
        {"empty file", "", {u""}},
        {"0x11 is a line break inside a string", "one\x11two", {u"one\rtwo"}},
        {"Windows-1252", "caf\xE9", {u"caf\u00E9"}},
        {"1500 bytes: cut after 1024",
         a1500 + "\nz",
         {std::u16string(1024, u'a'), std::u16string(476, u'a'), u"z"}},
        {"exactly 1024 bytes keep their terminator",
         b1024 + "\r\nz",
         {std::u16string(1024, u'b'), u"z"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parse(c.bytes), c.strings);
    }
}

TEST(StringTable, AllowsAtMost1024Strings) {
    EXPECT_EQ(parse(lines(1024, "\r\n")).size(), 1024u);
    for (const std::string& bytes : {lines(1025, "\n"), lines(1024, "\r\n") + "\r\n"}) {
        try {
            parse(bytes);
            ADD_FAILURE() << "loaded";
        } catch (const app::MyError& e) {
            EXPECT_EQ(e.text(), u"Too many strings");
        }
    }
}

TEST(StringTable, UnknownIdsGiveInvalidStringId) {
    const std::string bytes = "zero\r\none";
    StringTable t(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(StringTable::instance(), &t);
    EXPECT_EQ(t.count(), 2);
    EXPECT_EQ(t.Get(1), u"one");
    for (int id : {-1, 2, 100000}) EXPECT_EQ(t.Get(id), u"Invalid String ID");
    std::u16string copy;
    t.GetCopy(0, copy);
    EXPECT_EQ(copy, u"zero");
}

class HelpTest : public testing::Test {
  protected:
    void mount(mkdata::ArchiveWriter archive) {
        files_.add("MISC.DAT", archive.build());
        manager_ = std::make_unique<ArchiveManager>(files_);
        ASSERT_TRUE(manager_->Mount("MISC.DAT"));
    }
    // str.res where string n reads "sn".
    static std::string numbered() {
        std::string s;
        for (int i = 0; i < 180; ++i) s += "s" + std::to_string(i) + "\r\n";
        return s;
    }
    platform::MemoryFileMapper files_;
    std::unique_ptr<ArchiveManager> manager_;
};

TEST_F(HelpTest, StringTableLoadsFromTheArchives) {
    mount(std::move(mkdata::ArchiveWriter().add("STR.RES", "Vestrel\r\nsecond")));
    StringTable t;
    EXPECT_EQ(t.Get(0), u"Vestrel");
    EXPECT_EQ(t.count(), 2);
}

TEST_F(HelpTest, MissingStringTableIsAFileError) {
    mount(mkdata::ArchiveWriter());
    EXPECT_THROW(StringTable(), app::FileError);
}

TEST_F(HelpTest, HelpResGivesTheLines) {
    mount(std::move(mkdata::ArchiveWriter()
                        .add("str.res", numbered())
                        .add("help.res", "one\r\ntwo\n\nfour\rfive")));
    StringTable t;
    EXPECT_EQ(HelpTitle(), u"s97");
    EXPECT_EQ(HelpLines(), (std::vector<std::u16string>{u"one", u"two", u"", u"four", u"five"}));
}

TEST_F(HelpTest, WithoutHelpResTheFallbackOf60Entries) {
    mount(std::move(mkdata::ArchiveWriter().add("str.res", numbered())));
    StringTable t;
    const auto help = HelpLines();
    ASSERT_EQ(help.size(), 60u);
    EXPECT_EQ(help[0], u"s166");
    EXPECT_EQ(help[1], u"s172");
    EXPECT_EQ(help[14], u"");
    EXPECT_EQ(help[59], u"s133");
    int empty = 0;
    for (const auto& line : help) empty += line.empty();
    EXPECT_EQ(empty, 5);
}

}  // namespace
}  // namespace vs::resources
