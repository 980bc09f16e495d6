#include "charsheet/sheet.h"

#include <algorithm>

#include "graphics/pixel_format.h"
#include "net/wire_fields.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"

namespace vs::charsheet {

using base::Point;
using base::Rect;

namespace {

constexpr int kBoxW = 40, kBoxH = 60;
constexpr Point kCellInBox{8, 32};

world::Appearance parse(const std::vector<uint8_t>& wire) {
    net::WireReader in(wire);
    world::Appearance a;
    world::Appearance::fields(in, a);
    return a;
}

}  // namespace

world::Appearance appearance(const mkdata::demo::FigureLook& l) {
    return parse({0, l.gender, l.state, l.head, l.headTint, l.body, l.bodyColour,
                  uint8_t(l.weapon >> 8), uint8_t(l.weapon), l.weaponTint, l.shield, l.shieldTint});
}

world::Appearance creature(const mkdata::demo::CreatureLook& l) {
    return parse({1, 0, 0, uint8_t(l.image >> 8), uint8_t(l.image), l.colour});
}

void drawCharacter(graphics::Canvas& target, Point cell, const world::Appearance& a, int d,
                   int motion, int frame, int walk) {
    const auto* lib = world::HumanImageLib::instance();
    Rect bounds, shadow;
    lib->GetFullBounds(a, d, motion, frame, walk, bounds, shadow);
    const Point at = cell + bounds.topLeft();
    lib->DrawShadow(target, at, a, d, motion, frame, walk);
    lib->DrawCharacter(target, at, a, d, motion, frame, walk);
}

void drawCreature(graphics::Canvas& target, Point cell, const world::Appearance& a, int motion,
                  int frame) {
    const auto* lib = world::MonsterImageLib::instance();
    Rect bounds, shadow;
    lib->GetCreatureBounds(a, motion, frame, bounds, shadow);
    const Point at = cell + bounds.topLeft();
    lib->DrawCreatureShadow(target, at, a, motion, frame);
    lib->DrawCreature(target, at, a, motion, frame);
}

void drawGround(graphics::Canvas& target, const Rect& area) {
    resources::PixMap tile;
    auto* cache = resources::ImageCache::instance();
    if (cache) cache->GetFrame("TILE.EPF", 1, tile);
    if (!tile.hasPixels() || tile.bounds().empty()) {
        target.SetFillColor(54);  // a middle green of the base palette
        target.FillRect(area);
        return;
    }
    auto* palettes = resources::PaletteManager::instance();
    const resources::DLPalette* palette = palettes ? palettes->GetPalette(0, 0, 0) : nullptr;
    const Rect saved = target.UserClip();
    target.SetUserClip(area);
    const int w = tile.width(), h = tile.height();
    for (int y = area.top; y < area.bottom; y += h)
        for (int x = area.left; x < area.right; x += w)
            target.DrawPixMap(tile, tile.bounds(), Rect::fromSize(x, y, w, h), 0, palette);
    target.SetUserClip(saved);
}

void drawDemoSheet(graphics::Canvas& target) {
    using namespace mkdata::demo;
    const int columns = std::max(32, kCreatureMotions);
    const int rows = int(kFigures.size() + kCreatures.size());
    const Rect all{0, 0, columns * kBoxW, rows * kBoxH};
    target.SetBounds(all);
    target.SetClipArea(all);
    if (!target.Lock()) return;
    drawGround(target, all);
    auto box = [](int column, int row) { return Point{column * kBoxW, row * kBoxH} + kCellInBox; };
    int row = 0;
    for (const FigureLook& look : kFigures) {
        const world::Appearance a = appearance(look);
        int column = 0;
        for (int d = 0; d < 4; ++d)
            for (int w = 0; w < 4; ++w) drawCharacter(target, box(column++, row), a, d, 0, 0, w);
        for (int d = 0; d < 4; ++d)
            for (int f = 0; f < 2; ++f) drawCharacter(target, box(column++, row), a, d, 1, f, 0);
        for (int motion : {6, 4})
            for (int d = 0; d < 4; ++d)
                drawCharacter(target, box(column++, row), a, d, motion, 0, 0);
        ++row;
    }
    for (const CreatureLook& look : kCreatures) {
        const world::Appearance a = creature(look);
        for (int m = 0; m < kCreatureMotions; ++m) drawCreature(target, box(m, row), a, m, 0);
        ++row;
    }
}

std::vector<uint8_t> toRgb(const graphics::Canvas& canvas) {
    const resources::PixMap& p = canvas.Picture();
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(p.width()) * size_t(p.height()) * 3);
    const auto& fn = graphics::pixelFunctions();
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const uint32_t c = fn.toRgb(p.pixels16()[y * p.rowWidth() + x]);
            rgb.push_back(uint8_t(c >> 16)), rgb.push_back(uint8_t(c >> 8)),
                rgb.push_back(uint8_t(c));
        }
    }
    return rgb;
}

}  // namespace vs::charsheet
