#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/rect.h"
#include "resources/epf_file.h"
#include "world/image_tables.h"

namespace vs::graphics {
class Canvas;
class LightMap;
}  // namespace vs::graphics

namespace vs::world {

// Effect animations: frames "EFFECT.EPF" with palettes from "EFFECT.FRM" (palette type 12, never
// darkened), effects from "EFFECT.TBL". A damaged EFFECT.TBL sets the library damage flag and
// stops start-up with "Damaged file : EFFECT.TBL".
class EffectImageLib {
  public:
    static constexpr int kPaletteType = 12;
    static constexpr int32_t kCentre = 12;

    EffectImageLib();
    ~EffectImageLib();
    EffectImageLib(const EffectImageLib&) = delete;
    EffectImageLib& operator=(const EffectImageLib&) = delete;
    static EffectImageLib* instance() { return instance_; }

    int32_t count() const { return int32_t(effects_.size()); }
    // By 1-based effect number; 0 or beyond the table gives an empty effect.
    tables::Effect GetEffect(int32_t number) const;
    // The frame's rectangle moved by (12, 12); empty for a negative or invalid frame.
    void GetEffectFrameRect(int32_t frame, base::Rect& rect) const;
    void DrawFrame(graphics::Canvas& target, const base::Rect& rect, int32_t frame,
                   float translucency, graphics::LightMap* lightMap, float brightness,
                   int lightOp = 1) const;

  private:
    std::unique_ptr<resources::FrameSet> frames_;
    std::vector<uint32_t> palettes_;
    std::vector<tables::Effect> effects_;
    static inline EffectImageLib* instance_ = nullptr;
};

}  // namespace vs::world
