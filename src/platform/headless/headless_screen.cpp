#include "platform/headless/headless_screen.h"

namespace vs::platform {

ScreenStatus HeadlessScreen::acquire() {
    if (failAcquire_) return ScreenStatus::Failed;
    acquired_ = true;
    return ScreenStatus::Ok;
}

ScreenStatus HeadlessScreen::restore() {
    ++restores_;
    lost_ = false;
    return ScreenStatus::Ok;
}

ScreenStatus HeadlessScreen::readRaw(int x, int y, uint16_t& out) {
    if (failReads_) return ScreenStatus::Failed;
    if (busyReads_ > 0) return --busyReads_, ScreenStatus::Busy;
    return MemoryScreen::readRaw(x, y, out);
}

ScreenStatus HeadlessScreen::blit(const uint16_t* pixels, int pitch, const base::Rect& area) {
    blits_.push_back(area);
    if (loseBlits_ > 0) {
        --loseBlits_;
        lost_ = true;
    }
    if (lost_) return ScreenStatus::Lost;
    return MemoryScreen::blit(pixels, pitch, area);
}

ScreenStatus HeadlessScreen::fill(uint16_t colour) {
    if (lost_) return ScreenStatus::Lost;
    return MemoryScreen::fill(colour);
}

}  // namespace vs::platform
