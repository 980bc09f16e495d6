#include "world/image_tables.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/byte_io.h"
#include "resources/scrambled_int.h"

namespace vs::world::tables {

namespace {

// u32 count, then as many of the count's elements as the entry holds.
template <class T, class Read>
std::vector<T> countedList(std::span<const uint8_t> entry, size_t size, Read&& read) {
    base::ByteReader r(entry);
    const uint32_t count = r.u32le();
    std::vector<T> out;
    if (r.failed()) return out;
    const size_t n = std::min<size_t>(count, r.remaining() / size);
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) out.push_back(T(read(r)));
    return out;
}

// Values of a record count as 8 bytes each.
constexpr size_t kItemSize = 5 * kScrambledSize;
constexpr size_t kEffectHeadSize = 7 * kScrambledSize;
constexpr size_t kEffectFrameSize = 4 * kScrambledSize;
constexpr size_t kLightSize = 6 * kScrambledSize;

// A count read as an integer; negative counts are none.
size_t fitting(int32_t count, size_t remaining, size_t size) {
    return count <= 0 ? 0 : std::min<size_t>(size_t(count), remaining / size);
}

}  // namespace

std::vector<uint16_t> parsePaletteTable(std::span<const uint8_t> entry) {
    return countedList<uint16_t>(entry, 2, [](base::ByteReader& r) { return r.u16le(); });
}

std::vector<uint32_t> parseFramePalettes(std::span<const uint8_t> entry) {
    return countedList<uint32_t>(entry, 4, [](base::ByteReader& r) { return r.u32le(); });
}

std::vector<ObjectInfo> parseObjectTable(std::span<const uint8_t> entry) {
    base::ByteReader r(entry);
    r.u32le();  // the count, not trusted
    r.u16le();
    std::vector<ObjectInfo> out(1);
    while (r.has(7)) {
        ObjectInfo o;
        o.light = r.i32le();
        o.lightHeight = r.u8();
        o.blocking = r.u8();
        const uint8_t n = r.u8();
        if (!r.has(size_t(n) * 2)) break;
        o.pieces.resize(n);
        for (auto& p : o.pieces) p = r.u16le();
        out.push_back(std::move(o));
    }
    return out;
}

bool ScrambledReader::read(uint32_t& out) {
    if (remaining() < kScrambledSize) {
        failed_ = true;
        return false;
    }
    std::array<uint8_t, resources::scrambled::kRecordSize> record;
    std::memcpy(record.data(), entry_.data() + pos_, record.size());
    const bool ok = resources::scrambled::decode(record, uint32_t(pos_), out);
    pos_ += kScrambledSize;
    failed_ |= !ok;
    return ok;
}

bool ScrambledReader::read(int32_t& out) {
    uint32_t v = uint32_t(out);
    const bool ok = read(v);
    out = int32_t(v);
    return ok;
}

bool ScrambledReader::read(float& out) {
    uint32_t v = resources::scrambled::floatBits(out);
    const bool ok = read(v);
    out = resources::scrambled::bitsFloat(v);
    return ok;
}

ItemTable parseItemTable(std::span<const uint8_t> entry) {
    ScrambledReader r(entry);
    ItemTable t;
    int32_t count = 0;
    r.read(count);
    t.items.resize(fitting(count, r.remaining(), kItemSize));
    for (auto& item : t.items) {
        int32_t unused = 0, cycles = 0;
        r.read(unused);
        r.read(item.palette);
        r.read(item.translucency);
        r.read(item.light);
        r.read(cycles);
        item.cycles = cycles != 0;
    }
    t.damaged = r.anyFailed();
    return t;
}

std::optional<std::vector<Effect>> parseEffectTable(std::span<const uint8_t> entry) {
    ScrambledReader r(entry);
    int32_t count = 0;
    if (!r.read(count) || count < 0 || size_t(count) > r.remaining() / kEffectHeadSize)
        return std::nullopt;
    std::vector<Effect> out;
    out.resize(size_t(count));
    auto readLoop = [&](EffectList& list, int32_t start, int32_t end) {
        const auto n = int32_t(list.frames.size());
        if (start >= 0 && start <= end && end < n) list.loopStart = start, list.loopEnd = end;
    };
    for (auto& e : out) {
        int32_t nA = 0, sA = 0, eA = 0, nB = 0, sB = 0, eB = 0;
        if (!r.read(e.number) || !r.read(nA) || !r.read(sA) || !r.read(eA) || !r.read(nB) ||
            !r.read(sB) || !r.read(eB))
            return std::nullopt;
        if (nA < 0 || nB < 0 || uint64_t(nA) + uint64_t(nB) > r.remaining() / kEffectFrameSize)
            return std::nullopt;
        e.front.frames.resize(size_t(nA));
        e.behind.frames.resize(size_t(nB));
        for (EffectList* list : {&e.front, &e.behind}) {
            for (auto& f : list->frames) {
                if (!r.read(f.frame) || !r.read(f.time) || !r.read(f.translucency) ||
                    !r.read(f.light))
                    return std::nullopt;
            }
        }
        readLoop(e.front, sA, eA);
        readLoop(e.behind, sB, eB);
    }
    return out;
}

LightTable parseLightTable(std::span<const uint8_t> entry) {
    ScrambledReader r(entry);
    LightTable t;
    int32_t count = 0;
    r.read(count);
    t.lights.resize(fitting(count, r.remaining(), kLightSize));
    for (auto& l : t.lights) {
        int32_t unused = 0;
        r.read(unused);
        r.read(l.r0);
        r.read(l.rx);
        r.read(l.ry);
        r.read(l.intensity);
        r.read(l.exponent);
    }
    t.damaged = r.anyFailed();
    return t;
}

}  // namespace vs::world::tables
