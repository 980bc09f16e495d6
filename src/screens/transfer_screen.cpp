#include "screens/transfer_screen.h"

#include "audio/sound_man.h"
#include "screens/screen_art.h"
#include "ui/close_list.h"
#include "ui/layer.h"

namespace vs::screens {

namespace {
constexpr const char* kFrames = "TRANSSVR.EPF";
constexpr const char* kPalette = "TRANSSVR.PAL";
}  // namespace

void TransferScreen::Open() {
    if (!Showing()) ui::OpenPane<TransferScreen>();
}

void TransferScreen::CloseOpen() {
    if (instance_) instance_->Close();
}

TransferScreen::TransferScreen() : Pane(kBlend) {
    instance_ = this;
    SetOpacity(kOpacity);
    frames_ = SpriteFrameCount(kFrames);
}

TransferScreen::~TransferScreen() {
    if (instance_ == this) instance_ = nullptr;
}

void TransferScreen::OnOpen() {
    auto* screen = ui::ScreenPane::instance();
    const base::Rect& s = ui::ScreenPane::kScreenRect;
    const int32_t left = (s.width() - kSide) / 2, top = (s.height() - kSide) / 2;
    Attach({left, top, left + kSide, top + kSide}, nullptr, nullptr,
           screen ? screen->GetLayerById(ui::kOverlayLayer) : nullptr);
    if (auto* clock = app::FrameClock::instance()) clock->schedule(this, kFrameTimer, kFrameMs);
    if (auto* sounds = audio::SoundMan::instance()) sounds->PlaySound(kOpenSound, 100);
}

bool TransferScreen::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kFrameTimer) return false;
    if (frames_ > 0) frame_ = (frame_ + 1) % frames_;
    Invalidate();
    if (auto* clock = app::FrameClock::instance()) clock->schedule(this, kFrameTimer, kFrameMs);
    return true;
}

void TransferScreen::Paint() {
    SetTransferMode(0);
    SetPenColor(0);
    FillRect(GetBounds());
    DrawSpriteFrame(*this, kFrames, frame_, kPalette);
}

}  // namespace vs::screens
