#include "skin/controls/skSkinExPanel.h"

#include <algorithm>

#include "skin/data/skUtils.h"

namespace sk {

namespace {

constexpr int kButtonGap = 2;

// The close glyph of the caption buttons: two crossing diagonals, each two pixels thick, in a
// 10 x 10 cell at (x, y).
void DrawCloseGlyph(rt::TCanvas& c, int x, int y, rt::TColor color) {
    c.Pen.Color = color;
    c.Polyline({{x + 1, y + 1}, {x + 9, y + 9}});
    c.Polyline({{x + 2, y + 1}, {x + 10, y + 9}});
    c.Polyline({{x + 9, y + 1}, {x + 1, y + 9}});
    c.Polyline({{x + 8, y + 1}, {x, y + 9}});
}

rt::TRect Sized(int left, int top, const rt::TRect& like) {
    return rt::Bounds(left, top, like.Width(), like.Height());
}

// Normal, active, down: an empty active image falls back to the normal one, an empty down image
// to the active one.
void ReadStates(rt::TRect out[3], const rt::TRect& normal, const rt::TRect& active,
                const rt::TRect& down, bool fallBack) {
    out[0] = normal;
    out[1] = fallBack && active.IsEmpty() ? normal : active;
    out[2] = fallBack && down.IsEmpty() ? out[1] : down;
}

}  // namespace

TskSkinExPanel::TskSkinExPanel(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "expanel";
    SetBounds(0, 0, 150, 100);
}

void TskSkinExPanel::SetShowRollButton(bool value) {
    showRollButton_ = value;
    Invalidate();
}

void TskSkinExPanel::SetShowCloseButton(bool value) {
    showCloseButton_ = value;
    Invalidate();
}

void TskSkinExPanel::SetDefaultCaptionHeight(int value) {
    defaultCaptionHeight_ = value;
    if (skinIndex_ != -1) return;
    Invalidate();
    Realign();
}

void TskSkinExPanel::SetRollKind(TskRollKind value) {
    if (value == rollKind_) return;
    // The remembered size belongs to the old direction: unroll in it, roll again in the new.
    const bool rolled = rollState_;
    if (rolled) SetRollState(false);
    rollKind_ = value;
    if (rolled) SetRollState(true);
    Invalidate();
}

int TskSkinExPanel::RolledSize() {
    FindSkinObject();
    int size = 0;
    if (skinIndex_ != -1) size = Sideways() ? rollHSkinRect_.Width() : rollVSkinRect_.Height();
    return size > 0 ? size : defaultCaptionHeight_;
}

void TskSkinExPanel::SetRollState(bool value) {
    if (value == rollState_) return;
    rollState_ = value;
    rolling_ = true;
    if (value) {
        hiddenChildren_.clear();
        for (int i = 0; i < ControlCount(); ++i)
            if (Controls(i)->Visible()) hiddenChildren_.push_back(Controls(i));
        for (rt::TControl* c : hiddenChildren_) c->Hide();
        savedSize_ = Sideways() ? Width() : Height();
        if (Sideways())
            SetWidth(RolledSize());
        else
            SetHeight(RolledSize());
    } else {
        if (Sideways())
            SetWidth(savedSize_);
        else
            SetHeight(savedSize_);
        std::vector<rt::TControl*> shown;
        shown.swap(hiddenChildren_);
        // A child freed while the panel was rolled is no longer among the controls.
        for (int i = 0; i < ControlCount(); ++i)
            if (std::find(shown.begin(), shown.end(), Controls(i)) != shown.end())
                Controls(i)->Show();
    }
    rolling_ = false;
    Invalidate();
    if (OnChangeRollState) OnChangeRollState(this);
}

void TskSkinExPanel::SetBounds(int left, int top, int width, int height) {
    if (rollState_ && !rolling_) {
        if (Sideways())
            width = RolledSize();
        else
            height = RolledSize();
    }
    TskSkinCustomControl::SetBounds(left, top, width, height);
}

rt::TRect TskSkinExPanel::ClientRect() const {
    if (skinIndex_ == -1)
        return rt::Rect(1, defaultCaptionHeight_, std::max(1, Width() - 1),
                        std::max(defaultCaptionHeight_, Height() - 1));
    return fit_.Client;
}

void TskSkinExPanel::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    if (skinIndex_ == -1) return;
    auto* obj = dynamic_cast<const TskDataSkinExPanelControl*>(SkinObject());
    if (obj == nullptr) {
        // Another kind of description under our name: paint the default look.
        skinIndex_ = -1;
        return;
    }
    captionRect_ = obj->CaptionRect;
    rollHSkinRect_ = obj->RollHSkinRect;
    rollVSkinRect_ = obj->RollVSkinRect;
    rollLeftOffset_ = obj->RollLeftOffset;
    rollRightOffset_ = obj->RollRightOffset;
    rollTopOffset_ = obj->RollTopOffset;
    rollBottomOffset_ = obj->RollBottomOffset;
    rollVCaptionRect_ = obj->RollVCaptionRect;
    rollHCaptionRect_ = obj->RollHCaptionRect;
    ReadStates(closeRects_, obj->CloseButtonRect, obj->CloseButtonActiveRect,
               obj->CloseButtonDownRect, false);
    ReadStates(hRollRects_, obj->HRollButtonRect, obj->HRollButtonActiveRect,
               obj->HRollButtonDownRect, true);
    ReadStates(hRestoreRects_, obj->HRestoreButtonRect, obj->HRestoreButtonActiveRect,
               obj->HRestoreButtonDownRect, true);
    ReadStates(vRollRects_, obj->VRollButtonRect, obj->VRollButtonActiveRect,
               obj->VRollButtonDownRect, true);
    ReadStates(vRestoreRects_, obj->VRestoreButtonRect, obj->VRestoreButtonActiveRect,
               obj->VRestoreButtonDownRect, true);
    font_ = obj->Font;
}

