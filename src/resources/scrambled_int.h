#pragma once
#include <array>
#include <bit>
#include <cstdint>

// The 8-byte scrambled integer records that some frame tables hold their values in.
// DATFile::ReadScrambledInt reads them and tools/mkdata writes them, both through this header,
// so reader and writer share one key table and one constant.
namespace vs::resources::scrambled {

inline constexpr int kKeyLength = 27;
inline constexpr int kRecordSize = 8;

// The constant S (ours to choose).
inline constexpr uint32_t kSeed = 0x5645534Cu;  // "VESL"

// The 27 constant words; the key table is their running XOR.
inline constexpr uint32_t kKeyWords[kKeyLength] = {
    0x9C87F889, 0xF76639D2, 0xE279C733, 0xCB398766, 0x456F3E2E, 0x3DAF9C8F, 0xB5CC9753,
    0x4C743AF5, 0x7C2C2890, 0xCFA17A84, 0x08C11483, 0xBCD7A5A9, 0xEDC490A9, 0xE1972FF6,
    0x63CF6F4A, 0x6C3FA6DF, 0x26E45443, 0xDE577CC1, 0x3EEC0ABB, 0xC72C9B6F, 0x6DCA2C00,
    0x26F197D2, 0xAECFD634, 0x9370BB35, 0xA5D49886, 0x1DC1AAAB, 0xE2F67874,
};

// Word i becomes word i XOR word i-1, for i = 1..26, in order.
constexpr std::array<uint32_t, kKeyLength> keyTable() {
    std::array<uint32_t, kKeyLength> k{};
    for (int i = 0; i < kKeyLength; ++i) k[i] = kKeyWords[i];
    for (int i = 1; i < kKeyLength; ++i) k[i] ^= k[i - 1];
    return k;
}

// P: the reading position inside the entry (GetPos() before the read) halved.
constexpr uint32_t checkValue(uint32_t position) {
    return position / 2;
}

// Applies (or removes: XOR is its own inverse) the key stream for a record at P.
constexpr std::array<uint8_t, kRecordSize> applyKey(std::array<uint8_t, kRecordSize> b,
                                                    uint32_t p) {
    const auto key = keyTable();
    uint32_t j = (kSeed - p) % kKeyLength;
    for (int k = 0; k < kRecordSize; ++k) {
        b[k] = uint8_t(b[k] ^ uint8_t(key[j]));
        j = (j + kKeyLength - 1) % kKeyLength;
    }
    return b;
}

// The record that reads back as `value` when it starts at `position` inside its entry.
constexpr std::array<uint8_t, kRecordSize> encode(uint32_t value, uint32_t position) {
    const uint32_t p = checkValue(position);
    const uint32_t h = (p & 0x55555555u) | (value & 0xAAAAAAAAu);
    const uint32_t l = (p & 0xAAAAAAAAu) | (value & 0x55555555u);
    std::array<uint8_t, kRecordSize> b{};
    for (int k = 0; k < 4; ++k) {
        b[k] = uint8_t(h >> (24 - 8 * k));
        b[4 + k] = uint8_t(l >> (24 - 8 * k));
    }
    return applyKey(b, p);
}

// False (and `out` unchanged) when the record's check value is not P.
constexpr bool decode(const std::array<uint8_t, kRecordSize>& record, uint32_t position,
                      uint32_t& out) {
    const uint32_t p = checkValue(position);
    const auto b = applyKey(record, p);
    uint32_t h = 0, l = 0;
    for (int k = 0; k < 4; ++k) {
        h = (h << 8) | b[k];
        l = (l << 8) | b[4 + k];
    }
    if (((h & 0x55555555u) | (l & 0xAAAAAAAAu)) != p) return false;
    out = (h & 0xAAAAAAAAu) | (l & 0x55555555u);
    return true;
}

// A scrambled float is the record of its IEEE-754 single-precision bit pattern.
constexpr uint32_t floatBits(float f) {
    return std::bit_cast<uint32_t>(f);
}
constexpr float bitsFloat(uint32_t bits) {
    return std::bit_cast<float>(bits);
}

}  // namespace vs::resources::scrambled
