#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/crash_reporter.h"
#include "app/event_dispatcher.h"
#include "app/idle_watcher.h"
#include "app/input_man.h"
#include "app/outgoing_text_filter.h"
#include "app/settings.h"
#include "audio/midi_player.h"
#include "audio/sound_man.h"
#include "base/text.h"
#include "client/application.h"
#include "graphics/ddraw_device.h"
#include "graphics/display.h"
#include "graphics/font_cache.h"
#include "net/connection.h"
#include "patch/patch_downloader.h"
#include "platform/headless/headless_platform.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "resources/string_table.h"
#include "ui/close_list.h"
#include "ui/ime_man.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"
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
constexpr std::string_view kKey = app::Settings::kUserKey;

class SettingsStartupTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("vs-startup-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
        base::CodePage::setCurrent("WINDOWS-1252");
    }
    // One run of the program up to its first screen, and its shutdown.
    void run(app::LaunchOptions options) {
        options.dataDir = dir_.string();
        GameClient client(options);
        client.startUp();
        mode_ = platform_.window.mode();
        codePage_ = base::CodePage::current().name();
        client.shutDown();
    }

    platform::HeadlessPlatform platform_;
    fs::path previous_, dir_;
    platform::WindowMode mode_;
    std::string codePage_;
};

TEST_F(SettingsStartupTest, WindowOptionsAreRememberedAndTheOthersHoldForOneRun) {
    app::LaunchOptions first;
    first.scale = 3;
    first.fullscreen = true;
    run(first);
    EXPECT_EQ(mode_.scale, 3);
    EXPECT_TRUE(mode_.fullscreen);
    auto& store = platform_.settings;
    EXPECT_EQ(store.getDword(kKey, "WindowScale"), 3u);
    EXPECT_EQ(store.getString(app::Settings::kMachineKey, "Marvupath").has_value(), true);

    run({});
    EXPECT_EQ(mode_.scale, 3);
    EXPECT_TRUE(mode_.fullscreen);

    // A stored code page is in force before the string tables load; an option wins for its run
    // and leaves the stored one alone.
    store.setString(kKey, "CodePage", u"949");
    run({});
    EXPECT_EQ(codePage_, "CP949");
    base::CodePage::setCurrent("WINDOWS-1252");
    app::LaunchOptions withOption;
    withOption.codepage = "1252";
    withOption.fullscreen = false;
    base::CodePage::setCurrent("1252");  // as the entry point does for --codepage
    run(withOption);
    EXPECT_EQ(codePage_, "WINDOWS-1252");
    EXPECT_FALSE(mode_.fullscreen);
    EXPECT_EQ(store.getString(kKey, "CodePage"), u"949");
    EXPECT_EQ(store.getDword(kKey, "Fullscreen"), 0u);
}

}  // namespace
}  // namespace vs::client
