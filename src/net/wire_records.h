#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#include "net/wire_fields.h"

// Records that several messages carry.
namespace vs::net {

// A message or command without a body (the opcode alone).
template <uint8_t Opcode>
struct OpcodeOnly {
    static constexpr uint8_t kOpcode = Opcode;
    template <class F, class M>
    static void fields(F&, M&) {}
    bool operator==(const OpcodeOnly&) const = default;
};
// One whose body is one byte.
template <uint8_t Opcode>
struct OneByte {
    static constexpr uint8_t kOpcode = Opcode;
    uint8_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.value);
    }
    bool operator==(const OneByte&) const = default;
};
// One whose body is one 32-bit value.
template <uint8_t Opcode>
struct OneU32 {
    static constexpr uint8_t kOpcode = Opcode;
    uint32_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.value);
    }
    bool operator==(const OneU32&) const = default;
};

// One whose body is an object id.
template <uint8_t Opcode>
struct ObjectIdOnly {
    static constexpr uint8_t kOpcode = Opcode;
    uint32_t id = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.id);
    }
    bool operator==(const ObjectIdOnly&) const = default;
};

// The look of a world object: a composed character (kind 0, 11 bytes after the kind byte) or a
// single-image creature (kind 1, 5 bytes). Items (kind 2) are made by the world from their
// picture numbers; on the wire an appearance record of any kind but 0 and 1 drops its message.
struct Appearance {
    enum Kind : uint8_t { kCharacter = 0, kCreature = 1, kItem = 2 };
    uint8_t kind = kCharacter;
    uint8_t gender = 0;  // for a creature: its unused first byte, kept as it came
    uint8_t state = 0;
    uint8_t head = 0;
    uint8_t headTint = 0;
    uint8_t body = 0;
    uint8_t bodyColour = 0;
    uint16_t weapon = 0;
    uint8_t weaponTint = 0;
    uint8_t shield = 0;
    uint8_t shieldTint = 0;
    uint16_t image = 0;  // creature or item picture
    uint8_t colour = 0;

    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        if (m.kind == kCharacter) {
            composed(f, m);
        } else if (m.kind == kCreature) {
            f.u8(m.gender);
            f.u8(m.state);
            f.u16(m.image);
            f.u8(m.colour);
        } else {
            f.reject();
        }
    }
    template <class F, class M>
    static void composed(F& f, M& m) {
        f.u8(m.gender);
        f.u8(m.state);
        f.u8(m.head);
        f.u8(m.headTint);
        f.u8(m.body);
        f.u8(m.bodyColour);
        f.u16(m.weapon);
        f.u8(m.weaponTint);
        f.u8(m.shield);
        f.u8(m.shieldTint);
        // Body 0 is the plain body of the gender; the record holds the body that is drawn.
        if constexpr (!std::is_const_v<M>) {
            if (m.body == 0 && m.gender != 0) m.body = 1;
        }
    }
    bool operator==(const Appearance&) const = default;
};

// The speaker's picture in the menu and message dialogs: a composed character, or a creature
// (kind 1) or item (kind 2) picture with its colour.
struct Portrait {
    uint8_t kind = Appearance::kCharacter;
    Appearance character;
    uint16_t picture = 0;
    uint8_t colour = 0;

    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.kind);
        body(f, m);
    }
    template <class F, class M>
    static void body(F& f, M& m) {
        if (m.kind == Appearance::kCharacter) {
            Appearance::composed(f, m.character);
        } else if (m.kind == Appearance::kCreature || m.kind == Appearance::kItem) {
            f.u16(m.picture);
            f.u8(m.colour);
        } else {
            f.reject();
        }
    }
    bool operator==(const Portrait&) const = default;
};

// A worn item on the character pages: an item picture (0 = empty) and its tint.
struct Equipment {
    uint16_t picture = 0;
    uint8_t tint = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.picture);
        f.u8(m.tint);
    }
    bool operator==(const Equipment&) const = default;
};
// Worn items in wire order: slots 4, 7, 8, 20 and 21.
using EquipmentSlots = std::array<Equipment, 5>;
inline constexpr std::array<uint8_t, 5> kEquipmentSlotNumbers = {4, 7, 8, 20, 21};

// A line of a character page's picture list.
struct SymbolLine {
    uint8_t picture = 0;
    uint8_t colour = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.picture);
        f.u8(m.colour);
        f.text8(m.text);
    }
    bool operator==(const SymbolLine&) const = default;
};

}  // namespace vs::net
