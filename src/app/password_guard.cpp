#include "app/password_guard.h"

#include <array>
#include <mutex>

#include "app/error.h"
#include "base/text.h"

namespace vs::app {

namespace {
constexpr uint16_t kScrambleStart = 0x5A3C;
std::array<char16_t, 32> gPassword{};
size_t gLength = 0;
PasswordGuard::TextFileSource gSource;
}  // namespace

void PasswordGuard::storePassword(std::u16string_view password) {
    gLength = std::min<size_t>(password.size(), 31);
    gPassword.fill(0);
    for (size_t i = 0; i < gLength; ++i) gPassword[i] = char16_t(password[i] ^ uint16_t(kScrambleStart + i));
}

void PasswordGuard::setTextSource(TextFileSource source) { gSource = std::move(source); }

std::u16string PasswordGuard::warningText(std::string_view file) {
    std::u16string out;
    size_t pos = 0;
    bool first = true;
    size_t previousContent = 0;
    while (pos < file.size()) {
        size_t end = file.find('\n', pos);
        std::string_view line = file.substr(pos, end == std::string_view::npos ? std::string_view::npos : end + 1 - pos);
        pos = end == std::string_view::npos ? file.size() : end + 1;
        if (!first && previousContent <= 1) break;
        std::string_view content = line;
        while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) content.remove_suffix(1);
        if (content.size() > 200) content = content.substr(0, 200);
        if (!first) out += u'\n';
        out += base::CodePage::current().decode(content);
        previousContent = content.size();
        first = false;
        if (out.size() >= 1024) {
            out.resize(1024);
            break;
        }
    }
    return out;
}

void PasswordGuard::checkOutgoing(std::u16string_view text) {
    if (gLength == 0 || text.empty()) return;
    std::u16string plain(gLength, u'\0');
    for (size_t i = 0; i < gLength; ++i) plain[i] = char16_t(gPassword[i] ^ uint16_t(kScrambleStart + i));
    if (text.find(plain) == std::u16string_view::npos) return;
    std::optional<std::string> file = gSource ? gSource("PASS_ENG.STR") : std::nullopt;
    throw PasswordError(file ? warningText(*file) : std::u16string());
}

}  // namespace vs::app
