#include "graphics/png_writer.h"

#include <zlib.h>

#include <fstream>
#include <string_view>

#include "base/byte_io.h"

namespace vs::graphics {

namespace {

void chunk(base::ByteWriter& out, std::string_view type, std::span<const uint8_t> data) {
    out.u32be(uint32_t(data.size()));
    const size_t start = out.size();
    out.bytes(type).bytes(data);
    const auto& all = out.data();
    const uint32_t crc = uint32_t(crc32(0, all.data() + start, uInt(all.size() - start)));
    out.u32be(crc);
}

}  // namespace

std::vector<uint8_t> encodePng(std::span<const uint8_t> rgb, int width, int height) {
    if (width <= 0 || height <= 0 || rgb.size() != size_t(width) * size_t(height) * 3) return {};
    const size_t rowBytes = size_t(width) * 3;
    // Every row starts with its filter type; 0 leaves the bytes as they are.
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.subspan(size_t(y) * rowBytes, rowBytes);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), uLong(raw.size())) != Z_OK) return {};
    packed.resize(packedSize);

    base::ByteWriter out;
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.bytes(kSignature);
    base::ByteWriter header;
    header.u32be(uint32_t(width)).u32be(uint32_t(height)).u8(8).u8(2).u8(0).u8(0).u8(0);
    chunk(out, "IHDR", header.data());
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out.take();
}

bool writeFileBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    f.close();
    return bool(f);
}

}  // namespace vs::graphics
