#include "graphics/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/memory_man.h"
#include "graphics/blend.h"
#include "graphics/blitters.h"
#include "resources/palette.h"
#include "resources/palette_manager.h"

namespace vs::graphics {

using base::Rect;
using resources::DLPalette;

namespace {

// Colour indices from this one on are shifted by a tint.
constexpr int kFirstTintedIndex = 48;

const DLPalette* basePalette() {
    static const DLPalette kBlack;
    const auto* pm = resources::PaletteManager::instance();
    return pm ? pm->GetBasePalette() : &kBlack;
}

const DLPalette* namedPalette(const char* name) {
    auto* pm = resources::PaletteManager::instance();
    return pm ? pm->GetPaletteByName(name) : basePalette();
}

bool paletteAnimating() {
    const auto* pm = resources::PaletteManager::instance();
    return pm && pm->IsAnimating();
}

}  // namespace

Canvas::~Canvas() {
    ReleaseSurface();
}

uint16_t Canvas::BaseColor(int32_t index) {
    return basePalette()->GetColor(index);
}

// --- surface -------------------------------------------------------------------------------------

void Canvas::ReleaseSurface() {
    picture_.Free();
    if (ownsSurface_) app::MemoryMan::release(surface_);
    surface_ = nullptr;
    ownsSurface_ = false;
    surfacePitch_ = 0;
    surfaceRect_ = {};
}

void Canvas::SetBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    const Rect oldSurface = surfaceRect_;
    uint16_t* old = surface_;
    const int32_t oldPitch = surfacePitch_;
    const bool ownedOld = ownsSurface_;
    surface_ = nullptr;
    ownsSurface_ = false;
    picture_.Free();
    bounds_ = bounds;
    surfaceRect_ = {};
    surfacePitch_ = 0;
    if (!bounds.empty()) {
        const int32_t w = bounds.width(), h = bounds.height();
        surface_ =
            static_cast<uint16_t*>(app::MemoryMan::allocateZeroed(size_t(w) * size_t(h) * 2));
        ownsSurface_ = true;
        surfacePitch_ = w;
        surfaceRect_ = Rect::fromSize(origin_.x, origin_.y, w, h);
        // Keep what both sizes share, pixel for pixel from the surface's top-left.
        if (old) {
            const int32_t cw = std::min(w, oldSurface.width()),
                          ch = std::min(h, oldSurface.height());
            for (int32_t y = 0; y < ch; ++y) {
                std::memcpy(surface_ + size_t(y) * size_t(w), old + size_t(y) * size_t(oldPitch),
                            size_t(cw) * 2);
            }
        }
    }
    if (ownedOld) app::MemoryMan::release(old);
}

void Canvas::AttachSurface(uint16_t* pixels, int32_t pitch, const Rect& surfaceRect) {
    ReleaseSurface();
    if (!pixels || pitch < surfaceRect.width() || surfaceRect.empty()) return;
    surface_ = pixels;
    surfacePitch_ = pitch;
    surfaceRect_ = surfaceRect;
    origin_ = surfaceRect.topLeft();
    if (bounds_.empty()) bounds_ = surfaceRect;
}

void Canvas::SetOrigin(base::Point origin) {
    origin_ = origin;
    if (surface_)
        surfaceRect_ =
            Rect::fromSize(origin.x, origin.y, surfaceRect_.width(), surfaceRect_.height());
}

bool Canvas::Lock() {
    if (!surface_) {
        picture_.ClearPixels();
        return false;
    }
    picture_.ViewPixels16(surface_, surfacePitch_, surfaceRect_);
    return true;
}

void Canvas::Unlock() {
    picture_.ClearPixels();
}

Rect Canvas::GetClipRect() const {
    Rect r = clip_;
    if (!userClip_.empty()) r = r.intersect(userClip_);
    return r.intersect(picture_.bounds());
}

uint16_t* Canvas::pixelAt(int32_t x, int32_t y) {
    const Rect& b = picture_.bounds();
    return picture_.pixels16() + size_t(y - b.top) * size_t(picture_.rowWidth()) +
           size_t(x - b.left);
}

// --- pen drawing ---------------------------------------------------------------------------------

void Canvas::SetPixel(int32_t x, int32_t y, int32_t index) {
    if (!enabled_ || mode_ > 3 || !IsLocked()) return;
    if (!GetClipRect().contains(base::Point{x, y})) return;
    if ((mode_ == 1 || mode_ == 3) && index == 0) return;
    const uint16_t c = BaseColor(index);
    const BlitFunctions& f = blitFunctions();
    if (mode_ <= 1) {
        *pixelAt(x, y) = c;
    } else {
        f.fillBlend(pixelAt(x, y), 1, 1, 1, c, kHalfWeight);
    }
}

