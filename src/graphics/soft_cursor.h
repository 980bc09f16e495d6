#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "base/rect.h"
#include "graphics/surface.h"

namespace vs::platform {
class Screen;
}

namespace vs::graphics {

// One record of "CURSOR.TBL".
struct CursorShape {
    int16_t firstFrame = 0;
    int16_t frameCount = 1;
    int32_t hotY = 0;
    int32_t hotX = 0;
    int32_t height = 1;
    int32_t width = 1;
};

constexpr int kCursorTypeCount = 7;
constexpr size_t kCursorTableBytes = 140;
constexpr int kMaxCursorSide = 256;
using CursorTable = std::array<CursorShape, kCursorTypeCount>;

// The table, validated: exactly 140 bytes, every type with at least one frame and a frame size
// of 1 … 256 on each side. False (with the reason) otherwise.
bool ParseCursorTable(std::span<const uint8_t> bytes, CursorTable& out, std::string* why = nullptr);

// The animated mouse pointer drawn over the picture on the screen. `front` is the presented
// picture without the cursor; what lies under the cursor is saved from it and put back on erase.
class SoftCursor {
  public:
    static constexpr uint32_t kFrameIntervalMs = 85;

    // Reads "CURSOR.TBL", "CURSOR01.EPF" and "CURSOR01.PAL" from the archives. Throws FileError
    // when one is missing and MyError when the table is malformed.
    void Load();
    // The shapes as pictures: per type its frames side by side, value 0 transparent.
    void SetShapes(const CursorTable& table, std::array<Surface, kCursorTypeCount> frames);
    bool IsLoaded() const { return loaded_; }

    void Show(platform::Screen& screen, const Surface& front);
    void Hide(platform::Screen& screen);
    bool IsShown() const { return shown_; }
    void SetType(int type, platform::Screen& screen, const Surface& front);
    int Type() const { return type_; }
    int Frame() const { return frame_; }
    void Move(int32_t y, int32_t x);
    // Erase, move, draw: a pointer move while the cursor shows.
    void MoveShown(int32_t y, int32_t x, platform::Screen& screen, const Surface& front);
    // One animation step when more than 85 ms passed since the last.
    void Animate(uint32_t now, platform::Screen& screen, const Surface& front);
    void NextFrame();

    void Draw(platform::Screen& screen, const Surface& front);
    void Erase(platform::Screen& screen);
    // The screen was drawn over as a whole (a fade): the cursor is off it, and hidden.
    void Forget() { drawn_ = {}, shown_ = false; }
    // After a present put `front` on the screen there: draw the cursor again if it shows.
    void Refresh(const base::Rect& presented, platform::Screen& screen, const Surface& front);

    const base::Rect& Area() const { return rect_; }

  private:
    void place();
    CursorTable table_{};
    std::array<Surface, kCursorTypeCount> shapes_;
    Surface saveUnder_;
    Surface scratch_;
    bool loaded_ = false;
    bool shown_ = false;
    int type_ = 0;
    int frame_ = 0;
    int32_t pointerY_ = 240, pointerX_ = 320;
    base::Rect rect_;
    base::Rect drawn_;      // the part on the screen, saved in saveUnder_
    base::Point drawnCut_;  // what was cut off its left and top
    uint32_t lastFrame_ = 0;
};

}  // namespace vs::graphics
