#pragma once
#include <cstdint>
#include <string>

#include "ui/control.h"

namespace vs::ui {

// One frame of a sprite file over the control's bounds, opaque, on black.
class Picture : public Control {
  public:
    Picture(const base::Rect& rect, std::string epf, int frame, std::string palette = "MARVU.PAL");
    void Paint() override;
    void SetFrame(int frame);
    int Frame() const { return frame_; }

  private:
    std::string epf_, palette_;
    int frame_;
};

}  // namespace vs::ui
