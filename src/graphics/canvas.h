#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/lobject.h"
#include "base/rect.h"
#include "resources/pix_map.h"

namespace vs::resources {
class DLPalette;
}

namespace vs::graphics {

class LightMap;
using resources::PixMap;

// The optional last argument of DrawPixMap: how the visible pixels of a keyed (mode 1) blit are
// changed.
struct BlitOption {
    enum Kind : int32_t {
        kPlain = 0,
        kTranslucent = 1,  // blended, `factor` the destination weight
        kTinted = 2,       // colour indices from 48 shifted by tint × 8 (mod 256)
        kTranslucentTinted = 3,
        kHalfSize = 4,
        kHalfSizeTinted = 6,
        kSeeThrough = 8,  // blended with a destination weight per source pixel from `mask`
    };
    int32_t kind = kPlain;
    float factor = 0.0f;
    int32_t tint = 0;
    // kSeeThrough: destination weights 0 … 32 (more counts as 32), one byte per source pixel
    // from the source rectangle's top-left; drawn only when the map is at least as large as the
    // source rectangle and its stride at least its width.
    const uint8_t* mask = nullptr;
    int32_t maskWidth = 0;
    int32_t maskHeight = 0;
    int32_t maskStride = 0;
};

// A drawing surface: its own off-screen 16-bit surface in the display's format (or one owned
// elsewhere), a clip area, a pen, colours, a transfer mode and an opacity, and every drawing
// operation. Drawing works between Lock and Unlock and is clipped to GetClipRect(); colour
// indices go through the base palette unless an operation takes a palette.
//
// Transfer modes: 0 copy, 1 keyed (transparent source pixels, or pen colour index 0, draw
// nothing), 2 blend, 3 keyed blend; any other mode draws nothing.
class Canvas : public base::LObject {
  public:
    static constexpr int32_t kDefaultPen = 128;
    static constexpr int32_t kDefaultFill = 143;

    Canvas() = default;
    ~Canvas() override;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // --- the surface ----------------------------------------------------------------------------

    // New bounds: the canvas's own surface is re-created at their size (black), keeping the
    // part that both sizes share; empty bounds drop it. Clip areas are the caller's to adjust.
    virtual void SetBounds(const base::Rect& bounds);
    const base::Rect& GetBounds() const { return bounds_; }
    // Draws on memory owned elsewhere (the display's back buffer) instead of an own surface.
    void AttachSurface(uint16_t* pixels, int32_t pitch, const base::Rect& surfaceRect);
    void ReleaseSurface();
    bool HasSurface() const { return surface_ != nullptr; }
    // The surface in canvas coordinates: the origin offset plus the bounds' size.
    const base::Rect& SurfaceRect() const { return surfaceRect_; }
    void SetOrigin(base::Point origin);
    base::Point GetOrigin() const { return origin_; }

    // Makes the surface the picture; false (and a picture without pixels) without a surface.
    bool Lock();
    void Unlock();
    bool IsLocked() const { return picture_.hasPixels(); }
    PixMap& Picture() { return picture_; }
    const PixMap& Picture() const { return picture_; }

    // --- drawing state --------------------------------------------------------------------------

    const base::Rect& ClipArea() const { return clip_; }
    void SetClipArea(const base::Rect& area) { clip_ = area; }
    const base::Rect& UserClip() const { return userClip_; }
    // An extra clip, used when not empty.
    void SetUserClip(const base::Rect& area) { userClip_ = area; }
    // clip area ∩ user clip (when not empty) ∩ the picture's bounds.
    base::Rect GetClipRect() const;

    void MoveTo(int32_t x, int32_t y) { pen_ = {x, y}; }
    void Move(int32_t dx, int32_t dy) { pen_ = {pen_.x + dx, pen_.y + dy}; }
    base::Point GetPen() const { return pen_; }
    void SetPenColor(int32_t index) { penColor_ = index; }
    void SetFillColor(int32_t index) { fillColor_ = index; }
    void SetTextColor(int32_t index) { textColor_ = index; }
    void SetTextBackColor(int32_t index) { textBackColor_ = index; }
    int32_t PenColor() const { return penColor_; }
    int32_t FillColor() const { return fillColor_; }
    int32_t TextColor() const { return textColor_; }
    int32_t TextBackColor() const { return textBackColor_; }
    void SetTextBackMode(uint8_t mode) { textBackMode_ = mode; }
    uint8_t TextBackMode() const { return textBackMode_; }
    void SetFontId(int16_t id) { fontId_ = id; }
    int16_t FontId() const { return fontId_; }
    void SetTransferMode(uint8_t mode) { mode_ = mode; }
    uint8_t TransferMode() const { return mode_; }
    // The weight of the destination in blended drawing (0.5 by default).
    void SetOpacity(float opacity) { opacity_ = opacity; }
    float Opacity() const { return opacity_; }
    void SetDrawingEnabled(bool on) { enabled_ = on; }
    bool DrawingEnabled() const { return enabled_; }

    // --- drawing --------------------------------------------------------------------------------

    void SetPixel(int32_t x, int32_t y, int32_t index);
    // A line from the pen, both ends included; the pen then moves by (dx, dy).
    void LineTo(int32_t dx, int32_t dy);
    void LineToPoint(int32_t x, int32_t y) { LineTo(x - pen_.x, y - pen_.y); }
    void FrameRect(const base::Rect& rect);
    void FillRect(const base::Rect& rect);
    // Pixels other than 0 are complemented; pixels 0 take the text colour.
    void InvertRect(const base::Rect& rect);

