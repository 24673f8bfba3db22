// Hints: the plain hint window, and when the application shows and hides hints.
#include "runtime/Hints.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "runtime/Screen.h"

namespace rt {

namespace {

constexpr unsigned kHintTextFlags = DT_LEFT | DT_NOPREFIX;
// Between the window's edge and the text of the plain look.
constexpr int kPlainHintInset = 2;

// The control whose hint shows for the control under the mouse: the nearest one up the parent
// chain that has a hint, when it wants it shown.
TControl* HintTarget(TControl* control) {
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (!c->Hint.empty()) return c->ShowHint ? c : nullptr;
    return nullptr;
}

}  // namespace

TPoint PlainHintSize(const std::string& text, const TFont& font) {
    TBitmap probe(1, 1);
    probe.Canvas().Font = font;
    TRect r;
    probe.Canvas().DrawText(text, r, kHintTextFlags | DT_CALCRECT);
    return {r.Width() + 2 * kPlainHintInset, r.Height() + 2 * kPlainHintInset};
}

void PaintPlainHint(TCanvas& canvas, int width, int height, const std::string& text,
                    const TFont& font) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clInfoBk;
    canvas.FillRect(Rect(0, 0, width, height));
    canvas.Brush.Color = clBtnShadow;
    canvas.FrameRect(Rect(0, 0, width, height));
    canvas.Font = font;
    canvas.Font.Color = clInfoText;
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect r =
        Rect(kPlainHintInset, kPlainHintInset, width - kPlainHintInset, height - kPlainHintInset);
    canvas.DrawText(text, r, kHintTextFlags);
}

THintWindow::THintWindow(TComponent* owner) : TPopupWindow(owner) {}

TRect THintWindow::CalcHintRect(int, const std::string& hint) {
    const TPoint s = PlainHintSize(hint, Font());
    return Rect(0, 0, s.X, s.Y);
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    SetCaption(hint);
    const TRect screen = ScreenRect();
    int x = rect.Left, y = rect.Top;
    if (rect.Right > screen.Right) x = std::max(screen.Left, screen.Right - rect.Width());
    if (rect.Bottom > screen.Bottom) y = std::max(screen.Top, screen.Bottom - rect.Height());
    SetBounds(x, y, rect.Width(), rect.Height());
    Show();
    Invalidate();
}

void THintWindow::Paint(TCanvas& canvas) {
    PaintPlainHint(canvas, Width(), Height(), Caption(), Font());
}

// The application's side: the hint window and the pauses.

void TApplication::SetShowHint(bool value) {
    if (showHint_ == value) return;
    showHint_ = value;
    if (!value) {
        HintMouseLeft();
        hintWindow_.reset();
    } else {
        hintWindow_ =
            hintWindowClass_ ? hintWindowClass_() : std::make_unique<THintWindow>(nullptr);
    }
}

void TApplication::SetHintWindowClass(THintWindowClass make) { hintWindowClass_ = std::move(make); }

THintWindow* TApplication::HintWindow() {
    if (showHint_ && hintWindow_ == nullptr)
        hintWindow_ =
            hintWindowClass_ ? hintWindowClass_() : std::make_unique<THintWindow>(nullptr);
    return hintWindow_.get();
}

void TApplication::StartHintTimer(int ms) {
    if (hintTimer_ == nullptr) {
        hintTimer_.reset(Make<TTimer>(nullptr));
        hintTimer_->OnTimer = [this](TComponent*) { HintTimerFired(); };
    }
    hintTimer_->SetEnabled(false);
    hintTimer_->SetInterval(std::max(1, ms));
    hintTimer_->SetEnabled(true);
}

void TApplication::StopHintTimer() {
    if (hintTimer_ != nullptr) hintTimer_->SetEnabled(false);
}

void TApplication::HideHintWindow() {
    if (hintWindow_ != nullptr && hintWindow_->Visible()) hintWindow_->ReleaseHint();
}

void TApplication::HintMouseMove(TControl* control) {
    TControl* target = showHint_ ? HintTarget(control) : nullptr;
    if (target != hintControl_) {
        // Moving on from a shown hint to the next control shows its hint after the short pause.
        const bool wasShown = hintPhase_ == THintPhase::Shown;
        HideHintWindow();
        hintControl_ = target;
        if (target == nullptr) {
            hintPhase_ = THintPhase::Idle;
            StopHintTimer();
            return;
        }
        hintPhase_ = THintPhase::Waiting;
        hintShortPause_ = wasShown;
    }
    // The pause counts from the last move: the hint waits until the mouse rests.
    if (hintPhase_ == THintPhase::Waiting)
        StartHintTimer(hintShortPause_ ? HintShortPause : HintPause);
}

void TApplication::HintTimerFired() {
    if (hintPhase_ == THintPhase::Waiting) {
        if (!ActivateHint(GetCursorPos())) {
            hintPhase_ = THintPhase::Done;
            StopHintTimer();
        }
        return;
    }
    HideHintWindow();
    StopHintTimer();
    if (hintPhase_ == THintPhase::Shown) hintPhase_ = THintPhase::Done;
}

bool TApplication::ActivateHint(TPoint cursorPos) {
    TControl* control = showHint_ ? HintTarget(WindowFromPoint(cursorPos)) : nullptr;
    if (control == nullptr) return false;
    THintInfo info;
    info.HintControl = control;
    info.HintPos = {cursorPos.X, cursorPos.Y + CursorHintOffset()};
    info.HintMaxWidth = ScreenRect().Width();
    info.HintStr = control->Hint;
    bool canShow = true;
    if (OnShowHint) GuardedCall([&] { OnShowHint(info.HintStr, canShow, info); });
    THintWindow* window = HintWindow();
    if (!canShow || info.HintStr.empty() || window == nullptr) return false;
    const TRect size = window->CalcHintRect(info.HintMaxWidth, info.HintStr);
    window->ActivateHint(Bounds(info.HintPos.X, info.HintPos.Y, size.Width(), size.Height()),
                         info.HintStr);
    hintControl_ = control;
    hintPhase_ = THintPhase::Shown;
    StartHintTimer(HintHidePause);
    return true;
}

void TApplication::CancelHint() {
    HideHintWindow();
    StopHintTimer();
    if (hintControl_ != nullptr) hintPhase_ = THintPhase::Done;
}

void TApplication::HintMouseLeft() {
    HideHintWindow();
    StopHintTimer();
    hintControl_ = nullptr;
    hintPhase_ = THintPhase::Idle;
}

}  // namespace rt
