#include "app/settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/launch_options.h"
#include "base/text.h"
#include "platform/headless/headless_platform.h"

namespace vs::app {
namespace {

using platform::SettingValue;

constexpr std::string_view kKey = Settings::kUserKey;

std::u16string macroString(int n) {
    return u"macro " + base::asciiToUtf16(std::to_string(n));
}

SettingValue dword(uint32_t n) {
    return {platform::kSettingDword,
            {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}
SettingValue sz(std::u16string_view s) {
    return {platform::kSettingSz, platform::utf16LeBytes(s)};
}
SettingValue binary(std::vector<uint8_t> b) {
    return {platform::kSettingBinary, std::move(b)};
}
std::vector<uint8_t> le32(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> out;
    for (int32_t v : values)
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return out;
}

class SettingsTest : public testing::Test {
  protected:
    platform::HeadlessPlatform platform_;
    platform::MemorySettingsStore& store_ = platform_.settings;
    Settings settings_{macroString};

    void store(std::string_view name, SettingValue v, std::string_view key = kKey) {
        store_.set(key, name, std::move(v));
    }
    // The settings as another run would find them: saved, reloaded from the text, loaded.
    std::string reloadedText() {
        EXPECT_TRUE(settings_.save());
        store_.loadText(store_.flushedText());
        Settings other(macroString);
        EXPECT_TRUE(other.load());
        EXPECT_TRUE(other.save());
        return store_.flushedText();
    }
};

TEST_F(SettingsTest, DefaultsWhenNothingIsStored) {
    EXPECT_FALSE(settings_.load());
    settings_.start(LaunchOptions{});
    EXPECT_EQ(settings_.font(), 0);
    EXPECT_EQ(settings_.soundOn(), 1);
    EXPECT_EQ(settings_.soundVolume(), 100);
    EXPECT_EQ(settings_.soundLatency(), 16);
    EXPECT_EQ(settings_.soundFrequency(), 1);
    EXPECT_EQ(settings_.colour(0), 10);
    EXPECT_EQ(settings_.colour(1), -1);
    EXPECT_EQ(settings_.colour(2), 17);
    EXPECT_EQ(settings_.colour(3), 11);
    EXPECT_EQ(settings_.macro(0), u"macro 67");
    EXPECT_EQ(settings_.macro(9), u"macro 76");
    EXPECT_EQ(settings_.macroKey(0), u'a');
    EXPECT_EQ(settings_.portCount(), 1);
    EXPECT_EQ(settings_.autoConnect(), 1);
    EXPECT_EQ(settings_.serverAddress(), (platform::Ipv4Address{0, 0, 0, 0}));
    EXPECT_EQ(settings_.dialogPos(0), (DialogPos{1, 240, 320}));
    EXPECT_EQ(settings_.dialogPos(Settings::kTopRightDialogSlot), (DialogPos{2, 11, 432}));
    EXPECT_FALSE(settings_.lastAccount());
    EXPECT_EQ(settings_.pixelFormat(), 565);
    EXPECT_EQ(settings_.codePage(), "WINDOWS-1252");
    EXPECT_EQ(settings_.windowScale(), 0);
}

TEST_F(SettingsTest, EveryValueComesBackThroughTheStore) {
    settings_.setLastAccount(u"Ann\u00e9");
    settings_.setFont(3);
    settings_.setIcons(true);
    settings_.setSoundOn(false);
    settings_.setSoundVolume(42);
    settings_.setMusicOn(false);
    settings_.setMusicVolume(7);
    settings_.setDoubleClick(false);
    settings_.setShadow(false);
    settings_.setSeeThrough(false);
    settings_.setSayWithEnter(false);
    settings_.setHearEmotions(false);
    settings_.setMusicType(-5);
    settings_.setMp3Dir(u"/music/\u4e2d");
    settings_.setCdRomDrive(-2);
    settings_.setPlayRandom(true);
    settings_.setPlayRepeat(true);
    settings_.setSoundFrequency(200);
    for (int i = 0; i < 4; ++i) settings_.setColour(i, int16_t(-1000 * i));
    for (int i = 0; i < Settings::kDialogPosCount; ++i)
        settings_.setDialogPos(i, {i % 3, -i * 7, i * 9});
    ASSERT_TRUE(settings_.addMidiEntry(3, u"three.mid"));
    ASSERT_TRUE(settings_.addMidiEntry(255, u"last.mid"));
    settings_.setServerList({{1, {10, 0, 0, 1}, 2001, u"One", u"First", u"Agree"},
                             {2, {192, 168, 1, 2}, 65535, u"Two", u"", u""}},
                            258);
    settings_.setWindowScale(3);
    settings_.setFullscreen(true);

    const std::string first = (settings_.save(), store_.flushedText());
    EXPECT_EQ(reloadedText(), first);

    Settings back(macroString);
    store_.loadText(first);
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.lastAccount(), u"Ann\u00e9");
    EXPECT_EQ(back.soundVolume(), 42);
    EXPECT_EQ(back.musicType(), -5);
    EXPECT_EQ(back.cdRomDrive(), -2);
    EXPECT_EQ(back.soundFrequency(), 200);
    EXPECT_EQ(back.colour(3), -3000);
    EXPECT_EQ(back.dialogPos(5), (DialogPos{2, -35, 45}));
    EXPECT_EQ(back.midiList(), settings_.midiList());
    EXPECT_EQ(back.servers(), settings_.servers());
    EXPECT_EQ(back.serverListVersion(), 2);  // written as its low byte
    EXPECT_EQ(back.windowScale(), 3);
    EXPECT_TRUE(back.fullscreen());
    EXPECT_EQ(back.mp3Dir(), u"/music/\u4e2d");

    // Written by save only: where the game ran, and the machine-wide record of it.
    EXPECT_TRUE(store_.getString(kKey, "Location"));
    EXPECT_FALSE(store_.find(kKey, "SoundLatency"));
    EXPECT_TRUE(store_.keyExists(std::string(Settings::kMachineAppKey)));
}

TEST_F(SettingsTest, ValuesOfTheWrongTypeSizeOrRangeKeepTheirDefaults) {
    using Get = std::function<int64_t(const Settings&)>;
    struct Case {
        const char* name;
        SettingValue value;
        Get get;
        int64_t expected;
    };
    const Get font = [](const Settings& s) { return s.font(); };
    const Get volume = [](const Settings& s) { return s.soundVolume(); };
    const Get latency = [](const Settings& s) { return s.soundLatency(); };
    const Get drive = [](const Settings& s) { return s.cdRomDrive(); };
    const Get freq = [](const Settings& s) { return s.soundFrequency(); };
    const Get colour2 = [](const Settings& s) { return s.colour(2); };
    const Get scale = [](const Settings& s) { return s.windowScale(); };
    const Get pixel = [](const Settings& s) { return s.pixelFormat(); };
    const Get version = [](const Settings& s) { return s.serverListVersion(); };
    const Case cases[] = {
        {"SoundVolume", dword(101), volume, 100},
        {"SoundVolume", dword(0), volume, 0},
        {"SoundVolume", dword(0xFFFFFFFF), volume, 100},
        {"Font", dword(3), font, 3},
        {"Font", dword(4), font, 0},
        {"Font", sz(u"2"), font, 0},
        {"Font", {platform::kSettingDword, {2, 0}}, font, 0},
        {"Font", {platform::kSettingDword, {2, 0, 0, 0, 0}}, font, 0},
        {"Font", binary({2, 0, 0, 0}), font, 0},
        {"SoundLatency", dword(1000), latency, 1000},
        {"SoundLatency", {platform::kSettingDword, {1}}, latency, 16},
        {"MusicCdRomDrive", dword(0x12345678), drive, 0x5678},
        {"MusicCdRomDrive", dword(0xFFFF), drive, -1},
        {"SoundFreq", dword(0x1FF), freq, 0xFF},
        {"Color2", dword(0x00018000), colour2, -32768},
        {"WindowScale", dword(8), scale, 8},
        {"WindowScale", dword(9), scale, 0},
        {"PixelFormat", dword(555), pixel, 555},
        {"PixelFormat", dword(556), pixel, 565},
    };
    for (const auto& c : cases) {
        store_.deleteKey(kKey);
        store(c.name, c.value);
        Settings s(macroString);
        ASSERT_TRUE(s.load()) << c.name;
        EXPECT_EQ(c.get(s), c.expected) << c.name << " " << testing::PrintToString(c.value.data);
    }
    store_.deleteKey(kKey);
    store("MultiServerInfoVersion", dword(0x80000000), Settings::kServersKey);
    Settings s(macroString);
    ASSERT_TRUE(s.load());
    EXPECT_EQ(version(s), 0);
}

TEST_F(SettingsTest, StringAndBinaryRules) {
    store("MP3Dir", sz(u""));
    store("LogData", binary({'A', 0, 'B'}));  // odd size: not a UTF-16 text
    store("CodePage", sz(u"949"));
    ASSERT_TRUE(settings_.load());
    EXPECT_EQ(settings_.mp3Dir(), u"");
    EXPECT_FALSE(settings_.lastAccount());
    EXPECT_EQ(settings_.codePage(), "949");

    // Cut at their byte limits: 10000 bytes of folder name, 100 bytes of account name.
    store("MP3Dir", sz(std::u16string(6000, u'x')));
    std::vector<uint8_t> longName;
    for (int i = 0; i < 75; ++i) longName.insert(longName.end(), {'n', 0});
    store("LogData", binary(longName));
    store("CodePage", sz(u"bad name"));
    ASSERT_TRUE(settings_.load());
    EXPECT_EQ(settings_.mp3Dir().size(), 5000u);
    EXPECT_EQ(settings_.lastAccount(), std::u16string(50, u'n'));
    EXPECT_EQ(settings_.codePage(), "949");

    // Dialog positions: 12 bytes, kind 0..2, coordinates clamped to 16 bits.
    store("DialogPos1", binary(le32({0, 100000, -100000})));
    store("DialogPos2", binary(le32({3, 5, 5})));
    store("DialogPos3", binary(std::vector<uint8_t>(11, 0)));
    store("DialogPos4", dword(0));
    store("DialogPos16", binary(le32({2, 7, 8})));
    ASSERT_TRUE(settings_.load());
    EXPECT_EQ(settings_.dialogPos(0), (DialogPos{0, 32767, -32768}));
    EXPECT_EQ(settings_.dialogPos(1), (DialogPos{2, 11, 432}));
    EXPECT_EQ(settings_.dialogPos(2), DialogPos{});
    EXPECT_EQ(settings_.dialogPos(3), DialogPos{});
    EXPECT_EQ(settings_.dialogPos(15), (DialogPos{2, 7, 8}));
}

TEST_F(SettingsTest, ServerListStopsAtTheFirstIncompleteEntry) {
    const std::string_view key = Settings::kServersKey;
    auto entry = [&](int i, std::u16string_view address) {
        const std::string n = std::to_string(i);
        store("MultiServerAddr" + n, sz(address), key);
        store("MultiServerName" + n, sz(u"name"), key);
        store("MultiServerDesc" + n, sz(u"desc"), key);
        store("MultiServerAgreement" + n, sz(u"agreement"), key);
    };
    struct Case {
        const char* name;
        std::function<void()> damage;
        size_t count;
    };
    const Case cases[] = {
        {"complete", [] {}, 4},
        {"entry 2 lacks its description", [&] { store_.erase(key, "MultiServerDesc2"); }, 2},
        {"a name of the wrong type", [&] { store("MultiServerName1", dword(1), key); }, 1},
        {"three address parts", [&] { entry(2, u"1:10.0.0:23"); }, 2},
        {"a part above 255", [&] { entry(2, u"1:10.0.0.256:23"); }, 2},
        {"five parts", [&] { entry(2, u"1:10.0.0.1.5:23"); }, 2},
        {"an id above 255", [&] { entry(2, u"256:10.0.0.1:23"); }, 2},
        {"port 0", [&] { entry(2, u"1:10.0.0.1:0"); }, 2},
        {"port 65536", [&] { entry(2, u"1:10.0.0.1:65536"); }, 2},
        {"a sign", [&] { entry(2, u"1:10.0.+0.1:23"); }, 2},
        {"trailing text", [&] { entry(2, u"1:10.0.0.1:23x"); }, 2},
        {"no port", [&] { entry(2, u"1:10.0.0.1"); }, 2},
    };
    for (const auto& c : cases) {
        store_.deleteKey(key);
        store("Font", dword(1));
        for (int i = 0; i < 4; ++i)
            entry(i, u"7:10.0.0." + base::asciiToUtf16(std::to_string(i)) + u":2001");
        c.damage();
        ASSERT_TRUE(settings_.load());
        EXPECT_EQ(settings_.servers().size(), c.count) << c.name;
    }
    EXPECT_EQ(settings_.servers()[1],
              (ServerEntry{7, {10, 0, 0, 1}, 2001, u"name", u"desc", u"agreement"}));

    for (int i = 0; i < 300; ++i) entry(i, u"1:10.0.0.1:23");
    ASSERT_TRUE(settings_.load());
    EXPECT_EQ(settings_.servers().size(), Settings::kMaxServers);

    // An unmodified list is not written back; a modified empty one neither.
    store_.deleteKey(key);
    entry(0, u"1:10.0.0.1:23");
    ASSERT_TRUE(settings_.load());
    store_.deleteKey(key);
    settings_.save();
    EXPECT_FALSE(store_.keyExists(key));
    settings_.setServerList({}, 1);
    settings_.save();
    EXPECT_FALSE(store_.keyExists(key));
}

TEST_F(SettingsTest, MidiEntriesThatCouldLeaveTheirDirectoryAreRefused) {
    const std::string_view key = Settings::kMidiKey;
    store("1", sz(u"one.mid"), key);
    store("300", sz(u"big.mid"), key);
    store("x", sz(u"letters.mid"), key);
    store("2", sz(u"../escape.mid"), key);
    store("3", sz(u"dir/file.mid"), key);
    store("4", sz(u"dir\\file.mid"), key);
    store("5", sz(std::u16string(u"nul\0.mid", 8)), key);
    store("6", sz(u""), key);
    store("7", dword(1), key);
    store("8", sz(u"a-long-file-name-of-many-characters.mid"), key);
    store("255", sz(u"last.mid"), key);
    store("Font", dword(1));
    ASSERT_TRUE(settings_.load());
    EXPECT_EQ(
        settings_.midiList(),
        (std::vector<MidiEntry>{{1, u"one.mid"}, {8, u"a-long-file-name"}, {255, u"last.mid"}}));
    // Saved from the list alone.
    settings_.save();
    EXPECT_EQ(store_.valueNames(key), (std::vector<std::string>{"1", "8", "255"}));
}

TEST_F(SettingsTest, CommandLine) {
    platform_.resolver.add("game.example", {192, 0, 2, 7});
    struct Case {
        const char* line;
        platform::Ipv4Address address;
        int32_t port;
    };
    const platform::Ipv4Address before{9, 9, 9, 9};
    const Case cases[] = {
        {"", before, 5},
        {"10.0.0.1", {10, 0, 0, 1}, 23},
        {"10.0.0.1 7777", {10, 0, 0, 1}, 7777},
        {"  10.0.0.1   80 ", {10, 0, 0, 1}, 80},
        {"game.example", {192, 0, 2, 7}, 23},
        {"game.example 0", {192, 0, 2, 7}, 23},
        {"game.example 7777", {192, 0, 2, 7}, 7777},
        {"10.0.0.1 65536", {10, 0, 0, 1}, 23},
        {"10.0.0.1 -5", {10, 0, 0, 1}, 23},
        {"10.0.0.1 12ab", {10, 0, 0, 1}, 23},
        {"10.0.0.1 x y", before, 5},
        {"10.0.0", before, 5},
        {"10.0.0.256", before, 5},
        {"10.0.0.1.2", before, 5},
        {"1e3.0.0.1", before, 5},
        {"unknown.example 80", before, 5},
    };
    for (const auto& c : cases) {
        settings_.setServerAddress(before);
        settings_.setBasePort(5);
        settings_.setAutoConnect(false);
        settings_.applyCommandLine(c.line);
        EXPECT_EQ(settings_.serverAddress(), c.address) << c.line;
        EXPECT_EQ(settings_.basePort(), c.port) << c.line;
        EXPECT_EQ(settings_.autoConnect(), 1) << c.line;
    }
    // Words the shell kept together are words too.
    LaunchOptions o;
    o.words = {"10.0.0.2 2002"};
    settings_.start(o);
    EXPECT_EQ(settings_.serverAddress(), (platform::Ipv4Address{10, 0, 0, 2}));
    EXPECT_EQ(settings_.basePort(), 2002);
}

TEST_F(SettingsTest, CommandLineOptionsOfOurOwn) {
    store("WindowScale", dword(2));
    store("PixelFormat", dword(555));
    store("CodePage", sz(u"949"));
    LaunchOptions o;
    o.scale = 3;
    o.fullscreen = true;
    o.pixelFormat = 565;
    o.codepage = "1252";
    settings_.start(o);
    EXPECT_EQ(settings_.windowScale(), 3);
    EXPECT_TRUE(settings_.fullscreen());
    EXPECT_EQ(settings_.pixelFormat(), 565);
    EXPECT_EQ(settings_.codePage(), "1252");
    // The window as the player had it is remembered; the others hold for one run.
    settings_.save();
    EXPECT_EQ(store_.getDword(kKey, "WindowScale"), 3u);
    EXPECT_EQ(store_.getDword(kKey, "Fullscreen"), 1u);
    EXPECT_EQ(store_.getDword(kKey, "PixelFormat"), 555u);
    EXPECT_EQ(store_.getString(kKey, "CodePage"), u"949");

    Settings next(macroString);
    next.start(LaunchOptions{});
    EXPECT_EQ(next.windowScale(), 3);
    EXPECT_EQ(next.pixelFormat(), 555);
    EXPECT_EQ(next.codePage(), "949");
}

TEST_F(SettingsTest, SaveReportsAStoreThatCannotKeepIt) {
    store_.failFlush(true);
    EXPECT_FALSE(settings_.save());
    store_.failFlush(false);
    EXPECT_TRUE(settings_.save());
}

TEST_F(SettingsTest, LimitsOfTheLaunchParametersAndLists) {
    settings_.setPortCount(0);
    EXPECT_EQ(settings_.portCount(), 1);
    settings_.setPortCount(-4);
    EXPECT_EQ(settings_.portCount(), 1);
    settings_.setServerList(std::vector<ServerEntry>(300), 1);
    EXPECT_EQ(settings_.servers().size(), Settings::kMaxServers);
    settings_.setDialogPos(0, {1, 40000, -40000});
    EXPECT_EQ(settings_.dialogPos(0), (DialogPos{1, 32767, -32768}));
    settings_.setConnectedServer(2, {10, 0, 0, 1}, 2001);
    EXPECT_EQ(settings_.connectedServerText(), u"2.10.0.0.1.2001");
}

TEST_F(SettingsTest, ProgramPathIsRecordedMachineWide) {
    recordProgramPath("/opt/vestrel/vestrel");
    EXPECT_EQ(store_.getString(Settings::kMachineKey, "Marvupath"), u"/opt/vestrel/vestrel");
    EXPECT_EQ(store_.flushes(), 1);
}

}  // namespace
}  // namespace vs::app
