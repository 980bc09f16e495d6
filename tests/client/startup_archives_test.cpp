// Start-up on a data directory: the archives it mounts, the ones it cannot do without, and the
// window title from the string table.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/error.h"
#include "app/password_guard.h"
#include "client/application.h"
#include "client/client_fixture.h"
#include "mkdata/archive_writer.h"
#include "mkdata/data_set.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/string_table.h"

namespace vs::client {
namespace {

namespace fs = std::filesystem;

// The data directory's parent holds no archives, so the "../" fallback finds nothing here.
class StartupArchives : public test::ClientFixture {
  protected:
    // Runs the program until its first screen, where `look` sees it running, then out again.
    int run(std::function<void()> look = {}) {
        onStep = [this, look](std::string_view step) {
            if (step != "first screen") return;
            reachedFirstScreen_ = true;
            if (look) look();
        };
        options.smokeTest = true;
        return runApplication(options);
    }
    void writeArchive(const std::string& name, mkdata::ArchiveWriter archive) {
        mkdata::writeFile(dataDir() / name, archive.build());
    }
    bool reachedFirstScreen_ = false;
};

TEST_F(StartupArchives, StartsOnTheDemoDataWithItsTitleAndStrings) {
    int strings = 0;
    std::u16string warning;
    EXPECT_EQ(run([&] {
                  auto* table = resources::StringTable::instance();
                  ASSERT_NE(table, nullptr);
                  strings = table->count();
                  EXPECT_TRUE(Application::instance()->soundArchivePresent());
                  // The password warning comes from the archives.
                  app::PasswordGuard::storePassword(u"hunter2");
                  try {
                      app::PasswordGuard::checkOutgoing(u"it is hunter2");
                      ADD_FAILURE() << "sent";
                  } catch (const app::PasswordError& e) {
                      warning = e.text();
                  }
                  app::PasswordGuard::storePassword(u"");
              }),
              0);
    EXPECT_TRUE(reachedFirstScreen_);
    EXPECT_GT(strings, 200);
    EXPECT_EQ(warning,
              u"Your message holds your password, so it was not sent.\nNever tell anyone your "
              u"password.\n");
    EXPECT_EQ(hp.window.title(), u"Vestrel");
    EXPECT_TRUE(hp.messageBox.shown().empty());
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
    const fs::path kept = dataDir() / "kept";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        const fs::path file = dataDir() / c.archive;
        fs::copy_file(file, kept, fs::copy_options::overwrite_existing);
        if (c.remove) {
            fs::remove(file);
        } else {
            fs::resize_file(file, 3);
        }
        const size_t before = hp.messageBox.shown().size();
        EXPECT_EQ(run(), 0);
        EXPECT_FALSE(reachedFirstScreen_);
        EXPECT_FALSE(hp.window.isCreated());
        ASSERT_EQ(hp.messageBox.shown().size(), before + 1);
        EXPECT_EQ(hp.messageBox.shown().back().text, c.text);
        EXPECT_EQ(hp.messageBox.shown().back().caption, u"Aborted");
        fs::rename(kept, file);
    }
}

TEST_F(StartupArchives, PrefersMuhOverMusForEachNumberAndSkipsDamagedOptionalOnes) {
    writeArchive("MUH000.DAT", std::move(mkdata::ArchiveWriter().add("SONG0.TXT", "muh")));
    writeArchive("MUS000.DAT",
                 std::move(mkdata::ArchiveWriter().add("SONG0.TXT", "mus").add("ONLYMUS0", "x")));
    writeArchive("MUS001.DAT", std::move(mkdata::ArchiveWriter().add("SONG1.TXT", "mus1")));
    writeArchive("MUS999.DAT", std::move(mkdata::ArchiveWriter().add("SONG999", "last")));
    fs::resize_file(dataDir() / "SND.DAT", 2);  // optional: left out, the start goes on
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
