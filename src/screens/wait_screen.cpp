#include "screens/wait_screen.h"

#include "ui/close_list.h"
#include "ui/layer.h"

namespace vs::screens {

WaitScreen& WaitScreen::Open(int level) {
    if (instance_ && !instance_->IsClosing()) return *instance_;
    return ui::OpenPane<WaitScreen>(level);
}

void WaitScreen::CloseOpen() {
    if (instance_) instance_->Close();
}

WaitScreen::WaitScreen(int level) : Pane(kBlend), level_(level) {
    instance_ = this;
}

WaitScreen::~WaitScreen() {
    if (instance_ == this) instance_ = nullptr;
}

void WaitScreen::OnOpen() {
    auto* screen = ui::ScreenPane::instance();
    Attach(ui::ScreenPane::kScreenRect, nullptr, nullptr,
           screen ? screen->GetLayerById(ui::kOverlayLayer) : nullptr);
    RegisterHandler(nullptr, nullptr);
    if (auto* d = app::EventDispatcher::instance()) d->pushModal(this);
}

int32_t WaitScreen::ShadeIndex(int level) {
    static constexpr int32_t kShades[8] = {143, 142, 140, 132, 130, 128, 12, 11};
    return kShades[level >= 0 && level < 8 ? level : 7];
}

void WaitScreen::Paint() {
    SetTransferMode(0);
    SetPenColor(ShadeIndex(level_));
    FillRect(GetBounds());
}

}  // namespace vs::screens
