#include "graphics/font_cache.h"

#include <algorithm>
#include <cstring>

#include "app/error.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::graphics {

namespace {

struct Box {
    int16_t advance, top, left, bottom, right;
};

Box readBox(const uint8_t* p) {
    base::ByteReader r(p, FontCache::kRecordHeader);
    Box b;
    b.advance = r.i16le();
    b.top = r.i16le();
    b.left = r.i16le();
    b.bottom = r.i16le();
    b.right = r.i16le();
    return b;
}

constexpr uint8_t kRunLength = 0x1F;

}  // namespace

FontCache::FontCache() {
    instance_ = this;
}

FontCache::FontCache(std::span<const uint8_t> file) : fromArchive_(false), file_(file) {
    instance_ = this;
}

FontCache::~FontCache() {
    if (instance_ == this) instance_ = nullptr;
}

bool FontCache::validRecord(uint32_t offset) const {
    const size_t size = file_.size();
    if (size < kRecordHeader || offset > size - kRecordHeader) return false;
    const Box b = readBox(file_.data() + offset);
    const int32_t w = b.right - b.left, h = b.bottom - b.top;
    if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide) return false;
    size_t p = offset + kRecordHeader;
    for (int32_t row = 0; row < h; ++row) {
        int32_t x = 0;
        for (;;) {
            if (p >= size) return false;
            const uint8_t run = file_[p++];
            if (run == 0) break;
            x += run & kRunLength;
            if (x > w) return false;
        }
    }
    return true;
}

void FontCache::load() {
    loaded_ = true;
    offsets_.assign(65536, 0);
    if (fromArchive_) {
        auto* archives = resources::ArchiveManager::instance();
        if (archives && archives->Exists(std::string_view(kFileName))) {
            resources::DATFile f(kFileName);
            file_ = f.View();
        }
    }
    if (file_.size() < kTableEnd) {
        VS_ERROR("%s is missing or shorter than its glyph table: no text can be drawn", kFileName);
        return;
    }
    base::ByteReader r(file_.subspan(4, kTableEnd - 4));
    size_t bad = 0;
    for (uint32_t& o : offsets_) {
        const uint32_t offset = r.u32le();
        if (offset == 0) continue;
        if (validRecord(offset)) {
            o = offset;
        } else {
            ++bad;
        }
    }
    if (bad) VS_WARN("%s: %zu glyph records do not fit the file and show as '?'", kFileName, bad);
}

const uint8_t* FontCache::own(char16_t c) {
    if (!loaded_) load();
    const uint32_t o = offsets_[c];
    if (o == 0) return nullptr;
    const Box b = readBox(file_.data() + o);
    return b.right > b.left ? file_.data() + o : nullptr;
}

const uint8_t* FontCache::record(char16_t c) {
    if (const uint8_t* p = own(c)) return p;
    return own(kMissingGlyph);
}

int32_t FontCache::GlyphAdvance(int16_t, char16_t c) {
    const uint8_t* p = record(c);
    return p ? readBox(p).advance : 0;
}

base::Rect FontCache::GlyphBox(int16_t, char16_t c) {
    const uint8_t* p = record(c);
    if (!p) return {};
    const Box b = readBox(p);
    return {b.left, b.top, b.right, b.bottom};
}

bool FontCache::RenderGlyph(int16_t, char16_t c, const uint8_t (&colours)[8],
                            resources::PixMap& out) {
    out.Free();
    const uint8_t* p = record(c);
    if (!p) return false;
    const Box b = readBox(p);
    const int32_t w = b.right - b.left, h = b.bottom - b.top;
    if (w <= 0 || h <= 0) return false;
    const size_t n = size_t(w) * size_t(h);
    if (scratch_.size() < n) scratch_.resize(n);
    std::memset(scratch_.data(), 0, n);
    // The record passed validRecord: every row ends inside the file and stays in the width.
    const uint8_t* run = p + kRecordHeader;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = scratch_.data() + size_t(y) * size_t(w);
        int32_t x = 0;
        for (uint8_t v; (v = *run++) != 0;) {
            const int32_t len = v & kRunLength;
            if (const uint8_t colour = colours[v >> 5]) std::memset(row + x, colour, size_t(len));
            x += len;
        }
    }
    out.SetView8(scratch_.data(), w, {0, 0, w, h});
    return true;
}

}  // namespace vs::graphics
