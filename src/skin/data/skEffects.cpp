#include "skin/data/skEffects.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

// Animation positions and effect strengths outside 0..1 (and NaN) count as the nearest limit.
inline double Clamp01(double k) {
    if (!(k > 0)) return 0;
    return k > 1 ? 1 : k;
}

inline int RoundToInt(double x) { return int(RoundEven(x)); }

// blend(m) over a run of bytes: round(m * self + (1 - m) * other), with one weight pair for
// the run or one pair per byte. The AVX2 versions do the very same double operations (two
// products, one sum, rounding to nearest even) four lanes at a time; the saturating packs
// clamp to 0..255 as ClampByte does.
void BlendConstScalar(std::uint8_t* self, const std::uint8_t* other, std::size_t n, double m,
                      double rest) {
    for (std::size_t i = 0; i < n; ++i)
        self[i] = ClampByte(RoundEven(m * double(self[i]) + rest * double(other[i])));
}

void BlendVarScalar(std::uint8_t* self, const std::uint8_t* other, std::size_t n, const double* m,
                    const double* rest) {
    for (std::size_t i = 0; i < n; ++i)
        self[i] = ClampByte(RoundEven(m[i] * double(self[i]) + rest[i] * double(other[i])));
}

#if defined(__x86_64__) && defined(__GNUC__)
#define FRAMORA_HAVE_AVX2_PATH 1

std::atomic<bool> vectorPathsAllowed{true};

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has && vectorPathsAllowed.load(std::memory_order_relaxed);
}

__attribute__((target("avx2"))) inline __m128i Round8(__m256d lo, __m256d hi) {
    constexpr int mode = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
    __m128i a = _mm256_cvtpd_epi32(_mm256_round_pd(lo, mode));
    __m128i b = _mm256_cvtpd_epi32(_mm256_round_pd(hi, mode));
    __m128i w = _mm_packs_epi32(a, b);
    return _mm_packus_epi16(w, w);
}

// The low eight bytes as two groups of four doubles.
__attribute__((target("avx2"))) inline void WidenBytes(__m128i bytes, __m256d& lo, __m256d& hi) {
    const __m256i v = _mm256_cvtepu8_epi32(bytes);
    lo = _mm256_cvtepi32_pd(_mm256_castsi256_si128(v));
    hi = _mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1));
}

__attribute__((target("avx2"))) inline void Widen8(const std::uint8_t* p, __m256d& lo,
                                                   __m256d& hi) {
    WidenBytes(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), lo, hi);
}

__attribute__((target("avx2"))) void BlendConstAvx2(std::uint8_t* self, const std::uint8_t* other,
                                                    std::size_t n, double m, double rest) {
    const __m256d vm = _mm256_set1_pd(m), vr = _mm256_set1_pd(rest);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256d slo, shi, olo, ohi;
        Widen8(self + i, slo, shi);
        Widen8(other + i, olo, ohi);
        __m256d lo = _mm256_add_pd(_mm256_mul_pd(vm, slo), _mm256_mul_pd(vr, olo));
        __m256d hi = _mm256_add_pd(_mm256_mul_pd(vm, shi), _mm256_mul_pd(vr, ohi));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(self + i), Round8(lo, hi));
    }
    BlendConstScalar(self + i, other + i, n - i, m, rest);
}

__attribute__((target("avx2"))) void BlendVarAvx2(std::uint8_t* self, const std::uint8_t* other,
                                                  std::size_t n, const double* m,
                                                  const double* rest) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256d slo, shi, olo, ohi;
        Widen8(self + i, slo, shi);
        Widen8(other + i, olo, ohi);
        __m256d lo = _mm256_add_pd(_mm256_mul_pd(_mm256_loadu_pd(m + i), slo),
                                   _mm256_mul_pd(_mm256_loadu_pd(rest + i), olo));
        __m256d hi = _mm256_add_pd(_mm256_mul_pd(_mm256_loadu_pd(m + i + 4), shi),
                                   _mm256_mul_pd(_mm256_loadu_pd(rest + i + 4), ohi));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(self + i), Round8(lo, hi));
    }
    BlendVarScalar(self + i, other + i, n - i, m + i, rest + i);
}
#endif

void BlendBytes(std::uint8_t* self, const std::uint8_t* other, std::size_t n, double m,
                double rest) {
#ifdef FRAMORA_HAVE_AVX2_PATH
    if (HasAvx2()) return BlendConstAvx2(self, other, n, m, rest);
#endif
    BlendConstScalar(self, other, n, m, rest);
}

