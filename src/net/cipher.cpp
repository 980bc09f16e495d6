#include "net/cipher.h"

namespace vs::net {

bool sentInClear(Framing framing, uint8_t opcode) {
    if (framing == Framing::Binary) return opcode == 0x00 || opcode == 0x10 || opcode == 0x48;
    return opcode == 0x00 || opcode == 0x48 || opcode == 0x50;
}

bool receivedInClear(Framing framing, uint8_t opcode) {
    if (framing == Framing::Binary) return opcode == 0x00 || opcode == 0x03 || opcode == 0x40;
    return opcode == 0x00 || opcode == 0x40;
}

void applyKeyStream(std::span<uint8_t> body, uint8_t counter) {
    constexpr size_t n = kCipherKey.size();
    for (size_t k = 0; k < body.size(); ++k) {
        // Each block of n bytes also mixes in its number, except where that equals the counter.
        const auto block = uint8_t(k / n);
        const uint8_t mix = block != counter ? block : 0;
        body[k] ^= uint8_t(kCipherKey[k % n]) ^ counter ^ mix;
    }
}

std::vector<uint8_t> encipher(std::span<const uint8_t> payload, uint8_t counter) {
    if (payload.empty()) return {};
    std::vector<uint8_t> out;
    out.reserve(payload.size() + 1);
    out.push_back(payload[0]);
    out.push_back(counter);
    out.insert(out.end(), payload.begin() + 1, payload.end());
    applyKeyStream(std::span(out).subspan(2), counter);
    return out;
}

std::vector<uint8_t> decipher(std::span<const uint8_t> received) {
    if (received.empty()) return {};
    if (received.size() < 3) return {received[0]};
    std::vector<uint8_t> out;
    out.reserve(received.size() - 1);
    out.push_back(received[0]);
    out.insert(out.end(), received.begin() + 2, received.end());
    applyKeyStream(std::span(out).subspan(1), received[1]);
    return out;
}

}  // namespace vs::net
