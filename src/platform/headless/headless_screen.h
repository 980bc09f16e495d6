#pragma once
#include <cstdint>
#include <vector>

#include "platform/memory_screen.h"

namespace vs::platform {

// The screen for tests: a readable picture in the format the test asks for, every blit area
// recorded, and failures injectable.
class HeadlessScreen final : public MemoryScreen {
public:
    explicit HeadlessScreen(bool native565 = true) : MemoryScreen(native565) { registerSelf(this); }
    ~HeadlessScreen() override { unregisterSelf(this); }

    ScreenStatus acquire() override;
    void release() override { acquired_ = false; }
    ScreenStatus restore() override;
    ScreenStatus readRaw(int x, int y, uint16_t& out) override;
    ScreenStatus blit(const uint16_t* pixels, int pitch, const base::Rect& area) override;
    ScreenStatus fill(uint16_t colour) override;
    void flush() override { ++flushes_; }
    bool fullscreen() const override { return fullscreen_; }
    void setFullscreen(bool on) override { fullscreen_ = on; }
    // The test decides the format; the choice is only recorded.
    void chooseFormat(bool rgb565) override { chosen565_ = rgb565 ? 1 : 0; }

    // Test controls.
    void setNative565(bool on) { MemoryScreen::setNative565(on); }
    void loseNextBlits(int n) { loseBlits_ = n; }  // the next n blits report Lost
    void busyNextReads(int n) { busyReads_ = n; }  // the next n raw reads report Busy
    void failReads(bool on) { failReads_ = on; }
    void failAcquire(bool on) { failAcquire_ = on; }
    void clearRecord() { blits_.clear(), flushes_ = 0, restores_ = 0; }

    bool acquired() const { return acquired_; }
    const std::vector<base::Rect>& blits() const { return blits_; }  // as asked, in order
    int flushes() const { return flushes_; }
    int restores() const { return restores_; }
    int chosen565() const { return chosen565_; }  // -1 before any choice

protected:
    void changed(const base::Rect&) override {}

private:
    bool acquired_ = false, fullscreen_ = false, failReads_ = false, failAcquire_ = false;
    bool lost_ = false;
    int loseBlits_ = 0, busyReads_ = 0;
    int flushes_ = 0, restores_ = 0, chosen565_ = -1;
    std::vector<base::Rect> blits_;
};

}  // namespace vs::platform
