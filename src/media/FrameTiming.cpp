#include "media/FrameTiming.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "media/FFmpegCompat.h"

namespace media {

namespace {

// After a seek into a stream that never marks key pictures, pictures are taken as they come
// after this many rather than not at all.
constexpr int kMaxSkippedBeforeKey = 250;
// How often a seek steps further back (1, 2, 4, ... seconds) before it starts from the top.
constexpr int kMaxStepsBack = 6;
// Reading starts this long before a target. Timestamps that a demuxer works out from the
// pictures' durations (MPEG streams stamp only some pictures) are settled by then, so the
// pictures near the target carry the stamps that reading the whole file gives them.
constexpr double kLeadInSeconds = 1.0;
// Pictures read from the top to learn whether the decoder tells key pictures from others.
constexpr int kKeyProbePictures = 30;

int64_t SatAdd(int64_t a, int64_t b) {
    int64_t r = 0;
    if (!__builtin_add_overflow(a, b, &r)) return r;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

int64_t SatSub(int64_t a, int64_t b) {
    int64_t r = 0;
    if (!__builtin_sub_overflow(a, b, &r)) return r;
    return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

int64_t TickAfter(int64_t origin, double seconds, AVRational tb, int64_t frameTicks) {
    if (tb.num <= 0 || tb.den <= 0 || !(seconds > 0.0)) return origin;
    const double slack = frameTicks > 2 ? 0.5 : 1e-6;
    double ticks = std::floor(seconds * tb.den / tb.num + slack);
    if (!std::isfinite(ticks) || ticks > 4.0e18) ticks = 4.0e18;
    return SatAdd(origin, static_cast<int64_t>(ticks));
}

PictureClock::PictureClock(AVFormatContext* fmt, AVStream* st) {
    AVRational rate = av_guess_frame_rate(fmt, st, nullptr);
    if (rate.num > 0 && rate.den > 0 && st->time_base.num > 0 && st->time_base.den > 0)
        step_ = std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), st->time_base));
}

void PictureClock::Restart() {
    keySeen_ = false;
    skipped_ = 0;
    prev_ = AV_NOPTS_VALUE;
    before_ = AV_NOPTS_VALUE;
}

std::optional<int64_t> PictureClock::Stamp(const AVFrame* f, int64_t fallback) {
    if (!FrameIsKey(f)) sawNonKey_ = true;
    if (!keySeen_) {
        if (!FrameIsKey(f) && ++skipped_ < kMaxSkippedBeforeKey) return std::nullopt;
        keySeen_ = true;
    }
    int64_t ts = f->best_effort_timestamp;
    guessed_ = ts == AV_NOPTS_VALUE && prev_ == AV_NOPTS_VALUE;
    if (ts == AV_NOPTS_VALUE) {
        // One step on from the previous picture: the spacing seen last, else a frame.
        int64_t spacing = 0;
        if (before_ == AV_NOPTS_VALUE || before_ >= prev_ ||
            __builtin_sub_overflow(prev_, before_, &spacing))
            spacing = step_;
        // The fallback is a time of the corrected stamps already.
        ts = guessed_ ? SatSub(fallback, shift_) : SatAdd(prev_, spacing);
    }
    before_ = prev_;
    prev_ = ts;
    return SatAdd(ts, shift_);
}

PictureReader::PictureReader(AVFormatContext* fmt, int stream, AVCodecContext* dec, ReadGuard guard)
    : fmt_(fmt),
      st_(fmt->streams[stream]),
      stream_(stream),
      dec_(dec),
      guard_(std::move(guard)),
      clock_(fmt, fmt->streams[stream]),
      pkt_(MakePacket()) {
    if (st_->start_time != AV_NOPTS_VALUE) start_ = st_->start_time;
    for (unsigned i = 0; i < fmt_->nb_streams; ++i) discard_.push_back(fmt_->streams[i]->discard);

    // A seek lands on a whole picture only where key pictures are known: every picture of an
    // intra-only codec is one, program and transport streams and raw streams find them in the
    // data, and an index of several entries, or one that marks some as not key, lists them.
    // An AVI without index counts every packet as key, and some decoders say the same of every
    // picture, so there a seek may land on a picture that only updates its predecessor; First
    // then learns from the decoder whether it tells them apart.
    const AVCodecDescriptor* desc = avcodec_descriptor_get(st_->codecpar->codec_id);
    const int entries = avformat_index_get_entries_count(st_);
    bool known = (desc != nullptr && (desc->props & AV_CODEC_PROP_INTRA_ONLY)) ||
                 (fmt_->iformat->flags & (AVFMT_TS_DISCONT | AVFMT_GENERIC_INDEX)) || entries > 1;
    for (int i = 0; !known && i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st_, i);
        known = e != nullptr && !(e->flags & AVINDEX_KEYFRAME);
    }
    if (known) keys_ = KeyPictures::Known;
}

