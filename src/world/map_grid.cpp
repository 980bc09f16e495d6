#include "world/map_grid.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <system_error>

#include "base/byte_io.h"
#include "base/log.h"
#include "platform/files.h"

namespace vs::world {

namespace {

constexpr size_t kHeaderBytes = 8;

constexpr std::array<uint16_t, 256> makeCrcTable() {
    std::array<uint16_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i << 8;
        for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1;
        t[i] = uint16_t(c);
    }
    return t;
}
constexpr auto kCrcTable = makeCrcTable();

bool fits(uint64_t width, uint64_t height) {
    return width * height <= MapGrid::kMaxCells;
}

std::vector<uint8_t> cellBytes(std::span<const MapCell> cells) {
    base::ByteWriter w;
    for (const MapCell& c : cells) w.u16le(c.tile).u16le(c.flags).u16le(c.object);
    return w.take();
}

// Blocking bits a step in direction d meets when leaving a cell and when entering one.
constexpr uint8_t kLeaveBit[4] = {2, 8, 1, 4};
constexpr uint8_t kEnterBit[4] = {1, 4, 2, 8};

}  // namespace

uint16_t crc16Step(uint16_t c, uint16_t word) {
    return uint16_t((c << 8) ^ kCrcTable[c >> 8] ^ word);
}

bool walksThrough(std::u16string_view name) {
    if (name.size() < 2) return false;
    const char16_t g = name[name.size() - 2], m = name[name.size() - 1];
    return (g == u'G' || g == u'g') && (m == u'M' || m == u'm');
}

std::filesystem::path mapFilePath(const std::filesystem::path& mapsDir, uint16_t number) {
    return mapsDir / base::strprintf("VL%06u.cmp", unsigned(number));
}

std::vector<uint8_t> encodeMapFile(int32_t width, int32_t height, std::span<const MapCell> cells) {
    const std::vector<uint8_t> raw = cellBytes(cells);
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> out(kHeaderBytes + size);
    if (compress(out.data() + kHeaderBytes, &size, raw.data(), uLong(raw.size())) != Z_OK)
        return {};
    std::memcpy(out.data(), MapGrid::kMagic, 4);
    out[4] = uint8_t(width), out[5] = uint8_t(width >> 8);
    out[6] = uint8_t(height), out[7] = uint8_t(height >> 8);
    out.resize(kHeaderBytes + size);
    return out;
}

std::vector<MapCell> decodeMapFile(std::span<const uint8_t> file, int32_t width, int32_t height) {
    const size_t count = size_t(width) * size_t(height);
    std::vector<MapCell> cells(count);
    base::ByteReader r(file);
    const auto magic = r.bytes(4);
    const uint16_t w = r.u16le(), h = r.u16le();
    if (r.failed() || std::memcmp(magic.data(), MapGrid::kMagic, 4) != 0 || w != width ||
        h != height)
        return cells;
    // The stream goes straight into the cells' bytes and stops at their end; what it does not
    // reach stays zero.
    std::vector<uint8_t> raw(count * MapGrid::kCellBytes);
    const auto in = r.rest();
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return cells;
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = uInt(std::min<size_t>(in.size(), UINT32_MAX));
    z.next_out = raw.data();
    z.avail_out = uInt(raw.size());
    while (z.avail_out > 0) {
        const int rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK) break;
    }
    inflateEnd(&z);
    base::ByteReader cr(raw);
    for (MapCell& c : cells) {
        c.tile = cr.u16le();
        c.flags = cr.u16le();
        c.object = cr.u16le();
    }
    return cells;
}

base::Rect widenedView(int32_t ox, int32_t oy) {
    return base::Rect::fromSize(ox - 1, oy - 1, 17 + 2, 15 + 2);
}

base::Rect scrollStrip(int32_t ox, int32_t oy, int32_t direction) {
    const base::Rect v = widenedView(ox, oy);
    switch (direction) {
        case 0:
            return {v.left, v.top - 1, v.right, v.top};
        case 1:
            return {v.right, v.top, v.right + 1, v.bottom};
        case 2:
            return {v.left, v.bottom, v.right, v.bottom + 1};
        case 3:
            return {v.left - 1, v.top, v.left, v.bottom};
        default:
            return {};
    }
}

const MapCell* MapGrid::cell(int32_t x, int32_t y) const {
    return inside(x, y) ? &cells_[size_t(y) * size_t(width_) + size_t(x)] : nullptr;
}

MapCell* MapGrid::cell(int32_t x, int32_t y) {
    return inside(x, y) ? &cells_[size_t(y) * size_t(width_) + size_t(x)] : nullptr;
}

MapGrid::EnterResult MapGrid::Enter(const std::filesystem::path& mapsDir, uint16_t number,
                                    uint16_t width, uint16_t height, bool forced) {
    EnterResult result;
    if (number != number_ || forced) {
        Store(mapsDir);
        number_ = number, width_ = width, height_ = height;
        Load(mapsDir);
        result.numberChanged = true;
    } else if (width != width_ || height != height_ || !hasCells()) {
        // The old cells do not fit the new size: the checksum exchange fills a fresh grid.
        width_ = width, height_ = height;
        cells_.assign(fits(width, height) ? size_t(width) * height : 0, MapCell{});
        result.resized = true;
    }
    return result;
}

