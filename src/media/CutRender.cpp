#include "media/CutRender.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "base/AtomicFile.h"
#include "media/FrameTiming.h"
#include "media/OutputFile.h"
#include "media/SourceInput.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

// The output context borrows its I/O context from AtomicOutputFile, so it must not close it.
struct CustomIoOutputDeleter {
    void operator()(AVFormatContext* p) const {
        if (p == nullptr) return;
        p->pb = nullptr;
        avformat_free_context(p);
    }
};
using CustomIoOutputPtr = std::unique_ptr<AVFormatContext, CustomIoOutputDeleter>;

// Ends a blocking FFmpeg call on the source: a stop request, or a call that outlasts its
// deadline (a damaged file can send the demuxer searching, a stalled disk never answers).
// FFmpeg asks it on the thread that made the call, so it needs no lock.
class SourceWatch {
public:
    using Clock = std::chrono::steady_clock;
    explicit SourceWatch(const std::atomic<bool>* cancel) : cancel_(cancel) {}
    void Arm(Clock::duration d) { deadline_ = Clock::now() + d; }
    bool Expired() const { return Clock::now() > deadline_; }
    static int Callback(void* opaque) {
        const auto* self = static_cast<const SourceWatch*>(opaque);
        return (self->cancel_ != nullptr && self->cancel_->load()) || self->Expired() ? 1 : 0;
    }

private:
    const std::atomic<bool>* cancel_;
    Clock::time_point deadline_ = Clock::time_point::max();
};

// Opening reads the headers and enough of the streams to know them; one read or seek later on
// gets its own time.
constexpr auto kOpenTimeout = std::chrono::seconds(10);
constexpr auto kReadTimeout = std::chrono::seconds(10);
constexpr const char* kTooSlow = "reading it took too long; it may be damaged or on a slow device";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The file a cut reads, and the I/O context its demuxer reads through: both outlive it.
struct SourceFile {
    std::unique_ptr<SourceInput> input;
    std::unique_ptr<SourceInput::Reader> reader;
};

// The source as a regular file only, opened once: a pipe or a device would block the cut.
InputFormatPtr OpenSource(const std::string& name, SourceWatch& watch, SourceFile& file) {
    std::string reason;
    file.input = SourceInput::OpenFile(name, reason);
    if (!file.input)
        throw MediaError("Cannot open the source file " + Quoted(name) + ": " + reason);
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) throw MediaError("Out of memory opening the source file");
    raw->interrupt_callback.callback = &SourceWatch::Callback;
    raw->interrupt_callback.opaque = &watch;
    try {
        file.reader = file.input->Attach(raw);
    } catch (...) {
        avformat_free_context(raw);
        throw;
    }
    watch.Arm(kOpenTimeout);
    int r = avformat_open_input(&raw, name.c_str(), nullptr, nullptr);
    if (r < 0) {
        throw MediaError("Cannot open the source file " + Quoted(name) + ": " +
                             (watch.Expired() ? kTooSlow : AvErrorText(r)),
                         r);
    }
    InputFormatPtr in(raw);
    r = avformat_find_stream_info(in.get(), nullptr);
    if (r < 0) {
        throw MediaError("Cannot read the streams of the source file " + Quoted(name) + ": " +
                             (watch.Expired() ? kTooSlow : AvErrorText(r)),
                         r);
    }
    return in;
}

// Sound beyond these is a damaged header, not a recording: 2 s of it at the rate a damaged
// file claimed (1.7 GHz) came to 13 GB of output.
constexpr int kMaxSampleRate = 384000;
constexpr int kMaxChannels = 16;

// The stream of `type` that a cut uses, or -1: it must have a decoder and sane parameters.
int UsableStream(AVFormatContext* in, AVMediaType type) {
    int index = av_find_best_stream(in, type, -1, -1, nullptr, 0);
    if (index < 0) return -1;
    const AVCodecParameters* par = in->streams[index]->codecpar;
    if (avcodec_find_decoder(par->codec_id) == nullptr) return -1;
    if (type == AVMEDIA_TYPE_VIDEO && (par->width <= 0 || par->height <= 0)) return -1;
    if (type == AVMEDIA_TYPE_AUDIO &&
        (par->sample_rate <= 0 || par->sample_rate > kMaxSampleRate ||
         par->ch_layout.nb_channels <= 0 || par->ch_layout.nb_channels > kMaxChannels))
        return -1;
    return index;
}

