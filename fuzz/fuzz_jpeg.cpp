// The JPEG decoder on arbitrary bytes, as it reads the placeholder picture (at the scale that
// covers the size it is shown at): it decodes or throws the picture error, and a picture it
// decodes has pixels for its whole size.
#include <cstdint>
#include <cstdlib>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

namespace {

// The size the first frame header claims, read roughly (a marker inside another segment may be
// taken for one): enough to keep claims of huge pictures, which the unit tests cover, from
// spending the fuzzer's time on filling in pixels that are not there.
bool ClaimsHugePicture(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 8 < size; ++i) {
        if (data[i] != 0xFF || data[i + 1] < 0xC0 || data[i + 1] > 0xCF || data[i + 1] == 0xC4 ||
            data[i + 1] == 0xC8 || data[i + 1] == 0xCC)
            continue;
        const unsigned height = unsigned(data[i + 5]) << 8 | data[i + 6];
        const unsigned width = unsigned(data[i + 7]) << 8 | data[i + 8];
        return std::uint64_t(width) * height > 2048u * 2048u;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (ClaimsHugePicture(data, size)) return 0;
    rt::TJPEGImage jpeg;
    try {
        jpeg.LoadFromMemory(data, size, 233, 177);
    } catch (const rt::EInvalidGraphic&) {
        return 0;
    }
    const rt::TBitmap& b = jpeg.Bitmap();
    if (b.Width() <= 0 || b.Height() <= 0 ||
        b.Pixels().size() != std::size_t(b.Width()) * std::size_t(b.Height()))
        std::abort();
    return 0;
}
