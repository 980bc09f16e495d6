#include "world/scene_overlay_pane.h"

#include "base/byte_io.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"
#include "world/static_obj_image_lib.h"
#include "world/tile_image_lib.h"

namespace vs::world {

std::optional<std::vector<MapCell>> SceneOverlayPane::ParseScene(std::span<const uint8_t> bytes) {
    base::ByteReader r(bytes);
    if (!r.skip(kHeaderBytes) || !r.has(size_t(kColumns) * kRows * 6)) return std::nullopt;
    std::vector<MapCell> cells(size_t(kColumns) * kRows);
    for (MapCell& c : cells) {
        c.tile = r.u16le();
        c.flags = r.u16le();
        c.object = r.u16le();
    }
    return cells;
}

Appearance SceneOverlayPane::SceneCharacter(uint16_t value) {
    Appearance a;
    if (value >= 0x8000) {
        a.kind = Appearance::kCreature;
        a.image = value;
        return a;
    }
    a.kind = Appearance::kCharacter;
    a.head = uint8_t(value & 0xFF);
    a.body = uint8_t(value >> 8);
    a.weapon = 20000;  // unarmed
    a.shield = 255;
    return a;
}

SceneOverlayPane::SceneOverlayPane(std::vector<MapCell> cells, uint16_t character,
                                   uint8_t direction, uint8_t column, uint8_t row)
    : ui::Pane(kCopy),
      cells_(std::move(cells)),
      character_(SceneCharacter(character)),
      direction_(uint8_t(direction & 3)),
      column_(column),
      row_(row) {
    SetBounds({0, 0, kPlacement.width(), kPlacement.height()});
    Invalidate();
}

void SceneOverlayPane::Paint() {
    SetFillColor(TileImageLib::kFillIndex);
    FillRect(GetBounds());
    if (auto* tiles = TileImageLib::instance())
        for (int32_t y = 0; y < kRows; ++y)
            for (int32_t x = 0; x < kColumns; ++x)
                tiles->DrawTile(*this, base::Rect::fromSize(x * 24, y * 24, 24, 24),
                                cells_[size_t(y * kColumns + x)].tile);
    if (auto* statics = StaticObjImageLib::instance()) {
        for (int32_t y = 0; y < kRows; ++y) {
            for (int32_t x = 0; x < kColumns; ++x) {
                const uint16_t n = cells_[size_t(y * kColumns + x)].object;
                if (n == 0) continue;
                base::Rect r;
                statics->GetObjectRect(n, r);
                statics->DrawObject(*this, r.offset(x * 24, y * 24).topLeft(), n, nullptr, 0.0f,
                                    nullptr);
            }
        }
    }
    const base::Point centre{column_ * 24 + 12, row_ * 24 + 12};
    if (character_.kind == Appearance::kCreature) {
        if (auto* lib = MonsterImageLib::instance())
            lib->DrawCreature(*this, centre, character_, direction_ + 1, 0);
    } else if (auto* lib = HumanImageLib::instance()) {
        lib->DrawCharacter(*this, centre, character_, direction_, 0, 0, 0);
    }
}

bool SceneOverlayPane::OnMouse(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kLeftUp || e.kind == app::InputEvent::kRightUp) {
        Close();
        return true;
    }
    return false;
}

bool SceneOverlayPane::OnKey(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kKeyDown) {
        Close();
        return true;
    }
    return false;
}

}  // namespace vs::world
