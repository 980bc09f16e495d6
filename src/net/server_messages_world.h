#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/wire.h"
#include "net/wire_fields.h"
#include "net/wire_records.h"

// Server messages about the world: the player's place, the map, objects that come, walk, turn,
// act and go, effects, sounds, weather and time.
namespace vs::net {

// 4: the player's absolute place and its cell in the 17 x 15 view.
struct MsgUserPosition {
    static constexpr uint8_t kOpcode = kServerUserPosition;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t viewColumn = 0;
    uint16_t viewRow = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.u16(m.viewColumn);
        f.u16(m.viewRow);
    }
    bool accept() const { return viewColumn < kViewColumns && viewRow < kViewRows; }
    bool operator==(const MsgUserPosition&) const = default;
};

// 5: the player's own object id and facing, and the class for the status pane.
struct MsgUserAppearance {
    static constexpr uint8_t kOpcode = kServerUserAppearance;
    uint32_t id = 0;
    uint8_t facing = 0;
    uint8_t playerClass = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.skip(3);
        f.u8(m.facing);
        f.u8(m.playerClass);
    }
    bool operator==(const MsgUserAppearance&) const = default;
};

// 6: tiles for a rectangle of the current map, every cell of it in row order. Cells that fall
// outside the map are the receiver's to skip; they are still part of the body.
struct MapCell {
    uint16_t tile = 0;
    uint16_t flags = 0;
    uint16_t object = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.tile);
        f.u16(m.flags);
        f.u16(m.object);
    }
    bool operator==(const MapCell&) const = default;
};
struct MsgMap {
    static constexpr uint8_t kOpcode = kServerMap;
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t width = 0;
    uint8_t height = 0;
    std::vector<MapCell> cells;  // width x height, row by row
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.u8(m.width);
        f.u8(m.height);
        f.items(m.cells, size_t(m.width) * m.height);
    }
    bool operator==(const MsgMap&) const = default;
};

// 7: simple objects. Pictures 0x8000 to 0xBFFF are creatures, all others items. A record with
// a direction outside 0..3 is dropped alone.
struct DrawnObject {
    uint16_t x = 0;
    uint16_t y = 0;
    uint32_t id = 0;
    uint16_t image = 0;
    uint8_t colour = 0;
    uint8_t direction = 0;
    bool isCreature() const { return image >= 0x8000 && image <= 0xBFFF; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.u32(m.id);
        f.u16(m.image);
        f.u8(m.colour);
        f.u8(m.direction);
    }
    bool operator==(const DrawnObject&) const = default;
};
struct MsgDrawObjects {
    static constexpr uint8_t kOpcode = kServerDrawObjects;
    std::vector<DrawnObject> objects;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.list16(m.objects);
    }
    bool accept();
    bool operator==(const MsgDrawObjects&) const = default;
};

// 11 and 38: the server's answer to a step of the player, or a step the server makes. Bit 7 of
// the direction byte marks the client's own echo; a direction outside 0..3 is "no step" (4).
struct StepAnswer {
    uint8_t direction = kNoStep;
    bool echo = false;
    int16_t x = 0;
    int16_t y = 0;
    uint16_t viewColumn = 0;
    uint16_t viewRow = 0;
    uint8_t stepNumber = 0;
    bool stepBit7 = false;  // not used, kept as it came
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.highBit(m.direction, m.echo);
        f.i16(m.x);
        f.i16(m.y);
        f.u16(m.viewColumn);
        f.u16(m.viewRow);
        f.highBit(m.stepNumber, m.stepBit7);
    }
    bool accept() {
        if (!isDirection(direction)) direction = kNoStep;
        return true;
    }
    bool operator==(const StepAnswer&) const = default;
};
struct MsgMove : StepAnswer {
    static constexpr uint8_t kOpcode = kServerMove;
    bool operator==(const MsgMove&) const = default;
};
struct MsgMovePosition : StepAnswer {
    static constexpr uint8_t kOpcode = kServerMovePosition;
    bool operator==(const MsgMovePosition&) const = default;
};

