#include "platform/settings_store.h"

#include "base/log.h"
#include "base/text.h"

namespace vs::platform {

namespace {

std::string fold(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// ---- text form -------------------------------------------------------------------------------

constexpr char kHex[] = "0123456789abcdef";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendQuoted(std::string& out, std::u16string_view s) {
    out.push_back('"');
    std::u16string plain;
    auto flushPlain = [&] {
        out += base::utf16ToUtf8(plain);
        plain.clear();
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        const bool low = c >= 0xDC00 && c < 0xE000;
        if (high && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            plain.push_back(c);
            plain.push_back(s[++i]);
            continue;
        }
        const char* esc = c == u'\\'   ? "\\\\"
                          : c == u'"'  ? "\\\""
                          : c == u'\n' ? "\\n"
                          : c == u'\r' ? "\\r"
                          : c == u'\t' ? "\\t"
                                       : nullptr;
        if (esc || high || low || c < 0x20 || c == 0x7F) {
            flushPlain();
            if (esc) {
                out += esc;
            } else {
                out += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 15]);
            }
            continue;
        }
        plain.push_back(c);
    }
    flushPlain();
    out.push_back('"');
}

// Reads a quoted string at `pos` (which holds the opening quote); leaves pos after the closing one.
bool readQuoted(std::string_view line, size_t& pos, std::u16string& out) {
    if (pos >= line.size() || line[pos] != '"') return false;
    ++pos;
    std::string plain;
    auto flushPlain = [&] {
        out += base::utf8ToUtf16(plain);
        plain.clear();
    };
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"') {
            flushPlain();
            return true;
        }
        if (c != '\\') {
            plain.push_back(c);
            continue;
        }
        if (pos >= line.size()) return false;
        const char e = line[pos++];
        char16_t unit;
        switch (e) {
            case '\\':
                unit = u'\\';
                break;
            case '"':
                unit = u'"';
                break;
            case 'n':
                unit = u'\n';
                break;
            case 'r':
                unit = u'\r';
                break;
            case 't':
                unit = u'\t';
                break;
            case 'u': {
                if (pos + 4 > line.size()) return false;
                unsigned v = 0;
                for (int k = 0; k < 4; ++k) {
                    int d = hexDigit(line[pos++]);
                    if (d < 0) return false;
                    v = v * 16 + unsigned(d);
                }
                unit = char16_t(v);
                break;
            }
            default:
                return false;
        }
        flushPlain();
        out.push_back(unit);
    }
    return false;
}

bool readHexList(std::string_view s, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < s.size()) {
        if (i + 2 > s.size()) return false;
        int a = hexDigit(s[i]), b = hexDigit(s[i + 1]);
        if (a < 0 || b < 0) return false;
        out.push_back(uint8_t(a * 16 + b));
        i += 2;
        if (i == s.size()) break;
        if (s[i] != ',' || i + 1 == s.size()) return false;
        ++i;
    }
    return true;
}

bool readData(std::string_view s, SettingValue& v) {
    if (!s.empty() && s[0] == '"') {
        size_t pos = 0;
        std::u16string text;
        if (!readQuoted(s, pos, text) || pos != s.size()) return false;
        v.type = kSettingSz;
        v.data = utf16LeBytes(text);
        return true;
    }
    if (s.starts_with("dword:")) {
        s.remove_prefix(6);
        if (s.size() != 8) return false;  // a line cut short is not another value
        uint32_t n = 0;
        for (char c : s) {
            int d = hexDigit(c);
            if (d < 0) return false;
            n = n * 16 + uint32_t(d);
        }
        v.type = kSettingDword;
        v.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
        return true;
    }
    if (s.starts_with("hex:")) {
        v.type = kSettingBinary;
        return readHexList(s.substr(4), v.data);
    }
    if (s.starts_with("hex(")) {
        size_t close = s.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12) return false;
        uint32_t t = 0;
        for (char c : s.substr(4, close - 4)) {
            int d = hexDigit(c);
            if (d < 0) return false;
            t = t * 16 + uint32_t(d);
        }
        v.type = t;
        return readHexList(s.substr(close + 2), v.data);
    }
    return false;
}

void appendData(std::string& out, const SettingValue& v) {
    if (v.type == kSettingDword && v.data.size() == 4) {
        const uint32_t n = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 |
                           uint32_t(v.data[2]) << 16 | uint32_t(v.data[3]) << 24;
        out += base::strprintf("dword:%08x", n);
        return;
    }
    if (v.type == kSettingSz && v.data.size() % 2 == 0) {
        appendQuoted(out, utf16LeText(v.data));
        return;
    }
    out += v.type == kSettingBinary ? std::string("hex:") : base::strprintf("hex(%x):", v.type);
    for (size_t i = 0; i < v.data.size(); ++i) {
        if (i) out.push_back(',');
        out.push_back(kHex[v.data[i] >> 4]);
        out.push_back(kHex[v.data[i] & 15]);
    }
}

SettingsKey& keyFor(SettingsTree& tree, std::string_view path) {
    std::string folded = fold(path);
    auto it = tree.find(folded);
    if (it == tree.end())
        it = tree.emplace(std::move(folded), SettingsKey(std::string(path))).first;
    return it->second;
}

}  // namespace

std::vector<uint8_t> utf16LeBytes(std::u16string_view s) {
    std::vector<uint8_t> data(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        data[2 * i] = uint8_t(s[i]);
        data[2 * i + 1] = uint8_t(s[i] >> 8);
    }
    return data;
}

std::u16string utf16LeText(std::span<const uint8_t> data) {
    std::u16string s(data.size() / 2, u'\0');
    for (size_t i = 0; i < s.size(); ++i) s[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    return s;
}

bool validSettingsKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    char prev = 0;
    for (char c : path) {
        if (isControl(static_cast<unsigned char>(c))) return false;
        if (c == '\\' && prev == '\\') return false;
        prev = c;
    }
    return true;
}

