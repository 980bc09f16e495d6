#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// Besides what the test uses: GameClient's inherited constructor is inline, so its members must be
// complete types here.
#include "app/frame_clock.h"
#include "app/idle_watcher.h"
#include "app/outgoing_text_filter.h"
#include "client/application.h"
#include "graphics/display.h"
#include "platform/headless/headless_platform.h"
#include "resources/palette_manager.h"
#include "ui/layer.h"
#include "world/effect_image_lib.h"
#include "world/human_image_lib.h"
#include "world/item_image_lib.h"
#include "world/light_image_lib.h"
#include "world/monster_image_lib.h"
#include "world/static_obj_image_lib.h"
#include "world/tile_image_lib.h"

namespace vs::client {
namespace {

namespace fs = std::filesystem;

class ClientDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vs_client_display_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        cwd_ = fs::current_path();
        // The single-instance lock of this test only.
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
        app::LaunchOptions options;
        options.dataDir = dir_.string();
        client_ = std::make_unique<GameClient>(options);
    }
    void TearDown() override {
        client_.reset();
        fs::current_path(cwd_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void send(uint32_t id, uint64_t w = 0) {
        platform::Message m(id, w);
        client_->windowProc(m);
    }
    // Lets `ms` of program time pass in frame steps of 5 ms.
    void run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 5) {
            platform_.clock.advance(5);
            client_->frameStep();
        }
    }
    uint16_t shown(int x, int y) { return platform_.screen.pixels()[y * 640 + x]; }

    platform::HeadlessPlatform platform_;
    app::FrameClock frameClock_{platform_.clock};
    fs::path dir_, cwd_;
    std::unique_ptr<GameClient> client_;
};

TEST_F(ClientDisplayTest, StartUpFocusAndExitGoThroughTheDisplay) {
    client_->startUp();
    auto* display = graphics::Display::instance();
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->IsSetUp());
    EXPECT_TRUE(platform_.screen.acquired());
    EXPECT_EQ(display->Layers().size(), 6u);
    EXPECT_NE(resources::PaletteManager::instance(), nullptr);
    EXPECT_TRUE(platform_.window.visible());

    display->BackBuffer().fill({0, 0, 640, 480}, 0x1234);
    display->MarkDirty({0, 0, 640, 480});
    run(10);
    EXPECT_EQ(shown(100, 100), 0x1234);

    // Losing the focus gives the screen back and stops the presents until the focus returns.
    send(platform::kWmActivateApp, 0);
    EXPECT_FALSE(client_->isActive());
    EXPECT_FALSE(platform_.screen.acquired());
    display->BackBuffer().fill({0, 0, 10, 10}, 0x0777);
    display->MarkDirty({0, 0, 10, 10});
    platform_.screen.clearRecord();
    run(50);
    EXPECT_TRUE(platform_.screen.blits().empty());
    platform_.screen.fill(0);  // whatever the desktop drew meanwhile
    send(platform::kWmActivateApp, 1);
    EXPECT_TRUE(platform_.screen.acquired());
    EXPECT_EQ(shown(100, 100), 0x1234);
    run(10);
    EXPECT_EQ(shown(5, 5), 0x0777);

    // The exit fades the screen out over about half a second, then the main loop ends.
    const uint32_t start = platform_.clock.nowMs();
    platform_.screen.clearRecord();
    client_->requestExit();
    client_->runMainLoop();
    const uint32_t took = platform_.clock.nowMs() - start;
    EXPECT_GE(took, 480u);
    EXPECT_LE(took, 560u);
    EXPECT_EQ(platform_.screen.flushes(), 25);
    EXPECT_EQ(shown(100, 100), 0);
    EXPECT_TRUE(client_->isQuitting());
    client_->shutDown();
    EXPECT_EQ(graphics::Display::instance(), nullptr);
    EXPECT_FALSE(platform_.screen.acquired());
}

}  // namespace
}  // namespace vs::client
