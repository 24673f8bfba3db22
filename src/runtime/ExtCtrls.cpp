#include "runtime/ExtCtrls.h"

#include <algorithm>

namespace rt {

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(TAlign::alLeft);
    SetCursor(TCursor::crSizeWE);
}

TControl* TSplitter::ResizedControl() const {
    TWinControl* p = Parent();
    if (p == nullptr) return nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        bool touches = false;
        switch (Align()) {
            case TAlign::alLeft:
                touches = c->Left() + c->Width() == Left();
                break;
            case TAlign::alRight:
                touches = c->Left() == Left() + Width();
                break;
            case TAlign::alTop:
                touches = c->Top() + c->Height() == Top();
                break;
            case TAlign::alBottom:
                touches = c->Top() == Top() + Height();
                break;
            default:
                break;
        }
        if (touches) return c;
    }
    return nullptr;
}

void TSplitter::Paint(TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || Parent() == nullptr) return;
    control_ = ResizedControl();
    if (control_ == nullptr) return;
    const bool horizontal = Horizontal();
    // The space the other controls along this axis leave, less what the client keeps.
    const TRect client = Parent()->ClientRect();
    maxSize_ = (horizontal ? client.Height() : client.Width()) - MinSize;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (!c->Visible()) continue;
        if (horizontal && (c->Align() == TAlign::alTop || c->Align() == TAlign::alBottom))
            maxSize_ -= c->Height();
        else if (!horizontal && (c->Align() == TAlign::alLeft || c->Align() == TAlign::alRight))
            maxSize_ -= c->Width();
    }
    startSize_ = horizontal ? control_->Height() : control_->Width();
    maxSize_ += startSize_;
    const TPoint s = ClientToScreen(Point(x, y));
    grabScreen_ = horizontal ? s.Y : s.X;
    dragging_ = true;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    const TCursor want = Horizontal() ? TCursor::crSizeNS : TCursor::crSizeWE;
    if (Cursor() != want) SetCursor(want);
    if (!dragging_ || control_ == nullptr) return;
    // Screen coordinates: the splitter itself moves while the control beside it resizes.
    const TPoint s = ClientToScreen(Point(x, y));
    int delta = (Horizontal() ? s.Y : s.X) - grabScreen_;
    if (Align() == TAlign::alRight || Align() == TAlign::alBottom) delta = -delta;
    const int size = std::clamp(startSize_ + delta, MinSize, std::max(MinSize, maxSize_));
    if (Horizontal())
        control_->SetHeight(size);
    else
        control_->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !dragging_) return;
    dragging_ = false;
    control_ = nullptr;
    if (OnMoved) OnMoved(this);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
    if (shape_ == value) return;
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (style_ == value) return;
    style_ = value;
    Invalidate();
}

void TBevel::Paint(TCanvas& canvas) {
    PaintParentBackground(canvas);
    PaintShape(canvas, clBtnHighlight, clBtnShadow);
}

void TBevel::PaintParentBackground(TCanvas& canvas) {
    TWinControl* p = Parent();
    if (p == nullptr) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(ClientRect());
        return;
    }
    const TBitmap under = p->PaintToBitmap();
    canvas.CopyRect(ClientRect(), under, Bounds(Left(), Top(), Width(), Height()));
}

namespace {

void BevelLine(TCanvas& c, TColor color, int x1, int y1, int x2, int y2) {
    c.Pen.Color = color;
    c.Polyline({{x1, y1}, {x2, y2}});
}

}  // namespace

void DrawBevelFrame(TCanvas& c, const TRect& r, TColor first, TColor second) {
    c.Pen.Color = first;
    c.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
    c.Pen.Color = second;
    c.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}});
}

void TBevel::PaintShape(TCanvas& c, TColor highlight, TColor shadow) {
    const TColor first = style_ == TBevelStyle::bsLowered ? shadow : highlight;
    const TColor second = style_ == TBevelStyle::bsLowered ? highlight : shadow;
    const int w = Width(), h = Height();
    c.Pen.Width = 1;
    c.Pen.Style = TPenStyle::psSolid;
    switch (shape_) {
        case TBevelShape::bsBox:
            DrawBevelFrame(c, Rect(0, 0, w - 1, h - 1), first, second);
            break;
        case TBevelShape::bsFrame:
            DrawBevelFrame(c, Rect(1, 1, w - 1, h - 1), second, second);
            DrawBevelFrame(c, Rect(0, 0, w - 2, h - 2), first, first);
            break;
        case TBevelShape::bsTopLine:
            BevelLine(c, first, 0, 0, w, 0);
            BevelLine(c, second, 0, 1, w, 1);
            break;
        case TBevelShape::bsBottomLine:
            BevelLine(c, first, 0, h - 2, w, h - 2);
            BevelLine(c, second, 0, h - 1, w, h - 1);
            break;
        case TBevelShape::bsLeftLine:
            BevelLine(c, first, 0, 0, 0, h);
            BevelLine(c, second, 1, 0, 1, h);
            break;
        case TBevelShape::bsRightLine:
            BevelLine(c, first, w - 2, 0, w - 2, h);
            BevelLine(c, second, w - 1, 0, w - 1, h);
            break;
        case TBevelShape::bsSpacer:
            break;
    }
}

}  // namespace rt
