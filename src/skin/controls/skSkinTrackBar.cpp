#include "skin/controls/skSkinTrackBar.h"

#include <algorithm>
#include <cstdint>

#include "skin/data/skUtils.h"

namespace sk {

TskSkinTrackBar::TskSkinTrackBar(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "htrackbar";
    SetBounds(0, 0, 100, 20);
}

void TskSkinTrackBar::SetCanFocused(bool value) {
    canFocused_ = value;
    TabStop = value;
}

void TskSkinTrackBar::SetMinValue(int value) {
    range_.SetMin(value, TskRange::EndRule::FollowThatEnd);
    Invalidate();
}

void TskSkinTrackBar::SetMaxValue(int value) {
    range_.SetMax(value, TskRange::EndRule::FollowThatEnd);
    Invalidate();
}

void TskSkinTrackBar::SetValue(int value) {
    if (!range_.SetValue(value)) return;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TskSkinTrackBar::SetVertical(bool value) {
    vertical_ = value;
    Invalidate();
}

void TskSkinTrackBar::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    trackArea_ = buttonRect_ = activeButtonRect_ = rt::TRect{};
    if (skinIndex_ == -1) return;
    if (auto* obj = dynamic_cast<const TskDataSkinTrackBarControl*>(SkinObject())) {
        trackArea_ = obj->TrackArea;
        buttonRect_ = obj->ButtonRect;
        activeButtonRect_ =
            obj->ActiveButtonRect.IsEmpty() ? obj->ButtonRect : obj->ActiveButtonRect;
        vertical_ = obj->Vertical;
    }
}

void TskSkinTrackBar::FitSize(int& width, int& height) {
    TskSkinCustomControl::FitSize(width, height);
    if (skinIndex_ == -1) return;
    fitTrackArea_ = trackArea_;
    if (sizingMode_ == smBoth || sizingMode_ == smHorizontal || sizingMode_ == smVertical) {
        if (vertical_)
            fitTrackArea_.Bottom += height - skinRect_.Height();
        else
            fitTrackArea_.Right += width - skinRect_.Width();
    }
}

void TskSkinTrackBar::ComputeThumb(const rt::TRect& t, int bw, int bh) {
    const double f = range_.Fraction();
    if (vertical_) {
        trackStart_ = t.Top + bh / 2;
        trackEnd_ = t.Bottom - bh / 2;
        thumbOffset_ = RoundEven((trackEnd_ - trackStart_) * f);
        const int top = trackEnd_ - thumbOffset_ - bh / 2;
        const int left = t.Left + t.Width() / 2 - bw / 2;
        thumbBox_ = rt::Bounds(left, top, bw, bh);
    } else {
        trackStart_ = t.Left + bw / 2;
        trackEnd_ = t.Right - bw / 2;
        thumbOffset_ = RoundEven((trackEnd_ - trackStart_) * f);
        const int left = trackStart_ + thumbOffset_ - bw / 2;
        const int top = t.Top + t.Height() / 2 - bh / 2;
        thumbBox_ = rt::Bounds(left, top, bw, bh);
    }
}

void TskSkinTrackBar::UpdateThumbGeometry() {
    FindSkinObject();
    if (skinIndex_ != -1) {
        int w = Width(), h = Height();
        FitSize(w, h);
        ComputeThumb(fitTrackArea_, buttonRect_.Width(), buttonRect_.Height());
        return;
    }
    const rt::TRect& in = DefaultTrackInsets;
    const rt::TRect track = rt::Rect(in.Left, in.Top, Width() - in.Right, Height() - in.Bottom);
    int bw, bh;
    if (vertical_) {
        bw = track.Width();
        bh = DefaultThumbLength > 0 ? DefaultThumbLength : bw / 2;
    } else {
        bh = track.Height();
        bw = DefaultThumbLength > 0 ? DefaultThumbLength : bh / 2;
    }
    ComputeThumb(track, bw, bh);
}

int TskSkinTrackBar::ValueForOffset(int p) const {
    const int span = trackEnd_ - trackStart_;
    double q = span > 0 ? double(p) / double(span) : 0.0;
    q = std::clamp(q, 0.0, 1.0);
    const double range = double(range_.Max) - double(range_.Min);
    return int(std::int64_t(range_.Min) + RoundEven(range * q));
}

bool TskSkinTrackBar::ShowsActiveThumb() const {
    return thumbDragging_ || (canFocused_ && Focused());
}

void TskSkinTrackBar::PaintSkinned(rt::TBitmap& buffer) {
    ComposeSkinImage(buffer, skinRect_);
    ComputeThumb(fitTrackArea_, buttonRect_.Width(), buttonRect_.Height());
    if (skinBitmap_ == nullptr || buttonRect_.IsEmpty()) return;
    const rt::TRect& src = ShowsActiveThumb() ? activeButtonRect_ : buttonRect_;
    buffer.Canvas().CopyRect(rt::Bounds(thumbBox_.Left, thumbBox_.Top, src.Width(), src.Height()),
                             *skinBitmap_, src);
}

void TskSkinTrackBar::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const int w = Width(), h = Height();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, w, h));
    c.Brush.Color = rt::clBtnShadow;
    c.FrameRect(rt::Rect(0, 0, w, h));
    const rt::TRect groove = vertical_ ? rt::Rect(w / 2 - 1, 4, w / 2 + 1, h - 4)
                                       : rt::Rect(4, h / 2 - 1, w - 4, h / 2 + 1);
    DrawFrame3D(c, groove, rt::clBtnShadow, rt::clBtnHighlight);
    UpdateThumbGeometry();
    rt::TColor frame = rt::clBtnShadow, fill = rt::clBtnFace;
    if (thumbDragging_) {
        frame = rt::kDefaultFrame;
        fill = rt::kDefaultPressed;
    } else if (canFocused_ && Focused()) {
        frame = rt::kDefaultFrame;
        fill = rt::kDefaultHot;
    }
    c.Brush.Color = fill;
    c.FillRect(thumbBox_);
    c.Brush.Color = frame;
    c.FrameRect(thumbBox_);
    // A resting thumb stands out of the face: light top-left, shadow bottom-right inside its
    // frame.
    if (!thumbDragging_ && !(canFocused_ && Focused()) && thumbBox_.Width() > 4 &&
        thumbBox_.Height() > 4) {
        const rt::TRect in = rt::Rect(thumbBox_.Left + 1, thumbBox_.Top + 1, thumbBox_.Right - 1,
                                      thumbBox_.Bottom - 1);
        DrawFrame3D(c, in, rt::clBtnHighlight, rt::clBtnShadow);
    }
}

