#include "net/face_picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "support/temp_dir.h"

namespace vs::net {
namespace {

namespace fs = std::filesystem;

class FacePictureTest : public testing::Test {
  protected:
    FacePictureTest() {
        tools.convert = [this](const fs::path& p, uint32_t waitMs) {
            converted.push_back(p.filename().string());
            EXPECT_EQ(waitMs, 10000u);
            return converterStarts;
        };
        tools.isPicture = [](std::span<const uint8_t> b, int w, int h) {
            return w == 56 && h == 48 && b.size() >= 3 && b[0] == 'J' && b[1] == 'P' && b[2] == 'F';
        };
    }
    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    test::TempDir dir{"face"};
    FacePictureTools tools;
    std::vector<std::string> converted;
    bool converterStarts = true;
};

TEST_F(FacePictureTest, ConvertsTheFirstPictureFoundAndSendsTheResult) {
    put("alice.pnm", "p");
    put("alice.jpg", "j");
    put("alice.jpf", "JPF picture");
    const auto face = facePicture(u"alice", u"Hello", tools, dir.path());
    EXPECT_EQ(converted, (std::vector<std::string>{"alice.jpg"}));
    EXPECT_FALSE(face.converterFailed);
    EXPECT_EQ(face.command.picture, (Bytes{'J', 'P', 'F', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
    EXPECT_EQ(face.command.profile, u"Hello");
}

TEST_F(FacePictureTest, NoPictureWhenMissingTooLargeOrNotAFacePicture) {
    EXPECT_TRUE(facePicture(u"bob", u"", tools, dir.path()).command.picture.empty());
    put("bob.jpf", "JPF" + std::string(9997, 'x'));  // 10000 bytes
    EXPECT_TRUE(facePicture(u"bob", u"", tools, dir.path()).command.picture.empty());
    put("bob.jpf", "JPF" + std::string(9996, 'x'));  // 9999 bytes
    EXPECT_EQ(facePicture(u"bob", u"", tools, dir.path()).command.picture.size(), 9999u);
    put("bob.jpf", "BM not a jpf");
    EXPECT_TRUE(facePicture(u"bob", u"", tools, dir.path()).command.picture.empty());
    EXPECT_TRUE(converted.empty());
}

TEST_F(FacePictureTest, AConverterThatCannotStartIsReported) {
    converterStarts = false;
    put("carol.bmp", "b");
    EXPECT_TRUE(facePicture(u"carol", u"", tools, dir.path()).converterFailed);
}

TEST_F(FacePictureTest, NamesUnfitForAFileNameTouchNoFile) {
    fs::create_directories(dir / "sub");
    put("sub/x.jpf", "JPF");
    put("x.bmp", "b");
    for (const char16_t* name : {u"../x", u"sub/x", u"", u"a\u0001b"}) {
        const auto face = facePicture(name, u"p", tools, dir / "sub");
        EXPECT_TRUE(face.command.picture.empty());
        EXPECT_EQ(face.command.profile, u"p");
    }
    EXPECT_TRUE(converted.empty());
}

}  // namespace
}  // namespace vs::net
