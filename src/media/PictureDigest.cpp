#include "media/PictureDigest.h"

#include <cstring>

#include "media/AvHolders.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;

std::uint64_t Rotl(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

std::uint64_t Round(std::uint64_t acc, std::uint64_t word) {
    acc += word * kPrime2;
    return Rotl(acc, 31) * kPrime1;
}

std::uint64_t Avalanche(std::uint64_t h) {
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

// Two independent lanes over the bytes, eight at a time; the last few bytes of a row are
// padded with their count so that rows of different lengths never read alike.
class Lanes {
public:
    void Update(const std::uint8_t* p, std::size_t n) {
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16) {
            std::uint64_t w0 = 0;
            std::uint64_t w1 = 0;
            std::memcpy(&w0, p + i, 8);
            std::memcpy(&w1, p + i + 8, 8);
            a_ = Round(a_, w0);
            b_ = Round(b_, w1);
        }
        for (; i + 8 <= n; i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, p + i, 8);
            a_ = Round(a_, w);
        }
        if (i < n) {
            std::uint64_t w = n - i;
            std::memcpy(reinterpret_cast<std::uint8_t*>(&w) + 1, p + i, n - i);
            b_ = Round(b_, w);
        }
        length_ += n;
    }
    PictureDigest Final() const {
        const std::uint64_t a = Avalanche(a_ ^ length_);
        const std::uint64_t b = Avalanche(b_ + length_ * kPrime3);
        return {Avalanche(a ^ Rotl(b, 17)), Avalanche(b ^ Rotl(a, 41))};
    }

private:
    std::uint64_t a_ = kPrime1;
    std::uint64_t b_ = kPrime2;
    std::uint64_t length_ = 0;
};

}  // namespace

PictureDigest DigestPicture(const AVFrame* f) {
    const auto format = static_cast<AVPixelFormat>(f->format);
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    int bytes[4] = {};
    if (d == nullptr || av_image_fill_linesizes(bytes, format, f->width) < 0)
        throw MediaError("Cannot check a picture of an unknown layout");
    Lanes lanes;
    const std::int64_t shape[3] = {f->format, f->width, f->height};
    lanes.Update(reinterpret_cast<const std::uint8_t*>(shape), sizeof shape);
    for (int p = 0; p < 4 && f->data[p] != nullptr && bytes[p] > 0; ++p) {
        const int rows =
            (p == 1 || p == 2) ? AV_CEIL_RSHIFT(f->height, d->log2_chroma_h) : f->height;
        for (int y = 0; y < rows; ++y) {
            lanes.Update(f->data[p] + static_cast<std::ptrdiff_t>(y) * f->linesize[p],
                         static_cast<std::size_t>(bytes[p]));
        }
    }
    return lanes.Final();
}

}  // namespace media
