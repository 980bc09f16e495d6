#pragma once
#include <cstdint>

#include "base/rect.h"
#include "graphics/canvas.h"
#include "net/wire_records.h"

namespace vs::screens {

// A figure walking in place: the walking frame (of four) advances every 200 ms, and every 16
// steps the figure turns to the next of the four directions.
class WalkInPlace {
  public:
    static constexpr uint32_t kStepMs = 200;
    static constexpr int kWalkFrames = 4;
    static constexpr int kStepsPerTurn = 16;

    void Step() { ++step_; }
    int walkFrame() const { return step_ % kWalkFrames; }
    int direction() const { return (step_ / kStepsPerTurn) % 4; }
    int steps() const { return step_; }

  private:
    int step_ = 0;
};

// The look of a new character's preview: the style's head on the plain body, nothing in hand.
net::Appearance PreviewAppearance(int style, bool female);
// Draws the figure standing on the bottom of the box (12 pixels above it), centred across it.
void DrawPreview(graphics::Canvas& canvas, const base::Rect& box, int style, bool female,
                 const WalkInPlace& walk);

}  // namespace vs::screens
