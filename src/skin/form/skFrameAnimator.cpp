#include "skin/form/skFrameAnimator.h"

#include "skin/form/skFormHost.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinHint.h"
#include "skin/form/skWindowStates.h"

namespace sk {

using rt::TPoint;
using rt::TRect;

void TskFrameAnimator::SetWindow(TskFormWindow* window) {
    window_ = window;
    if (window_ == nullptr) return;
    // Timers that run go on with the new window.
    if (hoverOn_) window_->SetTimer(kHoverTimer, 50);
    if (morphOn_) window_->SetTimer(kMorphTimer, 20);
}

void TskFrameAnimator::SetTicker(bool& on, std::uintptr_t id, int interval, bool enable) {
    if (on == enable) return;
    on = enable;
    if (window_ == nullptr) return;
    if (enable)
        window_->SetTimer(id, interval);
    else
        window_->KillTimer(id);
}

TskSkinCaptionObject* TskFrameAnimator::Caption() const {
    for (const auto& o : objects_)
        if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get())) return c;
    return nullptr;
}

void TskFrameAnimator::SetCaptionActive(bool active, bool animate) {
    TskSkinCaptionObject* caption = Caption();
    if (caption == nullptr) return;
    caption->Active = active;
    if (animate && caption->MorphEnabled)
        EnableMorphTimer();
    else
        caption->MorphLevel = active ? 1 : 0;
}

void TskFrameAnimator::LeaveObjects() {
    for (const auto& o : objects_) {
        if (dynamic_cast<TskSkinCaptionObject*>(o.get()) != nullptr) continue;
        o->Active = false;
        o->CursorInside = false;
        o->MorphLevel = 0;
    }
    hoverIndex_ = oldHoverIndex_ = -1;
}

void TskFrameAnimator::TrackHover(TPoint p, bool over) {
    if (!host_.FormActive()) return;
    oldHoverIndex_ = hoverIndex_;
    hoverIndex_ = FindHoverIndex(objects_, p, over, pressedIndex_);
    if (hoverIndex_ == oldHoverIndex_) return;
    TskSkinHint* hint = ObjectHint ? ObjectHint() : nullptr;
    if (oldHoverIndex_ >= 0 && std::size_t(oldHoverIndex_) < objects_.size()) {
        TskActiveSkinObject& old = *objects_[std::size_t(oldHoverIndex_)];
        old.MouseLeave();
        if (hint != nullptr && !old.Hint.empty()) hint->HideHint();
    }
    if (hoverIndex_ >= 0) {
        TskActiveSkinObject& now = *objects_[std::size_t(hoverIndex_)];
        now.MouseEnter();
        if (hint != nullptr && !now.Hint.empty()) hint->ShowHintText(now.Hint);
    }
}

void TskFrameAnimator::Capture(TskActiveSkinObject& object, bool on) {
    if (dynamic_cast<TskSkinCaptionObject*>(&object) == nullptr && window_ != nullptr)
        window_->SetMouseCapture(on);
}

void TskFrameAnimator::Press(TPoint p, int button) {
    TrackHover(p, true);
    pressedIndex_ = hoverIndex_;
    if (pressedIndex_ < 0) return;
    TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
    Capture(o, true);
    o.MouseDown(p.X, p.Y, button);
}

void TskFrameAnimator::DoubleClick(TPoint p) {
    TrackHover(p, true);
    pressedIndex_ = hoverIndex_;
    if (pressedIndex_ < 0) return;
    TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
    Capture(o, true);
    o.MouseDown(p.X, p.Y, 0);
    o.DblClick();
}

void TskFrameAnimator::Release(TPoint p, int button) {
    if (pressedIndex_ < 0 || std::size_t(pressedIndex_) >= objects_.size()) return;
    TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
    pressedIndex_ = -1;
    Capture(o, false);
    // The object's command may close the form: nothing of this animator follows.
    o.MouseUp(p.X, p.Y, button);
}

void TskFrameAnimator::MouseMove(TPoint p) {
    const int i = pressedIndex_ >= 0 ? pressedIndex_ : hoverIndex_;
    if (i < 0 || std::size_t(i) >= objects_.size()) return;
    objects_[std::size_t(i)]->MouseMove(p.X, p.Y);
}

void TskFrameAnimator::MorphTimerTick() {
    bool stepped = false;
    for (const auto& o : objects_) {
        if (!o->MorphEnabled || !o->CanMorphing()) continue;
        o->DoMorphing();
        stepped = true;
    }
    if (!stepped) SetTicker(morphOn_, kMorphTimer, 20, false);
}

void TskFrameAnimator::HoverTimerTick() {
    if (window_ == nullptr || !host_.FormActive()) {
        StopHoverTicker();
        return;
    }
    const TRect client = ClientBox ? ClientBox() : TRect{};
    const TRect b = window_->BoundsRect();
    const TPoint screen = window_->CursorPos();
    const TPoint cursor{screen.X - b.Left, screen.Y - b.Top};
    const bool inClient = client.Contains(cursor);
    const bool sizeMoving = SizeMoving && SizeMoving();
    switch (HoverTickAction(window_->UnderCursor(), sizeMoving, inClient, hoverIndex_ >= 0)) {
        case TskHoverTick::StopAndClear:
            TrackHover(cursor, false);
            StopHoverTicker();
            break;
        case TskHoverTick::TrackAtCursor:
            TrackHover(cursor, true);
            break;
        case TskHoverTick::ClearHover:
            TrackHover(cursor, false);
            break;
        case TskHoverTick::Nothing:
            break;
    }
}

void TskFrameAnimator::StartHoverTicker() {
    if (host_.FormActive()) SetTicker(hoverOn_, kHoverTimer, 50, true);
}

void TskFrameAnimator::StopHoverTicker() { SetTicker(hoverOn_, kHoverTimer, 50, false); }

void TskFrameAnimator::EnableMorphTimer() { SetTicker(morphOn_, kMorphTimer, 20, true); }

void TskFrameAnimator::StopTimers() {
    StopHoverTicker();
    SetTicker(morphOn_, kMorphTimer, 20, false);
}

}  // namespace sk
