#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/lobject.h"
#include "platform/host_resolver.h"

namespace vs::app {

struct LaunchOptions;

// One entry of the list of known servers.
struct ServerEntry {
    uint8_t id = 0;
    platform::Ipv4Address address{};
    uint16_t port = 0;
    std::u16string name, description, agreement;
    bool operator==(const ServerEntry&) const = default;
};

// One of the player's own MIDI files: its number and its file name under "Midi".
struct MidiEntry {
    uint8_t number = 0;
    std::u16string file;
    bool operator==(const MidiEntry&) const = default;
};

// Where a dialog goes when it opens: an anchor kind (0 top-left, 1 centre, 2 top-right corner)
// and a point, vertical first.
struct DialogPos {
    int32_t kind = 1;
    int32_t y = 240;
    int32_t x = 320;
    bool operator==(const DialogPos&) const = default;
};

// "a.b.c.d": exactly four decimal parts of at most three digits, each 0..255.
std::optional<platform::Ipv4Address> parseDottedAddress(std::string_view text);
// A decimal TCP port, 1..65535.
std::optional<uint16_t> parsePort(std::string_view text);
// A name that may become part of a file name: not empty, no path separator, no "..", no NUL or
// other control character, no broken UTF-16.
bool validFileNamePart(std::u16string_view name);

// The user's preferences, the launch parameters, the list of known servers and the data of the
// account that plays. Filled from defaults, the settings store and the command line at start,
// written back to the store at shutdown. Per-account data lives in "users/<name>.usr".
class Settings : public base::LObject {
public:
    // Where the default macro texts come from (the string table, connected by the client).
    using StringSource = std::function<std::u16string(int)>;

    static constexpr int kMacroCount = 10;
    static constexpr int kTwentyCount = 20;
    static constexpr int kDialogPosCount = 16;
    static constexpr int kColourCount = 4;
    static constexpr int kFirstMacroString = 67;
    // Limits in UTF-16 units of what the account file holds.
    static constexpr size_t kMaxMacroUnits = 127;
    static constexpr size_t kMaxStringUnits = 255;
    static constexpr size_t kMaxAccountTextUnits = 250;
    static constexpr size_t kMaxListEntries = 1000;
    static constexpr size_t kMaxServers = 255;
    // The dialog slot whose default is the top-right corner of the map view.
    static constexpr int kTopRightDialogSlot = 1;

    static constexpr std::string_view kUserKey = "HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow";
    static constexpr std::string_view kMidiKey =
        "HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow\\Midi";
    static constexpr std::string_view kServersKey =
        "HKEY_CURRENT_USER\\Software\\Quilm\\Dunmarrow\\Servers";
    static constexpr std::string_view kMachineKey = "HKEY_LOCAL_MACHINE\\Software\\Quilm";
    static constexpr std::string_view kMachineAppKey =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quilm\\Dunmarrow";

    explicit Settings(StringSource strings = {});
    ~Settings() override;
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;
    static Settings* instance() { return instance_; }

    // Defaults, then the stored values, then the command line.
    void start(const LaunchOptions& options);
    // Writes every value back to the store; false when it could not be kept.
    virtual bool save();
    // Reads the stored values over the current ones; false when the settings key is missing.
    virtual bool load();
    // Replaces the per-account data with that of the named account ("users/<name>.usr", or the
    // older "users/<name>.cfg"); false when neither could be read (the defaults stay).
    bool loadAccount(std::u16string_view name);
    // Writes the per-account data; false (and logged) when the file could not be written.
    bool saveAccount(std::u16string_view name);

    void applyDefaults();
    void resetAccountFields();
    // The system's launch parameters: an optional server host or dotted address, and a port.
    void applyCommandLine(std::string_view commandLine);

    // The account files of a name, under the current directory; empty for an unusable name.
    static std::filesystem::path accountFile(std::u16string_view name);
    static std::filesystem::path legacyAccountFile(std::u16string_view name);
    // The account file's byte form, and its reader (a short or bad file stops the reading; what
    // was not read keeps its value).
    std::vector<uint8_t> accountBytes() const;
    void readAccountBytes(std::span<const uint8_t> bytes);
    void readLegacyAccountText(std::span<const uint8_t> bytes);

