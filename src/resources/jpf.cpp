#include "resources/jpf.h"

#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstring>

#include <jpeglib.h>

#include "base/log.h"

namespace vs::resources {

namespace {

constexpr uint8_t kSignature[4] = {'J', 'P', 'F', 0};

// The library's own error exit ends the process; this one returns to the decoder.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(e->jump, 1);
}

void outputMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    VS_DEBUG("portrait picture: %s", text);
}

// Everything the library allocates comes from its own pools, freed by jpeg_destroy, so a jump
// back from an error leaks nothing and skips no destructor.
bool decode(const uint8_t* data, size_t length, PixMap& out) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.output_message = outputMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        out.Free();
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(length));
    jpeg_read_header(&cinfo, TRUE);
    const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (cinfo.image_width > JDIMENSION(kMaxJpfSide) ||
        cinfo.image_height > JDIMENSION(kMaxJpfSide) ||
        (!gray && cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int32_t w = int32_t(cinfo.output_width), h = int32_t(cinfo.output_height);
    const int channels = cinfo.output_components;
    if (w <= 0 || h <= 0 || (channels != 1 && channels != 3)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                JDIMENSION(w * channels), 1);
    try {
        out.Alloc16(w, h);
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t y = int32_t(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
        uint16_t* dst = out.pixels16() + size_t(y) * size_t(w);
        const JSAMPLE* s = row[0];
        for (int32_t x = 0; x < w; ++x, s += channels) {
            const uint32_t r = s[0], g = s[channels == 3 ? 1 : 0], b = s[channels == 3 ? 2 : 0];
            dst[x] = uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool DecodeJpf(const uint8_t* buffer, size_t length, PixMap& out) {
    out.Free();
    if (!buffer || length < sizeof kSignature ||
        std::memcmp(buffer, kSignature, sizeof kSignature) != 0)
        return false;
    if (!decode(buffer + sizeof kSignature, length - sizeof kSignature, out)) return false;
    out.To555();
    return true;
}

}  // namespace vs::resources
