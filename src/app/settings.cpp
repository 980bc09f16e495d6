#include "app/settings.h"

#include <system_error>

#include "app/launch_options.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "base/text.h"
#include "platform/files.h"
#include "platform/settings_store.h"

namespace vs::app {

namespace fs = std::filesystem;
using platform::SettingsStore;

namespace {

constexpr std::array<int32_t, Settings::kColourCount> kDefaultColours{10, -1, 17, 11};
// Digits 1..9 and 0 cast the spells in slots a..j until the player chooses other keys.
constexpr std::u16string_view kDefaultMacroKeys = u"abcdefghij";
constexpr DialogPos kTopRightDefault{2, 11, 432};
constexpr uint16_t kDefaultPort = 23;

// Byte limits of the stored strings; a UTF-16 unit takes two.
constexpr size_t kMp3DirBytes = 10000;
constexpr size_t kServerTextBytes = 8192;
constexpr size_t kAgreementBytes = 20480;
constexpr size_t kMidiFileBytes = 32;
constexpr size_t kLogDataBytes = 100;
constexpr size_t kCodePageBytes = 64;
constexpr size_t kDialogPosBytes = 12;
// An account file holds far less (about 600 KB at its fullest).
constexpr size_t kMaxAccountFileBytes = 4u << 20;

// At most n units, never ending inside a surrogate pair.
std::u16string cutUnits(std::u16string_view s, size_t n) {
    if (s.size() <= n) return std::u16string(s);
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] < 0xDC00) --n;
    return std::u16string(s.substr(0, n));
}

std::optional<std::u16string> readString(const SettingsStore& store, std::string_view key,
                                         std::string_view name, size_t maxBytes) {
    auto s = store.getString(key, name);
    if (!s) return std::nullopt;
    return cutUnits(*s, maxBytes / 2);
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<uint32_t> parseDecimal(std::string_view s, size_t maxDigits) {
    if (!allDigits(s) || s.size() > maxDigits) return std::nullopt;
    uint32_t v = 0;
    for (char c : s) v = v * 10 + uint32_t(c - '0');
    return v;
}

std::vector<std::string_view> splitAtBlanks(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// "id:a.b.c.d:port", strictly.
std::optional<ServerEntry> parseServerAddress(std::u16string_view text) {
    const std::string s = base::utf16ToUtf8(text);
    const size_t first = s.find(':');
    const size_t last = s.rfind(':');
    if (first == std::string::npos || first == last) return std::nullopt;
    auto id = parseDecimal(std::string_view(s).substr(0, first), 3);
    auto address = parseDottedAddress(std::string_view(s).substr(first + 1, last - first - 1));
    auto port = parsePort(std::string_view(s).substr(last + 1));
    if (!id || *id > 255 || !address || !port) return std::nullopt;
    ServerEntry e;
    e.id = uint8_t(*id);
    e.address = *address;
    e.port = *port;
    return e;
}

std::u16string formatServerAddress(const ServerEntry& e) {
    return base::asciiToUtf16(base::strprintf("%d:%d.%d.%d.%d:%d", e.id, e.address[0], e.address[1],
                                              e.address[2], e.address[3], e.port));
}

bool validMidiFile(std::u16string_view f) {
    if (f.empty() || f.find(u"..") != std::u16string_view::npos) return false;
    for (char16_t c : f)
        if (c == u'/' || c == u'\\' || c == 0) return false;
    return true;
}

std::vector<uint8_t> dialogPosBytes(const DialogPos& p) {
    base::ByteWriter w;
    w.u32le(uint32_t(p.kind)).u32le(uint32_t(p.y)).u32le(uint32_t(p.x));
    return w.take();
}

int32_t clampToInt16(int32_t v) {
    return v < -32768 ? -32768 : v > 32767 ? 32767 : v;
}

// The current directory, as the system names it.
std::u16string currentDirectoryText() {
    std::error_code ec;
    return base::utf8ToUtf16(fs::current_path(ec).string());
}

// Reads one length-prefixed UTF-16 text into each element of `out`; false at the first one that is
// cut short or longer than `cap` (that text and the rest keep their values).
template <class Length>
bool readTexts(base::ByteReader& r, std::span<std::u16string> out, size_t cap, Length length) {
    for (auto& text : out) {
        const size_t n = length(r);
        if (r.failed() || n > cap || !r.has(n * 2)) return false;
        std::u16string s(n, u'\0');
        for (auto& u : s) u = char16_t(r.u16le());
        text = std::move(s);
    }
    return true;
}

void writeText(base::ByteWriter& w, std::u16string_view s, size_t cap, bool longLength) {
    const std::u16string t = cutUnits(s, cap);
    longLength ? w.u32le(uint32_t(t.size())) : w.u16le(uint32_t(t.size()));
    for (char16_t u : t) w.u16le(u);
}

}  // namespace

// ---- free helpers ------------------------------------------------------------------------------

std::optional<platform::Ipv4Address> parseDottedAddress(std::string_view text) {
    platform::Ipv4Address a{};
    for (size_t part = 0; part < 4; ++part) {
        const size_t dot = text.find('.');
        const bool last = part == 3;
        if (last != (dot == std::string_view::npos)) return std::nullopt;
        auto v = parseDecimal(text.substr(0, dot), 3);
        if (!v || *v > 255) return std::nullopt;
        a[part] = uint8_t(*v);
        if (!last) text.remove_prefix(dot + 1);
    }
    return a;
}

std::optional<uint16_t> parsePort(std::string_view text) {
    auto v = parseDecimal(text, 5);
    if (!v || *v < 1 || *v > 65535) return std::nullopt;
    return uint16_t(*v);
}

bool validFileNamePart(std::u16string_view name) {
    if (name.empty() || name.find(u"..") != std::u16string_view::npos) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c < 0x20 || c == 0x7F || c == u'/' || c == u'\\') return false;
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] >= 0xE000) return false;
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return false;
        }
    }
    // The file name gets an extension and must stay within what the file system takes.
    return base::utf16ToUtf8(name).size() <= 240;
}

