// The mouse cursors: "CURSOR.TBL" (seven shapes), their animated frames in "CURSOR01.EPF" and
// their colours in "CURSOR01.PAL". Each shape is drawn from a picture below; its frames add a
// moving glint, falling sand or a small bob so that the cursor is seen to be alive.
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/epf_writer.h"
#include "mkdata/palette_writer.h"

namespace {

using namespace vs::mkdata;

constexpr int kSide = 16;
constexpr int kFrames = 4;

// Colour indices of the cursor palette; 0 stays transparent (and black would be too, so the
// outline is a very dark grey).
enum : uint8_t {
    kClear = 0,
    kLine = 1,
    kWhite = 2,
    kGrey = 3,
    kGold = 4,
    kDarkGold = 5,
    kSteel = 6,
    kWood = 7,
    kRed = 8,
    kGlint = 9,
    kSand = 10,
    kGlass = 11
};

uint8_t colourOf(char c) {
    switch (c) {
        case 'o':
            return kLine;
        case 'w':
            return kWhite;
        case 'g':
            return kGrey;
        case 'y':
            return kGold;
        case 'd':
            return kDarkGold;
        case 's':
            return kSteel;
        case 'b':
            return kWood;
        case 'r':
            return kRed;
        case 'a':
            return kSand;
        case 'c':
            return kGlass;
        default:
            return kClear;
    }
}

using Picture = std::array<std::string_view, kSide>;

constexpr Picture kArrow = {
    "o...............", "oo..............", "owo.............", "owwo............",
    "owwwo...........", "owwwwo..........", "owwwwwo.........", "owwwwwwo........",
    "owwwwwwwo.......", "owwwwwwwwo......", "owwwwwooooo.....", "owwowwo.........",
    "owo.owwo........", "oo..owwo........", "o....owwo.......", ".....oooo.......",
};
constexpr Picture kHand = {
    "......oo........", ".....owwo.......", ".....owwo.......", ".....owwo.......",
    ".....owwooo.....", ".....owwowwooo..", "..oo.owwowwowwo.", ".owwoowwwwwowwwo",
    ".owwwowwwwwwwwwo", "..owwwwwwwwwwwwo", "...owwwwwwwwwwo.", "...owwwwwwwwwwo.",
    "....owwwwwwwwo..", "....owwwwwwwwo..", ".....owwwwwwo...", ".....oooooooo...",
};
constexpr Picture kSword = {
    "oo..............", "osso............", "oswso...........", ".oswso..........",
    "..oswso.........", "...oswso........", "....oswso.......", ".....oswso......",
    "......oswso.oo..", ".......oswsoyo..", "........oswyo...", ".........oyyo...",
    "........oyoobbo.", ".......oyo..obbo", "........o....obo", ".............oo.",
};
constexpr Picture kBusy = {
    "oooooooooooo....", "obbbbbbbbbbo....", ".occcccccco.....", ".oaaaaaaaao.....",
    "..oaaaaaao......", "...oaaaao.......", "....oaao........", ".....oo.........",
    ".....oo.........", "....occo........", "...occcco.......", "..occcccco......",
    ".occcccccco.....", ".occcccccco.....", "obbbbbbbbbbo....", "oooooooooooo....",
};
constexpr Picture kTalk = {
    "..oooooooooo....", ".owwwwwwwwwwo...", "owwwwwwwwwwwwo..", "owwggwwggwwgwo..",
    "owwwwwwwwwwwwo..", "owwwwwwwwwwwwo..", ".owwwwwwwwwwo...", "..ooooowwooo....",
    "......owo.......", ".....owo........", "....oo..........", "................",
    "................", "................", "................", "................",
};
constexpr Picture kGrab = {
    "................", "................", "................", "....oo.oo.oo....",
    "...owwowwowwo...", "..oowwowwowwoo..", ".owwowwwwwwwwwo.", ".owwwwwwwwwwwwo.",
    "..owwwwwwwwwwwo.", "..owwwwwwwwwwo..", "...owwwwwwwwwo..", "...owwwwwwwwo...",
    "....owwwwwwwo...", "....owwwwwwwo...", ".....ooooooo....", "................",
};
constexpr Picture kLook = {
    "...oooo.........", "..occcco........", ".occwccccco......", "occwccccco......",
    "occcccccco......", "occcccccco......", ".occcccco.......",  "..occcco........",
    "...oooodo.......", ".......oddo.....", "........oddo....",  ".........oddo...",
    "..........oddo..", "...........oddo.", "............oo..",  "................",
};

struct Shape {
    const Picture* picture;
    int hotY, hotX;
};
// Type by type: pointer, hand (something to use), sword (attack), busy, talk, grab (pick up),
// look.
constexpr Shape kShapes[] = {
    {&kArrow, 0, 0}, {&kHand, 0, 6}, {&kSword, 0, 0}, {&kBusy, 7, 5},
    {&kTalk, 9, 6},  {&kGrab, 8, 8}, {&kLook, 4, 4},
};

SpriteFrame frameOf(const Shape& shape, int type, int k) {
    SpriteFrame f(0, 0, kSide, kSide);
    const Picture& pic = *shape.picture;
    // The hand and the grabbing hand bob by one pixel; the others stay put.
    const int dy = (type == 1 || type == 5) && (k % 2) ? 1 : 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) f.put(x, y + dy, colourOf(pic[size_t(y)][size_t(x)]));
    }
    if (type == 3) {
        // Busy: the upper glass empties into the lower one, a row per frame.
        for (int y = 3; y < 3 + k; ++y) {
            for (int x = 0; x < kSide; ++x) {
                if (f.at(x, y) == kSand) f.at(x, y) = kGlass;
            }
        }
        for (int y = 13 - k; y < 14; ++y) {
            for (int x = 0; x < kSide; ++x) {
                if (f.at(x, y) == kGlass) f.at(x, y) = kSand;
            }
        }
        return f;
    }
    // A glint travels down the shape's light pixels along the diagonal x + y = 4 + 4k.
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int d = x + y - (4 + 4 * k);
            const uint8_t c = f.at(x, y);
            if ((d == 0 || d == 1) && (c == kWhite || c == kSteel || c == kGlass || c == kGold))
                f.at(x, y) = kGlint;
        }
    }
    return f;
}

