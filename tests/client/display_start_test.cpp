#include <gtest/gtest.h>

#include <memory>

#include "app/frame_clock.h"
#include "app/settings.h"
#include "client/application.h"
#include "client/client_fixture.h"
#include "graphics/display.h"
#include "resources/palette_manager.h"

namespace vs::client {
namespace {

class ClientDisplayTest : public test::ClientFixture {
protected:
    ClientDisplayTest() { client_ = std::make_unique<GameClient>(options); }
    void send(uint32_t id, uint64_t w = 0) {
        platform::Message m(id, w);
        client_->windowProc(m);
    }
    // Lets `ms` of program time pass in frame steps of 5 ms.
    void run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 5) {
            hp.clock.advance(5);
            client_->frameStep();
        }
    }
    uint16_t shown(int x, int y) { return hp.screen.pixels()[y * 640 + x]; }

    app::FrameClock frameClock_{hp.clock};
    std::unique_ptr<GameClient> client_;
};

TEST_F(ClientDisplayTest, StartUpFocusAndExitGoThroughTheDisplay) {
    client_->startUp();
    auto* display = graphics::Display::instance();
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->IsSetUp());
    EXPECT_TRUE(hp.screen.acquired());
    EXPECT_EQ(display->Layers().size(), 6u);
    EXPECT_NE(resources::PaletteManager::instance(), nullptr);
    EXPECT_TRUE(hp.window.visible());
    EXPECT_EQ(hp.screen.chosen565(), 1);

    display->BackBuffer().fill({0, 0, 640, 480}, 0x1234);
    display->MarkDirty({0, 0, 640, 480});
    run(10);
    EXPECT_EQ(shown(100, 100), 0x1234);

    // Losing the focus gives the screen back and stops the presents until the focus returns.
    send(platform::kWmActivateApp, 0);
    EXPECT_FALSE(client_->isActive());
    EXPECT_FALSE(hp.screen.acquired());
    display->BackBuffer().fill({0, 0, 10, 10}, 0x0777);
    display->MarkDirty({0, 0, 10, 10});
    hp.screen.clearRecord();
    run(50);
    EXPECT_TRUE(hp.screen.blits().empty());
    hp.screen.fill(0);  // whatever the desktop drew meanwhile
    send(platform::kWmActivateApp, 1);
    EXPECT_TRUE(hp.screen.acquired());
    EXPECT_EQ(shown(100, 100), 0x1234);
    run(10);
    EXPECT_EQ(shown(5, 5), 0x0777);

    // The exit fades the screen out over about half a second, then the main loop ends.
    const uint32_t start = hp.clock.nowMs();
    hp.screen.clearRecord();
    client_->requestExit();
    client_->runMainLoop();
    const uint32_t took = hp.clock.nowMs() - start;
    EXPECT_GE(took, 480u);
    EXPECT_LE(took, 560u);
    EXPECT_EQ(hp.screen.flushes(), 26);  // the fade's steps, and the cursor taken off before them
    EXPECT_EQ(shown(100, 100), 0);
    EXPECT_TRUE(client_->isQuitting());
    // The window's mode as the player left it (Alt+Enter) is what the settings keep.
    hp.window.setMode({2, true});
    client_->shutDown();
    EXPECT_EQ(hp.settings.getDword(app::Settings::kUserKey, "Fullscreen"), 1u);
    EXPECT_EQ(graphics::Display::instance(), nullptr);
    EXPECT_FALSE(hp.screen.acquired());
}

TEST_F(ClientDisplayTest, TheChosenFormatReachesTheScreenAndDetectionReadsItBack) {
    client_.reset();
    options.pixelFormat = 555;
    hp.screen.setNative565(false);  // what a screen that follows the choice then stores
    GameClient client(options);
    client.startUp();
    EXPECT_EQ(hp.screen.chosen565(), 0);
    EXPECT_EQ(graphics::Display::instance()->pixelFormat(), resources::PixelFormat::k555);
    EXPECT_EQ(resources::PaletteManager::instance()->GetBasePalette()->GetColor(128) & 0x8000, 0);
    client.shutDown();
}

}  // namespace
}  // namespace vs::client
