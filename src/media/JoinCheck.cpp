#include "media/JoinCheck.h"

#include <cmath>
#include <string>

#include "media/CutSource.h"
#include "media/CutWriter.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

[[noreturn]] void Refuse(const std::string& why) { throw CopyRefused(why); }

// Bytes of each plane row, and rows, of a picture in an 8-bit or wider planar/packed format.
bool PlaneGeometry(const AVFrame* f, int plane, int& bytes, int& rows) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
    if (d == nullptr) return false;
    int linesizes[4] = {};
    if (av_image_fill_linesizes(linesizes, static_cast<AVPixelFormat>(f->format), f->width) < 0)
        return false;
    bytes = linesizes[plane];
    rows = (plane == 1 || plane == 2) ? AV_CEIL_RSHIFT(f->height, d->log2_chroma_h) : f->height;
    return bytes > 0;
}

bool SameShape(const AVFrame* a, const AVFrame* b) {
    return a->format == b->format && a->width == b->width && a->height == b->height;
}

// Decodes one window of the written file after another.
class JoinChecker {
public:
    JoinChecker(CutWriter& writer, const WrittenLayout& layout, const References& references)
        : in_(writer.OpenWritten()), layout_(layout), references_(references) {
        if (in_->nb_streams == 0 || in_->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
            Refuse("the written file has no picture stream");
        AVStream* st = in_->streams[0];
        // As a player would: configured from the file's own header.
        dec_ = OpenDecoder(st->codecpar, st->time_base, true);
    }

    void Check(const CheckWindow& w) {
        SeekToKeyBefore(w.begin);
        Window win{w};
        win.expected = w.begin;
        while (win.expected < w.end) {
            const Fed fed = FeedNext(win);
            if (fed == Fed::Nothing) break;
            if (fed == Fed::OtherStream) continue;
            TakePictures(win);
        }
        if (win.expected < w.end)
            Refuse("written picture " + std::to_string(win.expected) + " is missing");
    }

private:
    // One window's way through the file.
    struct Window {
        const CheckWindow& range;
        std::int64_t expected = 0;  // the slot whose picture must come next
        // A player shows each picture at its time stamp: across the window, and so across its
        // join, time stamp and place must keep one distance.
        std::int64_t distance = 0;
        bool haveDistance = false;
        bool eof = false;
    };
    enum class Fed { Picture, OtherStream, Nothing };

    // Decoding starts from the last key picture at or before the window.
    void SeekToKeyBefore(std::int64_t slot) {
        const OutputKey* from = nullptr;
        for (const OutputKey& k : layout_.keys)
            if (k.slot <= slot) from = &k;
        if (from == nullptr)
            Refuse("the written file has no key picture before picture " + std::to_string(slot));
        avcodec_flush_buffers(dec_.get());
        CheckAv(av_seek_frame(in_.get(), 0, from->index, AVSEEK_FLAG_BACKWARD),
                "Cannot seek in the written file");
    }

    // Gives the decoder the file's next packet, or its end once (then Nothing).
    Fed FeedNext(Window& win) {
        int r = win.eof ? AVERROR_EOF : av_read_frame(in_.get(), pkt_.get());
        if (r == AVERROR_EOF) {
            if (win.eof) return Fed::Nothing;
            win.eof = true;
            avcodec_send_packet(dec_.get(), nullptr);
            return Fed::Picture;
        }
        if (r < 0) Refuse("the written file cannot be read back: " + AvErrorText(r));
        const bool video = pkt_->stream_index == 0;
        if (video) {
            TagPacket(pkt_.get(), pkt_->dts);
            r = avcodec_send_packet(dec_.get(), pkt_.get());
            if (r < 0 && win.expected > win.range.begin)
                Refuse("the written file does not decode: " + AvErrorText(r));
        }
        av_packet_unref(pkt_.get());
        return video ? Fed::Picture : Fed::OtherStream;
    }

    void TakePictures(Window& win) {
        const auto written = static_cast<std::int64_t>(layout_.slots.size());
        while (win.expected < win.range.end && avcodec_receive_frame(dec_.get(), f_.get()) >= 0) {
            const std::int64_t tag = FrameTag(f_.get());
            if (tag < 0 || tag >= written) Refuse("a written picture cannot be placed");
            const std::int64_t slot = layout_.slots[tag];
            if (slot >= win.range.begin) {
                if (slot != win.expected)
                    Refuse("written picture " + std::to_string(win.expected) + " is out of place");
                CheckTime(win, slot);
                Compare(slot);
                ++win.expected;
            }
            av_frame_unref(f_.get());
        }
    }

    void CheckTime(Window& win, std::int64_t slot) const {
        if (f_->best_effort_timestamp == AV_NOPTS_VALUE) {
            // Only the pictures given out at the end of the file may lack one.
            if (!win.eof) Refuse("a written picture has no time stamp");
            return;
        }
        const std::int64_t d = f_->best_effort_timestamp - slot;
        if (win.haveDistance && d != win.distance)
            Refuse("written picture " + std::to_string(slot) + " is shown at the wrong time");
        win.distance = d;
        win.haveDistance = true;
    }

    void Compare(std::int64_t slot) const {
        if (Damaged(f_.get())) Refuse("the written file decodes with errors");
        const Reference& ref = references_.at(slot);
        if (ref.copied) {
            if (DigestPicture(f_.get()) != ref.digest)
                Refuse("copied picture " + std::to_string(slot) + " differs from the source's");
            return;
        }
        const double psnr = Psnr(f_.get(), ref.picture.get());
        if (psnr < kMinPsnr) {
            Refuse("re-encoded picture " + std::to_string(slot) +
                   " is too far from the source's (" + std::to_string(psnr) + " dB)");
        }
    }

    InputFormatPtr in_;
    CodecContextPtr dec_;
    PacketPtr pkt_ = MakePacket();
    FramePtr f_ = MakeFrame();
    const WrittenLayout& layout_;
    const References& references_;
};

}  // namespace

bool Damaged(const AVFrame* f) {
    return f->decode_error_flags != 0 || (f->flags & AV_FRAME_FLAG_CORRUPT) != 0;
}

double Psnr(const AVFrame* a, const AVFrame* b) {
    if (!SameShape(a, b)) return 0;
    double sum = 0;
    double count = 0;
    for (int p = 0; p < 4 && a->data[p] != nullptr; ++p) {
        int bytes = 0;
        int rows = 0;
        if (!PlaneGeometry(a, p, bytes, rows)) return 0;
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* ra = a->data[p] + static_cast<std::ptrdiff_t>(y) * a->linesize[p];
            const std::uint8_t* rb = b->data[p] + static_cast<std::ptrdiff_t>(y) * b->linesize[p];
            std::int64_t row = 0;
            for (int x = 0; x < bytes; ++x) {
                const int d = int(ra[x]) - int(rb[x]);
                row += d * d;
            }
            sum += static_cast<double>(row);
        }
        count += static_cast<double>(bytes) * rows;
    }
    if (sum == 0) return INFINITY;
    return 10.0 * std::log10(255.0 * 255.0 * count / sum);
}

void CheckJoins(CutWriter& writer, const std::vector<CheckWindow>& windows,
                const WrittenLayout& layout, const References& references) {
    JoinChecker checker(writer, layout, references);
    for (const CheckWindow& w : windows) checker.Check(w);
}

}  // namespace media
