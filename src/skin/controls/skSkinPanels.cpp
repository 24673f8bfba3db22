#include "skin/controls/skSkinPanels.h"

#include <algorithm>

#include "skin/data/skUtils.h"

namespace sk {

void DrawSkinBorder(rt::TCanvas& c, const rt::TRect& r, TskSkinBorderStyle style) {
    switch (style) {
        case bvFrame:
            c.Brush.Color = rt::clBtnShadow;
            c.FrameRect(r);
            break;
        case bvRaised:
            DrawFrame3D(c, r, rt::clBtnHighlight, rt::clBtnShadow);
            break;
        case bvLowered:
            DrawFrame3D(c, r, rt::clBtnShadow, rt::clBtnHighlight);
            break;
        case bvNone:
            break;
    }
}

namespace {

rt::TRect Inset(rt::TRect r, int d) {
    r.Left += d;
    r.Top += d;
    r.Right -= d;
    r.Bottom -= d;
    return r;
}

// A piece of the skin picture drawn with its bottom-left pixel left out.
void DrawTransparentPiece(rt::TCanvas& c, int x, int y, const rt::TBitmap& pic,
                          const rt::TRect& piece) {
    if (piece.IsEmpty()) return;
    rt::TBitmap b(piece.Width(), piece.Height());
    b.Canvas().CopyRect(rt::Rect(0, 0, piece.Width(), piece.Height()), pic, piece);
    b.Transparent = true;
    c.Draw(x, y, b);
}

}  // namespace

TskSkinPanel::TskSkinPanel(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "panel";
    SetBounds(0, 0, 150, 150);
}

void TskSkinPanel::SetCheckedMode(bool value) {
    checkedMode_ = value;
    Invalidate();
}

void TskSkinPanel::SetChecked(bool value) {
    checked_ = value;
    if (checkedMode_) Invalidate();
    if (AutoEnabledControls && checkedMode_)
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(checked_);
    if (OnChecked) OnChecked(this);
}

void TskSkinPanel::SetDefaultAlignment(TskAlignment value) {
    defaultAlignment_ = value;
    if (skinIndex_ == -1 && captionMode_) Invalidate();
}

void TskSkinPanel::SetDefaultCaptionHeight(int value) {
    defaultCaptionHeight_ = value;
    if (skinIndex_ == -1 && captionMode_) {
        Invalidate();
        Realign();
    }
}

void TskSkinPanel::SetBorderStyle(TskSkinBorderStyle value) {
    borderStyle_ = value;
    if (skinIndex_ == -1) {
        Invalidate();
        Realign();
    }
}

void TskSkinPanel::SetCaptionMode(bool value) {
    captionMode_ = value;
    Invalidate();
    Realign();
}

void TskSkinPanel::SetRollUpMode(bool value) {
    rollUpMode_ = value;
    if (skinIndex_ == -1 && captionMode_) Invalidate();
}

void TskSkinPanel::SetRollUpState(bool value) {
    if (!rollUpMode_) return;
    if (value == rollUpState_) return;
    rollUpState_ = value;
    if (value)
        RollUp();
    else
        RollDown();
}

void TskSkinPanel::SetGlyph(const rt::TBitmap& glyph) {
    glyph_ = glyph;
    Invalidate();
}

void TskSkinPanel::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 2);
    Invalidate();
}

void TskSkinPanel::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}

void TskSkinPanel::RollUp() {
    savedHeight_ = Height();
    if (!childrenHidden_) {
        for (int i = 0; i < ControlCount(); ++i) {
            rt::TControl* c = Controls(i);
            if (c->Visible()) hiddenChildren_.push_back(c);
        }
        for (rt::TControl* c : hiddenChildren_) c->Hide();
        childrenHidden_ = true;
    }
    FindSkinObject();
    int h;
    if (skinIndex_ == -1) {
        h = defaultCaptionHeight_ + 1;
    } else {
        int w = Width(), fh = Height();
        FitSize(w, fh);
        h = Height() - fit_.Client.Height();
    }
    SetHeight(h);
}

void TskSkinPanel::RollDown() {
    if (savedHeight_ == -1) return;
    const int h = savedHeight_;
    savedHeight_ = -1;
    SetHeight(h);
    std::vector<rt::TControl*> shown;
    shown.swap(hiddenChildren_);
    childrenHidden_ = false;
    for (rt::TControl* c : shown) c->Show();
}

