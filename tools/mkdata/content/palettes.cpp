// The demo's palettes: the base palette "marvu.pal", the twelve palette sets of the image
// families, two super palettes. Floor palettes cycle their water, effect palettes their fire.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/content/demo_palette.h"

namespace vs::mkdata::demo {

namespace {

using Range = resources::DLPalette::Range;

struct RampEnds {
    Rgb dark, light;
};

// clang-format off
constexpr RampEnds kRamps[16] = {
    {{0, 0, 0}, {255, 255, 255}},       // grey
    {{60, 36, 24}, {255, 224, 196}},    // skin
    {{36, 24, 12}, {200, 164, 120}},    // earth
    {{16, 40, 12}, {150, 220, 100}},    // grass
    {{8, 28, 16}, {90, 170, 80}},       // foliage
    {{8, 20, 60}, {120, 180, 240}},     // water
    {{30, 30, 36}, {200, 200, 210}},    // stone
    {{70, 56, 30}, {250, 236, 180}},    // sand
    {{24, 28, 40}, {240, 236, 220}},    // interface (stored light to dark)
    {{40, 0, 0}, {255, 140, 130}},      // red
    {{80, 10, 0}, {255, 250, 160}},     // fire
    {{60, 40, 0}, {255, 236, 120}},     // gold
    {{30, 0, 50}, {230, 170, 255}},     // purple
    {{0, 40, 50}, {200, 255, 255}},     // ice
    {{60, 10, 30}, {255, 190, 220}},    // pink
    {{40, 16, 10}, {230, 140, 100}},    // roof
};
// clang-format on

Rgb mix(const Rgb& a, const Rgb& b, int num, int den) {
    Rgb c;
    for (size_t i = 0; i < 3; ++i) c[i] = uint8_t(a[i] + (int(b[i]) - int(a[i])) * num / den);
    return c;
}

void setRamp(Colours& c, Ramp ramp, const RampEnds& ends) {
    for (int s = 0; s < 16; ++s) {
        const int shade = ramp == kInterface ? 15 - s : s;
        c[colour(ramp, s)] = mix(ends.dark, ends.light, shade, 15);
    }
}

// The eight cycling colours of a ramp rise to its light end and fall back again.
void setCycle(Colours& c, Ramp ramp, const RampEnds& ends) {
    static constexpr int kShades[8] = {5, 8, 11, 14, 15, 13, 10, 7};
    for (int i = 0; i < 8; ++i) c[colour(ramp, 4 + i)] = mix(ends.dark, ends.light, kShades[i], 15);
}

Colours withRamps(std::initializer_list<std::pair<Ramp, RampEnds>> changes,
                  Colours c = basePalette()) {
    for (const auto& [ramp, ends] : changes) {
        setRamp(c, ramp, ends);
        if (ramp == kWater || ramp == kFire) setCycle(c, ramp, ends);
    }
    return c;
}

// Every colour pulled towards a tint (the super palettes).
Colours tinted(const Rgb& tint, int percent) {
    Colours c = basePalette();
    for (int i = 1; i < 256; ++i) c[size_t(i)] = mix(c[size_t(i)], tint, percent, 100);
    return c;
}

// The same palette with ramps exchanged: the colour variants of clothes, arms and creatures.
Colours swapped(Ramp a, Ramp b) {
    Colours c = basePalette();
    for (int s = 0; s < 16; ++s) std::swap(c[colour(a, s)], c[colour(b, s)]);
    return c;
}

std::vector<std::vector<uint8_t>> variants(std::span<const Range> ranges = {}) {
    return {palFile(basePalette(), ranges), palFile(swapped(kRed, kWater), ranges),
            palFile(swapped(kRed, kGrass), ranges), palFile(swapped(kRed, kGold), ranges)};
}

}  // namespace

Colours basePalette() {
    Colours c{};
    for (int r = 0; r < 16; ++r) setRamp(c, Ramp(r), kRamps[r]);
    setCycle(c, kWater, kRamps[kWater]);
    setCycle(c, kFire, kRamps[kFire]);
    c[0] = {0, 0, 0};
    return c;
}

}  // namespace vs::mkdata::demo

MKDATA_CONTENT(palettes, 200) {
    using namespace vs::mkdata;
    using namespace vs::mkdata::demo;
    const Range water[] = {{kWaterCycleFirst, kWaterCycleLast}};
    const Range fire[] = {{kFireCycleFirst, kFireCycleLast}};
    const Range both[] = {water[0], fire[0]};

    auto& misc = data.archive("MISC.DAT");
    misc.add("marvu.pal", palFile(interfacePalette()));
    misc.add("ITEM.PAL", palSetFile(variants(both)));  // gems and torches cycle
    misc.add("SUPER0.PAL", palFile(tinted({255, 214, 90}, 35)));   // golden
    misc.add("SUPER1.PAL", palFile(tinted({150, 190, 255}, 55)));  // ghostly

    // Floor tiles and map objects: summer, autumn, winter.
    const Colours autumn = withRamps(
        {{kGrass, {{40, 30, 8}, {230, 180, 70}}}, {kFoliage, {{40, 16, 4}, {220, 110, 40}}}});
    const Colours winter = withRamps(
        {{kGrass, {{70, 80, 100}, {250, 252, 255}}}, {kWater, {{20, 50, 90}, {210, 240, 255}}}});
    auto& tiles = data.archive("TILE.DAT");
    tiles.add("TILE.PAL", palSetFile({palFile(basePalette(), water), palFile(autumn, water),
                                      palFile(winter, water)}));
    tiles.add("TILEC.PAL", palSetFile({palFile(basePalette(), both), palFile(autumn, both),
                                       palFile(winter, both)}));

    auto& chars = data.archive("CHAR.DAT");
    chars.add("HEAD.PAL", palSetFile(variants()));
    chars.add("EMOTION.PAL", palSetFile({palFile(basePalette())}));
    for (const char* name : {"BODY.PAL", "SWORD.PAL", "SPEAR.PAL", "FAN.PAL", "SHIELD.PAL"})
        chars.add(name, palSetFile(variants()));

    data.archive("MON.DAT").add("MONSTER.PAL", palSetFile(variants(fire)));
    // Effects: fire, and a magic fire that burns cold.
    const Colours magic = withRamps({{kFire, {{20, 0, 60}, {200, 240, 255}}}});
    data.archive("EFX.DAT").add("EFFECT.PAL",
                                palSetFile({palFile(basePalette(), fire), palFile(magic, fire)}));
}
