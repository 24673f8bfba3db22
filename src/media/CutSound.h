#pragma once
// The sound of a cut: the source's sound decoded and written as 16-bit PCM, cut to the sample
// at the start and completed with silence to the wanted length.

#include <cstdint>
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
    // A packet of the source's sound stream; nullptr at the end of the file.
    void OnPacket(const AVPacket* pkt);
    bool Done() const { return samplesOut_ >= samplesWanted_; }
    // Fills up to the wanted length with silence and drains the encoder.
    void Finish();

private:
    void OnFrame(const AVFrame* f);
    void WriteSamples(const std::uint8_t* data, std::int64_t count);
    void Encode(const AVFrame* frame);

    const AVStream* source_;
    double zero_;
    double start_;
    std::int64_t samplesWanted_;
    CodecContextPtr dec_, enc_;
    CutWriter* writer_ = nullptr;
    AVStream* out_ = nullptr;
    FramePtr decoded_ = MakeFrame();
    PacketPtr packet_ = MakePacket();

    std::int64_t samplesOut_ = 0;
    bool placed_ = false;
    double nextTime_ = 0.0;
    SwrPtr swr_;
    int swrInRate_ = 0;
    int swrInFormat_ = -1;
    AVChannelLayout swrInLayout_{};
    std::vector<std::uint8_t> pcm_;
};

}  // namespace media