std::vector<uint8_t> cursorTable() {
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    int first = 0;
    for (const Shape& s : kShapes) {
        put(uint32_t(first), 2);
        put(uint32_t(kFrames), 2);
        put(uint32_t(s.hotY), 4);
        put(uint32_t(s.hotX), 4);
        put(uint32_t(kSide), 4);
        put(uint32_t(kSide), 4);
        first += kFrames;
    }
    return out;
}

std::vector<uint8_t> cursorSprites() {
    EpfWriter epf(kSide, kSide);
    int type = 0;
    for (const Shape& s : kShapes) {
        for (int k = 0; k < kFrames; ++k) epf.add(frameOf(s, type, k));
        ++type;
    }
    return epf.build();
}

std::vector<uint8_t> cursorPalette() {
    Colours c{};
    c[kLine] = {16, 16, 24};
    c[kWhite] = {240, 240, 232};
    c[kGrey] = {150, 150, 160};
    c[kGold] = {232, 192, 64};
    c[kDarkGold] = {150, 110, 40};
    c[kSteel] = {190, 200, 215};
    c[kWood] = {120, 72, 32};
    c[kRed] = {200, 40, 40};
    c[kGlint] = {255, 255, 190};
    c[kSand] = {224, 184, 96};
    c[kGlass] = {140, 190, 230};
    return palFile(c);
}

}  // namespace

MKDATA_CONTENT(cursor_art, 300) {
    auto& misc = data.archive("MISC.DAT");
    misc.add("CURSOR.TBL", cursorTable());
    misc.add("CURSOR01.EPF", cursorSprites());
    misc.add("CURSOR01.PAL", cursorPalette());
}
