#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/rect.h"

namespace vs::resources {

class DLPalette;

// Run-length transparency masks. For each row of a picture, from the top: run bytes, then a 0
// byte that ends the row. A run byte's bit 7 marks visible pixels, bits 0-6 give the run's length.
namespace mask {

inline constexpr uint8_t kVisible = 0x80;
inline constexpr uint8_t kLengthBits = 0x7F;

// True when the stream holds `height` rows whose runs add up to exactly `width` and end in their
// 0 byte, all inside `size` bytes. Blitters walk only masks that pass, so they need no checks.
bool check(const uint8_t* mask, size_t size, int32_t width, int32_t height);

// The mask of a row-major picture (value 0 transparent). Returns the bytes written; `out` must
// hold maxSize(width, height) bytes. T is uint8_t or uint16_t.
template <class T>
size_t build(const T* pixels, int32_t rowWidth, int32_t width, int32_t height, uint8_t* out);
size_t maxSize(int32_t width, int32_t height);

// Walks a checked mask row by row. Columns count from the picture's left edge.
class Walker {
  public:
    Walker(const uint8_t* mask, size_t size) : p_(mask), end_(mask + size) {}

    // Skips n rows by counting their 0 bytes. Rows are a few bytes long: a plain scan beats a
    // call to memchr, and counting without a branch per byte avoids a misprediction per row.
    void skipRows(int32_t n) {
        while (n > 0 && p_ < end_) n -= *p_++ == 0;
    }

    // One row: calls visible(a, b) and hidden(a, b) for the parts of its runs inside the columns
    // [x0, x1), left to right, then moves to the next row.
    template <class Visible, class Hidden>
    [[gnu::always_inline]] void row(int32_t x0, int32_t x1, Visible&& visible, Hidden&& hidden) {
        int32_t x = 0;
        uint8_t b;
        while ((b = *p_++) != 0) {
            const int32_t e = x + (b & kLengthBits);
            if (e > x0) {
                const int32_t a = x > x0 ? x : x0;
                const int32_t z = e < x1 ? e : x1;
                if (b & kVisible) {
                    visible(a, z);
                } else {
                    hidden(a, z);
                }
                if (e >= x1) {
                    // The rest of the row lies right of the columns; a checked row ends in 0.
                    while (*p_++ != 0) {
                    }
                    return;
                }
            }
            x = e;
        }
    }
    // One whole row, unclipped: every run, left to right.
    template <class Visible, class Hidden>
    [[gnu::always_inline]] void wholeRow(Visible&& visible, Hidden&& hidden) {
        int32_t x = 0;
        uint8_t b;
        while ((b = *p_++) != 0) {
            const int32_t e = x + (b & kLengthBits);
            if (b & kVisible) {
                visible(x, e);
            } else {
                hidden(x, e);
            }
            x = e;
        }
    }

    template <class Visible>
    [[gnu::always_inline]] void row(int32_t x0, int32_t x1, Visible&& visible) {
        row(x0, x1, std::forward<Visible>(visible), [](int32_t, int32_t) {});
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
};

}  // namespace mask

// A picture: 8-bit palette indices or 16-bit colours in the display's format, with bounds, a
// row width (the pitch in pixels) and an optional transparency mask. It either owns its pixels
// and mask (Alloc8, Alloc16, CopyFrom, BuildMask) or is a view of memory owned elsewhere (sprite
// frames in the mapped archives, a locked canvas). Pixel (x, y) is at
// pixels[(y - top) * rowWidth + (x - left)]; value 0 is transparent wherever transparency applies.
class PixMap {
  public:
    PixMap() = default;
    ~PixMap() { Free(); }
    PixMap(PixMap&& o) noexcept { *this = std::move(o); }
    PixMap& operator=(PixMap&& o) noexcept;
    PixMap(const PixMap&) = delete;
    PixMap& operator=(const PixMap&) = delete;

    // Owning w × h pictures with undefined contents, bounds (0, 0, w, h) and no mask. A size
    // of 0 or less gives an empty picture without pixels.
    void Alloc8(int32_t w, int32_t h) { alloc(w, h, true); }
    void Alloc16(int32_t w, int32_t h) { alloc(w, h, false); }
    // Frees what it owns and forgets what it viewed; the picture is empty afterwards.
    void Free();
    // Becomes an owning deep copy of source: its rows of pixels (at a row width of its own
    // width) and its mask.
    void CopyFrom(const PixMap& source);
    // Replaces the mask with one built from the pixels (value 0 transparent).
    void BuildMask();
    // In the 555 format, converts a 16-bit picture decoded as 565 in place.
    void To555();
    // An 8-bit picture with a pixel inside one of the palette's colour-cycling ranges.
    bool UsesColorRanges(const DLPalette& palette) const;

    // Views of memory owned elsewhere; they free what they owned first. A view of read-only
    // memory (the mapped archives) must not be drawn into.
    void SetView8(const uint8_t* pixels, int32_t rowWidth, const base::Rect& bounds);
    void SetView16(uint16_t* pixels, int32_t rowWidth, const base::Rect& bounds);
    void SetView16(const uint16_t* pixels, int32_t rowWidth, const base::Rect& bounds) {
        SetView16(const_cast<uint16_t*>(pixels), rowWidth, bounds);
    }
    // A canvas's locked surface: views the pixels, keeps the mask. ClearPixels forgets them.
    void ViewPixels16(uint16_t* pixels, int32_t rowWidth, const base::Rect& bounds);
    void ClearPixels();
    // A mask viewed elsewhere. `checked` says it already passed mask::check for these bounds.
    void SetMaskView(const uint8_t* mask, size_t size, bool checked = false);
    // Moves the picture: the pixels stay, the bounds are offset.
    void OffsetBounds(int32_t dx, int32_t dy) { bounds_ = bounds_.offset(dx, dy); }
    // Checks the mask once; a mask that fails is dropped. False when there is no mask left.
    bool CheckMask();

    bool is8Bit() const { return depth8_; }
    bool hasPixels() const { return base_ != nullptr; }
    const uint8_t* pixels8() const { return depth8_ ? base_ : nullptr; }
    const uint16_t* pixels16() const {
        return depth8_ ? nullptr : reinterpret_cast<const uint16_t*>(base_);
    }
    uint16_t* pixels16() { return depth8_ ? nullptr : reinterpret_cast<uint16_t*>(base_); }
    int32_t rowWidth() const { return rowWidth_; }
    const base::Rect& bounds() const { return bounds_; }
    int32_t width() const { return bounds_.width(); }
    int32_t height() const { return bounds_.height(); }
    const uint8_t* mask() const { return mask_; }
    size_t maskSize() const { return maskSize_; }
    // The mask is known to fit the picture (mask::check passed).
    bool maskChecked() const { return mask_ && maskChecked_; }
    bool ownsPixels() const { return ownsPixels_; }

  private:
    void alloc(int32_t w, int32_t h, bool depth8);
    void pointAt(uint8_t* pixels, int32_t rowWidth, const base::Rect& bounds, bool depth8);
    void freePixels();
    void freeMask();

    bool depth8_ = false;
    uint8_t* base_ = nullptr;
    int32_t rowWidth_ = 0;
    base::Rect bounds_;
    size_t maskSize_ = 0;
    const uint8_t* mask_ = nullptr;
    bool ownsPixels_ = false;
    bool ownsMask_ = false;
    bool maskChecked_ = false;
};

}  // namespace vs::resources
