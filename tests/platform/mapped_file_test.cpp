// The memory-mapped file backend on a real file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/mapped_file.h"
#include "support/temp_dir.h"

namespace vs::platform {
namespace {

namespace fs = std::filesystem;

TEST(SystemFileMapper, MapsWholeFilesAndTellsOpenFromMapFailures) {
    const test::TempDir dir("mapped_file");
    std::ofstream(dir / "data.bin", std::ios::binary) << "archive bytes";
    std::ofstream(dir / "empty.bin", std::ios::binary);
    FileMapper& mapper = systemFileMapper();

    MapResult r = mapper.map(dir / "data.bin");
    ASSERT_EQ(r.status, MapResult::Status::Mapped);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.file->data()), r.file->size()),
              "archive bytes");

    MapResult empty = mapper.map(dir / "empty.bin");
    ASSERT_EQ(empty.status, MapResult::Status::Mapped);
    EXPECT_EQ(empty.file->size(), 0u);

    for (const fs::path& p : {dir / "missing.bin", dir.path()}) {
        SCOPED_TRACE(p.string());
        MapResult bad = mapper.map(p);
        EXPECT_EQ(bad.status, MapResult::Status::OpenFailed);
        EXPECT_NE(bad.error, 0);
        EXPECT_EQ(bad.file, nullptr);
    }
    EXPECT_TRUE(mapper.exists(dir / "data.bin"));
    EXPECT_FALSE(mapper.exists(dir / "missing.bin"));
}

}  // namespace
}  // namespace vs::platform
