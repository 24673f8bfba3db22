#pragma once
// Owning holders for FFmpeg objects and the one error type of the media layer.
// Borrowed pointers (AVStream*, const AVCodec*) never go into these holders.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <stdexcept>
#include <string>

namespace media {

// Every failure of the media layer reaches callers as this, with readable text.
class MediaError : public std::runtime_error {
public:
    explicit MediaError(const std::string& text, int code = 0)
        : std::runtime_error(text), code_(code) {}
    int code() const noexcept { return code_; }

private:
    int code_;
};

// Text of an FFmpeg error code, e.g. "Invalid data found when processing input".
std::string AvErrorText(int code);

// Throws MediaError "<what>: <FFmpeg's text>" when code is negative; returns code otherwise.
int CheckAv(int code, const std::string& what);

struct InputFormatDeleter {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
// An output context owns its I/O context unless the format has none of its own.
struct OutputFormatDeleter {
    void operator()(AVFormatContext* p) const {
        if (p == nullptr) return;
        if (p->oformat != nullptr && !(p->oformat->flags & AVFMT_NOFILE)) avio_closep(&p->pb);
        avformat_free_context(p);
    }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsDeleter {
    void operator()(SwsContext* p) const { sws_freeContext(p); }
};
struct SwrDeleter {
    void operator()(SwrContext* p) const { swr_free(&p); }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using SwsPtr = std::unique_ptr<SwsContext, SwsDeleter>;
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;

// Allocators that throw MediaError instead of returning null.
FramePtr MakeFrame();
PacketPtr MakePacket();

}  // namespace media