// 12: another object walks one tile to (x, y).
struct MsgMoveObject {
    static constexpr uint8_t kOpcode = kServerMoveObject;
    uint32_t id = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t direction = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u16(m.x);
        f.u16(m.y);
        f.u8(m.direction);
    }
    bool accept() const { return isDirection(direction); }
    bool operator==(const MsgMoveObject&) const = default;
};

// 13: an object speaks: 0 speech, 1 shout, 2 and 3 other balloons.
struct MsgSay {
    static constexpr uint8_t kOpcode = kServerSay;
    uint8_t kind = 0;
    uint32_t id = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        f.u32(m.id);
        f.text8(m.text);
    }
    bool accept() const { return kind <= 3; }
    bool operator==(const MsgSay&) const = default;
};

// 14: one object leaves the world (0 = none).
struct MsgRemoveObject : ObjectIdOnly<kServerRemoveObjects> {};

// 17: an object turns.
struct MsgChangeDirection {
    static constexpr uint8_t kOpcode = kServerChangeDirection;
    uint32_t id = 0;
    uint8_t direction = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.direction);
    }
    bool accept() const { return isDirection(direction); }
    bool operator==(const MsgChangeDirection&) const = default;
};

// 18: an object uses or wields the item of a slot (0: takes it off). Actions of 160 and more
// have no animation.
struct MsgWield {
    static constexpr uint8_t kOpcode = kServerWield;
    uint32_t id = 0;
    uint8_t slot = 0;
    uint8_t action = 0;
    bool animated() const { return action < 160; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.slot);
        f.u8(m.action);
    }
    bool accept() const { return slot <= kLastSlot; }
    bool operator==(const MsgWield&) const = default;
};

// 19: a hit flash and the object's health bar (a percent above 100 shows none).
struct MsgDamageEffect {
    static constexpr uint8_t kOpcode = kServerDamageEffect;
    uint32_t id = 0;
    uint8_t strength = 0;
    uint8_t healthPercent = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.strength);
        f.u8(m.healthPercent);
    }
    bool operator==(const MsgDamageEffect&) const = default;
};

// 21: enter a map. Width or height 0 means no grid; a map of more than 2^24 cells is refused.
struct MsgMapSize {
    static constexpr uint8_t kOpcode = kServerMapSize;
    static constexpr uint64_t kMaxCells = uint64_t(1) << 24;
    enum Flag : uint8_t { kWeather = 1, kServerPaced = 2, kNoSeeThrough = 8 };
    uint16_t number = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t flags = 0;
    uint8_t edgeView = 0;  // 0: the view follows the player
    std::u16string name;
    uint16_t light = 0;
    uint64_t cellCount() const { return uint64_t(width) * height; }
    bool hasGrid() const { return width != 0 && height != 0; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.number);
        f.u16(m.width);
        f.u16(m.height);
        f.u8(m.flags);
        f.u8(m.edgeView);
        f.text8(m.name);
        f.u16(m.light);
    }
    bool accept() const;
    bool operator==(const MsgMapSize&) const = default;
};

// 22: a missile from one cell to another.
struct MsgFlyingObject {
    static constexpr uint8_t kOpcode = kServerFlyingObject;
    uint32_t shooter = 0;
    uint16_t image = 0;
    uint8_t imageExtra = 0;
    uint32_t missile = 0;
    uint16_t startX = 0;
    uint16_t startY = 0;
    uint16_t endX = 0;
    uint16_t endY = 0;
    uint32_t target = 0;
    uint8_t motion = 0;
    bool arrivesAtOnce() const { return startX == endX && startY == endY; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.shooter);
        f.u16(m.image);
        f.u8(m.imageExtra);
        f.u32(m.missile);
        f.u16(m.startX);
        f.u16(m.startY);
        f.u16(m.endX);
        f.u16(m.endY);
        f.u32(m.target);
        f.u8(m.motion);
    }
    bool operator==(const MsgFlyingObject&) const = default;
};

