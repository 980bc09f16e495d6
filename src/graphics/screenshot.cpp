#include "graphics/screenshot.h"

#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <fstream>
#include <memory>
#include <system_error>

#include <jpeglib.h>

#include "base/log.h"
#include "graphics/surface.h"

namespace vs::graphics {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kBmpHeaderBytes = 54;
constexpr uint32_t kBmpFileBytes = kBmpHeaderBytes + kScreenshotWidth * kScreenshotHeight * 2;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF), put16(out, v >> 16);
}

struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void jpegMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    VS_DEBUG("screenshot: %s", text);
}

// Whole rows of RGB bytes, top row first.
std::vector<uint8_t> toRgbRows(const uint16_t* pixels, int pitch, PixelFormat format) {
    std::vector<uint8_t> rgb(size_t(kScreenshotWidth) * kScreenshotHeight * 3);
    uint8_t* o = rgb.data();
    for (int y = 0; y < kScreenshotHeight; ++y) {
        const uint16_t* row = pixels + size_t(y) * size_t(pitch);
        for (int x = 0; x < kScreenshotWidth; ++x) {
            const uint32_t p = row[x];
            if (format == PixelFormat::k565) {
                *o++ = uint8_t((p >> 11) * 8), *o++ = uint8_t(((p >> 5) & 0x3F) * 4);
            } else {
                *o++ = uint8_t(((p >> 10) & 0x1F) * 8), *o++ = uint8_t(((p >> 5) & 0x1F) * 8);
            }
            *o++ = uint8_t((p & 0x1F) * 8);
        }
    }
    return rgb;
}

// The whole file or nothing: written beside its name, then renamed over it.
bool writeWhole(const fs::path& file, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    fs::path part = file;
    part += ".part";
    {
        std::ofstream f(part, std::ios::binary | std::ios::trunc);
        if (f) f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (f) f.close();
        if (!f) {
            std::error_code ec;
            fs::remove(part, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(part, file, ec);
    if (ec) fs::remove(part, ec);
    return !ec;
}

fs::path save(const fs::path& dir, std::string_view extension, int first,
              const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path name = NextScreenshotName(dir, extension, first);
    if (name.empty() || !writeWhole(name, bytes)) return {};
    VS_INFO("screenshot %s", name.c_str());
    return name;
}

}  // namespace

std::vector<uint8_t> EncodeBmpScreenshot(const uint16_t* pixels, int pitch, PixelFormat format) {
    std::vector<uint8_t> out;
    out.reserve(kBmpFileBytes);
    out.push_back('B'), out.push_back('M');
    put32(out, kBmpFileBytes);
    put16(out, 0), put16(out, 0);
    put32(out, kBmpHeaderBytes);
    put32(out, 40);
    put32(out, kScreenshotWidth);
    put32(out, kScreenshotHeight);
    put16(out, 1);
    put16(out, 16);
    for (int i = 0; i < 6; ++i) put32(out, 0);  // no compression, sizes and colours unset
    for (int y = kScreenshotHeight - 1; y >= 0; --y) {
        const uint16_t* row = pixels + size_t(y) * size_t(pitch);
        for (int x = 0; x < kScreenshotWidth; ++x) {
            const uint16_t p = row[x];
            put16(out,
                  format == PixelFormat::k565 ? uint16_t(((p >> 1) & 0x7FE0) | (p & 0x1F)) : p);
        }
    }
    return out;
}

std::vector<uint8_t> EncodeJpegScreenshot(const uint16_t* pixels, int pitch, PixelFormat format) {
    std::vector<uint8_t> rgb = toRgbRows(pixels, pitch, format);
    jpeg_compress_struct cinfo;
    JpegErrors err;
    // Off the stack: the library fills it in after setjmp, and it must survive a jump back.
    struct Output {
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        ~Output() { std::free(buffer); }
    };
    const auto mem = std::make_unique<Output>();
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.output_message = jpegMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &mem->buffer, &mem->size);
    cinfo.image_width = kScreenshotWidth;
    cinfo.image_height = kScreenshotHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rgb.data() + size_t(cinfo.next_scanline) * kScreenshotWidth * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::vector<uint8_t>(mem->buffer, mem->buffer + mem->size);
}

fs::path NextScreenshotName(const fs::path& dir, std::string_view extension, int first) {
    for (int i = first; i <= kLastScreenshotNumber; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "VL%04d.%.*s", i, int(extension.size()), extension.data());
        const fs::path path = dir / name;
        std::ifstream probe(path, std::ios::binary);
        if (!probe) return path;
    }
    return {};
}

fs::path SaveBmpScreenshot(const Surface& picture, PixelFormat format, const fs::path& dir) {
    if (picture.width() < kScreenshotWidth || picture.height() < kScreenshotHeight) return {};
    return save(dir, "bmp", 1, EncodeBmpScreenshot(picture.pixels(), picture.pitch(), format));
}

fs::path SaveJpegScreenshot(const Surface& picture, PixelFormat format, const fs::path& dir) {
    if (picture.width() < kScreenshotWidth || picture.height() < kScreenshotHeight) return {};
    return save(dir, "jpg", 0, EncodeJpegScreenshot(picture.pixels(), picture.pitch(), format));
}

}  // namespace vs::graphics
