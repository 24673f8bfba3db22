#include "media/SlotFiller.h"

#include <algorithm>
#include <limits>

#include "media/CutSource.h"

namespace media {

SlotFiller::SlotFiller(const CutSpan& span, std::int64_t firstSlot, std::int64_t endSlot)
    : span_(span),
      clock_(span.input, span.stream),
      step_(1.0 / av_q2d(span.rate)),
      next_(firstSlot),
      end_(endSlot) {
    clock_.SetShift(span.shift);
}

std::int64_t SlotFiller::SlotTick(std::int64_t slot) const {
    return TickAfter(span_.origin, span_.start + static_cast<double>(slot) * step_,
                     span_.stream->time_base, clock_.FrameTicks());
}

std::optional<std::int64_t> SlotFiller::Stamp(const AVFrame* f) {
    return clock_.Stamp(f, SlotTick(0));
}

void SlotFiller::Offer(const AVFrame* f, const Emit& emit) {
    if (std::optional<std::int64_t> ts = Stamp(f)) Offer(f, *ts, emit);
}

void SlotFiller::Offer(const AVFrame* f, std::int64_t ts, const Emit& emit) {
    last_ = ts;
    haveLast_ = true;
    if (!held_) {
        held_ = RefFrame(f);
        ++heldNumber_;
    }
    // A picture that starts after a slot's time settles that slot: it shows the one held.
    while (!Done() && SlotTick(next_) < ts) emit(next_++, held_.get(), heldNumber_);
    if (Done()) return;
    held_ = RefFrame(f);
    ++heldNumber_;
}

bool SlotFiller::NothingOnScreen() const {
    // A start at or after the end of the last picture has nothing on screen to cut.
    if (!held_ || !haveLast_) return true;
    const double lastTime =
        static_cast<double>(last_ - span_.origin) * av_q2d(span_.stream->time_base);
    return next_ == 0 && lastTime + step_ <= span_.start;
}

void SlotFiller::EndAt(std::int64_t endSlot) { end_ = std::max(next_, std::min(end_, endSlot)); }

double SlotFiller::EndOfLast() const {
    if (!haveLast_) return std::numeric_limits<double>::infinity();
    return static_cast<double>(last_ + clock_.FrameTicks() - span_.origin) *
               av_q2d(span_.stream->time_base) -
           span_.start;
}

void SlotFiller::Finish(const Emit& emit) {
    if (!held_) return;
    while (!Done()) emit(next_++, held_.get(), heldNumber_);
}

}  // namespace media
