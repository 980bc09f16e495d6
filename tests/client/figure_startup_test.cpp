// Start-up with the character tables: a missing one ends it with the file's name.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "client/application.h"
#include "client/client_fixture.h"
#include "mkdata/data_set.h"
#include "resources/archive_format.h"

namespace vs::client {
namespace {

namespace fs = std::filesystem;
namespace af = resources::archive_format;

// Renames an entry in a written archive by overwriting its name in the entry table.
void renameEntry(const fs::path& archive, const char* from, const char* to) {
    std::vector<uint8_t> bytes(fs::file_size(archive));
    FILE* f = std::fopen(archive.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
    const uint32_t count = uint32_t(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24);
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) {
        char* name = reinterpret_cast<char*>(&bytes[af::entryAt(i) + 4]);
        if (std::strcmp(name, from) == 0) std::strcpy(name, to), found = true;
    }
    ASSERT_TRUE(found) << from;
    mkdata::writeFile(archive, bytes);
}

class FigureStartup : public test::ClientFixture {};

TEST_F(FigureStartup, WithoutHeadTblStartUpEnds) {
    renameEntry(dataDir() / "CHAR.DAT", "HEAD.TBL", "HEAD.TBX");
    bool reached = false;
    onStep = [&](std::string_view step) { reached = reached || step == "first screen"; };
    options.smokeTest = true;
    EXPECT_EQ(runApplication(options), 0);
    EXPECT_FALSE(reached);
    ASSERT_FALSE(hp.messageBox.shown().empty());
    EXPECT_EQ(hp.messageBox.shown().back().text, u"File not found : HEAD.TBL");
}

}  // namespace
}  // namespace vs::client
