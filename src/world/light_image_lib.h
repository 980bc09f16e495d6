#pragma once
#include <cstdint>
#include <vector>

#include "base/rect.h"
#include "graphics/light_map.h"
#include "world/image_tables.h"

namespace vs::world {

// Lamps and glows from "LIGHT.TBL": each light with a valid size gets an image of
// (2·rx + 1) × (2·ry + 1) levels, made once, that AddLight and SubtractLight blend into a map.
class LightImageLib {
  public:
    // Larger radii give no image.
    static constexpr int32_t kMaxRadius = 1024;

    LightImageLib();
    ~LightImageLib();
    LightImageLib(const LightImageLib&) = delete;
    LightImageLib& operator=(const LightImageLib&) = delete;
    static LightImageLib* instance() { return instance_; }

    int32_t count() const { return int32_t(images_.size()); }
    // (−rx, −ry) to (rx + 1, ry + 1) around the light's centre, or an empty rectangle.
    void GetLightRect(int32_t light, base::Rect& rect) const;
    void AddLight(graphics::LightMap& map, int32_t x, int32_t y, int32_t light) const;
    void SubtractLight(graphics::LightMap& map, int32_t x, int32_t y, int32_t light) const;
    // Null without an image.
    const graphics::LightMap* image(int32_t light) const;

  private:
    void place(graphics::LightMap& map, int32_t x, int32_t y, int32_t light, int op) const;

    std::vector<graphics::LightMap> images_;
    static inline LightImageLib* instance_ = nullptr;
};

}  // namespace vs::world
