#include "audio/wav_file.h"

#include <algorithm>
#include <cstring>

#include "base/byte_io.h"

namespace vs::audio {

namespace {

constexpr uint16_t kPcm = 1, kMsAdpcm = 2, kFloat = 3, kALaw = 6, kMuLaw = 7, kImaAdpcm = 0x11;
constexpr uint16_t kExtensible = 0xFFFE;

bool isId(std::span<const uint8_t> b, size_t at, const char (&id)[5]) {
    return at + 4 <= b.size() && std::memcmp(b.data() + at, id, 4) == 0;
}

// The format chunk's fields; false when it is too short for them.
bool readFormat(std::span<const uint8_t> body, WavInfo& w) {
    base::ByteReader r(body);
    w.format = r.u16le();
    w.channels = r.u16le();
    w.rate = r.u32le();
    r.skip(4);  // bytes per second: derived, and often wrong
    w.blockAlign = r.u16le();
    w.bits = r.u16le();
    if (!r.ok()) return false;
    if (w.format == kExtensible) {
        // cbSize, valid bits, channel mask, then the sub-format GUID whose first word is the
        // format.
        r.skip(2 + 2 + 4);
        const uint16_t sub = r.u16le();
        if (!r.ok()) return false;
        w.format = sub;
    }
    return true;
}

bool playable(const WavInfo& w) {
    if (w.channels < 1 || w.channels > 2 || w.rate < 4000 || w.rate > 96000 || w.blockAlign == 0)
        return false;
    switch (w.format) {
        case kPcm:
            if (w.bits != 8 && w.bits != 16) return false;
            return w.blockAlign == w.channels * w.bits / 8;
        case kFloat:
            return w.bits == 32 && w.blockAlign == w.channels * 4;
        case kALaw:
        case kMuLaw:
            return w.bits == 8 && w.blockAlign == w.channels;
        case kMsAdpcm:
        case kImaAdpcm:
            return w.bits == 4 && w.blockAlign >= 4 * w.channels;
        default:
            return false;
    }
}

}  // namespace

std::optional<WavInfo> parseWav(std::span<const uint8_t> bytes) {
    base::ByteReader header(bytes);
    if (!isId(bytes, 0, "RIFF") || !isId(bytes, 8, "WAVE")) return std::nullopt;
    header.skip(4);
    const uint64_t riffEnd = 8 + uint64_t(header.u32le());
    const size_t end = size_t(std::min<uint64_t>(riffEnd, bytes.size()));

    WavInfo w;
    bool haveFormat = false, haveData = false;
    size_t pos = 12, fileEnd = 12;
    while (end >= pos + 8) {
        base::ByteReader r(bytes.subspan(pos + 4, 4));
        const uint32_t size = r.u32le();
        const size_t body = pos + 8;
        const size_t available = end - body;
        const bool overruns = size > available;
        if (isId(bytes, pos, "fmt ")) {
            if (overruns || haveFormat || !readFormat(bytes.subspan(body, size), w))
                return std::nullopt;
            haveFormat = true;
        } else if (isId(bytes, pos, "data") && !haveData) {
            // A data chunk cut short by the end of the file keeps what is there.
            w.samples = bytes.subspan(body, std::min<size_t>(size, available));
            haveData = true;
        }
        if (overruns) {
            fileEnd = end;
            break;
        }
        const uint64_t next = uint64_t(body) + size + (size & 1);
        fileEnd = size_t(std::min<uint64_t>(next, end));
        pos = fileEnd;
    }
    if (!haveFormat || !haveData || !playable(w)) return std::nullopt;
    w.samples = w.samples.first(w.samples.size() - w.samples.size() % w.blockAlign);
    if (w.samples.empty()) return std::nullopt;
    w.file = bytes.first(fileEnd);
    return w;
}

}  // namespace vs::audio
