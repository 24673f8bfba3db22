#include "skin/form/skWindowStateController.h"

#include <algorithm>

#include "skin/form/skFormWindow.h"
#include "skin/form/skWindowStates.h"

namespace sk {

using rt::TPoint;
using rt::TRect;

namespace {

// Every controller alive, for the minimized windows' slots.
std::vector<TskWindowStateController*>& LiveControllers() {
    static std::vector<TskWindowStateController*> controllers;
    return controllers;
}

}  // namespace

TskWindowStateController::TskWindowStateController() { LiveControllers().push_back(this); }

TskWindowStateController::~TskWindowStateController() {
    auto& all = LiveControllers();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

TPoint TskWindowStateController::MinTrackSize() const {
    TskSizeRules r = SizeRules ? SizeRules() : TskSizeRules{};
    r.Minimized = windowState_ == TskWindowState::wsMinimized;
    r.RolledUp = rollUpState_;
    return FrameMinimumSize(r);
}

TPoint TskWindowStateController::MaxTrackSize(bool fullScreen) const {
    if (window_ == nullptr) return TPoint{};
    return FrameMaximumSize(fullScreen, window_->ScreenRect(), window_->WorkArea());
}

void TskWindowStateController::Moving(TRect& rect, bool magnetic, int magneticSize) {
    if (window_ == nullptr) return;
    if (windowState_ == TskWindowState::wsMaximized) {
        rect = window_->BoundsRect();
        return;
    }
    if (magnetic) rect = MagneticMove(rect, window_->WorkArea(), magneticSize);
}

void TskWindowStateController::SetFadeTimer(bool enable) {
    if (fadeOn_ == enable) return;
    fadeOn_ = enable;
    if (window_ == nullptr) return;
    if (enable)
        window_->SetTimer(kFadeInTimer, 1);
    else
        window_->KillTimer(kFadeInTimer);
}

void TskWindowStateController::StopFadeIn() { SetFadeTimer(false); }

void TskWindowStateController::ShowWindow(bool show, const TskFadeIn& fade) {
    if (window_ == nullptr) return;
    if (show) {
        if (fade.AlphaBlend || fade.Animation) {
            window_->SetOpacity(0);
            SetFadeTimer(true);
        }
        window_->FrameChanged();
    } else if (fade.AlphaBlend) {
        window_->SetOpacity(255);
    }
}

void TskWindowStateController::FadeInTick(const TskFadeIn& fade) {
    SetFadeTimer(false);
    if (window_ == nullptr) return;
    const int target = FadeInTarget(fade.AlphaBlend, fade.Animation, fade.AlphaBlendValue);
    if (fade.Animation) {
        window_->ProcessMessages();
        for (int alpha : FadeInSteps(target)) window_->SetOpacity(alpha);
    } else if (target != 255) {
        window_->SetOpacity(target);
    }
    if (target == 255) window_->SetOpacity(255);
}

std::vector<TPoint> TskWindowStateController::OtherMinimized() const {
    std::vector<TPoint> places;
    for (const TskWindowStateController* c : LiveControllers()) {
        if (c == this || c->window_ == nullptr || !c->window_->Visible() ||
            c->windowState_ != TskWindowState::wsMinimized)
            continue;
        const TRect b = c->window_->BoundsRect();
        places.push_back(TPoint{b.Left, b.Top});
    }
    return places;
}

void TskWindowStateController::SetWindowState(TskWindowState state, bool fullScreen) {
    if (state == windowState_ || window_ == nullptr) return;
    const TRect bounds = window_->BoundsRect();
    switch (state) {
        case TskWindowState::wsMaximized:
            if (restoreRect_.IsEmpty()) restoreRect_ = bounds;
            windowState_ = state;
            window_->SetBounds(
                MaximizedBounds(fullScreen, window_->ScreenRect(), window_->WorkArea()));
            break;
        case TskWindowState::wsMinimized: {
            // The main form minimizes the application and keeps its own state.
            if (window_->IsMainForm()) {
                window_->MinimizeApplication();
                return;
            }
            if (restoreRect_.IsEmpty()) restoreRect_ = bounds;
            windowState_ = state;
            const TPoint min = MinTrackSize();
            const TPoint slot = MinimizedSlot(window_->WorkArea(), min.X, min.Y, OtherMinimized());
            window_->SetBounds(rt::Bounds(slot.X, slot.Y, min.X, min.Y));
            break;
        }
        case TskWindowState::wsNormal:
            maxRollUpState_ = false;
            windowState_ = state;
            if (!restoreRect_.IsEmpty()) window_->SetBounds(restoreRect_);
            restoreRect_ = TRect{};
            if (OnRestored) OnRestored();
            break;
    }
    if (OnBoundsChanged) OnBoundsChanged();
}

void TskWindowStateController::SetRollUpState(bool rolledUp, TskBorderIcons icons) {
    if (rolledUp == rollUpState_ || window_ == nullptr) return;
    if (!CanChangeRollUp(icons, windowState_, rollUpState_, maxRollUpState_)) return;
    if (windowState_ == TskWindowState::wsMaximized) maxRollUpState_ = rolledUp;
    const TRect b = window_->BoundsRect();
    rollUpState_ = rolledUp;
    if (rolledUp) {
        rollUpHeight_ = b.Height();
        window_->SetBounds(rt::Bounds(b.Left, b.Top, b.Width(), MinTrackSize().Y));
    } else {
        window_->SetBounds(rt::Bounds(b.Left, b.Top, b.Width(), rollUpHeight_));
    }
    if (OnBoundsChanged) OnBoundsChanged();
    if (OnRollUpChanged) OnRollUpChanged();
}

}  // namespace sk
