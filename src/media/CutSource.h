#pragma once
// The cut's view of its source file: opening it, choosing its streams, decoders, the place a cut
// starts reading from, and the tags that tie a decoded picture to the packet it came from.

#include <atomic>
#include <cstdint>
#include <string>

#include "media/AvHolders.h"

namespace media {

std::string Quoted(const std::string& s);

// Opens `name` and reads its stream parameters; `cancel`, when given, interrupts blocking reads.
// Throws MediaError with the file's name and FFmpeg's reason.
InputFormatPtr OpenCutSource(const std::string& name, const std::atomic<bool>* cancel);

// The stream of `type` that a cut uses, or -1: it must have a decoder and sane parameters.
int UsableStream(AVFormatContext* in, AVMediaType type);

// A decoder for `st`, threaded as the machine allows.
CodecContextPtr OpenDecoder(const AVStream* st);
// A decoder for pictures described by `par` with time stamps in `timeBase`. With `forCopy` its
// pictures carry the tags of their packets and their quantisers.
CodecContextPtr OpenDecoder(const AVCodecParameters* par, AVRational timeBase, bool forCopy);

// Seconds of the time stamp that counts as 0 in the source: the first time stamp of `ref`, or of
// the file when the stream does not say.
double SourceZero(const AVFormatContext* in, const AVStream* ref);

// The picture rate a cut writes: FFmpeg's best guess when plausible, 25 otherwise.
AVRational CutPictureRate(AVFormatContext* in, AVStream* st);

// Places `in` before `start` (seconds after `zero`) on stream `index`. A second of slack finds a
// key frame before the start in files whose seek lands on any frame (MPEG program streams);
// frames before the start are decoded and dropped. A failed seek leaves the file at its
// beginning, which only costs time.
void SeekBeforeStart(AVFormatContext* in, int index, double zero, double start);

FramePtr RefFrame(const AVFrame* src);

// Marks a packet so that the picture decoded from it can be matched to it, whatever order the
// decoder returns pictures in. The decoder must have been opened after EnableFrameTags.
void EnableFrameTags(AVCodecContext* dec);
void TagPacket(AVPacket* pkt, std::int64_t tag);
std::int64_t FrameTag(const AVFrame* f);

}  // namespace media