rt::TRect TskSkinPanel::ClientRect() const {
    rt::TRect r = rt::Rect(0, 0, Width(), Height());
    if (skinIndex_ == -1) {
        if (borderStyle_ != bvNone) r = Inset(r, 1);
        if (captionMode_) r.Top += defaultCaptionHeight_;
        return r;
    }
    if (bgPictureIndex_ != -1 || (borderStyle_ == bvNone && !captionMode_ && sizingMode_ == smBoth))
        return r;
    return fit_.Client;
}

void TskSkinPanel::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    bgPictureIndex_ = -1;
    if (skinIndex_ == -1) return;
    if (auto* obj = dynamic_cast<const TskDataSkinPanelControl*>(SkinObject())) {
        bgPictureIndex_ = obj->BgPictureIndex;
        captionRect_ = obj->CaptionRect;
        alignment_ = obj->Alignment;
        font_ = obj->Font;
        checkImageRect_ = obj->CheckImageRect;
        uncheckImageRect_ = obj->UnCheckImageRect;
    } else {
        captionRect_ = checkImageRect_ = uncheckImageRect_ = rt::TRect{};
    }
}

void TskSkinPanel::ApplySkin() {
    TskSkinCustomControl::ApplySkin();
    if (rollUpState_ && savedHeight_ != -1) {
        const int saved = savedHeight_;
        RollUp();
        savedHeight_ = saved;
    } else {
        Realign();
    }
}

void TskSkinPanel::SetBounds(int left, int top, int width, int height) {
    TskSkinCustomControl::SetBounds(left, top, width, height);
    if (skinIndex_ == -1) Invalidate();
}

void TskSkinPanel::TextChanged() {
    if (captionMode_) Invalidate();
}

void TskSkinPanel::Paint(rt::TCanvas& canvas) {
    FindSkinObject();
    if (skinIndex_ != -1 && bgPictureIndex_ != -1) {
        const rt::TBitmap* bg = ActivePicture(bgPictureIndex_);
        if (Width() < 1 || Height() < 1) return;
        // A missing or empty background picture cannot be tiled: fall back to the frame.
        if (bg != nullptr && !bg->Empty()) {
            for (int y = 0; y < Height(); y += bg->Height())
                for (int x = 0; x < Width(); x += bg->Width()) canvas.Draw(x, y, *bg);
            return;
        }
    }
    TskSkinCustomControl::Paint(canvas);
}

int TskSkinPanel::ContentWidth(const rt::TCanvas& c) const {
    int w = c.TextWidth(Caption());
    if (!glyph_.Empty()) w += glyph_.Width() / numGlyphs_ + spacing_;
    return w;
}

void TskSkinPanel::DrawCaptionContent(rt::TCanvas& c, const rt::TRect& r, int leftPad,
                                      TskAlignment align, const rt::TFont& font, bool clip) {
    c.Font = font;
    const int cw = ContentWidth(c);
    int x;
    switch (align) {
        case taRightJustify:
            x = r.Right - cw;
            break;
        case taCenter:
            x = r.Left + leftPad + r.Width() / 2 - cw / 2;
            break;
        default:
            x = r.Left + leftPad;
            break;
    }
    const int th = c.TextHeight(Caption());
    const int y = r.Top + r.Height() / 2 - th / 2;
    int textX = x;
    if (!glyph_.Empty()) textX += glyph_.Width() / numGlyphs_ + spacing_;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    if (clip)
        c.TextRect(r, textX, y, Caption());
    else
        c.TextOut(textX, y, Caption());
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    if (!glyph_.Empty()) {
        const int n = (!Enabled() && numGlyphs_ == 2) ? 2 : 1;
        DrawGlyph(c, x, r.Top + r.Height() / 2 - glyph_.Height() / 2, n, numGlyphs_, glyph_);
    }
}

