#pragma once
// The picture side of a cut: it gets the source's packets in file order and writes the cut's
// picture stream. One kind re-encodes every picture; the other copies what it can.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "media/AvHolders.h"
#include "media/CutSource.h"
#include "media/CutWriter.h"

namespace media {

// Packets read ahead by the copy's plan, in file order, kept so that the cut reads the source
// once: the cut takes them before it reads on from where the plan stopped. Past its budget it
// gives up (empty and not valid), and the cut reads the stretch again instead.
class ReadAhead {
public:
    // A budget of 0 keeps nothing: the reader is not valid from the start.
    explicit ReadAhead(std::int64_t budget) : budget_(budget), valid_(budget > 0) {}
    // Keeps a reference to `pkt` unless the budget is spent.
    void Keep(const AVPacket* pkt);
    bool Valid() const { return valid_; }
    // The oldest packet kept, moved into `pkt`; false when none is left.
    bool Take(AVPacket* pkt);
    // Drops everything and starts again (after a seek).
    void Reset();

private:
    std::int64_t budget_;
    std::int64_t bytes_ = 0;
    bool valid_ = true;
    std::deque<PacketPtr> packets_;
};

// Where a cut's source is and what stretch of it the output holds.
struct CutSpan {
    std::string name;                   // the source's name, for messages and format guesses
    const SourceInput* file = nullptr;  // the source, for demuxers of its own
    AVFormatContext* input = nullptr;   // the cut's demuxer
    SourceWatch* watch = nullptr;       // to be armed before each read or seek on `input`
    ReadAhead* readAhead = nullptr;     // where a read ahead keeps its packets (may be null)
    int soundIndex = -1;                // the sound stream the cut writes, kept by a read ahead
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
    // Pictures written to the output so far.
    virtual std::int64_t Written() const = 0;
    // After the end of the file: seconds after the cut's start where the source's pictures end
    // (infinity when they reach the end of the stretch).
    virtual double SourceEnd() const = 0;
    // Writes what is still held back, so that the output holds `pictures` pictures (the
    // planned count, or fewer when the source ends before the stretch); called once.
    virtual void Finish(std::int64_t pictures) = 0;
};

// Decodes every picture of the stretch and encodes it again (the source's codec where that
// keeps up, MPEG-4 otherwise).
std::unique_ptr<CutVideo> MakeReencodedVideo(const CutSpan& span, const std::string& sourceName,
                                             std::int64_t bitRate, bool likeSource);

}  // namespace media
