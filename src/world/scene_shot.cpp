#include "world/scene_shot.h"

#include <algorithm>

#include "app/error.h"
#include "base/log.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "graphics/pixel_format.h"
#include "graphics/png_writer.h"
#include "world/effect_image_lib.h"
#include "world/image_lib_support.h"
#include "world/item_image_lib.h"
#include "world/light_image_lib.h"
#include "world/static_obj_image_lib.h"
#include "world/tile_image_lib.h"

namespace vs::world {

using base::Point;
using base::Rect;
using graphics::LightMap;

namespace {

// The frame an effect list shows in the picture: one a little way into it.
const tables::EffectFrame* stillFrame(const tables::EffectList& list) {
    if (list.frames.empty()) return nullptr;
    return &list.frames[std::min<size_t>(1, list.frames.size() - 1)];
}

}  // namespace

void drawScene(graphics::Canvas& canvas, const VillageGrid& grid, const SceneOptions& options) {
    const auto* tiles = TileImageLib::instance();
    const auto* objects = StaticObjImageLib::instance();
    const auto* items = ItemImageLib::instance();
    const auto* effects = EffectImageLib::instance();
    const auto* lights = LightImageLib::instance();
    const int32_t columns = std::min(kViewColumns, grid.width),
                  rows = std::min(kViewRows, grid.height);
    auto cellRect = [](int32_t x, int32_t y) {
        return Rect::fromSize(x * kCell, y * kCell, kCell, kCell);
    };
    const float brightness = options.night ? options.nightBrightness : 1.0f;
    LightMap light(kViewColumns * kCell, kViewRows * kCell);
    light.Fill(nullptr, graphics::lightLevel(brightness), LightMap::kSet);

    if (tiles) {
        for (int32_t y = 0; y < rows; ++y)
            for (int32_t x = 0; x < columns; ++x)
                tiles->DrawTile(canvas, cellRect(x, y), grid.at(x, y).tile);
    }
    // Cast shadows of everything taller than its cell, before anything stands on the ground.
    if (objects) {
        for (int32_t y = 0; y < rows; ++y) {
            for (int32_t x = 0; x < columns; ++x) {
                resources::PixMap whole;
                const auto* info = objects->GetObjectInfo(grid.at(x, y).object);
                if (!info || info->height() < 2 ||
                    !objects->ObjectPicture(grid.at(x, y).object, whole))
                    continue;
                Rect r;
                objects->GetObjectRect(grid.at(x, y).object, r);
                canvas.DrawShadow(whole, whole.bounds(), r.offset(x * kCell, y * kCell), 3,
                                  options.shadowDarkness, 0, options.shadowStep,
                                  options.shadowSlant);
            }
        }
    }
    // Row by row: effects behind, objects, items, effects in front.
    for (int32_t y = 0; y < rows; ++y) {
        for (int32_t pass = 0; pass < 4; ++pass) {
            for (int32_t x = 0; x < columns; ++x) {
                const GridCell& c = grid.at(x, y);
                const Rect cell = cellRect(x, y);
                if ((pass == 0 || pass == 3) && effects && c.effect) {
                    const tables::Effect e = effects->GetEffect(c.effect);
                    const auto* f = stillFrame(pass == 0 ? e.behind : e.front);
                    if (!f) continue;
                    effects->DrawFrame(canvas, cell, f->frame, f->translucency, &light, brightness,
                                       LightMap::kAddSaturating);
                    if (lights && f->light >= 0)
                        lights->AddLight(light, cell.left + kCell / 2, cell.top + kCell / 2,
                                         f->light);
                } else if (pass == 1 && objects && c.object) {
                    Rect r{0, 0, 0, 0};
                    objects->GetObjectRect(c.object, r);
                    objects->DrawObject(canvas, {cell.left, cell.top + r.top}, c.object, &light,
                                        brightness, nullptr, LightMap::kAddSaturating);
                } else if (pass == 2 && items && c.item) {
                    items->DrawItem(canvas, cell, c.item, 0, &light, brightness,
                                    LightMap::kAddSaturating);
                }
            }
        }
    }
    // Lamps, windows and torches.
    if (lights) {
        for (int32_t y = 0; y < rows; ++y) {
            for (int32_t x = 0; x < columns; ++x) {
                const GridCell& c = grid.at(x, y);
                const Point centre{x * kCell + kCell / 2, y * kCell + kCell / 2};
                if (const auto* info = objects ? objects->GetObjectInfo(c.object) : nullptr;
                    info && info->light >= 0)
                    lights->AddLight(light, centre.x, centre.y - info->lightHeight * kCell,
                                     info->light);
                if (items && c.item && items->info(c.item).light >= 0)
                    lights->AddLight(light, centre.x, centre.y, items->info(c.item).light);
            }
        }
    }
    if (options.night) canvas.LightBlit(light, light.bounds(), light.bounds());
}

bool saveSceneShot(const std::filesystem::path& file, const SceneOptions& options) {
    std::optional<VillageGrid> grid;
    try {
        grid = parseVillageGrid(readEntry(kVillageGridFile));
    } catch (const app::Error&) {
    }
    if (!grid) {
        VS_ERROR("scene shot: no usable %s", kVillageGridFile);
        return false;
    }
    graphics::Canvas canvas;
    const Rect all{0, 0, kViewColumns * kCell, kViewRows * kCell};
    canvas.SetBounds(all);
    canvas.SetClipArea(all);
    if (!canvas.Lock()) return false;
    drawScene(canvas, *grid, options);
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(all.width()) * size_t(all.height()) * 3);
    const uint16_t* px = canvas.Picture().pixels16();
    for (int32_t i = 0; i < all.width() * all.height(); ++i) {
        const uint32_t c = graphics::pixelFunctions().toRgb(px[i]);
        rgb.push_back(uint8_t(c >> 16)), rgb.push_back(uint8_t(c >> 8)), rgb.push_back(uint8_t(c));
    }
    canvas.Unlock();
    if (!graphics::writeFileBytes(file, graphics::encodePng(rgb, all.width(), all.height()))) {
        VS_ERROR("scene shot: cannot write %s", file.c_str());
        return false;
    }
    VS_INFO("scene shot: %s", file.c_str());
    return true;
}

}  // namespace vs::world
