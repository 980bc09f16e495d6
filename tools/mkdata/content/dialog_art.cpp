// The art of dialogs and controls: the dialog frame "DLGFRAME.EPF", the captioned button plates
// "BUTT001.EPF" and "BUTT002.EPF", the plain plate "BUTTONEX.EPF", radio marks, scroll bar
// parts, the drop-down box, the menu background, the ornaments around the map view, and the
// interface palettes they are drawn with ("NPAL8.PAL", "SCRL001.PAL"). Everything is drawn
// here, procedurally, the same on every run.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/byte_io.h"
#include "mkdata/content.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/content/dialog_art.h"
#include "mkdata/content/fonts.h"
#include "mkdata/epf_writer.h"
#include "mkdata/sprite_art.h"

namespace vs::mkdata::demo {

Colours interfacePalette() {
    Colours c = basePalette();
    c[1] = {255, 214, 64};     // bright gold: the default button's marker
    c[9] = {96, 200, 96};      // green
    c[37] = {255, 184, 72};    // amber: the chosen item of a drop-down box
    c[128] = {244, 236, 208};  // cream: text and outlines
    c[132] = {226, 184, 84};   // gold: the default outline
    c[134] = {150, 150, 150};  // grey: disabled text and outline
    c[136] = {118, 118, 124};
    c[143] = {30, 36, 48};  // dark slate: the disabled wash and the gauge's rest
    c[192] = {84, 54, 28};  // bronzes, dark to light: the bevels
    c[196] = {140, 98, 52};
    c[200] = {206, 164, 100};
    return c;
}

}  // namespace vs::mkdata::demo

namespace {

using namespace vs::mkdata;
using vs::mkdata::art::noise;

// Indices of the interface palette the art uses.
constexpr uint8_t kClear = 0;
constexpr uint8_t kGold = 1;
constexpr uint8_t kBlack = 2;  // the grey ramp's darkest visible shade
constexpr uint8_t kAmber = 37;
constexpr uint8_t kCream = 128;
constexpr uint8_t kGoldDim = 132;
constexpr uint8_t kGreyLight = 134;
constexpr uint8_t kGreyDark = 136;
constexpr uint8_t kSlate = 143;
constexpr uint8_t kBronzeDark = 192;
constexpr uint8_t kBronze = 196;
constexpr uint8_t kBronzeLight = 200;
// The dark interface shades the dialog's ground is woven of (140 … 143, dark slate last).
constexpr uint8_t kGround = 140;

constexpr int kSide = 16;

// ----- the demo font, rasterised into sprites ----------------------------------------------------

class Captions {
  public:
    Captions() : font_(vs::mkdata::demo::gameFont()) {}

    int width(std::u16string_view text) const {
        int w = 0;
        for (char16_t c : text) w += advance(c);
        return w;
    }
    // The text with its line top at y: class 1 in `ink`, the outline classes in `edge`.
    void draw(SpriteFrame& f, std::u16string_view text, int x, int y, uint8_t ink,
              uint8_t edge) const {
        for (char16_t c : text) {
            const size_t at = offset(c);
            if (at == 0) continue;
            vs::base::ByteReader r(font_);
            r.seek(at);
            const int adv = int16_t(r.u16le()), top = int16_t(r.u16le()), left = int16_t(r.u16le());
            const int bottom = int16_t(r.u16le());
            r.u16le();
            r.u32le();
            for (int row = top; row < bottom && r.ok(); ++row) {
                int px = left;
                for (uint8_t b = r.u8(); b != 0 && r.ok(); b = r.u8()) {
                    const int cls = b >> 5, n = b & 31;
                    if (cls != 0) {
                        for (int i = 0; i < n; ++i)
                            f.put(x + px + i, y + row, cls == 1 ? ink : edge);
                    }
                    px += n;
                }
            }
            x += adv;
        }
    }

