#pragma once
// The picture encoders a cut uses: the one that re-encodes a whole cut (the source's codec where
// that is fast enough, MPEG-4 otherwise) and the ones that re-encode only the edges of a copied
// cut in the source's own codec, so that one decoder plays the whole file.

#include <cstdint>
#include <functional>

#include "media/AvHolders.h"

namespace media {

// True when FFmpeg's encoder for `codec` is known to run at least at real time for pictures of
// width x height at `rate` pictures per second on a machine with two cores.
bool EncoderKeepsUp(AVCodecID codec, int width, int height, AVRational rate);

// The encoder for a whole cut of the source picture stream `source`, whose decoder is `dec`:
// the source's codec when AVI can carry it, FFmpeg encodes it and it keeps up (and `likeSource`
// asks for it), MPEG-4 otherwise. Throws MediaError when no encoder opens.
CodecContextPtr OpenCutEncoder(const AVStream* source, const AVCodecContext* dec, AVRational rate,
                               AVRational sar, std::int64_t bitRate, bool likeSource);

// What the edges of a copied cut must match of the source.
struct EdgeFormat {
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0;
    int height = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    AVRational sar{0, 1};
    AVRational rate{25, 1};
    int profile = -99;  // FF_PROFILE_UNKNOWN
    int level = -99;    // FF_LEVEL_UNKNOWN
    // Pictures a decoder holds back before showing them (0 without B-pictures).
    int reorderDepth = 0;
    bool interlaced = false;
    bool topFieldFirst = true;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    // The quantiser of the neighbouring source pictures, in the codec's own scale (MPEG
    // quantiser scale 1..31, H.264 QP 0..51); 0 when unknown.
    double quantiser = 0;
    // Pictures the edge will have; 0 when unknown.
    std::int64_t pictures = 0;
};

// An edge of at most this many pictures is encoded on one thread: starting the encoder's own
// threads (each with its copy of the encoder's tables, ~50 MB at 1080p) costs more than they
// save on a few pictures.
inline constexpr std::int64_t kFewEdgePictures = 16;

// True when OpenEdgeEncoder can match sources of `codec`.
bool CanEncodeEdges(AVCodecID codec);

// Opens an encoder whose pictures one decoder can play between the copied pictures of a source
// in `format`; every picture it gets is encoded at `format.quantiser` (MPEG codecs read the
// quantiser per picture from AVFrame::quality). Throws MediaError when it cannot match.
CodecContextPtr OpenEdgeEncoder(const EdgeFormat& format);

// The lambda a picture given to an MPEG edge encoder carries for quantiser `q`.
int EdgeQuality(const EdgeFormat& format, double q);

// Sends `frame` (nullptr drains) to `enc` and hands every packet it makes to `sink`.
void EncodePicture(AVCodecContext* enc, const AVFrame* frame,
                   const std::function<void(AVPacket*)>& sink);

}  // namespace media
