#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/fake_clock.h"
#include "platform/window.h"

namespace vs::platform {

// The main window for tests: nothing on screen; messages come from the test, at once or at a
// time of the fake clock. While nothing is due, a wait moves the fake clock by its time-out, so
// a main loop runs through simulated time without sleeping.
class HeadlessWindow final : public Window {
public:
    explicit HeadlessWindow(FakeClock& clock) : clock_(clock) { registerSelf(this); }
    ~HeadlessWindow() override { unregisterSelf(this); }

    bool create(std::u16string_view title, int width, int height) override;
    bool isCreated() const override { return created_; }
    void setTitle(std::u16string_view title) override { title_ = title; }
    void show() override { visible_ = true; }
    void hide() override { visible_ = false; }
    void minimize() override { minimized_ = true; }
    void restore() override { minimized_ = false; }
    void bringToFront() override {}
    void destroy() override;

    WaitResult wait(uint32_t timeoutMs) override;

    void setCapture(bool on) override { captured_ = on; }
    void showSystemCursor(bool show) override { systemCursorShown_ = show; }
    void clipCursor(const base::Rect* area) override { clipped_ = area != nullptr; }
    void warpMouse(int x, int y) override { warped_ = {x, y}; }
    bool keyToggled(uint8_t vk) override { return toggled_.count(vk) != 0; }
    bool keyDownNow(uint8_t vk) override { return held_.count(vk) != 0; }
    uint32_t doubleClickTime() override { return doubleClickTime_; }

    // Test controls. A message scheduled at a time is stamped with that time when delivered.
    void postAt(uint32_t time, Message m);
    void setToggled(uint8_t vk, bool on) { on ? void(toggled_.insert(vk)) : void(toggled_.erase(vk)); }
    void setHeld(uint8_t vk, bool on) { on ? void(held_.insert(vk)) : void(held_.erase(vk)); }
    void setDoubleClickTime(uint32_t ms) { doubleClickTime_ = ms; }
    // Fails the next create() calls (the system refusing a window).
    void failCreate(bool fail) { failCreate_ = fail; }

    const std::u16string& title() const { return title_; }
    bool visible() const { return visible_; }
    bool minimized() const { return minimized_; }
    bool captured() const { return captured_; }
    bool systemCursorShown() const { return systemCursorShown_; }
    base::Point warped() const { return warped_; }
    size_t waits() const { return waits_; }

private:
    FakeClock& clock_;
    std::multimap<uint32_t, Message> scheduled_;  // by due time, in posting order
    std::u16string title_;
    bool created_ = false, failCreate_ = false, visible_ = false, minimized_ = false;
    bool captured_ = false, systemCursorShown_ = true, clipped_ = false;
    base::Point warped_;
    std::set<uint8_t> toggled_, held_;
    uint32_t doubleClickTime_ = 500;
    size_t waits_ = 0;
};

}  // namespace vs::platform
