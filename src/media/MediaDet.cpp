#include "media/MediaDet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "base/AtomicFile.h"
#include "base/BmpCodec.h"
#include "media/AvHolders.h"
#include "media/FrameProperties.h"
#include "media/FrameTiming.h"
#include "media/SourceInput.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

using Clock = std::chrono::steady_clock;

// Probing stops after this long, so a hostile or stalled file cannot hang the caller.
constexpr auto kProbeTimeout = std::chrono::seconds(5);
// A grab may have to decode a long run of frames from the previous keyframe.
constexpr auto kGrabTimeout = std::chrono::seconds(10);
// Larger pictures than this are refused before any memory is taken for them.
constexpr int kMaxBitmapSide = 8192;

// Containers a video file can reasonably be. Formats that read further files or URLs
// (playlists, concat lists) are left out on purpose.
constexpr const char* kFormatWhitelist =
    "avi,mpeg,mpegts,mpegvideo,m4v,dv,mov,mp4,m4a,3gp,3g2,mj2,matroska,webm,asf,flv,ogg,mp3,"
    "wav,aiff,au,flac,aac,ac3,h261,h263,h264,hevc,mjpeg,mjpeg_2000,cavsvideo,rm,nut,"
    "yuv4mpegpipe,ivf,smjpeg,swf,vc1,wsaud,xwma,w64,caf,amr,mxf,gxf,lxf";

// Read by FFmpeg's interrupt callback; lives at a fixed address inside the source.
struct Deadline {
    Clock::time_point at = Clock::time_point::max();
    void Start(Clock::duration d) { at = Clock::now() + d; }
    bool Expired() const { return Clock::now() > at; }
    static int Callback(void* opaque) {
        return static_cast<const Deadline*>(opaque)->Expired() ? 1 : 0;
    }
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string OpenFailureReason(int code) {
    if (code == AVERROR(ENOENT)) return "the file does not exist";
    if (code == AVERROR(EACCES) || code == AVERROR(EPERM))
        return "permission denied, the file cannot be read";
    if (code == AVERROR(EISDIR)) return "it is a folder, not a file";
    if (code == AVERROR_EXIT)
        return "reading the file took too long; it may be damaged or on a slow device";
    if (code == AVERROR_INVALIDDATA || code == AVERROR(EINVAL) || code == AVERROR_EOF ||
        code == AVERROR_DEMUXER_NOT_FOUND)
        return "it is not a media file, or its format is not recognised";
    return AvErrorText(code);
}

[[noreturn]] void ThrowPictureFailure(const std::string& path, const std::string& reason) {
    throw MediaError("Cannot take a picture from " + Quoted(path) + ": " + reason);
}

[[noreturn]] void ThrowOpenFailure(const std::string& path, const std::string& reason,
                                   int code = 0) {
    throw MediaError("Cannot open " + Quoted(path) + ": " + reason, code);
}

double Seconds(int64_t ts, AVRational tb) {
    if (ts == AV_NOPTS_VALUE || tb.num <= 0 || tb.den <= 0) return 0.0;
    double s = static_cast<double>(ts) * av_q2d(tb);
    return std::isfinite(s) ? s : 0.0;
}

bool ValidRate(AVRational r) { return r.num > 0 && r.den > 0; }

// Timestamps come from the file, so arithmetic on them saturates instead of overflowing.
int64_t SatAdd(int64_t a, int64_t b) {
    int64_t r = 0;
    if (!__builtin_add_overflow(a, b, &r)) return r;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

struct MediaDet::StreamFacts {
    int avIndex = -1;
    Guid type;
    double length = 0.0;
    double frameRate = 0.0;
    // Width over height of a video stream's pictures as shown, sample aspect included; 0 when
    // the stream does not say.
    double displayAspect = 0.0;
    // Timestamp of the first picture, which is 0 s; found by the first grab.
    int64_t origin = AV_NOPTS_VALUE;
    KeyPictures keys = KeyPictures::Unknown;
};

struct MediaDet::Source {
    std::string path;
    // Declared before the demuxer, whose interrupt callback and reads use them, so they
    // outlive it.
    Deadline deadline;
    std::unique_ptr<SourceInput> input;
    std::unique_ptr<SourceInput::Reader> reader;
    InputFormatPtr fmt;
    // Nothing was read from the demuxer since it was opened: its first packets come next.
    bool fresh = true;
    std::vector<StreamFacts> streams;
};

namespace {

// Opens and probes the input, reading no more than the deadline allows. `reader` gets the
// I/O context the demuxer reads through, which must outlive it.
InputFormatPtr OpenDemuxer(const SourceInput& input, std::unique_ptr<SourceInput::Reader>& reader,
                           const std::string& path, Deadline& deadline) {
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) throw MediaError("Out of memory opening " + Quoted(path));
    raw->interrupt_callback.callback = &Deadline::Callback;
    raw->interrupt_callback.opaque = &deadline;
    try {
        reader = input.Attach(raw);
    } catch (...) {
        avformat_free_context(raw);
        throw;
    }

    AvDictionary opts;
    opts.Set("probesize", "5000000");
    opts.Set("analyzeduration", "5000000");
    opts.Set("protocol_whitelist", "file");
    opts.Set("format_whitelist", kFormatWhitelist);
    // The name only helps to guess the format; the bytes come from the input.
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, opts.Address());
    if (rc < 0) ThrowOpenFailure(path, OpenFailureReason(rc), rc);  // raw is freed by FFmpeg
    InputFormatPtr fmt(raw);

    rc = avformat_find_stream_info(fmt.get(), nullptr);
    if (rc == AVERROR_EXIT) ThrowOpenFailure(path, OpenFailureReason(rc), rc);
    if (rc < 0) ThrowOpenFailure(path, "the file is damaged (" + AvErrorText(rc) + ")", rc);

    return fmt;
}

// Length of one stream: its own duration, else what the container's duration leaves after
// the stream's later start, else 0.
double StreamLength(const AVFormatContext* fmt, const AVStream* st) {
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
        double d = Seconds(st->duration, st->time_base);
        if (d > 0.0) return d;
    }
    if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0) {
        double d = static_cast<double>(fmt->duration) / AV_TIME_BASE;
        if (st->start_time != AV_NOPTS_VALUE && fmt->start_time != AV_NOPTS_VALUE) {
            double offset = Seconds(st->start_time, st->time_base) -
                            static_cast<double>(fmt->start_time) / AV_TIME_BASE;
            if (offset > 0.0 && offset < d) d -= offset;
        }
        if (std::isfinite(d)) return d;
    }
    return 0.0;
}

