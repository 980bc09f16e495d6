// The title screen and its dialogs: the landscape with the game's name and the six items, their
// highlights, the login, password, new character and server pictures with their field labels,
// the new character dialog's buttons and preview capsule, the transfer animation, the story
// pages, their palettes and the "LEVEL.BMP" badge.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/content/fonts.h"
#include "mkdata/epf_writer.h"
#include "mkdata/palette_writer.h"
#include "mkdata/sprite_art.h"

namespace vs::mkdata::demo {

namespace {

constexpr const char* kItems[6] = {"New Character", "Login",   "Change Password",
                                   "Story",         "History", "Leave"};
constexpr int kItemLeft = 467, kItemTop = 299, kItemHeight = 30;

constexpr uint8_t kPanel = colour(kStone, 3);
constexpr uint8_t kPanelLight = colour(kStone, 6);
constexpr uint8_t kRim = colour(kGold, 10);
constexpr uint8_t kField = colour(kGrey, 1);
constexpr uint8_t kText = colour(kSand, 15);
constexpr uint8_t kShadow = colour(kGrey, 1);

// Measured on a frame too small to take any pixel.
int textWidth(const char* text, int size, bool bold = false) {
    SpriteFrame measure(0, 0, 1, 1);
    return drawLabel(measure, -1000, -1000, text, size, 1, 0, bold);
}

void frameRect(SpriteFrame& f, int x, int y, int w, int h, uint8_t index) {
    art::fillRect(f, x, y, w, 1, index);
    art::fillRect(f, x, y + h - 1, w, 1, index);
    art::fillRect(f, x, y, 1, h, index);
    art::fillRect(f, x + w - 1, y, 1, h, index);
}

// A dialog's background: a stone panel with a gold rim and its title.
SpriteFrame panel(int w, int h, const char* title) {
    SpriteFrame f(0, 0, w, h, kPanel);
    art::texture(f, colour(kStone, 2), 3, uint32_t(w * 7 + h));
    frameRect(f, 0, 0, w, h, kRim);
    frameRect(f, 2, 2, w - 4, h - 4, colour(kGold, 6));
    const int width = textWidth(title, 14, true);
    drawLabel(f, (w - width) / 2, 34, title, 14, colour(kGold, 14), kShadow, true);
    return f;
}

// A label right-aligned before a field, and the field's dark box.
void field(SpriteFrame& f, int left, int top, int right, int bottom, const char* label) {
    art::fillRect(f, left - 3, top - 3, right - left + 6, bottom - top + 6, kField);
    frameRect(f, left - 3, top - 3, right - left + 6, bottom - top + 6, kPanelLight);
    const int width = textWidth(label, 11);
    drawLabel(f, left - 10 - width, bottom - 1, label, 11, kText, kShadow);
}

// The landscape: sky, far mountains, hills, a lake and the name.
SpriteFrame landscape() {
    SpriteFrame f(0, 0, 640, 480);
    static constexpr int kDither[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            uint8_t c;
            const double mountain =
                200 - 60 * std::fabs(std::sin(x / 97.0)) - 25 * std::fabs(std::sin(x / 31.0 + 1.0));
            const double hill = 290 + 22 * std::sin(x / 70.0 + 2.0);
            const double lakeX = (x - 150) / 210.0, lakeY = (y - 445) / 45.0;
            if (y < mountain) {
                // Sky: light at the horizon, dithered between its shades.
                const int step = y * 16 * 7 / 200 + kDither[y & 3][x & 3];
                c = colour(kWater, 15 - std::min(7, step / 16));
            } else if (y < hill) {
                c = colour(kStone, 5 + int(art::noise(x, y, 3) % 3));
                const double peak = 200 - mountain;  // higher mountains carry snow
                if (peak > 55 && y < mountain + (peak - 55) / 2 + 4) c = colour(kGrey, 14);
            } else if (lakeX * lakeX + lakeY * lakeY < 1.0) {
                c = colour(kWater, 6 + int(art::noise(x / 6, y, 5) % 3));
            } else {
                c = colour(kGrass, 6 + int(art::noise(x, y, 9) % 4) - (y - 290) / 60);
            }
            f.at(x, y) = c;
        }
    }
    // Trees along the hills.
    for (int i = 0; i < 24; ++i) {
        const int x = 20 + i * 26 + int(art::noise(i, 0, 11) % 12);
        const int y = 300 + int(art::noise(i, 1, 11) % 60);
        art::fillRect(f, x + 5, y + 14, 3, 8, colour(kEarth, 4));
        art::fillEllipse(f, x, y, 14, 18, colour(kFoliage, 6 + int(art::noise(i, 2, 11) % 4)));
    }
    // The name, large, and the items' panel.
    drawLabel(f, 186, 110, "VESTREL", 56, colour(kGold, 13), colour(kEarth, 1), true);
    drawLabel(f, 232, 140, "a village at the edge of the map", 14, kText, kShadow);
    for (int y = kItemTop - 6; y < kItemTop + 6 * kItemHeight + 6; ++y)
        for (int x = kItemLeft - 8; x < 640; ++x) f.put(x, y, colour(kStone, 2));
    for (int i = 0; i < 6; ++i)
        drawLabel(f, kItemLeft + 14, kItemTop + kItemHeight * i + 20, kItems[i], 13, kText,
                  kShadow);
    return f;
}

// Item i lit: a golden bar with the label, placed at the item's rectangle.
SpriteFrame itemHighlight(int i) {
    SpriteFrame f(kItemLeft, kItemTop + kItemHeight * i, 640 - kItemLeft, kItemHeight);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) f.at(x, y) = colour(kGold, 9 - std::abs(15 - y) / 4);
    frameRect(f, 0, 0, f.width, f.height, colour(kGold, 13));
    drawLabel(f, 14, 20, kItems[i], 13, colour(kGold, 15), colour(kEarth, 1));
    return f;
}

