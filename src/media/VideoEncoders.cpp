#include "media/VideoEncoders.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

void SetOption(AVCodecContext* enc, const char* key, const std::string& value) {
    int r = av_opt_set(enc->priv_data, key, value.c_str(), 0);
    if (r < 0) CheckAv(r, std::string("Cannot set the encoder option ") + key);
}

// Pixels per second each encoder sustains on two cores of the reference machine (FFmpeg 5.1,
// 1920 x 1080 and 640 x 480 test pictures), with a margin of about a third. Encoders that are
// not listed are not known to keep up: Cinepak manages about 0.2 million pixels per second,
// ZMBV and JPEG 2000 a few million.
struct KnownEncoder {
    AVCodecID codec;
    double pixelsPerSecond;
};
constexpr KnownEncoder kKnownEncoders[] = {
    {AV_CODEC_ID_MPEG4, 60e6},
    {AV_CODEC_ID_MSMPEG4V2, 60e6},
    {AV_CODEC_ID_MSMPEG4V3, 60e6},
    {AV_CODEC_ID_WMV1, 50e6},
    {AV_CODEC_ID_WMV2, 50e6},
    {AV_CODEC_ID_H263P, 50e6},
    {AV_CODEC_ID_FLV1, 60e6},
    {AV_CODEC_ID_MPEG1VIDEO, 60e6},
    {AV_CODEC_ID_MPEG2VIDEO, 60e6},
    {AV_CODEC_ID_MJPEG, 40e6},
    {AV_CODEC_ID_DVVIDEO, 40e6},
    {AV_CODEC_ID_HUFFYUV, 60e6},
    {AV_CODEC_ID_FFVHUFF, 60e6},
    {AV_CODEC_ID_UTVIDEO, 60e6},
    {AV_CODEC_ID_RAWVIDEO, 100e6},
    {AV_CODEC_ID_FFV1, 15e6},
    {AV_CODEC_ID_MSVIDEO1, 4e6},
    // With the presets and threads that SetX264Options picks by size.
    {AV_CODEC_ID_H264, 1920.0 * 1080 * 30},
};

double PixelRate(int width, int height, AVRational rate) {
    return static_cast<double>(width) * height * av_q2d(rate);
}

// x264 settings by picture size: the slower presets only where they still keep up, and above
// standard definition threads that share one picture and a short look-ahead, which keep a
// 1080p encoder near 120 MB instead of 400 MB and are no slower on two cores. `extra` adds
// the caller's own parameters; `fixedPreset`, when given, replaces the one chosen by size.
void SetX264Options(AVCodecContext* enc, double pixelRate, const std::string& extra,
                    const char* fixedPreset = nullptr) {
    const char* preset = "medium";
    std::string params;
    if (pixelRate > 640.0 * 480 * 30) {
        preset = pixelRate <= 1280.0 * 720 * 30 ? "faster" : "veryfast";
        params = "sliced-threads=1:rc-lookahead=3:sync-lookahead=0";
    }
    if (fixedPreset != nullptr) preset = fixedPreset;
    if (!extra.empty()) params += (params.empty() ? "" : ":") + extra;
    SetOption(enc, "preset", preset);
    if (!params.empty()) SetOption(enc, "x264-params", params);
    enc->thread_count = 2;
}

AVPixelFormat NearestFormat(const AVCodec* codec, AVPixelFormat wanted) {
    if (codec->pix_fmts == nullptr) return wanted;
    for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == wanted) return wanted;
    return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, wanted, 0, nullptr);
}

bool Supports(const AVCodec* codec, AVPixelFormat format) {
    if (codec->pix_fmts == nullptr) return true;
    for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == format) return true;
    return false;
}

// Edges are encoded finer than the source's neighbouring pictures, since they are a second
// generation: at the source's own quantiser they come out at about 38 dB against the source's
// pictures, at half of it (6 QP less for H.264) at 42 dB and more.
constexpr double kEdgeQuantiserScale = 0.5;
constexpr double kEdgeQpOffset = -6;
constexpr const char* kEdgeX264Preset = "superfast";