PictureReader::~PictureReader() {
    for (unsigned i = 0; i < fmt_->nb_streams && i < discard_.size(); ++i)
        fmt_->streams[i]->discard = discard_[i];
}

void PictureReader::Seek(int64_t ts, bool fromTop) {
    guard_.check();
    for (unsigned i = 0; i < fmt_->nb_streams; ++i)
        fmt_->streams[i]->discard =
            static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const bool dataStamps = (fmt_->iformat->flags & AVFMT_TS_DISCONT) != 0;
    const int64_t at = fromTop ? start_ : ts;
    int rc = -1;
    // Program and transport streams carry their timestamps in the data, so byte 0 is their
    // top; other demuxers go on counting after a byte seek, and their top is the stream start.
    if (fromTop && dataStamps) rc = av_seek_frame(fmt_, -1, 0, AVSEEK_FLAG_BYTE);
    // Where an index says what the packet a seek lands on is stamped, the stamp it comes with
    // is checked against it (see Feed).
    int entry = -1;
    if (rc < 0) {
        rc = av_seek_frame(fmt_, stream_, at, AVSEEK_FLAG_BACKWARD);
        if (rc >= 0) entry = av_index_search_timestamp(st_, at, AVSEEK_FLAG_BACKWARD);
    }
    // Without a key picture at or before ts, the nearest one will do (SeekTo steps back).
    if (rc < 0) {
        rc = avformat_seek_file(fmt_, stream_, INT64_MIN, at, INT64_MAX, 0);
        if (rc >= 0) entry = av_index_search_timestamp(st_, at, 0);
    }
    if (rc < 0 && !(fmt_->iformat->flags & AVFMT_NO_BYTE_SEEK))
        rc = av_seek_frame(fmt_, -1, 0, AVSEEK_FLAG_BYTE | AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry* landing =
        entry >= 0 && !dataStamps ? avformat_index_get_entry(st_, entry) : nullptr;
    landingPos_ = landing != nullptr ? landing->pos : -1;
    // The packet itself may start after its index position (behind a chunk header), but
    // before the next entry's.
    const AVIndexEntry* next =
        landing != nullptr ? avformat_index_get_entry(st_, entry + 1) : nullptr;
    landingEnd_ = next != nullptr && next->pos > landingPos_ ? next->pos : SatAdd(landingPos_, 64);
    landingTs_ = landing != nullptr ? landing->timestamp : AV_NOPTS_VALUE;
    clock_.SetShift(0);
    if (rc == AVERROR_EXIT) guard_.check();
    if (rc < 0) {
        guard_.fail("the file cannot be searched (" + AvErrorText(rc) + ")");
        throw MediaError("The file cannot be searched", rc);
    }
    avcodec_flush_buffers(dec_);
    av_packet_unref(pkt_.get());
    pending_ = false;
    drained_ = false;
    clock_.Restart();
    seekTs_ = ts;
    seekTop_ = fromTop;
}

bool PictureReader::Feed() {
    if (drained_) return false;
    for (int again = 0;;) {
        guard_.check();
        if (!pending_) {
            int rc = av_read_frame(fmt_, pkt_.get());
            if (rc == AVERROR(EAGAIN) && ++again < 1000) continue;
            if (rc == AVERROR_EXIT) guard_.check();
            if (rc < 0) {
                // The end of the file, or a read error taken as one: what decodes so far
                // counts. The decoder refuses the drain only when it was drained already.
                rc = avcodec_send_packet(dec_, nullptr);
                drained_ = true;
                return rc >= 0;
            }
            if (pkt_->stream_index != stream_) {
                av_packet_unref(pkt_.get());
                continue;
            }
            // Some demuxers stamp the packets after a seek differently from a reading from
            // the top (an AVI whose stream starts late counts its start twice): the packet the
            // index names tells by how much.
            if (landingPos_ >= 0 && pkt_->pos >= landingPos_ && pkt_->pos < landingEnd_ &&
                pkt_->dts != AV_NOPTS_VALUE && landingTs_ != AV_NOPTS_VALUE)
                clock_.SetShift(SatSub(landingTs_, pkt_->dts));
            landingPos_ = -1;
        }
        int rc = avcodec_send_packet(dec_, pkt_.get());
        pending_ = rc == AVERROR(EAGAIN);
        // A packet the decoder refuses as damaged is skipped, as players do.
        if (!pending_) av_packet_unref(pkt_.get());
        return true;
    }
}

bool PictureReader::Next(AVFrame* out, int64_t& ts) {
    for (;;) {
        int rc = avcodec_receive_frame(dec_, out);
        if (rc >= 0) {
            if (std::optional<int64_t> stamp = clock_.Stamp(out, start_)) {
                ts = *stamp;
                return true;
            }
            av_frame_unref(out);
            continue;
        }
        if (rc == AVERROR_EOF) return false;
        // EAGAIN asks for input; another error is a damaged picture, after which the next
        // packet may decode again.
        if (!Feed()) return false;
    }
}

bool PictureReader::First(AVFrame* out, int64_t& ts, bool fromHere) {
    if (fromHere) {
        for (unsigned i = 0; i < fmt_->nb_streams; ++i)
            fmt_->streams[i]->discard =
                static_cast<int>(i) == stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        avcodec_flush_buffers(dec_);
        clock_.Restart();
        drained_ = false;
        seekTs_ = start_;
        seekTop_ = true;
        if (Next(out, ts)) {
            LearnKeys();
            return true;
        }
    }
    Seek(start_, true);
    if (!Next(out, ts)) return false;
    LearnKeys();
    return true;
}

void PictureReader::LearnKeys() {
    if (keys_ != KeyPictures::Unknown) return;
    // A decoder that calls some picture not key tells them apart; one that calls all of them
    // key does not, and then only reading from the top gives whole pictures.
    FramePtr scratch = MakeFrame();
    int64_t ts = 0;
    for (int i = 0; i < kKeyProbePictures && !clock_.SawNonKey() && Next(scratch.get(), ts); ++i)
        av_frame_unref(scratch.get());
    keys_ = clock_.SawNonKey() ? KeyPictures::Known : KeyPictures::Unmarked;
}

bool PictureReader::SeekTo(int64_t target, AVFrame* out, int64_t& ts) {
    const int64_t second = std::max<int64_t>(1, av_rescale_q(1, AVRational{1, 1}, st_->time_base));
    int64_t seekTo = SatAdd(target, -static_cast<int64_t>(kLeadInSeconds * second));
    // Beyond the end is as good as the end, and finds the last key picture at once.
    if (st_->duration != AV_NOPTS_VALUE && st_->duration > 0)
        seekTo = std::min(seekTo, SatAdd(start_, st_->duration));
    if (keys_ == KeyPictures::Unmarked) seekTo = start_;
    FramePtr late;
    int64_t lateTs = 0, lateSeekTs = 0, lateShift = 0;
    bool lateTop = false;
    for (int attempt = 0;; ++attempt) {
        // A demuxer's timestamp search may land after the key picture that the target
        // needs (program streams do), and leading pictures of an open group need the group
        // before: the first picture decoded tells whether to step further back.
        const bool top = seekTo <= start_;
        Seek(seekTo, top);
        // A first picture without a timestamp could be anywhere, unless it is the top's.
        if (Next(out, ts) && (top || !clock_.Guessed())) {
            if (ts <= target) return true;
            if (!late || ts < lateTs) {
                if (!late) late = MakeFrame();
                av_frame_unref(late.get());
                av_frame_move_ref(late.get(), out);
                lateTs = ts;
                lateSeekTs = seekTo;
                lateTop = top;
                lateShift = clock_.Shift();
            }
        }
        av_frame_unref(out);
        if (top) break;
        seekTo = attempt < kMaxStepsBack ? std::max(start_, SatAdd(seekTo, -(second << attempt)))
                                         : start_;
    }
    if (!late) return false;
    av_frame_move_ref(out, late.get());
    ts = lateTs;
    seekTs_ = lateSeekTs;
    seekTop_ = lateTop;
    clock_.SetShift(lateShift);
    return true;
}

void PictureReader::Rewind() {
    Seek(seekTs_, seekTop_);
    for (unsigned i = 0; i < fmt_->nb_streams && i < discard_.size(); ++i)
        fmt_->streams[i]->discard = discard_[i];
}

}  // namespace media