CodecContextPtr OpenDecoder(AVStream* st) {
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (codec == nullptr) throw MediaError("No decoder for the source's stream");
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) throw MediaError("Out of memory opening a decoder");
    CheckAv(avcodec_parameters_to_context(ctx.get(), st->codecpar), "Cannot set up the decoder");
    ctx->pkt_timebase = st->time_base;
    ctx->thread_count = 0;
    CheckAv(avcodec_open2(ctx.get(), codec, nullptr),
            std::string("Cannot open the ") + codec->name + " decoder");
    return ctx;
}

FramePtr RefFrame(const AVFrame* src) {
    FramePtr f = MakeFrame();
    CheckAv(av_frame_ref(f.get(), src), "Cannot keep a decoded frame");
    return f;
}

class CutRenderer {
public:
    CutRenderer(const CutRequest& request, const std::atomic<bool>& cancel)
        : request_(request), cancel_(cancel), watch_(&cancel) {}
    ~CutRenderer() { av_channel_layout_uninit(&swrInLayout_); }
    CutRenderer(const CutRenderer&) = delete;
    CutRenderer& operator=(const CutRenderer&) = delete;

    void Run();
    // Drops the unfinished output; returns its name when it could not be removed.
    std::string DiscardOutput() { return file_ ? file_->Discard() : std::string(); }

private:
    void OpenInput();
    void OpenVideoEncoder();
    void OpenAudioEncoder();
    void OpenOutput();
    void FindFirstPicture();
    void SeekToStart();
    void Pump();
    void OnVideoPacket(const AVPacket* pkt);
    void OnAudioPacket(const AVPacket* pkt);
    void OnVideoFrame(AVFrame* f);
    void OnAudioFrame(AVFrame* f);
    void EmitHeld();
    void WriteSamples(const std::uint8_t* data, std::int64_t count);
    void WriteSilence(std::int64_t count);
    void FinishVideo();
    void FinishAudio();
    void Encode(AVCodecContext* enc, AVStream* st, const AVFrame* frame);
    void CheckWrite(int r, const std::string& what);
    void CheckCancel() const {
        if (cancel_.load()) throw CutCancelled();
    }
    bool VideoDone() const { return vIndex_ < 0 || framesOut_ >= framesWanted_; }
    bool AudioDone() const { return aIndex_ < 0 || samplesOut_ >= samplesWanted_; }

    const CutRequest& request_;
    const std::atomic<bool>& cancel_;

    SourceWatch watch_;
    SourceFile sourceFile_;
    InputFormatPtr in_;
    int vIndex_ = -1;
    int aIndex_ = -1;
    double zero_ = 0.0;   // seconds of the source's first picture (or first time stamp)
    int64_t origin_ = 0;  // timestamp of the first picture
    std::unique_ptr<PictureReader> pictures_;
    std::optional<PictureClock> clock_;
    CodecContextPtr vDec_, aDec_, vEnc_, aEnc_;
    PacketPtr packet_ = MakePacket();
    PacketPtr outPacket_ = MakePacket();
    FramePtr decoded_ = MakeFrame();

    std::unique_ptr<AtomicOutputFile> file_;
    CustomIoOutputPtr out_;
    AVStream* vOut_ = nullptr;
    AVStream* aOut_ = nullptr;

    AVRational fps_{25, 1};
    std::int64_t framesWanted_ = 0;
    std::int64_t framesOut_ = 0;
    double lastVideoTime_ = 0.0;
    FramePtr held_;
    FramePtr heldConverted_;
    SwsPtr sws_;

    std::int64_t samplesWanted_ = 0;
    std::int64_t samplesOut_ = 0;
    bool audioPlaced_ = false;
    double nextAudioTime_ = 0.0;
    SwrPtr swr_;
    int swrInRate_ = 0;
    int swrInFormat_ = -1;
    AVChannelLayout swrInLayout_{};
    std::vector<std::uint8_t> pcm_;
};

void CutRenderer::Run() {
    if (!(request_.stop >= request_.start) || request_.start < 0 || !std::isfinite(request_.stop)) {
        throw MediaError(
            "The stretch to cut is invalid: it must start at 0 s or later and end "
            "no earlier than it starts");
    }
    RefuseOverwritingSource(request_.source, request_.output);
    OpenInput();
    OpenVideoEncoder();
    OpenAudioEncoder();
    OpenOutput();
    SeekToStart();
    Pump();
    CheckWrite(av_write_trailer(out_.get()), "Cannot finish the output file");
    out_.reset();
    file_->Commit();
}

