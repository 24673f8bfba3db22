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
// What libjpeg may allocate for itself (a progressive picture keeps all its coefficients).
constexpr long kMaxDecoderMemory = 128L * 1024 * 1024;
// Progressive pictures can repeat scans over the whole image; real ones have a dozen or so.
constexpr int kMaxScans = 500;

extern "C" void OnJpegProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "it has more than %d scans", kMaxScans);
        std::longjmp(err->jump, 1);
    }
}

// The smallest of libjpeg's scales (1/8 to 8/8) whose picture still covers the wanted size;
// the full size when none does or no size is wanted.
void ChooseScale(jpeg_decompress_struct& cinfo, int coverWidth, int coverHeight) {
    cinfo.scale_num = 8;
    cinfo.scale_denom = 8;
    if (coverWidth <= 0 || coverHeight <= 0) return;
    for (unsigned num = 1; num < 8; ++num) {
        cinfo.scale_num = num;
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= unsigned(coverWidth) &&
            cinfo.output_height >= unsigned(coverHeight))
            return;
    }
    cinfo.scale_num = 8;
}

}  // namespace

void TJPEGImage::LoadFromMemory(const std::uint8_t* data, std::size_t size, int coverWidth,
                                int coverHeight) {
    if (data == nullptr || size < 4)
        throw EInvalidGraphic("JPEG image is not valid: the data is too short");
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnJpegError;
    err.pub.emit_message = OnJpegMessage;
    err.message[0] = 0;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnJpegProgress;
    // Everything that must outlive a longjmp lives outside this frame's automatic objects
    // with destructors: the pixel rows go straight into `out`, created before setjmp.
    TBitmap out;
    std::vector<unsigned char> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic(std::string("JPEG image is not valid: ") + err.message);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        throw EInvalidGraphic("JPEG image is not valid: no image header");
    }
    cinfo.out_color_space = JCS_RGB;
    ChooseScale(cinfo, coverWidth, coverHeight);
    jpeg_calc_output_dimensions(&cinfo);
    if (cinfo.output_width == 0 || cinfo.output_height == 0 ||
        std::uint64_t(cinfo.output_width) * cinfo.output_height > kMaxPixels) {
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

void TJPEGImage::LoadFromFile(const std::string& path, int coverWidth, int coverHeight) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    LoadFromMemory(bytes.data(), bytes.size(), coverWidth, coverHeight);
}

void LoadPictureFile(const std::string& path, TBitmap& out, int coverWidth, int coverHeight) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        out.LoadFromBytes(bytes.data(), bytes.size());
        return;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        TJPEGImage j;
        j.LoadFromMemory(bytes.data(), bytes.size(), coverWidth, coverHeight);
        out = j.Bitmap();
        return;
    }
    throw EInvalidGraphic("Unknown picture file extension or content in \"" + path + "\"");
}

}  // namespace rt