double FrameRate(const AVStream* st) {
    AVRational r = ValidRate(st->avg_frame_rate) ? st->avg_frame_rate : st->r_frame_rate;
    if (!ValidRate(r)) return 0.0;
    double fps = av_q2d(r);
    return std::isfinite(fps) ? fps : 0.0;
}

// A stream's display aspect: its picture size times the sample aspect the stream or its codec
// gives (square samples when neither does); 0 without a picture size.
double DisplayAspect(const AVFormatContext* fmt, const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    if (par->width <= 0 || par->height <= 0) return 0.0;
    AVRational sar = av_guess_sample_aspect_ratio(const_cast<AVFormatContext*>(fmt),
                                                  const_cast<AVStream*>(st), nullptr);
    if (sar.num <= 0 || sar.den <= 0) sar = AVRational{1, 1};
    const double aspect = double(par->width) * av_q2d(sar) / double(par->height);
    return std::isfinite(aspect) && aspect > 0.0 ? aspect : 0.0;
}

}  // namespace

// A length FFmpeg guessed from the bitrate (raw MPEG video: a few milliseconds for seconds of
// pictures), or none at all, is replaced by the span of the stream's timestamps, read to the
// end of the file within what is left of the probe time. Raw streams carry no timestamps of
// their own but count their pictures, so reading from the end alone would not do. When the
// time runs out the guess stays.
void MediaDet::MeasureTrueLengths(Source& src) {
    AVFormatContext* fmt = src.fmt.get();
    bool needed = fmt->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    for (const auto& facts : src.streams) needed = needed || !(facts.length > 0.0);
    if (!needed) return;

    const size_t n = fmt->nb_streams;
    std::vector<int64_t> first(n, AV_NOPTS_VALUE), end(n, AV_NOPTS_VALUE);
    PacketPtr pkt = MakePacket();
    src.fresh = false;
    int rc = 0;
    for (int again = 0;;) {
        rc = av_read_frame(fmt, pkt.get());
        if (rc == AVERROR(EAGAIN) && ++again < 1000) continue;
        if (rc < 0) break;
        const AVStream* st = fmt->streams[pkt->stream_index];
        const int64_t ts = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        if (ts != AV_NOPTS_VALUE) {
            int64_t duration = pkt->duration;
            if (duration <= 0 && ValidRate(st->avg_frame_rate) && st->time_base.num > 0)
                duration = av_rescale_q(1, av_inv_q(st->avg_frame_rate), st->time_base);
            const auto i = static_cast<size_t>(pkt->stream_index);
            first[i] = first[i] == AV_NOPTS_VALUE ? ts : std::min(first[i], ts);
            end[i] = std::max(end[i] == AV_NOPTS_VALUE ? ts : end[i],
                              SatAdd(ts, std::max<int64_t>(0, duration)));
        }
        av_packet_unref(pkt.get());
    }
    // The end of the file, or a read error taken as one; the deadline keeps the guess.
    if (rc == AVERROR_EXIT || src.deadline.Expired()) return;
    for (auto& facts : src.streams) {
        const auto i = static_cast<size_t>(facts.avIndex);
        const AVStream* st = fmt->streams[i];
        if (end[i] == AV_NOPTS_VALUE) continue;
        const int64_t from = st->start_time != AV_NOPTS_VALUE ? st->start_time : first[i];
        const double length = Seconds(SatAdd(end[i], -from), st->time_base);
        if (length > 0.0) facts.length = length;
    }
}

