#include "world/item_image_lib.h"

#include "base/log.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;
using graphics::BlitOption;

ItemImageLib::ItemImageLib() {
    frames_ = loadFrames("ITEM.EPF");
    auto t = tables::parseItemTable(readEntry("ITEM.TBL"));
    // Items are not vital: a damaged value keeps what it read.
    if (t.damaged) VS_WARN("ITEM.TBL has damaged values");
    items_ = std::move(t.items);
    instance_ = this;
}

ItemImageLib::~ItemImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

tables::ItemInfo ItemImageLib::info(int32_t wire) const {
    const int32_t k = itemOf(wire);
    return size_t(k) < items_.size() ? items_[size_t(k)] : tables::ItemInfo{};
}

void ItemImageLib::GetItemRect(int32_t wire, Rect& rect) const {
    const resources::PixMap frame = frameOf(frames_.get(), itemOf(wire));
    rect = frame.hasPixels() ? frame.bounds().offset(kCentre, kCentre)
                             : Rect{kCentre, kCentre, kCentre, kCentre};
}

bool ItemImageLib::drawable(const tables::ItemInfo& item) const {
    return !libraryDamaged() && (!paletteAnimating() || item.cycles);
}

void ItemImageLib::DrawItem(graphics::Canvas& target, const Rect& rect, int32_t wire, int32_t tint,
                            graphics::LightMap* lightMap, float brightness, int lightOp) const {
    const tables::ItemInfo item = info(wire);
    if (!drawable(item)) return;
    const resources::PixMap frame = frameOf(frames_.get(), itemOf(wire));
    if (!frame.hasPixels()) return;
    BlitOption option;
    const bool translucent = item.translucency > 0.0f;
    option.kind = translucent ? (tint ? BlitOption::kTranslucentTinted : BlitOption::kTranslucent)
                              : (tint ? BlitOption::kTinted : BlitOption::kPlain);
    option.factor = item.translucency;
    option.tint = tint;
    const base::Point at{rect.left + kCentre, rect.top + kCentre};
    target.DrawPixMapAt(at.x, at.y, frame, libraryPalette(kPaletteType, item.palette), 1,
                        option.kind == BlitOption::kPlain ? nullptr : &option);
    if (lightMap) addShapeLight(*lightMap, target, frame, at, brightness, lightOp);
}

void ItemImageLib::DrawItemAlt(graphics::Canvas& target, const Rect& rect, int32_t wire,
                               int32_t tint) const {
    const tables::ItemInfo item = info(wire);
    if (!drawable(item)) return;
    const resources::PixMap frame = frameOf(frames_.get(), itemOf(wire));
    if (!frame.hasPixels()) return;
    BlitOption option;
    option.kind = tint ? BlitOption::kHalfSizeTinted : BlitOption::kHalfSize;
    option.tint = tint;
    // Half size keeps the frame's centre on the cell's centre.
    const Rect& b = frame.bounds();
    const Rect dst = Rect::fromSize(rect.left + kCentre + b.left / 2,
                                    rect.top + kCentre + b.top / 2, b.width(), b.height());
    target.DrawPixMap(frame, b, dst, 1, libraryPalette(kPaletteType, item.palette), &option);
}

}  // namespace vs::world
