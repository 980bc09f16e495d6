#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/frame_clock.h"
#include "app/tick_scheduler.h"
#include "base/fourcc.h"
#include "base/rect.h"
#include "graphics/pixel_format.h"
#include "graphics/soft_cursor.h"
#include "graphics/surface.h"

namespace vs::platform {
class Screen;
}

namespace vs::graphics {

class Display;

// A layer of panes as the display keeps it; the pane system gives it its content.
class DisplayLayer {
public:
    virtual ~DisplayLayer() = default;
};

// Composes the display's layers into its back buffer, once per presented frame: unites every
// screen area it drew into `total` and answers whether anything was composed.
class FrameComposer {
public:
    virtual ~FrameComposer() = default;
    virtual bool ComposeFrame(Display& display, base::Rect& total) = 0;
};

// The 640 × 480 screen of the program: the back buffer the layers are composed into, the front
// buffer holding the last presented picture, the presents of what changed, and whole-screen fades.
class Display final : public app::TimerClient, public app::TickClient {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kBandRows = 160;  // a present reaches the screen in bands this high
    static constexpr uint32_t kPresentPeriodMs = 1;
    static constexpr uint32_t kPaletteAnimationPeriodMs = 500;
    static constexpr int32_t kPresentTimer = int32_t(base::fourcc("Prsn"));
    static constexpr int32_t kPaletteTimer = int32_t(base::fourcc("PalA"));
    static constexpr int32_t kFadeInTimer = int32_t(base::fourcc("FdIn"));
    static constexpr int32_t kFadeOutTimer = int32_t(base::fourcc("FdOt"));

    enum class Mode : uint8_t { Idle = 0, Normal = 1, FadingIn = 2, FadingOut = 3 };

    Display(int width, int height, int depth);
    ~Display() override;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    static Display* instance() { return instance_; }

    // Takes the screen, creates the buffers, detects the pixel format and builds the lighting
    // tables. Throws DDError when the screen refuses.
    void Setup();
    void AcquireExclusive();
    void ReleaseExclusive();
    // After the program comes back to the foreground: the screen again, with the last picture.
    void RestoreSurfaces();

    // Inserts before `before`, or on top when that is null or not in the list.
    void AddLayer(DisplayLayer* layer, DisplayLayer* before);
    void RemoveLayer(DisplayLayer* layer);
    const std::vector<DisplayLayer*>& Layers() const { return layers_; }
    void SetComposer(FrameComposer* composer) { composer_ = composer; }

    // Shows what changed (normal mode) or the current fade level of the whole screen (fades).
    void Present();
    // An area of the window to show again (the window was exposed).
    void InvalidateRect(const base::Rect& area);
    // An area of the back buffer that was drawn outside the layers.
    void MarkDirty(const base::Rect& area);
    // One present, then the present and palette-animation timers.
    void StartTimers();

    // One fade runs at a time: a request in the direction of the last one queued joins it, the
    // other direction runs after it. Every callback is called once, when its fade has ended.
    void FadeIn(std::function<void()> done);
    void FadeOut(std::function<void()> done);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsSetUp() const { return setUp_; }
    PixelFormat pixelFormat() const { return format_; }
    Surface& BackBuffer() { return back_; }
    const Surface& FrontBuffer() const { return front_; }
    Mode mode() const { return mode_; }
    bool IsFading() const { return fadeBusy_; }
    void SetEnabled(bool on) { enabled_ = on; }

    // Called after each colour-cycling step, for the panes that show cycled colours.
    void SetPaletteAnimationHook(std::function<void()> hook) { paletteHook_ = std::move(hook); }

    // The picture on the screen as a PNG file; false when it cannot be written.
    bool SaveScreenPng(const std::filesystem::path& file) const;

    // Screenshots of the back buffer into "ScreenShots"; the path written, or empty.
    std::filesystem::path SaveBmpScreenshot() const;
    std::filesystem::path SaveJpegScreenshot() const;

    // The software cursor. While a fade holds the cursor back, showing and hiding only decide
    // whether it comes back when the fade ends.
    void LoadCursor();
    void ShowCursor();
    void HideCursor();
    bool IsCursorVisible() const { return cursorShown_; }
    void MoveCursor(int32_t y, int32_t x);
    void AnimateCursor(uint32_t now);
    void SetCursorType(int type);
    SoftCursor& Cursor() { return cursor_; }

    bool OnTimer(int32_t code, int32_t first, int32_t second) override;
    void OnTick(uint32_t tick) override;

private:
    struct Fade {
        bool in;
        std::vector<std::function<void()>> done;
    };
    void requestFade(bool in, std::function<void()> done);
    void beginHandOver();
    void startFade();
    void fadeStep(bool late);
    void finishFade();
    bool composeFrame(base::Rect& total);
    void presentChanges();
    void presentFadeLevel();
    void toScreen(const Surface& source, const base::Rect& area);
    void detectPixelFormat();

    static inline Display* instance_ = nullptr;
    int width_, height_, depth_;
    platform::Screen* screen_ = nullptr;
    Surface front_, back_;
    bool setUp_ = false;
    bool exclusive_ = false;
    bool enabled_ = true;
    PixelFormat format_ = PixelFormat::k565;
    std::vector<DisplayLayer*> layers_;
    FrameComposer* composer_ = nullptr;
    base::Rect dirty_;
    base::Rect expose_;
    bool exposed_ = false;
    Mode mode_ = Mode::Normal;
    int fadeLevel_ = 0;
    std::deque<Fade> fades_;  // the front one runs
    bool fadeBusy_ = false;
    uint32_t fadeStart_ = 0;
    bool cursorShown_ = false;
    bool cursorHeldByFade_ = false;
    bool cursorShownAfterFade_ = false;
    SoftCursor cursor_;
    std::function<void()> paletteHook_;
};

}  // namespace vs::graphics
