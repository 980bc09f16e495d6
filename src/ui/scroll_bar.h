#pragma once
#include <cstdint>

#include "ui/control.h"

namespace vs::ui {

// Arrows at both ends, a thumb and the track between. Vertical unless wider than tall. The
// value runs 0 … maximum; the player steps it by 1 (arrows), 10 (track) or drags the thumb, and
// every change is reported to the host with the part that made it (8 for keys).
//
// Frames of "SCRL001.EPF": 0 to 3 up, up pressed, down, down pressed; 4 to 7 the same for left
// and right; 8, 9 the thumb; 10, 11 the track (both orientations).
class ScrollBar : public Control {
  public:
    static constexpr const char* kFile = "SCRL001.EPF";
    static constexpr const char* kPalette = "SCRL001.PAL";
    static constexpr uint32_t kFirstRepeatMs = 200;
    static constexpr uint32_t kRepeatMs = 30;
    static constexpr int32_t kStepTimer = 0x53746570;  // "Step"

    ScrollBar(const base::Rect& rect, int32_t maximum);

    void Paint() override;
    void Disable() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

    bool IsHorizontal() const { return Marker() != 0; }
    // Clamped to 0 … maximum; false when nothing changed. Reports nothing.
    bool SetValue(int32_t value);
    // Keeps the value inside the new range.
    void SetRange(int32_t maximum);

    // Geometry along the long axis.
    int32_t Length() const;
    int32_t ArrowSize() const;
    int32_t ThumbStart() const;
    bool IsTracking() const { return trackPart_ != kPartNone; }

  private:
    uint8_t partAt(int32_t along) const;
    int32_t along(int32_t x, int32_t y) const { return IsHorizontal() ? x : y; }
    void step();
    void change(int32_t value, int32_t code);
    void stopTracking();

    uint8_t trackPart_ = kPartNone;
    int32_t grab_ = 0;
    base::Point pointer_;
};

}  // namespace vs::ui
