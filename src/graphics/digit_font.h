#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "resources/pix_map.h"

namespace vs::graphics {

class Canvas;

// The coloured digits of the status numbers, "9X11FONT.BIN": colour sets of ten 9 × 11
// pictures ('0' to '9'), rows of palette indices, 0 transparent.
class DigitFont {
  public:
    static constexpr int32_t kWidth = 9;
    static constexpr int32_t kHeight = 11;
    static constexpr size_t kDigitBytes = size_t(kWidth) * kHeight;
    static constexpr size_t kSetBytes = kDigitBytes * 10;
    static constexpr const char* kFileName = "9X11FONT.BIN";

    // Reads the file through the archive manager on first use.
    DigitFont() = default;
    explicit DigitFont(std::vector<uint8_t> file) : loaded_(true), file_(std::move(file)) {}

    // A view of digit d (0 … 9) of a colour set; false when the file does not hold it.
    bool Digit(int32_t set, int32_t d, resources::PixMap& out);

  private:
    void load();

    bool loaded_ = false;
    std::vector<uint8_t> file_;
};

// Draws each digit of the text keyed at (x, y), x advancing by 9 per character. Spaces, '/'
// and anything the font does not hold draw nothing but still advance. The first form uses the
// font cache's digit font.
void DrawDigits(Canvas& canvas, std::u16string_view text, int32_t x, int32_t y, int32_t colourSet);
void DrawDigits(Canvas& canvas, DigitFont& font, std::u16string_view text, int32_t x, int32_t y,
                int32_t colourSet);

}  // namespace vs::graphics