std::vector<uint8_t> title() {
    EpfWriter epf(640, 480);
    epf.add(landscape());
    return epf.build();
}

std::vector<uint8_t> titleHighlights() {
    EpfWriter epf(640, 480);
    for (int i = 0; i < 6; ++i) epf.add(itemHighlight(i));
    return epf.build();
}

std::vector<uint8_t> loginPicture() {
    SpriteFrame f = panel(284, 187, "Login");
    field(f, 125, 72, 223, 85, "Name");
    field(f, 125, 92, 223, 105, "Password");
    EpfWriter epf(284, 187);
    epf.add(std::move(f));
    return epf.build();
}

std::vector<uint8_t> passwordPicture() {
    SpriteFrame f = panel(314, 227, "Change Password");
    field(f, 154, 72, 252, 85, "Name");
    field(f, 154, 92, 252, 105, "Old password");
    field(f, 154, 112, 252, 125, "New password");
    field(f, 154, 132, 252, 145, "Confirm");
    EpfWriter epf(314, 227);
    epf.add(std::move(f));
    return epf.build();
}

std::vector<uint8_t> serverPicture() {
    SpriteFrame f = panel(379, 424, "Choose a Server");
    art::fillRect(f, 33, 68, 311, 288, kField);
    frameRect(f, 33, 68, 311, 288, kPanelLight);
    EpfWriter epf(379, 424);
    epf.add(std::move(f));
    return epf.build();
}

std::vector<uint8_t> newCharacterPicture() {
    SpriteFrame f = panel(640, 480, "New Character");
    field(f, 128, 129, 272, 141, "Name");
    field(f, 128, 166, 272, 178, "Password");
    field(f, 128, 203, 272, 215, "Confirm");
    art::fillRect(f, 356, 132, 240, 80, colour(kStone, 1));
    drawLabel(f, 124, 266, "Nation", 12, kText, kShadow);
    drawLabel(f, 367, 266, "Totem", 12, kText, kShadow);
    for (const int left : {41, 333}) {
        art::fillRect(f, left - 3, 328, 272, 107, colour(kStone, 1));
        frameRect(f, left - 3, 328, 272, 107, kPanelLight);
    }
    EpfWriter epf(640, 480);
    epf.add(std::move(f));
    return epf.build();
}