void TskSkinExPanel::ApplySkin() {
    TskSkinCustomControl::ApplySkin();
    if (!rollState_) {
        Realign();
        return;
    }
    rolling_ = true;
    if (Sideways())
        SetWidth(RolledSize());
    else
        SetHeight(RolledSize());
    rolling_ = false;
}

void TskSkinExPanel::LayoutSkinned() {
    rt::TRect& close = buttons_[kCloseButton].Rect;
    rt::TRect& roll = buttons_[kRollButton].Rect;
    close = roll = rt::TRect{};
    rt::TRect a;
    if (rollState_ && Sideways()) {
        a = rollHCaptionRect_;
        a.Bottom += Height() - rollHSkinRect_.Height();
        int top = a.Top;
        if (showCloseButton_) {
            close = Sized(a.Left, top, closeRects_[0]);
            top = close.Bottom + kButtonGap;
        }
        if (showRollButton_) {
            roll = Sized(a.Left, top, hRollRects_[0]);
            top = roll.Bottom;
        } else if (showCloseButton_) {
            top = close.Bottom;
        }
        a.Top = top;
    } else {
        const bool rolled = rollState_;
        a = rolled ? rollVCaptionRect_ : captionRect_;
        a.Right += Width() - (rolled ? rollVSkinRect_ : skinRect_).Width();
        int right = a.Right;
        if (showCloseButton_) {
            close = Sized(right - closeRects_[0].Width(), a.Top, closeRects_[0]);
            right = close.Left - kButtonGap;
        }
        if (showRollButton_) {
            roll = Sized(right - vRollRects_[0].Width(), a.Top, vRollRects_[0]);
            right = roll.Left;
        } else if (showCloseButton_) {
            right = close.Left;
        }
        a.Right = right;
    }
    captionArea_ = a;
}

