#include "runtime/StdCtrls.h"

#include <algorithm>
#include <cmath>

#include "runtime/KeyRouting.h"

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

void DrawFocusRect(TCanvas& canvas, const TRect& r) {
    if (r.IsEmpty()) return;
    // Every other pixel along the edge, inverted, starting at the top-left corner.
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) != 0) return;
        const TColor c = canvas.Pixel(x, y);
        canvas.SetPixel(x, y, RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)));
    };
    for (int x = r.Left; x < r.Right; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 > r.Top) dot(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 > r.Left) dot(r.Right - 1, y);
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

TLabel::~TLabel() {
    if (focusControl_ != nullptr) RemoveFreeNotification(focusControl_);
}

void TLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (showAccelChar_ == value) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* value) {
    if (focusControl_ == value) return;
    if (focusControl_ != nullptr) RemoveFreeNotification(focusControl_);
    focusControl_ = value;
    if (focusControl_ != nullptr) FreeNotification(focusControl_);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component != nullptr &&
        component == static_cast<TComponent*>(focusControl_))
        focusControl_ = nullptr;
}

void TLabel::DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) {
    std::string text = Caption();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    canvas.Font = TextFont();
    if (Enabled() || (flags & DT_CALCRECT)) {
        canvas.DrawText(text, rect, flags);
        return;
    }
    TRect shifted = Rect(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
    canvas.Font.Color = clBtnHighlight;
    canvas.DrawText(text, shifted, flags);
    canvas.Font.Color = clBtnShadow;
    canvas.DrawText(text, rect, flags);
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    TBitmap probe(1, 1);
    TRect r = ClientRect();
    DoDrawText(probe.Canvas(), r,
               DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? unsigned(DT_WORDBREAK) : 0u));
    int x = Left();
    if (alignment_ == TAlignment::taRightJustify) x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && focusControl_ != nullptr && Enabled() && showAccelChar_ &&
        IsAccel(char32_t(message.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(message);
}

void TLabel::Paint(TCanvas& canvas) {
    if (transparent_) {
        PaintParentBackground(canvas);
    } else {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(ClientRect());
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect r = ClientRect();
    unsigned flags = DT_EXPANDTABS | (wordWrap_ ? unsigned(DT_WORDBREAK) : 0u);
    flags |= alignment_ == TAlignment::taRightJustify ? DT_RIGHT
             : alignment_ == TAlignment::taCenter     ? DT_CENTER
                                                      : DT_LEFT;
    if (layout_ != TTextLayout::tlTop) {
        TRect calc = r;
        DoDrawText(canvas, calc, flags | DT_CALCRECT);
        int dy = layout_ == TTextLayout::tlBottom ? Height() - calc.Bottom
                                                  : (Height() - calc.Bottom) / 2;
        r = Rect(r.Left, r.Top + dy, r.Right, r.Bottom + dy);
    }
    DoDrawText(canvas, r, flags);
    canvas.Brush.Style = TBrushStyle::bsSolid;
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
    if (Transparent) {
        PaintParentBackground(canvas);
    } else {
        canvas.Brush.Color = Parent() != nullptr ? Parent()->Color() : Color();
        canvas.FillRect(ClientRect());
    }
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
