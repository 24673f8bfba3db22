#pragma once
// Which source picture fills each picture of a cut's output. The output has a fixed rate; its
// picture n (a "slot") shows the source picture on screen at start + n / rate, by the one
// definition the preview shares (FrameTiming.h). Every way of cutting (re-encoding all, or
// copying with re-encoded edges) decides through this class, so they put the same pictures in
// the same places.

#include <cstdint>
#include <functional>
#include <optional>

#include "media/AvHolders.h"
#include "media/CutVideo.h"
#include "media/FrameTiming.h"

namespace media {

class SlotFiller {
public:
    // Fills slots firstSlot .. endSlot - 1 of the output of `span`, from pictures of a decoder
    // that started where the cut's reading starts or at a key picture after it.
    SlotFiller(const CutSpan& span, std::int64_t firstSlot, std::int64_t endSlot);

    // Called for every filled slot with the picture in it; `picture` counts the distinct
    // pictures offered, so repeats of one picture can be recognised.
    using Emit = std::function<void(std::int64_t slot, const AVFrame* f, std::int64_t picture)>;

    // The start of the next decoded picture (display order) in stream ticks, or nullopt for a
    // picture that is never shown (one before the first key picture). Once per picture.
    std::optional<std::int64_t> Stamp(const AVFrame* f);
    // Offers that picture, stamped `ts`: it settles the slots before its time.
    void Offer(const AVFrame* f, std::int64_t ts, const Emit& emit);
    // Stamps and offers.
    void Offer(const AVFrame* f, const Emit& emit);
    // True when the source ended without a picture on screen at the start.
    bool NothingOnScreen() const;
    // The source ended: the last picture stays on screen for the remaining slots.
    void Finish(const Emit& emit);
    // Slots from now on fill only up to `endSlot` (no further than the end given at creation).
    void EndAt(std::int64_t endSlot);
    // Seconds after the cut's start at which the last picture offered leaves the screen: where
    // the source's pictures really end. Infinity when none was offered.
    double EndOfLast() const;

    bool Done() const { return next_ >= end_; }
    std::int64_t NextSlot() const { return next_; }
    // The last stream tick whose picture the slot shows.
    std::int64_t SlotTick(std::int64_t slot) const;
    std::int64_t FrameTicks() const { return clock_.FrameTicks(); }

private:
    const CutSpan span_;
    PictureClock clock_;
    double step_;
    std::int64_t next_;
    std::int64_t end_;
    std::int64_t last_ = 0;
    bool haveLast_ = false;
    FramePtr held_;
    std::int64_t heldNumber_ = -1;
};

}  // namespace media
