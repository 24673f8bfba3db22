// TskSkinForm's window states: maximized, minimized into a free slot, rolled up to its caption,
// the size limits that follow from them, the magnetic move and the fade-in when shown.

#include "skin/form/skSkinForm.h"
#include "skin/form/skWindowStates.h"

namespace sk {

using rt::TPoint;
using rt::TRect;

TPoint TskSkinForm::MinTrackSize() const {
    TskSizeRules r;
    r.Skinned = skinned_;
    r.PictureWidth = frameSkin_.PictureWidth;
    r.PictureHeight = frameSkin_.PictureHeight;
    r.ClientRect = frameSkin_.ClientRect;
    r.MinWidth = MinWidth;
    r.MinHeight = MinHeight;
    r.Minimized = windowState_ == TskWindowState::wsMinimized;
    r.RolledUp = rollUpState_;
    r.DefaultCaptionHeight = kDefaultCaptionHeight;
    return FrameMinimumSize(r);
}

TPoint TskSkinForm::MaxTrackSize() const {
    if (window_ == nullptr) return TPoint{};
    return FrameMaximumSize(MaximizeOnFullScreen, window_->ScreenRect(), window_->WorkArea());
}

void TskSkinForm::Moving(TRect& rect) {
    if (window_ == nullptr) return;
    if (windowState_ == TskWindowState::wsMaximized) {
        rect = window_->BoundsRect();
        return;
    }
    if (Magnetic) rect = MagneticMove(rect, window_->WorkArea(), MagneticSize);
}

void TskSkinForm::ShowWindow(bool show) {
    if (window_ == nullptr) return;
    if (show) {
        if (alphaBlend_ || AlphaBlendAnimation) {
            window_->SetOpacity(0);
            SetTicker(fadeOn_, kFadeInTimer, 1, true);
        }
        window_->FrameChanged();
    } else if (alphaBlend_) {
        window_->SetOpacity(255);
    }
}

void TskSkinForm::FadeInTick() {
    SetTicker(fadeOn_, kFadeInTimer, 1, false);
    if (window_ == nullptr) return;
    const int target = FadeInTarget(alphaBlend_, AlphaBlendAnimation, alphaBlendValue_);
    if (AlphaBlendAnimation) {
        window_->ProcessMessages();
        for (int alpha : FadeInSteps(target)) window_->SetOpacity(alpha);
    } else if (target != 255) {
        window_->SetOpacity(target);
    }
    if (target == 255) window_->SetOpacity(255);
}

void TskSkinForm::SetWindowState(TskWindowState state) {
    if (state == windowState_ || window_ == nullptr) return;
    const TRect bounds = window_->BoundsRect();
    switch (state) {
        case TskWindowState::wsMaximized:
            if (restoreRect_.IsEmpty()) restoreRect_ = bounds;
            windowState_ = state;
            window_->SetBounds(
                MaximizedBounds(MaximizeOnFullScreen, window_->ScreenRect(), window_->WorkArea()));
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
            const TPoint slot =
                MinimizedSlot(window_->WorkArea(), min.X, min.Y, OtherMinimizedForms());
            window_->SetBounds(rt::Bounds(slot.X, slot.Y, min.X, min.Y));
            break;
        }
        case TskWindowState::wsNormal:
            maxRollUpState_ = false;
            windowState_ = state;
            if (!restoreRect_.IsEmpty()) window_->SetBounds(restoreRect_);
            restoreRect_ = TRect{};
            StartHoverTicker();
            break;
    }
    const TRect now = window_->BoundsRect();
    Resized(now.Width(), now.Height());
    InvalidateFrame();
}

void TskSkinForm::SetRollUpState(bool rolledUp) {
    if (rolledUp == rollUpState_ || window_ == nullptr) return;
    if (!CanChangeRollUp(borderIcons_, windowState_, rollUpState_, maxRollUpState_)) return;
    if (windowState_ == TskWindowState::wsMaximized) maxRollUpState_ = rolledUp;
    const TRect b = window_->BoundsRect();
    rollUpState_ = rolledUp;
    if (rolledUp) {
        rollUpHeight_ = b.Height();
        window_->SetBounds(rt::Bounds(b.Left, b.Top, b.Width(), MinTrackSize().Y));
    } else {
        window_->SetBounds(rt::Bounds(b.Left, b.Top, b.Width(), rollUpHeight_));
    }
    const TRect now = window_->BoundsRect();
    Resized(now.Width(), now.Height());
    InvalidateFrame();
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

}  // namespace sk
