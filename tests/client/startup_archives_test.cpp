// Start-up on a data directory: the archives it mounts, the ones it cannot do without, and the
// window title from the string table. The program runs headless through runApplication.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/launch_options.h"
#include "client/application.h"
#include "mkdata/archive_writer.h"
#include "mkdata/content.h"
#include "mkdata/data_set.h"
#include "platform/headless/headless_platform.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/string_table.h"
#include "support/temp_dir.h"

namespace vs::client {
namespace {

namespace fs = std::filesystem;

class StartupArchives : public testing::Test {
  protected:
    static constexpr const char* kIsolated[] = {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME",
                                                "XDG_STATE_HOME", "XDG_DATA_HOME"};

    void SetUp() override {
        data_ = root_ / "data";  // its parent, root_, holds no archives: "../" finds nothing
        // Nothing of this run may touch the user's own directories, nor another test's lock.
        for (const char* var : kIsolated) {
            const char* old = std::getenv(var);
            saved_.push_back(old ? std::optional<std::string>(old) : std::nullopt);
            const fs::path dir = root_ / var;
            fs::create_directories(dir);
            ::setenv(var, dir.c_str(), 1);
        }
        cwd_ = fs::current_path();
        mkdata::DataSet demo;
        mkdata::buildDemoData(demo);
        demo.write(data_);
    }
    void TearDown() override {
        Application::setTrace({});
        fs::current_path(cwd_);
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i])
                ::setenv(kIsolated[i], saved_[i]->c_str(), 1);
            else
                ::unsetenv(kIsolated[i]);
        }
    }

    // Runs the program on the data directory; `atFirstScreen` looks at the running program.
    int run(std::function<void()> atFirstScreen = {}) {
        Application::setTrace([&](std::string_view what) {
            if (what == "first screen" && atFirstScreen) {
                reachedFirstScreen_ = true;
                atFirstScreen();
            }
        });
        app::LaunchOptions options;
        options.dataDir = data_.string();
        options.smokeTest = true;  // leaves on its own once the first screen is up
        return runApplication(options);
    }

    void writeArchive(const std::string& name, mkdata::ArchiveWriter archive) {
        mkdata::writeFile(data_ / name, archive.build());
    }

    platform::HeadlessPlatform platform_;
    test::TempDir root_{"startup"};
    fs::path data_, cwd_;
    std::vector<std::optional<std::string>> saved_;
    bool reachedFirstScreen_ = false;
};

TEST_F(StartupArchives, StartsOnTheDemoDataWithItsTitleAndStrings) {
    int strings = 0;
    EXPECT_EQ(run([&] {
                  auto* table = resources::StringTable::instance();
                  ASSERT_NE(table, nullptr);
                  strings = table->count();
                  EXPECT_TRUE(Application::instance()->soundArchivePresent());
              }),
              0);
    EXPECT_TRUE(reachedFirstScreen_);
    EXPECT_GT(strings, 200);
    EXPECT_EQ(platform_.window.title(), u"Vestrel");
    EXPECT_TRUE(platform_.messageBox.shown().empty());
}

TEST_F(StartupArchives, AMissingOrDamagedRequiredArchiveAborts) {
    struct Case {
        const char* archive;
        bool remove;  // else its header is cut short
        std::u16string text;
    } cases[] = {
        {"CHAR.DAT", true, u"File not found : CHAR.DAT"},
        {"NINT.DAT", true, u"File not found : NINT.DAT"},
        {"TILE.DAT", false, u"Invalid archive : TILE.DAT (3 bytes, too short for an entry count)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        const fs::path file = data_ / c.archive;
        const fs::path keep = root_ / "kept";
        fs::copy_file(file, keep, fs::copy_options::overwrite_existing);
        if (c.remove) {
            fs::remove(file);
        } else {
            fs::resize_file(file, 3);
        }
        const size_t before = platform_.messageBox.shown().size();
        EXPECT_EQ(run([] {}), 0);
        EXPECT_FALSE(reachedFirstScreen_);
        EXPECT_FALSE(platform_.window.isCreated());
        ASSERT_EQ(platform_.messageBox.shown().size(), before + 1);
        EXPECT_EQ(platform_.messageBox.shown().back().text, c.text);
        EXPECT_EQ(platform_.messageBox.shown().back().caption, u"Aborted");
        fs::current_path(cwd_);
        fs::copy_file(keep, file, fs::copy_options::overwrite_existing);
    }
}

TEST_F(StartupArchives, PrefersMuhOverMusForEachNumberAndSkipsDamagedOptionalOnes) {
    writeArchive("MUH000.DAT", std::move(mkdata::ArchiveWriter().add("SONG0.TXT", "muh")));
    writeArchive("MUS000.DAT",
                 std::move(mkdata::ArchiveWriter().add("SONG0.TXT", "mus").add("ONLYMUS0", "x")));
    writeArchive("MUS001.DAT", std::move(mkdata::ArchiveWriter().add("SONG1.TXT", "mus1")));
    writeArchive("MUS999.DAT", std::move(mkdata::ArchiveWriter().add("SONG999", "last")));
    fs::resize_file(data_ / "SND.DAT", 2);  // optional: left out, the start goes on
    EXPECT_EQ(run([] {
                  auto* am = resources::ArchiveManager::instance();
                  ASSERT_NE(am, nullptr);
                  resources::DATFile song("SONG0.TXT");
                  std::string text;
                  song.ReadLine(text);
                  EXPECT_EQ(text, "muh");
                  EXPECT_FALSE(am->Exists("ONLYMUS0"));  // MUS000.DAT was never mounted
                  EXPECT_TRUE(am->Exists("SONG1.TXT"));
                  EXPECT_TRUE(am->Exists("SONG999"));
                  EXPECT_FALSE(Application::instance()->soundArchivePresent());
              }),
              0);
    EXPECT_TRUE(reachedFirstScreen_);
}

}  // namespace
}  // namespace vs::client
