#pragma once
// The cut's view of its source file: opening it, choosing its streams, decoders, the place a cut
// starts reading from, and the tags that tie a decoded picture to the packet it came from.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "media/AvHolders.h"
#include "media/FFmpegCompat.h"
#include "media/SourceInput.h"

namespace media {

std::string Quoted(const std::string& s);

// Ends a blocking FFmpeg call on the source: a stop request, or a call that outlasts its
// deadline (a damaged file can send the demuxer searching, a stalled disk never answers).
// FFmpeg asks it on the thread that made the call, so it needs no lock.
class SourceWatch {
public:
    using Clock = std::chrono::steady_clock;
    explicit SourceWatch(const std::atomic<bool>* cancel) : cancel_(cancel) {}
    void Arm(Clock::duration d) { deadline_ = Clock::now() + d; }
    bool Expired() const { return Clock::now() > deadline_; }
    static int Callback(void* opaque);

private:
    const std::atomic<bool>* cancel_;
    Clock::time_point deadline_ = Clock::time_point::max();
};

// Opening reads the headers and enough of the streams to know them; one read or seek later on
// gets its own time.
inline constexpr auto kOpenTimeout = std::chrono::seconds(10);
inline constexpr auto kReadTimeout = std::chrono::seconds(10);
inline constexpr const char* kTooSlow =
    "reading it took too long; it may be damaged or on a slow device";

// Test seam: how many times a cut has opened a source file and a demuxer on one, in this
// process.
struct SourceOpens {
    std::int64_t files = 0;
    std::int64_t demuxers = 0;
};
SourceOpens SourceOpensForTesting();

// The source as a regular file only, opened once for every pass of a cut: a pipe or a device
// would block it. Throws MediaError with the file's name and the reason.
std::unique_ptr<SourceInput> OpenSourceFile(const std::string& name);

// A demuxer on the source with a reader of its own, which outlives it.
struct CutInput {
    std::unique_ptr<SourceInput::Reader> reader;
    InputFormatPtr format;
    AVFormatContext* get() const { return format.get(); }
    AVFormatContext* operator->() const { return format.get(); }
};

// Opens a demuxer on `file` (named `name` in messages) and reads its stream parameters; `watch`
// interrupts its blocking calls and must outlive it. Throws MediaError with FFmpeg's reason.
CutInput OpenCutInput(const SourceInput& file, const std::string& name, SourceWatch& watch);

// The stream of `type` that a cut uses, or -1: it must have a decoder and sane parameters.
int UsableStream(AVFormatContext* in, AVMediaType type);

// A decoder for `st` with `threads` threads, 0: as many as the machine allows.
CodecContextPtr OpenDecoder(const AVStream* st, int threads = 0);
// A decoder for pictures described by `par` with time stamps in `timeBase`. With `forCopy` its
// pictures carry the tags of their packets and their quantisers; `threads` as above.
CodecContextPtr OpenDecoder(const AVCodecParameters* par, AVRational timeBase, bool forCopy,
                            int threads = 0);

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

}  // namespace media
