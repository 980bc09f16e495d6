#pragma once
// The colour layout of every demo palette, for the content that draws sprites: sixteen ramps of
// sixteen shades, index = 16 × ramp + shade, shade 0 the darkest. Index 0 is transparent. The
// interface ramp runs the other way, so that 128 (the default text) is light and 143 (the
// default fill) dark. Two short runs cycle: water in the floor palettes, fire in the effects.
#include <cstdint>

#include "mkdata/palette_writer.h"

namespace vs::mkdata::demo {

enum Ramp : uint8_t {
    kGrey = 0,
    kSkin,
    kEarth,
    kGrass,
    kFoliage,
    kWater,
    kStone,
    kSand,
    kInterface,  // 128 text … 143 fill
    kRed,
    kFire,
    kGold,
    kPurple,
    kIce,
    kPink,
    kRoof,
};

constexpr uint8_t colour(Ramp ramp, int shade) {
    return uint8_t(16 * ramp + (shade & 15));
}

// The cycling runs: eight colours each, dark to light and back, so that a step never jumps.
constexpr uint8_t kWaterCycleFirst = colour(kWater, 4), kWaterCycleLast = colour(kWater, 11);
constexpr uint8_t kFireCycleFirst = colour(kFire, 4), kFireCycleLast = colour(kFire, 11);

// The colours every palette shares.
Colours basePalette();
// The base palette "marvu.pal" and the interface palette "NPAL8.PAL": the shared colours with
// the interface's own (gold, amber, cream, greys, slate and bronzes) at the indices controls
// draw with.
Colours interfacePalette();

}  // namespace vs::mkdata::demo
