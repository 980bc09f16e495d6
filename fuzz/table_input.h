#pragma once
// The image libraries' table parsers, one fuzz target each; every result is walked so that a
// record the parser made up would be read.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/log.h"

namespace vs::fuzz {

inline std::span<const uint8_t> input(const uint8_t* data, size_t size) {
    base::setLogLevel(base::LogLevel::Error);
    return {data, size};
}

}  // namespace vs::fuzz