// Three looks of a button: normal, pressed (darker, moved by a pixel), selected (lit rim).
void buttonLooks(EpfWriter& epf, int w, int h, uint8_t face, const char* text,
                 const std::vector<int>& looks) {
    for (const int look : looks) {
        SpriteFrame f(0, 0, w, h, look == 1 ? uint8_t(face - 2) : face);
        frameRect(f, 0, 0, w, h, look == 2 ? colour(kGold, 15) : colour(kGrey, 2));
        if (look == 2) frameRect(f, 1, 1, w - 2, h - 2, colour(kGold, 12));
        const int width = textWidth(text, 11);
        const int shift = look == 1 ? 1 : 0;
        drawLabel(f, (w - width) / 2 + shift, h / 2 + 5 + shift, text, 11, kText, kShadow);
        epf.add(std::move(f));
    }
}

std::vector<uint8_t> genderButtons() {
    EpfWriter epf(105, 28);
    buttonLooks(epf, 105, 28, colour(kWater, 5), "Male", {0, 1, 2});
    buttonLooks(epf, 105, 28, colour(kPink, 5), "Female", {0, 1, 2});
    return epf.build();
}

// Arrows: left normal and pressed, right normal and pressed.
std::vector<uint8_t> arrowButtons() {
    EpfWriter epf(22, 22);
    for (const bool right : {false, true}) {
        for (const bool pressed : {false, true}) {
            SpriteFrame f(0, 0, 22, 22);
            art::fillEllipse(f, 0, 0, 22, 22, pressed ? colour(kGold, 6) : colour(kGold, 9));
            for (int y = 5; y < 17; ++y) {
                const int half = 6 - std::abs(y - 11);
                for (int d = 0; d <= half; ++d) {
                    const int x = right ? 8 + d : 14 - d;
                    f.put(x, y, colour(kEarth, 1));
                }
            }
            art::outline(f, colour(kEarth, 2));
            epf.add(std::move(f));
        }
    }
    return epf.build();
}

// A round emblem per choice, normal and selected.
std::vector<uint8_t> emblems(int count, uint32_t seed) {
    EpfWriter epf(47, 47);
    const Ramp ramps[4] = {kWater, kStone, kFoliage, kRed};
    for (int i = 0; i < count; ++i) {
        for (const bool selected : {false, true}) {
            SpriteFrame f(0, 0, 47, 47, colour(kStone, 2));
            frameRect(f, 0, 0, 47, 47, selected ? colour(kGold, 15) : colour(kGrey, 4));
            if (selected) frameRect(f, 1, 1, 45, 45, colour(kGold, 12));
            art::fillEllipse(f, 8, 8, 31, 31, colour(ramps[(i + seed) % 4], selected ? 11 : 7));
            const std::string mark(1, char('A' + i));
            drawLabel(f, 17, 30, mark, 14, colour(kGrey, 15), kShadow, true);
            epf.add(std::move(f));
        }
    }
    return epf.build();
}

// The selected preview's frame: a lit ring, see-through inside.
std::vector<uint8_t> capsule() {
    EpfWriter epf(59, 76);
    SpriteFrame f(0, 0, 59, 76);
    frameRect(f, 0, 0, 59, 76, colour(kGold, 14));
    frameRect(f, 1, 1, 57, 74, colour(kGold, 10));
    frameRect(f, 2, 2, 55, 72, colour(kGold, 6));
    epf.add(std::move(f));
    return epf.build();
}

// Eight frames of a ring of lights turning.
std::vector<uint8_t> transferAnimation() {
    EpfWriter epf(144, 144);
    for (int frame = 0; frame < 8; ++frame) {
        SpriteFrame f(0, 0, 144, 144);
        art::fillEllipse(f, 8, 8, 128, 128, colour(kPurple, 2));
        for (int i = 0; i < 8; ++i) {
            const double a = (i + frame) * 3.14159265 / 4;
            const int x = 72 + int(std::lround(46 * std::cos(a))) - 8;
            const int y = 72 + int(std::lround(46 * std::sin(a))) - 8;
            art::fillEllipse(f, x, y, 16, 16, colour(kPurple, 6 + i));
        }
        drawLabel(f, 36, 78, "Travelling", 12, colour(kGrey, 15), kShadow);
        epf.add(std::move(f));
    }
    return epf.build();
}

