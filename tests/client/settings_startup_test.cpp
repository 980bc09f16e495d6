#include <gtest/gtest.h>

#include "app/settings.h"
#include "base/text.h"
#include "client/application.h"
#include "client/client_fixture.h"

namespace vs::client {
namespace {

constexpr std::string_view kKey = app::Settings::kUserKey;

class SettingsStartupTest : public test::ClientFixture {
protected:
    ~SettingsStartupTest() override { base::CodePage::setCurrent("WINDOWS-1252"); }
    // One run of the program: start-up, a moment of its main loop, the window closed.
    void run(app::LaunchOptions o) {
        o.dataDir = options.dataDir;
        hp.window.postAt(hp.clock.nowMs() + 100, platform::Message(platform::kWmClose));
        EXPECT_EQ(runApplication(o), 0);
        EXPECT_TRUE(traced("save settings"));
    }
    platform::MemorySettingsStore& store = hp.settings;
};

TEST_F(SettingsStartupTest, WindowOptionsAreRememberedAndTheOthersHoldForOneRun) {
    app::LaunchOptions first;
    first.scale = 3;
    first.fullscreen = true;
    run(first);
    EXPECT_EQ(hp.window.mode().scale, 3);
    EXPECT_TRUE(hp.window.mode().fullscreen);
    EXPECT_EQ(store.getDword(kKey, "WindowScale"), 3u);
    EXPECT_TRUE(store.getString(app::Settings::kMachineKey, "Marvupath"));

    hp.window.setMode({});
    run({});
    EXPECT_EQ(hp.window.mode().scale, 3);
    EXPECT_TRUE(hp.window.mode().fullscreen);

    // A stored code page is in force before the string tables load.
    store.setString(kKey, "CodePage", u"949");
    run({});
    EXPECT_EQ(base::CodePage::current().name(), "CP949");

    // An option wins for its run and leaves the stored value alone.
    base::CodePage::setCurrent("1252");  // as the entry point does for --codepage
    app::LaunchOptions withOptions;
    withOptions.codepage = "1252";
    withOptions.fullscreen = false;
    run(withOptions);
    EXPECT_EQ(base::CodePage::current().name(), "WINDOWS-1252");
    EXPECT_FALSE(hp.window.mode().fullscreen);
    EXPECT_EQ(store.getString(kKey, "CodePage"), u"949");
    EXPECT_EQ(store.getDword(kKey, "Fullscreen"), 0u);
}

}  // namespace
}  // namespace vs::client
