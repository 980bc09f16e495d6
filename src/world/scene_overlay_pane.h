#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ui/pane.h"
#include "world/appearance.h"
#include "world/map_grid.h"

namespace vs::world {

// A fixed scene over the visible part of the map view: the ground and static objects of a
// "C%04d.MAP" picture and one character in it, drawn once. A button release or a key closes it.
class SceneOverlayPane final : public ui::Pane {
  public:
    static constexpr int32_t kColumns = 17, kRows = 15;
    static constexpr size_t kHeaderBytes = 8;
    static constexpr base::Rect kPlacement{24, 24, 24 + 408, 24 + 360};

    // Nothing when the picture is shorter than its cells.
    static std::optional<std::vector<MapCell>> ParseScene(std::span<const uint8_t> bytes);
    // The character of a scene value: 0x8000 and above a creature of that image, else a plain
    // figure with head = low byte, body = high byte, no weapon.
    static Appearance SceneCharacter(uint16_t value);

    SceneOverlayPane(std::vector<MapCell> cells, uint16_t character, uint8_t direction,
                     uint8_t column, uint8_t row);
    void Paint() override;
    bool OnMouse(const app::InputEvent& e) override;
    bool OnKey(const app::InputEvent& e) override;
    const std::vector<MapCell>& cells() const { return cells_; }
    const Appearance& character() const { return character_; }

  private:
    std::vector<MapCell> cells_;
    Appearance character_;
    uint8_t direction_, column_, row_;
};

}  // namespace vs::world
