#include "skin/controls/skSkinEdit.h"

#include <algorithm>

#include "skin/data/skUtils.h"

namespace sk {

namespace {

constexpr int kDefaultButtonWidth = 20;

}  // namespace

TskCustomEdit::TskCustomEdit(rt::TComponent* owner) : rt::TCustomEdit(owner) {
    SetEditTransparent(true);
    SetBorderStyle(rt::TBorderStyle::bsNone);
    SetMargins(2, 0);
}

int TskCustomEdit::DialogCode() const {
    // Enter and Esc stay with the edit: Enter reaches OnKeyPress, never the form's buttons.
    return rt::DLGC_WANTCHARS | rt::DLGC_WANTARROWS | rt::DLGC_WANTALLKEYS;
}

void TskCustomEdit::FontChanged() {
    rt::TCustomEdit::FontChanged();
    SetMargins(2, 0);
}

TskSkinCustomEdit::TskSkinCustomEdit(rt::TComponent* owner)
    : TskCustomEdit(owner), defaultFont_(MakeSkinFont("Arial", 14, 0, rt::clWindowText)) {
    SetFont(defaultFont_);
    SetBounds(Left(), Top(), Width(), 20);
}

TskSkinCustomEdit::~TskSkinCustomEdit() {
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
}

void TskSkinCustomEdit::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinCustomEdit::SetSkinDataName(const std::string& value) {
    skinDataName_ = value;
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinCustomEdit::Notification(rt::TComponent* component, rt::TOperation operation) {
    TskCustomEdit::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        DropSkinObject();
    }
}

void TskSkinCustomEdit::SetDefaultFont(const rt::TFont& value) {
    defaultFont_ = value;
    if (skinIndex_ == -1 || !useSkinFont_) {
        SetFont(defaultFont_);
        UpdateFontColor();
    }
}

void TskSkinCustomEdit::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinCustomEdit::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (skinIndex_ == -1 && value > 0) SetWidth(value);
}

void TskSkinCustomEdit::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (skinIndex_ == -1 && value > 0) SetHeight(value);
}

void TskSkinCustomEdit::SetButtonMode(bool value) {
    buttonMode_ = value;
    FrameChanged();
}

void TskSkinCustomEdit::DropSkinObject() {
    skinIndex_ = -1;
    picture_ = nullptr;
    held_.reset();
}

void TskSkinCustomEdit::FindSkinObject() {
    DropSkinObject();
    if (skinData_ == nullptr || skinData_->Empty()) return;
    const int index = skinData_->GetControlIndex(skinDataName_);
    if (index < 0 || std::size_t(index) >= skinData_->Skin().CtrlList.size()) return;
    held_ = skinData_->Share();
    const auto* d = dynamic_cast<const TskDataSkinEditControl*>(held_->Control(index));
    if (d == nullptr || d->SkinRect.IsEmpty()) return;
    skinIndex_ = index;
    picture_ = held_->ActivePicture(d->PictureIndex);
    skinRect_ = d->SkinRect;
    activeSkinRect_ = d->ActiveSkinRect.IsEmpty() ? d->SkinRect : d->ActiveSkinRect;
    clientRect_ = d->Corners.Client;
    leftWidth_ = std::clamp(d->Corners.LeftTop.X, 0, skinRect_.Width());
    rightWidth_ = std::clamp(skinRect_.Width() - d->Corners.RightTop.X, 0, skinRect_.Width());
    font_ = d->Font;
    buttonRect_ = d->ButtonRect;
    activeButtonRect_ = d->ActiveButtonRect;
    downButtonRect_ = d->DownButtonRect.IsEmpty() ? d->ActiveButtonRect : d->DownButtonRect;
    unEnabledButtonRect_ = d->UnEnabledButtonRect;
}

void TskSkinCustomEdit::ApplySkin() {
    FindSkinObject();
    if (skinIndex_ == -1) {
        SetFont(defaultFont_);
        const int w = defaultWidth_ > 0 ? defaultWidth_ : Width();
        const int h = defaultHeight_ > 0 ? defaultHeight_ : Height();
        SetBounds(Left(), Top(), w, h);
    } else {
        SetBounds(Left(), Top(), Width(), skinRect_.Height());
        if (useSkinFont_)
            SetFont(font_.MakeFont());
        else
            SetFont(defaultFont_);
    }
    FrameChanged();
    UpdateFontColor();
    Invalidate();
}

