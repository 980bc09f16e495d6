// Loose files: lines, sizes and failures on a real file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/error.h"
#include "resources/disk_file.h"
#include "support/temp_dir.h"

namespace vs::resources {
namespace {

namespace fs = std::filesystem;

class DiskFileTest : public testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    test::TempDir dir_{"disk_file"};
};

TEST_F(DiskFileTest, ReadsLinesUpToEndOr0xFF) {
    DiskFile f;
    f.Open(write("lines.txt", "one\r\ntwo\rthree\n\nfour\xFFgone"));
    std::vector<std::string> got;
    std::string line;
    while (f.ReadLine(line)) got.push_back(line);
    EXPECT_EQ(got, (std::vector<std::string>{"one", "two", "three", "", "four", "gone"}));
    EXPECT_EQ(f.GetSize(), 25);
}

TEST_F(DiskFileTest, ReadLineIntoBufferStopsAtCapacity) {
    DiskFile f;
    f.Open(write("b.txt", "abcdef\nxy"));
    char buf[4];
    EXPECT_EQ(f.ReadLine(buf, 4), -1);  // "abcd" fills the buffer
    EXPECT_EQ(f.ReadLine(buf, 4), 2);   // the rest of that line
    EXPECT_EQ(std::string(buf, 2), "ef");
    EXPECT_EQ(f.ReadLine(buf, 4), 2);
    EXPECT_EQ(f.ReadLine(buf, 4), -1);
}

TEST_F(DiskFileTest, SeekReadAllAndClose) {
    DiskFile f;
    f.Open(write("d.bin", "0123456789"));
    EXPECT_TRUE(f.Seek(-3, 2));
    EXPECT_EQ(f.GetPos(), 7);
    std::vector<uint8_t> rest;
    EXPECT_EQ(f.ReadAll(rest), 3);
    EXPECT_EQ(std::string(rest.begin(), rest.end()), "789");
    EXPECT_TRUE(f.Seek(2, 0));
    EXPECT_TRUE(f.Seek(1, 1));
    char c = 0;
    EXPECT_EQ(f.Read(&c, 1), 1);
    EXPECT_EQ(c, '3');
    EXPECT_FALSE(f.Seek(0, 5));
    EXPECT_EQ(f.Close(), 1);
    EXPECT_EQ(f.Close(), 0);
    EXPECT_EQ(f.GetPos(), -1);
    EXPECT_EQ(f.Read(&c, 1), 0);
}

TEST_F(DiskFileTest, MissingFileIsAFileError) {
    EXPECT_FALSE(FileExists(dir_ / "none"));
    EXPECT_TRUE(FileExists(write("here", "")));
    DiskFile f;
    try {
        f.Open("no/such/file");
        FAIL();
    } catch (const app::FileError& e) {
        EXPECT_EQ(e.text(), u"File not found : no/such/file");
    }
    EXPECT_FALSE(f.IsOpen());
}

}  // namespace
}  // namespace vs::resources
