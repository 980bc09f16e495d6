#include "screens/screen_art.h"

#include "app/error.h"
#include "base/log.h"
#include "resources/image_cache.h"
#include "resources/string_table.h"

namespace vs::screens {

bool DrawSpriteFrame(graphics::Canvas& canvas, std::string_view file, int index,
                     const char* palette, base::Point at, int mode) {
    auto* cache = resources::ImageCache::instance();
    if (!cache) return false;
    resources::PixMap picture;
    try {
        if (!cache->GetFrame(file, index, picture)) return false;
    } catch (const app::Error&) {
        VS_DEBUG("%.*s: not drawn", int(file.size()), file.data());
        return false;
    }
    const base::Rect dst = picture.bounds().offset(at.x, at.y);
    canvas.DrawPixMapNamed(picture, picture.bounds(), dst, mode, palette);
    return true;
}

int SpriteFrameCount(std::string_view file) {
    auto* cache = resources::ImageCache::instance();
    if (!cache) return 0;
    try {
        return cache->GetFrameCount(file);
    } catch (const app::Error&) {
        return 0;
    }
}

std::u16string Text(int id) {
    auto* strings = resources::StringTable::instance();
    return strings ? strings->Get(id) : std::u16string();
}

}  // namespace vs::screens
