#pragma once
#include <cstdint>

#include "ui/control.h"

namespace vs::ui {

// A bar from the left edge for (value − minimum) of (maximum − minimum), on a dark rest.
class Gauge : public Control {
  public:
    static constexpr int32_t kBar = 1, kRest = 143, kOutline = 128;
    Gauge(const base::Rect& rect, int32_t minimum, int32_t maximum);
    void Paint() override;
    // Clamped to minimum … maximum.
    void SetValue(int32_t value);
    void SetRange(int32_t minimum, int32_t maximum);
    // The filled width for the current value.
    int32_t FilledWidth() const;
};

}  // namespace vs::ui
