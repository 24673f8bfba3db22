#include "skin/data/skEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

namespace sk {

namespace {

// Round half to even. For |x| < 2^51 adding and removing 1.5 * 2^52 leaves exactly the
// integer that std::nearbyint gives in the default rounding mode, without a library call.
inline double RoundEven(double x) {
    constexpr double kMagic = 6755399441055744.0;
    return (x + kMagic) - kMagic;
}

inline std::uint8_t ClampByte(double rounded) {
    if (!(rounded > 0)) return 0;  // also NaN
    if (rounded >= 255) return 255;
    return std::uint8_t(rounded);
}

inline std::uint8_t ClampInt(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

// Animation positions and effect strengths outside 0..1 (and NaN) count as the nearest limit.
inline double Clamp01(double k) {
    if (!(k > 0)) return 0;
    return k > 1 ? 1 : k;
}

inline int RoundToInt(double x) { return int(RoundEven(x)); }

// blend(m) over one run of bytes: round(m * self + (1 - m) * other).
inline void BlendBytes(std::uint8_t* self, const std::uint8_t* other, std::size_t n, double m,
                       double oneMinusM) {
    for (std::size_t i = 0; i < n; ++i) {
        double s = m * double(self[i]);
        double o = oneMinusM * double(other[i]);
        self[i] = ClampByte(RoundEven(s + o));
    }
}

// The noise source: one generator per thread, seeded once from the system.
std::uint64_t NextRandom() {
    thread_local std::uint64_t state = [] {
        std::random_device rd;
        return (std::uint64_t(rd()) << 32) ^ rd();
    }();
    // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

TskEffectBmp::TskEffectBmp(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(std::size_t(width_) * 3 + std::size_t(width_ % 4)),
      data_(stride_ * std::size_t(height_), 0) {}

TskEffectBmp::TskEffectBmp(const rt::TBitmap& bitmap)
    : TskEffectBmp(bitmap.Empty() ? 0 : bitmap.Width(), bitmap.Empty() ? 0 : bitmap.Height()) {
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = bitmap.ScanLine(y);
        std::uint8_t* dst = ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            std::uint32_t p = src[x];
            dst[0] = std::uint8_t(p);
            dst[1] = std::uint8_t(p >> 8);
            dst[2] = std::uint8_t(p >> 16);
            dst += 3;
        }
    }
}

std::uint32_t TskEffectBmp::Pixel(int x, int y) const {
    const std::uint8_t* p = ScanLine(y) + std::size_t(x) * 3;
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

void TskEffectBmp::SetPixel(int x, int y, std::uint32_t rgb) {
    std::uint8_t* p = ScanLine(y) + std::size_t(x) * 3;
    p[0] = std::uint8_t(rgb);
    p[1] = std::uint8_t(rgb >> 8);
    p[2] = std::uint8_t(rgb >> 16);
}

void TskEffectBmp::AssignTo(rt::TBitmap& bitmap) const {
    bitmap.SetSize(width_, height_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = ScanLine(y);
        std::uint32_t* dst = bitmap.ScanLine(y);
        for (int x = 0; x < width_; ++x, src += 3)
            dst[x] = std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
    }
}

rt::TBitmap TskEffectBmp::ToBitmap() const {
    rt::TBitmap b;
    AssignTo(b);
    return b;
}

void TskEffectBmp::Draw(rt::TCanvas& canvas, int x, int y) const {
    if (width_ == 0 || height_ == 0) return;
    rt::TBitmap b = ToBitmap();
    canvas.CopyRect(rt::Bounds(x, y, width_, height_), b, rt::Rect(0, 0, width_, height_));
}

void TskEffectBmp::ChangeBrightness(double k) {
    k = Clamp01(k);
    // A channel has 256 possible values: the table holds the very same expression for each.
    std::array<std::uint8_t, 256> table;
    for (int c = 0; c < 256; ++c) table[c] = ClampByte(RoundEven((1 - k) * c + 255 * k));
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (std::size_t i = 0, n = std::size_t(width_) * 3; i < n; ++i) p[i] = table[p[i]];
    }
}

void TskEffectBmp::ChangeDarkness(double k) {
    k = Clamp01(k);
    std::array<std::uint8_t, 256> table;
    for (int c = 0; c < 256; ++c) table[c] = ClampByte(RoundEven((1 - k) * c));
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (std::size_t i = 0, n = std::size_t(width_) * 3; i < n; ++i) p[i] = table[p[i]];
    }
}

void TskEffectBmp::GrayScale() {
    // The products are the same doubles the formula multiplies out, added in the same order.
    struct Tables {
        std::array<double, 256> r, g, b;
        Tables() {
            for (int c = 0; c < 256; ++c) {
                r[c] = 0.3 * c;
                g[c] = 0.59 * c;
                b[c] = 0.11 * c;
            }
        }
    };
    static const Tables t;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            std::uint8_t v = ClampByte(RoundEven(t.r[p[2]] + t.g[p[1]] + t.b[p[0]]));
            p[0] = p[1] = p[2] = v;
        }
    }
}

