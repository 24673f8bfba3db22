#pragma once
// The picture side of a cut: it gets the source's packets in file order and writes the cut's
// picture stream. One kind re-encodes every picture; the other copies what it can.

#include <cstdint>
#include <memory>
#include <string>

#include "media/AvHolders.h"
#include "media/CutSource.h"
#include "media/CutWriter.h"

namespace media {

// Where a cut's source is and what stretch of it the output holds.
struct CutSpan {
    std::string name;                   // the source's name, for messages and format guesses
    const SourceInput* file = nullptr;  // the source, for demuxers of its own
    AVFormatContext* input = nullptr;   // the cut's demuxer
    SourceWatch* watch = nullptr;       // to be armed before each read or seek on `input`
    AVStream* stream = nullptr;         // the picture stream (the sound stream without pictures)
    double zero = 0.0;                  // seconds of the source's time 0: its first picture
    double start = 0.0;                 // seconds after zero
    AVRational rate{25, 1};
    std::int64_t pictures = 1;  // pictures of the output
    std::int64_t origin = 0;    // time stamp of the first picture, in the stream's ticks
    // What the pictures' time stamps are corrected by after the cut's seek, so that they equal
    // those of a reading from the top (see PictureReader::Shift).
    std::int64_t shift = 0;
};

class CutVideo {
public:
    virtual ~CutVideo() = default;
    virtual void AddStream(CutWriter& writer) = 0;
    // A packet of the source's picture stream, in file order; nullptr at the end of the file.
    virtual void OnPacket(const AVPacket* pkt) = 0;
    virtual bool Done() const = 0;
    // Writes what is still held back; called once after the last packet.
    virtual void Finish() = 0;
};

// Decodes every picture of the stretch and encodes it again (the source's codec where that
// keeps up, MPEG-4 otherwise).
std::unique_ptr<CutVideo> MakeReencodedVideo(const CutSpan& span, const std::string& sourceName,
                                             std::int64_t bitRate, bool likeSource);

}  // namespace media
