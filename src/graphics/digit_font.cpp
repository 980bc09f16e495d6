#include "graphics/digit_font.h"

#include "base/log.h"
#include "graphics/canvas.h"
#include "graphics/font_cache.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::graphics {

void DigitFont::load() {
    loaded_ = true;
    auto* archives = resources::ArchiveManager::instance();
    if (!archives || !archives->Exists(std::string_view(kFileName))) {
        VS_ERROR("%s is missing: no status digits can be drawn", kFileName);
        return;
    }
    resources::DATFile f(kFileName);
    const auto bytes = f.View();
    file_.assign(bytes.begin(), bytes.end());
}

bool DigitFont::Digit(int32_t set, int32_t d, resources::PixMap& out) {
    if (!loaded_) load();
    out.Free();
    if (set < 0 || d < 0 || d > 9) return false;
    const uint64_t at = uint64_t(set) * kSetBytes + uint64_t(d) * kDigitBytes;
    if (at + kDigitBytes > file_.size()) return false;
    out.SetView8(file_.data() + at, kWidth, {0, 0, kWidth, kHeight});
    return true;
}

void DrawDigits(Canvas& canvas, DigitFont& font, std::u16string_view text, int32_t x, int32_t y,
                int32_t colourSet) {
    resources::PixMap digit;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9' && font.Digit(colourSet, c - u'0', digit))
            canvas.DrawPixMapAt(x, y, digit, nullptr, 1);
        x += DigitFont::kWidth;
    }
}

void DrawDigits(Canvas& canvas, std::u16string_view text, int32_t x, int32_t y, int32_t colourSet) {
    if (FontCache* fonts = FontCache::instance())
        DrawDigits(canvas, fonts->Digits(), text, x, y, colourSet);
}

}  // namespace vs::graphics
