#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/rect.h"
#include "graphics/digit_font.h"
#include "resources/pix_map.h"

namespace vs::graphics {

// The game font, "MARVU00.EFT": one glyph record per 16-bit character code, each a box and
// run-length rows of colour classes (0 transparent). Every font id reads font 0.
//
// The table is read and every record checked once, on first use; drawing then trusts what
// passed. A record that fails, or a glyph of zero width, shows as '?'; when '?' itself has no
// glyph nothing is drawn and the advance is 0. Also keeps the digit font of the status numbers.
class FontCache {
  public:
    static constexpr int32_t kLineHeight = 12;
    static constexpr char16_t kMissingGlyph = u'?';
    static constexpr int32_t kMaxSide = 128;
    // Header words, then one 32-bit offset per character code.
    static constexpr size_t kTableEnd = 4 + 65536 * 4;
    static constexpr size_t kRecordHeader = 14;
    static constexpr const char* kFileName = "MARVU00.EFT";

    // Reads the font through the archive manager on first use.
    FontCache();
    // Reads the font from bytes that outlive the cache (tests, tools).
    explicit FontCache(std::span<const uint8_t> file);
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    static FontCache* instance() { return instance_; }

    int32_t GlyphAdvance(int16_t font, char16_t c);
    // (left, top, right, bottom) relative to the pen and the line's top; empty without a glyph.
    base::Rect GlyphBox(int16_t font, char16_t c);
    int32_t LineHeight(int16_t) const { return kLineHeight; }
    // Rasterises the glyph into the scratch buffer, each class through `colours`, and points
    // `out` at it (8-bit, bounds (0, 0, width, height)). False, and `out` empty, when there is
    // nothing to draw. The picture stays valid until the next call.
    bool RenderGlyph(int16_t font, char16_t c, const uint8_t (&colours)[8], resources::PixMap& out);

    // True when c has a drawable glyph of its own (not the stand-in '?').
    bool HasGlyph(char16_t c) { return own(c) != nullptr; }

    DigitFont& Digits() { return digits_; }

  private:
    // c's own record when it passed the checks and has a width, else null.
    const uint8_t* own(char16_t c);
    // The record drawn for c ('?' standing in), or null.
    const uint8_t* record(char16_t c);
    void load();
    bool validRecord(uint32_t offset) const;

    static inline FontCache* instance_ = nullptr;

    bool loaded_ = false;
    bool fromArchive_ = true;
    std::span<const uint8_t> file_;
    std::vector<uint32_t> offsets_;  // 0 where there is no usable glyph
    std::vector<uint8_t> scratch_;
    DigitFont digits_;
};

}  // namespace vs::graphics
