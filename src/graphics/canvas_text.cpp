// Text on a canvas, in the game font of the font cache.
#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/font_cache.h"

namespace vs::graphics {

using base::Rect;

namespace {

constexpr int32_t kLine = FontCache::kLineHeight;
// Glyphs of the first 256 codes are drawn this much higher.
constexpr int32_t kLowCodeLift = 2;

uint8_t paletteIndex(int32_t index) {
    return index >= 0 && index <= 255 ? uint8_t(index) : 0;
}

// Lays the text out in lines of at most `width` pixels and calls line(text, width) for each until
// it returns false. Returns the number of lines handed out.
template <class Line>
int32_t layoutLines(FontCache& fonts, int16_t font, std::u16string_view text, int32_t width,
                    Line&& line) {
    int32_t lines = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        if (lines > 0 && text[pos] == u' ' && ++pos == text.size()) break;
        size_t end = pos;
        int32_t used = 0;
        while (end < text.size()) {
            const int32_t a = fonts.GlyphAdvance(font, text[end]);
            if (used + a > width) break;
            used += a;
            ++end;
        }
        // A character wider than the line still takes a line of its own.
        if (end == pos) used = fonts.GlyphAdvance(font, text[end++]);
        ++lines;
        if (!line(text.substr(pos, end - pos), used)) break;
        pos = end;
    }
    return lines;
}

}  // namespace

int32_t Canvas::TextWidth(std::u16string_view text) {
    FontCache* fonts = FontCache::instance();
    if (!fonts) return 0;
    int32_t w = 0;
    for (char16_t c : text) w += fonts->GlyphAdvance(fontId_, c);
    return w;
}

size_t Canvas::FittingCount(std::u16string_view text, int32_t width) {
    FontCache* fonts = FontCache::instance();
    if (!fonts) return text.size();
    int32_t w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        w += fonts->GlyphAdvance(fontId_, text[i]);
        if (w > width) return i;
    }
    return text.size();
}

size_t Canvas::TrimmedLength(std::u16string_view text) {
    size_t n = text.size();
    while (n > 0 && (text[n - 1] == u' ' || text[n - 1] == u'\t' || text[n - 1] == u'\r')) --n;
    return n;
}

void Canvas::FitWithSuffix(std::u16string& buffer, std::u16string_view suffix, int32_t width) {
    if (TextWidth(buffer) <= width) return;
    buffer.resize(FittingCount(buffer, width - TextWidth(suffix)));
    buffer += suffix;
}

void Canvas::DrawText(std::u16string_view text) {
    FontCache* fonts = FontCache::instance();
    if (!fonts) return;
    const int32_t x0 = pen_.x, baseline = pen_.y;
    const int32_t total = TextWidth(text);
    pen_.x = x0 + total;
    if (!enabled_ || !IsLocked()) return;

    const uint8_t back = textBackMode_;
    if (back == 0 || back == 2) {
        const int32_t pen = penColor_;
        const uint8_t mode = mode_;
        penColor_ = fillColor_;
        mode_ = back;
        FillRect({x0, baseline - kLine, x0 + total, baseline});
        penColor_ = pen;
        mode_ = mode;
    }
    const int blit = back == 0 ? 1 : back == 2 ? 3 : back;
    if (blit > 3) return;

    const uint8_t ink = paletteIndex(textColor_), edge = paletteIndex(textBackColor_);
    const uint8_t colours[8] = {0, ink, edge, ink, ink, edge, 0, 0};
    PixMap glyph;
    int32_t x = x0;
    for (char16_t c : text) {
        if (fonts->RenderGlyph(fontId_, c, colours, glyph)) {
            const Rect box = fonts->GlyphBox(fontId_, c);
            const int32_t left = x + box.left - 2;
            const int32_t top = baseline + box.top - kLine - (c < 256 ? kLowCodeLift : 0);
            DrawPixMap(glyph, glyph.bounds(), glyph.bounds().offset(left, top), blit);
        }
        x += fonts->GlyphAdvance(fontId_, c);
    }
}

void Canvas::DrawTextInRect(std::u16string_view text, const Rect& rect) {
    FontCache* fonts = FontCache::instance();
    if (!fonts) return;
    const base::Point saved = pen_;
    int32_t baseline = rect.top + kLine;
    layoutLines(*fonts, fontId_, text, rect.width(), [&](std::u16string_view line, int32_t w) {
        if (baseline > rect.bottom) return false;
        int32_t x = rect.left;
        if (alignment_ == 1) x = (rect.left + rect.right) / 2 - w / 2;
        if (alignment_ == 2) x = rect.right - w;
        MoveTo(x, baseline);
        DrawText(line);
        baseline += kLine;
        return true;
    });
    pen_ = saved;
}

int32_t Canvas::TextLineCount(std::u16string_view text, int32_t width) {
    FontCache* fonts = FontCache::instance();
    if (!fonts) return 0;
    return layoutLines(*fonts, fontId_, text, width,
                       [](std::u16string_view, int32_t) { return true; });
}

}  // namespace vs::graphics