  private:
    size_t offset(char16_t c) const {
        const size_t slot = 4 + size_t(c) * 4;
        if (slot + 4 > font_.size()) return 0;
        uint32_t v = 0;
        std::memcpy(&v, font_.data() + slot, 4);
        return v < font_.size() ? v : 0;
    }
    int advance(char16_t c) const {
        const size_t at = offset(c);
        if (at == 0 || at + 2 > font_.size()) return 0;
        return int16_t(font_[at] | font_[at + 1] << 8);
    }
    std::vector<uint8_t> font_;
};

const Captions& captions() {
    static const Captions c;
    return c;
}

// ----- the dialog frame --------------------------------------------------------------------------

uint8_t groundAt(int x, int y) {
    // A woven dark ground: mostly the darkest shades, faint diagonal threads.
    const uint8_t n = noise(x, y, 81);
    if ((x + y) % 4 == 0 && n < 110) return uint8_t(kGround + 1);
    return n < 40 ? uint8_t(kGround + 2) : kSlate;
}

// The border's colour at depth d from the outer edge; `lit` for the top and left sides.
uint8_t borderAt(int d, bool lit) {
    switch (d) {
        case 0:
            return kBlack;
        case 1:
            return lit ? kBronzeLight : kBronzeDark;
        case 2:
        case 3:
            return kBronze;
        case 4:
            return lit ? kBronzeDark : kBronzeLight;
        case 5:
            return kBlack;
        default:
            return 0;
    }
}

// Frame k of "DLGFRAME.EPF": 0 to 7 the corners and edges clockwise from the top-left
// (0 ┌, 1 top, 2 ┐, 3 left, 4 right, 5 └, 6 bottom, 7 ┘), 8 the ground.
SpriteFrame frameTile(int k) {
    SpriteFrame f(0, 0, kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) f.at(x, y) = groundAt(x, y);
    if (k == 8) return f;
    const bool top = k <= 2, bottom = k >= 5, left = k == 0 || k == 3 || k == 5,
               right = k == 2 || k == 4 || k == 7;
    const bool corner = k == 0 || k == 2 || k == 5 || k == 7;
    constexpr int kRadius = 6;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int dx = left ? x : right ? kSide - 1 - x : kSide;
            const int dy = top ? y : bottom ? kSide - 1 - y : kSide;
            int d = std::min(dx, dy);
            bool lit = dy <= dx ? top : left;
            if (corner && dx < kRadius && dy < kRadius) {
                // The rounding: outside the circle is transparent, inside follows its curve.
                const double r = std::hypot(kRadius - dx - 0.5, kRadius - dy - 0.5);
                if (r > kRadius) {
                    f.at(x, y) = kClear;
                    continue;
                }
                d = int(kRadius - r);
                lit = (top && left) || (dy <= dx ? top : left);
            }
            if (const uint8_t c = borderAt(d, lit)) f.at(x, y) = c;
        }
    }
    if (corner) {
        // A gold stud on a bronze diamond.
        const int cx = left ? 8 : 7, cy = top ? 8 : 7;
        for (int y = -3; y <= 3; ++y)
            for (int x = -3; x <= 3; ++x)
                if (std::abs(x) + std::abs(y) <= 3)
                    f.put(cx + x, cy + y, std::abs(x) + std::abs(y) == 3 ? kBlack : kBronze);
        f.put(cx, cy, kGold);
        f.put(cx - 1, cy, kGoldDim);
        f.put(cx, cy - 1, kGold);
    }
    return f;
}

// ----- button plates -----------------------------------------------------------------------------

// A raised (or sunken) bronze plate with its caption centred, moved by (1, 1) when sunken.
SpriteFrame plate(int w, int h, std::u16string_view caption, bool sunken) {
    SpriteFrame f(0, 0, w, h, kBronze);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (noise(x, y, 17) < 30) f.at(x, y) = kBronzeDark;
    const uint8_t light = sunken ? kBronzeDark : kBronzeLight;
    const uint8_t dark = sunken ? kBronzeLight : kBronzeDark;
    for (int x = 0; x < w; ++x) {
        f.at(x, 0) = kBlack;
        f.at(x, h - 1) = kBlack;
        f.at(x, 1) = light;
        f.at(x, h - 2) = dark;
    }
    for (int y = 0; y < h; ++y) {
        f.at(0, y) = kBlack;
        f.at(w - 1, y) = kBlack;
        if (y > 0 && y < h - 1) {
            f.at(1, y) = light;
            f.at(w - 2, y) = dark;
        }
    }
    if (!caption.empty()) {
        const Captions& c = captions();
        const int d = sunken ? 1 : 0;
        const int x = (w - c.width(caption)) / 2 + d;
        const int y = (h - 12) / 2 + d;
        c.draw(f, caption, x, y, kCream, kBlack);
    }
    return f;
}

