#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "base/rect.h"
#include "graphics/canvas.h"
#include "resources/epf_file.h"
#include "world/appearance.h"
#include "world/figure_draw.h"
#include "world/figure_tables.h"

namespace vs::world {

// Where a pose takes its head from.
enum class HeadFile : uint8_t { Head, Emotion, Ghost };

// What ComputePose says a figure looks like: the parts from back to front and their frames
// (-1 for a part that is not drawn).
struct Pose {
    DrawOrderWord order{0, 0, 0, 0};
    int64_t head = -1, body = -1, weapon = -1, shield = -1;
    HeadFile headFile = HeadFile::Head;
    WeaponClass weaponClass = WeaponClass::None;
    bool operator==(const Pose&) const = default;
};

// The composed player characters: head, body, weapon and shield parts, each a frame of its own
// sprite file with its own palette and tint, drawn in the order DRWORDER.TBL gives per pose.
//
// Positions: a figure stands on the foot line, frame y = 12, the bottom edge of its cell when
// frame (0, 0) is the cell's centre. GetFullBounds is the rectangle that places it: callers draw
// at its top-left, invalidate it and hit-test with it.
class HumanImageLib {
  public:
    static constexpr int kPoseCount = 25;  // 0 … 24

    // Loads the frame sets and tables from the mounted archives (the image cache must exist);
    // a missing file throws FileError.
    HumanImageLib();
    ~HumanImageLib();
    HumanImageLib(const HumanImageLib&) = delete;
    HumanImageLib& operator=(const HumanImageLib&) = delete;
    static HumanImageLib* instance() { return instance_; }

    Pose ComputePose(const Appearance& a, int direction, int motion, int frame,
                     int walkFrame) const;

    void DrawCharacter(graphics::Canvas& target, base::Point position, const Appearance& a,
                       int direction, int motion, int frame, int walkFrame,
                       int32_t silhouetteColour = 0, graphics::LightMap* lightMap = nullptr,
                       float brightness = 0.0f, bool headOnly = false) const;
    // Head and body only, moved by (12, 12), and the shadow's rectangle.
    void GetBounds(const Appearance& a, int direction, int motion, int frame, int walkFrame,
                   base::Rect& bounds, base::Rect& shadowBounds) const;
    // Every part that is drawn.
    void GetFullBounds(const Appearance& a, int direction, int motion, int frame, int walkFrame,
                       base::Rect& bounds, base::Rect& shadowBounds) const;
    void DrawShadow(graphics::Canvas& target, base::Point position, const Appearance& a,
                    int direction, int motion, int frame, int walkFrame) const;

    // The world view's shadow values, set with the daylight.
    void SetShadowStyle(const ShadowStyle& style) { shadow_ = style; }
    const ShadowStyle& GetShadowStyle() const { return shadow_; }

    int headCount() const { return headCount_; }
    int emotionCount() const { return emotionCount_; }
    const PartTable& headTable() const { return tables_[kHeadTable]; }

  private:
    enum PartKind { kBody, kHead, kWeapon, kShield, kParts };
    enum TableKind { kHeadTable, kBodyTable, kSwordTable, kSpearTable, kFanTable, kShieldTable };
    struct Figure;

    // The parts a pose draws; `looks` adds their palettes and tints.
    void compose(const Appearance& a, int direction, int motion, int frame, int walkFrame,
                 Figure& out, bool looks) const;
    void bounds(const Appearance& a, int direction, int motion, int frame, int walkFrame, bool full,
                base::Rect& bounds, base::Rect& shadowBounds) const;
    const PartEntry& weaponEntry(WeaponClass c, int32_t entry) const;

    static inline HumanImageLib* instance_ = nullptr;
    std::array<std::unique_ptr<resources::FrameSet>, 6> sets_;  // by TableKind
    std::array<PartTable, 6> tables_;
    DrawOrderTable drawOrder_;
    int headCount_ = 0;
    int emotionCount_ = 0;
    ShadowStyle shadow_;
};

}  // namespace vs::world
