#include "runtime/StdCtrls.h"

#include <algorithm>
#include <cmath>

namespace rt {

void PaintDefaultFace(TCanvas& canvas, const TRect& r, bool hot, bool pressed) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = pressed ? kDefaultPressed : hot ? kDefaultHot : clBtnFace;
    canvas.FillRect(r);
    if (hot || pressed) {
        canvas.Brush.Color = kDefaultFrame;
        canvas.FrameRect(r);
    }
}

std::string StripAccelerators(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 13); }

void TLabel::AdjustSize() {
    if (!AutoSize) return;
    TBitmap probe(1, 1);
    probe.Canvas().Font = Font();
    std::string text = StripAccelerators(Caption());
    SetBounds(Left(), Top(), probe.Canvas().TextWidth(text), probe.Canvas().TextHeight(text));
}

void TLabel::TextChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    canvas.Font = Font();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(0, 0, StripAccelerators(Caption()));
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (BevelOuter == TPanelBevel::bvNone || r.IsEmpty()) return;
    TColor tl = BevelOuter == TPanelBevel::bvLowered ? clBtnShadow : clBtnHighlight;
    TColor br = BevelOuter == TPanelBevel::bvLowered ? clBtnHighlight : clBtnShadow;
    canvas.Brush.Color = tl;
    canvas.FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    canvas.FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    canvas.Brush.Color = br;
    canvas.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    canvas.FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const TBitmap& b) {
    picture_ = b;
    Invalidate();
}

void TImage::LoadFromFile(const std::string& path) {
    TBitmap b;
    LoadPictureFile(path, b);
    SetPicture(b);
}

void TImage::Paint(TCanvas& canvas) {
    canvas.Brush.Color = Parent() != nullptr ? Parent()->Color() : Color();
    canvas.FillRect(ClientRect());
    if (picture_.Empty()) return;
    if (Stretch)
        canvas.StretchDraw(ClientRect(), picture_);
    else
        canvas.Draw(0, 0, picture_);
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 65); }

void TShape::Paint(TCanvas& canvas) {
    canvas.Brush.Color = BrushColor;
    canvas.Pen.Color = PenColor;
    canvas.Rectangle(ClientRect());
}

TTrackBar::TTrackBar(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 150, 25); }

void TTrackBar::SetMin(int v) {
    min_ = v;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
    Invalidate();
}

void TTrackBar::SetMax(int v) {
    max_ = v;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
    Invalidate();
}

void TTrackBar::SetPosition(int v) {
    v = std::clamp(v, min_, max_);
    if (v == position_) return;
    position_ = v;
    Invalidate();
    if (OnChange) OnChange(this);
}

// Track T = (2, 2, width - 2, height - 2); the thumb is (height - 4) / 2 wide and its centre
// travels from T.left + bw/2 to T.right - bw/2. Offsets round half to even.
TRect TTrackBar::ThumbRect() const {
    int bh = std::max(0, Height() - 4), bw = bh / 2;
    int trackStart = 2 + bw / 2, trackEnd = Width() - 2 - bw / 2;
    double f = max_ != min_ ? double(position_ - min_) / double(max_ - min_) : 0.0;
    int offset = int(std::nearbyint((trackEnd - trackStart) * f));
    int left = trackStart + offset - bw / 2;
    int top = 2 + (Height() - 4) / 2 - bh / 2;
    return Bounds(left, top, bw, bh);
}

int TTrackBar::PositionAt(int p) const {
    int bw = std::max(0, Height() - 4) / 2;
    int travel = (Width() - 2 - bw / 2) - (2 + bw / 2);
    double q = travel > 0 ? double(p) / travel : 0.0;
    q = std::clamp(q, 0.0, 1.0);
    return min_ + int(std::nearbyint((max_ - min_) * q));
}

void TTrackBar::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    int mid = Height() / 2;
    canvas.Brush.Color = clBtnShadow;
    canvas.FillRect(Rect(2, mid - 1, Width() - 2, mid));
    canvas.Brush.Color = clBtnHighlight;
    canvas.FillRect(Rect(2, mid, Width() - 2, mid + 1));
    TRect t = ThumbRect();
    PaintDefaultFace(canvas, t, false, dragging_);
    canvas.Brush.Color = kDefaultFrame;
    canvas.FrameRect(t);
}

void TTrackBar::MouseDown(TMouseButton button, TShiftState, int x, int) {
    if (button != TMouseButton::mbLeft) return;
    TRect t = ThumbRect();
    if (x >= t.Left && x <= t.Right) {
        dragging_ = true;
        int bw = std::max(0, Height() - 4) / 2;
        // Remember where the grab began relative to the thumb's travel.
        dragOffset_ = x - (t.Left - (2 + bw / 2) + bw / 2);
        Invalidate();
    }
}