// A horizontal span on row `at` or a vertical one in column `at`, from `from` to `to`
// inclusive, by the transfer mode.
void Canvas::straightSpan(bool horizontal, int32_t at, int32_t from, int32_t to, uint16_t c) {
    const Rect clip = GetClipRect();
    const int32_t lo = horizontal ? clip.top : clip.left,
                  hi = horizontal ? clip.bottom : clip.right;
    if (at < lo || at >= hi) return;
    const int32_t a = std::max(from, horizontal ? clip.left : clip.top);
    const int32_t b = std::min(to, (horizontal ? clip.right : clip.bottom) - 1);
    if (a > b) return;
    const BlitFunctions& f = blitFunctions();
    const int32_t stride = picture_.rowWidth(), n = b - a + 1;
    const int32_t w = horizontal ? n : 1, h = horizontal ? 1 : n;
    uint16_t* p = horizontal ? pixelAt(a, at) : pixelAt(at, a);
    if (mode_ <= 1) {
        f.fill(p, stride, w, h, c);
    } else if (mode_ == 2 || horizontal) {
        f.fillBlend(p, stride, w, h, c, kHalfWeight);
    } else {
        // Keyed blend down a column touches only destination pixels that are not 0.
        for (int32_t i = 0; i < n; ++i, p += stride) {
            if (*p != 0) f.fillBlend(p, 1, 1, 1, c, kHalfWeight);
        }
    }
}

// Clips the segment to the clip rectangle with the parametric (Liang-Barsky) method and draws
// what remains with Bresenham's algorithm in the plain colour.
void Canvas::slantedLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint16_t c) {
    const Rect clip = GetClipRect();
    if (clip.empty()) return;
    const double dx = double(x1 - x0), dy = double(y1 - y0);
    double t0 = 0.0, t1 = 1.0;
    auto edge = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    const double l = clip.left, r = clip.right - 1, t = clip.top, b = clip.bottom - 1;
    if (!edge(-dx, double(x0) - l) || !edge(dx, r - double(x0)) || !edge(-dy, double(y0) - t) ||
        !edge(dy, b - double(y0))) {
        return;
    }
    auto inside = [](double v, double lo, double hi) {
        return int64_t(std::clamp(std::round(v), lo, hi));
    };
    const int64_t ax = inside(double(x0) + t0 * dx, l, r), ay = inside(double(y0) + t0 * dy, t, b);
    const int64_t bx = inside(double(x0) + t1 * dx, l, r), by = inside(double(y0) + t1 * dy, t, b);

    const int64_t sx = bx >= ax ? 1 : -1, sy = by >= ay ? 1 : -1;
    const int64_t ex = std::llabs(bx - ax), ey = std::llabs(by - ay);
    int64_t x = ax, y = ay;
    if (ex >= ey) {
        int64_t err = ex / 2;
        for (int64_t i = 0; i <= ex; ++i, x += sx) {
            *pixelAt(int32_t(x), int32_t(y)) = c;
            err -= ey;
            if (err < 0) y += sy, err += ex;
        }
    } else {
        int64_t err = ey / 2;
        for (int64_t i = 0; i <= ey; ++i, y += sy) {
            *pixelAt(int32_t(x), int32_t(y)) = c;
            err -= ex;
            if (err < 0) x += sx, err += ey;
        }
    }
}

void Canvas::LineTo(int32_t dx, int32_t dy) {
    const base::Point from = pen_;
    // The pen moves whether or not anything is drawn.
    Move(dx, dy);
    if (!enabled_ || mode_ > 3 || !IsLocked()) return;
    const uint16_t c = BaseColor(penColor_);
    const int64_t x0 = from.x, y0 = from.y, x1 = x0 + dx, y1 = y0 + dy;
    if (dx != 0 && dy != 0) {
        slantedLine(x0, y0, x1, y1, c);
        return;
    }
    if ((mode_ == 1 || mode_ == 3) && penColor_ == 0) return;
    auto clamp32 = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    if (dy == 0) {
        straightSpan(true, from.y, clamp32(std::min(x0, x1)), clamp32(std::max(x0, x1)), c);
    } else {
        straightSpan(false, from.x, clamp32(std::min(y0, y1)), clamp32(std::max(y0, y1)), c);
    }
}