void recordProgramPath(const fs::path& program) {
    auto* store = SettingsStore::instance();
    if (!store || program.empty()) return;
    store->setString(Settings::kMachineKey, "Marvupath", base::utf8ToUtf16(program.string()));
    store->flush();
}

// ---- Settings ----------------------------------------------------------------------------------

std::span<const Settings::DwordValue> Settings::dwordValues() {
    static const DwordValue values[] = {
        {"Font", &Settings::font_, Rule::Range, 0, 3, 0, true},
        {"Icons", &Settings::icons_, Rule::Range, 0, 1, 0, true},
        {"Sound", &Settings::soundOn_, Rule::Range, 0, 1, 1, true},
        {"SoundVolume", &Settings::soundVolume_, Rule::Range, 0, 100, 100, true},
        {"Music", &Settings::musicOn_, Rule::Range, 0, 1, 1, true},
        {"MusicVolume", &Settings::musicVolume_, Rule::Range, 0, 100, 100, true},
        {"SoundLatency", &Settings::soundLatency_, Rule::Any, 0, 0, 16, false},
        {"DoubleClick", &Settings::doubleClick_, Rule::Range, 0, 1, 1, true},
        {"Shadow", &Settings::shadow_, Rule::Range, 0, 1, 1, true},
        {"SeeThrough", &Settings::seeThrough_, Rule::Range, 0, 1, 1, true},
        {"SayWithEnter", &Settings::sayWithEnter_, Rule::Range, 0, 1, 1, true},
        {"HearEmotions", &Settings::hearEmotions_, Rule::Range, 0, 1, 1, true},
        {"MusicType", &Settings::musicType_, Rule::Any, 0, 0, 0, true},
        {"MusicCdRomDrive", &Settings::cdRomDrive_, Rule::Low16, 0, 0, 0, true},
        {"PlayRandom", &Settings::playRandom_, Rule::Range, 0, 1, 0, true},
        {"PlayRepeat", &Settings::playRepeat_, Rule::Range, 0, 1, 0, true},
        {"SoundFreq", &Settings::soundFrequency_, Rule::Low8, 0, 0, 1, true},
        {"WindowScale", &Settings::windowScale_, Rule::Range, 0, 8, 0, true},
        {"Fullscreen", &Settings::fullscreen_, Rule::Range, 0, 1, 0, true},
        {"PixelFormat", &Settings::pixelFormat_, Rule::Either, 555, 565, 565, true},
    };
    return values;
}

