#include "ui/control.h"

#include "app/error.h"
#include "graphics/display.h"
#include "platform/clock.h"
#include "resources/image_cache.h"

namespace vs::ui {

using base::Rect;

UiHooks& uiHooks() {
    static UiHooks hooks;
    return hooks;
}

void PresentNow() {
    if (const auto& h = uiHooks().present) {
        h();
    } else if (auto* d = graphics::Display::instance()) {
        d->Present();
    }
}

void SleepMs(uint32_t ms) {
    if (const auto& h = uiHooks().sleep) {
        h(ms);
    } else if (auto* clock = platform::Clock::instance()) {
        clock->sleepMs(ms);
    }
}

void PlaySound(int sound, int volume) {
    if (const auto& h = uiHooks().playSound) h(sound, volume);
}

void AnimatePress(ControlHost& host, int32_t index) {
    host.SetHot(index, kStatePressed);
    PresentNow();
    SleepMs(kPressShowMs);
    host.SetHot(-1, kStateNormal);
    PresentNow();
    host.OnCommand(index, kStatePressed);
}

Control::Control(const Rect& rect, int16_t kind) : Pane(kKeyed), kind_(kind) {
    SetRect(rect);
}

void Control::Paint() {
    PaintOutlines();
}

void Control::PaintOutlines() {
    if (!enabled_) return;
    const Rect& b = GetBounds();
    if (marker_) {
        SetPenColor(kMarkerColor);
        FrameRect(b);
    }
    if (focused_) {
        SetPenColor(kFocusColor);
        FrameRect(b);
    }
}

void Control::Wash(uint8_t blend) {
    const uint8_t mode = TransferMode();
    SetTransferMode(blend);
    SetPenColor(kDisabledWash);
    FillRect(GetBounds());
    SetTransferMode(mode);
}

void Control::SetState(uint8_t state) {
    if (state == state_) return;
    state_ = state;
    Invalidate();
}

void Control::Enable() {
    if (enabled_) return;
    enabled_ = true;
    Invalidate();
}

void Control::Disable() {
    if (!enabled_) return;
    enabled_ = false;
    Invalidate();
}

void Control::Unfocus() {
    if (!focused_) return;
    focused_ = false;
    Invalidate();
}

void Control::Focus() {
    if (focused_) return;
    focused_ = true;
    Invalidate();
}

uint8_t Control::HitTest(int32_t, int32_t) const {
    return kPartNone;
}

void Control::SetMarker(uint8_t marker) {
    if (marker == marker_) return;
    marker_ = marker;
    Invalidate();
}

void Control::Report(int32_t code) {
    if (!host_) return;
    const int32_t index = host_->IndexOf(this);
    if (index >= 0) host_->OnCommand(index, code);
}

namespace {

// A frame view, empty when the file is missing or damaged.
bool frameOf(const char* file, int frame, resources::PixMap& out) {
    auto* cache = resources::ImageCache::instance();
    if (!cache) return false;
    try {
        cache->GetFrame(file, frame, out);
    } catch (const app::Error&) {
        return false;
    }
    return out.hasPixels();
}

}  // namespace

bool DrawSpriteFrame(graphics::Canvas& canvas, const char* file, int frame, int32_t x, int32_t y,
                     int mode, const char* palette) {
    resources::PixMap pic;
    if (!frameOf(file, frame, pic)) return false;
    canvas.DrawPixMapNamed(pic, pic.bounds(), pic.bounds().offset(x, y), mode, palette);
    return true;
}

base::Point SpriteFrameSize(const char* file, int frame) {
    resources::PixMap pic;
    if (!frameOf(file, frame, pic)) return {};
    return {pic.width(), pic.height()};
}

bool TileSpriteFrame(graphics::Canvas& canvas, const char* file, int frame, const Rect& rect,
                     int mode, const char* palette) {
    resources::PixMap pic;
    if (!frameOf(file, frame, pic)) return false;
    const uint8_t saved = canvas.TransferMode();
    canvas.SetTransferMode(uint8_t(mode));
    canvas.TilePixMap(rect, pic, palette);
    canvas.SetTransferMode(saved);
    return true;
}

}  // namespace vs::ui