void BlendBytes(std::uint8_t* self, const std::uint8_t* other, std::size_t n, const double* m,
                const double* rest) {
#ifdef FRAMORA_HAVE_AVX2_PATH
    if (HasAvx2()) return BlendVarAvx2(self, other, n, m, rest);
#endif
    BlendVarScalar(self, other, n, m, rest);
}

// out[i] := (a[i] + b[i] + c[i] + d[i]) div 4; cloned for AVX2 where the processor has it.
__attribute__((target_clones("avx2", "default"))) void SumOfFour(
    std::uint8_t* __restrict out, const std::uint8_t* a, const std::uint8_t* b,
    const std::uint8_t* c, const std::uint8_t* d, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::uint8_t((unsigned(a[i]) + b[i] + c[i] + d[i]) >> 2);
}

// The offsets r - amount div 2 of one row, r uniform in 0..amount-1 drawn per pixel from a
// counter hash (lowbias32) of the pixel's index and the row's seed, so that the pixels can be
// worked on side by side. Offsets beyond +-255 change a channel no more than +-255 does.
__attribute__((target_clones("avx2", "default"))) void NoiseOffsets(std::int16_t* __restrict out,
                                                                    std::size_t pixels,
                                                                    std::uint32_t amount,
                                                                    std::uint64_t seed) {
    const std::uint32_t key = std::uint32_t(seed), salt = std::uint32_t(seed >> 32);
    const int half = int(amount / 2);
    for (std::size_t x = 0; x < pixels; ++x) {
        std::uint32_t h = (std::uint32_t(x) ^ salt) * 0x9E3779B9u + key;
        h ^= h >> 16;
        h *= 0x7FEB352Du;
        h ^= h >> 15;
        h *= 0x846CA68Bu;
        h ^= h >> 16;
        int d = int((std::uint64_t(h) * amount) >> 32) - half;
        d = d < -255 ? -255 : d > 255 ? 255 : d;
        out[x] = std::int16_t(d);
    }
}

// The same offset for the three channels of each pixel.
__attribute__((target_clones("avx2", "default"))) void SpreadToChannels(
    std::int16_t* __restrict out, const std::int16_t* __restrict offset, std::size_t pixels) {
    for (std::size_t x = 0; x < pixels; ++x)
        out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = offset[x];
}

// row[i] := clamp(row[i] + offset[i]).
__attribute__((target_clones("avx2", "default"))) void AddClamped(
    std::uint8_t* __restrict row, const std::int16_t* __restrict offset, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const int v = row[i] + offset[i];
        row[i] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

// row[i] := table[row[i]], eight bytes at a time.
void MapBytesScalar(std::uint8_t* row, std::size_t n, const std::array<std::uint8_t, 256>& table) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, row + i, 8);
        std::uint64_t r = 0;
        for (int b = 0; b < 8; ++b) r |= std::uint64_t(table[(v >> (8 * b)) & 0xFF]) << (8 * b);
        std::memcpy(row + i, &r, 8);
    }
    for (; i < n; ++i) row[i] = table[row[i]];
}

#ifdef FRAMORA_HAVE_AVX2_PATH
// The table itself, 32 bytes at a time: the low nibble picks within each 16-entry slice, the
// high nibble picks the slice.
__attribute__((target("avx2"))) void MapTableAvx2(std::uint8_t* row, std::size_t n,
                                                  const std::array<std::uint8_t, 256>& table) {
    __m256i slice[16];
    for (int t = 0; t < 16; ++t)
        slice[t] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data() + 16 * t)));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
        const __m256i lo = _mm256_and_si256(v, nibble);
        const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
        __m256i r = _mm256_setzero_si256();
        for (int t = 0; t < 16; ++t)
            r = _mm256_blendv_epi8(r, _mm256_shuffle_epi8(slice[t], lo),
                                   _mm256_cmpeq_epi8(hi, _mm256_set1_epi8(char(t))));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), r);
    }
    MapBytesScalar(row + i, n - i, table);
}
#endif

// Applies a channel table to every row.
void MapRows(TskEffectBmp& img, const std::array<std::uint8_t, 256>& table) {
    const std::size_t n = std::size_t(img.Width()) * 3;
#ifdef FRAMORA_HAVE_AVX2_PATH
    if (HasAvx2()) {
        for (int y = 0; y < img.Height(); ++y) MapTableAvx2(img.ScanLine(y), n, table);
        return;
    }
#endif
    for (int y = 0; y < img.Height(); ++y) MapBytesScalar(img.ScanLine(y), n, table);
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

bool SetEffectVectorPaths(bool enabled) {
#ifdef FRAMORA_HAVE_AVX2_PATH
    return vectorPathsAllowed.exchange(enabled);
#else
    (void)enabled;
    return false;
#endif
}

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
    MapRows(*this, table);
}