    // ---- server list
    bool serversModified() const { return serversModified_; }
    const std::vector<ServerEntry>& servers() const { return servers_; }
    int32_t serverCount() const { return int32_t(servers_.size()); }
    int32_t serverListVersion() const { return serverListVersion_; }
    // A new list from the server: written back at shutdown. Cut to kMaxServers entries.
    void setServerList(std::vector<ServerEntry> list, int32_t version);

    // ---- preferences
    int32_t font() const { return font_; }
    void setFont(int32_t v) { font_ = clampTo(v, 0, 3); }
    uint8_t icons() const { return uint8_t(icons_); }
    void setIcons(bool v) { icons_ = v; }
    uint8_t soundOn() const { return uint8_t(soundOn_); }
    void setSoundOn(bool v) { soundOn_ = v; }
    uint8_t soundVolume() const { return uint8_t(soundVolume_); }
    void setSoundVolume(int32_t v) { soundVolume_ = clampTo(v, 0, 100); }
    uint8_t musicOn() const { return uint8_t(musicOn_); }
    void setMusicOn(bool v) { musicOn_ = v; }
    uint8_t musicVolume() const { return uint8_t(musicVolume_); }
    void setMusicVolume(int32_t v) { musicVolume_ = clampTo(v, 0, 100); }
    uint8_t doubleClick() const { return uint8_t(doubleClick_); }
    void setDoubleClick(bool v) { doubleClick_ = v; }
    uint8_t shadow() const { return uint8_t(shadow_); }
    void setShadow(bool v) { shadow_ = v; }
    uint8_t seeThrough() const { return uint8_t(seeThrough_); }
    void setSeeThrough(bool v) { seeThrough_ = v; }
    uint8_t sayWithEnter() const { return uint8_t(sayWithEnter_); }
    void setSayWithEnter(bool v) { sayWithEnter_ = v; }
    uint8_t hearEmotions() const { return uint8_t(hearEmotions_); }
    void setHearEmotions(bool v) { hearEmotions_ = v; }
    int16_t colour(int i) const { return int16_t(colours_.at(size_t(i))); }
    void setColour(int i, int16_t v) { colours_.at(size_t(i)) = v; }

    // ---- per-account data
    const std::u16string& macro(int i) const { return macros_.at(size_t(i)); }
    void setMacro(int i, std::u16string_view text);
    char16_t macroKey(int i) const { return macroKeys_.at(size_t(i)); }
    void setMacroKey(int i, char16_t key) { macroKeys_.at(size_t(i)) = key; }
    const std::u16string& twentyString(int i) const { return twenty_.at(size_t(i)); }
    void setTwentyString(int i, std::u16string_view text);
    const std::u16string& accountText() const { return accountText_; }
    void setAccountText(std::u16string_view text);
    const std::vector<std::u16string>& stringList() const { return stringList_; }
    void setStringList(std::vector<std::u16string> list);

    // ---- the server this run plays on
    const std::u16string& connectedServerText() const { return connectedServerText_; }
    // "%d.%d.%d.%d.%d.%d": server index, the four address bytes, port.
    void setConnectedServer(int32_t index, const platform::Ipv4Address& address, uint16_t port);
    int32_t serverIndex() const { return serverIndex_; }
    void setServerIndex(int32_t i) { serverIndex_ = i; }
    const platform::Ipv4Address& serverAddress() const { return serverAddress_; }
    void setServerAddress(const platform::Ipv4Address& a) { serverAddress_ = a; }
    int32_t basePort() const { return basePort_; }
    void setBasePort(int32_t port) { basePort_ = port; }
    // Never below 1: the connection picks base port + a random number modulo the count.
    int16_t portCount() const { return portCount_; }
    void setPortCount(int16_t n) { portCount_ = n < 1 ? int16_t(1) : n; }
    uint8_t autoConnect() const { return autoConnect_; }
    void setAutoConnect(bool v) { autoConnect_ = v; }
    const std::optional<std::u16string>& lastAccount() const { return lastAccount_; }
    void setLastAccount(std::u16string_view name);

