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
