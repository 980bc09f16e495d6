#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/rect.h"

// The cells of the current map, its file in "Maps", the area checksum and the walking rule. No
// pane here: the development server keeps its maps with the same code.
namespace vs::world {

struct MapCell {
    uint16_t tile = 0;    // 0: no ground, not enterable
    uint16_t flags = 0;   // bit 0: blocked
    uint16_t object = 0;  // static object, 0 for none
    bool operator==(const MapCell&) const = default;
};

enum class Passage { Open, Blocked, Occupied };

// What walking needs beyond the cells.
struct WalkContext {
    std::span<const uint8_t> blocking;  // one byte per static object number (SOBJ.TBL)
    bool dead = false;                  // the walker is dead: everything inside the map is open
    // A creature on the cell: nothing, or whether its name lets others through (ends in "GM").
    std::function<bool(int32_t x, int32_t y, bool& passable)> creatureAt;
};

// Direction offsets: 0 up, 1 right, 2 down, 3 left.
inline constexpr int32_t kStepDx[4] = {0, 1, 0, -1};
inline constexpr int32_t kStepDy[4] = {-1, 0, 1, 0};

class MapGrid {
  public:
    static constexpr uint64_t kMaxCells = uint64_t(1) << 24;
    static constexpr size_t kCellBytes = 6;
    static constexpr const char* kMagic = "CMAP";

    uint16_t number() const { return number_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // True from Load (or a zero grid) until Store.
    bool hasCells() const { return !cells_.empty(); }
    bool inside(int32_t x, int32_t y) const {
        return hasCells() && x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    const MapCell* cell(int32_t x, int32_t y) const;
    MapCell* cell(int32_t x, int32_t y);
    std::span<const MapCell> cells() const { return cells_; }

    struct EnterResult {
        bool numberChanged = false;  // the old map was stored and the new one loaded
        bool resized = false;        // same number, another size: a fresh zero grid
    };
    // A map entered by the server's word. A new number (or `forced`) stores the old map and
    // loads the new one; a new size alone starts a zero grid; the same map keeps its cells. A
    // map beyond kMaxCells gets no cells.
    EnterResult Enter(const std::filesystem::path& mapsDir, uint16_t number, uint16_t width,
                      uint16_t height, bool forced);
    // Zero cells unless the file holds this map's size; the stream fills what it reaches.
    void Load(const std::filesystem::path& mapsDir);
    // Writes the cells (replacing the old file only once the new one is whole) and frees them,
    // even when writing fails. False when nothing was written.
    bool Store(const std::filesystem::path& mapsDir);
    // Takes cells as they are (the server's own maps, tests).
    void Assign(uint16_t number, int32_t width, int32_t height, std::vector<MapCell> cells);

    // Server tiles for a rectangle, row by row; cells outside the map are skipped. Bit 0 of the
    // flags is taken over, the others stay. `changed` hears every cell whose tile changed.
    void ApplyServerTiles(int32_t x, int32_t y, int32_t w, int32_t h,
                          std::span<const MapCell> tiles,
                          const std::function<void(int32_t, int32_t)>& changed = {});

    base::Rect Clip(const base::Rect& r) const;
    // CRC-16 (0x1021) over tile, flags and object of every cell of r clipped to the map.
    uint16_t Checksum(const base::Rect& r) const;

    Passage Passable(int32_t x, int32_t y, int32_t direction, const WalkContext& context) const;

  private:
    uint16_t number_ = 0;
    int32_t width_ = 0, height_ = 0;
    std::vector<MapCell> cells_;
};

// "VL%06d.cmp" in the maps directory.
std::filesystem::path mapFilePath(const std::filesystem::path& mapsDir, uint16_t number);
// The whole file for a grid: "CMAP", width, height, compressed cells. Empty when compression
// fails.
std::vector<uint8_t> encodeMapFile(int32_t width, int32_t height, std::span<const MapCell> cells);
// The cells a file gives a map of this size: zero cells unless the header matches, then what
// the stream inflates to, never more than width × height cells.
std::vector<MapCell> decodeMapFile(std::span<const uint8_t> file, int32_t width, int32_t height);

// The view (origin ox, oy; 17 × 15) widened by one cell, and the strip a one-cell scroll in a
// direction brings next to it (before clipping).
base::Rect widenedView(int32_t ox, int32_t oy);
base::Rect scrollStrip(int32_t ox, int32_t oy, int32_t direction);

// A creature whose name ends in "GM" (any case) does not stop walkers.
bool walksThrough(std::u16string_view name);

// The 256-entry table of the checksum.
uint16_t crc16Step(uint16_t c, uint16_t word);

}  // namespace vs::world
