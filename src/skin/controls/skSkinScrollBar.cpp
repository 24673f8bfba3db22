#include "skin/controls/skSkinScrollBar.h"

#include <algorithm>
#include <cstdint>

#include "skin/data/skUtils.h"

namespace sk {

namespace {

constexpr int kFirstRepeat = 500;
constexpr int kNextRepeat = 50;
constexpr int kButtonSize = 17;
constexpr int kMinThumb = 16;

}  // namespace

TskSkinScrollBar::TskSkinScrollBar(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "hscrollbar";
    SetBounds(0, 0, 200, 19);
    SetDefaultHeight(19);
}

void TskSkinScrollBar::SetKind(TskScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    // Without a skin object only the bar's thickness is fixed: 19 across, its length left alone
    // (a vertical bar given a height of 19 would shrink to one button when the skin goes).
    if (kind_ == sbVertical) {
        SetDefaultHeight(0);
        SetDefaultWidth(19);
    } else {
        SetDefaultWidth(0);
        SetDefaultHeight(19);
    }
    Invalidate();
}

void TskSkinScrollBar::SetMin(int value) {
    min_ = value;
    if (position_ < min_) position_ = min_;
    Invalidate();
}

void TskSkinScrollBar::SetMax(int value) {
    max_ = value;
    // The position keeps a whole page in range (no page: stays within Max), never below Min.
    const int top = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    if (position_ > top) position_ = top;
    if (position_ < min_) position_ = min_;
    Invalidate();
}

void TskSkinScrollBar::SetPosition(int value) {
    const int top = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    // A page larger than the range leaves no room above Min: the position stays at Min.
    value = std::max(min_, std::min(value, top));
    if (value == position_) return;
    position_ = value;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TskSkinScrollBar::SetPageSize(int value) {
    if (std::int64_t(max_) - min_ + 1 >= std::int64_t(value) + (position_ - min_))
        pageSize_ = value;
    Invalidate();
}

void TskSkinScrollBar::SetRange(int min, int max, int pageSize, int position) {
    min_ = min;
    max_ = max;
    pageSize_ = pageSize;
    const int top = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    position_ = std::max(min_, std::min(position, top));
    Invalidate();
}

void TskSkinScrollBar::SetSmallChange(int value) {
    smallChange_ = value;
    Invalidate();
}

void TskSkinScrollBar::SetLargeChange(int value) {
    largeChange_ = value;
    Invalidate();
}

void TskSkinScrollBar::SetBoth(bool value) {
    if (value == both_) return;
    both_ = value;
    const std::string name = value ? BothSkinDataName : savedSkinDataName_;
    if (value) savedSkinDataName_ = skinDataName_;
    // Sets the name and, with a skin, looks the object up again.
    SetSkinDataName(name);
    Invalidate();
}

void TskSkinScrollBar::SetBothMarkerWidth(int value) {
    if (value < 0) return;
    bothMarkerWidth_ = value;
    Invalidate();
}

void TskSkinScrollBar::SetCanFocused(bool value) {
    canFocused_ = value;
    TabStop = value;
}

rt::TTimer* TskSkinScrollBar::RepeatTimer() const {
    return timer_ && timer_->Enabled() ? timer_.get() : nullptr;
}

void TskSkinScrollBar::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    if (skinIndex_ == -1) return;
    auto* obj = dynamic_cast<const TskDataSkinScrollBarControl*>(SkinObject());
    if (obj == nullptr) {
        // Another kind of description under our name: paint the default look.
        skinIndex_ = -1;
        return;
    }
    trackArea_ = obj->TrackArea;
    upButtonRect_ = obj->UpButtonRect;
    activeUpButtonRect_ = obj->ActiveUpButtonRect;
    downUpButtonRect_ =
        obj->DownUpButtonRect.IsEmpty() ? activeUpButtonRect_ : obj->DownUpButtonRect;
    downButtonRect_ = obj->DownButtonRect;
    activeDownButtonRect_ = obj->ActiveDownButtonRect;
    downDownButtonRect_ =
        obj->DownDownButtonRect.IsEmpty() ? activeDownButtonRect_ : obj->DownDownButtonRect;
    thumbRect_ = obj->ThumbRect;
    activeThumbRect_ = obj->ActiveThumbRect.IsEmpty() ? thumbRect_ : obj->ActiveThumbRect;
    downThumbRect_ = obj->DownThumbRect.IsEmpty() ? activeThumbRect_ : obj->DownThumbRect;
    thumbOffset1_ = obj->ThumbOffset1;
    thumbOffset2_ = obj->ThumbOffset2;
    glyphRect_ = obj->GlyphRect;
    activeGlyphRect_ = obj->ActiveGlyphRect.IsEmpty() ? glyphRect_ : obj->ActiveGlyphRect;
    downGlyphRect_ = obj->DownGlyphRect.IsEmpty() ? activeGlyphRect_ : obj->DownGlyphRect;
}

void TskSkinScrollBar::PlaceThumb(int length, int across) {
    const bool v = Vertical();
    const int ts = v ? trackRect_.Top : trackRect_.Left;
    const int te = v ? trackRect_.Bottom : trackRect_.Right;
    const int half = length / 2;
    trackStart_ = ts + half;
    trackEnd_ = te - half;
    double f;
    if (pageSize_ == 0) {
        f = max_ == min_ ? 0.0 : (double(position_) - min_) / (double(max_) - min_);
    } else {
        const double span = double(max_) - pageSize_ + 1 - min_;
        f = span > 0 ? (double(position_) - min_) / span : (v ? 0.0 : 1.0);
    }
    f = std::clamp(f, 0.0, 1.0);
    rt::TRect& thumb = parts_[kThumb].Rect;
    if (trackEnd_ < trackStart_) {
        // The track is shorter than the thumb: no thumb to show, drag or page past.
        thumbOffset_ = 0;
        thumb = v ? rt::Rect(trackRect_.Left, ts, trackRect_.Right, ts)
                  : rt::Rect(ts, trackRect_.Top, ts, trackRect_.Bottom);
        return;
    }
    thumbOffset_ = RoundEven((trackEnd_ - trackStart_) * f);
    const int a = ts + thumbOffset_, b = a + 2 * half;
    if (v) {
        const int left =
            across < 0 ? trackRect_.Left : trackRect_.Left + trackRect_.Width() / 2 - across / 2;
        thumb = rt::Rect(left, a, across < 0 ? trackRect_.Right : left + across, b);
    } else {
        const int top =
            across < 0 ? trackRect_.Top : trackRect_.Top + trackRect_.Height() / 2 - across / 2;
        thumb = rt::Rect(a, top, b, across < 0 ? trackRect_.Bottom : top + across);
    }
}

void TskSkinScrollBar::LayoutParts() {
    FindSkinObject();
    const bool v = Vertical();
    // The thumb's share of the track with a page size.
    auto pageLength = [&](int trackLength) {
        const double range = double(max_) - min_ + 1;
        return range == 0 ? 0 : RoundEven(double(trackLength) * pageSize_ / range);
    };
    if (skinIndex_ != -1) {
        const int d = v ? Height() - skinRect_.Height() : Width() - skinRect_.Width();
        trackRect_ = trackArea_;
        (v ? trackRect_.Bottom : trackRect_.Right) += d;
        // A button in the skin's fixed far end moves with that end.
        auto place = [&](const rt::TRect& r) {
            if (v) return r.Top >= corners_.LeftBottom.Y ? rt::OffsetRect(r, 0, d) : r;
            return r.Left >= corners_.RightTop.X ? rt::OffsetRect(r, d, 0) : r;
        };
        parts_[kUpButton].Rect = place(upButtonRect_);
        parts_[kDownButton].Rect = place(downButtonRect_);
        int length = v ? thumbRect_.Height() : thumbRect_.Width();
        if (pageSize_ > 0)
            length = std::max(length, pageLength(v ? trackRect_.Height() : trackRect_.Width()));
        PlaceThumb(length, v ? thumbRect_.Width() : thumbRect_.Height());
        return;
    }
    const int w = both_ && !v ? Width() - bothMarkerWidth_ : Width();
    const int h = Height();
    if (v) {
        parts_[kDownButton].Rect = rt::Rect(1, 1, w - 1, kButtonSize);
        parts_[kUpButton].Rect = rt::Rect(1, h - kButtonSize, w - 1, h - 1);
        trackRect_ = rt::Rect(1, kButtonSize, w - 1, h - kButtonSize);
    } else {
        parts_[kDownButton].Rect = rt::Rect(1, 1, kButtonSize, h - 1);
        parts_[kUpButton].Rect = rt::Rect(w - kButtonSize, 1, w - 1, h - 1);
        trackRect_ = rt::Rect(kButtonSize, 1, w - kButtonSize, h - 1);
    }
    int length = kMinThumb;
    if (pageSize_ > 0)
        length = std::max(kMinThumb, pageLength(v ? trackRect_.Height() : trackRect_.Width()));
    PlaceThumb(length, -1);
}

int TskSkinScrollBar::PartAt(int x, int y) const {
    const rt::TPoint p = rt::Point(x, y);
    for (int i : {int(kThumb), int(kUpButton), int(kDownButton)})
        if (parts_[i].Rect.Contains(p)) return i;
    return -1;
}

int TskSkinScrollBar::DragValue(int coordinate) const {
    const int p = grabOffset_ + (coordinate - grabCoord_);
    const int span = trackEnd_ - trackStart_;
    const double q = span > 0 ? std::clamp(double(p) / span, 0.0, 1.0) : 0.0;
    const double range = pageSize_ > 0 ? double(max_) - min_ - pageSize_ + 1 : double(max_) - min_;
    return int(std::int64_t(min_) + RoundEven(range * q));
}

bool TskSkinScrollBar::BeforeThumb(int x, int y) const {
    const rt::TRect& t = parts_[kThumb].Rect;
    return Vertical() ? y < t.Top : x < t.Left;
}

bool TskSkinScrollBar::BeyondThumb(int x, int y) const {
    const rt::TRect& t = parts_[kThumb].Rect;
    return Vertical() ? y >= t.Bottom : x >= t.Right;
}

void TskSkinScrollBar::StepDown() {
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(position_ - smallChange_);
}

void TskSkinScrollBar::StepUp() {
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(position_ + smallChange_);
}

void TskSkinScrollBar::StartTimer(int interval) {
    if (!timer_) {
        timer_ = std::make_unique<rt::TTimer>(nullptr);
        timer_->OnTimer = [this](rt::TComponent*) { TimerTick(); };
    }
    timer_->SetEnabled(false);
    timer_->SetInterval(interval);
    timer_->SetEnabled(true);
}

void TskSkinScrollBar::StopTimer() {
    if (timer_) timer_->SetEnabled(false);
    repeatState_ = rsNone;
}

void TskSkinScrollBar::TimerTick() {
    if (firstTick_) {
        firstTick_ = false;
        StartTimer(kNextRepeat);
        return;
    }
    switch (repeatState_) {
        case rsDownButton:
            StepDown();
            break;
        case rsUpButton:
            StepUp();
            break;
        case rsPageBack:
        case rsPageOn:
            // Pages until the thumb has reached the cursor.
            LayoutParts();
            UpdateHover(lastMouse_.X, lastMouse_.Y);
            if (repeatState_ == rsPageBack && BeforeThumb(lastMouse_.X, lastMouse_.Y))
                SetPosition(position_ - largeChange_);
            else if (repeatState_ == rsPageOn && BeyondThumb(lastMouse_.X, lastMouse_.Y))
                SetPosition(position_ + largeChange_);
            else
                StopTimer();
            break;
        case rsNone:
            StopTimer();
            break;
    }
}

void TskSkinScrollBar::UpdateHover(int x, int y) {
    int part = PartAt(x, y);
    if (pressedPart_ != -1 && part != pressedPart_) part = -1;
    if (part == hoverPart_) return;
    const bool buttonRepeats = repeatState_ == rsDownButton || repeatState_ == rsUpButton;
    if (hoverPart_ != -1) {
        parts_[hoverPart_].CursorInside = false;
        // Off the held button the repeat pauses.
        if (hoverPart_ == pressedPart_ && buttonRepeats && timer_) timer_->SetEnabled(false);
    }
    if (part != -1) {
        parts_[part].CursorInside = true;
        if (part == pressedPart_ && buttonRepeats) {
            firstTick_ = false;
            StartTimer(kNextRepeat);
        }
    }
    hoverPart_ = part;
    Invalidate();
}

void TskSkinScrollBar::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinCustomControl::MouseDown(button, shift, x, y);
    if (button != rt::TMouseButton::mbLeft) return;
    mouseDown_ = true;
    LayoutParts();
    repeatState_ = rsNone;
    firstTick_ = true;
    lastMouse_ = rt::Point(x, y);
    UpdateHover(x, y);
    const int part = PartAt(x, y);
    if (part == kUpButton || part == kDownButton) {
        pressedPart_ = part;
        parts_[part].Down = true;
        Invalidate();
        if (part == kUpButton) {
            StepUp();
            repeatState_ = rsUpButton;
        } else {
            StepDown();
            repeatState_ = rsDownButton;
        }
        StartTimer(kFirstRepeat);
    } else if (part == kThumb) {
        pressedPart_ = kThumb;
        parts_[kThumb].Down = true;
        grabCoord_ = Vertical() ? y : x;
        grabOffset_ = thumbOffset_;
        thumbDragging_ = true;
        Invalidate();
    } else if (trackRect_.Contains(rt::Point(x, y))) {
        if (BeforeThumb(x, y)) {
            SetPosition(position_ - largeChange_);
            repeatState_ = rsPageBack;
        } else {
            SetPosition(position_ + largeChange_);
            repeatState_ = rsPageOn;
        }
        StartTimer(kFirstRepeat);
    }
}