Settings::Settings(StringSource strings) : strings_(std::move(strings)) {
    instance_ = this;
    applyDefaults();
}

Settings::~Settings() {
    if (instance_ == this) instance_ = nullptr;
}

void Settings::applyDefaults() {
    serversModified_ = false;
    servers_.clear();
    serverListVersion_ = 0;
    for (const auto& v : dwordValues()) this->*v.field = v.defaultValue;
    colours_ = kDefaultColours;
    resetAccountFields();
    connectedServerText_.clear();
    serverIndex_ = 0;
    midi_.clear();
    dialogPos_.fill(DialogPos{});
    dialogPos_[kTopRightDialogSlot] = kTopRightDefault;
    serverAddress_ = {};
    basePort_ = 0;
    portCount_ = 1;
    autoConnect_ = 1;
    lastAccount_.reset();
    mp3Dir_.clear();
    codePage_ = "WINDOWS-1252";
}

void Settings::resetAccountFields() {
    for (int i = 0; i < kMacroCount; ++i) {
        macros_[size_t(i)] =
            strings_ ? cutUnits(strings_(kFirstMacroString + i), kMaxMacroUnits) : std::u16string();
        macroKeys_[size_t(i)] = kDefaultMacroKeys[size_t(i)];
    }
    for (auto& s : twenty_) s.clear();
    accountText_.clear();
    stringList_.clear();
}

void Settings::start(const LaunchOptions& options) {
    applyDefaults();
    if (!load()) applyDefaults();
    applyCommandLine(options.commandLine());
    // The smoke test reaches the first screen whether a server runs or not.
    if (options.noConnect || options.smokeTest) autoConnect_ = 0;
    // The window options become what the player last had; the others hold for this run only.
    if (options.scale) setWindowScale(*options.scale);
    if (options.fullscreen) setFullscreen(*options.fullscreen);
    pixelFormatOverride_ = options.pixelFormat;
    codePageOverride_ = options.codepage;
}

void Settings::applyCommandLine(std::string_view commandLine) {
    autoConnect_ = 1;
    const auto words = splitAtBlanks(commandLine);
    if (words.size() != 1 && words.size() != 2) return;
    const std::string_view server = words[0];
    std::optional<platform::Ipv4Address> address;
    if (server[0] >= '0' && server[0] <= '9') {
        address = parseDottedAddress(server);
    } else if (auto* resolver = platform::HostResolver::instance()) {
        address = resolver->resolveIpv4(server);
    }
    if (!address) {
        VS_WARN("server %.*s not understood; the address list decides", int(server.size()),
                server.data());
        return;
    }
    serverAddress_ = *address;
    std::optional<uint16_t> port;
    if (words.size() == 2) port = parsePort(words[1]);
    basePort_ = port.value_or(kDefaultPort);
}

bool Settings::load() {
    auto* store = SettingsStore::instance();
    if (!store || !store->keyExists(kUserKey)) return false;
    const std::string_view key = kUserKey;

    if (auto b = store->getBinary(key, "LogData"); b && b->size() % 2 == 0)
        setLastAccount(cutUnits(platform::utf16LeText(*b), kLogDataBytes / 2));
    for (const auto& v : dwordValues()) {
        auto d = store->getDword(key, v.name);
        if (!d) continue;
        const auto n = int32_t(*d);
        switch (v.rule) {
            case Rule::Range:
                if (n >= v.a && n <= v.b) this->*v.field = n;
                break;
            case Rule::Either:
                if (n == v.a || n == v.b) this->*v.field = n;
                break;
            case Rule::Any:
                this->*v.field = n;
                break;
            case Rule::Low16:
                this->*v.field = int16_t(uint16_t(*d));
                break;
            case Rule::Low8:
                this->*v.field = uint8_t(*d);
                break;
        }
    }
    for (int i = 0; i < kColourCount; ++i) {
        if (auto d = store->getDword(key, base::strprintf("Color%d", i)))
            colours_[size_t(i)] = int16_t(uint16_t(*d));
    }
    if (auto s = readString(*store, key, "MP3Dir", kMp3DirBytes); s && !s->empty()) mp3Dir_ = *s;
    if (auto s = readString(*store, key, "CodePage", kCodePageBytes); s && !s->empty()) {
        bool plain = true;
        for (char16_t c : *s) plain = plain && c > 0x20 && c < 0x7F;
        if (plain) codePage_ = base::utf16ToUtf8(*s);
    }
    loadMidi();
    for (int i = 0; i < kDialogPosCount; ++i) {
        auto b = store->getBinary(key, base::strprintf("DialogPos%d", i + 1));
        if (!b || b->size() != kDialogPosBytes) continue;
        base::ByteReader r(*b);
        DialogPos p;
        p.kind = r.i32le();
        p.y = clampToInt16(r.i32le());
        p.x = clampToInt16(r.i32le());
        if (p.kind >= 0 && p.kind <= 2) dialogPos_[size_t(i)] = p;
    }
    loadServers();
    return true;
}