MediaDet::MediaDet() = default;
MediaDet::~MediaDet() = default;

void MediaDet::put_Filename(const std::string& path) {
    std::string reason;
    std::unique_ptr<SourceInput> input = SourceInput::OpenFile(path, reason);
    if (!input) ThrowOpenFailure(path, reason);
    Open(std::move(input), path);
}

void MediaDet::OpenBytes(const std::uint8_t* data, std::size_t size, const std::string& name) {
    Open(SourceInput::FromMemory(data, size), name);
}

void MediaDet::Open(std::unique_ptr<SourceInput> input, const std::string& path) {
    auto src = std::make_unique<Source>();
    src->path = path;
    src->input = std::move(input);
    src->deadline.Start(kProbeTimeout);

    src->fmt = OpenDemuxer(*src->input, src->reader, path, src->deadline);

    const AVFormatContext* fmt = src->fmt.get();
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_id == AV_CODEC_ID_NONE) continue;
        StreamFacts facts;
        facts.avIndex = static_cast<int>(i);
        facts.length = StreamLength(fmt, st);
        if (par->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            facts.type = MEDIATYPE_Video;
            facts.frameRate = FrameRate(st);
            facts.displayAspect = DisplayAspect(fmt, st);
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            facts.type = MEDIATYPE_Audio;
        } else {
            continue;
        }
        src->streams.push_back(facts);
    }
    if (src->streams.empty()) ThrowOpenFailure(path, "the file holds no video or audio stream");
    MeasureTrueLengths(*src);

    source_ = std::move(src);
    current_ = 0;
}

const std::string& MediaDet::get_Filename() const {
    static const std::string none;
    return source_ ? source_->path : none;
}

int MediaDet::get_OutputStreams() const {
    return source_ ? static_cast<int>(source_->streams.size()) : 0;
}

void MediaDet::put_CurrentStream(int index) {
    if (!source_) throw MediaError("Cannot select a stream: no file is open");
    if (index < 0 || index >= get_OutputStreams())
        throw MediaError("Stream " + std::to_string(index) + " does not exist; the file has " +
                         std::to_string(get_OutputStreams()) + " stream(s)");
    current_ = index;
}

int MediaDet::get_CurrentStream() const { return current_; }

const MediaDet::StreamFacts& MediaDet::Current() const {
    if (!source_) throw MediaError("No file is open");
    return source_->streams.at(static_cast<size_t>(current_));
}

Guid MediaDet::get_StreamType() const { return Current().type; }
double MediaDet::get_StreamLength() const { return Current().length; }
double MediaDet::get_FrameRate() const { return Current().frameRate; }
double MediaDet::get_DisplayAspect() const { return Current().displayAspect; }

