#include "skin/controls/skSkinButton.h"

#include "runtime/KeyRouting.h"
#include "runtime/StdCtrls.h"

namespace sk {

TskSkinButton::TskSkinButton(rt::TComponent* owner) : TskButtonControlT(owner) {
    skinDataName_ = "button";
    TabStop = true;
    SetBounds(0, 0, 75, 25);
}

// Tab visits only buttons that take the focus.
void TskSkinButton::SetCanFocused(bool value) {
    canFocused_ = value;
    TabStop = value;
}

void TskSkinButton::SetGroupIndex(int value) {
    TskButtonControlT::SetGroupIndex(value);
    if (value != 0) SetCanFocused(false);
}

void TskSkinButton::SetDefault(bool value) {
    default_ = value;
    defaultActive_ = value;
    rt::TForm* form = ParentForm();
    if (canFocused_ && form != nullptr) rt::NotifyFocusChanged(*form, form->ActiveControl());
}

bool TskSkinButton::IsFocusedButton() const { return canFocused_ && Focused(); }

bool TskSkinButton::ShownDown() const {
    return down_ && (GroupIndex() != 0 || mouseInside_ || (IsFocusedButton() && !leftPressed_));
}

bool TskSkinButton::HoverShows() const {
    if (GroupIndex() != 0) return !down_;
    return !IsFocusedButton() || down_;
}

bool TskSkinButton::StaysHotOnLeave() const {
    return canFocused_ && default_ && defaultActive_ && !Focused();
}

void TskSkinButton::Click() {
    if (canFocused_)
        if (rt::TForm* form = ParentForm()) form->ModalResult = ModalResult;
    RunClickHandlers();
}

void TskSkinButton::FocusChanged(rt::TWinControl* control) {
    auto* button = dynamic_cast<TskSkinButton*>(control);
    defaultActive_ = button != nullptr ? button == this : default_;
    if (!canFocused_ || !default_) return;
    // The default button looks hot while the focus is on a control that is not a button.
    if (button != nullptr && button != this && mouseInside_) {
        mouseInside_ = false;
        FadeRequest();
    } else if (button == nullptr && !mouseInside_) {
        mouseInside_ = true;
        SetMorphFactorOne();
        Invalidate();
    }
}

bool TskSkinButton::DialogKey(int key, rt::TShiftState shift) {
    if (key == rt::VK_RETURN && defaultActive_ && CanFocus()) {
        Click();
        return true;
    }
    if (key == rt::VK_ESCAPE && Cancel && canFocused_ &&
        (shift & (rt::ssShift | rt::ssCtrl | rt::ssAlt)) == 0 && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

bool TskSkinButton::DialogChar(char32_t ch) {
    if (!canFocused_ || !rt::IsAccel(ch, Caption()) || !CanFocus()) return false;
    SetFocus();
    Click();
    return true;
}

void TskSkinButton::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_LBUTTONDOWN:
        case rt::WM_LBUTTONDBLCLK:
            // The press counts only once the button holds the focus.
            if (canFocused_ && Enabled() && !Focused()) {
                SetFocus();
                if (!Focused()) return;
            }
            break;
        case rt::WM_KEYDOWN:
            if (canFocused_ && m.WParam == rt::VK_SPACE) {
                spaceDown_ = true;
                SetDown(true);
                if (RepeatMode) Click();
            } else if (canFocused_ && m.WParam == rt::VK_RETURN) {
                Click();
            }
            break;
        case rt::WM_KEYUP:
            if (canFocused_ && m.WParam == rt::VK_SPACE && spaceDown_) {
                spaceDown_ = false;
                SetDown(false);
                Click();
            }
            break;
        case rt::WM_SETFOCUS:
        case rt::WM_KILLFOCUS:
            TskButtonControlT::WndProc(m);
            // The space bar's press ends with the focus.
            if (m.Msg == rt::WM_KILLFOCUS && spaceDown_) {
                spaceDown_ = false;
                SetDown(false);
            }
            FadeRequest();
            return;
        case rt::CM_DIALOGKEY:
            if (DialogKey(int(m.WParam), rt::TShiftState(m.LParam))) {
                m.Result = 1;
                return;
            }
            break;
        case rt::CM_DIALOGCHAR:
            if (DialogChar(char32_t(m.WParam))) {
                m.Result = 1;
                return;
            }
            break;
        case rt::CM_FOCUSCHANGED:
            FocusChanged(reinterpret_cast<rt::TWinControl*>(m.LParam));
            break;
        default:
            break;
    }
    TskButtonControlT::WndProc(m);
}

void TskSkinButton::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    if (button == rt::TMouseButton::mbLeft) LeftRelease();
    TskButtonControlT::MouseUp(button, shift, x, y);
}

void TskSkinButton::PaintSkinned(rt::TBitmap& buffer) {
    if (btn_.Morphing && morphStep_ > 0 && morphStep_ < 10 && Enabled()) {
        rt::TBitmap normal(Width(), Height()), hot(Width(), Height());
        DrawStateImage(normal, skinRect_, false, false);
        DrawStateImage(hot, btn_.ActiveSkinRect, true, false);
        buffer = MorphImages(normal, hot, btn_.MorphKind, MorphFactor());
        return;
    }
    if (!Enabled() && !btn_.DisabledSkinRect.IsEmpty())
        DrawStateImage(buffer, btn_.DisabledSkinRect, false, false);
    else if (ShownDown())
        DrawStateImage(buffer, btn_.DownSkinRect, true, true);
    else if (IsFocusedButton() || mouseInside_ || (btn_.Morphing && morphStep_ == 10))
        DrawStateImage(buffer, btn_.ActiveSkinRect, true, false);
    else
        DrawStateImage(buffer, skinRect_, false, false);
}

void TskSkinButton::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const bool down = ShownDown();
    PaintDefaultButtonFace(c, ClientRect(), down, mouseInside_ || IsFocusedButton());
    c.Font = DefaultFont();
    if (!Enabled()) c.Font.Color = rt::clBtnShadow;
    DrawButtonContent(c, ClientRect(), Caption(), Glyph(), NumGlyphs(),
                      GlyphImageNumber(Down(), mouseInside_, Enabled(), NumGlyphs()), Layout(),
                      Margin(), Spacing(), down);
    if (IsFocusedButton()) rt::DrawFocusRect(c, rt::Rect(3, 3, Width() - 3, Height() - 3));
}

}  // namespace sk
