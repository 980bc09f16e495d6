// "SYMBOLS.EPF": the small pictures that stand in lines of text, eight of 12 × 12 pixels in the
// base palette with 0 around them: heart, star, coin, sword, shield, potion, key and gem.
#include <array>
#include <string_view>

#include "mkdata/content.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/epf_writer.h"

namespace {

using namespace vs::mkdata;
using demo::colour;

constexpr int kSide = 12;
using Picture = std::array<std::string_view, kSide>;

// Each letter a colour: o outline, then the symbol's own shades.
uint8_t colourOf(char c, demo::Ramp ramp) {
    switch (c) {
        case 'o':
            return colour(demo::kGrey, 1);
        case 'd':
            return colour(ramp, 6);
        case 'm':
            return colour(ramp, 10);
        case 'l':
            return colour(ramp, 14);
        case 'w':
            return colour(demo::kGrey, 15);
        case 'b':
            return colour(demo::kEarth, 7);
        default:
            return 0;
    }
}

struct Symbol {
    demo::Ramp ramp;
    Picture rows;
};

const Symbol kSymbols[] = {
    {demo::kRed,
     {"            ", " oo    oo   ", "ommo  omlo  ", "omwmoomlmo  ", "ommmmmmmmo  ",
      "ommmmmmmdo  ", " ommmmmmdo  ", "  ommmmdo   ", "   ommdo    ", "    odo     ",
      "     o      ", "            "}},
    {demo::kGold,
     {"     o      ", "    olo     ", "    omo     ", "ooooomoooo  ", "ollmmmmmdo  ",
      " ommmmmdo   ", "  ommmmo    ", "  ommdmmo   ", " ommo omdo  ", " odo   odo  ",
      " oo     oo  ", "            "}},
    {demo::kGold,
     {"            ", "   oooo     ", "  ollmmo    ", " olmddmdo   ", " olmlmmdo   ",
      " omdmlmdo   ", " ommddmdo   ", " ommmmddo   ", "  odddddo   ", "   oooo     ",
      "            ", "            "}},
    {demo::kIce,
     {"         oo ", "        olo ", "       olo  ", "      olo   ", "     olo    ",
      "    olo     ", " o olo      ", " obbo       ", "  obo       ", " obobo      ",
      "oo  o       ", "            "}},
    {demo::kPurple,
     {"            ", " oooooooo   ", " ollmmmdo   ", " olmmmmdo   ", " olmwwmdo   ",
      " ommwwmdo   ", " ommmmmdo   ", "  ommmdo    ", "  ommmdo    ", "   omdo     ",
      "    oo      ", "            "}},
    {demo::kGrass,
     {"    oo      ", "    bb      ", "   oooo     ", "   olmo     ", "  olmmmo    ",
      " olwmmmdo   ", " olmmmmdo   ", " ommmmmdo   ", " ommmmddo   ", "  odddo     ",
      "   ooo      ", "            "}},
    {demo::kGold,
     {"            ", "  ooo       ", " omlmo      ", " om om      ", " omlmo      ",
      "  omoooooo  ", "   ommmmmmo ", "    oo omdo ", "       o oo ", "            ",
      "            ", "            "}},
    {demo::kWater,
     {"            ", "   oooooo   ", "  ollmmmdo  ", " olwlmmmddo ", " oooooooooo ",
      "  olmmmmdo  ", "   olmmdo   ", "    omdo    ", "     oo     ", "            ",
      "            ", "            "}},
};

}  // namespace

MKDATA_CONTENT(symbols_art, 310) {
    EpfWriter epf(kSide, kSide);
    for (const Symbol& s : kSymbols) {
        SpriteFrame f(0, 0, kSide, kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                f.at(x, y) = colourOf(s.rows[size_t(y)][size_t(x)], s.ramp);
        epf.add(std::move(f));
    }
    data.archive("MISC.DAT").add("SYMBOLS.EPF", epf.build());
}