namespace {

constexpr const char* kNothingDecoded =
    "no picture could be decoded; its video data may be damaged";

// Decodes the picture on screen at a time, bounded by the source's deadline.
class FrameFinder {
public:
    FrameFinder(AVFormatContext* fmt, int avIndex, Deadline& deadline, const std::string& path,
                int threads)
        : st_(fmt->streams[avIndex]), deadline_(deadline), path_(path) {
        const AVCodec* codec = avcodec_find_decoder(st_->codecpar->codec_id);
        if (codec == nullptr)
            Fail("no decoder is available for its video format (" +
                 std::string(avcodec_get_name(st_->codecpar->codec_id)) + ")");
        dec_.reset(avcodec_alloc_context3(codec));
        if (!dec_) throw MediaError("Out of memory creating a video decoder");
        CheckAv(avcodec_parameters_to_context(dec_.get(), st_->codecpar),
                "Preparing the video decoder");
        dec_->pkt_timebase = st_->time_base;
        dec_->thread_count = threads;
        int rc = avcodec_open2(dec_.get(), codec, nullptr);
        if (rc < 0) Fail("its video decoder cannot start (" + AvErrorText(rc) + ")");
        reader_.emplace(fmt, avIndex, dec_.get(),
                        ReadGuard{[this] { CheckDeadline(); },
                                  [this](const std::string& reason) { Fail(reason); }});
    }

    // `length` is the stream's length in seconds; `origin` is the first picture's timestamp
    // and `keys` what seeks can rely on, both found and stored here when still unknown;
    // `fresh` says nothing was read from the file yet, so its first picture is next. Null
    // when no picture decodes.
    FramePtr Find(double seconds, double length, int64_t& origin, KeyPictures& keys, bool fresh) {
        AVRational tb = st_->time_base;
        if (tb.num <= 0 || tb.den <= 0) Fail("its video stream has no valid time base");
        FramePtr pic = MakeFrame();
        int64_t ts = 0;
        reader_->SetKeys(keys);
        if (origin == AV_NOPTS_VALUE) {
            if (!reader_->First(pic.get(), ts, fresh)) return nullptr;
            origin = ts;
            keys = reader_->Keys();
            if (seconds <= 0.0) return pic;
            av_frame_unref(pic.get());
        }
        // Beyond the end is as good as the end; the clamp keeps the arithmetic in range.
        const double limit = std::max({0.0, length, Seconds(st_->duration, tb)}) + 3600.0;
        const int64_t target =
            TickAfter(origin, std::min(seconds, limit), tb, reader_->FrameTicks());
        if (!reader_->SeekTo(target, pic.get(), ts)) return nullptr;
        if (ts > target) return pic;
        // Decoding goes on to the first picture after the target: damaged streams may stamp
        // two pictures alike, and the later one is then on screen.
        FramePtr next = MakeFrame();
        while (reader_->Next(next.get(), ts) && ts <= target) {
            av_frame_unref(pic.get());
            av_frame_move_ref(pic.get(), next.get());
        }
        return pic;
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const { ThrowPictureFailure(path_, reason); }

    void CheckDeadline() const {
        if (deadline_.Expired()) Fail("decoding took too long; the file may be damaged");
    }

    AVStream* st_;
    Deadline& deadline_;
    const std::string& path_;
    CodecContextPtr dec_;
    std::optional<PictureReader> reader_;
};

// The picture scaled to width x height as a 24-bit BMP file image.
std::vector<uint8_t> EncodeBmp(AVFrame* src, int width, int height, const std::string& path) {
    SanitizeColorProperties(src);
    const auto srcFormat = static_cast<AVPixelFormat>(src->format);
    if (src->width <= 0 || src->height <= 0 || srcFormat == AV_PIX_FMT_NONE)
        ThrowPictureFailure(path, "the decoded picture has no size");

    // BGR0 in memory is the bitmap's 0x00RRGGBB pixel on this little-endian machine.
    SwsPtr sws(sws_getContext(src->width, src->height, srcFormat, width, height, AV_PIX_FMT_BGR0,
                              SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!sws) {
        const char* name = av_get_pix_fmt_name(srcFormat);
        ThrowPictureFailure(path, std::string("its picture format cannot be converted (") +
                                      (name != nullptr ? name : "unknown") + ")");
    }
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(srcFormat);
    bool yuv = desc != nullptr && !(desc->flags & AV_PIX_FMT_FLAG_RGB) && desc->nb_components >= 3;
    if (yuv && src->colorspace != AVCOL_SPC_UNSPECIFIED && src->colorspace != AVCOL_SPC_RGB) {
        // The frame's own matrix; when swscale cannot apply it, its default BT.601 stays.
        int* inv = nullptr;
        int* table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(sws.get(), &inv, &srcRange, &table, &dstRange, &brightness,
                                     &contrast, &saturation) >= 0) {
            const int* coeffs = sws_getCoefficients(src->colorspace);
            if (src->color_range == AVCOL_RANGE_JPEG) srcRange = 1;
            (void)sws_setColorspaceDetails(sws.get(), coeffs, srcRange, table, dstRange, brightness,
                                           contrast, saturation);
        }
    }

    base::BmpImage image;
    image.width = width;
    image.height = height;
    image.bitCount = 24;
    image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(image.pixels.data()), nullptr, nullptr, nullptr};
    int dstStride[4] = {width * 4, 0, 0, 0};
    int rows = sws_scale(sws.get(), src->data, src->linesize, 0, src->height, dst, dstStride);
    if (rows != height) ThrowPictureFailure(path, "scaling the picture failed");
    try {
        return base::EncodeBmp(image);
    } catch (const base::BmpError& e) {
        ThrowPictureFailure(path, e.what());
    }
}

}  // namespace

