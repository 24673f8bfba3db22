#pragma once
// Which picture of a video stream is on screen at a time; the preview grab and the cut both
// use this, so a preview shows the picture a cut starting there begins with.
//
// Time t counts from the stream's first picture. The picture on screen at t is the last one
// that starts at or before it: a dropped or missing frame leaves the previous picture on
// screen, and a time past the end shows the last picture. Pictures a decoder returns after a
// seek before its first key picture lack their references and are never shown.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/AvHolders.h"

namespace media {

// The last tick of `tb` at or before `seconds` after `origin`, for a stream whose frames last
// `frameTicks`. Where a frame spans several ticks, muxers round timestamps to the nearest
// tick, so a picture meant for t may be stamped up to half a tick after it and the target
// reaches half a tick further; a time base of a frame or two counts frames exactly.
// Saturates instead of overflowing.
int64_t TickAfter(int64_t origin, double seconds, AVRational tb, int64_t frameTicks);

// Stamps the pictures a decoder returns, in display order, and drops those that lack their
// references.
class PictureClock {
public:
    PictureClock(AVFormatContext* fmt, AVStream* st);
    // After a seek or a flush of the decoder.
    void Restart();
    // Start of `f` in stream ticks, or nullopt for a picture that is not shown. A picture
    // without a timestamp follows the previous one by the spacing before that one (by a frame
    // when there is none), or starts at `fallback` when it is the first.
    std::optional<int64_t> Stamp(const AVFrame* f, int64_t fallback);
    int64_t FrameTicks() const { return step_; }
    // Whether the last stamp was the fallback: the picture's place in the stream is unknown.
    bool Guessed() const { return guessed_; }
    // Added to every stamp: a correction for a demuxer that stamps packets after a seek
    // differently from a reading from the top.
    void SetShift(int64_t shift) { shift_ = shift; }
    int64_t Shift() const { return shift_; }
    // Whether the decoder called any picture not key since the clock was made.
    bool SawNonKey() const { return sawNonKey_; }

private:
    int64_t step_ = 1;
    bool keySeen_ = false;
    int skipped_ = 0;
    int64_t prev_ = AV_NOPTS_VALUE;
    int64_t before_ = AV_NOPTS_VALUE;  // the picture before prev_
    int64_t shift_ = 0;
    bool guessed_ = false;
    bool sawNonKey_ = false;
};

// Whether seeks can be trusted to land on key pictures.
enum class KeyPictures { Unknown, Known, Unmarked };

// Callbacks of a reader's owner: `check` runs between reads and throws to stop (a deadline, a
// cancel); `fail` throws the owner's error for a reason such as "the file cannot be searched".
struct ReadGuard {
    std::function<void()> check;
    std::function<void(const std::string& reason)> fail;
};

// Reads the shown pictures of one video stream, in display order, through the owner's decoder,
// from a point where the picture on screen at a target can be reached.
class PictureReader {
public:
    PictureReader(AVFormatContext* fmt, int stream, AVCodecContext* dec, ReadGuard guard);
    ~PictureReader();
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;

    // The stream's first shown picture and its start, read from the top of the file, or from
    // where the demuxer stands when `fromHere` (a file nothing was read from yet). False when
    // no picture decodes.
    bool First(AVFrame* out, int64_t& ts, bool fromHere);

    // Seeks so that the first shown picture starts at or before `target`, stepping further
    // back while it starts later, down to the top of the file, and reads that picture. When
    // nothing earlier can be reached, the earliest picture seen comes instead. False when no
    // picture decodes.
    bool SeekTo(int64_t target, AVFrame* out, int64_t& ts);

    // The next shown picture; false at the end of the stream.
    bool Next(AVFrame* out, int64_t& ts);

    // Back to where the last First or SeekTo started, with every stream read again and the
    // decoder flushed, for an owner that reads the packets itself from there.
    void Rewind();

    // What the pictures' stamps are corrected by since the last seek, so that they equal those
    // of a reading from the top; an owner that reads the packets itself after Rewind gives it
    // to its own clock.
    int64_t Shift() const { return clock_.Shift(); }

    // Learned by First when the demuxer cannot tell; a later reader of the same stream takes
    // it over instead of learning it again.
    KeyPictures Keys() const { return keys_; }
    int64_t FrameTicks() const { return clock_.FrameTicks(); }
    void SetKeys(KeyPictures keys) {
        if (keys != KeyPictures::Unknown) keys_ = keys;
    }

private:
    void Seek(int64_t ts, bool fromTop);
    bool Feed();
    void LearnKeys();

    AVFormatContext* fmt_;
    AVStream* st_;
    int stream_;
    AVCodecContext* dec_;
    ReadGuard guard_;
    PictureClock clock_;
    PacketPtr pkt_;
    int64_t start_ = 0;
    bool drained_ = false;
    int64_t landingPos_ = -1;
    int64_t landingEnd_ = -1;
    int64_t landingTs_ = AV_NOPTS_VALUE;
    KeyPictures keys_ = KeyPictures::Unknown;
    bool pending_ = false;  // a packet the decoder could not take yet
    int64_t seekTs_ = 0;    // the last seek, for Rewind
    bool seekTop_ = true;
    std::vector<AVDiscard> discard_;
};

}  // namespace media
