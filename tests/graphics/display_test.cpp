#include "graphics/display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/error.h"
#include "app/frame_clock.h"
#include "app/tick_scheduler.h"
#include "graphics/ddraw_device.h"
#include "platform/headless/headless_platform.h"
#include "resources/palette_manager.h"
#include "support/fake_shell.h"
#include "support/palette_fixture.h"
#include "support/pixel_formats.h"

namespace vs::graphics {
namespace {

using base::Rect;
constexpr Rect kFull{0, 0, 640, 480};

class DisplayTest : public testing::TestWithParam<PixelFormat> {
protected:
    void SetUp() override {
        platform.screen.setNative565(six());
        device = std::make_unique<DDrawDevice>();
        display = std::make_unique<Display>(640, 480, 16);
        display->Setup();
        screen().clearRecord();
    }
    void TearDown() override {
        display.reset();
        selectPixelFormat(PixelFormat::k565);
    }

    bool six() const { return GetParam() == PixelFormat::k565; }
    platform::HeadlessScreen& screen() { return platform.screen; }
    uint16_t white() const { return six() ? 0xFFFF : 0x7FFF; }
    uint16_t shown(int x, int y) { return screen().pixels()[y * 640 + x]; }
    uint16_t faded(uint16_t p, int level) const {
        pixelFunctions().fade(&p, 1, level);
        return p;
    }
    // A whole white screen, presented.
    void presentWhite() {
        display->BackBuffer().fill(kFull, white());
        display->MarkDirty(kFull);
        display->Present();
        screen().clearRecord();
    }
    // One frame step's worth of time: the frame clock's timers, then the next tick.
    void tick() {
        platform.clock.advance(20);
        frameClock.update();
        ticks.advance(++tick_);
    }
    // Runs frames until no fade is left (or a limit is reached).
    int runFades() {
        int frames = 0;
        frameClock.update();
        while (display->IsFading() && frames < 500) tick(), ++frames;
        return frames;
    }

