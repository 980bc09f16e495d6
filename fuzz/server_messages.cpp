// Arbitrary payloads through the parser of their first byte. What a parser accepts must build
// and parse back to the same message: the two directions of the catalogue agree.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "plain_schedule.h"

#include "net/server_messages.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    usePlainSchedule(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::net;
    const auto message = parseServerMessage(std::span(data, size));
    if (!message) return 0;
    const auto again = parseServerMessage(build(*message));
    if (!again || !(*again == *message)) std::abort();
    return 0;
}
