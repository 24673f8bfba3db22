// DecodeBmp on arbitrary bytes: it must reject or decode, never crash, and what it decodes must
// survive a 24-bit encode and decode unchanged.
#include <cstdint>
#include <cstdlib>

#include "base/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    base::BmpImage img;
    std::size_t used;
    try {
        used = base::DecodeBmp(data, size, img);
    } catch (const base::BmpError&) {
        return 0;
    }
    if (used > size || img.pixels.size() != std::size_t(img.width) * std::size_t(img.height))
        std::abort();
    img.bitCount = 24;
    std::vector<std::uint8_t> again = base::EncodeBmp(img);
    base::BmpImage back;
    if (base::DecodeBmp(again.data(), again.size(), back) != again.size()) std::abort();
    if (back.pixels != img.pixels) std::abort();
    return 0;
}