void TskSkinCustomEdit::SetBounds(int left, int top, int width, int height) {
    if (skinIndex_ != -1 && skinData_ != nullptr && !skinData_->Empty())
        height = skinRect_.Height();
    TskCustomEdit::SetBounds(left, top, width, height);
}

rt::TRect TskSkinCustomEdit::TextArea() const {
    const int w = Width(), h = Height();
    if (skinIndex_ == -1)
        return buttonMode_ ? rt::Rect(2, 2, w - 22, h - 2) : rt::Rect(2, 2, w - 2, h - 2);
    rt::TRect r = clientRect_;
    r.Right += w - skinRect_.Width();
    return r;
}

rt::TRect TskSkinCustomEdit::ButtonArea() const {
    const int w = Width(), h = Height();
    if (skinIndex_ == -1) return rt::Rect(w - kDefaultButtonWidth, 0, w, h);
    // "buttonrect" is a place in the control at the skin's size; one in the right end piece
    // moves with that piece.
    rt::TRect r = buttonRect_;
    const int sw = skinRect_.Width();
    if (r.Left >= sw - rightWidth_) r = rt::Bounds(r.Left + w - sw, r.Top, r.Width(), r.Height());
    return r;
}

void TskSkinCustomEdit::CalcNonClient(rt::TRect& client) {
    const rt::TRect t = TextArea();
    const rt::TRect whole = client;
    client = rt::Rect(whole.Left + t.Left, whole.Top + t.Top, whole.Left + t.Right,
                      whole.Top + t.Bottom);
    if (client.Right < client.Left) client.Right = client.Left;
    if (client.Bottom < client.Top) client.Bottom = client.Top;
}

void TskSkinCustomEdit::SetButtonHot(bool value) {
    if (buttonHot_ == value) return;
    buttonHot_ = value;
    InvalidateNonClient();
}

void TskSkinCustomEdit::SetButtonDown(bool value) {
    if (buttonDown_ == value) return;
    buttonDown_ = value;
    InvalidateNonClient();
}

void TskSkinCustomEdit::UpdateFontColor() {
    rt::TColor c;
    const bool active = Focused() || cursorInside_;
    if (skinIndex_ == -1)
        c = Enabled() ? defaultFont_.Color : rt::clGrayText;
    else
        c = font_.ColorOf(!Enabled() ? TskFontState::Disabled
                          : active   ? TskFontState::Active
                                     : TskFontState::Normal);
    if (Font().Color == c) return;
    rt::TFont f = Font();
    f.Color = c;
    SetFont(f);
}

void TskSkinCustomEdit::EnabledChanged() {
    TskCustomEdit::EnabledChanged();
    UpdateFontColor();
    InvalidateNonClient();
}

void TskSkinCustomEdit::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_NCHITTEST: {
            if (!buttonMode_) break;
            const rt::TPoint c = ScreenToClient(rt::LParamToPoint(m.LParam));
            const rt::TRect inWindow = ClientInWindow();
            const rt::TPoint p{c.X + inWindow.Left, c.Y + inWindow.Top};
            rt::TRect b = ButtonArea();
            b.Left -= 1;
            b.Top -= 1;
            m.Result = b.Contains(p) ? HTEDITBUTTON : rt::HTBORDER;
            return;
        }
        case rt::WM_NCMOUSEMOVE:
            if (buttonMode_) SetButtonHot(m.WParam == HTEDITBUTTON);
            return;
        case rt::WM_NCLBUTTONDOWN:
        case rt::WM_NCLBUTTONDBLCLK:
            if (buttonMode_ && Enabled() && m.WParam == HTEDITBUTTON) SetButtonDown(true);
            return;
        case rt::WM_NCLBUTTONUP:
            if (!buttonDown_) return;
            SetButtonDown(false);
            if (m.WParam != HTEDITBUTTON) return;
            if (!Focused()) SetFocus();
            if (OnButtonClick) OnButtonClick(this);
            return;
        case rt::WM_NCMOUSELEAVE:
            SetButtonHot(false);
            return;
        case rt::WM_MOUSEMOVE:
            SetButtonHot(false);
            break;
        case rt::CM_MOUSEENTER:
            cursorInside_ = true;
            UpdateFontColor();
            InvalidateNonClient();
            if (OnMouseEnter) OnMouseEnter(this);
            return;
        case rt::CM_MOUSELEAVE:
            cursorInside_ = false;
            buttonHot_ = false;
            buttonDown_ = false;
            UpdateFontColor();
            InvalidateNonClient();
            if (OnMouseLeave) OnMouseLeave(this);
            return;
        case rt::WM_SETFOCUS:
        case rt::WM_KILLFOCUS:
            TskCustomEdit::WndProc(m);
            UpdateFontColor();
            InvalidateNonClient();
            return;
        case rt::WM_NCPAINT:
            // Look the object up now: a paint between a skin's change and its application
            // must not use the old one.
            FindSkinObject();
            break;
        default:
            break;
    }
    TskCustomEdit::WndProc(m);
}

