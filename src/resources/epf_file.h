#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/rect.h"
#include "resources/pix_map.h"

namespace vs::resources {

// The 8 header bytes of a sprite (EPF) file.
struct EpfHeader {
    int16_t frameCount = 0;
    int16_t canvasWidth = 0;  // the area the frames are laid out in
    int16_t canvasHeight = 0;
    int16_t reserved = 0;  // kept, never read
};

// One frame of a loaded sprite file: its rectangle in canvas coordinates and where its pixels
// and mask lie. A frame that does not fit its file is kept without pixels (an empty view).
struct FrameRecord {
    base::Rect rect;
    const uint8_t* pixels = nullptr;
    const uint8_t* mask = nullptr;
    size_t maskSize = 0;
};

// The frames of a sprite file, plus the closing record (empty rectangle, both addresses at the
// end of the pixel area). The pixel data stays where the file's bytes are.
struct FrameSet {
    EpfHeader header;
    std::vector<FrameRecord> records;

    int frameCount() const { return records.empty() ? 0 : int(records.size()) - 1; }
    // Null outside 0 … F − 1.
    const FrameRecord* frame(int index) const {
        return index >= 0 && index < frameCount() ? &records[size_t(index)] : nullptr;
    }
};

// Sprite file layout (little-endian): int16 frame count F, canvas width, canvas height, a spare
// word; uint32 D; D bytes of pixel area; F 16-byte entries (int16 top, left, bottom, right;
// uint32 pixel and mask offsets from the start of the pixel area).
namespace epf {

inline constexpr size_t kHeaderSize = 12;
inline constexpr size_t kEntrySize = 16;

// Reads the file in `bytes`, which must outlive the set. False, with the reason, when the
// header or the frame table does not fit the bytes; a frame whose rectangle, pixels or mask do
// not fit gets a record without pixels, and every mask kept passed mask::check.
bool parse(std::span<const uint8_t> bytes, FrameSet& out, std::string* why = nullptr);

// A view of one frame; returns its record. An index outside 0 … F − 1, or a frame without
// pixels, gives an empty picture and null.
const FrameRecord* view(const FrameSet& set, int index, PixMap& out);

}  // namespace epf

// The first frame of a sprite file held in memory (pictures received from the server), as a
// view of that buffer; the mask may take the rest of the pixel area. False and an empty picture
// when the frame does not fit the buffer.
bool DecodeEpfFrame(std::span<const uint8_t> buffer, PixMap& out);

}  // namespace vs::resources