void CutRenderer::OpenInput() {
    in_ = OpenSource(request_.source, watch_, sourceFile_);
    if (request_.video) vIndex_ = UsableStream(in_.get(), AVMEDIA_TYPE_VIDEO);
    if (request_.audio) aIndex_ = UsableStream(in_.get(), AVMEDIA_TYPE_AUDIO);
    if (vIndex_ < 0 && aIndex_ < 0) {
        throw MediaError("The source file " + Quoted(request_.source) +
                         " has no picture or sound that can be decoded");
    }
    AVStream* ref = in_->streams[vIndex_ >= 0 ? vIndex_ : aIndex_];
    if (ref->start_time != AV_NOPTS_VALUE) {
        zero_ = static_cast<double>(ref->start_time) * av_q2d(ref->time_base);
    } else if (in_->start_time != AV_NOPTS_VALUE) {
        zero_ = static_cast<double>(in_->start_time) / AV_TIME_BASE;
    }
    const double length = request_.stop - request_.start;
    if (vIndex_ >= 0) {
        AVStream* st = in_->streams[vIndex_];
        vDec_ = OpenDecoder(st);
        FindFirstPicture();
        AVRational guess = av_guess_frame_rate(in_.get(), st, nullptr);
        if (guess.num > 0 && guess.den > 0 && av_q2d(guess) <= 240.0) fps_ = guess;
        framesWanted_ = std::max<std::int64_t>(1, std::llround(length * av_q2d(fps_)));
    }
    if (aIndex_ >= 0) {
        aDec_ = OpenDecoder(in_->streams[aIndex_]);
        const double audioLength =
            vIndex_ >= 0 ? static_cast<double>(framesWanted_) / av_q2d(fps_) : length;
        samplesWanted_ = std::llround(audioLength * aDec_->sample_rate);
    }
}