// The captions of the sprite buttons, by number; the others are blank plates.
std::u16string_view captionOf(int n) {
    switch (n) {
        case 14:
            return u"OK";
        case 15:
            return u"Close";
        case 16:
            return u"Back";
        case 17:
            return u"Read";
        case 18:
            return u"Previous";
        case 19:
            return u"Next";
        case 21:
            return u"Delete";
        case 22:
            return u"Cancel";
        case 23:
            return u"Send";
        case 30:
            return u"Close";
        case 31:
            return u"Back";
        case 32:
            return u"Write";
        case 33:
            return u"Mailbox";
        case 36:
            return u"Add";
        case 38:
            return u"Colour 1";
        case 39:
            return u"Colour 2";
        case 40:
            return u"Colour 3";
        case 41:
            return u"Colour 4";
        case 42:
            return u"No colour";
        case 43:
            return u"Apply";
        case 44:
            return u"Prev. nation";
        case 45:
            return u"Next nation";
        case 51:
            return u"Next page";
        case 52:
            return u"Previous page";
        case 53:
            return u"Close";
        case 54:
            return u"Macro keys";
        case 55:
            return u"Macro texts";
        case 56:
            return u"Friends";
        case 57:
            return u"Profile";
        default:
            return u"";
    }
}

std::vector<uint8_t> firstButtons() {
    EpfWriter epf(72, 16);
    for (int n = 0; n <= 50; ++n) {
        epf.add(plate(72, 16, captionOf(n), false));
        epf.add(plate(72, 16, captionOf(n), true));
    }
    return epf.build();
}

std::vector<uint8_t> secondButtons() {
    EpfWriter epf(169, 18);
    // Frames 0 and 1 belong to no number.
    epf.add(plate(158, 15, u"", false)).add(plate(158, 15, u"", true));
    for (int n = 51; n <= 57; ++n) {
        const int w = n <= 53 ? 158 : 169, h = n <= 53 ? 15 : 18;
        epf.add(plate(w, h, captionOf(n), false));
        epf.add(plate(w, h, captionOf(n), true));
    }
    return epf.build();
}

// ----- radio marks, scroll bar, drop-down, menu ground
// ---------------------------------------------

std::vector<uint8_t> radioMarks() {
    EpfWriter epf(11, 11);
    for (int k = 0; k < 4; ++k) {
        const bool dot = k % 2 == 1, grey = k >= 2;
        SpriteFrame f(0, 0, 11, 11);
        for (int y = 0; y < 11; ++y) {
            for (int x = 0; x < 11; ++x) {
                const double r = std::hypot(x - 5.0, y - 5.0);
                if (r <= 5.3 && r > 4.0) {
                    f.at(x, y) = grey ? kGreyDark : (x + y < 10 ? kBronzeLight : kBronzeDark);
                } else if (r <= 4.0) {
                    f.at(x, y) = kBlack;
                }
                if (dot && r <= 2.3) f.at(x, y) = grey ? kGreyLight : kGold;
            }
        }
        epf.add(std::move(f));
    }
    return epf.build();
}

constexpr int kBar = 12;

// A bevelled square with an arrow pointing up, down, left or right (0 to 3); sunken when pressed.
SpriteFrame arrowButton(int dir, bool pressed) {
    SpriteFrame f = plate(kBar, kBar, u"", pressed);
    const int d = pressed ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = -i; j <= i; ++j) {
            const int along = 4 + i, across = 6 + j - (j > 0 ? 0 : 0);
            int x = 0, y = 0;
            switch (dir) {
                case 0:
                    x = across - 1;
                    y = along - 1;
                    break;
                case 1:
                    x = across - 1;
                    y = kBar - along;
                    break;
                case 2:
                    x = along - 1;
                    y = across - 1;
                    break;
                default:
                    x = kBar - along;
                    y = across - 1;
                    break;
            }
            f.put(x + d, y + d, kCream);
        }
    }
    return f;
}

std::vector<uint8_t> scrollParts() {
    EpfWriter epf(kBar, kBar);
    for (int dir = 0; dir < 4; ++dir) {
        epf.add(arrowButton(dir, false));
        epf.add(arrowButton(dir, true));
    }
    // The thumb: a raised plate with grip lines.
    for (bool pressed : {false, true}) {
        SpriteFrame f = plate(kBar, kBar, u"", pressed);
        for (int k = 4; k <= 7; k += 3)
            for (int t = 3; t <= 8; ++t) {
                f.put(t, k, kBronzeDark);
                f.put(k, t, kBronzeDark);
            }
        epf.add(std::move(f));
    }
    // The track: recessed, darker when pressed.
    for (bool pressed : {false, true}) {
        SpriteFrame f(0, 0, kBar, kBar);
        for (int y = 0; y < kBar; ++y)
            for (int x = 0; x < kBar; ++x)
                f.at(x, y) = (x + y) % 2 == 0 ? (pressed ? kBlack : kSlate) : uint8_t(kGround + 1);
        epf.add(std::move(f));
    }
    return epf.build();
}

