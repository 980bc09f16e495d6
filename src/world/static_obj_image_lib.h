#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/rect.h"
#include "resources/epf_file.h"
#include "world/image_tables.h"

namespace vs::graphics {
class Canvas;
class LightMap;
}  // namespace vs::graphics

namespace vs::world {

// The player's see-through state for one redraw; the map view passes none when the option is
// off, there is no player or the map forbids it.
struct SeeThrough {
    const graphics::LightMap* mask = nullptr;  // destination weights; its centre lies on `centre`
    base::Point centre;                        // the player, in target coordinates
    base::Rect body;                           // objects meeting it are seen through
    base::Rect see;                            // pieces meeting it are drawn with the mask
};

// Static map objects several tiles tall: pieces are frames of "TILEC.EPF" with palettes from
// "TILEC.TBL" (palette type 2); the objects come from "SOBJ.TBL".
class StaticObjImageLib {
  public:
    static constexpr int kPaletteType = 2;
    static constexpr int32_t kTile = 24;

    StaticObjImageLib();
    ~StaticObjImageLib();
    StaticObjImageLib(const StaticObjImageLib&) = delete;
    StaticObjImageLib& operator=(const StaticObjImageLib&) = delete;
    static StaticObjImageLib* instance() { return instance_; }

    int32_t count() const { return int32_t(objects_.size()); }
    // (0, 24 − 24n, 24, 24) from the top-left of the object's cell; unchanged when invalid.
    void GetObjectRect(int32_t number, base::Rect& rect) const;
    // Null for 0 and numbers at or beyond the count.
    const tables::ObjectInfo* GetObjectInfo(int32_t number) const;
    // The pieces from the top one down, 24 pixels apart, from topLeft. With a light map (covering
    // the target's surface) each piece's shape is added to it with `lightOp`.
    void DrawObject(graphics::Canvas& target, base::Point topLeft, int32_t number,
                    graphics::LightMap* lightMap, float brightness, const SeeThrough* seeThrough,
                    int lightOp = 1) const;
    // Opaque at (x, y) or one of its four neighbours; origin at the top of the topmost piece.
    bool HitObject(int32_t number, int32_t x, int32_t y) const;

  private:
    bool opaque(const tables::ObjectInfo& o, int64_t x, int64_t y) const;
    uint16_t pieceEntry(int32_t frame) const;

    std::unique_ptr<resources::FrameSet> frames_;
    std::vector<uint16_t> palettes_;
    std::vector<tables::ObjectInfo> objects_;
    static inline StaticObjImageLib* instance_ = nullptr;
};

}  // namespace vs::world
