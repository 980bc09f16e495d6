#pragma once
#include <cstdint>

#include "ui/pane.h"

namespace vs::screens {

// The animation shown while the server moves the player to another server: 144 × 144 pixels
// centred on the screen, the frames of "TRANSSVR.EPF" every 100 ms, blended.
class TransferScreen final : public ui::Pane {
  public:
    static constexpr int kSide = 144;
    static constexpr uint32_t kFrameMs = 100;
    static constexpr int kOpenSound = 412;
    static constexpr float kOpacity = 0.9f;
    static constexpr int32_t kFrameTimer = 1;

    // Opens the transfer screen unless one is open.
    static void Open();
    static void CloseOpen();
    static TransferScreen* instance() { return instance_; }
    static bool Showing() { return instance_ && !instance_->IsClosing(); }

    TransferScreen();
    ~TransferScreen() override;
    void OnOpen() override;
    void Paint() override;
    bool OnTimer(int32_t code, int32_t, int32_t) override;
    int frame() const { return frame_; }

  private:
    static inline TransferScreen* instance_ = nullptr;
    int frame_ = 0;
    int frames_ = 0;
};

}  // namespace vs::screens
