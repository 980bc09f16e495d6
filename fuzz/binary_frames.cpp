// The binary frame reader on any byte stream, split into chunks whose size the first byte picks.
#include <cstdint>
#include <cstdlib>

#include "net/packet_framing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t chunk = size_t(data[0]) + 1;
    std::span<const uint8_t> stream(data + 1, size - 1);
    vs::net::BinaryFrameReader reader;
    size_t whole = 0;
    auto sink = [&](std::vector<uint8_t> p) {
        if (p.empty() || p.size() > vs::net::kReceiveBufferSize) std::abort();
        whole += p.size();
    };
    for (size_t at = 0; at < stream.size(); at += chunk)
        reader.feed(stream.subspan(at, std::min(chunk, stream.size() - at)), sink);
    // However it was split, the stream gives the same payloads.
    vs::net::BinaryFrameReader once;
    size_t wholeOnce = 0;
    once.feed(stream, [&](std::vector<uint8_t> p) { wholeOnce += p.size(); });
    if (whole != wholeOnce) std::abort();
    return 0;
}
