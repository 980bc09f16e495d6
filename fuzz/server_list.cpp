// The server list: a zlib stream inflated into at most 2048 bytes, and the entries read from
// inflated bytes.
#include <cstdint>
#include <span>

#include "net/server_messages_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::net;
    const std::span<const uint8_t> input(data, size);
    (void)inflateServerList(input);
    (void)parseServerEntries(input);
    return 0;
}
