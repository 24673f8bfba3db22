#pragma once
// The sound of a cut: the source's sound decoded and written as 16-bit PCM, cut to the sample
// at the start and completed with silence to the wanted length. Decoding and conversion run on
// a thread of their own, beside the reading and the pictures; the samples are placed and
// written on the caller's thread.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "media/AvHolders.h"
#include "media/CutWriter.h"

namespace media {

class CutSound {
public:
    // `zero` is the source's time 0 and `start` the cut's start, both in seconds.
    CutSound(const AVStream* source, double zero, double start, std::int64_t samplesWanted);
    ~CutSound();
    CutSound(const CutSound&) = delete;
    CutSound& operator=(const CutSound&) = delete;

    void AddStream(CutWriter& writer);
    // A packet of the source's sound stream; nullptr at the end of the file. Writes the sound
    // decoded so far.
    void OnPacket(const AVPacket* pkt);
    // Whether all the wanted samples are written (of what was decoded so far; see Settle).
    bool Done() const { return samplesOut_ >= samplesWanted_; }
    // Waits until every packet given so far is decoded and its samples written.
    void Settle();
    std::int64_t SamplesOut() const { return samplesOut_; }
    std::int64_t SamplesWanted() const { return samplesWanted_; }
    int SampleRate() const;
    // Fills up to `samples` (the wanted length, or less when the cut ends early, never less
    // than what was written) with silence.
    void Finish(std::int64_t samples);

private:
    // Samples converted to the output's format, starting at `time` seconds of the source.
    struct Decoded {
        std::vector<std::uint8_t> pcm;
        std::int64_t count = 0;
        double time = 0;
    };

    void DecodeLoop();
    void Decode(const AVPacket* pkt, std::vector<Decoded>& out);
    void Convert(const AVFrame* f, std::vector<Decoded>& out);
    // Writes the decoded samples that are ready; with `wait`, first waits for all of them.
    void Drain(bool wait);
    void Place(const Decoded& d);
    void WriteSamples(const std::uint8_t* data, std::int64_t count);

    const AVStream* source_;
    double zero_;
    double start_;
    std::int64_t samplesWanted_;
    CodecContextPtr dec_, enc_;
    CutWriter* writer_ = nullptr;
    AVStream* out_ = nullptr;
    PacketPtr packet_ = MakePacket();

    // Caller's side.
    std::int64_t samplesOut_ = 0;
    bool placed_ = false;

    // Decoder's side.
    FramePtr decoded_ = MakeFrame();
    double nextTime_ = 0.0;
    SwrPtr swr_;
    int swrInRate_ = 0;
    int swrInFormat_ = -1;
    AVChannelLayout swrInLayout_{};

    // Between them: packets to decode (null: the end), samples decoded.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PacketPtr> input_;
    bool inputEnded_ = false;
    bool stopping_ = false;
    std::int64_t pending_ = 0;  // packets given and not yet decoded
    std::vector<Decoded> output_;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace media
