#include "base/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace base {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Far more than any skin or preview picture, small enough that a lying header cannot make us
// allocate gigabytes.
constexpr std::uint64_t kMaxPixels = std::uint64_t(64) << 20;

[[noreturn]] void Fail(const std::string& why) {
    throw BmpError("Bitmap image is not valid: " + why);
}

std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// One colour channel of a bit-field pixel, scaled to 8 bits whatever the mask's width.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::min(32 - std::countl_zero(m) - shift, 32);
    }
    std::uint32_t Get(std::uint32_t v) const {
        if (bits == 0) return 0;
        std::uint64_t c = (v & mask) >> shift;
        if (bits >= 8) return std::uint32_t(c >> (bits - 8));
        std::uint64_t max = (std::uint64_t(1) << bits) - 1;
        return std::uint32_t((c * 255 + max / 2) / max);
    }
};

}  // namespace

std::size_t DecodeBmp(const std::uint8_t* data, std::size_t size, BmpImage& out) {
    if (data == nullptr || size < kFileHeaderSize) Fail("the data ends before its file header");
    if (data[0] != 'B' || data[1] != 'M') Fail("no \"BM\" signature");
    const std::uint64_t fileSize = Get32(data + 2);
    const std::uint64_t offBits = Get32(data + 10);
    if (fileSize > size) Fail("its size field is larger than the data");
    if (fileSize < kFileHeaderSize + 4) Fail("its size field is smaller than its headers");
    // From here on only the bytes the size field claims belong to the image.
    const std::uint8_t* end = data + fileSize;
    const std::uint8_t* info = data + kFileHeaderSize;

    const std::uint32_t infoSize = Get32(info);
    const bool core = infoSize == 12;
    if (!core && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
        infoSize != 124)
        Fail("unknown information header size " + std::to_string(infoSize));
    if (kFileHeaderSize + infoSize > fileSize) Fail("its size field is smaller than its headers");

    std::int64_t width, height;
    int bitCount;
    std::uint32_t compression = kBiRgb, clrUsed = 0;
    if (core) {
        width = Get16(info + 4);
        height = Get16(info + 6);
        bitCount = Get16(info + 10);
    } else {
        width = std::int32_t(Get32(info + 4));
        height = std::int32_t(Get32(info + 8));
        bitCount = Get16(info + 14);
        compression = Get32(info + 16);
        clrUsed = Get32(info + 32);
    }
    if (width <= 0) Fail("zero or negative width");
    if (height == 0) Fail("zero height");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (std::uint64_t(width) * std::uint64_t(height) > kMaxPixels)
        Fail("its dimensions " + std::to_string(width) + " x " + std::to_string(height) +
             " are too large");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        Fail("unsupported bit count " + std::to_string(bitCount));
    if (compression != kBiRgb && compression != kBiBitfields)
        Fail("unsupported compression " + std::to_string(compression));
    if (compression == kBiBitfields && bitCount != 16 && bitCount != 32)
        Fail("bit fields with a bit count of " + std::to_string(bitCount));

    const std::uint8_t* p = info + infoSize;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (compression == kBiBitfields) {
        // The masks sit inside the larger headers and follow the 40-byte one.
        const std::uint8_t* m = info + 40;
        if (infoSize == 40) {
            if (end - p < 12) Fail("its colour masks run past the end");
            m = p;
            p += 12;
        }
        for (int i = 0; i < 3; ++i) masks[i] = Get32(m + 4 * i);
    }

    std::uint32_t palette[256] = {};
    if (bitCount <= 8) {
        const std::uint32_t maxColours = 1u << bitCount;
        std::uint32_t count = clrUsed == 0 ? maxColours : clrUsed;
        if (count > maxColours) Fail("its colour table has more entries than the bit count allows");
        const std::size_t entry = core ? 3 : 4;
        // Writers that leave the count implicit often store a shorter table; the pixel offset
        // then tells where it ends.
        const std::uint64_t tableStart = std::uint64_t(p - data);
        if (clrUsed == 0 && offBits >= tableStart && offBits < tableStart + count * entry)
            count = std::uint32_t((offBits - tableStart) / entry);
        if (std::uint64_t(end - p) < std::uint64_t(count) * entry)
            Fail("its colour table runs past the end");
        for (std::uint32_t i = 0; i < count; ++i, p += entry)
            palette[i] = std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    }

    const std::uint64_t stride = (std::uint64_t(width) * std::uint64_t(bitCount) + 31) / 32 * 4;
    const std::uint64_t pixelBytes = stride * std::uint64_t(height);
    if (offBits < std::uint64_t(p - data)) Fail("its pixel data offset points into its headers");
    if (offBits > fileSize || pixelBytes > fileSize - offBits)
        Fail("its pixel rows run past the end");

    const int w = int(width), h = int(height);
    std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
    const Channel r(masks[0]), g(masks[1]), b(masks[2]);
    const std::uint8_t* rows = data + offBits;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = rows + std::size_t(stride) * std::size_t(topDown ? y : h - 1 - y);
        std::uint32_t* d = pixels.data() + std::size_t(y) * std::size_t(w);
        switch (bitCount) {
            case 1:
                for (int x = 0; x < w; ++x) d[x] = palette[(s[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < w; ++x) d[x] = palette[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                for (int x = 0; x < w; ++x) d[x] = palette[s[x]];
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    std::uint32_t v = Get16(s + 2 * x);
                    d[x] = r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x, s += 3)
                    d[x] = std::uint32_t(s[2]) << 16 | std::uint32_t(s[1]) << 8 | s[0];
                break;
            case 32:
                if (compression == kBiRgb) {
                    for (int x = 0; x < w; ++x, s += 4)
                        d[x] = std::uint32_t(s[2]) << 16 | std::uint32_t(s[1]) << 8 | s[0];
                } else {
                    for (int x = 0; x < w; ++x) {
                        std::uint32_t v = Get32(s + 4 * x);
                        d[x] = r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
                    }
                }
                break;
        }
    }
    out.width = w;
    out.height = h;
    out.bitCount = bitCount;
    out.pixels = std::move(pixels);
    return std::size_t(fileSize);
}

std::vector<std::uint8_t> EncodeBmp(const BmpImage& image) {
    const int bits = image.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw BmpError("Cannot write a bitmap with " + std::to_string(bits) + " bits per pixel");
    if (image.width <= 0 || image.height <= 0) throw BmpError("Cannot write an empty bitmap");
    const std::uint64_t count = std::uint64_t(image.width) * std::uint64_t(image.height);
    if (count > kMaxPixels) throw BmpError("Cannot write a bitmap this large");
    if (image.pixels.size() != count)
        throw BmpError("Cannot write a bitmap whose pixels do not match its size");

    // The palette is sorted so that equal pictures give equal files and black comes first.
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        palette.assign(image.pixels.begin(), image.pixels.end());
        for (auto& c : palette) c &= 0xFFFFFF;
        std::sort(palette.begin(), palette.end());
        palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
        if (palette.size() > (std::size_t(1) << bits))
            throw BmpError("The bitmap has " + std::to_string(palette.size()) +
                           " colours, more than " + std::to_string(1 << bits) +
                           " bits per pixel can hold");
    }
    auto indexOf = [&](std::uint32_t c) {
        return std::uint8_t(std::lower_bound(palette.begin(), palette.end(), c & 0xFFFFFF) -
                            palette.begin());
    };

    const std::size_t w = std::size_t(image.width), h = std::size_t(image.height);
    const std::size_t stride = (w * std::size_t(bits) + 31) / 32 * 4;
    const std::size_t offBits = kFileHeaderSize + 40 + palette.size() * 4;
    const std::size_t fileSize = offBits + stride * h;
    if (fileSize > 0xFFFFFFFFu) throw BmpError("Cannot write a bitmap this large");

    std::vector<std::uint8_t> b(fileSize, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(fileSize));
    Put32(b, 10, std::uint32_t(offBits));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(w));
    Put32(b, 22, std::uint32_t(h));
    Put16(b, 26, 1);
    Put16(b, 28, std::uint16_t(bits));
    Put32(b, 30, kBiRgb);
    Put32(b, 34, std::uint32_t(stride * h));
    Put32(b, 38, 2835);  // 72 dots per inch
    Put32(b, 42, 2835);
    Put32(b, 46, std::uint32_t(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i)
        Put32(b, kFileHeaderSize + 40 + 4 * i, palette[i]);

    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* s = image.pixels.data() + y * w;
        std::uint8_t* d = b.data() + offBits + (h - 1 - y) * stride;  // bottom-up
        switch (bits) {
            case 1:
                for (std::size_t x = 0; x < w; ++x)
                    d[x >> 3] |= std::uint8_t(indexOf(s[x]) << (7 - (x & 7)));
                break;
            case 4:
                for (std::size_t x = 0; x < w; ++x)
                    d[x >> 1] |= std::uint8_t(indexOf(s[x]) << ((x & 1) ? 0 : 4));
                break;
            case 8:
                for (std::size_t x = 0; x < w; ++x) d[x] = indexOf(s[x]);
                break;
            case 24:
                for (std::size_t x = 0; x < w; ++x, d += 3) {
                    d[0] = std::uint8_t(s[x]);
                    d[1] = std::uint8_t(s[x] >> 8);
                    d[2] = std::uint8_t(s[x] >> 16);
                }
                break;
            case 32:
                for (std::size_t x = 0; x < w; ++x, d += 4) {
                    d[0] = std::uint8_t(s[x]);
                    d[1] = std::uint8_t(s[x] >> 8);
                    d[2] = std::uint8_t(s[x] >> 16);
                }
                break;
        }
    }
    return b;
}

}  // namespace base
