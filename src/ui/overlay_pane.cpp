#include "ui/overlay_pane.h"

#include "ui/layer.h"

namespace vs::ui {

OverlayPane::OverlayPane(Layer* layer) : Pane(kKeyed) {
    Hide();  // before it is attached: there is nothing beneath it to show again yet
    Attach(ScreenPane::kScreenRect, nullptr, nullptr, layer);
    instance_ = this;
}

OverlayPane::~OverlayPane() {
    if (instance_ == this) instance_ = nullptr;
}

void OverlayPane::SetFillIndex(int32_t index) {
    if (index == fill_) return;
    fill_ = index;
    Invalidate();
}

void OverlayPane::Paint() {
    SetTransferMode(0);
    SetPenColor(fill_);
    FillRect(GetBounds());
}

}  // namespace vs::ui
