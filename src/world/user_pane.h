#pragma once
#include <array>
#include <cstdint>

#include "world/object_pane.h"

namespace vs::world {

// The player's own character: filed in the object store, owned by the map view. Input and
// walking come later; for now it keeps what the server says about the player.
class UserPane final : public CharacterObjectPane {
  public:
    UserPane() : CharacterObjectPane(0, 0, 0, 2, Appearance{}) {}
    void setId(uint32_t id) { id_ = id; }
    bool dead() const { return dead_; }
    void setDead(bool d) { dead_ = d; }
    const std::array<uint8_t, 4>& conditions() const { return conditions_; }
    void setConditions(const std::array<uint8_t, 4>& c) { conditions_ = c; }
    void placeAt(int32_t x, int32_t y) { x_ = x, y_ = y; }

  private:
    bool dead_ = false;
    std::array<uint8_t, 4> conditions_{};
};

}  // namespace vs::world
