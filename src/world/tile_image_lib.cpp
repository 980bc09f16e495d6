#include "world/tile_image_lib.h"

#include "graphics/canvas.h"
#include "world/image_lib_support.h"
#include "world/image_tables.h"

namespace vs::world {

TileImageLib::TileImageLib() {
    frames_ = loadFrames("TILE.EPF");
    table_ = tables::parsePaletteTable(readEntry("TILE.TBL"));
    instance_ = this;
}

TileImageLib::~TileImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

uint16_t TileImageLib::entry(int32_t tile) const {
    return tile >= 0 && size_t(tile) < table_.size() ? table_[size_t(tile)] : 0;
}

void TileImageLib::DrawTile(graphics::Canvas& target, const base::Rect& rect, int32_t tile) const {
    if (libraryDamaged()) return;
    const bool animating = paletteAnimating();
    const bool valid = tile > 0 && (tile & tables::kCycles) == 0 && tile < frameCount();
    if (tile == 0 || (!valid && !animating)) {
        const int32_t pen = target.PenColor();
        target.SetPenColor(kFillIndex);
        target.FillRect(rect);
        target.SetPenColor(pen);
        return;
    }
    if (!valid) return;
    const uint16_t e = entry(tile);
    if (animating && !(e & tables::kCycles)) return;
    const resources::PixMap frame = frameOf(frames_.get(), tile);
    target.DrawPixMapAt(rect.left, rect.top, frame,
                        libraryPalette(kPaletteType, e & tables::kPaletteBits), 1);
}

}  // namespace vs::world