void TskEffectBmp::AddColorNoise(int amount) {
    if (amount <= 0) return;
    const int half = amount / 2;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            // Uniform in 0..amount-1 by the multiply-shift reduction of a 32-bit draw.
            int r = int((NextRandom() >> 32) * std::uint64_t(amount) >> 32);
            int d = r - half;
            p[0] = ClampInt(p[0] + d);
            p[1] = ClampInt(p[1] + d);
            p[2] = ClampInt(p[2] + d);
        }
    }
}

void TskEffectBmp::SplitBlur(int amount) {
    if (amount == 0 || width_ == 0 || height_ == 0) return;
    const std::int64_t a = amount;
    auto inside = [](std::int64_t v, int size) { return v >= 0 && v < size; };
    // Column pairs do not depend on the row: work them out once.
    std::vector<std::size_t> left(static_cast<std::size_t>(width_));
    std::vector<std::size_t> right(static_cast<std::size_t>(width_));
    for (int x = 0; x < width_; ++x) {
        left[std::size_t(x)] = std::size_t(inside(x - a, width_) ? x - a : x) * 3;
        right[std::size_t(x)] = std::size_t(inside(x + a, width_) ? x + a : x) * 3;
    }
    for (int y = 0; y < height_; ++y) {
        // Rows are read as they are now: the upper one already holds blurred pixels.
        const std::uint8_t* up = ScanLine(inside(y - a, height_) ? int(y - a) : y);
        const std::uint8_t* down = ScanLine(inside(y + a, height_) ? int(y + a) : y);
        std::uint8_t* row = ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            const std::uint8_t* p1 = up + left[std::size_t(x)];
            const std::uint8_t* p2 = up + right[std::size_t(x)];
            const std::uint8_t* p3 = down + left[std::size_t(x)];
            const std::uint8_t* p4 = down + right[std::size_t(x)];
            unsigned b = (unsigned(p1[0]) + p2[0] + p3[0] + p4[0]) / 4;
            unsigned g = (unsigned(p1[1]) + p2[1] + p3[1] + p4[1]) / 4;
            unsigned r = (unsigned(p1[2]) + p2[2] + p3[2] + p4[2]) / 4;
            std::uint8_t* d = row + std::size_t(x) * 3;
            d[0] = std::uint8_t(b);
            d[1] = std::uint8_t(g);
            d[2] = std::uint8_t(r);
        }
    }
}

void TskEffectBmp::Invert() {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = ScanLine(y);
        for (std::size_t i = 0, n = std::size_t(width_) * 3; i < n; ++i) p[i] = 255 - p[i];
    }
}

void TskEffectBmp::Morph(const TskEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    k = Clamp01(k);
    // round((1 - k) * self + k * other) is blend(1 - k).
    const double m = 1 - k;
    for (int y = 0; y < height_; ++y)
        BlendBytes(ScanLine(y), other.ScanLine(y), std::size_t(width_) * 3, m, k);
}

void TskEffectBmp::BlendColumns(const TskEffectBmp& other, const std::vector<double>& weight,
                                int first, int last) {
    if (first > last) return;
    std::vector<double> rest(weight.size());
    for (std::size_t i = 0; i < weight.size(); ++i) rest[i] = 1 - weight[i];
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* s = ScanLine(y);
        const std::uint8_t* o = other.ScanLine(y);
        for (int x = first; x <= last; ++x) {
            const double m = weight[std::size_t(x)], n = rest[std::size_t(x)];
            const std::size_t i = std::size_t(x) * 3;
            s[i] = ClampByte(RoundEven(m * double(s[i]) + n * double(o[i])));
            s[i + 1] = ClampByte(RoundEven(m * double(s[i + 1]) + n * double(o[i + 1])));
            s[i + 2] = ClampByte(RoundEven(m * double(s[i + 2]) + n * double(o[i + 2])));
        }
    }
}

void TskEffectBmp::BlendRows(const TskEffectBmp& other, int row, double m) {
    BlendBytes(ScanLine(row), other.ScanLine(row), std::size_t(width_) * 3, m, 1 - m);
}