void TskSkinPanel::PaintSkinned(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    if (borderStyle_ == bvNone && sizingMode_ == smBoth && !captionMode_ &&
        !corners_.Client.IsEmpty() && skinBitmap_ != nullptr) {
        const rt::TRect src =
            rt::Bounds(skinRect_.Left + corners_.Client.Left, skinRect_.Top + corners_.Client.Top,
                       corners_.Client.Width(), corners_.Client.Height());
        for (int y = 0; y < Height(); y += src.Height())
            for (int x = 0; x < Width(); x += src.Width()) {
                const int w = std::min(src.Width(), Width() - x);
                const int h = std::min(src.Height(), Height() - y);
                c.CopyRect(rt::Bounds(x, y, w, h), *skinBitmap_,
                           rt::Bounds(src.Left, src.Top, w, h));
            }
        return;
    }
    ComposeSkinImage(buffer, skinRect_);
    fitCaptionRect_ = (sizingMode_ == smFixed || sizingMode_ == smNone) ? captionRect_
                                                                        : MapSkinRect(captionRect_);
    if (Caption().empty() || captionRect_.IsEmpty()) return;
    rt::TRect r = fitCaptionRect_;
    if (rollUpMode_) r.Right -= 12;
    if (checkedMode_ && skinBitmap_ != nullptr) {
        const rt::TRect& pic = checked_ ? checkImageRect_ : uncheckImageRect_;
        DrawTransparentPiece(c, r.Left, r.Top + r.Height() / 2 - pic.Height() / 2, *skinBitmap_,
                             pic);
        r.Left += pic.Width() + 2;
    }
    rt::TFont font = DefaultFont();
    font_.ApplyTo(font, TskFontState::Normal, UseSkinFont());
    if (rollUpMode_)
        DrawArrowImage(c, rt::Rect(r.Right, r.Top, r.Right + 10, r.Bottom), font_.Color,
                       rollUpState_ ? 4 : 3);
    DrawCaptionContent(c, r, 0, alignment_, font, true);
}

void TskSkinPanel::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const int w = Width(), h = Height();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, w, h));
    DrawSkinBorder(c, rt::Rect(0, 0, w, h), borderStyle_);
    if (!captionMode_) return;
    rt::TRect r;
    if (borderStyle_ != bvNone) {
        r = rt::Rect(1, 1, w - 1, defaultCaptionHeight_);
        DrawFrame3D(c, r, rt::clBtnShadow, rt::clBtnHighlight);
        r = Inset(r, 1);
        DrawFrame3D(c, r, rt::clBtnHighlight, rt::clBtnShadow);
    } else {
        r = rt::Rect(0, 0, w, defaultCaptionHeight_);
        DrawFrame3D(c, r, rt::clBtnShadow, rt::clBtnShadow);
        r = Inset(r, 1);
        DrawFrame3D(c, r, rt::clBtnHighlight, rt::clBtnFace);
    }
    r = Inset(r, 1);
    if (checkedMode_) r.Left += 20;
    if (rollUpMode_) r.Right -= 10;
    if (checkedMode_) {
        const rt::TRect box = rt::Bounds(5, r.Top + r.Height() / 2 - 7, 14, 14);
        c.Brush.Color = rt::clBtnShadow;
        c.FrameRect(box);
        if (checked_) DrawCheckImage(c, box.Left + 3, box.Top + 2, rt::clBtnText);
    }
    if (rollUpMode_)
        DrawArrowImage(c, rt::Rect(r.Right, r.Top, r.Right + 10, r.Bottom), rt::clBtnText,
                       rollUpState_ ? 4 : 3);
    if (Caption().empty()) return;
    const int pad = defaultAlignment_ == taRightJustify ? 0 : 2;
    DrawCaptionContent(c, r, pad, defaultAlignment_, DefaultFont(), false);
}

void TskSkinPanel::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    if (button == rt::TMouseButton::mbLeft && captionMode_ && (rollUpMode_ || checkedMode_)) {
        FindSkinObject();
        rt::TRect hit =
            skinIndex_ == -1 ? rt::Rect(1, 1, Width() - 1, defaultCaptionHeight_) : fitCaptionRect_;
        if (x >= hit.Left && x <= hit.Right && y >= hit.Top && y <= hit.Bottom) {
            if (checkedMode_) SetChecked(!checked_);
            if (rollUpMode_) SetRollUpState(!rollUpState_);
        }
    }
    TskSkinCustomControl::MouseUp(button, shift, x, y);
}

TskSkinGroupBox::TskSkinGroupBox(rt::TComponent* owner) : TskSkinPanel(owner) {
    skinDataName_ = "groupbox";
    SetCaptionMode(true);
}

TskSkinLabel::TskSkinLabel(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "label";
    SetBounds(0, 0, 75, 21);
}

void TskSkinLabel::SetBorderStyle(TskSkinBorderStyle value) {
    borderStyle_ = value;
    if (skinIndex_ == -1) {
        Invalidate();
        Realign();
    }
}

void TskSkinLabel::SetAlignment(TskAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TskSkinLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    if (value) AdjustWidth();
}

void TskSkinLabel::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    if (skinIndex_ == -1) return;
    if (auto* obj = dynamic_cast<const TskDataSkinLabelControl*>(SkinObject())) {
        font_ = obj->Font;
    }
    if (sizingMode_ == smFixed) autoSize_ = false;
}

