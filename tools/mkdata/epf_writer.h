#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace vs::mkdata {

// An 8-bit frame for a sprite file: palette indices, 0 transparent, placed in the file's canvas.
struct SpriteFrame {
    SpriteFrame() = default;
    SpriteFrame(int left, int top, int width, int height, uint8_t fill = 0);

    int left = 0, top = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // width × height, row by row

    uint8_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Sets a pixel when (x, y) lies inside the frame.
    void put(int x, int y, uint8_t index) {
        if (x >= 0 && y >= 0 && x < width && y < height) at(x, y) = index;
    }
};

// Writes a sprite (EPF) file the way the loader reads it: the header, each frame's pixels
// followed by its mask (built by the same rules as PixMap::BuildMask), then the frame table.
class EpfWriter {
  public:
    EpfWriter(int canvasWidth, int canvasHeight)
        : canvasWidth_(canvasWidth), canvasHeight_(canvasHeight) {}

    EpfWriter& add(SpriteFrame frame);
    size_t frames() const { return frames_.size(); }
    std::vector<uint8_t> build() const;

  private:
    int canvasWidth_, canvasHeight_;
    std::vector<SpriteFrame> frames_;
};

// A table of 16-bit values after a 32-bit count, the layout of TILE.TBL and its kind.
std::vector<uint8_t> countedU16Table(std::span<const uint16_t> values);

}  // namespace vs::mkdata