void TskSkinScrollBar::MouseMove(rt::TShiftState shift, int x, int y) {
    lastMouse_ = rt::Point(x, y);
    LayoutParts();
    UpdateHover(x, y);
    if (thumbDragging_) SetPosition(DragValue(Vertical() ? y : x));
    TskSkinCustomControl::MouseMove(shift, x, y);
}

void TskSkinScrollBar::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinCustomControl::MouseUp(button, shift, x, y);
    if (button != rt::TMouseButton::mbLeft || !mouseDown_) return;
    mouseDown_ = false;
    if (repeatState_ == rsPageBack || repeatState_ == rsPageOn) StopTimer();
    const int pressed = pressedPart_;
    if (pressed != -1) {
        parts_[pressed].Down = false;
        if (pressed != hoverPart_) parts_[pressed].CursorInside = false;
        Invalidate();
        if (pressed == kThumb)
            thumbDragging_ = false;
        else
            StopTimer();
    }
    pressedPart_ = -1;
    if (OnLastChange && (pressed == kThumb || pressed == -1)) OnLastChange(this);
    LayoutParts();
    UpdateHover(x, y);
}

void TskSkinScrollBar::MouseLeave() {
    TskSkinCustomControl::MouseLeave();
    if (hoverPart_ != -1 && pressedPart_ == -1 && !thumbDragging_) {
        parts_[hoverPart_].CursorInside = false;
        hoverPart_ = -1;
        Invalidate();
    }
    if (mouseDown_ && repeatState_ == rsPageOn) StopTimer();
}

