// The account file readers on any bytes: both the binary file and the older text file. What the
// binary reader keeps is written back in a form it reads back the same.
#include <cstdint>
#include <cstdlib>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using vs::app::Settings;
    std::span<const uint8_t> bytes(data, size);
    Settings s([](int n) { return std::u16string(size_t(n % 3), u'd'); });
    s.readAccountBytes(bytes);
    const std::vector<uint8_t> written = s.accountBytes();
    Settings back;
    back.readAccountBytes(written);
    if (back.accountBytes() != written) std::abort();

    Settings legacy;
    legacy.readLegacyAccountText(bytes);
    for (int i = 0; i < Settings::kMacroCount; ++i)
        if (legacy.macro(i).size() > Settings::kMaxMacroUnits) std::abort();
    if (legacy.accountText().size() > Settings::kMaxAccountTextUnits) std::abort();
    return 0;
}
