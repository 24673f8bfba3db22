#pragma once
// Owning holders for FFmpeg objects and the one error type of the media layer.
// Borrowed pointers (AVStream*, const AVCodec*) never go into these holders.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

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

// One deleter for every FFmpeg handle: Free is the library's own free function, which takes
// either the pointer or the address of the pointer.
template <typename T, auto Free>
struct AvDeleter {
    void operator()(T* p) const {
        if constexpr (std::is_invocable_v<decltype(Free), T**>)
            Free(&p);
        else
            Free(p);
    }
};

// An output context is not among these: who closes its I/O context depends on who opened it.
using InputFormatPtr =
    std::unique_ptr<AVFormatContext, AvDeleter<AVFormatContext, avformat_close_input>>;
using CodecContextPtr =
    std::unique_ptr<AVCodecContext, AvDeleter<AVCodecContext, avcodec_free_context>>;
using FramePtr = std::unique_ptr<AVFrame, AvDeleter<AVFrame, av_frame_free>>;
using PacketPtr = std::unique_ptr<AVPacket, AvDeleter<AVPacket, av_packet_free>>;
using SwsPtr = std::unique_ptr<SwsContext, AvDeleter<SwsContext, sws_freeContext>>;
using SwrPtr = std::unique_ptr<SwrContext, AvDeleter<SwrContext, swr_free>>;
using ParametersPtr =
    std::unique_ptr<AVCodecParameters, AvDeleter<AVCodecParameters, avcodec_parameters_free>>;
using BsfPtr = std::unique_ptr<AVBSFContext, AvDeleter<AVBSFContext, av_bsf_free>>;
using ParserPtr =
    std::unique_ptr<AVCodecParserContext, AvDeleter<AVCodecParserContext, av_parser_close>>;

// Options handed to FFmpeg's open calls; freed with whatever FFmpeg left unused in it.
class AvDictionary {
public:
    AvDictionary() = default;
    AvDictionary(const AvDictionary&) = delete;
    AvDictionary& operator=(const AvDictionary&) = delete;
    ~AvDictionary() { av_dict_free(&dict_); }
    // Throws MediaError when FFmpeg cannot store the option.
    void Set(const char* key, const char* value);
    AVDictionary** Address() { return &dict_; }

private:
    AVDictionary* dict_ = nullptr;
};

// Allocators that throw MediaError instead of returning null.
FramePtr MakeFrame();
PacketPtr MakePacket();

}  // namespace media