void TskEffectBmp::ChangeDarkness(double k) {
    k = Clamp01(k);
    std::array<std::uint8_t, 256> table;
    for (int c = 0; c < 256; ++c) table[c] = ClampByte(RoundEven((1 - k) * c));
    MapRows(*this, table);
}

namespace {

// One gray value per pixel: round(0.3 * red + 0.59 * green + 0.11 * blue), products and sums
// in this order.
void GrayRowScalar(std::uint8_t* p, std::size_t pixels) {
    for (std::size_t x = 0; x < pixels; ++x, p += 3) {
        const double v = 0.3 * double(p[2]) + 0.59 * double(p[1]) + 0.11 * double(p[0]);
        p[0] = p[1] = p[2] = ClampByte(RoundEven(v));
    }
}

#ifdef FRAMORA_HAVE_AVX2_PATH
// Eight pixels at a time with the same double products, sums and rounding.
__attribute__((target("avx2"))) void GrayRowAvx2(std::uint8_t* p, std::size_t pixels) {
    const __m256d wr = _mm256_set1_pd(0.3), wg = _mm256_set1_pd(0.59), wb = _mm256_set1_pd(0.11);
    // Channel c of pixels 0..5 from the first 16 bytes, of pixels 6 and 7 from the next 8.
    auto pick = [](int c) {
        alignas(16) std::int8_t a[16], b[16];
        for (int i = 0; i < 16; ++i) a[i] = b[i] = -1;
        for (int i = 0; i < 8; ++i) {
            const int byte = 3 * i + c;
            if (byte < 16)
                a[i] = std::int8_t(byte);
            else
                b[i] = std::int8_t(byte - 16);
        }
        return std::pair{_mm_load_si128(reinterpret_cast<const __m128i*>(a)),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(b))};
    };
    const auto [b0, b1] = pick(0);
    const auto [g0, g1] = pick(1);
    const auto [r0, r1] = pick(2);
    alignas(16) static constexpr std::int8_t spreadLo[16] = {0, 0, 0, 1, 1, 1, 2, 2,
                                                             2, 3, 3, 3, 4, 4, 4, 5};
    alignas(16) static constexpr std::int8_t spreadHi[16] = {5,  5,  6,  6,  6,  7,  7,  7,
                                                             -1, -1, -1, -1, -1, -1, -1, -1};
    const __m128i lo = _mm_load_si128(reinterpret_cast<const __m128i*>(spreadLo));
    const __m128i hi = _mm_load_si128(reinterpret_cast<const __m128i*>(spreadHi));
    std::size_t x = 0;
    for (; x + 8 <= pixels; x += 8, p += 24) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i bb = _mm_or_si128(_mm_shuffle_epi8(head, b0), _mm_shuffle_epi8(tail, b1));
        const __m128i gg = _mm_or_si128(_mm_shuffle_epi8(head, g0), _mm_shuffle_epi8(tail, g1));
        const __m128i rr = _mm_or_si128(_mm_shuffle_epi8(head, r0), _mm_shuffle_epi8(tail, r1));
        __m256d bl, bh, gl, gh, rl, rh;
        WidenBytes(bb, bl, bh);
        WidenBytes(gg, gl, gh);
        WidenBytes(rr, rl, rh);
        const __m256d vl = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(wr, rl), _mm256_mul_pd(wg, gl)), _mm256_mul_pd(wb, bl));
        const __m256d vh = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(wr, rh), _mm256_mul_pd(wg, gh)), _mm256_mul_pd(wb, bh));
        const __m128i gray = Round8(vl, vh);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_shuffle_epi8(gray, lo));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), _mm_shuffle_epi8(gray, hi));
    }
    GrayRowScalar(p, pixels - x);
}
#endif

}  // namespace

void TskEffectBmp::GrayScale() {
    for (int y = 0; y < height_; ++y) {
#ifdef FRAMORA_HAVE_AVX2_PATH
        if (HasAvx2()) {
            GrayRowAvx2(ScanLine(y), std::size_t(width_));
            continue;
        }
#endif
        GrayRowScalar(ScanLine(y), std::size_t(width_));
    }
}

void TskEffectBmp::AddColorNoise(int amount) {
    if (amount <= 0) return;
    const std::size_t w = std::size_t(width_);
    std::vector<std::int16_t> offset(w), channels(w * 3);
    for (int y = 0; y < height_; ++y) {
        NoiseOffsets(offset.data(), w, std::uint32_t(amount), NextRandom());
        SpreadToChannels(channels.data(), offset.data(), w);
        AddClamped(ScanLine(y), channels.data(), channels.size());
    }
}

