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

// Items on the ground and in the inventory: frames "ITEM.EPF" (centred on (0, 0)), records from
// "ITEM.TBL" (palette type 11). Item k travels on the wire as 0xC000 + k.
class ItemImageLib {
  public:
    static constexpr int kPaletteType = 11;
    static constexpr int32_t kCentre = 12;

    ItemImageLib();
    ~ItemImageLib();
    ItemImageLib(const ItemImageLib&) = delete;
    ItemImageLib& operator=(const ItemImageLib&) = delete;
    static ItemImageLib* instance() { return instance_; }

    static int32_t itemOf(int32_t wire) { return (wire + 0x4000) & 0xFFFF; }
    // The item's record; the default (palette 0, opaque, no light) beyond the table.
    tables::ItemInfo info(int32_t wire) const;
    // The frame's rectangle moved by (12, 12); an empty one at (12, 12) when invalid.
    void GetItemRect(int32_t wire, base::Rect& rect) const;
    // The frame centred on rect's top-left + (12, 12): translucent, tinted, both or plain.
    void DrawItem(graphics::Canvas& target, const base::Rect& rect, int32_t wire, int32_t tint,
                  graphics::LightMap* lightMap, float brightness, int lightOp = 1) const;
    // At half size (inventory).
    void DrawItemAlt(graphics::Canvas& target, const base::Rect& rect, int32_t wire,
                     int32_t tint) const;

  private:
    bool drawable(const tables::ItemInfo& item) const;

    std::unique_ptr<resources::FrameSet> frames_;
    std::vector<tables::ItemInfo> items_;
    static inline ItemImageLib* instance_ = nullptr;
};

}  // namespace vs::world
