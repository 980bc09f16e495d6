// A string table of any bytes, and each of its texts used as a format with a few arguments.
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/error.h"
#include "resources/string_table.h"
#include "resources/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::resources;
    try {
        StringTable table(std::span<const uint8_t>(data, size));
        size_t total = 0;
        for (int id = -1; id <= table.count(); ++id) {
            const std::u16string& text = table.Get(id);
            if (text.size() > StringTable::kMaxLine) __builtin_trap();
            total += FormatText(text, {u"name", 42, -7}).size();
            total += FormatDirectives(text).size();
        }
        return total == 1 ? 1 : 0;
    } catch (const vs::app::MyError&) {
        return 0;  // too many strings
    }
}