    // ---- MIDI and music
    const std::vector<MidiEntry>& midiList() const { return midi_; }
    // Entries with a file name that could leave the "Midi" directory are refused.
    bool addMidiEntry(uint8_t number, std::u16string_view file);
    void clearMidiList() { midi_.clear(); }
    int32_t soundLatency() const { return soundLatency_; }
    int32_t musicType() const { return musicType_; }
    void setMusicType(int32_t v) { musicType_ = v; }
    const std::u16string& mp3Dir() const { return mp3Dir_; }
    void setMp3Dir(std::u16string_view dir) { mp3Dir_ = dir; }
    int16_t cdRomDrive() const { return int16_t(cdRomDrive_); }
    void setCdRomDrive(int16_t v) { cdRomDrive_ = v; }
    uint8_t playRandom() const { return uint8_t(playRandom_); }
    void setPlayRandom(bool v) { playRandom_ = v; }
    uint8_t playRepeat() const { return uint8_t(playRepeat_); }
    void setPlayRepeat(bool v) { playRepeat_ = v; }
    uint8_t soundFrequency() const { return uint8_t(soundFrequency_); }
    void setSoundFrequency(uint8_t v) { soundFrequency_ = v; }

    // ---- dialogs: slot 0..15 is the value "DialogPos<slot + 1>"
    const DialogPos& dialogPos(int slot) const { return dialogPos_.at(size_t(slot)); }
    void setDialogPos(int slot, const DialogPos& pos);

    // ---- this program's own: the window as the player last had it, the code page and pixel
    // format (a command-line option changes those two for one run only).
    int32_t windowScale() const { return windowScale_; }
    void setWindowScale(int32_t scale) { windowScale_ = clampTo(scale, 0, 8); }
    bool fullscreen() const { return fullscreen_ != 0; }
    void setFullscreen(bool v) { fullscreen_ = v; }
    int32_t pixelFormat() const { return pixelFormatOverride_.value_or(pixelFormat_); }
    std::string codePage() const { return codePageOverride_.value_or(codePage_); }

    // The stored code page, read before the string tables load (they are decoded with it);
    // an unknown name is logged and Windows-1252 stays.
    static void applyStoredCodePage();

private:
    enum class Rule { Range, Either, Any, Low16, Low8 };
    struct DwordValue {
        const char* name;
        int32_t Settings::*field;
        Rule rule;
        int32_t a, b;  // the range, or the two accepted values
        int32_t defaultValue;
        bool written;
    };
    static std::span<const DwordValue> dwordValues();
    static int32_t clampTo(int32_t v, int32_t lo, int32_t hi) {
        return v < lo ? lo : v > hi ? hi : v;
    }

    void loadServers();
    void loadMidi();
    void saveServers();

    static inline Settings* instance_ = nullptr;
    StringSource strings_;

    bool serversModified_ = false;
    std::vector<ServerEntry> servers_;
    int32_t serverListVersion_ = 0;
    int32_t font_ = 0, icons_ = 0, soundOn_ = 1, soundVolume_ = 100, musicOn_ = 1,
            musicVolume_ = 100, doubleClick_ = 1, shadow_ = 1, seeThrough_ = 1, sayWithEnter_ = 1,
            hearEmotions_ = 1;
    std::array<int32_t, kColourCount> colours_{10, -1, 17, 11};
    std::array<std::u16string, kMacroCount> macros_;
    std::array<char16_t, kMacroCount> macroKeys_{};
    std::array<std::u16string, kTwentyCount> twenty_;
    std::u16string connectedServerText_;
    int32_t serverIndex_ = 0;
    std::vector<MidiEntry> midi_;
    std::u16string accountText_;
    std::array<DialogPos, kDialogPosCount> dialogPos_;
    platform::Ipv4Address serverAddress_{};
    int32_t basePort_ = 0;
    int16_t portCount_ = 1;
    uint8_t autoConnect_ = 1;
    std::optional<std::u16string> lastAccount_;
    int32_t soundLatency_ = 16, musicType_ = 0;
    std::u16string mp3Dir_;
    int32_t cdRomDrive_ = 0, playRandom_ = 0, playRepeat_ = 0, soundFrequency_ = 1;
    std::vector<std::u16string> stringList_;

    int32_t windowScale_ = 0, fullscreen_ = 0, pixelFormat_ = 565;
    std::string codePage_ = "WINDOWS-1252";
    std::optional<int32_t> pixelFormatOverride_;
    std::optional<std::string> codePageOverride_;
};

// Records where the running program lives ("Marvupath"), as the patcher and other tools of the
// game look for it. Failures are ignored.
void recordProgramPath(const std::filesystem::path& program);

}  // namespace vs::app