// 25: a sound effect (kind 0), a music track (kind 1) or MIDI music (kind 2). A sound effect has
// a header and three blocks (source, modifier, repeat), each a kind byte and a length byte and
// that many bytes; a block's fields exist only where its length covers them.
struct SoundBlock {
    uint8_t kind = 0;
    Bytes data;
    std::optional<uint16_t> u16At(size_t offset) const;
    std::optional<uint32_t> u32At(size_t offset) const;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        f.bytes8(m.data);
    }
    bool operator==(const SoundBlock&) const = default;
};
struct MsgSoundEffect {
    static constexpr uint8_t kOpcode = kServerSoundEffect;
    enum Kind : uint8_t { kEffect = 0, kMusic = 1, kMidi = 2 };
    enum SourceKind : uint8_t { kSourceObject = 0, kSourceCell = 1 };
    uint8_t kind = kEffect;
    uint8_t unused = 0;  // byte 2 of kinds 1 and 2
    // Kind 1: passed to the music stream.
    uint16_t musicA = 0;
    uint16_t musicB = 0;
    uint8_t musicC = 0;
    // Kind 2: a MIDI piece, 0 stops the music.
    uint16_t midiPiece = 0;
    // Kind 0.
    Bytes header;
    SoundBlock source;
    SoundBlock modifier;
    SoundBlock repeat;

    std::optional<uint16_t> soundNumber() const;
    std::optional<uint8_t> volume() const;
    std::optional<uint32_t> sourceObject() const;                     // source kind 0
    std::optional<std::pair<uint16_t, uint16_t>> sourceCell() const;  // source kind 1
    std::optional<uint16_t> modifierValue() const;                    // modifier kinds 3 and 4
    std::optional<uint16_t> modifierRate() const;                     // modifier kind 4, hundredths
    std::optional<uint16_t> repeatCount() const;                      // repeat kinds 1 and 2

    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        if (m.kind == kEffect) {
            f.bytes8(m.header);
            f.item(m.source);
            f.item(m.modifier);
            f.item(m.repeat);
        } else if (m.kind == kMusic) {
            f.u8(m.unused);
            f.u16(m.musicA);
            f.u16(m.musicB);
            f.u8(m.musicC);
        } else if (m.kind == kMidi) {
            f.u8(m.unused);
            f.u16(m.midiPiece);
        } else {
            f.reject();
        }
    }
    bool operator==(const MsgSoundEffect&) const = default;
};

// 26: an object plays a motion for duration x 10 ms.
struct MsgMotion {
    static constexpr uint8_t kOpcode = kServerMotion;
    uint32_t id = 0;
    uint8_t motion = 0;
    uint16_t duration = 0;
    uint8_t sound = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.motion);
        f.u16(m.duration);
        f.u8(m.sound);
    }
    bool operator==(const MsgMotion&) const = default;
};

// 29: a new look for an object.
struct MsgChangeShape {
    static constexpr uint8_t kOpcode = kServerChangeShape;
    uint32_t id = 0;
    Appearance appearance;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.item(m.appearance);
    }
    bool operator==(const MsgChangeShape&) const = default;
};

// 31: weather 0 (none) to 3.
struct MsgChangeWeather {
    static constexpr uint8_t kOpcode = kServerChangeWeather;
    uint8_t weather = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.weather);
    }
    bool operator==(const MsgChangeWeather&) const = default;
};

// 32: the game hour and minute.
struct MsgChangeHour {
    static constexpr uint8_t kOpcode = kServerChangeHour;
    uint8_t hour = 0;
    uint8_t minute = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.hour);
        f.u8(m.minute);
    }
    bool accept() const { return hour < 24 && minute < 60; }
    bool operator==(const MsgChangeHour&) const = default;
};

