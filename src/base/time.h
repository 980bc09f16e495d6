#pragma once
#include <cstdint>

namespace vs::base {

// Millisecond times are uint32 and wrap after about 49.7 days; compare them only through these.

// True when `now` is at or after `due`, across a wrap, for distances below 2^31 ms.
constexpr bool timeReached(uint32_t now, uint32_t due) { return int32_t(now - due) >= 0; }

// Signed distance from `from` to `to` (positive when `to` is later).
constexpr int32_t timeDiff(uint32_t to, uint32_t from) { return int32_t(to - from); }

}  // namespace vs::base
