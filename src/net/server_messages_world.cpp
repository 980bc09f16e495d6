#include "net/server_messages_world.h"

#include <algorithm>

#include "base/log.h"

namespace vs::net {

bool MsgDrawObjects::accept() {
    std::erase_if(objects, [](const DrawnObject& o) { return !isDirection(o.direction); });
    return true;
}

bool MsgMapSize::accept() const {
    if (cellCount() <= kMaxCells) return true;
    VS_WARN("map %u of %u x %u cells refused: too large", number, width, height);
    return false;
}

// A field exists only where the block's length covers it.
std::optional<uint16_t> SoundBlock::u16At(size_t offset) const {
    base::ByteReader r(data);
    r.skip(offset);
    const uint16_t v = r.u16be();
    return r.ok() ? std::optional(v) : std::nullopt;
}

std::optional<uint32_t> SoundBlock::u32At(size_t offset) const {
    base::ByteReader r(data);
    r.skip(offset);
    const uint32_t v = r.u32be();
    return r.ok() ? std::optional(v) : std::nullopt;
}

// The header is laid out like a block's data: u16 sound number, u8 volume.
std::optional<uint16_t> MsgSoundEffect::soundNumber() const {
    return SoundBlock{0, header}.u16At(0);
}

std::optional<uint8_t> MsgSoundEffect::volume() const {
    if (header.size() < 3) return std::nullopt;
    return header[2];
}

std::optional<uint32_t> MsgSoundEffect::sourceObject() const {
    if (source.kind != kSourceObject) return std::nullopt;
    return source.u32At(0);
}

std::optional<std::pair<uint16_t, uint16_t>> MsgSoundEffect::sourceCell() const {
    if (source.kind != kSourceCell) return std::nullopt;
    auto x = source.u16At(0);
    auto y = source.u16At(2);
    if (!x || !y) return std::nullopt;
    return std::pair(*x, *y);
}

std::optional<uint16_t> MsgSoundEffect::modifierValue() const {
    if (modifier.kind != 3 && modifier.kind != 4) return std::nullopt;
    return modifier.u16At(0);
}

std::optional<uint16_t> MsgSoundEffect::modifierRate() const {
    if (modifier.kind != 4) return std::nullopt;
    return modifier.u16At(2);
}

std::optional<uint16_t> MsgSoundEffect::repeatCount() const {
    if (repeat.kind != 1 && repeat.kind != 2) return std::nullopt;
    return repeat.u16At(0);
}

}  // namespace vs::net
