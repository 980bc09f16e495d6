#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "base/byte_io.h"
#include "base/text.h"
#include "platform/headless/headless_platform.h"

namespace vs::app {
namespace {

namespace fs = std::filesystem;

std::u16string macroString(int n) {
    return u"macro " + base::asciiToUtf16(std::to_string(n));
}

// Account files in a directory of their own, the current one while a test runs.
class AccountFileTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("vs-account-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    void writeFile(const fs::path& p, std::span<const uint8_t> bytes) {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void writeFile(const fs::path& p, std::string_view text) {
        writeFile(p, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
    void fillAccount(Settings& s) {
        for (int i = 0; i < Settings::kMacroCount; ++i) {
            s.setMacro(i, u"say " + base::asciiToUtf16(std::to_string(i)) + u" \u4e2d");
            s.setMacroKey(i, char16_t(u'A' + i));
        }
        for (int i = 0; i < Settings::kTwentyCount; ++i)
            s.setTwentyString(i, base::asciiToUtf16(std::to_string(i * i)));
        s.setAccountText(u"profile \U0001F600");
        s.setStringList({u"friend", u"", u"another"});
    }

    platform::HeadlessPlatform platform_;
    Settings settings_{macroString};
    fs::path previous_, dir_;
};

// An account file as bytes: ten macros of the given lengths, then whatever `rest` adds.
std::vector<uint8_t> accountFile(std::initializer_list<uint32_t> macroLengths,
                                 const std::function<void(base::ByteWriter&)>& rest = {}) {
    base::ByteWriter w;
    for (uint32_t n : macroLengths) {
        w.u16le(n);
        for (uint32_t i = 0; i < n && i < 200; ++i) w.u16le('m');
    }
    if (rest) rest(w);
    return w.take();
}

void keysAndStrings(base::ByteWriter& w) {
    for (int i = 0; i < 10; ++i) w.u16le('0' + i);
    for (int i = 0; i < 20; ++i) w.u16le(1).u16le('s');
}

TEST_F(AccountFileTest, RoundTripAndSwitchingAccounts) {
    fillAccount(settings_);
    ASSERT_TRUE(settings_.saveAccount(u"Alice"));
    EXPECT_TRUE(fs::exists(dir_ / "users" / "Alice.usr"));
    const std::vector<uint8_t> written = settings_.accountBytes();

    Settings other(macroString);
    ASSERT_TRUE(other.loadAccount(u"Alice"));
    EXPECT_EQ(other.accountBytes(), written);
    EXPECT_EQ(other.macro(3), u"say 3 \u4e2d");
    EXPECT_EQ(other.macroKey(9), u'J');
    EXPECT_EQ(other.twentyString(19), u"361");
    EXPECT_EQ(other.accountText(), u"profile \U0001F600");
    EXPECT_EQ(other.stringList(), (std::vector<std::u16string>{u"friend", u"", u"another"}));

    // Another account starts from the defaults, not from what Alice left.
    EXPECT_FALSE(other.loadAccount(u"Bob"));
    EXPECT_EQ(other.macro(0), u"macro 67");
    EXPECT_EQ(other.macroKey(0), u'a');
    EXPECT_EQ(other.twentyString(0), u"");
    EXPECT_EQ(other.accountText(), u"");
    EXPECT_TRUE(other.stringList().empty());
}

TEST_F(AccountFileTest, AShortOrBadFileStopsWhereItGoesWrong) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t macrosRead;  // macros that hold 'm's; the rest keep their defaults
        bool keysRead;
        size_t listEntries;
    };
    auto withList = [](std::initializer_list<uint32_t> lengths) {
        return [lengths](base::ByteWriter& w) {
            keysAndStrings(w);
            w.u16le(2).u16le('t').u16le('t');
            w.u32le(5);  // the count is not trusted: the entries run to the end
            for (uint32_t n : lengths) {
                w.u32le(n);
                for (uint32_t i = 0; i < n && i < 300; ++i) w.u16le('e');
            }
        };
    };
    const Case cases[] = {
        {"whole", accountFile({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, withList({3, 0})), 10, true, 2},
        {"macro of 128 units", accountFile({1, 2, 128, 4, 5, 6, 7, 8, 9, 10}), 2, false, 0},
        {"macro of 127 units", accountFile({127, 1, 1, 1, 1, 1, 1, 1, 1, 1}, withList({})), 10,
         true, 0},
        {"cut inside macro 4",
         [] {
             auto b = accountFile({1, 1, 1, 1, 9});
             b.resize(b.size() - 3);
             return b;
         }(),
         4, false, 0},
        {"no keys", accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), 10, false, 0},
        {"list entry of 0xFFFFFFFF units",
         accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, withList({2, 0xFFFFFFFF, 2})), 10, true, 1},
        {"list entry of 256 units", accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, withList({2, 256})),
         10, true, 1},
        {"string of 256 units",
         accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                     [](base::ByteWriter& w) {
                         for (int i = 0; i < 10; ++i) w.u16le('0' + i);
                         w.u16le(256);
                     }),
         10, true, 0},
        {"account text of 251 units",
         accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                     [](base::ByteWriter& w) {
                         keysAndStrings(w);
                         w.u16le(251);
                         for (int i = 0; i < 251; ++i) w.u16le('t');
                     }),
         10, true, 0},
        {"empty", {}, 0, false, 0},
    };
    for (const auto& c : cases) {
        settings_.resetAccountFields();
        settings_.readAccountBytes(c.bytes);
        for (int i = 0; i < Settings::kMacroCount; ++i) {
            const bool read = size_t(i) < c.macrosRead;
            EXPECT_EQ(settings_.macro(i) != macroString(67 + i), read) << c.name << " macro " << i;
        }
        EXPECT_EQ(settings_.macroKey(0), c.keysRead ? u'0' : u'a') << c.name;
        EXPECT_EQ(settings_.stringList().size(), c.listEntries) << c.name;
    }

    // At most 1000 list entries are kept.
    std::vector<uint8_t> many =
        accountFile({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, [](base::ByteWriter& w) {
            keysAndStrings(w);
            w.u16le(0).u32le(0);
            for (int i = 0; i < 1500; ++i) w.u32le(1).u16le('e');
        });
    settings_.readAccountBytes(many);
    EXPECT_EQ(settings_.stringList().size(), Settings::kMaxListEntries);
}

