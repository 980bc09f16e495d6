#include "resources/string_table.h"

#include "app/error.h"
#include "base/text.h"
#include "resources/dat_file.h"

namespace vs::resources {

namespace {
const std::u16string kInvalid = u"Invalid String ID";
}

std::vector<std::u16string> StringTable::parse(std::span<const uint8_t> bytes) {
    // The length of a line terminator at p: LF, CR LF, or a lone CR; 0 for none.
    auto terminator = [&](size_t p) -> size_t {
        if (p >= bytes.size()) return 0;
        if (bytes[p] == '\n') return 1;
        if (bytes[p] != '\r') return 0;
        return p + 1 < bytes.size() && bytes[p + 1] == '\n' ? 2 : 1;
    };
    std::vector<std::u16string> strings;
    size_t pos = 0;
    std::string line;
    bool atEnd = false;
    do {
        line.clear();
        for (;;) {
            if (pos == bytes.size()) {
                atEnd = true;
                break;
            }
            if (size_t t = terminator(pos)) {
                pos += t;
                break;
            }
            // A line longer than the limit is cut, and its rest is the next text; a line of
            // exactly the limit still takes its own terminator above.
            if (line.size() == kMaxLine) break;
            const uint8_t c = bytes[pos++];
            line.push_back(c == 0x11 ? '\r' : char(c));
        }
        if (strings.size() == size_t(kMaxStrings)) throw app::MyError(u"Too many strings");
        std::u16string text = base::CodePage::current().decode(line);
        if (text.size() > kMaxLine) text.resize(kMaxLine);
        strings.push_back(std::move(text));
    } while (!atEnd);
    return strings;
}

StringTable::StringTable() {
    DATFile file("str.res");
    strings_ = parse(file.View());
    instance_ = this;
}

StringTable::StringTable(std::span<const uint8_t> bytes) : strings_(parse(bytes)) {
    instance_ = this;
}

StringTable::~StringTable() {
    if (instance_ == this) instance_ = nullptr;
}

const std::u16string& StringTable::Get(int id) const {
    if (id < 0 || id >= count()) return kInvalid;
    return strings_[size_t(id)];
}

}  // namespace vs::resources
