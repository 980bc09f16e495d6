#include "world/light_image_lib.h"

#include <cstdint>

#include "base/log.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;
using graphics::LightMap;

LightImageLib::LightImageLib() {
    auto t = tables::parseLightTable(readEntry("LIGHT.TBL"));
    if (t.damaged) VS_WARN("LIGHT.TBL has damaged values");
    images_.resize(t.lights.size());
    for (size_t i = 0; i < t.lights.size(); ++i) {
        const tables::LightInfo& l = t.lights[i];
        if (l.rx < 1 || l.ry < 1 || l.rx > kMaxRadius || l.ry > kMaxRadius) continue;
        images_[i].Create(2 * l.rx + 1, 2 * l.ry + 1);
        images_[i].EllipseGradient(l.rx, l.ry, l.r0, l.rx, l.ry, graphics::lightLevel(l.intensity),
                                   0, l.exponent, LightMap::kSet);
    }
    instance_ = this;
}

LightImageLib::~LightImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

const LightMap* LightImageLib::image(int32_t light) const {
    if (light < 0 || light >= count() || images_[size_t(light)].empty()) return nullptr;
    return &images_[size_t(light)];
}

void LightImageLib::GetLightRect(int32_t light, Rect& rect) const {
    const LightMap* m = image(light);
    rect = m ? Rect{-(m->width() / 2), -(m->height() / 2), m->width() / 2 + 1, m->height() / 2 + 1}
             : Rect{};
}

void LightImageLib::place(LightMap& map, int32_t x, int32_t y, int32_t light, int op) const {
    const LightMap* m = image(light);
    if (!m) return;
    Rect r;
    GetLightRect(light, r);
    const int64_t left = int64_t(x) + r.left, top = int64_t(y) + r.top;
    if (left < INT32_MIN || top < INT32_MIN || int64_t(x) + r.right > INT32_MAX ||
        int64_t(y) + r.bottom > INT32_MAX)
        return;  // far off every map
    const Rect at{int32_t(left), int32_t(top), x + r.right, y + r.bottom};
    map.Blend(&at, m, {0, 0}, op);
}

void LightImageLib::AddLight(LightMap& map, int32_t x, int32_t y, int32_t light) const {
    place(map, x, y, light, LightMap::kAdd);
}

void LightImageLib::SubtractLight(LightMap& map, int32_t x, int32_t y, int32_t light) const {
    place(map, x, y, light, LightMap::kSubtract);
}

}  // namespace vs::world
