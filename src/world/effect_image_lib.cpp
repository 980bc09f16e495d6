#include "world/effect_image_lib.h"

#include "app/error.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;

EffectImageLib::EffectImageLib() {
    frames_ = loadFrames("EFFECT.EPF");
    palettes_ = tables::parseFramePalettes(readEntry("EFFECT.FRM"));
    auto effects = tables::parseEffectTable(readEntry("EFFECT.TBL"));
    if (!effects) {
        // A world without ground would look like success; name the file to repair instead.
        setLibraryDamaged(true);
        throw app::MyError(u"Damaged file : EFFECT.TBL");
    }
    effects_ = std::move(*effects);
    instance_ = this;
}

EffectImageLib::~EffectImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

tables::Effect EffectImageLib::GetEffect(int32_t number) const {
    return number >= 1 && number <= count() ? effects_[size_t(number - 1)] : tables::Effect{};
}

void EffectImageLib::GetEffectFrameRect(int32_t frame, Rect& rect) const {
    const resources::PixMap p = frameOf(frames_.get(), frame);
    rect = p.hasPixels() ? p.bounds().offset(kCentre, kCentre) : Rect{};
}

void EffectImageLib::DrawFrame(graphics::Canvas& target, const Rect& rect, int32_t frame,
                               float translucency, graphics::LightMap* lightMap, float brightness,
                               int lightOp) const {
    if (libraryDamaged()) return;
    const resources::PixMap p = frameOf(frames_.get(), frame);
    if (!p.hasPixels()) return;
    const int32_t palette =
        frame >= 0 && size_t(frame) < palettes_.size() ? int32_t(palettes_[size_t(frame)]) : -1;
    graphics::BlitOption option;
    option.kind = graphics::BlitOption::kTranslucent;
    option.factor = translucency;
    const base::Point at{rect.left + kCentre, rect.top + kCentre};
    target.DrawPixMapAt(at.x, at.y, p, libraryPalette(kPaletteType, palette), 1,
                        translucency > 0.0f ? &option : nullptr);
    if (lightMap) addShapeLight(*lightMap, target, p, at, brightness, lightOp);
}

}  // namespace vs::world