const char* X264Profile(int profile) {
    switch (profile & ~FF_PROFILE_H264_CONSTRAINED) {
        case FF_PROFILE_H264_BASELINE:
            return "baseline";
        case FF_PROFILE_H264_MAIN:
            return "main";
        case FF_PROFILE_H264_HIGH:
            return "high";
        default:
            return nullptr;
    }
}

}  // namespace

bool EncoderKeepsUp(AVCodecID codec, int width, int height, AVRational rate) {
    for (const KnownEncoder& e : kKnownEncoders)
        if (e.codec == codec) return PixelRate(width, height, rate) <= e.pixelsPerSecond;
    return false;
}

CodecContextPtr OpenCutEncoder(const AVStream* source, const AVCodecContext* dec, AVRational rate,
                               AVRational sar, std::int64_t bitRate, bool likeSource) {
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (avi == nullptr) throw MediaError("This FFmpeg has no AVI writer");

    std::vector<const AVCodec*> candidates;
    const AVCodec* same = avcodec_find_encoder(source->codecpar->codec_id);
    if (likeSource && same != nullptr && !(same->capabilities & AV_CODEC_CAP_EXPERIMENTAL) &&
        avformat_query_codec(avi, same->id, FF_COMPLIANCE_NORMAL) == 1 &&
        EncoderKeepsUp(same->id, dec->width, dec->height, rate)) {
        candidates.push_back(same);
    }
    const AVCodec* mpeg4 = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (mpeg4 != nullptr && mpeg4 != same) candidates.push_back(mpeg4);
    if (candidates.empty()) throw MediaError("This FFmpeg has no MPEG-4 video encoder");

    AVRational tb;
    av_reduce(&tb.num, &tb.den, rate.den, rate.num, 65535);

    std::string lastError;
    for (const AVCodec* codec : candidates) {
        CodecContextPtr enc(avcodec_alloc_context3(codec));
        if (!enc) throw MediaError("Out of memory opening the video encoder");
        enc->width = dec->width;
        enc->height = dec->height;
        enc->sample_aspect_ratio = sar;
        enc->time_base = tb;
        enc->framerate = AVRational{tb.den, tb.num};
        enc->thread_count = 0;
        enc->pix_fmt = NearestFormat(codec, dec->pix_fmt);
        if (enc->pix_fmt == AV_PIX_FMT_NONE) enc->pix_fmt = AV_PIX_FMT_YUV420P;
        if (codec == same && bitRate > 0) {
            enc->bit_rate = std::max<std::int64_t>(bitRate, 100'000);
        } else if (bitRate > 0) {
            enc->bit_rate = std::clamp<std::int64_t>(bitRate, 300'000, 20'000'000);
        } else {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = FF_QP2LAMBDA * 3;
        }
        if (codec->id == AV_CODEC_ID_H264)
            SetX264Options(enc.get(), PixelRate(dec->width, dec->height, rate), {});
        if (avi->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int r = avcodec_open2(enc.get(), codec, nullptr);
        if (r >= 0) return enc;
        lastError = std::string(codec->name) + ": " + AvErrorText(r);
    }
    throw MediaError("Cannot open a video encoder for the output (" + lastError + ")");
}

bool CanEncodeEdges(AVCodecID codec) {
    switch (codec) {
        case AV_CODEC_ID_MPEG4:
        case AV_CODEC_ID_MPEG1VIDEO:
        case AV_CODEC_ID_MPEG2VIDEO:
        case AV_CODEC_ID_H264:
            return avcodec_find_encoder(codec) != nullptr;
        default:
            return false;
    }
}

int EdgeQuality(const EdgeFormat& format, double q) {
    if (format.codec == AV_CODEC_ID_H264) return 0;
    const double scale = std::clamp(q > 0 ? q * kEdgeQuantiserScale : 2.0, 1.0, 31.0);
    return static_cast<int>(std::lround(scale * FF_QP2LAMBDA));
}

CodecContextPtr OpenEdgeEncoder(const EdgeFormat& format) {
    if (!CanEncodeEdges(format.codec)) throw MediaError("FFmpeg cannot encode this codec");
    const AVCodec* codec = avcodec_find_encoder(format.codec);
    if (!Supports(codec, format.pixelFormat)) {
        throw MediaError(std::string("The ") + codec->name + " encoder cannot write " +
                         av_get_pix_fmt_name(format.pixelFormat) + " pictures");
    }
    CodecContextPtr enc(avcodec_alloc_context3(codec));
    if (!enc) throw MediaError("Out of memory opening the video encoder");
    enc->width = format.width;
    enc->height = format.height;
    enc->pix_fmt = format.pixelFormat;
    enc->sample_aspect_ratio = format.sar;
    av_reduce(&enc->time_base.num, &enc->time_base.den, format.rate.den, format.rate.num, 65535);
    enc->framerate = AVRational{enc->time_base.den, enc->time_base.num};
    enc->color_range = format.range;
    enc->colorspace = format.space;
    enc->color_primaries = format.primaries;
    enc->color_trc = format.transfer;
    enc->profile = format.profile;
    enc->level = format.level;

    if (format.codec == AV_CODEC_ID_H264) {
        const char* profile = X264Profile(format.profile);
        if (profile == nullptr) throw MediaError("x264 cannot write this H.264 profile");
        if (format.reorderDepth > 2 ||
            (format.reorderDepth > 0 && std::string(profile) == "baseline"))
            throw MediaError("x264 cannot reorder pictures as the source does");
        enc->profile = FF_PROFILE_UNKNOWN;
        enc->level = FF_LEVEL_UNKNOWN;
        SetOption(enc.get(), "profile", profile);
        if (format.level > 0) SetOption(enc.get(), "level", std::to_string(format.level / 10.0));
        // QP 0 would be lossless, which only the High 4:4:4 profile allows; below 10 the
        // pictures already come within 50 dB of the source's.
        const double qp = format.quantiser > 0 ? format.quantiser + kEdgeQpOffset : 18;
        SetOption(enc.get(), "qp", std::to_string(std::clamp<long>(std::lround(qp), 10, 51)));
        std::string params = "keyint=infinite:scenecut=0:open-gop=0:repeat-headers=1";
        if (format.reorderDepth == 0) params += ":bframes=0";
        if (format.reorderDepth == 1) params += ":bframes=2:b-pyramid=none";
        if (format.reorderDepth == 2) params += ":bframes=3:b-pyramid=normal";
        // The edges are a few pictures at a fixed, fine quantiser, where the slower presets
        // only save bits: "superfast" keeps the source's tools (CABAC, 8x8 transforms,
        // deblocking) and encodes a 40-picture edge in about 60 % of the time "medium" takes.
        SetX264Options(enc.get(), PixelRate(format.width, format.height, format.rate), params,
                       kEdgeX264Preset);
    } else {
        // One key picture at the start of each edge, B-pictures when the source has them so
        // that a decoder holds pictures back as long in the edges as between them.
        enc->gop_size = 600;
        enc->max_b_frames = format.reorderDepth > 0 ? 2 : 0;
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = EdgeQuality(format, format.quantiser);
        if (format.interlaced) {
            enc->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
            enc->field_order = format.topFieldFirst ? AV_FIELD_TT : AV_FIELD_BB;
        }
        enc->thread_count = 0;
    }
    if (format.pictures > 0 && format.pictures <= kFewEdgePictures) enc->thread_count = 1;
    int r = avcodec_open2(enc.get(), codec, nullptr);
    if (r < 0) {
        throw MediaError(std::string("Cannot open the ") + codec->name +
                         " encoder for the edges: " + AvErrorText(r));
    }
    return enc;
}

void EncodePicture(AVCodecContext* enc, const AVFrame* frame,
                   const std::function<void(AVPacket*)>& sink) {
    CheckAv(avcodec_send_frame(enc, frame), std::string("Cannot encode with ") + enc->codec->name);
    PacketPtr pkt = MakePacket();
    for (;;) {
        int r = avcodec_receive_packet(enc, pkt.get());
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
        CheckAv(r, std::string("Cannot encode with ") + enc->codec->name);
        sink(pkt.get());
        av_packet_unref(pkt.get());
    }
}

}  // namespace media
