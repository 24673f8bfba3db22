#include "skin/data/skZStream.h"

#include <zlib.h>

#include <vector>

namespace sk {

namespace {

constexpr std::size_t kBufferSize = 65536;
constexpr std::size_t kPieceSize = 4096;

// z_stream owners that end the stream however the work ends.
struct Deflater {
    z_stream s{};
    bool live = false;
    ~Deflater() {
        if (live) deflateEnd(&s);
    }
};
struct Inflater {
    z_stream s{};
    bool live = false;
    ~Inflater() {
        if (live) inflateEnd(&s);
    }
};

std::string ZText(const char* what, int code, const z_stream& z) {
    std::string s = std::string("compression error (") + what + " " + std::to_string(code);
    if (z.msg != nullptr) s += std::string(": ") + z.msg;
    return s + ")";
}

}  // namespace

void CompressStream(rt::TStream& source, rt::TStream& target) {
    Deflater d;
    z_stream& s = d.s;
    int rc = deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) throw ECompressionError(ZText("deflateInit", rc, s));
    d.live = true;

    std::vector<std::uint8_t> in(kBufferSize), out(kBufferSize);
    source.SetPosition(0);
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    auto flushOut = [&] {
        std::size_t n = out.size() - s.avail_out;
        target.WriteBuffer(out.data(), std::int64_t(n));
        s.next_out = out.data();
        s.avail_out = uInt(out.size());
    };
    for (;;) {
        std::int64_t got = source.Read(in.data(), std::int64_t(in.size()));
        int flush = got > 0 ? Z_NO_FLUSH : Z_FINISH;
        s.next_in = in.data();
        s.avail_in = uInt(got > 0 ? got : 0);
        do {
            rc = deflate(&s, flush);
            if (rc < 0 && rc != Z_BUF_ERROR) throw ECompressionError(ZText("deflate", rc, s));
            if (s.avail_out == 0) flushOut();
        } while (s.avail_in > 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
        if (flush == Z_FINISH) break;
    }
    if (s.avail_out != out.size()) flushOut();
}

void DecompressStream(rt::TStream& target, rt::TStream& source, std::int64_t maxSize) {
    Inflater inf;
    z_stream& s = inf.s;
    int rc = inflateInit(&s);
    if (rc != Z_OK) throw EDecompressionError(ZText("inflateInit", rc, s));
    inf.live = true;

    std::vector<std::uint8_t> in(kBufferSize);
    std::uint8_t piece[kPieceSize];
    std::int64_t total = 0;
    source.SetPosition(0);
    bool inputDone = false;
    for (;;) {
        if (s.avail_in == 0 && !inputDone) {
            std::int64_t got = source.Read(in.data(), std::int64_t(in.size()));
            if (got <= 0) inputDone = true;
            s.next_in = in.data();
            s.avail_in = uInt(got > 0 ? got : 0);
        }
        s.next_out = piece;
        s.avail_out = kPieceSize;
        rc = inflate(&s, Z_NO_FLUSH);
        if (rc == Z_NEED_DICT) rc = Z_DATA_ERROR;
        if (rc < 0 && (rc != Z_BUF_ERROR || s.avail_in > 0))
            throw EDecompressionError(ZText("inflate", rc, s));
        std::size_t n = kPieceSize - s.avail_out;
        if (n > 0) {
            if (total + std::int64_t(n) > maxSize)
                throw EDecompressionError("compression error (the inflated data exceeds " +
                                          std::to_string(maxSize) + " bytes)");
            target.WriteBuffer(piece, std::int64_t(n));
            total += std::int64_t(n);
        }
        if (rc == Z_STREAM_END) break;
        // A read that yields nothing more: the compressed data ended early.
        if (n == 0 && s.avail_in == 0 && inputDone) break;
    }
}

}  // namespace sk
