#pragma once
// The demo's characters and creatures by name, for the dev server and the tests: the fields of
// a composed appearance record, and creature image numbers.
#include <array>
#include <cstdint>

namespace vs::mkdata::demo {

struct FigureLook {
    const char* name;
    uint8_t gender, state, head, headTint, body, bodyColour;
    uint16_t weapon;
    uint8_t weaponTint, shield, shieldTint;
};

// Weapon values: swords from 0, spears from 10000, fans from 30000; 0xFFFF carries nothing.
inline constexpr std::array<FigureLook, 6> kFigures = {{
    {"knight", 0, 0, 0, 0, 2, 0, 1, 0, 0, 0},           // armour, long sword, round shield
    {"ranger", 1, 0, 1, 0, 0, 0, 10000, 0, 255, 0},     // plain female body, spear
    {"mage", 0, 0, 4, 1, 3, 2, 30001, 0, 255, 0},       // robe, fan
    {"villager", 0, 0, 2, 0, 0, 0, 0xFFFF, 0, 255, 0},  // plain male body, empty hands
    {"guard", 1, 0, 5, 2, 2, 32, 2, 0, 1, 0},           // golden armour, sword, kite shield
    {"duellist", 0, 0, 6, 0, 0, 4, 0, 2, 2, 0},         // short sword, buckler
}};

// The figure the golden sheet draws: head, body, sword and shield.
inline constexpr const FigureLook& kGoldenFigure = kFigures[0];

// Creatures: image number 0x8000 + creature.
struct CreatureLook {
    const char* name;
    uint16_t image;
    uint8_t colour;
};
inline constexpr std::array<CreatureLook, 5> kCreatures = {{
    {"slime", 0x8000, 0},
    {"fire slime", 0x8001, 0},  // the slime's frames through another palette
    {"bat", 0x8002, 0},         // flies above the foot line, no ground shadow
    {"wisp", 0x8003, 0},        // translucent frames
    {"wolf", 0x8004, 0},
}};

inline constexpr int kCreatureMotions = 33;  // 0 death, 1-4 idle, 5-8 walk, 9-32 actions
inline constexpr int kHeads = 8;
inline constexpr int kBodies = 4;
inline constexpr int kPartRows = 104;
inline constexpr int kArmFrames = 20;

}  // namespace vs::mkdata::demo
