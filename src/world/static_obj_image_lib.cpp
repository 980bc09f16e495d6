#include "world/static_obj_image_lib.h"

#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Point;
using base::Rect;

StaticObjImageLib::StaticObjImageLib() {
    frames_ = loadFrames("TILEC.EPF");
    palettes_ = tables::parsePaletteTable(readEntry("TILEC.TBL"));
    objects_ = tables::parseObjectTable(readEntry("SOBJ.TBL"));
    instance_ = this;
}

StaticObjImageLib::~StaticObjImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

const tables::ObjectInfo* StaticObjImageLib::GetObjectInfo(int32_t number) const {
    return number > 0 && number < count() ? &objects_[size_t(number)] : nullptr;
}

void StaticObjImageLib::GetObjectRect(int32_t number, Rect& rect) const {
    if (const auto* o = GetObjectInfo(number))
        rect = {0, kTile - kTile * o->height(), kTile, kTile};
}

uint16_t StaticObjImageLib::pieceEntry(int32_t frame) const {
    return frame >= 0 && size_t(frame) < palettes_.size() ? palettes_[size_t(frame)] : 0;
}

void StaticObjImageLib::DrawObject(graphics::Canvas& target, Point topLeft, int32_t number,
                                   graphics::LightMap* lightMap, float brightness,
                                   const SeeThrough* seeThrough, int lightOp) const {
    const auto* o = GetObjectInfo(number);
    if (!o || libraryDamaged()) return;
    const bool animating = paletteAnimating();
    const int32_t n = o->height();
    const bool seen =
        seeThrough && seeThrough->mask && !seeThrough->mask->empty() &&
        Rect::fromSize(topLeft.x, topLeft.y, kTile, kTile * n).intersects(seeThrough->body);
    for (int32_t j = 0; j < n; ++j) {
        const int32_t piece = o->pieces[size_t(n - 1 - j)];
        if (piece == 0 || !frames_ || piece >= frames_->frameCount()) continue;
        const uint16_t e = pieceEntry(piece);
        if (animating && !(e & tables::kCycles)) continue;
        const resources::PixMap frame = frameOf(frames_.get(), piece);
        if (!frame.hasPixels()) continue;
        const Point at{topLeft.x, topLeft.y + j * kTile};
        const Rect dst = frame.bounds().offset(at.x, at.y);
        const auto* palette = libraryPalette(kPaletteType, e & tables::kPaletteBits);
        graphics::BlitOption option;
        bool masked = false;
        if (seen && dst.intersects(seeThrough->see)) {
            // The mask's byte for the piece's top-left, the mask's centre on the player.
            const graphics::LightMap& m = *seeThrough->mask;
            const Point c = m.Centre();
            const int64_t mx = int64_t(dst.left) - seeThrough->centre.x + c.x,
                          my = int64_t(dst.top) - seeThrough->centre.y + c.y;
            if (mx >= 0 && my >= 0 && mx + dst.width() <= m.width() &&
                my + dst.height() <= m.height()) {
                option.kind = graphics::BlitOption::kSeeThrough;
                option.mask = m.row(int32_t(my)) + mx;
                option.maskWidth = m.width() - int32_t(mx);
                option.maskHeight = m.height() - int32_t(my);
                option.maskStride = m.stride();
                masked = true;
            }
        }
        target.DrawPixMap(frame, frame.bounds(), dst, 1, palette, masked ? &option : nullptr);
        if (lightMap) addShapeLight(*lightMap, target, frame, at, brightness, lightOp);
    }
}

bool StaticObjImageLib::opaque(const tables::ObjectInfo& o, int64_t x, int64_t y) const {
    const int32_t n = o.height();
    if (x < 0 || y < 0 || y >= int64_t(n) * kTile || x >= kTile || !frames_) return false;
    const int32_t piece = o.pieces[size_t(n - 1 - y / kTile)];
    const resources::PixMap frame = frameOf(frames_.get(), piece);
    const Point p{int32_t(x), int32_t(y % kTile)};
    if (piece == 0 || !frame.hasPixels() || !frame.bounds().contains(p)) return false;
    const Rect& b = frame.bounds();
    return frame.pixels8()[size_t(p.y - b.top) * size_t(frame.rowWidth()) + size_t(p.x - b.left)] !=
           0;
}

bool StaticObjImageLib::HitObject(int32_t number, int32_t x, int32_t y) const {
    const auto* o = GetObjectInfo(number);
    if (!o) return false;
    const Point around[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const Point d : around) {
        if (opaque(*o, int64_t(x) + d.x, int64_t(y) + d.y)) return true;
    }
    return false;
}

}  // namespace vs::world
