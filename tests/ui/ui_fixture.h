#pragma once
// Panes for tests: a pane that paints a pattern of its own (changing with every invalidation)
// and counts what happens to it, and a fixture with the managers the pane system uses.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "graphics/pixel_format.h"
#include "graphics/surface.h"
#include "platform/headless/fake_clock.h"
#include "ui/close_list.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"
#include "ui/pane.h"

namespace vs::test {

using base::Rect;

class PatternPane : public ui::Pane {
  public:
    explicit PatternPane(int id, uint8_t mode = kCopy) : Pane(mode), id_(id) {}
    ~PatternPane() override {
        if (destroyed_) ++*destroyed_;
        if (tracked_) std::erase(*tracked_, this);
    }
    // Value 0 (transparent when keyed) on a diagonal grid, otherwise a colour of id and
    // generation.
    uint16_t pixel(int x, int y) const {
        if ((x / 3 + y / 2 + generation_) % 5 == 0) return 0;
        return uint16_t(0x0421 * ((id_ * 7 + generation_ * 3) % 29 + 1) + (x ^ y) % 3);
    }
    void Paint() override {
        ++paints_;
        const Rect r = GetClipRect();
        uint16_t* px = Picture().pixels16();
        const int32_t pitch = Picture().rowWidth();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) px[y * pitch + x] = pixel(x, y);
    }
    void ComposeOnto(graphics::Canvas& screen, const Rect& src, const Rect& dst) override {
        ++composes_;
        Pane::ComposeOnto(screen, src, dst);
    }
    // New content in `r`, painted at the next frame.
    void Change(const Rect& r) {
        ++generation_;
        Invalidate(r);
    }
    bool OnMouse(const app::InputEvent& e) override { return record(e); }
    bool OnKey(const app::InputEvent& e) override { return record(e); }
    bool OnPacket(const app::InputEvent& e) override { return record(e); }

    int id_;
    int generation_ = 0;
    int paints_ = 0;
    int composes_ = 0;
    int* destroyed_ = nullptr;
    // A list of live panes that forgets this one when it is destroyed.
    std::vector<PatternPane*>* tracked_ = nullptr;
    bool consume_ = false;
    std::vector<int>* log_ = nullptr;
    std::function<void()> onEvent_;
    app::InputEvent last_;

  private:
    bool record(const app::InputEvent& e) {
        if (log_) log_->push_back(id_);
        last_ = e;
        if (onEvent_) onEvent_();
        return consume_;
    }
};

class UiFixture : public testing::Test {
  protected:
    UiFixture() {
        for (auto& l : layers) l = std::make_unique<ui::Layer>(&screen);
        for (int i = 0; i < ui::kLayerCount; ++i) {
            raw[size_t(i)] = layers[size_t(i)].get();
            screen.SetLayer(i, raw[size_t(i)]);
        }
    }
    ~UiFixture() override { graphics::selectPixelFormat(graphics::PixelFormat::k565); }

    // One frame: closed panes go, then the layers are composed into `back`.
    bool frame(Rect* total = nullptr) {
        closeList.Empty();
        Rect t;
        const bool any = screen.Compose(back, raw, t);
        if (total) *total = t;
        return any;
    }

    platform::FakeClock clock;
    app::FrameClock frameClock{clock};
    app::EventDispatcher dispatcher;
    ui::NoticeBus bus;
    ui::CloseList closeList;
    ui::ScreenPane screen;
    std::array<std::unique_ptr<ui::Layer>, ui::kLayerCount> layers;
    std::array<ui::Layer*, ui::kLayerCount> raw{};
    graphics::Surface back{640, 480};
};

}  // namespace vs::test