void Canvas::FrameRect(const Rect& rect) {
    if (!enabled_ || rect.empty()) return;
    const base::Point saved = pen_;
    MoveTo(rect.left, rect.top);
    LineToPoint(rect.right - 1, rect.top);
    LineToPoint(rect.right - 1, rect.bottom - 1);
    LineToPoint(rect.left, rect.bottom - 1);
    LineToPoint(rect.left, rect.top);
    pen_ = saved;
}

void Canvas::FillRect(const Rect& rect) {
    if (!enabled_ || mode_ > 3 || !IsLocked()) return;
    const Rect r = rect.intersect(GetClipRect());
    if (r.empty()) return;
    if ((mode_ == 1 || mode_ == 3) && penColor_ == 0) return;
    const uint16_t c = BaseColor(penColor_);
    const BlitFunctions& f = blitFunctions();
    if (mode_ <= 1) {
        f.fill(pixelAt(r.left, r.top), picture_.rowWidth(), r.width(), r.height(), c);
    } else {
        f.fillBlend(pixelAt(r.left, r.top), picture_.rowWidth(), r.width(), r.height(), c,
                    uint16_t(blendWeight(opacity_)));
    }
}

void Canvas::InvertRect(const Rect& rect) {
    if (!enabled_ || !IsLocked()) return;
    const Rect r = rect.intersect(GetClipRect());
    if (r.empty()) return;
    blitFunctions().invert(pixelAt(r.left, r.top), picture_.rowWidth(), r.width(), r.height(),
                           BaseColor(textColor_));
}

// --- pictures ------------------------------------------------------------------------------------

namespace {

// The destination area a blit may touch: dstRect within the clip, and within the part of the
// picture that srcRect selects. Sets the matching source point.
Rect blitArea(const PixMap& picture, const Rect& srcRect, const Rect& dstRect, const Rect& clip,
              base::Point& src) {
    const Rect source = srcRect.intersect(picture.bounds());
    const Rect area = dstRect.intersect(clip).intersect(
        source.offset(dstRect.left - srcRect.left, dstRect.top - srcRect.top));
    src = {srcRect.left + (area.left - dstRect.left), srcRect.top + (area.top - dstRect.top)};
    return area;
}

const uint8_t* checkedMask(const PixMap& picture) {
    if (!picture.mask()) return nullptr;
    if (picture.maskChecked()) return picture.mask();
    return resources::mask::check(picture.mask(), picture.maskSize(), picture.width(),
                                  picture.height())
               ? picture.mask()
               : nullptr;
}

}  // namespace

void Canvas::drawPicture(const PixMap& picture, const Rect& srcRect, const Rect& dstRect, int mode,
                         const DLPalette* palette, const BlitOption* option, uint32_t weight) {
    if (!enabled_ || mode < 0 || mode > 3 || !picture.hasPixels() || !IsLocked()) return;

    SpriteJob job;
    static constexpr SpriteOp kModeOps[] = {SpriteOp::Copy, SpriteOp::Key, SpriteOp::Blend,
                                            SpriteOp::KeyBlend};
    job.op = kModeOps[mode];
    job.weight = uint16_t(weight);
    int32_t tint = 0;
    if (mode == 1 && option) {
        switch (option->kind) {
            case BlitOption::kPlain:
                break;
            case BlitOption::kTranslucent:
            case BlitOption::kTranslucentTinted:
                job.op = SpriteOp::KeyBlend;
                job.weight = uint16_t(blendWeight(option->factor));
                if (option->kind == BlitOption::kTranslucentTinted) tint = option->tint;
                break;
            case BlitOption::kTinted:
                tint = option->tint;
                break;
            case BlitOption::kHalfSizeTinted:
                tint = option->tint;
                [[fallthrough]];
            case BlitOption::kHalfSize:
                job.op = SpriteOp::HalfSize;
                break;
            case BlitOption::kSeeThrough:
                // The weight map must cover the source rectangle with rows that do not overlap
                // (a stride below the width would read past a map of stride × height bytes).
                if (!option->mask || option->maskWidth < srcRect.width() ||
                    option->maskHeight < srcRect.height() ||
                    option->maskStride < option->maskWidth || option->maskStride <= 0) {
                    return;
                }
                job.op = SpriteOp::SeeThrough;
                break;
            default:
                return;
        }
    }

    uint16_t tinted[DLPalette::kColors];
    if (picture.is8Bit()) {
        if (!palette) palette = basePalette();
        // During palette animation only pictures whose colours cycle are drawn again.
        if (paletteAnimating() && palette->ranges().empty()) return;
        job.colours = palette->colors();
        if (tint != 0) {
            for (int i = 0; i < int(DLPalette::kColors); ++i) {
                tinted[i] = job.colours[i >= kFirstTintedIndex ? (i + tint * 8) & 0xFF : i];
            }
            job.colours = tinted;
        }
    }

    base::Point src;
    const Rect area = blitArea(picture, srcRect, dstRect, GetClipRect(), src);
    if (area.empty()) return;

    const Rect& pb = picture.bounds();
    const size_t srcOffset =
        size_t(src.y - pb.top) * size_t(picture.rowWidth()) + size_t(src.x - pb.left);
    job.dst = pixelAt(area.left, area.top);
    job.dstStride = picture_.rowWidth();
    job.width = area.width();
    job.height = area.height();
    job.srcStride = picture.rowWidth();
    if (picture.is8Bit()) {
        job.src8 = picture.pixels8() + srcOffset;
    } else {
        job.src16 = picture.pixels16() + srcOffset;
    }
    if (mode == 1 || mode == 3) {
        job.mask = checkedMask(picture);
        job.maskSize = picture.maskSize();
        job.maskRow = src.y - pb.top;
        job.maskColumn = src.x - pb.left;
        job.maskWidth = pb.width();
    }
    if (job.op == SpriteOp::SeeThrough) {
        job.weightStride = option->maskStride;
        job.weights = option->mask + size_t(src.y - srcRect.top) * size_t(option->maskStride) +
                      size_t(src.x - srcRect.left);
    }
    blitFunctions().sprite(job);
}

