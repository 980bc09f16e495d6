// The answer to a login, a new character or a password change: any payload gives a result or
// nothing, and a result's text never holds more than the bytes after its length.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "plain_schedule.h"

#include "screens/login_result.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    usePlainSchedule(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto result = vs::screens::ParseLoginResult(std::span(data, size));
    if (!result) return 0;
    if (size < 2 || result->code != data[1]) std::abort();
    if (result->text.size() > (size > 3 ? size - 3 : 0) * 2) std::abort();
    return 0;
}
