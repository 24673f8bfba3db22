#include "media/SlotFiller.h"

#include "media/CutSource.h"

namespace media {

bool OnScreenBy(double pictureTime, double slotTime, double step) {
    return pictureTime <= slotTime + 0.5 * step;
}

SlotFiller::SlotFiller(const AVStream* stream, double zero, double start, AVRational rate,
                       std::int64_t firstSlot, std::int64_t endSlot)
    : stream_(stream),
      zero_(zero),
      start_(start),
      step_(1.0 / av_q2d(rate)),
      next_(firstSlot),
      end_(endSlot) {}

double SlotFiller::PictureTime(const AVFrame* f) const {
    if (f->best_effort_timestamp != AV_NOPTS_VALUE)
        return static_cast<double>(f->best_effort_timestamp) * av_q2d(stream_->time_base) - zero_;
    return haveTime_ ? lastTime_ + step_ : start_;
}

void SlotFiller::Offer(const AVFrame* f, const Emit& emit) {
    // A stream that never marks key frames is taken as it comes after a while rather than not
    // at all.
    if (!sawKeyFrame_) {
        if (!IsKeyFrame(f) && ++skippedBeforeKey_ < kMaxSkippedBeforeKey) return;
        sawKeyFrame_ = true;
    }
    const double t = PictureTime(f);
    lastTime_ = t;
    haveTime_ = true;
    // A picture settles the slots before the time it comes on screen: they show the one held.
    if (!held_) {
        held_ = RefFrame(f);
        ++heldNumber_;
    }
    while (!Done() && !OnScreenBy(t, SlotTime(next_), step_))
        emit(next_++, held_.get(), heldNumber_);
    if (Done()) return;
    held_ = RefFrame(f);
    ++heldNumber_;
}

bool SlotFiller::NothingOnScreen() const {
    // A start at or after the end of the last picture has nothing on screen to cut.
    return !held_ || (next_ == 0 && lastTime_ + step_ <= start_);
}

void SlotFiller::Finish(const Emit& emit) {
    if (!held_) return;
    while (!Done()) emit(next_++, held_.get(), heldNumber_);
}

}  // namespace media