void TskSkinScrollBar::KeyDown(int& key, rt::TShiftState shift) {
    TskSkinCustomControl::KeyDown(key, shift);
    if (!canFocused_) return;
    if (key == rt::VK_LEFT || key == rt::VK_UP)
        SetPosition(position_ - smallChange_);
    else if (key == rt::VK_RIGHT || key == rt::VK_DOWN)
        SetPosition(position_ + smallChange_);
}

void TskSkinScrollBar::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_GETDLGCODE:
            m.Result = canFocused_ ? rt::DLGC_WANTARROWS : 0;
            return;
        case rt::WM_MOUSEWHEEL: {
            if (!canFocused_ || !Focused()) return;
            const int delta =
                std::int16_t(std::uint16_t((std::uintptr_t(m.WParam) >> 16) & 0xFFFF));
            SetPosition(delta > 0 ? position_ - smallChange_ : position_ + smallChange_);
            return;
        }
        case rt::WM_LBUTTONDOWN:
        case rt::WM_LBUTTONDBLCLK:
            if (canFocused_ && Enabled() && !Focused()) {
                SetFocus();
                if (!Focused()) return;
            }
            break;
        case rt::WM_SETFOCUS:
        case rt::WM_KILLFOCUS:
            TskSkinCustomControl::WndProc(m);
            Invalidate();
            return;
        default:
            break;
    }
    TskSkinCustomControl::WndProc(m);
}

