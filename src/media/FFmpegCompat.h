#pragma once
// Where FFmpeg versions differ, in one place: the media layer reads and writes these fields only
// through the functions here, so a newer FFmpeg's deprecations never break the build with
// warnings as errors, and an older one still builds.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <cstdint>

namespace media {

// Whether a decoded picture is interlaced, and whether its top field comes first. FFmpeg 6.1
// moved both into the frame's flags and deprecated the fields.
inline bool FrameInterlaced(const AVFrame* f) {
#ifdef AV_FRAME_FLAG_INTERLACED
    return (f->flags & AV_FRAME_FLAG_INTERLACED) != 0;
#else
    return f->interlaced_frame != 0;
#endif
}

inline bool FrameTopFieldFirst(const AVFrame* f) {
#ifdef AV_FRAME_FLAG_TOP_FIELD_FIRST
    return (f->flags & AV_FRAME_FLAG_TOP_FIELD_FIRST) != 0;
#else
    return f->top_field_first != 0;
#endif
}

// Whether a decoded picture is a key picture; FFmpeg 6.1 moved it into the frame's flags too.
inline bool FrameIsKey(const AVFrame* f) {
#ifdef AV_FRAME_FLAG_KEY
    return (f->flags & AV_FRAME_FLAG_KEY) != 0;
#else
    return f->key_frame != 0;
#endif
}

inline void SetFrameKey(AVFrame* f, bool key) {
#ifdef AV_FRAME_FLAG_KEY
    f->flags = key ? (f->flags | AV_FRAME_FLAG_KEY) : (f->flags & ~AV_FRAME_FLAG_KEY);
#else
    f->key_frame = key ? 1 : 0;
#endif
}

// Marks a packet so that the picture decoded from it can be matched to it, whatever order the
// decoder returns pictures in. The decoder must have been opened after EnableFrameTags.
// FFmpeg 6 replaced the packet position that decoders pass on with an opaque value that must be
// asked for; the position is not used by any decoder, so older versions carry the tag there.
inline void EnableFrameTags([[maybe_unused]] AVCodecContext* dec) {
#if LIBAVCODEC_VERSION_MAJOR >= 60
    dec->flags |= AV_CODEC_FLAG_COPY_OPAQUE;
#endif
}

inline void TagPacket(AVPacket* pkt, std::int64_t tag) {
#if LIBAVCODEC_VERSION_MAJOR >= 60
    pkt->opaque = reinterpret_cast<void*>(static_cast<std::intptr_t>(tag + 1));
#else
    pkt->pos = tag;
#endif
}

inline std::int64_t FrameTag(const AVFrame* f) {
#if LIBAVCODEC_VERSION_MAJOR >= 60
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(f->opaque)) - 1;
#else
    return f->pkt_pos;
#endif
}

}  // namespace media
