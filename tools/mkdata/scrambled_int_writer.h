#pragma once
#include <cstdint>

#include "base/byte_io.h"
#include "resources/scrambled_int.h"

namespace vs::mkdata {

// Appends one scrambled integer record to an entry being built. The writer must hold the entry
// from its first byte: the record's key and check value depend on where it starts.
inline void appendScrambledInt(base::ByteWriter& entry, uint32_t value) {
    const auto record = resources::scrambled::encode(value, uint32_t(entry.size()));
    entry.bytes(record);
}

inline void appendScrambledFloat(base::ByteWriter& entry, float value) {
    appendScrambledInt(entry, resources::scrambled::floatBits(value));
}

}  // namespace vs::mkdata