void TskSkinCustomEdit::PaintNonClient(rt::TCanvas& canvas) {
    if (skinIndex_ == -1 || picture_ == nullptr)
        PaintDefaultFrame(canvas);
    else
        PaintSkinFrame(canvas);
}

void TskSkinCustomEdit::PaintDefaultFrame(rt::TCanvas& c) {
    const int w = Width(), h = Height();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = Enabled() ? Color() : rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, w, h));
    const rt::TRect frame = rt::Rect(0, 0, buttonMode_ ? w - kDefaultButtonWidth : w, h);
    const bool lit = cursorInside_ || Focused();
    c.Brush.Color = lit ? rt::clBtnShadow : rt::clBtnFace;
    c.FrameRect(frame);
    c.Brush.Color = lit ? rt::clBtnFace : rt::clBtnShadow;
    c.FrameRect(rt::Rect(frame.Left + 1, frame.Top + 1, frame.Right - 1, frame.Bottom - 1));
    if (!buttonMode_) return;
    const rt::TRect b = ButtonArea();
    const bool pressed = buttonDown_ && buttonHot_;
    c.Brush.Color = pressed ? rt::kDefaultPressed : buttonHot_ ? rt::kDefaultHot : rt::clBtnFace;
    c.FillRect(b);
    c.Brush.Color = pressed || buttonHot_ ? rt::clNavy : rt::clBtnShadow;
    c.FrameRect(b);
    // Three dots: the button opens something to choose from.
    const rt::TColor dot = Enabled() ? rt::clBlack : rt::clGrayText;
    const int cx = b.Left + b.Width() / 2 + (pressed ? 1 : 0);
    const int cy = b.Top + b.Height() / 2 + (pressed ? 1 : 0);
    c.Brush.Color = dot;
    for (int i = -1; i <= 1; ++i) c.FillRect(rt::Bounds(cx + i * 4 - 1, cy, 2, 2));
}

void TskSkinCustomEdit::PaintSkinFrame(rt::TCanvas& c) {
    const int w = Width(), h = Height();
    const bool lit = cursorInside_ || Focused();
    rt::TBitmap strip;
    CreateHSkinImage(leftWidth_, rightWidth_, strip, w, lit ? activeSkinRect_ : skinRect_,
                     *picture_);
    if (strip.Height() < h) {
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clBtnFace;
        c.FillRect(rt::Rect(0, 0, w, h));
    }
    c.Draw(0, 0, strip);
    if (!buttonMode_) return;
    const rt::TRect b = ButtonArea();
    const rt::TRect* src = nullptr;
    if (!Enabled() && !unEnabledButtonRect_.IsEmpty())
        src = &unEnabledButtonRect_;
    else if (buttonDown_ && buttonHot_ && !downButtonRect_.IsEmpty())
        src = &downButtonRect_;
    else if (buttonHot_ && !activeButtonRect_.IsEmpty())
        src = &activeButtonRect_;
    if (src != nullptr)
        c.CopyRect(rt::Bounds(b.Left, b.Top, src->Width(), src->Height()), *picture_, *src);
}

}  // namespace sk
