// A font file of any bytes: the table is read and checked as on first use, then every glyph the
// table names is measured and rendered, and a few drawn on a canvas.
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/canvas.h"
#include "graphics/font_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    graphics::FontCache fonts(std::span<const uint8_t>(data, size));
    const uint8_t colours[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    resources::PixMap glyph;
    std::u16string sample;
    for (uint32_t c = 0; c < 65536; ++c) {
        if (!fonts.HasGlyph(char16_t(c))) continue;
        fonts.GlyphAdvance(0, char16_t(c));
        fonts.GlyphBox(0, char16_t(c));
        fonts.RenderGlyph(0, char16_t(c), colours, glyph);
        if (sample.size() < 16) sample += char16_t(c);
    }
    sample += u"?\u4e00";
    graphics::Canvas canvas;
    canvas.SetBounds({0, 0, 64, 32});
    canvas.SetClipArea({0, 0, 64, 32});
    canvas.Lock();
    for (uint8_t mode = 0; mode < 4; ++mode) {
        canvas.SetTextBackMode(mode);
        canvas.SetAlignment(mode);
        canvas.DrawTextInRect(sample, {-3, -5, 40, 30});
    }
    canvas.Unlock();
    return 0;
}
