#pragma once
#include <cstdint>

#include "net/wire_records.h"

// What the figure libraries read from an appearance record beyond its fields: the states and
// the weapon classes. The record itself is the one the message catalogue parses.
namespace vs::world {

using net::Appearance;

namespace state {
inline constexpr uint8_t kGhost = 1;        // one image from GHOST.EPF
inline constexpr uint8_t kHidden = 2;       // nothing drawn, a 24 × 24 box
inline constexpr uint8_t kPlain = 3;        // head and body only while standing or walking
inline constexpr uint8_t kTranslucent = 5;  // every part at opacity 0.7
inline constexpr uint8_t kInvisible = 6;    // this and above: nothing, empty bounds
}  // namespace state

enum class WeaponClass : uint8_t { None = 0, Sword = 1, Spear = 2, Unarmed = 3, Fan = 4 };

struct WeaponPick {
    WeaponClass weaponClass = WeaponClass::None;
    int32_t entry = -1;  // in the class's table; -1 when the class has no image
};

inline constexpr uint16_t kNoWeapon = 0xFFFF;
// Standing and walking figures carry nothing when their weapon value is this; in the other
// poses it is the sword of that number.
inline constexpr uint16_t kNoWeaponWhileWalking = 255;

constexpr WeaponPick pickWeapon(uint16_t w, bool standingOrWalking) {
    if (w == kNoWeapon || (standingOrWalking && w == kNoWeaponWhileWalking)) return {};
    if (w < 10000) return {WeaponClass::Sword, w};
    if (w < 20000) return {WeaponClass::Spear, w - 10000};
    if (w < 30000) return {WeaponClass::Unarmed, -1};
    if (w < 40000) return {WeaponClass::Fan, w - 30000};
    return {};
}

constexpr bool hasImage(WeaponClass c) {
    return c == WeaponClass::Sword || c == WeaponClass::Spear || c == WeaponClass::Fan;
}

}  // namespace vs::world
