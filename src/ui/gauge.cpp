#include "ui/gauge.h"

#include <algorithm>

namespace vs::ui {

using base::Rect;

Gauge::Gauge(const Rect& rect, int32_t minimum, int32_t maximum) : Control(rect, kKindGauge) {
    SetFocusable(false);
    SetRange(minimum, maximum);
}

void Gauge::SetRange(int32_t minimum, int32_t maximum) {
    SetMinimum(minimum);
    SetMaximum(maximum);
    SetValue(Value());
    Invalidate();
}

void Gauge::SetValue(int32_t value) {
    const int16_t v = Maximum() <= Minimum()
                          ? Minimum()
                          : int16_t(std::clamp<int32_t>(value, Minimum(), Maximum()));
    if (v == Value()) return;
    SetValueField(v);
    Invalidate();
}

int32_t Gauge::FilledWidth() const {
    // A range that is empty or upside down shows nothing filled.
    if (Maximum() <= Minimum()) return 0;
    const int64_t w = GetBounds().width();
    return int32_t((int64_t(Value()) - Minimum()) * w / (int64_t(Maximum()) - Minimum()));
}

void Gauge::Paint() {
    const Rect& b = GetBounds();
    const int32_t split = b.left + FilledWidth();
    SetPenColor(kBar);
    FillRect({b.left, b.top, split, b.bottom});
    SetPenColor(kRest);
    FillRect({split, b.top, b.right, b.bottom});
    SetPenColor(kOutline);
    FrameRect(b);
}

}  // namespace vs::ui
