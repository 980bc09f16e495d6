// The settings file parser on any text: whatever it keeps, it writes back in a form that reads
// back to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SettingsTree tree = parseSettingsText(text);
    const std::string once = formatSettingsText(tree);
    std::vector<size_t> skipped;
    const std::string twice = formatSettingsText(parseSettingsText(once, &skipped));
    if (once != twice || !skipped.empty()) std::abort();
    return 0;
}