void Settings::loadMidi() {
    auto* store = SettingsStore::instance();
    midi_.clear();
    for (const std::string& name : store->valueNames(kMidiKey)) {
        auto number = parseDecimal(name, 3);
        auto file = readString(*store, kMidiKey, name, kMidiFileBytes);
        if (!number || *number > 255 || !file || !addMidiEntry(uint8_t(*number), *file))
            VS_DEBUG("MIDI entry \"%s\" ignored", name.c_str());
    }
}

void Settings::loadServers() {
    auto* store = SettingsStore::instance();
    const std::string_view key = kServersKey;
    servers_.clear();
    if (auto v = store->getDword(key, "MultiServerInfoVersion"); v && int32_t(*v) >= 0)
        serverListVersion_ = int32_t(*v);
    for (size_t i = 0; i < kMaxServers; ++i) {
        auto address =
            readString(*store, key, base::strprintf("MultiServerAddr%zu", i), kServerTextBytes);
        auto name =
            readString(*store, key, base::strprintf("MultiServerName%zu", i), kServerTextBytes);
        auto desc =
            readString(*store, key, base::strprintf("MultiServerDesc%zu", i), kServerTextBytes);
        auto agreement =
            readString(*store, key, base::strprintf("MultiServerAgreement%zu", i), kAgreementBytes);
        if (!address || !name || !desc || !agreement) break;
        auto entry = parseServerAddress(*address);
        if (!entry) break;
        entry->name = std::move(*name);
        entry->description = std::move(*desc);
        entry->agreement = std::move(*agreement);
        servers_.push_back(std::move(*entry));
    }
}

bool Settings::save() {
    auto* store = SettingsStore::instance();
    if (!store) return false;
    const std::string_view key = kUserKey;
    store->createKey(key);
    if (lastAccount_ && !lastAccount_->empty()) {
        store->setBinary(key, "LogData",
                         platform::utf16LeBytes(cutUnits(*lastAccount_, kLogDataBytes / 2)));
    }
    store->setString(key, "Location", currentDirectoryText());
    for (const auto& v : dwordValues())
        if (v.written) store->setDword(key, v.name, uint32_t(this->*v.field));
    store->setString(key, "MP3Dir", mp3Dir_);
    for (int i = 0; i < kColourCount; ++i)
        store->setDword(key, base::strprintf("Color%d", i), uint32_t(colours_[size_t(i)]));
    store->setString(key, "CodePage", base::asciiToUtf16(codePage_));

    store->deleteKey(kMidiKey);
    store->createKey(kMidiKey);
    for (const auto& m : midi_) store->setString(kMidiKey, std::to_string(m.number), m.file);

    for (int i = 0; i < kDialogPosCount; ++i)
        store->setBinary(key, base::strprintf("DialogPos%d", i + 1),
                         dialogPosBytes(dialogPos_[size_t(i)]));
    if (serversModified_ && !servers_.empty()) saveServers();

    // The machine-wide record of where the game has been played from.
    std::u16string dir = currentDirectoryText();
    for (char16_t& c : dir)
        if (c < 0x20 || c == 0x7F) c = u'?';
    store->createKey(std::string(kMachineAppKey) + "\\" + base::utf16ToUtf8(dir));

    if (!store->flush()) {
        VS_WARN("the settings could not be saved");
        return false;
    }
    return true;
}

