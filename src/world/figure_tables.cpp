#include "world/figure_tables.h"

#include <algorithm>

#include "base/byte_io.h"
#include "resources/scrambled_int.h"

namespace vs::world {

namespace {

constexpr size_t kPartValues = 3;
constexpr size_t kPartRecord = kPartValues * resources::scrambled::kRecordSize;

// The scrambled integer at `position`; false when it is short or fails its check.
bool scrambledAt(std::span<const uint8_t> bytes, size_t position, int32_t& out) {
    constexpr size_t n = resources::scrambled::kRecordSize;
    if (position > bytes.size() || bytes.size() - position < n) return false;
    std::array<uint8_t, n> record;
    std::copy_n(bytes.begin() + ptrdiff_t(position), n, record.begin());
    uint32_t v = 0;
    if (!resources::scrambled::decode(record, uint32_t(position), v)) return false;
    out = int32_t(v);
    return true;
}

}  // namespace

PartTable PartTable::parse(std::span<const uint8_t> bytes, PartEntry fallback) {
    constexpr size_t n = resources::scrambled::kRecordSize;
    int32_t count = 0;
    if (!scrambledAt(bytes, 0, count) || count <= 0) return PartTable({}, fallback);
    const size_t fits = (bytes.size() - n) / kPartRecord;
    std::vector<PartEntry> entries;
    entries.reserve(std::min(size_t(count), fits));
    for (size_t i = 0; i < size_t(count) && i < fits; ++i) {
        const size_t at = n + i * kPartRecord;
        PartEntry e;
        if (scrambledAt(bytes, at, e.value) && scrambledAt(bytes, at + n, e.palette) &&
            scrambledAt(bytes, at + 2 * n, e.base)) {
            entries.push_back(e);
        } else {
            entries.push_back(fallback);
        }
    }
    return PartTable(std::move(entries), fallback);
}

DrawOrderTable DrawOrderTable::parse(std::span<const uint8_t> bytes) {
    DrawOrderTable t;
    t.rows_.resize(bytes.size() / kRecordSize);
    for (size_t r = 0; r < t.rows_.size(); ++r)
        std::copy_n(bytes.begin() + ptrdiff_t(r * kRecordSize), 4, t.rows_[r].begin());
    return t;
}

const CreatureMotion& Creature::motion(int64_t index) const {
    static const CreatureMotion kNone;
    if (index >= 0 && index < int64_t(motions.size())) return motions[size_t(index)];
    return motions.empty() ? kNone : motions.front();
}

CreatureTable CreatureTable::parse(std::span<const uint8_t> bytes) {
    CreatureTable t;
    base::ByteReader in(bytes);
    const uint32_t count = in.u32le();
    if (!in.ok()) return t;
    t.creatures_.reserve(std::min<size_t>(count, in.remaining() / kCreatureHeader));
    for (uint32_t c = 0; c < count; ++c) {
        if (!in.has(kCreatureHeader)) return t;
        Creature creature;
        creature.baseFrame = in.u32le();
        const uint8_t m = in.u8();
        creature.noGroundShadow = in.u8() != 0;
        creature.palette = in.u16le();
        creature.motions.reserve(std::min<size_t>(m, in.remaining() / kMotionHeader));
        bool complete = true;
        for (int i = 0; i < m && complete; ++i) {
            if (!in.has(kMotionHeader)) {
                complete = false;
                break;
            }
            const uint16_t k = in.u16le();
            CreatureMotion motion;
            motion.frames.reserve(std::min<size_t>(k, in.remaining() / kFrameRecord));
            for (int j = 0; j < k; ++j) {
                if (!in.has(kFrameRecord)) {
                    complete = false;
                    break;
                }
                CreatureFrame f;
                f.offset = in.u16le();
                f.duration = in.u16le();
                f.value = in.u16le();
                f.opacity = in.u8();
                f.extra[0] = in.u8();
                f.extra[1] = in.u8();
                motion.frames.push_back(f);
            }
            creature.motions.push_back(std::move(motion));
        }
        t.creatures_.push_back(std::move(creature));
        if (!complete) return t;
    }
    return t;
}

const Creature& CreatureTable::defaultCreature() {
    static const Creature kDefault = [] {
        Creature c;
        CreatureMotion still;
        still.frames.push_back(CreatureFrame{0, kDefaultDuration, 0, 0, {0, 0}});
        c.motions.assign(kDefaultMotions, still);
        return c;
    }();
    return kDefault;
}

const Creature& CreatureTable::motions(int64_t number) const {
    const Creature* c = find(number);
    return c ? *c : defaultCreature();
}

}  // namespace vs::world
