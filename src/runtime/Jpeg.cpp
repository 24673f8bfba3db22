// The JPEG picture through libjpeg's IJG interface; libjpeg reports errors through longjmp,
// which we turn into exceptions at the call boundary.
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
}

#include "runtime/Graphics.h"

namespace rt {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

extern "C" void OnJpegMessage(j_common_ptr, int) {}

// The largest picture we agree to decode; far above any placeholder or preview.
constexpr unsigned kMaxPixels = 64u * 1024u * 1024u;

}  // namespace

void TJPEGImage::LoadFromMemory(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 4)
        throw EInvalidGraphic("JPEG image is not valid: the data is too short");
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnJpegError;
    err.pub.emit_message = OnJpegMessage;
    err.message[0] = 0;
    // Everything that must outlive a longjmp lives outside this frame's automatic objects
    // with destructors: the pixel rows go straight into `out`, created before setjmp.
    TBitmap out;
    std::vector<unsigned char> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + err.message);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic("JPEG image is not valid: no image header");
    }
    cinfo.out_color_space = JCS_RGB;
    if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
        std::uint64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic("JPEG image is not valid: unsupported picture size");
    }
    jpeg_start_decompress(&cinfo);
    out.SetSize(int(cinfo.output_width), int(cinfo.output_height));
    row.resize(std::size_t(cinfo.output_width) * std::size_t(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        int y = int(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
        std::uint32_t* dst = out.ScanLine(y);
        int comps = cinfo.output_components;
        for (unsigned x = 0; x < cinfo.output_width; ++x) {
            const unsigned char* p = row.data() + std::size_t(x) * std::size_t(comps);
            std::uint32_t r = p[0], g = comps >= 3 ? p[1] : p[0], b = comps >= 3 ? p[2] : p[0];
            dst[x] = r << 16 | g << 8 | b;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.PixelFormat = TPixelFormat::pf24bit;
    bitmap_ = out;
}

void TJPEGImage::LoadFromFile(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    LoadFromMemory(bytes.data(), bytes.size());
}

void LoadPictureFile(const std::string& path, TBitmap& out) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        out.LoadFromBytes(bytes.data(), bytes.size());
        return;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        TJPEGImage j;
        j.LoadFromMemory(bytes.data(), bytes.size());
        out = j.Bitmap();
        return;
    }
    throw EInvalidGraphic("Unknown picture file extension or content in \"" + path + "\"");
}

}  // namespace rt