void TskEffectBmp::SplitBlur(int amount) {
    if (amount == 0 || width_ == 0 || height_ == 0) return;
    // The four neighbours form the same set for -a as for a.
    const std::int64_t a = amount < 0 ? -std::int64_t(amount) : std::int64_t(amount);
    auto inside = [](std::int64_t v, int size) { return v >= 0 && v < size; };
    // Column pairs do not depend on the row: work them out once.
    std::vector<std::size_t> left(static_cast<std::size_t>(width_));
    std::vector<std::size_t> right(static_cast<std::size_t>(width_));
    for (int x = 0; x < width_; ++x) {
        left[std::size_t(x)] = std::size_t(inside(x - a, width_) ? x - a : x) * 3;
        right[std::size_t(x)] = std::size_t(inside(x + a, width_) ? x + a : x) * 3;
    }
    auto blurPixel = [&](const std::uint8_t* up, const std::uint8_t* down, std::uint8_t* dst,
                         int x) {
        const std::uint8_t* p1 = up + left[std::size_t(x)];
        const std::uint8_t* p2 = up + right[std::size_t(x)];
        const std::uint8_t* p3 = down + left[std::size_t(x)];
        const std::uint8_t* p4 = down + right[std::size_t(x)];
        const unsigned b = (unsigned(p1[0]) + p2[0] + p3[0] + p4[0]) / 4;
        const unsigned g = (unsigned(p1[1]) + p2[1] + p3[1] + p4[1]) / 4;
        const unsigned r = (unsigned(p1[2]) + p2[2] + p3[2] + p4[2]) / 4;
        std::uint8_t* d = dst + std::size_t(x) * 3;
        d[0] = std::uint8_t(b);
        d[1] = std::uint8_t(g);
        d[2] = std::uint8_t(r);
    };
    // Columns whose both neighbours lie inside, as a byte range.
    const std::int64_t innerFirst = std::min<std::int64_t>(a, width_);
    const std::int64_t innerLast = std::max<std::int64_t>(width_ - a, innerFirst);
    const std::size_t shift = std::size_t(std::min<std::int64_t>(a, width_)) * 3;
    for (int y = 0; y < height_; ++y) {
        const bool upInside = inside(y - a, height_), downInside = inside(y + a, height_);
        const std::uint8_t* up = ScanLine(upInside ? int(y - a) : y);
        const std::uint8_t* down = ScanLine(downInside ? int(y + a) : y);
        std::uint8_t* row = ScanLine(y);
        if (!upInside || !downInside) {
            // The row reads itself: pixel by pixel, later pixels seeing the ones written.
            for (int x = 0; x < width_; ++x) blurPixel(up, down, row, x);
            continue;
        }
        // Neither neighbour row is this one (the upper one already holds blurred pixels), so
        // the row does not read itself and can be written in any order.
        for (int x = 0; x < innerFirst; ++x) blurPixel(up, down, row, x);
        for (int x = int(innerLast); x < width_; ++x) blurPixel(up, down, row, x);
        SumOfFour(row + innerFirst * 3, up + innerFirst * 3 - shift, up + innerFirst * 3 + shift,
                  down + innerFirst * 3 - shift, down + innerFirst * 3 + shift,
                  std::size_t(innerLast - innerFirst) * 3);
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
    // The weights spread to the three bytes of each pixel, once for all rows.
    const std::size_t n = std::size_t(last - first + 1) * 3;
    std::vector<double> m(n), rest(n);
    for (std::size_t i = 0; i < n; ++i) {
        m[i] = weight[std::size_t(first) + i / 3];
        rest[i] = 1 - m[i];
    }
    for (int y = 0; y < height_; ++y)
        BlendBytes(ScanLine(y) + std::size_t(first) * 3, other.ScanLine(y) + std::size_t(first) * 3,
                   n, m.data(), rest.data());
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

void MorphByKind(TskEffectBmp& self, const TskEffectBmp& other, TskMorphKind kind, double k) {
    switch (kind) {
        case mkGradient:
            self.MorphGrad(other, k);
            break;
        case mkLeftGradient:
            self.MorphLeftGrad(other, k);
            break;
        case mkRightGradient:
            self.MorphRightGrad(other, k);
            break;
        case mkLeftSlide:
            self.MorphLeftSlide(other, k);
            break;
        case mkRightSlide:
            self.MorphRightSlide(other, k);
            break;
        case mkPush:
            self.MorphPush(other, k);
            break;
        default:
            self.Morph(other, k);
            break;
    }
}

}  // namespace sk
