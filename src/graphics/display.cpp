#include "graphics/display.h"

#include <algorithm>

#include "app/error.h"
#include "app/shell.h"
#include "base/log.h"
#include "graphics/ddraw_device.h"
#include "graphics/png_writer.h"
#include "graphics/screenshot.h"
#include "platform/screen.h"
#include "resources/palette_manager.h"

namespace vs::graphics {

namespace {

constexpr base::Rect kScreenRect{0, 0, Display::kWidth, Display::kHeight};
constexpr int kLevelBlack = kFadeLevels - 1;

// The codes the display's errors carry: a surface that was lost, one still busy, anything else.
constexpr uint32_t kSurfaceLost = 0x887601C2;
constexpr uint32_t kStillDrawing = 0x8876021C;
constexpr uint32_t kGenericFailure = 0x80004005;
constexpr int kMaxBusyRetries = 10000;

bool applicationShowing() {
    const auto* shell = app::Shell::instance();
    return !shell || (shell->isActive() && !shell->isQuitting());
}

}  // namespace

Display::Display(int width, int height, int depth) : width_(width), height_(height), depth_(depth) {
    instance_ = this;
}

Display::~Display() {
    if (DDrawDevice::instance()) ReleaseExclusive();
    if (instance_ == this) instance_ = nullptr;
}

void Display::Setup() {
    auto* device = DDrawDevice::instance();
    if (!device) throw app::DDError(kGenericFailure, "no screen device");
    screen_ = &device->screen();
    AcquireExclusive();
    front_ = Surface(kWidth, kHeight);
    back_ = Surface(kWidth, kHeight);
    detectPixelFormat();
    selectPixelFormat(format_);
    dirty_ = {};
    expose_ = {};
    exposed_ = false;
    setUp_ = true;
    VS_INFO("display: %dx%dx%d, %s", width_, height_, depth_,
            format_ == PixelFormat::k565 ? "565" : "555");
}

void Display::detectPixelFormat() {
    // White written through the screen's colour conversion shows, read back raw, how the screen
    // stores its pixels: with the top bit set only when green has six bits.
    const uint32_t remembered = screen_->colorAt(0, 0);
    screen_->setColorAt(0, 0, 0xFFFFFF);
    uint16_t raw = 0;
    platform::ScreenStatus s = platform::ScreenStatus::Busy;
    for (int i = 0; i < kMaxBusyRetries && s == platform::ScreenStatus::Busy; ++i)
        s = screen_->readRaw(0, 0, raw);
    screen_->setColorAt(0, 0, remembered);
    switch (s) {
        case platform::ScreenStatus::Ok:
            break;
        case platform::ScreenStatus::Busy:
            throw app::DDError(kStillDrawing);
        case platform::ScreenStatus::Lost:
            throw app::DDError(kSurfaceLost);
        case platform::ScreenStatus::Failed:
            throw app::DDError(kGenericFailure, "the screen cannot be read");
    }
    format_ = (raw & 0x8000) ? PixelFormat::k565 : PixelFormat::k555;
}

void Display::AcquireExclusive() {
    auto* device = DDrawDevice::instance();
    if (!device) return;
    screen_ = &device->screen();
    if (!exclusive_) {
        if (screen_->acquire() != platform::ScreenStatus::Ok)
            throw app::DDError(kGenericFailure, "the screen cannot be taken");
        exclusive_ = true;
    }
    if (screen_->fill(0) == platform::ScreenStatus::Lost) {
        screen_->restore();
        screen_->fill(0);
    }
}

void Display::ReleaseExclusive() {
    if (!exclusive_ || !screen_) return;
    screen_->release();
    exclusive_ = false;
}

void Display::RestoreSurfaces() {
    AcquireExclusive();
    if (!setUp_ || mode_ != Mode::Normal) return;
    // The front buffer still holds the last picture; a running fade presents its own.
    toScreen(front_, kScreenRect);
    screen_->flush();
}

void Display::AddLayer(DisplayLayer* layer, DisplayLayer* before) {
    if (!layer) return;
    RemoveLayer(layer);
    auto at = std::find(layers_.begin(), layers_.end(), before);
    layers_.insert(before ? at : layers_.end(), layer);
}

void Display::RemoveLayer(DisplayLayer* layer) {
    layers_.erase(std::remove(layers_.begin(), layers_.end(), layer), layers_.end());
}

void Display::InvalidateRect(const base::Rect& area) {
    expose_ = expose_.unite(area);
    exposed_ = true;
}

void Display::MarkDirty(const base::Rect& area) {
    dirty_ = dirty_.unite(area);
}

bool Display::composeFrame(base::Rect& total) {
    bool changed = !dirty_.empty();
    total = dirty_;
    dirty_ = {};
    if (composer_ && !layers_.empty()) changed = composer_->ComposeFrame(*this, total) || changed;
    if (exposed_) {
        total = total.unite(expose_);
        changed = true;
        exposed_ = false;
        expose_ = {};
    }
    return changed;
}

void Display::toScreen(const Surface& source, const base::Rect& area) {
    for (int top = area.top; top < area.bottom; top += kBandRows) {
        const base::Rect band{area.left, top, area.right, std::min(top + kBandRows, area.bottom)};
        if (screen_->blit(source.pixels(), source.pitch(), band) == platform::ScreenStatus::Lost) {
            screen_->restore();
            screen_->blit(source.pixels(), source.pitch(), band);
        }
    }
}

void Display::Present() {
    if (!setUp_) return;
    switch (mode_) {
        case Mode::Normal:
            presentChanges();
            break;
        case Mode::FadingIn:
        case Mode::FadingOut:
            presentFadeLevel();
            break;
        case Mode::Idle:
            break;
    }
}

void Display::presentChanges() {
    base::Rect total;
    if (!composeFrame(total)) return;
    total = total.intersect(kScreenRect);
    if (total.empty()) return;
    front_.copyFrom(back_, total);
    toScreen(front_, total);
    // What reaches the player already holds the cursor.
    cursor_.Refresh(total, *screen_, front_);
    screen_->flush();
}

void Display::presentFadeLevel() {
    back_.copyFrom(front_, kScreenRect);
    pixelFunctions().fade(back_.pixels(), size_t(kWidth) * kHeight, fadeLevel_);
    toScreen(back_, kScreenRect);
    screen_->flush();
}

void Display::StartTimers() {
    Present();
    auto* fc = app::FrameClock::instance();
    if (!fc) return;
    fc->cancel(this, kPresentTimer);
    fc->cancel(this, kPaletteTimer);
    fc->schedule(this, kPresentTimer, kPresentPeriodMs);
    fc->schedule(this, kPaletteTimer, kPaletteAnimationPeriodMs);
}

bool Display::OnTimer(int32_t code, int32_t, int32_t) {
    auto* fc = app::FrameClock::instance();
    switch (code) {
        case kPresentTimer:
            if (fc) fc->schedule(this, kPresentTimer, kPresentPeriodMs);
            // Fade steps present by themselves.
            if (enabled_ && mode_ == Mode::Normal && applicationShowing()) Present();
            return true;
        case kPaletteTimer:
            if (fc) fc->schedule(this, kPaletteTimer, kPaletteAnimationPeriodMs);
            if (enabled_ && (!app::Shell::instance() || app::Shell::instance()->isActive())) {
                if (auto* pm = resources::PaletteManager::instance()) {
                    pm->SetAnimating(true);
                    pm->AnimateStep();
                    if (paletteHook_) paletteHook_();
                    pm->SetAnimating(false);
                }
            }
            return true;
        case kFadeInTimer:
        case kFadeOutTimer:
            startFade();
            return true;
        default:
            return false;
    }
}

void Display::FadeIn(std::function<void()> done) {
    requestFade(true, std::move(done));
}
void Display::FadeOut(std::function<void()> done) {
    requestFade(false, std::move(done));
}

void Display::requestFade(bool in, std::function<void()> done) {
    if (!setUp_) {
        // Nothing is on the screen yet: the fade is over before it began.
        if (done) done();
        return;
    }
    if (!fades_.empty() && fades_.back().in == in) {
        fades_.back().done.push_back(std::move(done));
        return;
    }
    fades_.push_back(Fade{in, {}});
    fades_.back().done.push_back(std::move(done));
    if (!fadeBusy_) beginHandOver();
}

void Display::beginHandOver() {
    fadeBusy_ = true;
    mode_ = Mode::Idle;
    if (auto* fc = app::FrameClock::instance())
        fc->schedule(this, fades_.front().in ? kFadeInTimer : kFadeOutTimer, 0);
    else
        startFade();
}

void Display::startFade() {
    if (fades_.empty()) {
        mode_ = Mode::Normal;
        fadeBusy_ = false;
        return;
    }
    const bool in = fades_.front().in;
    // The cursor stays out of the faded picture; it is not erased, the fade covers it.
    if (!cursorHeldByFade_) {
        cursorShownAfterFade_ = cursorShown_;
        cursorShown_ = false;
        cursor_.Forget();
        cursorHeldByFade_ = true;
    }
    mode_ = Mode::Normal;
    base::Rect total;
    composeFrame(total);
    front_.copyFrom(back_, kScreenRect);
    mode_ = in ? Mode::FadingIn : Mode::FadingOut;
    fadeLevel_ = in ? kLevelBlack : 0;
    if (auto* fc = app::FrameClock::instance()) fadeStart_ = fc->now();
    if (auto* ticks = app::TickScheduler::instance()) {
        ticks->scheduleNext(this);
        return;
    }
    while (mode_ == Mode::FadingIn || mode_ == Mode::FadingOut) fadeStep(false);
}

void Display::OnTick(uint32_t tick) {
    const auto* ticks = app::TickScheduler::instance();
    fadeStep(ticks && tick != ticks->latestTick());
}

void Display::fadeStep(bool late) {
    const bool in = mode_ == Mode::FadingIn;
    if (!in && mode_ != Mode::FadingOut) return;
    // A late step only moves the level on; the last level is always shown.
    const int lastLevel = in ? 0 : kLevelBlack;
    if (!late || fadeLevel_ == lastLevel) Present();
    fadeLevel_ += in ? -1 : 1;
    if (fadeLevel_ < 0 || fadeLevel_ > kLevelBlack) {
        finishFade();
        return;
    }
    if (auto* ticks = app::TickScheduler::instance()) ticks->scheduleAfter(this, 1);
}

void Display::finishFade() {
    fadeLevel_ = std::clamp(fadeLevel_, 0, kLevelBlack);
    Fade fade = std::move(fades_.front());
    fades_.pop_front();
    if (auto* fc = app::FrameClock::instance())
        VS_DEBUG("display: fade %s took %u ms", fade.in ? "in" : "out", fc->now() - fadeStart_);
    mode_ = Mode::Normal;
    fadeBusy_ = false;
    for (auto& done : fade.done) {
        if (done) done();
    }
    if (!fadeBusy_ && !fades_.empty()) beginHandOver();
    // The cursor comes back once no fade is left.
    if (!fadeBusy_ && cursorHeldByFade_) {
        cursorHeldByFade_ = false;
        if (cursorShownAfterFade_) ShowCursor();
    }
}

void Display::LoadCursor() { cursor_.Load(); }

void Display::ShowCursor() {
    if (cursorHeldByFade_) {
        cursorShownAfterFade_ = true;
        return;
    }
    cursorShown_ = true;
    if (screen_ && setUp_) cursor_.Show(*screen_, front_);
}

void Display::HideCursor() {
    if (cursorHeldByFade_) {
        cursorShownAfterFade_ = false;
        return;
    }
    cursorShown_ = false;
    if (screen_ && setUp_) cursor_.Hide(*screen_);
}

void Display::MoveCursor(int32_t y, int32_t x) {
    if (screen_ && setUp_ && cursorShown_)
        cursor_.MoveShown(y, x, *screen_, front_);
    else
        cursor_.Move(y, x);
}

void Display::AnimateCursor(uint32_t now) {
    if (screen_ && setUp_ && cursorShown_) cursor_.Animate(now, *screen_, front_);
}

void Display::SetCursorType(int type) {
    if (screen_) cursor_.SetType(type, *screen_, front_);
}

std::filesystem::path Display::SaveBmpScreenshot() const {
    return setUp_ ? graphics::SaveBmpScreenshot(back_, format_) : std::filesystem::path();
}

std::filesystem::path Display::SaveJpegScreenshot() const {
    return setUp_ ? graphics::SaveJpegScreenshot(back_, format_) : std::filesystem::path();
}

bool Display::SaveScreenPng(const std::filesystem::path& file) const {
    if (!screen_) return false;
    const uint16_t* px = screen_->pixels();
    const auto toRgb = pixelFunctions().toRgb;
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
    for (size_t i = 0; i < size_t(kWidth) * kHeight; ++i) {
        const uint32_t c = toRgb(px[i]);
        rgb[3 * i] = uint8_t(c >> 16), rgb[3 * i + 1] = uint8_t(c >> 8),
                rgb[3 * i + 2] = uint8_t(c);
    }
    const std::vector<uint8_t> png = encodePng(rgb, kWidth, kHeight);
    return !png.empty() && writeFileBytes(file, png);
}

}  // namespace vs::graphics