// ---- SettingsKey -----------------------------------------------------------------------------

const SettingValue* SettingsKey::find(std::string_view name) const {
    auto it = index_.find(fold(name));
    return it == index_.end() ? nullptr : &values_[it->second].second;
}

void SettingsKey::set(std::string_view name, SettingValue value) {
    std::string folded = fold(name);
    auto it = index_.find(folded);
    if (it != index_.end()) {
        values_[it->second].second = std::move(value);
        return;
    }
    index_.emplace(std::move(folded), values_.size());
    values_.emplace_back(std::string(name), std::move(value));
}

bool SettingsKey::erase(std::string_view name) {
    auto it = index_.find(fold(name));
    if (it == index_.end()) return false;
    values_.erase(values_.begin() + std::ptrdiff_t(it->second));
    index_.clear();
    for (size_t i = 0; i < values_.size(); ++i) index_.emplace(fold(values_[i].first), i);
    return true;
}

// ---- text form -------------------------------------------------------------------------------

SettingsTree parseSettingsText(std::string_view text, std::vector<size_t>* skipped) {
    SettingsTree tree;
    SettingsKey* current = nullptr;
    size_t number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == ';') continue;

        bool good = false;
        if (line.front() == '[') {
            current = nullptr;
            if (line.size() >= 2 && line.back() == ']') {
                std::string_view path = line.substr(1, line.size() - 2);
                if (validSettingsKeyPath(path)) {
                    current = &keyFor(tree, path);
                    good = true;
                }
            }
        } else if (line.front() == '"' && current) {
            size_t pos = 0;
            std::u16string name;
            SettingValue v;
            if (readQuoted(line, pos, name) && pos < line.size() && line[pos] == '=' &&
                readData(line.substr(pos + 1), v)) {
                current->set(base::utf16ToUtf8(name), std::move(v));
                good = true;
            }
        }
        if (!good && skipped) skipped->push_back(number);
    }
    return tree;
}

std::string formatSettingsText(const SettingsTree& tree) {
    std::string out = "; Vestrel settings. Written whole by the program when it saves.\n";
    for (const auto& [folded, key] : tree) {
        out += "\n[" + key.path() + "]\n";
        for (const auto& [name, value] : key.values()) {
            appendQuoted(out, base::utf8ToUtf16(name));
            out.push_back('=');
            appendData(out, value);
            out.push_back('\n');
        }
    }
    return out;
}

// ---- SettingsStore ---------------------------------------------------------------------------

bool SettingsStore::keyExists(std::string_view key) const {
    const std::string folded = fold(key);
    if (tree_.count(folded)) return true;
    const std::string below = folded + '\\';
    auto it = tree_.lower_bound(below);
    return it != tree_.end() && it->first.starts_with(below);
}

bool SettingsStore::createKey(std::string_view key) {
    if (!validSettingsKeyPath(key)) return false;
    keyFor(tree_, key);
    return true;
}

void SettingsStore::deleteKey(std::string_view key) {
    const std::string folded = fold(key);
    tree_.erase(folded);
    const std::string below = folded + '\\';
    auto it = tree_.lower_bound(below);
    while (it != tree_.end() && it->first.starts_with(below)) it = tree_.erase(it);
}

const SettingValue* SettingsStore::find(std::string_view key, std::string_view name) const {
    auto it = tree_.find(fold(key));
    return it == tree_.end() ? nullptr : it->second.find(name);
}

bool SettingsStore::set(std::string_view key, std::string_view name, SettingValue value) {
    if (!validSettingsKeyPath(key)) return false;
    keyFor(tree_, key).set(name, std::move(value));
    return true;
}

void SettingsStore::erase(std::string_view key, std::string_view name) {
    auto it = tree_.find(fold(key));
    if (it != tree_.end()) it->second.erase(name);
}

std::vector<std::string> SettingsStore::valueNames(std::string_view key) const {
    std::vector<std::string> names;
    auto it = tree_.find(fold(key));
    if (it == tree_.end()) return names;
    for (const auto& [name, value] : it->second.values()) names.push_back(name);
    return names;
}

std::optional<uint32_t> SettingsStore::getDword(std::string_view key, std::string_view name) const {
    const SettingValue* v = find(key, name);
    if (!v || v->type != kSettingDword || v->data.size() != 4) return std::nullopt;
    return uint32_t(v->data[0]) | uint32_t(v->data[1]) << 8 | uint32_t(v->data[2]) << 16 |
           uint32_t(v->data[3]) << 24;
}

std::optional<std::u16string> SettingsStore::getString(std::string_view key,
                                                       std::string_view name) const {
    const SettingValue* v = find(key, name);
    if (!v || v->type != kSettingSz) return std::nullopt;
    // An odd last byte is half a unit: dropped.
    return utf16LeText(v->data);
}

std::optional<std::vector<uint8_t>> SettingsStore::getBinary(std::string_view key,
                                                             std::string_view name) const {
    const SettingValue* v = find(key, name);
    if (!v || v->type != kSettingBinary) return std::nullopt;
    return v->data;
}

bool SettingsStore::setDword(std::string_view key, std::string_view name, uint32_t n) {
    return set(key, name,
               {kSettingDword, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}});
}

bool SettingsStore::setString(std::string_view key, std::string_view name, std::u16string_view s) {
    return set(key, name, {kSettingSz, utf16LeBytes(s)});
}

bool SettingsStore::setBinary(std::string_view key, std::string_view name,
                              std::vector<uint8_t> bytes) {
    return set(key, name, {kSettingBinary, std::move(bytes)});
}

}  // namespace vs::platform