void TTrackBar::MouseMove(TShiftState, int x, int) {
    if (dragging_) SetPosition(PositionAt(x - dragOffset_));
}

void TTrackBar::MouseUp(TMouseButton, TShiftState, int, int) {
    if (!dragging_) return;
    dragging_ = false;
    Invalidate();
}

void TTrackBar::KeyDown(int& key, TShiftState shift) {
    int page = std::max(1, (max_ - min_) / 10);
    switch (key) {
        case VK_LEFT:
        case VK_UP: SetPosition(position_ - 1); break;
        case VK_RIGHT:
        case VK_DOWN: SetPosition(position_ + 1); break;
        case VK_PRIOR: SetPosition(position_ - page); break;
        case VK_NEXT: SetPosition(position_ + page); break;
        case VK_HOME: SetPosition(min_); break;
        case VK_END: SetPosition(max_); break;
        default: TCustomControl::KeyDown(key, shift); break;
    }
}

TGauge::TGauge(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 100, 17); }

void TGauge::SetValue(int v) {
    v = std::clamp(v, MinValue, std::max(MinValue, MaxValue));
    if (v == value_) return;
    value_ = v;
    Repaint();
}

void TGauge::SetProgressText(const std::string& t) {
    progressText_ = t;
    Invalidate();
}

void TGauge::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    canvas.Brush.Color = kDefaultFrame;
    canvas.FrameRect(r);
    int range = MaxValue - MinValue;
    int inner = std::max(0, r.Width() - 2);
    int w = range > 0 ? int(std::int64_t(inner) * (value_ - MinValue) / range) : 0;
    canvas.Brush.Color = kDefaultPressed;
    canvas.FillRect(Rect(1, 1, 1 + w, r.Bottom - 1));
    std::string text;
    if (ShowProgressText) text = progressText_;
    if (ShowPercent && range > 0) text += std::to_string(100 * (value_ - MinValue) / range) + "%";
    if (text.empty()) return;
    canvas.Font = Font();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut((r.Width() - canvas.TextWidth(text)) / 2, (r.Height() - canvas.TextHeight(text)) / 2,
                   text);
    canvas.Brush.Style = TBrushStyle::bsSolid;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::Click() {
    if (!Enabled()) return;
    if (Action != nullptr) {
        Action->Execute();
        return;
    }
    TGraphicControl::Click();
}

void TSpeedButton::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    bool enabled = Enabled();
    PaintDefaultFace(canvas, r, enabled && hot_, enabled && down_);
    std::string text = StripAccelerators(Caption());
    canvas.Font = Font();
    if (!enabled) canvas.Font.Color = clGrayText;
    int tw = text.empty() ? 0 : canvas.TextWidth(text);
    int gw = glyph_.Empty() ? 0 : 16;
    int gap = gw > 0 && tw > 0 ? 4 : 0;
    int x = (r.Width() - (gw + gap + tw)) / 2 + (down_ ? 1 : 0);
    int y = down_ ? 1 : 0;
    if (gw > 0) {
        TBitmap g = glyph_;
        g.Transparent = true;
        if (!enabled) {
            // A disabled button shows its glyph in grey, keeping the transparent colour.
            std::uint32_t key = ColorToPixel(g.EffectiveTransparentColor()) & 0xFFFFFF;
            for (std::uint32_t& p : g.Pixels()) {
                if ((p & 0xFFFFFF) == key) continue;
                std::uint32_t v = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
                v = 128 + v / 2;
                p = v << 16 | v << 8 | v;
            }
        }
        canvas.Draw(x, (r.Height() - glyph_.Height()) / 2 + y, g);
    }
    if (tw > 0) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.TextOut(x + gw + gap, (r.Height() - canvas.TextHeight(text)) / 2 + y, text);
        canvas.Brush.Style = TBrushStyle::bsSolid;
    }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState, int, int) {
    if (button != TMouseButton::mbLeft) return;
    down_ = true;
    Repaint();
}

void TSpeedButton::MouseUp(TMouseButton, TShiftState, int, int) {
    if (!down_) return;
    down_ = false;
    Invalidate();
}

void TSpeedButton::MouseEnter() {
    hot_ = true;
    Invalidate();
}

void TSpeedButton::MouseLeave() {
    hot_ = false;
    Invalidate();
}

}  // namespace rt