void CutRenderer::OpenVideoEncoder() {
    if (vIndex_ < 0) return;
    AVStream* st = in_->streams[vIndex_];
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (avi == nullptr) throw MediaError("This FFmpeg has no AVI writer");

    std::int64_t bitRate = st->codecpar->bit_rate;
    if (bitRate <= 0 && in_->bit_rate > 0) {
        bitRate = in_->bit_rate;
        if (aIndex_ >= 0 && in_->streams[aIndex_]->codecpar->bit_rate > 0)
            bitRate -= in_->streams[aIndex_]->codecpar->bit_rate;
    }

    std::vector<const AVCodec*> candidates;
    const AVCodec* same = avcodec_find_encoder(st->codecpar->codec_id);
    if (request_.videoLikeSource && same != nullptr &&
        !(same->capabilities & AV_CODEC_CAP_EXPERIMENTAL) &&
        avformat_query_codec(avi, same->id, FF_COMPLIANCE_NORMAL) == 1) {
        candidates.push_back(same);
    }
    const AVCodec* mpeg4 = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (mpeg4 != nullptr && mpeg4 != same) candidates.push_back(mpeg4);
    if (candidates.empty()) throw MediaError("This FFmpeg has no MPEG-4 video encoder");

    AVRational tb;
    av_reduce(&tb.num, &tb.den, fps_.den, fps_.num, 65535);
    AVRational sar = av_guess_sample_aspect_ratio(in_.get(), st, nullptr);
    if (sar.num <= 0 || sar.den <= 0) sar = AVRational{0, 1};

    std::string lastError;
    for (const AVCodec* codec : candidates) {
        CodecContextPtr enc(avcodec_alloc_context3(codec));
        if (!enc) throw MediaError("Out of memory opening the video encoder");
        enc->width = vDec_->width;
        enc->height = vDec_->height;
        enc->sample_aspect_ratio = sar;
        enc->time_base = tb;
        enc->framerate = AVRational{tb.den, tb.num};
        enc->thread_count = 0;
        enc->pix_fmt = vDec_->pix_fmt;
        if (codec->pix_fmts != nullptr) {
            bool supported = false;
            for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
                supported = supported || *p == vDec_->pix_fmt;
            if (!supported) {
                enc->pix_fmt =
                    avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, vDec_->pix_fmt, 0, nullptr);
            }
        }
        if (enc->pix_fmt == AV_PIX_FMT_NONE) enc->pix_fmt = AV_PIX_FMT_YUV420P;
        if (codec == same && bitRate > 0) {
            enc->bit_rate = std::max<std::int64_t>(bitRate, 100'000);
        } else if (bitRate > 0) {
            enc->bit_rate = std::clamp<std::int64_t>(bitRate, 300'000, 20'000'000);
        } else {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = FF_QP2LAMBDA * 3;
        }
        if (avi->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int r = avcodec_open2(enc.get(), codec, nullptr);
        if (r >= 0) {
            vEnc_ = std::move(enc);
            return;
        }
        lastError = std::string(codec->name) + ": " + AvErrorText(r);
    }
    throw MediaError("Cannot open a video encoder for the output (" + lastError + ")");
}

void CutRenderer::OpenAudioEncoder() {
    if (aIndex_ < 0) return;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (codec == nullptr) throw MediaError("This FFmpeg has no 16-bit PCM encoder");
    CodecContextPtr enc(avcodec_alloc_context3(codec));
    if (!enc) throw MediaError("Out of memory opening the audio encoder");
    enc->sample_fmt = AV_SAMPLE_FMT_S16;
    enc->sample_rate = aDec_->sample_rate;
    enc->time_base = AVRational{1, aDec_->sample_rate};
    if (aDec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&enc->ch_layout, aDec_->ch_layout.nb_channels);
    } else {
        CheckAv(av_channel_layout_copy(&enc->ch_layout, &aDec_->ch_layout),
                "Cannot set up the audio encoder");
    }
    CheckAv(avcodec_open2(enc.get(), codec, nullptr), "Cannot open the 16-bit PCM encoder");
    aEnc_ = std::move(enc);
}

void CutRenderer::OpenOutput() {
    file_ = std::make_unique<AtomicOutputFile>(request_.output, request_.writeLimit);
    AVFormatContext* raw = nullptr;
    CheckAv(avformat_alloc_output_context2(&raw, nullptr, "avi", nullptr),
            "Cannot set up the AVI writer");
    out_.reset(raw);
    out_->pb = file_->Io();
    out_->flags |= AVFMT_FLAG_CUSTOM_IO;
    // Keeps the muxer from queueing many seconds of one stream while waiting for the other.
    out_->max_interleave_delta = 2 * AV_TIME_BASE;
    if (vEnc_) {
        vOut_ = avformat_new_stream(out_.get(), nullptr);
        if (vOut_ == nullptr) throw MediaError("Out of memory adding the video stream");
        CheckAv(avcodec_parameters_from_context(vOut_->codecpar, vEnc_.get()),
                "Cannot describe the video stream");
        vOut_->time_base = vEnc_->time_base;
        vOut_->avg_frame_rate = vEnc_->framerate;
        vOut_->sample_aspect_ratio = vEnc_->sample_aspect_ratio;
    }
    if (aEnc_) {
        aOut_ = avformat_new_stream(out_.get(), nullptr);
        if (aOut_ == nullptr) throw MediaError("Out of memory adding the audio stream");
        CheckAv(avcodec_parameters_from_context(aOut_->codecpar, aEnc_.get()),
                "Cannot describe the audio stream");
        aOut_->time_base = aEnc_->time_base;
    }
    CheckWrite(avformat_write_header(out_.get(), nullptr), "Cannot write the AVI header");
}

// Times count from the first picture, as for the preview, so the cut starts on the picture the
// preview of its start showed.
void CutRenderer::FindFirstPicture() {
    AVStream* st = in_->streams[vIndex_];
    pictures_ = std::make_unique<PictureReader>(
        in_.get(), vIndex_, vDec_.get(),
        ReadGuard{[this] { CheckCancel(); },
                  [this](const std::string& reason) {
                      throw MediaError("Cannot read the pictures of the source file " +
                                       Quoted(request_.source) + ": " + reason);
                  }});
    clock_.emplace(in_.get(), st);
    origin_ = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    FramePtr first = MakeFrame();
    int64_t ts = 0;
    if (pictures_->First(first.get(), ts, true)) origin_ = ts;
    zero_ = static_cast<double>(origin_) * av_q2d(st->time_base);
}

void CutRenderer::SeekToStart() {
    if (pictures_) {
        const std::int64_t target = TickAfter(
            origin_, request_.start, in_->streams[vIndex_]->time_base, clock_->FrameTicks());
        FramePtr first = MakeFrame();
        std::int64_t ts = 0;
        pictures_->SeekTo(target, first.get(), ts);
        const std::int64_t shift = pictures_->Shift();
        // The cut reads picture and sound from there itself; the reading starts early enough
        // for the sound just before the first picture too.
        pictures_->Rewind();
        pictures_.reset();
        clock_->Restart();
        clock_->SetShift(shift);
        return;
    }
    if (request_.start <= 0.0) return;
    AVStream* st = in_->streams[aIndex_];
    // A second of slack finds a key frame before the start in files whose seek lands on any
    // frame (MPEG program streams); frames before the start are decoded and dropped.
    const double target = zero_ + std::max(0.0, request_.start - 1.0);
    const auto ts = static_cast<std::int64_t>(std::floor(target / av_q2d(st->time_base)));
    watch_.Arm(kReadTimeout);
    if (av_seek_frame(in_.get(), aIndex_, ts, AVSEEK_FLAG_BACKWARD) < 0) {
        // Without a working seek the cut still works by decoding from the beginning.
        CheckCancel();
    }
}

void CutRenderer::Pump() {
    bool eof = false;
    int againCount = 0;
    while (!(VideoDone() && AudioDone()) && !eof) {
        CheckCancel();
        watch_.Arm(kReadTimeout);
        int r = av_read_frame(in_.get(), packet_.get());
        if (r == AVERROR(EAGAIN) && ++againCount < 1000) continue;
        if (r == AVERROR_EOF) {
            eof = true;
            break;
        }
        if (r < 0) {
            CheckCancel();
            throw MediaError("Cannot read the source file " + Quoted(request_.source) + ": " +
                                 (watch_.Expired() ? kTooSlow : AvErrorText(r)),
                             r);
        }
        againCount = 0;
        if (packet_->stream_index == vIndex_ && !VideoDone()) {
            OnVideoPacket(packet_.get());
        } else if (packet_->stream_index == aIndex_ && !AudioDone()) {
            OnAudioPacket(packet_.get());
        }
        av_packet_unref(packet_.get());
    }
    CheckCancel();
    if (eof) {
        if (!VideoDone()) OnVideoPacket(nullptr);
        if (!AudioDone()) OnAudioPacket(nullptr);
    }
    FinishVideo();
    FinishAudio();
}

void CutRenderer::OnVideoPacket(const AVPacket* pkt) {
    // A damaged packet costs its frame, not the cut, as with any player.
    if (avcodec_send_packet(vDec_.get(), pkt) < 0 && pkt != nullptr) return;
    while (!VideoDone()) {
        int r = avcodec_receive_frame(vDec_.get(), decoded_.get());
        if (r < 0) break;
        OnVideoFrame(decoded_.get());
        av_frame_unref(decoded_.get());
    }
}

void CutRenderer::OnVideoFrame(AVFrame* f) {
    const AVRational tb = in_->streams[vIndex_]->time_base;
    const std::optional<std::int64_t> ts =
        clock_->Stamp(f, TickAfter(origin_, request_.start, tb, clock_->FrameTicks()));
    if (!ts) return;
    lastVideoTime_ = (static_cast<double>(*ts) - static_cast<double>(origin_)) * av_q2d(tb);
    // Output frame n shows the picture on screen at start + n / rate: a picture that starts
    // after that time settles the frames before it.
    const double step = 1.0 / av_q2d(fps_);
    if (!held_) held_ = RefFrame(f);
    while (!VideoDone() &&
           TickAfter(origin_, request_.start + static_cast<double>(framesOut_) * step, tb,
                     clock_->FrameTicks()) < *ts) {
        EmitHeld();
    }
    if (VideoDone()) return;
    held_ = RefFrame(f);
    heldConverted_.reset();
}

void CutRenderer::EmitHeld() {
    const AVFrame* src = held_.get();
    if (src->format != vEnc_->pix_fmt || src->width != vEnc_->width ||
        src->height != vEnc_->height) {
        if (!heldConverted_) {
            sws_.reset(sws_getCachedContext(sws_.release(), src->width, src->height,
                                            static_cast<AVPixelFormat>(src->format), vEnc_->width,
                                            vEnc_->height, vEnc_->pix_fmt, SWS_BICUBIC, nullptr,
                                            nullptr, nullptr));
            if (!sws_) throw MediaError("Cannot convert the picture format for the encoder");
            FramePtr conv = MakeFrame();
            conv->format = vEnc_->pix_fmt;
            conv->width = vEnc_->width;
            conv->height = vEnc_->height;
            CheckAv(av_frame_get_buffer(conv.get(), 0), "Out of memory converting a picture");
            CheckAv(sws_scale(sws_.get(), src->data, src->linesize, 0, src->height, conv->data,
                              conv->linesize),
                    "Cannot convert a picture");
            CheckAv(av_frame_copy_props(conv.get(), src), "Cannot convert a picture");
            heldConverted_ = std::move(conv);
        }
        src = heldConverted_.get();
    }
    FramePtr frame = RefFrame(src);
    frame->pts = framesOut_;
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    // The decoder leaves its own quantiser here, which a fixed-quality encoder would take.
    frame->quality = vEnc_->global_quality;
    frame->sample_aspect_ratio = vEnc_->sample_aspect_ratio;
    Encode(vEnc_.get(), vOut_, frame.get());
    ++framesOut_;
}

void CutRenderer::FinishVideo() {
    if (vIndex_ < 0) return;
    // A start at or after the end of the last picture has nothing on screen to cut.
    if (!held_ || (framesOut_ == 0 && lastVideoTime_ + 1.0 / av_q2d(fps_) <= request_.start)) {
        throw MediaError("The source file " + Quoted(request_.source) + " has no picture at " +
                         std::to_string(request_.start) + " s");
    }
    // The source ends before the stretch does: the last picture stays on screen.
    while (!VideoDone()) EmitHeld();
    Encode(vEnc_.get(), vOut_, nullptr);
}

void CutRenderer::OnAudioPacket(const AVPacket* pkt) {
    if (avcodec_send_packet(aDec_.get(), pkt) < 0 && pkt != nullptr) return;
    while (!AudioDone()) {
        int r = avcodec_receive_frame(aDec_.get(), decoded_.get());
        if (r < 0) break;
        OnAudioFrame(decoded_.get());
        av_frame_unref(decoded_.get());
    }
}

void CutRenderer::OnAudioFrame(AVFrame* f) {
    if (f->nb_samples <= 0) return;
    const int outRate = aEnc_->sample_rate;
    if (!swr_ || f->sample_rate != swrInRate_ || f->format != swrInFormat_ ||
        av_channel_layout_compare(&f->ch_layout, &swrInLayout_) != 0) {
        AVChannelLayout inLayout{};
        if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&inLayout, f->ch_layout.nb_channels);
        } else {
            CheckAv(av_channel_layout_copy(&inLayout, &f->ch_layout), "Cannot read audio layout");
        }
        SwrContext* raw = nullptr;
        int r =
            swr_alloc_set_opts2(&raw, &aEnc_->ch_layout, AV_SAMPLE_FMT_S16, outRate, &inLayout,
                                static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        SwrPtr swr(raw);
        CheckAv(r, "Cannot set up the audio conversion");
        CheckAv(swr_init(swr.get()), "Cannot set up the audio conversion");
        swr_ = std::move(swr);
        swrInRate_ = f->sample_rate;
        swrInFormat_ = f->format;
        av_channel_layout_uninit(&swrInLayout_);
        CheckAv(av_channel_layout_copy(&swrInLayout_, &f->ch_layout), "Cannot read audio layout");
    }
    const int channels = aEnc_->ch_layout.nb_channels;
    const int capacity = swr_get_out_samples(swr_.get(), f->nb_samples);
    if (capacity < 0) CheckAv(capacity, "Cannot convert the sound");
    pcm_.resize(static_cast<size_t>(capacity) * channels * 2);
    std::uint8_t* outData = pcm_.data();
    int got =
        CheckAv(swr_convert(swr_.get(), &outData, capacity,
                            const_cast<const std::uint8_t**>(f->extended_data), f->nb_samples),
                "Cannot convert the sound");

    double t;
    if (f->best_effort_timestamp != AV_NOPTS_VALUE) {
        t = static_cast<double>(f->best_effort_timestamp) *
                av_q2d(in_->streams[aIndex_]->time_base) -
            zero_;
    } else {
        t = nextAudioTime_;
    }
    nextAudioTime_ = t + static_cast<double>(f->nb_samples) / f->sample_rate;

    std::int64_t skip = 0;
    if (!audioPlaced_) {
        // Sample-accurate start: drop what lies before it, or fill a late start with silence.
        const std::int64_t offset = std::llround((t - request_.start) * outRate);
        if (offset <= -got) return;
        audioPlaced_ = true;
        if (offset > 0) WriteSilence(offset);
        if (offset < 0) skip = -offset;
    }
    WriteSamples(pcm_.data() + skip * channels * 2, got - skip);
}

