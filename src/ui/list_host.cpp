#include "ui/list_host.h"

namespace vs::ui {

using base::Rect;

ListHost::ListHost(const Rect& rect, int32_t rowHeight, bool multiple)
    : Control(rect, kKindListHost), list_(rowHeight, multiple) {
    list_.SetRect({1, 1, rect.width() - 1, rect.height() - 1});
    list_.SetReport([this](int32_t code) { Report(code); });
}

ListHost::~ListHost() {
    list_.Detach();
}

void ListHost::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    Control::Attach(rect, sibling, parent, layer);
    list_.Attach({1, 1, rect.width() - 1, rect.height() - 1}, nullptr, this, GetLayer());
}

void ListHost::Detach() {
    list_.Detach();
    Control::Detach();
}

void ListHost::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    PaintOutlines();
}

uint8_t ListHost::HitTest(int32_t, int32_t) const {
    return kPartList;
}

bool ListHost::OnMouse(const app::InputEvent& event) {
    app::InputEvent e = event;
    e.x -= list_.GetPosition().x;
    e.y -= list_.GetPosition().y;
    return list_.OnMouse(e);
}

bool ListHost::OnKey(const app::InputEvent& event) {
    return list_.OnKey(event);
}

}  // namespace vs::ui
