#pragma once
// Helpers of the media detector's tests: a scratch folder and a reader for 24-bit BMP files.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/TempDir.h"

namespace mediatest {

namespace fs = std::filesystem;

using testutil::TempDir;

inline std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
inline uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// A 24-bit bottom-up BMP as rows of BGR from the top; nullopt when it is not one.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;
};

inline std::optional<Picture> LoadBmp24(const fs::path& p) {
    std::vector<uint8_t> b = ReadAll(p);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const uint32_t offset = Le32(b, 10);
    const auto w = static_cast<int32_t>(Le32(b, 18));
    const auto h = static_cast<int32_t>(Le32(b, 22));
    if (Le16(b, 28) != 24 || w <= 0 || h <= 0) return std::nullopt;
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    if (offset + stride * static_cast<size_t>(h) > b.size()) return std::nullopt;
    Picture pic{w, h, {}};
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = b.data() + offset + stride * static_cast<size_t>(y);
        pic.bgr.insert(pic.bgr.end(), row, row + static_cast<size_t>(w) * 3);
    }
    return pic;
}

inline double MeanAbsDiff(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.bgr.size(); ++i) sum += std::abs(a.bgr[i] - b.bgr[i]);
    return sum / static_cast<double>(a.bgr.size());
}

}  // namespace mediatest
