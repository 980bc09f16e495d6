#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The tables of the character and creature libraries, written the way the client reads them.
namespace vs::mkdata {

// HEAD.TBL, BODY.TBL and the weapon and shield tables: scrambled integers, a count (the number
// of records unless given) and three values per record.
struct PartRecord {
    int32_t value = 0;
    int32_t palette = 0;
    int32_t base = 0;
};
std::vector<uint8_t> partTableFile(std::span<const PartRecord> records,
                                   std::optional<int32_t> count = {});

// DRWORDER.TBL: one 4-letter word per row, each followed by a line feed.
std::vector<uint8_t> drawOrderFile(std::span<const std::string> words);

// MONSTER.DNA, little-endian.
struct CreatureFrameRecord {
    uint16_t offset = 0;
    uint16_t duration = 0;
    uint16_t value = 0;
    uint8_t opacity = 0;
    uint8_t extra0 = 0, extra1 = 0;
};
struct CreatureRecord {
    uint32_t baseFrame = 0;
    bool noGroundShadow = false;
    uint16_t palette = 0;
    std::vector<std::vector<CreatureFrameRecord>> motions;
};
std::vector<uint8_t> creatureTableFile(std::span<const CreatureRecord> creatures);

}  // namespace vs::mkdata
