#include <algorithm>
#include <cmath>

#include "graphics/canvas.h"
#include "graphics/light_blitters.h"
#include "graphics/light_map.h"

namespace vs::graphics {

using base::Rect;

namespace {

// Start columns far outside any surface still clip correctly once kept to this range.
constexpr double kFarAway = 1e12;

}  // namespace

void Canvas::LightBlit(const LightMap& lightMap, const Rect& srcRect, const Rect& dstRect) {
    if (!enabled_ || !IsLocked() || lightMap.empty()) return;
    const int64_t dx = int64_t(dstRect.left) - srcRect.left,
                  dy = int64_t(dstRect.top) - srcRect.top;
    const Rect clip = dstRect.intersect(GetClipRect());
    const Rect& mb = lightMap.bounds();
    const int64_t left = std::max<int64_t>(clip.left, mb.left + dx),
                  top = std::max<int64_t>(clip.top, mb.top + dy),
                  right = std::min<int64_t>(clip.right, mb.right + dx),
                  bottom = std::min<int64_t>(clip.bottom, mb.bottom + dy);
    if (right <= left || bottom <= top) return;
    lightFunctions().lightBlit(pixelAt(int32_t(left), int32_t(top)), picture_.rowWidth(),
                               lightMap.row(int32_t(top - dy)) + (left - dx), lightMap.stride(),
                               int32_t(right - left), int32_t(bottom - top));
}

void Canvas::DrawShadow(const PixMap& picture, const Rect& srcRect, const Rect& dstRect, int mode,
                        float darkness, int32_t offset, float step, float slant) {
    if (!enabled_ || mode != 3 || !IsLocked() || !picture.mask()) return;
    if (!(step > 0.0f) || !std::isfinite(step) || !std::isfinite(slant) || !std::isfinite(darkness))
        return;
    const Rect& pb = picture.bounds();
    if (!picture.maskChecked() &&
        !resources::mask::check(picture.mask(), picture.maskSize(), pb.width(), pb.height()))
        return;
    const Rect src = srcRect.intersect(pb);
    const Rect clip = GetClipRect();
    if (src.empty() || clip.empty()) return;

    const double rowsReal = std::floor((double(dstRect.bottom) + offset - dstRect.top) / step);
    if (!(std::fabs(rowsReal) < 1e15)) return;
    const auto rows = int64_t(rowsReal);
    const int64_t y0 = int64_t(dstRect.bottom) + offset - rows - 2;
    const double x0 = double(rows) * slant + dstRect.left;
    const uint8_t level = lightLevel(darkness);
    const auto darken = lightFunctions().darken;

    // Picture columns of the source; row k's first source column lands on its start x.
    const int32_t c0 = src.left - pb.left, c1 = src.right - pb.left;
    resources::mask::Walker atRow(picture.mask(), picture.maskSize());
    atRow.skipRows(src.top - pb.top);
    int32_t current = 0;
    // Only the rows inside the clip are visited, so a tiny step cannot make a long loop.
    for (int64_t k = std::max<int64_t>(0, clip.top - y0), end = clip.bottom - y0; k < end; ++k) {
        const double m = std::floor(double(k) * step + 0.5);
        if (!(m < src.height())) break;
        const auto maskRow = int32_t(m);
        atRow.skipRows(maskRow - current);
        current = maskRow;
        const auto x = int64_t(std::clamp(std::floor(x0 - double(k) * slant), -kFarAway, kFarAway));
        const int64_t a = std::max<int64_t>(c0, clip.left - x + c0),
                      b = std::min<int64_t>(c1, clip.right - x + c0);
        if (a >= b) continue;
        const int32_t surfaceLeft = picture_.bounds().left;
        uint16_t* line = pixelAt(surfaceLeft, int32_t(y0 + k));
        resources::mask::Walker walker = atRow;
        walker.row(int32_t(a), int32_t(b), [&](int32_t from, int32_t to) {
            darken(line + (x + from - c0 - surfaceLeft), to - from, level);
        });
    }
}

}  // namespace vs::graphics