std::vector<std::uint8_t> MediaDet::GetBitmapBits(double seconds, int width, int height) {
    if (!source_) throw MediaError("Cannot take a picture: no file is open");
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        throw MediaError("Cannot take a picture " + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels in size");
    if (std::isnan(seconds)) throw MediaError("Cannot take a picture at an undefined time");
    seconds = std::max(seconds, 0.0);

    StreamFacts* video = nullptr;
    StreamFacts& current = source_->streams.at(static_cast<size_t>(current_));
    if (current.type == MEDIATYPE_Video) video = &current;
    for (size_t i = 0; video == nullptr && i < source_->streams.size(); ++i)
        if (source_->streams[i].type == MEDIATYPE_Video) video = &source_->streams[i];
    if (video == nullptr)
        throw MediaError("Cannot take a picture from " + Quoted(source_->path) +
                         ": the file has no video stream");

    source_->deadline.Start(kGrabTimeout);
    auto grab = [&] {
        FrameFinder finder(source_->fmt.get(), video->avIndex, source_->deadline, source_->path,
                           decoderThreads_);
        const bool fresh = source_->fresh;
        source_->fresh = false;
        return finder.Find(seconds, video->length, video->origin, video->keys, fresh);
    };
    const bool readBefore = !source_->fresh;
    FramePtr frame = grab();
    if (!frame && readBefore) {
        // An earlier read of a damaged file can leave the demuxer unable to read again after a
        // seek (a truncated AVI does); opened afresh, it reads as it did the first time.
        std::unique_ptr<SourceInput::Reader> reader;
        InputFormatPtr again =
            OpenDemuxer(*source_->input, reader, source_->path, source_->deadline);
        if (again->nb_streams != source_->fmt->nb_streams)
            ThrowPictureFailure(source_->path, kNothingDecoded);
        // The old demuxer closes before the reader it used goes.
        source_->fmt = std::move(again);
        source_->reader = std::move(reader);
        source_->fresh = true;
        frame = grab();
    }
    if (!frame) ThrowPictureFailure(source_->path, kNothingDecoded);
    return EncodeBmp(frame.get(), width, height, source_->path);
}

void MediaDet::WriteBitmapBits(double seconds, int width, int height, const std::string& file) {
    std::vector<std::uint8_t> bmp = GetBitmapBits(seconds, width, height);
    if (file.empty()) throw MediaError("Cannot write the picture: no file name was given");
    try {
        base::WriteFileAtomic(file, bmp.data(), bmp.size());
    } catch (const base::FileError& e) {
        throw MediaError("Cannot write the picture " + Quoted(file) + ": " + e.reason() +
                         e.LeftOverNote());
    }
}

}  // namespace media
