#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace vs::base {

// Text inside the program is UTF-16. It meets UTF-8 at SDL, file names and logs, and the game's
// code page at the network, resource texts, account files and the crash report.

std::u16string utf8ToUtf16(std::string_view utf8);      // malformed input becomes U+FFFD
std::string utf16ToUtf8(std::u16string_view utf16);     // a lone surrogate becomes U+FFFD
std::u16string asciiToUtf16(std::string_view ascii);    // byte-for-byte widening

// A code page, converted through iconv. Unrepresentable characters become '?'.
class CodePage {
public:
    // name: an iconv name ("WINDOWS-1252", "CP949") or a number ("1252", "949").
    explicit CodePage(std::string_view name = "WINDOWS-1252");
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    bool valid() const { return toWide_ != nullptr && fromWide_ != nullptr; }
    const std::string& name() const { return name_; }

    std::u16string decode(std::span<const uint8_t> bytes) const;
    std::u16string decode(std::string_view bytes) const {
        return decode(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    std::string encode(std::u16string_view text) const;
    // Encoded, then cut to at most maxBytes on a character boundary.
    std::string encodeLimited(std::u16string_view text, size_t maxBytes) const;

    // The process-wide code page (Windows-1252 until changed).
    static const CodePage& current();
    // Replaces the process-wide code page; false (and no change) when the name is unknown.
    static bool setCurrent(std::string_view name);

private:
    std::string name_;
    void* toWide_ = nullptr;    // iconv_t: code page -> UTF-16LE
    void* fromWide_ = nullptr;  // iconv_t: UTF-16LE -> code page
    mutable std::mutex mutex_;
};

}  // namespace vs::base
