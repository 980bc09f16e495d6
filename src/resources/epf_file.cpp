#include "resources/epf_file.h"

#include "base/byte_io.h"
#include "base/log.h"

namespace vs::resources {

namespace {

struct RawEntry {
    int16_t top, left, bottom, right;
    uint32_t pixels, mask;
};

RawEntry readEntry(base::ByteReader& r) {
    RawEntry e;
    e.top = r.i16le();
    e.left = r.i16le();
    e.bottom = r.i16le();
    e.right = r.i16le();
    e.pixels = r.u32le();
    e.mask = r.u32le();
    return e;
}

// The record of one frame of a pixel area of `area` bytes, its mask running to `maskEnd` at
// most. Returns false (and a record without pixels) when anything lies outside the area.
bool makeRecord(const uint8_t* area, uint32_t d, const RawEntry& e, uint32_t maskEnd,
                FrameRecord& out) {
    out = {};
    out.rect = {e.left, e.top, e.right, e.bottom};
    const int64_t w = int64_t(e.right) - e.left, h = int64_t(e.bottom) - e.top;
    if (w < 0 || h < 0) return false;
    if (e.pixels > d || uint64_t(w) * uint64_t(h) > d - e.pixels) return false;
    if (e.mask > d || maskEnd > d || maskEnd < e.mask) return false;
    const uint8_t* m = area + e.mask;
    const size_t size = maskEnd - e.mask;
    if (w > 0 && h > 0) {
        if (!mask::check(m, size, int32_t(w), int32_t(h))) return false;
        out.mask = m;
        out.maskSize = size;
    }
    out.pixels = area + e.pixels;
    return true;
}

}  // namespace

namespace epf {

bool parse(std::span<const uint8_t> bytes, FrameSet& out, std::string* why) {
    out = {};
    auto fail = [&](const char* reason) {
        if (why) *why = reason;
        out = {};
        return false;
    };
    base::ByteReader r(bytes);
    EpfHeader h;
    h.frameCount = r.i16le();
    h.canvasWidth = r.i16le();
    h.canvasHeight = r.i16le();
    h.reserved = r.i16le();
    const uint32_t d = r.u32le();
    if (!r.ok()) return fail("shorter than its header");
    if (h.frameCount < 0) return fail("negative frame count");
    if (!r.skip(d)) return fail("pixel area longer than the file");
    const size_t frames = size_t(h.frameCount);
    if (!r.has(frames * kEntrySize)) return fail("frame table longer than the file");

    std::vector<RawEntry> raw(frames);
    for (auto& e : raw) e = readEntry(r);

    const uint8_t* area = bytes.data() + kHeaderSize;
    out.header = h;
    out.records.resize(frames + 1);
    for (size_t i = 0; i < frames; ++i) {
        // A mask runs to the next frame's pixels; when the frames are not stored in that order,
        // its rows (which end themselves) are bounded by the end of the pixel area instead.
        uint32_t maskEnd = d;
        if (i + 1 < frames && raw[i + 1].pixels >= raw[i].mask && raw[i + 1].pixels <= d) {
            maskEnd = raw[i + 1].pixels;
        }
        if (!makeRecord(area, d, raw[i], maskEnd, out.records[i])) {
            out.records[i] = {};
            VS_DEBUG("sprite frame %zu does not fit its file; it stays empty", i);
        }
    }
    FrameRecord& closing = out.records.back();
    closing.pixels = closing.mask = area + d;
    return true;
}

const FrameRecord* view(const FrameSet& set, int index, PixMap& out) {
    out.Free();
    const FrameRecord* r = set.frame(index);
    if (!r || !r->pixels) return nullptr;
    out.SetView8(r->pixels, r->rect.width(), r->rect);
    out.SetMaskView(r->mask, r->maskSize, true);
    return r;
}

}  // namespace epf

bool DecodeEpfFrame(std::span<const uint8_t> buffer, PixMap& out) {
    out.Free();
    base::ByteReader r(buffer);
    const int16_t frames = r.i16le();
    r.skip(6);
    const uint32_t d = r.u32le();
    if (!r.ok() || frames < 1 || !r.skip(d)) return false;
    const RawEntry e = readEntry(r);
    if (!r.ok()) return false;
    FrameRecord rec;
    if (!makeRecord(buffer.data() + epf::kHeaderSize, d, e, d, rec)) return false;
    out.SetView8(rec.pixels, rec.rect.width(), rec.rect);
    out.SetMaskView(rec.mask, rec.maskSize, true);
    return true;
}

}  // namespace vs::resources