TEST_F(AccountFileTest, TheOlderTextFileIsReadWhenThereIsNoAccountFile) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "\"macro text " + std::to_string(i) + "\"\n";
    text += "\"x\" \"\" \"y\" \"\" \"\" \"\" \"\" \"\" \"\" \"z\"\n";  // keys; an empty one is none
    text += "skipped outside quotes \"caf\xe9\"";                      // Windows-1252
    text += " \"" + std::string(400, 'w') + "\"";                      // capped at 255 units
    text += " \"no closing quote";
    writeFile(dir_ / "users" / "Carol.cfg", text);
    ASSERT_TRUE(settings_.loadAccount(u"Carol"));
    EXPECT_EQ(settings_.macro(9), u"macro text 9");
    EXPECT_EQ(settings_.macroKey(0), u'x');
    EXPECT_EQ(settings_.macroKey(1), u'\0');
    EXPECT_EQ(settings_.macroKey(9), u'z');
    EXPECT_EQ(settings_.twentyString(0), u"caf\u00e9");
    EXPECT_EQ(settings_.twentyString(1), std::u16string(255, u'w'));
    EXPECT_EQ(settings_.twentyString(2), u"no closing quote");
    EXPECT_EQ(settings_.twentyString(3), u"");  // after the end of the file: defaults
    EXPECT_EQ(settings_.accountText(), u"");

    // Once the account file exists it is the one read.
    settings_.setMacro(0, u"new");
    ASSERT_TRUE(settings_.saveAccount(u"Carol"));
    ASSERT_TRUE(settings_.loadAccount(u"Carol"));
    EXPECT_EQ(settings_.macro(0), u"new");
}

TEST_F(AccountFileTest, NamesThatCouldLeaveTheDirectoryGetNoFile) {
    writeFile(dir_ / "secret.usr", accountFile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    const std::u16string names[] = {
        u"",        u"../secret", u"..", u"a/b", u"a\\b", u"tab\tme", std::u16string(u"nul\0x", 5),
        u"x\xD800y"};
    for (const auto& name : names) {
        EXPECT_FALSE(settings_.saveAccount(name)) << base::utf16ToUtf8(name);
        EXPECT_FALSE(settings_.loadAccount(name)) << base::utf16ToUtf8(name);
        EXPECT_EQ(settings_.macro(0), u"macro 67");
    }
    EXPECT_FALSE(fs::exists(dir_ / "users"));
    EXPECT_TRUE(validFileNamePart(u"Dana \u00e9\U0001F600"));
}

TEST_F(AccountFileTest, AFailedWriteIsReportedAndLosesNothing) {
    fillAccount(settings_);
    ASSERT_TRUE(settings_.saveAccount(u"Eve"));
    const auto before = fs::file_size(dir_ / "users" / "Eve.usr");
    // A directory in the way of the file: the rename cannot replace it.
    fs::create_directories(dir_ / "users" / "Frank.usr" / "inside");
    EXPECT_FALSE(settings_.saveAccount(u"Frank"));
    EXPECT_TRUE(fs::is_directory(dir_ / "users" / "Frank.usr" / "inside"));
    EXPECT_EQ(fs::file_size(dir_ / "users" / "Eve.usr"), before);
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "users")) files += e.is_regular_file();
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace vs::app