void TskSkinScrollBar::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, Width(), Height()));
    LayoutParts();
    const bool v = Vertical();
    for (int i : {int(kUpButton), int(kDownButton)}) {
        const TPart& p = parts_[i];
        PaintDefaultButtonFace(c, p.Rect, p.Down && p.CursorInside, p.CursorInside);
        const int direction = i == kUpButton ? (v ? 4 : 2) : (v ? 3 : 1);
        DrawArrowImage(c, p.Rect, rt::clBlack, direction);
    }
    const TPart& t = parts_[kThumb];
    if (Enabled() && !t.Rect.IsEmpty())
        PaintDefaultButtonFace(c, t.Rect, t.Down || (canFocused_ && Focused()), t.CursorInside);
}

void TskSkinScrollBar::PaintSkinned(rt::TBitmap& buffer) {
    ComposeSkinImage(buffer, skinRect_);
    LayoutParts();
    if (skinBitmap_ == nullptr) return;
    rt::TCanvas& c = buffer.Canvas();
    const rt::TBitmap& pic = *skinBitmap_;
    auto drawButton = [&](const TPart& p, const rt::TRect& active, const rt::TRect& down) {
        const rt::TRect& src = p.Down && p.CursorInside ? down
                               : p.CursorInside         ? active
                                                        : rt::TRect{};
        if (src.IsEmpty()) return;
        c.CopyRect(rt::Bounds(p.Rect.Left, p.Rect.Top, src.Width(), src.Height()), pic, src);
    };
    drawButton(parts_[kUpButton], activeUpButtonRect_, downUpButtonRect_);
    drawButton(parts_[kDownButton], activeDownButtonRect_, downDownButtonRect_);
    const TPart& t = parts_[kThumb];
    if (!Enabled() || t.Rect.IsEmpty()) return;
    const bool pressedLook = t.Down || (canFocused_ && Focused());
    const rt::TRect& src = pressedLook      ? downThumbRect_
                           : t.CursorInside ? activeThumbRect_
                                            : thumbRect_;
    const rt::TRect& glyph = pressedLook      ? downGlyphRect_
                             : t.CursorInside ? activeGlyphRect_
                                              : glyphRect_;
    if (!src.IsEmpty()) {
        if (pageSize_ > 0) {
            // Stretched to the page's length: fixed ends, the middle tiled.
            rt::TBitmap strip;
            if (Vertical())
                CreateVSkinImage(thumbOffset1_, thumbOffset2_, strip, t.Rect.Height(), src, pic);
            else
                CreateHSkinImage(thumbOffset1_, thumbOffset2_, strip, t.Rect.Width(), src, pic);
            c.Draw(t.Rect.Left, t.Rect.Top, strip);
        } else {
            c.CopyRect(t.Rect, pic, src);
        }
    }
    if (!glyph.IsEmpty()) {
        const int x = t.Rect.Left + t.Rect.Width() / 2 - glyph.Width() / 2;
        const int y = t.Rect.Top + t.Rect.Height() / 2 - glyph.Height() / 2;
        c.CopyRect(rt::Bounds(x, y, glyph.Width(), glyph.Height()), pic, glyph);
    }
}

}  // namespace sk