// 33 and 34: a save confirmed; a refresh finished.
struct MsgSelfSaveOK : OpcodeOnly<kServerSelfSaveOK> {};
struct MsgRefreshUserOK : OpcodeOnly<kServerRefreshUserOK> {};

// 41: a timed effect on an object (id not 0) or a tile; effect 134 flashes the screen.
struct MsgEffectLayer {
    static constexpr uint8_t kOpcode = kServerEffectLayer;
    static constexpr uint8_t kScreenFlash = 134;
    uint32_t id = 0;
    uint8_t effect = 0;
    uint16_t duration = 0;  // seconds
    uint16_t x = 0;
    uint16_t y = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
        f.u8(m.effect);
        f.u16(m.duration);
        f.u16(m.x);
        f.u16(m.y);
    }
    bool operator==(const MsgEffectLayer&) const = default;
};

// 51: a named character with its look; marks 1 to 3 attach a marker.
struct MsgCharacter {
    static constexpr uint8_t kOpcode = kServerCharacter;
    uint16_t x = 0;
    uint16_t y = 0;
    uint8_t direction = 0;
    uint32_t id = 0;
    Appearance appearance;
    uint8_t mark = 0;
    std::u16string name;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.x);
        f.u16(m.y);
        f.u8(m.direction);
        f.u32(m.id);
        f.item(m.appearance);
        f.u8(m.mark);
        f.text8(m.name, 32);
    }
    bool accept() const { return isDirection(direction); }
    bool operator==(const MsgCharacter&) const = default;
};

// 90: a fixed scene over the map view with one character in it.
struct MsgScene {
    static constexpr uint8_t kOpcode = kServerScene;
    uint16_t scene = 0;
    uint16_t character = 0;
    uint8_t direction = 0;
    uint8_t column = 0;
    uint8_t row = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.scene);
        f.u16(m.character);
        f.u8(m.direction);
        f.u8(m.column);
        f.u8(m.row);
    }
    bool accept() const { return isDirection(direction); }
    bool operator==(const MsgScene&) const = default;
};

// 95: an object dies or leaves.
struct MsgObjectGone : ObjectIdOnly<kServerObjectGone> {};

inline constexpr auto parseUserPosition = parse<MsgUserPosition>;
inline constexpr auto parseUserAppearance = parse<MsgUserAppearance>;
inline constexpr auto parseMap = parse<MsgMap>;
inline constexpr auto parseDrawObjects = parse<MsgDrawObjects>;
inline constexpr auto parseMove = parse<MsgMove>;
inline constexpr auto parseMovePosition = parse<MsgMovePosition>;
inline constexpr auto parseMoveObject = parse<MsgMoveObject>;
inline constexpr auto parseSay = parse<MsgSay>;
inline constexpr auto parseRemoveObject = parse<MsgRemoveObject>;
inline constexpr auto parseChangeDirection = parse<MsgChangeDirection>;
inline constexpr auto parseWield = parse<MsgWield>;
inline constexpr auto parseDamageEffect = parse<MsgDamageEffect>;
inline constexpr auto parseMapSize = parse<MsgMapSize>;
inline constexpr auto parseFlyingObject = parse<MsgFlyingObject>;
inline constexpr auto parseSoundEffect = parse<MsgSoundEffect>;
inline constexpr auto parseMotion = parse<MsgMotion>;
inline constexpr auto parseChangeShape = parse<MsgChangeShape>;
inline constexpr auto parseChangeWeather = parse<MsgChangeWeather>;
inline constexpr auto parseChangeHour = parse<MsgChangeHour>;
inline constexpr auto parseSelfSaveOK = parse<MsgSelfSaveOK>;
inline constexpr auto parseRefreshUserOK = parse<MsgRefreshUserOK>;
inline constexpr auto parseEffectLayer = parse<MsgEffectLayer>;
inline constexpr auto parseCharacter = parse<MsgCharacter>;
inline constexpr auto parseScene = parse<MsgScene>;
inline constexpr auto parseObjectGone = parse<MsgObjectGone>;

}  // namespace vs::net
