#pragma once
#include <cstdint>
#include <memory>

#include "base/rect.h"
#include "graphics/canvas.h"
#include "resources/epf_file.h"
#include "world/appearance.h"
#include "world/figure_draw.h"
#include "world/figure_tables.h"

namespace vs::world {

// The single-image creatures: frames of MONSTER.EPF animated by MONSTER.DNA. Like characters,
// a creature is placed by its bounds: callers draw at their top-left.
class MonsterImageLib {
  public:
    static constexpr uint16_t kFirstImage = 0x8000;  // image numbers are 0x8000 + creature

    // Loads from the mounted archives; a missing file throws FileError.
    MonsterImageLib();
    ~MonsterImageLib();
    MonsterImageLib(const MonsterImageLib&) = delete;
    MonsterImageLib& operator=(const MonsterImageLib&) = delete;
    static MonsterImageLib* instance() { return instance_; }

    // The creature's motions for animation timing; the default creature beyond the table.
    const Creature& GetMotion(int64_t creature) const { return table_.motions(creature); }

    void DrawCreature(graphics::Canvas& target, base::Point position, const Appearance& a,
                      int motion, int frame, int32_t silhouetteColour = 0,
                      graphics::LightMap* lightMap = nullptr, float brightness = 0.0f) const;
    void GetCreatureBounds(const Appearance& a, int motion, int frame, base::Rect& bounds,
                           base::Rect& shadowBounds) const;
    void DrawCreatureShadow(graphics::Canvas& target, base::Point position, const Appearance& a,
                            int motion, int frame) const;

    void SetShadowStyle(const ShadowStyle& style) { shadow_ = style; }
    const CreatureTable& table() const { return table_; }

  private:
    struct Look;
    bool look(const Appearance& a, int motion, int frame, Look& out) const;
    // The shadow of a frame placed at `dst`, by how far it floats above the foot line.
    bool shadowCast(const Look& look, const base::Rect& dst, ShadowCast& out) const;

    static inline MonsterImageLib* instance_ = nullptr;
    std::unique_ptr<resources::FrameSet> frames_;
    CreatureTable table_;
    ShadowStyle shadow_;
};

}  // namespace vs::world