    platform::HeadlessPlatform platform;
    app::FrameClock frameClock{platform.clock};
    app::TickScheduler ticks;
    test::FakeShell shell;
    std::unique_ptr<DDrawDevice> device;
    std::unique_ptr<Display> display;
    uint32_t tick_ = 0;
};

TEST_P(DisplayTest, SetupDetectsTheScreensFormat) {
    EXPECT_EQ(display->pixelFormat(), GetParam());
    EXPECT_EQ(pixelFunctions().format, GetParam());
    EXPECT_EQ(resources::currentPixelFormat(), GetParam());
    EXPECT_TRUE(screen().acquired());
    EXPECT_EQ(lightTables().t2[40][64], six() ? 63 : 31);

    // The probe pixel does not stay white; busy reads are waited for.
    display.reset();
    screen().busyNextReads(3);
    display = std::make_unique<Display>(640, 480, 16);
    display->Setup();
    EXPECT_EQ(display->pixelFormat(), GetParam());
    EXPECT_EQ(shown(0, 0), 0);
}

TEST_P(DisplayTest, ScreenFailuresThrowDisplayErrors) {
    display.reset();
    screen().failReads(true);
    display = std::make_unique<Display>(640, 480, 16);
    EXPECT_THROW(display->Setup(), app::DDError);
    screen().failReads(false);

    display.reset();
    screen().release();
    screen().failAcquire(true);
    display = std::make_unique<Display>(640, 480, 16);
    EXPECT_THROW(display->Setup(), app::DDError);
    EXPECT_FALSE(display->IsSetUp());

    // No screen at all: no device.
    display.reset();
    device.reset();
    { platform::HeadlessScreen gone; }  // registers and leaves: no screen is left
    EXPECT_THROW(DDrawDevice{}, app::MyError);
}

TEST_P(DisplayTest, PresentCopiesExactlyTheClippedUnionInBands) {
    struct Case {
        const char* what;
        std::vector<Rect> dirty;
        std::vector<Rect> blits;
    };
    const Case cases[] = {
        {"inside", {{10, 20, 110, 70}}, {{10, 20, 110, 70}}},
        {"partly off screen", {{-50, -40, 30, 20}}, {{0, 0, 30, 20}}},
        {"right and below", {{600, 470, 700, 520}}, {{600, 470, 640, 480}}},
        {"wholly off screen", {{-100, -100, -10, -10}}, {}},
        {"beyond the right", {{700, 10, 800, 50}}, {}},
        {"nothing", {}, {}},
        {"tall", {{5, 100, 15, 300}}, {{5, 100, 15, 260}, {5, 260, 15, 300}}},
        {"two corners",
         {{0, 0, 10, 10}, {600, 400, 640, 480}},
         {{0, 0, 640, 160}, {0, 160, 640, 320}, {0, 320, 640, 480}}},
    };
    uint16_t colour = 1;
    for (const auto& c : cases) {
        screen().clearRecord();
        display->BackBuffer().fill(kFull, ++colour);
        for (const Rect& r : c.dirty) display->MarkDirty(r);
        display->Present();
        EXPECT_EQ(screen().blits(), c.blits) << c.what;
        for (const Rect& r : c.blits) {
            EXPECT_EQ(shown(r.left, r.top), colour) << c.what;
            EXPECT_EQ(shown(r.right - 1, r.bottom - 1), colour) << c.what;
            EXPECT_EQ(display->FrontBuffer().at(r.left, r.top), colour) << c.what;
        }
        // Outside the union the screen keeps the older picture.
        if (!c.blits.empty() && c.blits[0].left > 0) {
            EXPECT_NE(shown(0, c.blits[0].top), colour) << c.what;
        }
        EXPECT_EQ(screen().flushes(), c.blits.empty() ? 0 : 1) << c.what;
        // Once presented, nothing is left to present.
        screen().clearRecord();
        display->Present();
        EXPECT_TRUE(screen().blits().empty()) << c.what;
    }
}

TEST_P(DisplayTest, ExposedAreasArePresentedAgainAndLostScreensRestored) {
    display->BackBuffer().fill(kFull, 0x1234);
    display->InvalidateRect({0, 0, 640, 100});
    display->InvalidateRect({0, 50, 320, 200});
    display->Present();
    EXPECT_EQ(screen().blits(), (std::vector<Rect>{{0, 0, 640, 160}, {0, 160, 640, 200}}));
    // An empty exposed area copies nothing.
    screen().clearRecord();
    display->InvalidateRect({});
    display->Present();
    EXPECT_TRUE(screen().blits().empty());

    // A lost screen is restored and the band copied once more.
    screen().clearRecord();
    screen().loseNextBlits(1);
    display->MarkDirty({0, 0, 10, 10});
    display->BackBuffer().fill(kFull, 0x4321);
    display->Present();
    EXPECT_EQ(screen().restores(), 1);
    EXPECT_EQ(screen().blits(), (std::vector<Rect>{{0, 0, 10, 10}, {0, 0, 10, 10}}));
    EXPECT_EQ(shown(5, 5), 0x4321);
}

TEST_P(DisplayTest, ComposerDrawsRegisteredLayers) {
    struct Composer final : FrameComposer {
        bool ComposeFrame(Display& d, Rect& total) override {
            ++calls;
            d.BackBuffer().fill(area, 0x0F0F);
            total = total.unite(area);
            return !area.empty();
        }
        Rect area{100, 100, 120, 130};
        int calls = 0;
    } composer;
    DisplayLayer a, b, c, d, stranger;
    display->AddLayer(&a, nullptr);
    display->AddLayer(&b, nullptr);
    display->AddLayer(&c, &a);
    display->AddLayer(&d, &stranger);  // not in the list: on top
    EXPECT_EQ(display->Layers(), (std::vector<DisplayLayer*>{&c, &a, &b, &d}));
    display->RemoveLayer(&a);
    display->AddLayer(&b, &c);  // moving keeps one entry
    EXPECT_EQ(display->Layers(), (std::vector<DisplayLayer*>{&b, &c, &d}));

    display->SetComposer(&composer);
    display->Present();
    EXPECT_EQ(composer.calls, 1);
    EXPECT_EQ(screen().blits(), std::vector<Rect>{composer.area});
    EXPECT_EQ(shown(110, 110), 0x0F0F);
    composer.area = {};
    screen().clearRecord();
    display->Present();
    EXPECT_TRUE(screen().blits().empty());
    display->SetComposer(nullptr);
}

TEST_P(DisplayTest, PresentTimerPresentsChangesOnlyWhileShowing) {
    display->StartTimers();
    display->BackBuffer().fill(kFull, 0x0101);
    auto step = [&] {
        screen().clearRecord();
        display->MarkDirty({0, 0, 4, 4});
        platform.clock.advance(1);
        frameClock.update();
        return screen().blits().size();
    };
    EXPECT_EQ(step(), 1u);
    shell.active = false;
    EXPECT_EQ(step(), 0u);
    shell.active = true;
    shell.quitting = true;
    EXPECT_EQ(step(), 0u);
    shell.quitting = false;
    display->SetEnabled(false);
    EXPECT_EQ(step(), 0u);
    display->SetEnabled(true);
    // The change waited; nothing new is presented when nothing changed.
    EXPECT_EQ(step(), 1u);
    screen().clearRecord();
    platform.clock.advance(1);
    frameClock.update();
    EXPECT_TRUE(screen().blits().empty());
}

TEST_P(DisplayTest, FadeInPresentsEveryLevelOnceWhenTicksAreOnTime) {
    presentWhite();
    display->StartTimers();
    screen().clearRecord();
    int done = 0;
    display->FadeIn([&] { ++done; });
    EXPECT_EQ(display->mode(), Display::Mode::Idle);
    frameClock.update();
    ASSERT_EQ(display->mode(), Display::Mode::FadingIn);
    for (int level = 24; level >= 0; --level) {
        // The 1 ms present timer runs between the steps and must not add presents.
        for (int ms = 0; ms < 19; ++ms) {
            platform.clock.advance(1);
            frameClock.update();
        }
        const int flushes = screen().flushes();
        ticks.advance(++tick_);
        ASSERT_EQ(screen().flushes(), flushes + 1) << level;
        ASSERT_EQ(shown(320, 240), faded(white(), level)) << level;
    }
    EXPECT_EQ(screen().flushes(), 25);
    EXPECT_EQ(screen().blits().size(), 75u);  // three bands each
    EXPECT_EQ(done, 1);
    EXPECT_EQ(display->mode(), Display::Mode::Normal);
    EXPECT_FALSE(display->IsFading());
}

TEST_P(DisplayTest, LateFadeStepsSkipTheirPresentButNotTheLast) {
    presentWhite();
    int done = 0;
    display->FadeOut([&] { ++done; });
    frameClock.update();
    ticks.advance(++tick_);  // level 0, on time
    EXPECT_EQ(screen().flushes(), 1);
    tick_ += 40;
    ticks.advance(tick_);  // the rest at once: only the black end is shown
    EXPECT_EQ(screen().flushes(), 2);
    EXPECT_EQ(shown(0, 0), 0);
    EXPECT_EQ(done, 1);
    // The front buffer still holds the picture; the back buffer was faded.
    EXPECT_EQ(display->FrontBuffer().at(0, 0), white());
}

TEST_P(DisplayTest, OverlappingFadesRunOneAfterAnotherAndKeepEveryCallback) {
    presentWhite();
    std::vector<std::string> calls;
    display->FadeOut([&] { calls.push_back("exit"); });
    frameClock.update();
    tick();
    tick();
    // A fatal error during the exit fade joins it; a fade in waits for it, and a fade out after
    // that fade in runs last.
    display->FadeOut([&] { calls.push_back("fatal"); });
    display->FadeIn([&] { calls.push_back("in"); });
    display->FadeOut([&] { calls.push_back("last"); });
    const int frames = runFades();
    EXPECT_EQ(calls, (std::vector<std::string>{"exit", "fatal", "in", "last"}));
    EXPECT_EQ(screen().flushes(), 75);
    EXPECT_LT(frames, 90);
    EXPECT_EQ(shown(10, 10), 0);

    // A fade asked for from a fade's callback runs too.
    calls.clear();
    display->FadeIn([&] {
        calls.push_back("in");
        display->FadeOut([&] { calls.push_back("out"); });
    });
    runFades();
    EXPECT_EQ(calls, (std::vector<std::string>{"in", "out"}));
}

TEST_P(DisplayTest, CursorIsHiddenDuringAFadeAndShownAgainAfter) {
    display->ShowCursor();
    bool hiddenDuring = false;
    display->FadeOut([&] { hiddenDuring = !display->IsCursorVisible(); });
    frameClock.update();
    EXPECT_FALSE(display->IsCursorVisible());
    runFades();
    EXPECT_TRUE(hiddenDuring);
    EXPECT_TRUE(display->IsCursorVisible());

    display->HideCursor();
    display->FadeIn(nullptr);
    runFades();
    EXPECT_FALSE(display->IsCursorVisible());

    // Hiding or showing it during a fade decides what the end of the fades brings back.
    display->FadeIn(nullptr);
    display->FadeOut(nullptr);
    frameClock.update();
    display->ShowCursor();
    EXPECT_FALSE(display->IsCursorVisible());
    runFades();
    EXPECT_TRUE(display->IsCursorVisible());
    display->FadeOut(nullptr);
    frameClock.update();
    tick();
    display->HideCursor();
    runFades();
    EXPECT_FALSE(display->IsCursorVisible());
}

TEST_P(DisplayTest, FadesBeforeSetupEndAtOnceAndReleaseComesBack) {
    Display other(640, 480, 16);  // never set up
    int done = 0;
    other.FadeOut([&] { ++done; });
    other.FadeIn([&] { ++done; });
    EXPECT_EQ(done, 2);

    presentWhite();
    display->ReleaseExclusive();
    EXPECT_FALSE(screen().acquired());
    screen().fill(0);
    display->RestoreSurfaces();
    EXPECT_TRUE(screen().acquired());
    EXPECT_EQ(shown(639, 479), white());
}

TEST_P(DisplayTest, PaletteTimerCyclesColoursWhileActive) {
    test::MemoryPaletteFiles files;
    files.addEverything();
    const std::vector<resources::DLPalette::Range> range = {{1, 2}};
    files.files["GHOST.PAL"] = test::palFile(
        [](int i) {
            return test::Rgb{uint8_t(i * 8), 0, 0};
        },
        range);
    resources::PaletteManager palettes(files);
    const resources::DLPalette* ghost = palettes.GetPaletteByName("GHOST.PAL");
    const uint16_t one = ghost->GetColor(1);
    int hooks = 0;
    display->SetPaletteAnimationHook([&] {
        ++hooks;
        EXPECT_TRUE(palettes.IsAnimating());
    });
    display->StartTimers();
    platform.clock.advance(500);
    frameClock.update();
    EXPECT_EQ(hooks, 1);
    EXPECT_FALSE(palettes.IsAnimating());
    EXPECT_NE(ghost->GetColor(1), one);
    shell.active = false;
    platform.clock.advance(500);
    frameClock.update();
    EXPECT_EQ(hooks, 1);
}

TEST_P(DisplayTest, SavesThePresentedPictureAsPng) {
    presentWhite();
    const auto file = std::filesystem::temp_directory_path() /
                      ("vs_display_" + std::to_string(int(GetParam())) + ".png");
    ASSERT_TRUE(display->SaveScreenPng(file));
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.data() + 1, 3), "PNG");
    std::filesystem::remove(file);
    EXPECT_FALSE(display->SaveScreenPng("/nonexistent-dir/x.png"));
}

VS_INSTANTIATE_IN_BOTH_FORMATS(DisplayTest);

}  // namespace
}  // namespace vs::graphics
