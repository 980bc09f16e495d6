#pragma once
#include <cstddef>
#include <cstdint>

// The archive file layout, shared by the reader and tools/mkdata's writer.
//
//   offset 0        u32 entry count N, the closing entry included
//   4 + 17 i        u32 data offset of entry i, from the start of the file
//   8 + 17 i        13 bytes: entry name, ANSI, NUL-terminated, at most 12 characters
//   4 + 17 N        entry data
//
// Entry i runs from its offset to the offset of entry i + 1. The closing entry (index N - 1)
// carries only the end offset and an empty name. All integers are little-endian.
namespace vs::resources::archive_format {

inline constexpr size_t kCountSize = 4;
inline constexpr size_t kEntrySize = 17;
inline constexpr size_t kNameField = 13;
inline constexpr size_t kMaxNameLength = 12;

constexpr uint64_t tableEnd(uint64_t count) {
    return kCountSize + kEntrySize * count;
}
constexpr size_t entryAt(size_t index) {
    return kCountSize + kEntrySize * index;
}

}  // namespace vs::resources::archive_format