void TskSkinExPanel::LayoutDefault() {
    const int h = defaultCaptionHeight_, b = defaultCaptionHeight_ - 6;
    rt::TRect& close = buttons_[kCloseButton].Rect;
    rt::TRect& roll = buttons_[kRollButton].Rect;
    close = roll = rt::TRect{};
    if (rollState_ && Sideways()) {
        int top = 3;
        if (showCloseButton_) {
            close = rt::Rect(3, 3, b + 3, b + 3);
            top = close.Bottom;
        }
        if (showRollButton_) {
            roll = rt::Rect(3, top, b + 3, top + b);
            top = roll.Bottom;
        }
        captionArea_ = rt::Rect(2, top + 2, Width() - 2, Height() - 2);
        return;
    }
    int right = Width() - 2;
    if (showCloseButton_) {
        close = rt::Rect(right - b, 3, right, b + 3);
        right = close.Left;
    }
    if (showRollButton_) {
        roll = rt::Rect(right - b, 3, right, b + 3);
        right = roll.Left;
    }
    captionArea_ = rt::Rect(2, 0, right - 2, h);
}

void TskSkinExPanel::LayoutCaption() {
    FindSkinObject();
    if (skinIndex_ != -1)
        LayoutSkinned();
    else
        LayoutDefault();
}

int TskSkinExPanel::ButtonAt(int x, int y) const {
    for (int i : {int(kCloseButton), int(kRollButton)})
        if (buttons_[i].Rect.Contains(rt::Point(x, y))) return i;
    return -1;
}

void TskSkinExPanel::UpdateHover(int x, int y) {
    LayoutCaption();
    int hover = ButtonAt(x, y);
    if (pressedButton_ != -1 && hover != pressedButton_) hover = -1;
    if (hover == hoverButton_) return;
    if (hoverButton_ != -1) buttons_[hoverButton_].CursorInside = false;
    if (hover != -1) buttons_[hover].CursorInside = true;
    hoverButton_ = hover;
    Invalidate();
}

void TskSkinExPanel::MouseMove(rt::TShiftState shift, int x, int y) {
    UpdateHover(x, y);
    TskSkinCustomControl::MouseMove(shift, x, y);
}

void TskSkinExPanel::MouseLeave() {
    TskSkinCustomControl::MouseLeave();
    if (!buttons_[kCloseButton].CursorInside && !buttons_[kRollButton].CursorInside) return;
    buttons_[kCloseButton].CursorInside = buttons_[kRollButton].CursorInside = false;
    hoverButton_ = -1;
    Invalidate();
}

void TskSkinExPanel::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    if (button == rt::TMouseButton::mbLeft) {
        UpdateHover(x, y);
        if (hoverButton_ != -1) {
            pressedButton_ = hoverButton_;
            buttons_[pressedButton_].CursorInside = true;
            buttons_[pressedButton_].Down = true;
            Invalidate();
        }
    }
    TskSkinCustomControl::MouseDown(button, shift, x, y);
}

void TskSkinExPanel::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinCustomControl::MouseUp(button, shift, x, y);
    if (button != rt::TMouseButton::mbLeft || pressedButton_ == -1) return;
    const int pressed = pressedButton_;
    pressedButton_ = -1;
    buttons_[pressed].Down = false;
    LayoutCaption();
    const bool onIt = ButtonAt(x, y) == pressed;
    if (pressed != hoverButton_) buttons_[pressed].CursorInside = false;
    Invalidate();
    if (!onIt) return;
    if (pressed == kCloseButton) {
        Hide();
        if (OnClose) OnClose(this);
    } else {
        SetRollState(!rollState_);
        hoverButton_ = -1;
        buttons_[kCloseButton].CursorInside = buttons_[kRollButton].CursorInside = false;
        UpdateHover(x, y);
    }
}

rt::TRect TskSkinExPanel::ButtonImage(int index) const {
    const TButton& b = buttons_[index];
    const int state = b.Down && b.CursorInside ? 2 : b.CursorInside ? 1 : 0;
    if (index == kCloseButton) return closeRects_[state];
    if (Sideways()) return rollState_ ? hRestoreRects_[state] : hRollRects_[state];
    return rollState_ ? vRestoreRects_[state] : vRollRects_[state];
}

