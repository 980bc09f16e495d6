#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registered.h"

namespace vs::platform {

// Value types, numbered as the registry numbers them; the text form keeps any other number too.
enum : uint32_t { kSettingSz = 1, kSettingBinary = 3, kSettingDword = 4 };

struct SettingValue {
    uint32_t type = kSettingBinary;
    // DWORD: 4 bytes, little-endian. SZ: UTF-16LE text without terminator. BINARY: as given.
    std::vector<uint8_t> data;
    bool operator==(const SettingValue&) const = default;
};

// One key: its values in the order they were first written. Names compare without regard to
// ASCII case, as the registry compares them.
class SettingsKey {
public:
    explicit SettingsKey(std::string path = {}) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }
    const SettingValue* find(std::string_view name) const;
    void set(std::string_view name, SettingValue value);
    bool erase(std::string_view name);
    const std::vector<std::pair<std::string, SettingValue>>& values() const { return values_; }

private:
    std::string path_;  // spelled as first created
    std::vector<std::pair<std::string, SettingValue>> values_;
    std::unordered_map<std::string, size_t> index_;  // folded name -> position in values_
};

// Every key by its folded path; a subkey's path is its parent's path, a backslash and its name.
using SettingsTree = std::map<std::string, SettingsKey>;

// The text form: lines of a .reg-like file, UTF-8.
//   [HKEY_CURRENT_USER\Software\Quilm\Dunmarrow]
//   "Font"=dword:00000002
//   "MP3Dir"="/home/me/music"        (escapes: \\ \" \n \r \t \uXXXX)
//   "DialogPos1"=hex:01,00,00,00     (hex(n): for a value whose type or size is unusual)
// Lines starting with ';' are comments. A line that does not parse is skipped alone; its number
// is reported through `skipped` when given.
SettingsTree parseSettingsText(std::string_view text, std::vector<size_t>* skipped = nullptr);
std::string formatSettingsText(const SettingsTree& tree);

// UTF-16 text as the little-endian bytes of an SZ value, and back (an odd last byte is dropped).
std::vector<uint8_t> utf16LeBytes(std::u16string_view text);
std::u16string utf16LeText(std::span<const uint8_t> bytes);

// A key path is valid when it has no empty part and no control character.
bool validSettingsKeyPath(std::string_view path);

// The program's settings, registry-like: typed values under key paths such as
// "HKEY_CURRENT_USER\Software\Quilm\Dunmarrow\Servers". Every backend keeps all values in memory
// and changes them there; flush() makes them last (the file backend writes its file whole).
// Used from the UI thread only.
class SettingsStore : public Registered<SettingsStore> {
public:
    virtual ~SettingsStore() = default;

    // True when the key, or a key below it, exists.
    bool keyExists(std::string_view key) const;
    bool createKey(std::string_view key);  // false for an invalid path
    void deleteKey(std::string_view key);  // with every key below it
    const SettingValue* find(std::string_view key, std::string_view name) const;
    bool set(std::string_view key, std::string_view name, SettingValue value);
    void erase(std::string_view key, std::string_view name);
    std::vector<std::string> valueNames(std::string_view key) const;

    // Typed access: a value of another type (or a DWORD not of 4 bytes) reads as absent.
    std::optional<uint32_t> getDword(std::string_view key, std::string_view name) const;
    std::optional<std::u16string> getString(std::string_view key, std::string_view name) const;
    std::optional<std::vector<uint8_t>> getBinary(std::string_view key,
                                                  std::string_view name) const;
    bool setDword(std::string_view key, std::string_view name, uint32_t v);
    bool setString(std::string_view key, std::string_view name, std::u16string_view v);
    bool setBinary(std::string_view key, std::string_view name, std::vector<uint8_t> v);

    const SettingsTree& tree() const { return tree_; }
    std::string text() const { return formatSettingsText(tree_); }

    // Makes the values last; false (and logged) when they could not be kept.
    virtual bool flush() = 0;

protected:
    SettingsTree tree_;
};

}  // namespace vs::platform
