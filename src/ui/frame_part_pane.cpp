#include "ui/frame_part_pane.h"

#include <memory>

#include "ui/close_list.h"
#include "ui/control.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"

namespace vs::ui {

FramePartPane::FramePartPane(int frame, base::Point at) : Pane(kKeyed), frame_(frame), at_(at) {}

void FramePartPane::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    DrawSpriteFrame(*this, kFile, frame_, 0, 0, 1, kInterfacePalette);
}

void FramePartPane::OnNotice(base::LObject*, uint32_t notice) {
    if (notice == kLeaveNotice) Close();
}

void FramePartPane::Placement(int i, int& frame, base::Point& at) {
    static constexpr int32_t kRows[] = {92, 155, 218, 281, 344};
    if (i < 3) {
        static constexpr base::Point kTop[] = {{14, 12}, {125, 12}, {378, 12}};
        frame = i;
        at = kTop[i];
        return;
    }
    const int k = i - 3;
    const int32_t y = kRows[(k / 2) % 5];
    frame = 3 + k % 2;
    at = k % 2 == 0 ? base::Point{14, y + 6} : base::Point{420, y};
}

void FramePartPane::OpenAll(Layer* layer, base::LObject* mainFrame) {
    auto* list = CloseList::instance();
    if (!list || !layer) return;
    for (int i = 0; i < kCount; ++i) {
        int frame = 0;
        base::Point at;
        Placement(i, frame, at);
        auto& pane = list->Keep(std::make_unique<FramePartPane>(frame, at));
        const base::Point size = SpriteFrameSize(kFile, frame);
        pane.Attach(base::Rect::fromSize(at.x, at.y, size.x, size.y), nullptr, nullptr, layer);
        if (auto* bus = NoticeBus::instance()) bus->Subscribe(mainFrame, &pane, kLeaveNotice);
    }
}

}  // namespace vs::ui
