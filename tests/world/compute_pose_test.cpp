#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "net/wire_fields.h"
#include "world/figure_fixture.h"

namespace vs::world {
namespace {

using test::PartRecord;

// Tables whose bases tell the entries apart: head h at 1000·h, body b at 200·b, sword i at 10·i,
// spear i at 5000 + 10·i, fan i at 6000 + 10·i, shield i at 7000 + 10·i. Every draw-order word
// is its row number, so a pose's word names its row.
test::FigureFiles poseFiles() {
    test::FigureFiles f;
    auto table = [](int n, int first, int step) {
        std::vector<PartRecord> r;
        for (int i = 0; i < n; ++i) r.push_back({i, i, first + step * i});
        return mkdata::partTableFile(r);
    };
    f.chars["HEAD.TBL"] = table(8, 0, 1000);
    f.chars["BODY.TBL"] = table(4, 0, 200);
    f.chars["SWORD.TBL"] = table(256, 0, 10);
    f.chars["SPEAR.TBL"] = table(10, 5000, 10);
    f.chars["FAN.TBL"] = table(10, 6000, 10);
    f.chars["SHIELD.TBL"] = table(3, 7000, 10);
    std::vector<std::string> words;
    for (int r = 0; r < 104; ++r) {
        char w[8];
        std::snprintf(w, sizeof w, "%04d", r);
        words.emplace_back(w);
    }
    f.words(words);
    return f;
}

DrawOrderWord row(int r) {
    char w[8];
    std::snprintf(w, sizeof w, "%04d", r);
    return {w[0], w[1], w[2], w[3]};
}
constexpr DrawOrderWord kNone{0, 0, 0, 0};
constexpr DrawOrderWord kGhostWord{'h', 0, 0, 0};
constexpr DrawOrderWord kEmotionWord{'b', 'h', 'w', 's'};

Appearance figure(uint16_t weapon, uint8_t shield = 0, uint8_t head = 2, uint8_t body = 1,
                  uint8_t state = 0) {
    Appearance a;
    a.head = head;
    a.body = body;
    a.weapon = weapon;
    a.shield = shield;
    a.state = state;
    return a;
}

struct PoseCase {
    const char* what;
    Appearance a;
    int d, motion, f, walk;
    Pose expected;
};

using enum HeadFile;
using C = WeaponClass;

// Head 2 (base 2000), body 1 (base 200) unless a case says otherwise.
const PoseCase kCases[] = {
    {"right, walking frame 3, sword",
     figure(5),
     1,
     0,
     0,
     3,
     {row(17), 2017, 217, 55, 7005, Head, C::Sword}},
    {"motion 1, spear, down, frame 1",
     figure(10003),
     2,
     1,
     1,
     0,
     {row(49), 2049, 249, 5047, 7017, Head, C::Spear}},
    {"emotion 24 facing left with head 7",
     figure(5, 0, 7),
     3,
     24,
     0,
     0,
     {row(99), 159, 299, -1, -1, Emotion, C::None}},
    {"weapon 255 standing is no weapon",
     figure(255),
     0,
     0,
     0,
     1,
     {row(1), 2001, 201, -1, 7001, Head, C::None}},
    {"weapon 255 in motion 1 is sword 255",
     figure(255),
     1,
     1,
     0,
     0,
     {row(26), 2026, 226, 2564, 7014, Head, C::Sword}},
    {"no shield", figure(5, 255), 0, 0, 0, 0, {row(12), 2012, 212, 50, -1, Head, C::Sword}},
    {"sword 9999 beyond its table",
     figure(9999),
     0,
     0,
     0,
     0,
     {row(12), 2012, 212, 0, 7000, Head, C::Sword}},
    {"spear 10000", figure(10000), 1, 0, 0, 2, {row(35), 2035, 235, 5003, 7003, Head, C::Spear}},
    {"spear 19999 beyond its table",
     figure(19999),
     0,
     0,
     0,
     0,
     {row(32), 2032, 232, 0, 7000, Head, C::Spear}},
    {"20000 carries no image",
     figure(20000),
     2,
     0,
     0,
     0,
     {row(58), 2058, 258, -1, 7006, Head, C::Unarmed}},
    {"29999 carries no image",
     figure(29999),
     0,
     1,
     1,
     0,
     {row(65), 2065, 265, -1, 7013, Head, C::Unarmed}},
    {"fan 30000", figure(30000), 3, 0, 0, 0, {row(21), 2021, 221, 6009, 7009, Head, C::Fan}},
    {"fan 39999 beyond its table",
     figure(39999),
     0,
     1,
     0,
     0,
     {row(24), 2024, 224, 12, 7012, Head, C::Fan}},
    {"40000 is none", figure(40000), 1, 0, 0, 0, {row(3), 2003, 203, -1, 7003, Head, C::None}},
    {"0xFFFF in motion 1 is none",
     figure(0xFFFF),
     0,
     1,
     1,
     0,
     {row(25), 2025, 225, -1, 7013, Head, C::None}},
    {"head beyond the table",
     figure(5, 0, 9),
     0,
     0,
     0,
     0,
     {row(12), -1, 212, 50, 7000, Head, C::Sword}},
    {"motion 2", figure(5), 3, 2, 1, 0, {row(31), 2031, 231, -1, -1, Head, C::None}},
    {"motion 3", figure(5), 1, 3, 0, 0, {row(66), 2066, 266, -1, -1, Head, C::None}},
    {"motion 4", figure(5), 2, 4, 0, 0, {row(78), 2078, 278, -1, -1, Head, C::None}},
    {"motion 5", figure(5), 0, 5, 0, 0, {row(76), 2076, 276, -1, -1, Head, C::None}},
    {"motion 6", figure(5), 3, 6, 0, 0, {row(75), 2075, 275, -1, -1, Head, C::None}},
    {"motion 7 sits", figure(5), 3, 7, 0, 0, {row(92), 2092, 292, -1, -1, Head, C::None}},
    {"motion 8 sits", figure(5), 1, 8, 0, 0, {row(92), 2092, 292, -1, -1, Head, C::None}},
    {"motion 9", figure(5), 1, 9, 0, 0, {row(97), 2097, 297, -1, -1, Head, C::None}},
    {"motion 10 kneels", figure(5), 2, 10, 0, 0, {row(93), 2093, 293, -1, -1, Head, C::None}},
    {"emotion 11", figure(5), 1, 11, 0, 0, {kEmotionWord, 40, 203, -1, -1, Emotion, C::None}},
    {"emotion 19", figure(5), 2, 19, 0, 0, {kEmotionWord, 48, 206, -1, -1, Emotion, C::None}},
    {"emotion 20", figure(5), 2, 20, 0, 0, {row(95), 49, 295, -1, -1, Emotion, C::None}},
    {"emotion 21", figure(5), 0, 21, 0, 0, {kEmotionWord, 50, 200, -1, -1, Emotion, C::None}},
    {"emotion 22, frame 3", figure(5), 0, 22, 3, 0, {row(103), 54, 303, -1, -1, Emotion, C::None}},
    {"emotion 23", figure(5), 3, 23, 0, 0, {kEmotionWord, 55, 209, -1, -1, Emotion, C::None}},
    {"ghost", figure(5, 0, 3, 1, 1), 2, 1, 0, 0, {kGhostWord, 3, -1, -1, -1, Ghost, C::None}},
    {"ghost with a head beyond the table",
     figure(5, 0, 8, 1, 1),
     0,
     0,
     0,
     0,
     {kGhostWord, 0, -1, -1, -1, Ghost, C::None}},
    {"hidden", figure(5, 0, 2, 1, 2), 0, 0, 0, 0, {}},
    {"plain walking: head and body from their own rows",
     figure(5, 0, 2, 1, 3),
     2,
     0,
     0,
     1,
     {row(87), 2087, 287, -1, -1, Head, C::None}},
    {"plain in motion 1 keeps its arms",
     figure(5, 0, 2, 1, 3),
     0,
     1,
     0,
     0,
     {row(24), 2024, 224, 62, 7012, Head, C::Sword}},
    {"state 6", figure(5, 0, 2, 1, 6), 0, 0, 0, 0, {}},
    {"pose 25", figure(5), 0, 25, 0, 0, {}},
    {"pose -1", figure(5), 0, -1, 0, 0, {}},
    {"direction 4", figure(5), 4, 0, 0, 0, {}},
    {"direction -1", figure(5), -1, 24, 0, 0, {}},
    {"walking frame 4", figure(5), 0, 0, 0, 4, {}},
    {"motion 1, frame 2", figure(5), 0, 1, 2, 0, {}},
    {"motion 3, frame -1", figure(5), 0, 3, -1, 0, {}},
    {"emotion 22, frame 4", figure(5), 0, 22, 4, 0, {}},
};

TEST(ComputePose, EveryPoseKindStateAndBoundary) {
    test::FigureLibs libs(poseFiles());
    for (const PoseCase& c : kCases) {
        const Pose p = libs.human->ComputePose(c.a, c.d, c.motion, c.f, c.walk);
        EXPECT_EQ(std::string(p.order.data(), 4), std::string(c.expected.order.data(), 4))
            << c.what;
        EXPECT_EQ(p.head, c.expected.head) << c.what;
        EXPECT_EQ(p.body, c.expected.body) << c.what;
        EXPECT_EQ(p.weapon, c.expected.weapon) << c.what;
        EXPECT_EQ(p.shield, c.expected.shield) << c.what;
        EXPECT_EQ(p.headFile, c.expected.headFile) << c.what;
        EXPECT_EQ(p.weaponClass, c.expected.weaponClass) << c.what;
    }
}

TEST(ComputePose, RowsBeyondTheDrawOrderTableReadBh00) {
    test::FigureFiles f = poseFiles();
    f.words(std::vector<std::string>(100, "wsbh"));
    test::FigureLibs libs(f);
    const Pose p = libs.human->ComputePose(figure(5), 0, 22, 0, 0);
    EXPECT_EQ(std::string(p.order.data(), 4), "bh00");
    EXPECT_EQ(std::string(libs.human->ComputePose(figure(5), 0, 0, 0, 0).order.data(), 4), "wsbh");
}

TEST(AppearanceRecord, BodyZeroIsThePlainBodyOfTheGender) {
    struct Case {
        uint8_t gender, body, expected;
    };
    for (const Case c : {Case{1, 0, 1}, Case{0, 0, 0}, Case{2, 0, 1}, Case{1, 3, 3}}) {
        const std::vector<uint8_t> wire = {0, c.gender, 0, 2, 0, c.body, 0, 0, 5, 0, 255, 0};
        net::WireReader in(wire);
        Appearance a;
        Appearance::fields(in, a);
        ASSERT_TRUE(in.ok());
        EXPECT_EQ(a.body, c.expected) << int(c.gender) << " " << int(c.body);
    }
}

}  // namespace
}  // namespace vs::world