void TskSkinExPanel::DrawCaption(rt::TCanvas& c, const rt::TFont& font) const {
    if (Caption().empty() || captionArea_.IsEmpty()) return;
    c.Font = font;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    const bool turned = rollState_ && Sideways();
    // A caption longer than its room (a folder path) ends in "..." rather than mid-letter.
    const std::string text =
        EllipsisText(c, Caption(), (turned ? captionArea_.Height() : captionArea_.Width()) - 2);
    if (turned) {
        // Reads upwards: the text's top faces left, its start sits low in the area.
        const rt::TRect& a = captionArea_;
        const int tw = c.TextWidth(text), th = c.TextHeight(text);
        const int x = a.Left + a.Width() / 2 - th / 2;
        const int y = std::min(a.Top + a.Height() / 2 + tw / 2, a.Bottom - 2);
        c.Font.Orientation = 900;
        c.TextRect(a, x, y, text);
        c.Font.Orientation = 0;
    } else {
        DrawTextInRect(c, text, captionArea_, 0);
    }
    c.Brush.Style = rt::TBrushStyle::bsSolid;
}

void TskSkinExPanel::PaintSkinned(rt::TBitmap& buffer) {
    if (skinBitmap_ == nullptr) {
        PaintDefault(buffer);
        return;
    }
    const rt::TBitmap& pic = *skinBitmap_;
    LayoutSkinned();
    if (rollState_ && Sideways())
        CreateVSkinImage(rollTopOffset_, rollBottomOffset_, buffer, Height(), rollHSkinRect_, pic);
    else if (rollState_)
        CreateHSkinImage(rollLeftOffset_, rollRightOffset_, buffer, Width(), rollVSkinRect_, pic);
    else
        ComposeSkinImage(buffer, skinRect_);
    rt::TCanvas& c = buffer.Canvas();
    for (int i : {int(kCloseButton), int(kRollButton)}) {
        const rt::TRect& at = buttons_[i].Rect;
        const rt::TRect src = ButtonImage(i);
        if (at.IsEmpty() || src.IsEmpty()) continue;
        c.CopyRect(Sized(at.Left, at.Top, src), pic, src);
    }
    rt::TFont font = DefaultFont();
    font_.ApplyTo(font, TskFontState::Normal, UseSkinFont());
    DrawCaption(c, font);
}

void TskSkinExPanel::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const int w = Width(), h = Height();
    LayoutDefault();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(rt::Rect(0, 0, w, h));
    c.Brush.Color = rt::clBtnShadow;
    c.FrameRect(rt::Rect(0, 0, w, h));
    if (rollState_ && Sideways()) {
        DrawFrame3D(c, rt::Rect(1, 1, w - 1, h - 1), rt::clBtnHighlight, rt::clBtnFace);
    } else {
        const rt::TRect bar = rt::Rect(0, 0, w, defaultCaptionHeight_);
        c.Brush.Color = rt::clBtnShadow;
        c.FrameRect(bar);
        DrawFrame3D(c, rt::Rect(1, 1, w - 1, bar.Bottom - 1), rt::clBtnHighlight, rt::clBtnFace);
    }
    for (int i : {int(kCloseButton), int(kRollButton)}) {
        const TButton& b = buttons_[i];
        if (b.Rect.IsEmpty()) continue;
        const bool pressed = b.Down && b.CursorInside;
        if (pressed || b.CursorInside) {
            PaintDefaultButtonFace(c, b.Rect, pressed, !pressed);
        } else {
            c.Brush.Color = rt::clBtnFace;
            c.FillRect(b.Rect);
        }
        const int d = pressed ? 1 : 0;
        if (i == kCloseButton) {
            DrawCloseGlyph(c, b.Rect.Left + b.Rect.Width() / 2 - 5 + d,
                           b.Rect.Top + b.Rect.Height() / 2 - 4 + d, rt::clBlack);
        } else {
            const int direction = Sideways() ? (rollState_ ? 2 : 1) : (rollState_ ? 4 : 3);
            rt::TRect r = b.Rect;
            r.Left += d;
            r.Right += d;
            r.Top += d;
            r.Bottom += d;
            DrawArrowImage(c, r, rt::clBlack, direction);
        }
    }
    DrawCaption(c, DefaultFont());
}

}  // namespace sk
