#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/posix/file_settings_store.h"

namespace vs::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kKey = "HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow";

SettingValue dword(uint32_t n) {
    return {kSettingDword, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}
SettingValue sz(std::u16string_view s) {
    return {kSettingSz, utf16LeBytes(s)};
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Every kind of value the store can hold, some of them unusual.
void fill(SettingsStore& s) {
    s.set(kKey, "Font", dword(2));
    s.set(kKey, "MP3Dir", sz(u"C:\\Music \"mine\"\n\t\x01\u00e9\u4e2d\U0001F600"));
    s.set(kKey, "Lone", sz(std::u16string(1, char16_t(0xD800)) + u"x" + char16_t(0xDC00)));
    s.set(kKey, "Empty", sz(u""));
    s.set(kKey, "DialogPos1", {kSettingBinary, {1, 0, 0, 0, 0xF0, 0, 0, 0, 0x40, 1, 0, 0}});
    s.set(kKey, "NoBytes", {kSettingBinary, {}});
    s.set(kKey, "ShortDword", {kSettingDword, {1, 2}});
    s.set(kKey, "OddString", {kSettingSz, {0x41, 0, 0x42}});
    s.set(kKey, "Multi", {7, {0x41, 0, 0, 0}});
    s.set(kKey, "name with \"quotes\" and \\", dword(0xFFFFFFFF));
    s.set(std::string(kKey) + "\\Midi", "3", sz(u"song.mid"));
    s.createKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quilm\\Dunmarrow\\/home/me/[games]");
}

TEST(SettingsText, EveryValueSurvivesTheTextForm) {
    MemorySettingsStore a;
    fill(a);
    const std::string text = a.text();
    std::vector<size_t> skipped;
    const SettingsTree back = parseSettingsText(text, &skipped);
    EXPECT_TRUE(skipped.empty());
    MemorySettingsStore b;
    b.loadText(text);
    EXPECT_EQ(b.text(), text);
    for (const auto& [folded, key] : a.tree()) {
        auto it = back.find(folded);
        ASSERT_NE(it, back.end()) << key.path();
        EXPECT_EQ(it->second.values(), key.values()) << key.path();
    }
    EXPECT_EQ(back.size(), a.tree().size());

    // What a person reads.
    for (const char* line : {
             "[HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow]\n",
             "\"Font\"=dword:00000002\n",
             "\"MP3Dir\"=\"C:\\\\Music \\\"mine\\\"\\n\\t\\u0001\u00e9\u4e2d\U0001F600\"\n",
             "\"Lone\"=\"\\ud800x\\udc00\"\n",
             "\"DialogPos1\"=hex:01,00,00,00,f0,00,00,00,40,01,00,00\n",
             "\"ShortDword\"=hex(4):01,02\n",
             "\"OddString\"=hex(1):41,00,42\n",
             "\"3\"=\"song.mid\"\n",
         })
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(SettingsText, ALineThatDoesNotParseIsSkippedAlone) {
    const std::string text =
        "; a comment\n"
        "\"Orphan\"=dword:00000001\n"  // 2: before any key
        "[HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow]\r\n"
        "\"Font\"=dword:00000002\r\n"
        "\"Cut\"=dword:0000000\n"        // 5: seven digits
        "\"Bad\"=dword:0000000g\n"       // 6
        "\"Open\"=\"no closing quote\n"  // 7
        "\"Trail\"=\"x\" junk\n"         // 8
        "\"Esc\"=\"\\q\"\n"              // 9: unknown escape
        "\"Hex\"=hex:0,01\n"             // 10
        "\"Comma\"=hex:01,\n"            // 11
        "\"Type\"=hex(zz):01\n"          // 12
        "garbage\n"                      // 13
        "  \"Sound\"=dword:00000001  \n"
        "[bad\\\\path]\n"            // 15
        "\"Lost\"=dword:00000001\n"  // 16: under a bad key
        "[HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow]\n"
        "\"Music\"=hex:\n"
        "\"Font\"=dword:00000003\n";  // later lines win
    std::vector<size_t> skipped;
    const SettingsTree tree = parseSettingsText(text, &skipped);
    EXPECT_EQ(skipped, (std::vector<size_t>{2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16}));
    MemorySettingsStore s;
    s.loadText(text);
    EXPECT_EQ(s.getDword(kKey, "font"), 3u);
    EXPECT_EQ(s.getDword(kKey, "Sound"), 1u);
    EXPECT_EQ(s.getBinary(kKey, "Music"), std::vector<uint8_t>{});
    EXPECT_EQ(s.valueNames(kKey), (std::vector<std::string>{"Font", "Sound", "Music"}));
}

TEST(SettingsText, ATruncatedFileKeepsItsWholeLines) {
    MemorySettingsStore a;
    fill(a);
    const std::string text = a.text();
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        const std::string part = text.substr(0, cut);
        MemorySettingsStore b;
        b.loadText(part);
        // Every value of a line that arrived whole is there, exactly.
        const size_t lastNewline = part.rfind('\n');
        MemorySettingsStore whole;
        whole.loadText(lastNewline == std::string::npos ? "" : part.substr(0, lastNewline + 1));
        for (const auto& [folded, key] : whole.tree())
            for (const auto& [name, value] : key.values()) {
                const SettingValue* got = b.find(key.path(), name);
                ASSERT_NE(got, nullptr) << cut << " " << name;
                EXPECT_EQ(*got, value) << cut << " " << name;
            }
    }
}

TEST(SettingsStore, KeysAndTypedValues) {
    MemorySettingsStore s;
    EXPECT_FALSE(s.keyExists(kKey));
    EXPECT_TRUE(s.setDword(std::string(kKey) + "\\Servers", "MultiServerInfoVersion", 3));
    s.setDword(std::string(kKey) + " Other", "x", 1);  // sorts between the key and its subkeys
    s.setDword(std::string(kKey) + "\\Midi2", "x", 1);
    s.setDword(std::string(kKey) + "\\Midi\\Deeper", "x", 1);
    EXPECT_TRUE(s.keyExists(kKey));  // through its subkey, as the registry has it
    EXPECT_TRUE(s.keyExists("hkey_current_user\\SOFTWARE\\quilm"));
    EXPECT_FALSE(s.keyExists("HKEY_CURRENT_USER\\Soft"));

    s.deleteKey(std::string(kKey) + "\\Midi");
    EXPECT_FALSE(s.keyExists(std::string(kKey) + "\\Midi\\Deeper"));
    EXPECT_TRUE(s.keyExists(std::string(kKey) + "\\Midi2"));
    s.deleteKey(kKey);
    EXPECT_FALSE(s.keyExists(std::string(kKey) + "\\Servers"));
    EXPECT_TRUE(s.keyExists(std::string(kKey) + " Other"));

    EXPECT_FALSE(s.setDword("", "x", 1));
    EXPECT_FALSE(s.setDword("A\\\\B", "x", 1));
    EXPECT_FALSE(s.setDword("A\\B\n", "x", 1));

    s.setDword(kKey, "Font", 2);
    s.setString(kKey, "Name", u"x");
    s.set(kKey, "Short", {kSettingDword, {1, 2, 3}});
    EXPECT_EQ(s.getDword(kKey, "FONT"), 2u);
    EXPECT_EQ(s.getDword(kKey, "Name"), std::nullopt);
    EXPECT_EQ(s.getDword(kKey, "Short"), std::nullopt);
    EXPECT_EQ(s.getString(kKey, "Font"), std::nullopt);
    EXPECT_EQ(s.getBinary(kKey, "Name"), std::nullopt);
    EXPECT_EQ(s.getString(kKey, "name"), u"x");
    s.erase(kKey, "Name");
    EXPECT_EQ(s.valueNames(kKey), (std::vector<std::string>{"Font", "Short"}));
}

class FileSettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vs-settings-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        file_ = dir_ / "vestrel" / "settings.reg";
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_, file_;
};

TEST_F(FileSettingsStoreTest, WritesAReadableFileOnlyItsUserMayRead) {
    std::string written;
    {
        FileSettingsStore s(file_);
        EXPECT_EQ(SettingsStore::instance(), &s);
        EXPECT_FALSE(s.readOnly());
        fill(s);
        ASSERT_TRUE(s.flush());
        written = s.text();
    }
    EXPECT_EQ(SettingsStore::instance(), nullptr);
    EXPECT_EQ(readText(file_), written);
    struct stat st {};
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(file_.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    FileSettingsStore again(file_);
    EXPECT_EQ(again.text(), written);
    // Unchanged values are not written again; a change replaces the file whole.
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    const ino_t before = st.st_ino;
    EXPECT_TRUE(again.flush());
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    EXPECT_EQ(st.st_ino, before);
    again.setDword(kKey, "Font", 3);
    EXPECT_TRUE(again.flush());
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    EXPECT_NE(st.st_ino, before);
    EXPECT_EQ(std::distance(fs::directory_iterator(file_.parent_path()), fs::directory_iterator()),
              1);  // no temporary file left behind
}

TEST_F(FileSettingsStoreTest, AGarbledFileLoadsWhatItCan) {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_) << "\x01\x02[[[\n[HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow]\n"
                            "\"Font\"=dword:00000001\n\"Icons\"=dword:zz\n\xff\xfe";
    FileSettingsStore s(file_);
    EXPECT_FALSE(s.readOnly());
    EXPECT_EQ(s.getDword(kKey, "Font"), 1u);
    EXPECT_EQ(s.valueNames(kKey).size(), 1u);
    EXPECT_TRUE(s.flush());
}

TEST_F(FileSettingsStoreTest, AFileItCannotReadIsNeverOverwritten) {
    fs::create_directories(file_);  // a directory where the file should be
    FileSettingsStore s(file_);
    EXPECT_TRUE(s.readOnly());
    s.setDword(kKey, "Font", 1);
    EXPECT_FALSE(s.flush());
    EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(FileSettingsStoreTest, AFailedWriteKeepsTheOldFile) {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "blocker") << "a file, not a directory";
    FileSettingsStore s(dir_ / "blocker" / "settings.reg");
    s.setDword(kKey, "Font", 1);
    EXPECT_FALSE(s.flush());

    const fs::path target = dir_ / "kept";
    std::ofstream(target) << "old";
    std::string error;
    EXPECT_TRUE(writeFileAtomically(target, "new", 0600, &error)) << error;
    EXPECT_EQ(readText(target), "new");
    EXPECT_FALSE(writeFileAtomically(dir_ / "missing" / "x", "new", 0600, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vs::platform