std::vector<uint8_t> dropDown() {
    EpfWriter epf(kSide, kSide);
    // The left cap, the sunken middle, the right cap with its arrow.
    SpriteFrame left = plate(kSide, kSide, u"", false);
    for (int y = 2; y < kSide - 2; ++y)
        for (int x = 2; x < kSide; ++x) left.at(x, y) = kBlack;
    SpriteFrame middle(0, 0, kSide, kSide, kBlack);
    for (int x = 0; x < kSide; ++x) {
        middle.at(x, 0) = middle.at(x, kSide - 1) = kBlack;
        middle.at(x, 1) = kBronzeDark;
        middle.at(x, kSide - 2) = kBronzeLight;
    }
    for (int y = 2; y < kSide - 2; ++y) {
        left.at(1, y) = kBronzeDark;
        left.at(0, y) = kBlack;
    }
    SpriteFrame right = plate(kSide, kSide, u"", false);
    for (int i = 0; i < 4; ++i)
        for (int j = -3 + i; j <= 3 - i; ++j) right.put(8 + j, 6 + i, kCream);
    epf.add(std::move(left)).add(std::move(middle)).add(std::move(right));
    return epf.build();
}

std::vector<uint8_t> menuGround() {
    EpfWriter epf(kSide, kSide);
    SpriteFrame f(0, 0, kSide, kSide);
    // Light parchment: the items draw dark text on it.
    art::texture(f, vs::mkdata::demo::colour(vs::mkdata::demo::kSand, 12), 3, 5);
    epf.add(std::move(f));
    return epf.build();
}

std::vector<uint8_t> plainPlate() {
    EpfWriter epf(80, 20);
    epf.add(plate(80, 20, u"", false));
    return epf.build();
}

// ----- the ornaments around the map view
// -----------------------------------------------------------

// A bronze bar with studs, `w` × `h`, horizontal or vertical by its shape.
SpriteFrame ornament(int w, int h) {
    SpriteFrame f(0, 0, w, h);
    const bool across = w >= h;
    const int len = across ? w : h, thick = across ? h : w;
    for (int a = 0; a < len; ++a) {
        for (int t = 2; t < thick - 2; ++t) {
            const int x = across ? a : t, y = across ? t : a;
            const bool edge = t == 2 || t == thick - 3;
            f.at(x, y) = edge ? kBlack
                              : (t == 3           ? kBronzeLight
                                 : t == thick - 4 ? kBronzeDark
                                                  : kBronze);
        }
        if (a % 24 == 12) {
            const int x = across ? a : thick / 2, y = across ? thick / 2 : a;
            for (int k = -2; k <= 2; ++k) {
                f.put(x + k, y, kGold);
                f.put(x, y + k, kGold);
            }
            f.put(x, y, kCream);
        }
    }
    // Tapered ends: the ornament fades into the frame.
    for (int t = 0; t < thick; ++t)
        for (int a = 0; a < 3; ++a) {
            if (std::abs(t - thick / 2) <= a + 2) continue;
            f.put(across ? a : t, across ? t : a, kClear);
            f.put(across ? w - 1 - a : t, across ? t : h - 1 - a, kClear);
        }
    return f;
}

std::vector<uint8_t> frameParts() {
    EpfWriter epf(253, 57);
    epf.add(ornament(111, 16)).add(ornament(253, 16)).add(ornament(56, 16));
    epf.add(ornament(14, 57)).add(ornament(14, 57));
    return epf.build();
}

}  // namespace

void vs::mkdata::demo::addDialogArt(DataSet& data) {
    const std::vector<uint8_t> palette = palFile(vs::mkdata::demo::interfacePalette());
    auto& misc = data.archive("MISC.DAT");
    misc.add("NPAL8.PAL", palette);
    misc.add("SCRL001.PAL", palette);
    EpfWriter frame(kSide, kSide);
    for (int k = 0; k < 9; ++k) frame.add(frameTile(k));
    misc.add("DLGFRAME.EPF", frame.build());
    misc.add("BUTT001.EPF", firstButtons());
    misc.add("BUTT002.EPF", secondButtons());
    misc.add("BUTTONEX.EPF", plainPlate());
    misc.add("RADIOBUT.EPF", radioMarks());
    misc.add("SCRL001.EPF", scrollParts());
    misc.add("POPUPMNU.EPF", dropDown());
    misc.add("MENUBACK.EPF", menuGround());
    misc.add("FRMPART.EPF", frameParts());
}

MKDATA_CONTENT(dialog_art, 320) {
    vs::mkdata::demo::addDialogArt(data);
}
