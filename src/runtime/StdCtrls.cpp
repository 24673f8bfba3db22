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

}  // namespace rt
