#include "mkdata/text_file.h"

#include "base/text.h"

namespace vs::mkdata {

std::string ansi(std::string_view utf8) {
    // Fixed, not the process-wide code page: the data must not depend on the machine.
    static const base::CodePage page("WINDOWS-1252");
    return page.encode(base::utf8ToUtf16(utf8));
}

std::vector<uint8_t> textFile(const std::vector<std::string>& utf8Lines, bool finalBreak) {
    std::string out;
    for (size_t i = 0; i < utf8Lines.size(); ++i) {
        out += ansi(utf8Lines[i]);
        if (finalBreak || i + 1 < utf8Lines.size()) out += "\r\n";
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

}  // namespace vs::mkdata