void MapGrid::Load(const std::filesystem::path& mapsDir) {
    cells_.clear();
    if (!fits(uint64_t(width_), uint64_t(height_))) {
        VS_WARN("map %u of %d x %d cells is too large", unsigned(number_), width_, height_);
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(mapsDir, ec);
    const uint64_t raw = uint64_t(width_) * uint64_t(height_) * kCellBytes;
    // Room for the largest stream zlib writes for these cells, and a little more.
    const size_t cap = kHeaderBytes + size_t(compressBound(uLong(raw))) + 4096;
    std::string bytes;
    const auto rc = platform::readFile(mapFilePath(mapsDir, number_), cap, bytes);
    if (rc == platform::ReadResult::Ok) {
        cells_ = decodeMapFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                               width_, height_);
    } else {
        cells_.assign(size_t(width_) * size_t(height_), MapCell{});
    }
}

bool MapGrid::Store(const std::filesystem::path& mapsDir) {
    if (cells_.empty()) return false;
    bool written = false;
    std::error_code ec;
    std::filesystem::create_directories(mapsDir, ec);
    const auto file = encodeMapFile(width_, height_, cells_);
    if (!file.empty()) {
        std::string error;
        written = platform::writeFileAtomically(
            mapFilePath(mapsDir, number_),
            {reinterpret_cast<const char*>(file.data()), file.size()}, 0644, &error);
        if (!written) VS_WARN("map %u not stored: %s", unsigned(number_), error.c_str());
    }
    cells_.clear();
    cells_.shrink_to_fit();
    return written;
}

void MapGrid::Assign(uint16_t number, int32_t width, int32_t height, std::vector<MapCell> cells) {
    number_ = number, width_ = width, height_ = height;
    cells_ = std::move(cells);
    if (cells_.size() != size_t(width) * size_t(height)) cells_.assign(size_t(width) * height, {});
}

void MapGrid::ApplyServerTiles(int32_t x, int32_t y, int32_t w, int32_t h,
                               std::span<const MapCell> tiles,
                               const std::function<void(int32_t, int32_t)>& changed) {
    if (w <= 0 || h <= 0 || tiles.size() < size_t(w) * size_t(h)) return;
    for (int32_t row = 0; row < h; ++row) {
        for (int32_t col = 0; col < w; ++col) {
            MapCell* c = cell(x + col, y + row);
            if (!c) continue;
            const MapCell& t = tiles[size_t(row) * size_t(w) + size_t(col)];
            const bool tileChanged = c->tile != t.tile;
            c->tile = t.tile;
            c->object = t.object;
            c->flags = uint16_t((c->flags & ~1u) | (t.flags & 1u));
            if (tileChanged && changed) changed(x + col, y + row);
        }
    }
}

base::Rect MapGrid::Clip(const base::Rect& r) const {
    if (!hasCells()) return {};
    return r.intersect({0, 0, width_, height_});
}

uint16_t MapGrid::Checksum(const base::Rect& r) const {
    const base::Rect c = Clip(r);
    uint16_t sum = 0;
    if (c.empty()) return 0;
    for (int32_t y = c.top; y < c.bottom; ++y) {
        for (int32_t x = c.left; x < c.right; ++x) {
            const MapCell& m = cells_[size_t(y) * size_t(width_) + size_t(x)];
            sum = crc16Step(sum, m.tile);
            sum = crc16Step(sum, m.flags);
            sum = crc16Step(sum, m.object);
        }
    }
    return sum;
}

Passage MapGrid::Passable(int32_t x, int32_t y, int32_t direction,
                          const WalkContext& context) const {
    if (direction < 0 || direction > 3) return Passage::Blocked;
    const int32_t tx = x + kStepDx[direction], ty = y + kStepDy[direction];
    const MapCell* target = cell(tx, ty);
    if (!target) return Passage::Blocked;
    if (context.dead) return Passage::Open;
    if (context.creatureAt) {
        bool passable = false;
        if (context.creatureAt(tx, ty, passable) && !passable) return Passage::Occupied;
    }
    const MapCell* here = cell(x, y);
    const size_t count = context.blocking.size();
    const uint16_t a = here ? here->object : 0, b = target->object;
    if (a >= count && b >= count) return Passage::Blocked;
    // A number beyond the table has no blocking bits.
    const uint8_t leave = a < count ? context.blocking[a] : 0;
    const uint8_t enter = b < count ? context.blocking[b] : 0;
    if (leave & kLeaveBit[direction]) return Passage::Blocked;
    if (enter & kEnterBit[direction]) return Passage::Blocked;
    if (target->tile == 0 || (target->flags & 1)) return Passage::Blocked;
    return Passage::Open;
}

}  // namespace vs::world