// Pages of a book: parchment with lines of text.
std::vector<uint8_t> pages(const std::vector<std::vector<const char*>>& book) {
    EpfWriter epf(640, 480);
    int number = 1;
    for (const auto& lines : book) {
        SpriteFrame f(0, 0, 640, 480);
        art::texture(f, colour(kSand, 11), 3, uint32_t(number));
        frameRect(f, 20, 20, 600, 440, colour(kEarth, 6));
        int y = 80;
        for (size_t i = 0; i < lines.size(); ++i) {
            const bool heading = i == 0;
            drawLabel(f, 70, y, lines[i], heading ? 22 : 15, colour(kEarth, heading ? 1 : 3), 0,
                      heading);
            y += heading ? 50 : 28;
        }
        const std::string footer = "- " + std::to_string(number++) + " -  (Enter: next page)";
        drawLabel(f, 240, 440, footer, 12, colour(kEarth, 5), 0);
        epf.add(std::move(f));
    }
    return epf.build();
}

// An uncompressed 8-bit bitmap file, bottom-up rows padded to four bytes.
std::vector<uint8_t> bitmapFile(const SpriteFrame& f, const Colours& colours) {
    const uint32_t stride = uint32_t(f.width + 3) & ~3u;
    const uint32_t offset = 14 + 40 + 256 * 4;
    const uint32_t size = offset + stride * uint32_t(f.height);
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    u32(size);
    u32(0);
    u32(offset);
    u32(40);
    u32(uint32_t(f.width));
    u32(uint32_t(f.height));
    u16(1);
    u16(8);
    u32(0);
    u32(stride * uint32_t(f.height));
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    for (const Rgb& c : colours) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }
    for (int y = f.height - 1; y >= 0; --y) {
        for (int x = 0; x < f.width; ++x) out.push_back(f.at(x, y));
        for (uint32_t p = uint32_t(f.width); p < stride; ++p) out.push_back(0);
    }
    return out;
}

// The badge at the title's top right corner.
std::vector<uint8_t> levelBadge() {
    SpriteFrame f(0, 0, 120, 36);
    art::fillRect(f, 4, 4, 112, 28, colour(kRed, 5));
    frameRect(f, 4, 4, 112, 28, colour(kGold, 13));
    drawLabel(f, 14, 24, "DEMO DATA", 12, colour(kGrey, 15), kShadow, true);
    return bitmapFile(f, basePalette());
}

}  // namespace

}  // namespace vs::mkdata::demo

MKDATA_CONTENT(title_art, 420) {
    using namespace vs::mkdata::demo;
    auto& misc = data.archive("MISC.DAT");
    misc.add("TITLE.EPF", title());
    misc.add("TITLESEL.EPF", titleHighlights());
    misc.add("DLGLOGIN.EPF", loginPicture());
    misc.add("DLGPASS.EPF", passwordPicture());
    misc.add("DLGNEW02.EPF", newCharacterPicture());
    misc.add("DLGSERV.EPF", serverPicture());
    misc.add("GENDER.EPF", genderButtons());
    misc.add("DIREC.EPF", arrowButtons());
    misc.add("NNATION.EPF", emblems(2, 0));
    misc.add("NTOTEM.EPF", emblems(4, 1));
    misc.add("CAPSULE.EPF", capsule());
    misc.add("TRANSSVR.EPF", transferAnimation());
    misc.add("STORY.EPF",
             pages({{"The Story", "Long ago the river and the mountain were one country.",
                     "Then the great flood came, and the people went their two ways:",
                     "the boatmen down to the lowlands, the smiths up to the passes."},
                    {"The Village", "Where the two roads meet again lies a small village.",
                     "Its well never dries, its inn never closes,",
                     "and travellers of both nations trade under its trees."},
                    {"Your Part", "You arrive with nothing but a name and a totem.",
                     "Walk the paths, talk to the people, and find your place."}}));
    misc.add("HISTORY.EPF",
             pages({{"History", "Year 1: the flood divides the land.",
                     "Year 40: the first bridge joins the river and the mountain.",
                     "Year 112: the village market opens its gates."},
                    {"History (2)", "Year 205: the totems are carved in the village square.",
                     "Year 300: today. The story goes on with you."}}));
    const vs::mkdata::Colours base = basePalette();
    for (const char* name : {"NPAL2.PAL", "NPAL3.PAL", "NPAL4.PAL", "TRANSSVR.PAL"})
        misc.add(name, vs::mkdata::palFile(base));
    data.addFile("LEVEL.BMP", levelBadge());
}