void Settings::saveServers() {
    auto* store = SettingsStore::instance();
    const std::string_view key = kServersKey;
    store->deleteKey(key);
    store->setDword(key, "MultiServerInfoVersion", uint32_t(serverListVersion_) & 0xFF);
    for (size_t i = 0; i < servers_.size(); ++i) {
        const ServerEntry& e = servers_[i];
        store->setString(key, base::strprintf("MultiServerAddr%zu", i), formatServerAddress(e));
        store->setString(key, base::strprintf("MultiServerName%zu", i),
                         cutUnits(e.name, kServerTextBytes / 2));
        store->setString(key, base::strprintf("MultiServerDesc%zu", i),
                         cutUnits(e.description, kServerTextBytes / 2));
        store->setString(key, base::strprintf("MultiServerAgreement%zu", i),
                         cutUnits(e.agreement, kAgreementBytes / 2));
    }
}

void Settings::applyStoredCodePage() {
    auto* store = SettingsStore::instance();
    if (!store) return;
    auto s = readString(*store, kUserKey, "CodePage", kCodePageBytes);
    if (!s || s->empty()) return;
    const std::string name = base::utf16ToUtf8(*s);
    if (!base::CodePage::setCurrent(name))
        VS_WARN("unknown code page \"%s\" in the settings; Windows-1252 stays", name.c_str());
}

// ---- setters with limits -----------------------------------------------------------------------

void Settings::setServerList(std::vector<ServerEntry> list, int32_t version) {
    if (list.size() > kMaxServers) list.resize(kMaxServers);
    servers_ = std::move(list);
    serverListVersion_ = version;
    serversModified_ = true;
}

void Settings::setMacro(int i, std::u16string_view text) {
    macros_.at(size_t(i)) = cutUnits(text, kMaxMacroUnits);
}

void Settings::setTwentyString(int i, std::u16string_view text) {
    twenty_.at(size_t(i)) = cutUnits(text, kMaxStringUnits);
}

void Settings::setAccountText(std::u16string_view text) {
    accountText_ = cutUnits(text, kMaxAccountTextUnits);
}

void Settings::setStringList(std::vector<std::u16string> list) {
    if (list.size() > kMaxListEntries) list.resize(kMaxListEntries);
    for (auto& s : list) s = cutUnits(s, kMaxStringUnits);
    stringList_ = std::move(list);
}

void Settings::setConnectedServer(int32_t index, const platform::Ipv4Address& a, uint16_t port) {
    connectedServerText_ = base::asciiToUtf16(
        base::strprintf("%d.%d.%d.%d.%d.%d", index, a[0], a[1], a[2], a[3], port));
}

void Settings::setLastAccount(std::u16string_view name) {
    if (name.empty())
        lastAccount_.reset();
    else
        lastAccount_ = std::u16string(name);
}

bool Settings::addMidiEntry(uint8_t number, std::u16string_view file) {
    if (!validMidiFile(file)) return false;
    midi_.push_back({number, std::u16string(file)});
    return true;
}

void Settings::setDialogPos(int slot, const DialogPos& pos) {
    dialogPos_.at(size_t(slot)) = {pos.kind, clampToInt16(pos.y), clampToInt16(pos.x)};
}

// ---- account files -----------------------------------------------------------------------------

fs::path Settings::accountFile(std::u16string_view name) {
    if (!validFileNamePart(name)) return {};
    std::error_code ec;
    return fs::current_path(ec) / "users" / (base::utf16ToUtf8(name) + ".usr");
}

fs::path Settings::legacyAccountFile(std::u16string_view name) {
    if (!validFileNamePart(name)) return {};
    std::error_code ec;
    return fs::current_path(ec) / "users" / (base::utf16ToUtf8(name) + ".cfg");
}