void TskSkinTrackBar::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinCustomControl::MouseDown(button, shift, x, y);
    if (!MouseSupport || button != rt::TMouseButton::mbLeft) return;
    UpdateThumbGeometry();
    // The thumb's right and bottom edges count as inside.
    if (x >= thumbBox_.Left && x <= thumbBox_.Right && y >= thumbBox_.Top &&
        y <= thumbBox_.Bottom) {
        grabPos_ = vertical_ ? y : x;
        grabOffset_ = thumbOffset_;
        thumbDragging_ = true;
        Invalidate();
    }
}

void TskSkinTrackBar::MouseMove(rt::TShiftState shift, int x, int y) {
    if (MouseSupport && thumbDragging_) {
        const int p = vertical_ ? grabPos_ + grabOffset_ - y : x + grabOffset_ - grabPos_;
        SetValue(ValueForOffset(p));
    }
    TskSkinCustomControl::MouseMove(shift, x, y);
}

void TskSkinTrackBar::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinCustomControl::MouseUp(button, shift, x, y);
    if (!MouseSupport || button != rt::TMouseButton::mbLeft) return;
    if (thumbDragging_) {
        thumbDragging_ = false;
        Invalidate();
        return;
    }
    if (!JumpWhenClick) return;
    UpdateThumbGeometry();
    int e = vertical_ ? DefaultTrackInsets.Bottom : DefaultTrackInsets.Left;
    if (skinIndex_ != -1) e = vertical_ ? fitTrackArea_.Top : fitTrackArea_.Left;
    const int p =
        vertical_ ? Height() - y - thumbBox_.Height() / 2 - e : x - thumbBox_.Width() / 2 - e;
    SetValue(ValueForOffset(p));
}

void TskSkinTrackBar::KeyDown(int& key, rt::TShiftState shift) {
    TskSkinCustomControl::KeyDown(key, shift);
    if (!canFocused_) return;
    if (key == rt::VK_LEFT || key == rt::VK_DOWN)
        SetValue(range_.Value - 1);
    else if (key == rt::VK_UP || key == rt::VK_RIGHT)
        SetValue(range_.Value + 1);
}

void TskSkinTrackBar::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_MOUSEWHEEL: {
            if (!canFocused_ || !Focused()) return;
            const int delta =
                std::int16_t(std::uint16_t((std::uintptr_t(m.WParam) >> 16) & 0xFFFF));
            if (vertical_)
                SetValue(delta > 0 ? range_.Value + 1 : range_.Value - 1);
            else
                SetValue(delta > 0 ? range_.Value - 1 : range_.Value + 1);
            return;
        }
        case rt::WM_SETFOCUS:
        case rt::WM_KILLFOCUS:
            TskSkinCustomControl::WndProc(m);
            Invalidate();
            return;
        default:
            TskSkinCustomControl::WndProc(m);
            return;
    }
}

}  // namespace sk
