#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The tables of the image libraries, parsed from the bytes of their archive entries. Every table
// is untrusted: a parser reads only what the entry holds and never sizes an allocation from a
// count it has not checked against the bytes that are there.
namespace vs::world::tables {

// TILE.TBL and TILEC.TBL: u32 count, then up to count u16 entries.
inline constexpr uint16_t kCycles = 0x8000;       // the palette cycles
inline constexpr uint16_t kPaletteBits = 0x7FFF;  // the palette number
std::vector<uint16_t> parsePaletteTable(std::span<const uint8_t> entry);

// EFFECT.FRM: u32 count, then up to count u32 palette numbers.
std::vector<uint32_t> parseFramePalettes(std::span<const uint8_t> entry);

// One static object of SOBJ.TBL.
struct ObjectInfo {
    int32_t light = -1;
    uint8_t lightHeight = 0;
    uint8_t blocking = 0;
    std::vector<uint16_t> pieces;  // bottom piece first; 0 is an empty piece
    int32_t height() const { return int32_t(pieces.size()); }
};
// SOBJ.TBL: records for object numbers 1, 2, … while whole records remain; the stored count is
// not trusted. Element 0 is the unused object 0, so the count is size().
std::vector<ObjectInfo> parseObjectTable(std::span<const uint8_t> entry);

// Scrambled records (resources/scrambled_int.h) read from an entry held whole.
class ScrambledReader {
  public:
    explicit ScrambledReader(std::span<const uint8_t> entry) : entry_(entry) {}
    // False when fewer than 8 bytes remain (nothing is consumed) or the check value fails (the
    // record is consumed, out unchanged).
    bool read(uint32_t& out);
    bool read(int32_t& out);
    bool read(float& out);
    size_t remaining() const { return entry_.size() - pos_; }
    bool anyFailed() const { return failed_; }

  private:
    std::span<const uint8_t> entry_;
    size_t pos_ = 0;
    bool failed_ = false;
};
inline constexpr size_t kScrambledSize = 8;

// ITEM.TBL.
struct ItemInfo {
    int32_t palette = 0;
    float translucency = 0.0f;  // 0 or less: opaque
    int32_t light = -1;
    bool cycles = false;
};
struct ItemTable {
    std::vector<ItemInfo> items;
    bool damaged = false;  // some value failed its check or was missing
};
ItemTable parseItemTable(std::span<const uint8_t> entry);

// EFFECT.TBL.
struct EffectFrame {
    int32_t frame = 0;
    int32_t time = 0;  // display time in ms
    float translucency = 0.0f;
    int32_t light = -1;
};
struct EffectList {
    std::vector<EffectFrame> frames;
    // A loop is kept only when 0 ≤ start ≤ end < frames.size(); otherwise both are −1 and the
    // list plays once.
    int32_t loopStart = -1;
    int32_t loopEnd = -1;
    bool loops() const { return loopStart >= 0; }
};
struct Effect {
    int32_t number = 0;
    EffectList front;   // list A
    EffectList behind;  // list B
};
// Nothing (damage) when a value fails its check, or a count or list length is negative or
// larger than the entry can hold.
std::optional<std::vector<Effect>> parseEffectTable(std::span<const uint8_t> entry);

// LIGHT.TBL.
struct LightInfo {
    int32_t r0 = 0, rx = 0, ry = 0;
    float intensity = 0.0f;
    float exponent = 0.0f;
};
struct LightTable {
    std::vector<LightInfo> lights;
    bool damaged = false;
};
LightTable parseLightTable(std::span<const uint8_t> entry);

}  // namespace vs::world::tables