std::vector<uint8_t> Settings::accountBytes() const {
    base::ByteWriter w;
    for (const auto& m : macros_) writeText(w, m, kMaxMacroUnits, false);
    for (char16_t k : macroKeys_) w.u16le(k);
    for (const auto& s : twenty_) writeText(w, s, kMaxStringUnits, false);
    writeText(w, accountText_, kMaxAccountTextUnits, false);
    const size_t n = std::min(stringList_.size(), kMaxListEntries);
    w.u32le(uint32_t(n));
    for (size_t i = 0; i < n; ++i) writeText(w, stringList_[i], kMaxStringUnits, true);
    return w.take();
}

void Settings::readAccountBytes(std::span<const uint8_t> bytes) {
    base::ByteReader r(bytes);
    auto u16 = [](base::ByteReader& rd) { return size_t(rd.u16le()); };
    if (!readTexts(r, macros_, kMaxMacroUnits, u16)) return;
    for (auto& k : macroKeys_) {
        if (!r.has(2)) return;
        k = char16_t(r.u16le());
    }
    if (!readTexts(r, twenty_, kMaxStringUnits, u16)) return;
    if (!readTexts(r, std::span(&accountText_, 1), kMaxAccountTextUnits, u16)) return;
    r.u32le();  // the count: the entries run to the end of the file
    std::vector<std::u16string> list;
    while (r.has(4) && list.size() < kMaxListEntries) {
        std::u16string entry;
        if (!readTexts(r, std::span(&entry, 1), kMaxStringUnits,
                       [](base::ByteReader& rd) { return size_t(rd.u32le()); }))
            break;
        list.push_back(std::move(entry));
    }
    stringList_ = std::move(list);
}

void Settings::readLegacyAccountText(std::span<const uint8_t> bytes) {
    // The fields in file order, each with the units it may hold.
    std::vector<std::pair<std::u16string*, size_t>> fields;
    for (auto& m : macros_) fields.push_back({&m, kMaxMacroUnits});
    std::array<std::u16string, kMacroCount> keys;
    for (auto& k : keys) fields.push_back({&k, 1});
    for (auto& s : twenty_) fields.push_back({&s, kMaxStringUnits});
    fields.push_back({&accountText_, kMaxAccountTextUnits});

    size_t pos = 0, done = 0;
    for (auto& [field, cap] : fields) {
        while (pos < bytes.size() && bytes[pos] != '"') ++pos;
        if (pos >= bytes.size()) break;
        const size_t start = ++pos;
        while (pos < bytes.size() && bytes[pos] != '"') ++pos;
        // A code-page character takes at most four bytes: more is never kept.
        const size_t keep = std::min(pos - start, cap * 4);
        *field = cutUnits(base::CodePage::current().decode(bytes.subspan(start, keep)), cap);
        ++done;
        if (pos < bytes.size()) ++pos;  // the closing quote; a missing one ends at the file's end
    }
    for (size_t i = 0; i < keys.size() && kMacroCount + i < done; ++i)
        macroKeys_[i] = keys[i].empty() ? u'\0' : keys[i][0];
}

bool Settings::loadAccount(std::u16string_view name) {
    resetAccountFields();
    const fs::path file = accountFile(name);
    if (file.empty()) {
        VS_WARN("account name refused for a file name");
        return false;
    }
    std::string bytes;
    auto span = [&] {
        return std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    switch (platform::readFile(file, kMaxAccountFileBytes, bytes)) {
        case platform::ReadResult::Ok:
            readAccountBytes(span());
            return true;
        case platform::ReadResult::Missing:
            break;
        default:
            VS_WARN("%s cannot be read", file.c_str());
            return false;
    }
    if (platform::readFile(legacyAccountFile(name), kMaxAccountFileBytes, bytes) !=
        platform::ReadResult::Ok)
        return false;
    readLegacyAccountText(span());
    return true;
}

bool Settings::saveAccount(std::u16string_view name) {
    const fs::path file = accountFile(name);
    if (file.empty()) {
        VS_WARN("account name refused for a file name");
        return false;
    }
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const std::vector<uint8_t> bytes = accountBytes();
    std::string error;
    if (!platform::writeFileAtomically(
            file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0644,
            &error)) {
        VS_WARN("%s not written: %s", file.c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace vs::app
