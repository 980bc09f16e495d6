#pragma once
#include <cstdint>

#include "base/fourcc.h"
#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {

class Layer;

// One ornament of the frame around the map view: a frame of "FRMPART.EPF" at its own size,
// placed by its top-left corner. It closes itself when the main frame says the world is left.
class FramePartPane final : public Pane {
  public:
    static constexpr const char* kFile = "FRMPART.EPF";
    static constexpr uint32_t kLeaveNotice = base::fourcc("goog");
    static constexpr int kCount = 13;

    FramePartPane(int frame, base::Point at);
    void Paint() override;
    void OnNotice(base::LObject* sender, uint32_t notice) override;
    int Frame() const { return frame_; }

    // The thirteen ornaments in `layer`, kept by the close list, listening to `mainFrame`.
    static void OpenAll(Layer* layer, base::LObject* mainFrame);
    // Where ornament i (0 … 12) goes, and which frame it shows.
    static void Placement(int i, int& frame, base::Point& at);

  private:
    int frame_;
    base::Point at_;
};

}  // namespace vs::ui