void Canvas::DrawPixMap(const PixMap& picture, const Rect& srcRect, const Rect& dstRect, int mode,
                        const DLPalette* palette, const BlitOption* option) {
    drawPicture(picture, srcRect, dstRect, mode, palette, option, blendWeight(opacity_));
}

void Canvas::DrawPixMapAt(int32_t x, int32_t y, const PixMap& picture, const DLPalette* palette,
                          int mode, const BlitOption* option) {
    DrawPixMap(picture, picture.bounds(), picture.bounds().offset(x, y), mode, palette, option);
}

void Canvas::DrawPixMapNamed(const PixMap& picture, const Rect& srcRect, const Rect& dstRect,
                             int mode, const char* paletteName, const BlitOption* option) {
    if (!enabled_) return;
    DrawPixMap(picture, srcRect, dstRect, mode, namedPalette(paletteName), option);
}

void Canvas::TilePixMap(const Rect& rect, const PixMap& picture, const char* paletteName) {
    if (!enabled_ || !IsLocked() || !picture.hasPixels()) return;
    const int64_t w = picture.width(), h = picture.height();
    // An empty picture would never cover anything.
    if (w <= 0 || h <= 0) return;
    const Rect target = rect.intersect(GetClipRect());
    if (target.empty()) return;
    const DLPalette* palette = namedPalette(paletteName);
    const Rect saved = userClip_;
    userClip_ = rect;
    const Rect& pb = picture.bounds();
    // Tiles sit at multiples of the picture's size from the bounds' top-left; only those that
    // reach into the target can draw anything.
    auto first = [](int64_t origin, int64_t edge, int64_t step) {
        return edge <= origin ? origin : origin + (edge - origin) / step * step;
    };
    for (int64_t y = first(bounds_.top, target.top - pb.bottom + 1, h);
         y < bounds_.bottom && y + pb.top < target.bottom; y += h) {
        for (int64_t x = first(bounds_.left, target.left - pb.right + 1, w);
             x < bounds_.right && x + pb.left < target.right; x += w) {
            DrawPixMapAt(int32_t(x), int32_t(y), picture, palette, mode_);
        }
    }
    userClip_ = saved;
}

