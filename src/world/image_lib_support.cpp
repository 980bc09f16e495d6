#include "world/image_lib_support.h"

#include "resources/dat_file.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"

namespace vs::world {

namespace {
bool gDamaged = false;
}  // namespace

bool libraryDamaged() {
    return gDamaged;
}

void setLibraryDamaged(bool damaged) {
    gDamaged = damaged;
}

bool paletteAnimating() {
    const auto* pm = resources::PaletteManager::instance();
    return pm && pm->IsAnimating();
}

const resources::DLPalette* libraryPalette(int type, int number) {
    const auto* pm = resources::PaletteManager::instance();
    return pm ? pm->GetPalette(type, number, 0) : nullptr;
}

std::vector<uint8_t> readEntry(std::string_view name) {
    resources::DATFile f(name);
    const auto view = f.View();
    return {view.begin(), view.end()};
}

std::unique_ptr<resources::FrameSet> loadFrames(std::string_view name) {
    auto* cache = resources::ImageCache::instance();
    if (cache) return cache->LoadFrameSet(name);
    resources::ImageCache own(0);
    return own.LoadFrameSet(name);
}

resources::PixMap frameOf(const resources::FrameSet* set, int index) {
    resources::PixMap p;
    if (set) resources::epf::view(*set, index, p);
    return p;
}

void addShapeLight(graphics::LightMap& map, const graphics::Canvas& target,
                   const resources::PixMap& frame, base::Point at, float brightness, int op) {
    const base::Point origin = target.SurfaceRect().topLeft();
    const base::Rect clip = target.GetClipRect().offset(-origin.x, -origin.y);
    graphics::LightMap view = map.View(clip);
    if (view.empty()) return;
    const base::Rect& b = frame.bounds();
    const base::Point dst{b.left + at.x - origin.x - clip.left, b.top + at.y - origin.y - clip.top};
    view.AddShape(frame, b, dst, graphics::lightLevel(brightness), op);
}

}  // namespace vs::world
