#include "base/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vs::base {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(char16_t(0xD800 + (c >> 10)));
        out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(char16_t(c));
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

std::string iconvName(std::string_view name) {
    bool numeric = !name.empty();
    for (char c : name) numeric = numeric && c >= '0' && c <= '9';
    if (!numeric) return std::string(name);
    if (name == "1252") return "WINDOWS-1252";
    return "CP" + std::string(name);
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto b = uint8_t(s[i]);
        int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + size_t(len) > s.size()) {
            out.push_back(char16_t(kReplacement));
            ++i;
            continue;
        }
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool good = true;
        for (int k = 1; k < len; ++k) {
            auto t = uint8_t(s[i + size_t(k)]);
            if ((t & 0xC0) != 0x80) {
                good = false;
                break;
            }
            c = (c << 6) | (t & 0x3F);
        }
        static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (!good || c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            out.push_back(char16_t(kReplacement));
            ++i;
            continue;
        }
        appendUtf16(out, c);
        i += size_t(len);
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string asciiToUtf16(std::string_view s) {
    std::u16string out(s.size(), u'\0');
    for (size_t i = 0; i < s.size(); ++i) out[i] = char16_t(uint8_t(s[i]));
    return out;
}

CodePage::CodePage(std::string_view name) : name_(iconvName(name)) {
    iconv_t a = iconv_open("UTF-16LE", name_.c_str());
    iconv_t b = iconv_open(name_.c_str(), "UTF-16LE");
    if (a != iconv_t(-1)) toWide_ = a;
    if (b != iconv_t(-1)) fromWide_ = b;
}

CodePage::~CodePage() {
    if (toWide_) iconv_close(iconv_t(toWide_));
    if (fromWide_) iconv_close(iconv_t(fromWide_));
}

std::u16string CodePage::decode(std::span<const uint8_t> bytes) const {
    std::u16string out;
    if (bytes.empty()) return out;
    if (!valid()) {
        for (uint8_t b : bytes) out.push_back(b < 0x80 ? char16_t(b) : u'?');
        return out;
    }
    std::lock_guard lock(mutex_);
    auto cd = iconv_t(toWide_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> buf(bytes.size() * 4 + 8);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* o = buf.data();
        size_t oLeft = buf.size();
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        size_t produced = buf.size() - oLeft;
        for (size_t k = 0; k + 1 < produced; k += 2)
            out.push_back(char16_t(uint8_t(buf[k]) | (uint8_t(buf[k + 1]) << 8)));
        if (r == size_t(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or a sequence cut short at the end: one byte becomes '?'.
            out.push_back(u'?');
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

std::string CodePage::encode(std::u16string_view text) const {
    std::string out;
    if (text.empty()) return out;
    if (!valid()) {
        for (char16_t c : text) out.push_back(c < 0x80 ? char(c) : '?');
        return out;
    }
    std::lock_guard lock(mutex_);
    auto cd = iconv_t(fromWide_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> src(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        src[2 * i] = char(text[i] & 0xFF);
        src[2 * i + 1] = char(text[i] >> 8);
    }
    std::vector<char> buf(text.size() * 4 + 16);
    char* in = src.data();
    size_t inLeft = src.size();
    while (inLeft > 0) {
        char* o = buf.data();
        size_t oLeft = buf.size();
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf.data(), buf.size() - oLeft);
        if (r == size_t(-1)) {
            if (errno == E2BIG) continue;
            // Unrepresentable (or a lone surrogate): skip one character, write '?'.
            out.push_back('?');
            auto unit = char16_t(uint8_t(in[0]) | (uint8_t(in[1]) << 8));
            size_t skip = (unit >= 0xD800 && unit < 0xDC00 && inLeft >= 4) ? 4 : 2;
            skip = std::min(skip, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

std::string CodePage::encodeLimited(std::u16string_view text, size_t maxBytes) const {
    std::string whole = encode(text);
    if (whole.size() <= maxBytes) return whole;
    // Cut on a character boundary: encode character by character until the limit.
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t n = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        std::string one = encode(text.substr(i, n));
        if (out.size() + one.size() > maxBytes) break;
        out += one;
        i += n;
    }
    return out;
}

namespace {
std::mutex gCurrentMutex;
std::unique_ptr<CodePage>& currentSlot() {
    static std::unique_ptr<CodePage> page = std::make_unique<CodePage>("WINDOWS-1252");
    return page;
}
}  // namespace

const CodePage& CodePage::current() {
    std::lock_guard lock(gCurrentMutex);
    return *currentSlot();
}

bool CodePage::setCurrent(std::string_view name) {
    auto page = std::make_unique<CodePage>(name);
    if (!page->valid()) return false;
    std::lock_guard lock(gCurrentMutex);
    // The old object stays alive: references handed out earlier must not dangle.
    static std::vector<std::unique_ptr<CodePage>> retired;
    retired.push_back(std::move(currentSlot()));
    currentSlot() = std::move(page);
    return true;
}

}  // namespace vs::base
