#pragma once
#include "ui/pane.h"

namespace vs::ui {

class Layer;

// The full-screen pane that stays in the overlay layer for the whole run, hidden until a screen
// needs to cover everything beneath the top layer (wait screens, notices). While shown it is
// black with the colour given, keyed so that colour 0 lets the picture beneath through.
class OverlayPane final : public Pane {
  public:
    explicit OverlayPane(Layer* layer);
    ~OverlayPane() override;
    static OverlayPane* instance() { return instance_; }

    // The fill it shows, as a base-palette index (0: see-through).
    void SetFillIndex(int32_t index);
    void Paint() override;

  private:
    static inline OverlayPane* instance_ = nullptr;
    int32_t fill_ = 0;
};

}  // namespace vs::ui