rt::TFont TskSkinLabel::TextFont() const {
    if (skinIndex_ == -1) return DefaultFont();
    rt::TFont f = DefaultFont();
    font_.ApplyTo(f, TskFontState::Normal, UseSkinFont());
    return f;
}

int TskSkinLabel::SkinExtraWidth() const {
    if (skinIndex_ == -1 || sizingMode_ == smFixed) return 0;
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = font_.MakeFont();
    return probe.Canvas().TextWidth(Caption()) - fit_.Client.Width();
}

void TskSkinLabel::FitSize(int& width, int& height) {
    TskSkinCustomControl::FitSize(width, height);
    if (skinIndex_ == -1) return;
    const int e = SkinExtraWidth();
    if (e > 0 || (autoSize_ && e != 0)) {
        width += e;
        TskSkinCustomControl::FitSize(width, height);
    }
}

void TskSkinLabel::ApplySkin() {
    TskSkinCustomControl::ApplySkin();
    if (autoSize_ && skinIndex_ == -1) AdjustWidth();
}

void TskSkinLabel::PrepareSkinPaint() {
    // Paint at the size we have: the caption's extra width only matters when sizing.
    int w = Width(), h = Height();
    if (skinIndex_ != -1) TskSkinCustomControl::FitSize(w, h);
}

void TskSkinLabel::AdjustWidth() {
    if (Align() != rt::TAlign::alNone) return;
    FindSkinObject();
    int w;
    if (skinIndex_ != -1) {
        int fw = Width(), fh = Height();
        TskSkinCustomControl::FitSize(fw, fh);
        w = Width() + SkinExtraWidth();
    } else {
        rt::TBitmap probe(1, 1);
        probe.Canvas().Font = DefaultFont();
        // The default look draws the text 3 pixels in from either side.
        w = probe.Canvas().TextWidth(Caption()) + 6;
    }
    if (w != Width()) SetWidth(w);
}

void TskSkinLabel::TextChanged() {
    if (autoSize_) AdjustWidth();
    Invalidate();
}

void TskSkinLabel::DrawText(rt::TCanvas& c, const rt::TRect& r) const {
    c.Font = TextFont();
    const std::string& text = Caption();
    const int tw = c.TextWidth(text), th = c.TextHeight(text);
    const int y = r.Top + r.Height() / 2 - th / 2;
    int x = r.Left;
    if (alignment_ == taRightJustify)
        x = r.Right - tw;
    else if (alignment_ == taCenter)
        x = r.Left + r.Width() / 2 - tw / 2;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.TextOut(x, y, text);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
}

void TskSkinLabel::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const int w = Width(), h = Height();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, w, h));
    DrawSkinBorder(c, rt::Rect(0, 0, w, h), borderStyle_);
    DrawText(c, rt::Rect(3, 3, w - 3, h - 3));
}

void TskSkinLabel::PaintSkinned(rt::TBitmap& buffer) {
    ComposeSkinImage(buffer, skinRect_);
    DrawText(buffer.Canvas(), fit_.Client);
}

TskSkinStdLabel::TskSkinStdLabel(rt::TComponent* owner) : rt::TLabel(owner) {
    SetTransparent(true);
}

TskSkinStdLabel::~TskSkinStdLabel() {
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
}

void TskSkinStdLabel::SetDefaultFont(const rt::TFont& font) {
    defaultFont_ = font;
    AdjustBounds();
    Invalidate();
}

void TskSkinStdLabel::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) {
        FreeNotification(skinData_);
        ApplySkin();
    }
}

void TskSkinStdLabel::SetSkinDataName(const std::string& name) {
    skinDataName_ = name;
    ApplySkin();
}

void TskSkinStdLabel::FindSkinObject() {
    held_.Refresh(skinData_, skinDataName_);
    skinIndex_ = held_.Index();
}

rt::TFont TskSkinStdLabel::TextFont() const {
    auto* obj = skinIndex_ == -1
                    ? nullptr
                    : dynamic_cast<const TskDataSkinStdLabelControl*>(held_.Description());
    if (obj == nullptr) return UseSkinFont ? defaultFont_ : Font();
    rt::TFont f = Font();
    obj->Font.ApplyTo(f, TskFontState::Normal, UseSkinFont);
    return f;
}

void TskSkinStdLabel::ApplySkin() {
    FindSkinObject();
    AdjustBounds();
    Invalidate();
}

void TskSkinStdLabel::Paint(rt::TCanvas& canvas) {
    FindSkinObject();
    rt::TLabel::Paint(canvas);
}

void TskSkinStdLabel::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TLabel::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        skinIndex_ = -1;
    }
}

}  // namespace sk
