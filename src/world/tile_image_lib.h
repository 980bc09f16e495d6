#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/rect.h"
#include "resources/epf_file.h"

namespace vs::graphics {
class Canvas;
}

namespace vs::world {

// The ground tiles: frames "TILE.EPF", palettes by tile from "TILE.TBL" (palette type 0; bit 15
// marks a palette that cycles).
class TileImageLib {
  public:
    static constexpr int kPaletteType = 0;
    static constexpr int32_t kFillIndex = 128;

    // From the mounted archives; a missing file throws app::FileError.
    TileImageLib();
    ~TileImageLib();
    TileImageLib(const TileImageLib&) = delete;
    TileImageLib& operator=(const TileImageLib&) = delete;
    static TileImageLib* instance() { return instance_; }

    // Tile 0, and (unless the palette animates) numbers with bit 15 set or without a frame, fill
    // rect with colour 128; a tile is drawn at rect's top-left. While the palette animates, only
    // tiles whose palette cycles are drawn.
    void DrawTile(graphics::Canvas& target, const base::Rect& rect, int32_t tile) const;

    int frameCount() const { return frames_ ? frames_->frameCount() : 0; }
    // The TILE.TBL entry of a tile; 0 (palette 0, not cycling) beyond the table.
    uint16_t entry(int32_t tile) const;

  private:
    std::unique_ptr<resources::FrameSet> frames_;
    std::vector<uint16_t> table_;
    static inline TileImageLib* instance_ = nullptr;
};

}  // namespace vs::world