void CutRenderer::WriteSamples(const std::uint8_t* data, std::int64_t count) {
    const int channels = aEnc_->ch_layout.nb_channels;
    const int chunkMax = 4096;
    while (count > 0 && !AudioDone()) {
        const int n = static_cast<int>(
            std::min<std::int64_t>({count, samplesWanted_ - samplesOut_, chunkMax}));
        FramePtr frame = MakeFrame();
        frame->format = AV_SAMPLE_FMT_S16;
        frame->nb_samples = n;
        frame->sample_rate = aEnc_->sample_rate;
        CheckAv(av_channel_layout_copy(&frame->ch_layout, &aEnc_->ch_layout),
                "Cannot set up a sound frame");
        CheckAv(av_frame_get_buffer(frame.get(), 0), "Out of memory for a sound frame");
        const size_t bytes = static_cast<size_t>(n) * channels * 2;
        if (data != nullptr) {
            std::memcpy(frame->data[0], data, bytes);
            data += bytes;
        } else {
            std::memset(frame->data[0], 0, bytes);
        }
        frame->pts = samplesOut_;
        Encode(aEnc_.get(), aOut_, frame.get());
        samplesOut_ += n;
        count -= n;
    }
}

void CutRenderer::WriteSilence(std::int64_t count) { WriteSamples(nullptr, count); }