void TskEffectBmp::MorphGrad(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0 || height_ == 0) return;
    k = Clamp01(k);
    const int w = width_, h = height_;
    if (h > w) {
        const int c = RoundToInt(h * k);
        const int d = c / 2;
        const int e = (h - 1 - c) / 2;
        const double f = e == 0 ? 0.0 : 1.0 / e;
        const int g0 = h / 2;
        const int n = std::max(g0 - d, 0);
        const int g = std::min(g0 + d, h - 1);
        const std::size_t rowBytes = std::size_t(w) * 3;
        for (int y = n; y <= g; ++y) std::memcpy(ScanLine(y), other.ScanLine(y), rowBytes);
        double m = 0;
        for (int y = n; y >= 0; --y) {
            BlendRows(other, y, m);
            m = std::min(m + f, 1.0);
        }
        m = 0;
        for (int y = g; y < h; ++y) {
            BlendRows(other, y, m);
            m = std::min(m + f, 1.0);
        }
        return;
    }
    const int b = RoundToInt(w * k);
    const int c = (w - b) / 2;
    const int d = b / 2;
    const double f = c == 0 ? 1.0 : 1.0 / c;
    const int g0 = w / 2;
    const int hh = std::max(g0 - d, 0);
    const int g = std::min(g0 + d, w - 1);
    // Columns hh..g take other (weight 0); the sides fade back to self column by column.
    std::vector<double> weight(std::size_t(w), 0.0);
    double m = 0;
    for (int x = hh; x >= 0; --x) {
        weight[std::size_t(x)] = m;
        m = std::min(m + f, 1.0);
    }
    m = 0;
    for (int x = g; x < w; ++x) {
        weight[std::size_t(x)] = m;
        m = std::min(m + f, 1.0);
    }
    BlendColumns(other, weight, 0, w - 1);
}

void TskEffectBmp::MorphLeftGrad(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    k = Clamp01(k);
    const int w = width_;
    const int a = std::min(std::max(RoundToInt(w * k), 1), w - 1);
    const double step = a > 0 ? 1.0 / a : 1.0;
    std::vector<double> weight(std::size_t(w), 1.0);
    double m = 0;
    for (int x = 0; x <= a; ++x) {
        weight[std::size_t(x)] = m;
        m = std::min(m + step, 1.0);
    }
    BlendColumns(other, weight, 0, a);
}

void TskEffectBmp::MorphRightGrad(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    k = Clamp01(k);
    const int w = width_;
    const int a = std::min(std::max(w - RoundToInt(w * k), 0), w - 1);
    const double step = w - a <= 0 ? 1.0 : 1.0 / (w - a);
    std::vector<double> weight(std::size_t(w), 1.0);
    double m = 0;
    for (int x = w - 1; x >= a; --x) {
        weight[std::size_t(x)] = m;
        m = std::min(m + step, 1.0);
    }
    BlendColumns(other, weight, a, w - 1);
}

void TskEffectBmp::MorphLeftSlide(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    k = Clamp01(k);
    const int w = width_;
    const int b = std::min(std::max(RoundToInt(w * k), 1), w - 1);
    if (b <= 0) return;
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), other.ScanLine(y) + std::size_t(w - b) * 3, std::size_t(b) * 3);
}

void TskEffectBmp::MorphRightSlide(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    k = Clamp01(k);
    const int w = width_;
    const int b = std::min(std::max(RoundToInt(w * k), 1), w - 1);
    if (b <= 0) return;
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y) + std::size_t(w - b) * 3, other.ScanLine(y), std::size_t(b) * 3);
}

void TskEffectBmp::MorphPush(const TskEffectBmp& other, double k) {
    if (!SameSize(other) || width_ == 0) return;
    k = Clamp01(k);
    const int w = width_;
    const int a = std::min(std::max(RoundToInt(w * k), 0), w - 1);
    const std::size_t shift = std::size_t(a + 1) * 3;
    const std::size_t rowBytes = std::size_t(w) * 3;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* s = ScanLine(y);
        // Column x takes column x - a - 1; columns 0..a then take other's right end.
        std::memmove(s + shift, s, rowBytes - shift);
        std::memcpy(s, other.ScanLine(y) + rowBytes - shift, shift);
    }
}

TskFBitmap::TskFBitmap(const rt::TBitmap& bitmap) : image_(bitmap) {
    rows_.reserve(std::size_t(image_.Height()));
    for (int y = 0; y < image_.Height(); ++y) rows_.push_back(image_.ScanLine(y));
}

}  // namespace sk
