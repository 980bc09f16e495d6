#include "mkdata/wav_writer.h"

#include <algorithm>
#include <cmath>

#include "base/byte_io.h"

namespace vs::mkdata {

std::vector<uint8_t> wavFile(std::span<const int16_t> samples, int rate, int channels) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    base::ByteWriter w;
    w.bytes("RIFF").u32le(36 + dataBytes).bytes("WAVE");
    w.bytes("fmt ").u32le(16).u16le(1).u16le(uint32_t(channels)).u32le(uint32_t(rate));
    w.u32le(uint32_t(rate * channels * 2)).u16le(uint32_t(channels * 2)).u16le(16);
    w.bytes("data").u32le(dataBytes);
    for (int16_t s : samples) w.u16le(uint16_t(s));
    return w.take();
}

std::vector<int16_t> toPcm16(std::span<const float> samples) {
    std::vector<int16_t> out(samples.size());
    std::transform(samples.begin(), samples.end(), out.begin(), [](float v) {
        return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
    });
    return out;
}

}  // namespace vs::mkdata