void CutRenderer::FinishAudio() {
    if (aIndex_ < 0) return;
    // Sound that ends before the stretch does is completed with silence, so both streams
    // last the marked length.
    WriteSilence(samplesWanted_ - samplesOut_);
    Encode(aEnc_.get(), aOut_, nullptr);
}

void CutRenderer::Encode(AVCodecContext* enc, AVStream* st, const AVFrame* frame) {
    CheckAv(avcodec_send_frame(enc, frame), std::string("Cannot encode with ") + enc->codec->name);
    for (;;) {
        int r = avcodec_receive_packet(enc, outPacket_.get());
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
        CheckAv(r, std::string("Cannot encode with ") + enc->codec->name);
        outPacket_->stream_index = st->index;
        av_packet_rescale_ts(outPacket_.get(), enc->time_base, st->time_base);
        CheckWrite(av_interleaved_write_frame(out_.get(), outPacket_.get()),
                   "Cannot write the output file " + Quoted(request_.output));
    }
}

void CutRenderer::CheckWrite(int r, const std::string& what) {
    if (r >= 0) return;
    if (!file_->WriteErrorText().empty()) throw MediaError(file_->WriteErrorText(), r);
    if (out_ && out_->pb != nullptr && out_->pb->error < 0) r = out_->pb->error;
    throw MediaError(what + ": " + AvErrorText(r), r);
}

}  // namespace

SourceStreams ProbeSourceStreams(const std::string& name) {
    SourceWatch watch(nullptr);
    SourceFile file;
    InputFormatPtr in = OpenSource(name, watch, file);
    SourceStreams s;
    s.hasVideo = UsableStream(in.get(), AVMEDIA_TYPE_VIDEO) >= 0;
    s.hasAudio = UsableStream(in.get(), AVMEDIA_TYPE_AUDIO) >= 0;
    return s;
}

void RenderCut(const CutRequest& request, const std::atomic<bool>& cancel) {
    CutRenderer renderer(request, cancel);
    try {
        renderer.Run();
    } catch (const MediaError& e) {
        // An unfinished file that could not be removed is named, so the user can remove it.
        std::string note = base::LeftOverNote(renderer.DiscardOutput());
        if (note.empty()) throw;
        if (cancel.load()) throw CutCancelled(note);
        throw MediaError(e.what() + note, e.code());
    }
}

}  // namespace media
