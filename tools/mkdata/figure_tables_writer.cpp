#include "mkdata/figure_tables_writer.h"

#include "base/byte_io.h"
#include "mkdata/scrambled_int_writer.h"

namespace vs::mkdata {

std::vector<uint8_t> partTableFile(std::span<const PartRecord> records,
                                   std::optional<int32_t> count) {
    base::ByteWriter w;
    appendScrambledInt(w, uint32_t(count.value_or(int32_t(records.size()))));
    for (const PartRecord& r : records) {
        appendScrambledInt(w, uint32_t(r.value));
        appendScrambledInt(w, uint32_t(r.palette));
        appendScrambledInt(w, uint32_t(r.base));
    }
    return w.take();
}

std::vector<uint8_t> drawOrderFile(std::span<const std::string> words) {
    base::ByteWriter w;
    for (const std::string& word : words) w.bytes(word.substr(0, 4)).u8('\n');
    return w.take();
}

std::vector<uint8_t> creatureTableFile(std::span<const CreatureRecord> creatures) {
    base::ByteWriter w;
    w.u32le(uint32_t(creatures.size()));
    for (const CreatureRecord& c : creatures) {
        w.u32le(c.baseFrame).u8(uint32_t(c.motions.size())).u8(c.noGroundShadow ? 1 : 0);
        w.u16le(c.palette);
        for (const auto& motion : c.motions) {
            w.u16le(uint32_t(motion.size()));
            for (const CreatureFrameRecord& f : motion)
                w.u16le(f.offset)
                    .u16le(f.duration)
                    .u16le(f.value)
                    .u8(f.opacity)
                    .u8(f.extra0)
                    .u8(f.extra1);
        }
    }
    return w.take();
}

}  // namespace vs::mkdata