    // A null palette means the base palette (8-bit pictures only).
    void DrawPixMap(const PixMap& picture, const base::Rect& srcRect, const base::Rect& dstRect,
                    int mode, const resources::DLPalette* palette = nullptr,
                    const BlitOption* option = nullptr);
    void DrawPixMapAt(int32_t x, int32_t y, const PixMap& picture,
                      const resources::DLPalette* palette = nullptr, int mode = 1,
                      const BlitOption* option = nullptr);
    void DrawPixMapNamed(const PixMap& picture, const base::Rect& srcRect,
                         const base::Rect& dstRect, int mode, const char* paletteName,
                         const BlitOption* option = nullptr);
    // Repeats the picture from the bounds' top-left, inside rect only, in the transfer mode.
    void TilePixMap(const base::Rect& rect, const PixMap& picture, const char* paletteName);
    // The picture's mask in the pen colour (visible runs) and the fill colour (hidden runs).
    void DrawMask(const PixMap& picture, const base::Rect& srcRect, const base::Rect& dstRect,
                  int mode, const resources::DLPalette* palette = nullptr);
    // A 1-bit picture of dstRect's size (rows packed without padding, most significant bit
    // first) in the pen colour (1-bits) and the fill colour (0-bits). Nothing is drawn when
    // `bits` is shorter than the picture.
    void DrawBits(std::span<const uint8_t> bits, const base::Rect& dstRect, int mode);
    // Moves the pixels inside rect by (dx, dy), fills what the move uncovers with 0 and returns
    // its bounding area in `exposed` (empty when nothing moved).
    void Scroll(const base::Rect& rect, int32_t dx, int32_t dy, base::Rect& exposed);
    // Composes another canvas's surface onto this one: 0 copy, 1 keyed (value 0 transparent),
    // 2 and 3 DrawPixMap of the source's surface, with the source's opacity when it is ≤ 1.
    void CopyBits(const Canvas& source, const base::Rect& srcRect, const base::Rect& dstRect,
                  int mode);

    // --- light and shadow (canvas_light.cpp) -----------------------------------------------------

    // Scales every pixel of dstRect by the light level under it: the map's byte at srcRect's
    // top-left plus the pixel's offset from dstRect's top-left. Pixels whose byte lies outside
    // the map are left alone.
    void LightBlit(const LightMap& lightMap, const base::Rect& srcRect, const base::Rect& dstRect);
    // The sprite's silhouette (srcRect ∩ the picture, by its mask) squashed vertically by step
    // and sheared by slant, its foot at dstRect's bottom + offset, darkened to
    // ⌊darkness × 32 + 0.5⌋ / 32. Only mode 3 draws, and only with step > 0 and all three reals
    // finite.
    void DrawShadow(const PixMap& picture, const base::Rect& srcRect, const base::Rect& dstRect,
                    int mode, float darkness, int32_t offset, float step, float slant);

    // The 16-bit colour of a base-palette index (0 outside 0 … 255).
    static uint16_t BaseColor(int32_t index);

    // --- text (canvas_text.cpp) -----------------------------------------------------------------
    // The pen is an x and a baseline y; lines are 12 pixels. Text background modes 0 and 2 first
    // fill the text's box with the fill colour (copied or blended); the glyphs are then drawn
    // keyed (modes 0, 1), keyed blend (2, 3) or not at all (other modes), outline and shadow
    // pixels in the text background colour.

    // Draws at the pen; the pen advances by the text's width.
    void DrawText(std::u16string_view text);
    // Wraps the text into lines that fit the rectangle's width (character by character, at least
    // one a line; a space starting a later line is skipped), the first baseline at rect.top + 12,
    // while the baseline stays within rect.bottom. Lines are placed by the alignment. The pen is
    // left where it was.
    void DrawTextInRect(std::u16string_view text, const base::Rect& rect);
    // The number of lines DrawTextInRect makes of the text at this width, however tall.
    int32_t TextLineCount(std::u16string_view text, int32_t width);
    int32_t TextWidth(std::u16string_view text);
    // How many leading characters fit the width.
    size_t FittingCount(std::u16string_view text, int32_t width);
    // The length without trailing tabs, carriage returns and spaces.
    static size_t TrimmedLength(std::u16string_view text);
    // When the text is wider than the width, cuts it so that it and the suffix fit and appends
    // the suffix.
    void FitWithSuffix(std::u16string& buffer, std::u16string_view suffix, int32_t width);
    // Line placement: 0 left, 1 centred, 2 right; other values left.
    void SetAlignment(uint8_t alignment) { alignment_ = alignment; }
    uint8_t Alignment() const { return alignment_; }

  private:
    uint16_t* pixelAt(int32_t x, int32_t y);
    void straightSpan(bool horizontal, int32_t at, int32_t from, int32_t to, uint16_t c);
    void slantedLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint16_t c);
    void drawPicture(const PixMap& picture, const base::Rect& srcRect, const base::Rect& dstRect,
                     int mode, const resources::DLPalette* palette, const BlitOption* option,
                     uint32_t weight);

    base::Rect clip_;
    uint16_t* surface_ = nullptr;
    bool ownsSurface_ = false;
    int32_t surfacePitch_ = 0;
    base::Rect surfaceRect_;
    PixMap picture_;
    base::Rect bounds_;
    base::Rect userClip_;
    base::Point origin_;
    base::Point pen_;
    uint8_t mode_ = 0;
    bool enabled_ = true;
    int32_t penColor_ = kDefaultPen;
    int32_t fillColor_ = kDefaultFill;
    int32_t textColor_ = kDefaultPen;
    int32_t textBackColor_ = kDefaultFill;
    uint8_t textBackMode_ = 1;
    int16_t fontId_ = 0;
    float opacity_ = 0.5f;
    uint8_t alignment_ = 0;
};

}  // namespace vs::graphics