void Canvas::DrawMask(const PixMap& picture, const Rect& srcRect, const Rect& dstRect, int mode,
                      const DLPalette* palette) {
    if (!enabled_ || mode < 0 || mode > 3 || !IsLocked()) return;
    const uint8_t* mask = checkedMask(picture);
    if (!mask) return;
    base::Point src;
    const Rect area = blitArea(picture, srcRect, dstRect, GetClipRect(), src);
    if (area.empty()) return;
    if (!palette) palette = basePalette();
    TwoColourJob job;
    job.dst = pixelAt(area.left, area.top);
    job.dstStride = picture_.rowWidth();
    job.width = area.width();
    job.height = area.height();
    job.on = palette->GetColor(penColor_);
    job.off = palette->GetColor(fillColor_);
    job.drawOff = mode == 0 || mode == 2;
    job.blend = mode >= 2;
    job.mask = mask;
    job.maskSize = picture.maskSize();
    job.maskRow = src.y - picture.bounds().top;
    job.maskColumn = src.x - picture.bounds().left;
    blitFunctions().drawMask(job);
}

void Canvas::DrawBits(std::span<const uint8_t> bits, const Rect& dstRect, int mode) {
    if (!enabled_ || mode < 0 || mode > 3 || !IsLocked() || dstRect.empty()) return;
    const int64_t need = (int64_t(dstRect.width()) * dstRect.height() + 7) / 8;
    if (int64_t(bits.size()) < need) return;
    const Rect area = dstRect.intersect(GetClipRect());
    if (area.empty()) return;
    TwoColourJob job;
    job.dst = pixelAt(area.left, area.top);
    job.dstStride = picture_.rowWidth();
    job.width = area.width();
    job.height = area.height();
    job.on = BaseColor(penColor_);
    job.off = BaseColor(fillColor_);
    job.drawOff = mode == 0 || mode == 2;
    job.blend = mode >= 2;
    job.bits = bits.data();
    job.bitsWidth = dstRect.width();
    job.firstBit = int64_t(area.top - dstRect.top) * dstRect.width() + (area.left - dstRect.left);
    blitFunctions().drawBits(job);
}

void Canvas::Scroll(const Rect& rect, int32_t dx, int32_t dy, Rect& exposed) {
    exposed = {};
    if (!enabled_ || !IsLocked()) return;
    const Rect r = rect.intersect(GetClipRect());
    if (r.empty() || (dx == 0 && dy == 0)) return;
    const BlitFunctions& f = blitFunctions();
    const int32_t stride = picture_.rowWidth();
    if (std::abs(int64_t(dx)) >= r.width() || std::abs(int64_t(dy)) >= r.height()) {
        f.fill(pixelAt(r.left, r.top), stride, r.width(), r.height(), 0);
        exposed = r;
        return;
    }
    // Rows move in the order that reads every row before it is overwritten.
    const Rect to = r.intersect(r.offset(dx, dy));
    const size_t rowBytes = size_t(to.width()) * 2;
    if (dy > 0) {
        for (int32_t y = to.bottom - 1; y >= to.top; --y)
            std::memmove(pixelAt(to.left, y), pixelAt(to.left - dx, y - dy), rowBytes);
    } else {
        for (int32_t y = to.top; y < to.bottom; ++y)
            std::memmove(pixelAt(to.left, y), pixelAt(to.left - dx, y - dy), rowBytes);
    }
    Rect rows, columns;
    if (dy > 0) rows = {r.left, r.top, r.right, to.top};
    if (dy < 0) rows = {r.left, to.bottom, r.right, r.bottom};
    if (dx > 0) columns = {r.left, r.top, to.left, r.bottom};
    if (dx < 0) columns = {to.right, r.top, r.right, r.bottom};
    for (const Rect& s : {rows, columns}) {
        if (s.empty()) continue;
        f.fill(pixelAt(s.left, s.top), stride, s.width(), s.height(), 0);
        exposed = exposed.unite(s);
    }
}

void Canvas::CopyBits(const Canvas& source, const Rect& srcRect, const Rect& dstRect, int mode) {
    if (!enabled_ || mode < 0 || mode > 3 || !source.surface_ || &source == this) return;
    const bool wasLocked = IsLocked();
    if (!wasLocked && !Lock()) return;
    PixMap view;
    view.SetView16(source.surface_, source.surfacePitch_, source.surfaceRect_);
    uint32_t weight = blendWeight(opacity_);
    if (mode >= 2) {
        // The software modes draw the source's picture, mask included, at the source's opacity.
        if (source.picture_.mask()) {
            view.SetMaskView(source.picture_.mask(), source.picture_.maskSize(),
                             source.picture_.maskChecked());
        }
        if (source.opacity_ <= 1.0f) weight = blendWeight(source.opacity_);
    }
    drawPicture(view, srcRect, dstRect, mode, nullptr, nullptr, weight);
    if (!wasLocked) Unlock();
}

}  // namespace vs::graphics
