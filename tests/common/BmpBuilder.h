#pragma once
// Byte builders for hand-made files: little-endian fields and bitmap files assembled field by
// field, so a test can make every kind of damaged bitmap.

#include <cstdint>
#include <string>
#include <vector>

namespace testutil {

using Bytes = std::vector<std::uint8_t>;

inline void Put8(Bytes& b, std::uint8_t v) { b.push_back(v); }
inline void Put16(Bytes& b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}
inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
inline void Append(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
inline std::uint32_t Get32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
inline void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A bitmap file assembled field by field; the sizes and offsets follow from the parts unless
// a test overrides them to lie.
struct BmpParts {
    std::uint32_t infoSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint32_t> masks;    // written after a 40-byte header, or inside larger ones
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    Bytes gap;                           // bytes between the colour table and the pixels
    Bytes pixels;
    std::int64_t fileSizeOverride = -1;
    std::int64_t offBitsOverride = -1;
};

inline Bytes BuildBmp(const BmpParts& p) {
    Bytes info;
    if (p.infoSize == 12) {
        Put32(info, 12);
        Put16(info, std::uint16_t(p.width));
        Put16(info, std::uint16_t(p.height));
        Put16(info, 1);
        Put16(info, p.bitCount);
    } else {
        Put32(info, p.infoSize);
        Put32(info, std::uint32_t(p.width));
        Put32(info, std::uint32_t(p.height));
        Put16(info, 1);
        Put16(info, p.bitCount);
        Put32(info, p.compression);
        Put32(info, std::uint32_t(p.pixels.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, p.clrUsed);
        Put32(info, 0);
        if (p.infoSize > 40) {
            for (std::size_t i = 0; i < 4; ++i) Put32(info, i < p.masks.size() ? p.masks[i] : 0);
            info.resize(p.infoSize, 0);
        } else {
            for (std::uint32_t m : p.masks) Put32(info, m);
        }
    }
    Bytes pal;
    for (std::uint32_t c : p.palette) {
        Put8(pal, std::uint8_t(c));
        Put8(pal, std::uint8_t(c >> 8));
        Put8(pal, std::uint8_t(c >> 16));
        if (p.infoSize != 12) Put8(pal, 0);
    }
    std::size_t off = 14 + info.size() + pal.size() + p.gap.size();
    std::size_t total = off + p.pixels.size();
    Bytes b{'B', 'M'};
    Put32(b, std::uint32_t(p.fileSizeOverride >= 0 ? std::size_t(p.fileSizeOverride) : total));
    Put32(b, 0);
    Put32(b, std::uint32_t(p.offBitsOverride >= 0 ? std::size_t(p.offBitsOverride) : off));
    Append(b, info);
    Append(b, pal);
    Append(b, p.gap);
    Append(b, p.pixels);
    return b;
}

}  // namespace testutil
