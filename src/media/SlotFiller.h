#pragma once
// Which source picture fills each picture of a cut's output. The output has a fixed rate; its
// picture n (a "slot") shows the source picture on screen at start + n / rate. Every way of
// cutting (re-encoding all, or copying with re-encoded edges) decides through this class, so
// they put the same pictures in the same places.

#include <cstdint>
#include <functional>

#include "media/AvHolders.h"

namespace media {

// True when a picture that starts at `pictureTime` is on screen at `slotTime` (seconds);
// `step` is the output's picture duration.
bool OnScreenBy(double pictureTime, double slotTime, double step);

class SlotFiller {
public:
    // `stream` is the source's picture stream, `zero` its time 0 in seconds; the filler fills
    // slots firstSlot .. endSlot - 1 of an output that starts at `start` seconds.
    SlotFiller(const AVStream* stream, double zero, double start, AVRational rate,
               std::int64_t firstSlot, std::int64_t endSlot);

    // Called for every filled slot with the picture in it; `picture` counts the distinct
    // pictures offered, so repeats of one picture can be recognised.
    using Emit = std::function<void(std::int64_t slot, const AVFrame* f, std::int64_t picture)>;

    // Offers the next decoded picture, in display order. Pictures before the first key frame
    // lack their references and are passed over.
    void Offer(const AVFrame* f, const Emit& emit);
    // True when the source ended without a picture on screen at the start.
    bool NothingOnScreen() const;
    // The source ended: the last picture stays on screen for the remaining slots.
    void Finish(const Emit& emit);

    bool Done() const { return next_ >= end_; }
    std::int64_t NextSlot() const { return next_; }
    double Step() const { return step_; }
    // Seconds (from the source's time 0) at which the picture in `slot` is taken.
    double SlotTime(std::int64_t slot) const { return start_ + static_cast<double>(slot) * step_; }
    // Seconds from the source's time 0 at which `f` starts, as the filler reckons it: its time
    // stamp, or one picture after the last one offered when it has none.
    double PictureTime(const AVFrame* f) const;

private:
    static constexpr int kMaxSkippedBeforeKey = 250;

    const AVStream* stream_;
    double zero_;
    double start_;
    double step_;
    std::int64_t next_;
    std::int64_t end_;
    bool sawKeyFrame_ = false;
    int skippedBeforeKey_ = 0;
    double lastTime_ = 0.0;
    bool haveTime_ = false;
    FramePtr held_;
    std::int64_t heldNumber_ = -1;
};

}  // namespace media
