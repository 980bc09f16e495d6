#pragma once
#include <cstdint>

#include "ui/control.h"
#include "ui/list_pane.h"

namespace vs::ui {

// The control that shows a list pane inside a dialog, inset by one pixel so that its focus
// outline shows, and passes it the dialog's events.
class ListHost : public Control {
  public:
    ListHost(const base::Rect& rect, int32_t rowHeight, bool multiple = false);
    ~ListHost() override;
    void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer) override;
    void Detach() override;
    void Paint() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    ListPane& List() { return list_; }

  private:
    ListPane list_;
};

}  // namespace vs::ui
