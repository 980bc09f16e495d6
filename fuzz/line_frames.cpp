// The line-framing reader on any character stream, and its decoder on any stored text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/packet_framing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    uint8_t expected = 0;
    if (auto bytes = vs::net::decodeLineText(text, expected)) {
        if (bytes->size() % 3 != 0 || bytes->size() > size) std::abort();
    }
    if (expected > 9) std::abort();

    vs::net::LineFrameReader reader;
    size_t total = 0;
    reader.feed(std::span(data, size), [&](std::vector<uint8_t> p) {
        if (p.empty()) std::abort();
        total += p.size();
    });
    if (total > size) std::abort();
    return 0;
}
