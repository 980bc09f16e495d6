#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The tables behind the figure libraries, parsed from the bytes of their archive entries. Every
// count is bounded by the bytes really present before anything is sized; a table that runs
// short ends there, keeping what was read.
namespace vs::world {

// One entry of HEAD.TBL, BODY.TBL and the weapon and shield tables.
struct PartEntry {
    int32_t value = -1;  // not used by drawing
    int32_t palette = -1;
    int32_t base = 0;  // the entry's first frame in its sprite file
    bool operator==(const PartEntry&) const = default;
};

class PartTable {
  public:
    // Heads fall back to an entry whose frames are never valid; the other parts to frame 0.
    static constexpr PartEntry kHeadFallback{-1, -1, -255};
    static constexpr PartEntry kPartFallback{-1, -1, 0};

    PartTable() = default;
    PartTable(std::vector<PartEntry> entries, PartEntry fallback)
        : entries_(std::move(entries)), fallback_(fallback) {}

    // Scrambled integers from the entry's first byte: a count, then three per entry. An entry
    // with a value that fails its check is the fallback entry.
    static PartTable parse(std::span<const uint8_t> bytes, PartEntry fallback);

    const PartEntry& at(int64_t index) const {
        return index >= 0 && index < int64_t(entries_.size()) ? entries_[size_t(index)] : fallback_;
    }
    size_t count() const { return entries_.size(); }

  private:
    std::vector<PartEntry> entries_;
    PartEntry fallback_ = kPartFallback;
};

// DRWORDER.TBL: a 4-letter word per row, back to front ('b' body, 'h' head, 'w' weapon, 's'
// shield, anything else nothing), each followed by one separator byte.
using DrawOrderWord = std::array<char, 4>;

class DrawOrderTable {
  public:
    static constexpr size_t kRecordSize = 5;
    static constexpr DrawOrderWord kOutside{'b', 'h', '0', '0'};

    static DrawOrderTable parse(std::span<const uint8_t> bytes);
    DrawOrderWord word(int64_t row) const {
        return row >= 0 && row < int64_t(rows_.size()) ? rows_[size_t(row)] : kOutside;
    }
    size_t rows() const { return rows_.size(); }

  private:
    std::vector<DrawOrderWord> rows_;
};

// MONSTER.DNA, little-endian.
struct CreatureFrame {
    uint16_t offset = 0;    // added to the creature's base frame
    uint16_t duration = 0;  // ms
    uint16_t value = 0;     // not used by drawing
    uint8_t opacity = 0;    // 0 opaque, else value/255
    uint8_t extra[2] = {0, 0};
    bool operator==(const CreatureFrame&) const = default;
};

struct CreatureMotion {
    std::vector<CreatureFrame> frames;
    // An all-zero record beyond the list.
    CreatureFrame frame(int64_t index) const {
        return index >= 0 && index < int64_t(frames.size()) ? frames[size_t(index)]
                                                            : CreatureFrame{};
    }
};

struct Creature {
    uint32_t baseFrame = 0;
    bool noGroundShadow = false;
    uint16_t palette = 0;
    std::vector<CreatureMotion> motions;

    // Motion 0 beyond the list; an empty motion when there is none at all.
    const CreatureMotion& motion(int64_t index) const;
};

class CreatureTable {
  public:
    static constexpr size_t kCreatureHeader = 8;
    static constexpr size_t kMotionHeader = 2;
    static constexpr size_t kFrameRecord = 9;
    static constexpr int kDefaultMotions = 21;
    static constexpr uint16_t kDefaultDuration = 30000;

    static CreatureTable parse(std::span<const uint8_t> bytes);

    size_t count() const { return creatures_.size(); }
    // Null beyond the table.
    const Creature* find(int64_t number) const {
        return number >= 0 && number < int64_t(creatures_.size()) ? &creatures_[size_t(number)]
                                                                  : nullptr;
    }
    // The creature, or the default one (21 motions of one long frame) for animation timing.
    const Creature& motions(int64_t number) const;
    static const Creature& defaultCreature();

  private:
    std::vector<Creature> creatures_;
};

}  // namespace vs::world
