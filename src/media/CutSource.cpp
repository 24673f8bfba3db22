#include "media/CutSource.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>

namespace media {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

int SourceWatch::Callback(void* opaque) {
    const auto* self = static_cast<const SourceWatch*>(opaque);
    return (self->cancel_ != nullptr && self->cancel_->load()) || self->Expired() ? 1 : 0;
}

namespace {
std::atomic<std::int64_t> fileOpens{0};
std::atomic<std::int64_t> demuxerOpens{0};
}  // namespace

SourceOpens SourceOpensForTesting() { return {fileOpens.load(), demuxerOpens.load()}; }

std::unique_ptr<SourceInput> OpenSourceFile(const std::string& name) {
    ++fileOpens;
    std::string reason;
    std::unique_ptr<SourceInput> file = SourceInput::OpenFile(name, reason);
    if (!file) throw MediaError("Cannot open the source file " + Quoted(name) + ": " + reason);
    return file;
}

CutInput OpenCutInput(const SourceInput& file, const std::string& name, SourceWatch& watch) {
    ++demuxerOpens;
    CutInput in;
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) throw MediaError("Out of memory opening the source file");
    raw->interrupt_callback.callback = &SourceWatch::Callback;
    raw->interrupt_callback.opaque = &watch;
    try {
        in.reader = file.Attach(raw);
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
    in.format.reset(raw);
    r = avformat_find_stream_info(raw, nullptr);
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

CodecContextPtr OpenDecoder(const AVStream* st, int threads) {
    return OpenDecoder(st->codecpar, st->time_base, false, threads);
}

CodecContextPtr OpenDecoder(const AVCodecParameters* par, AVRational timeBase, bool forCopy,
                            int threads) {
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (codec == nullptr) throw MediaError("No decoder for the source's stream");
    CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) throw MediaError("Out of memory opening a decoder");
    CheckAv(avcodec_parameters_to_context(ctx.get(), par), "Cannot set up the decoder");
    ctx->pkt_timebase = timeBase;
    // Each decoding thread holds pictures of its own: more than four cost memory (a 1080p
    // picture is 3 MB) without making a cut faster.
    ctx->thread_count =
        threads > 0 ? threads
                    : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    if (forCopy) {
        EnableFrameTags(ctx.get());
        ctx->export_side_data |= AV_CODEC_EXPORT_DATA_VIDEO_ENC_PARAMS;
    }
    CheckAv(avcodec_open2(ctx.get(), codec, nullptr),
            std::string("Cannot open the ") + codec->name + " decoder");
    return ctx;
}

double SourceZero(const AVFormatContext* in, const AVStream* ref) {
    if (ref->start_time != AV_NOPTS_VALUE)
        return static_cast<double>(ref->start_time) * av_q2d(ref->time_base);
    if (in->start_time != AV_NOPTS_VALUE) return static_cast<double>(in->start_time) / AV_TIME_BASE;
    return 0.0;
}

AVRational CutPictureRate(AVFormatContext* in, AVStream* st) {
    AVRational guess = av_guess_frame_rate(in, st, nullptr);
    if (guess.num > 0 && guess.den > 0 && av_q2d(guess) <= 240.0) return guess;
    return AVRational{25, 1};
}

void SeekBeforeStart(AVFormatContext* in, int index, double zero, double start) {
    if (start <= 0.0) return;
    const AVStream* st = in->streams[index];
    const double target = zero + std::max(0.0, start - 1.0);
    const auto ts = static_cast<std::int64_t>(std::floor(target / av_q2d(st->time_base)));
    av_seek_frame(in, index, ts, AVSEEK_FLAG_BACKWARD);
}

FramePtr RefFrame(const AVFrame* src) {
    FramePtr f = MakeFrame();
    CheckAv(av_frame_ref(f.get(), src), "Cannot keep a decoded frame");
    return f;
}

}  // namespace media
