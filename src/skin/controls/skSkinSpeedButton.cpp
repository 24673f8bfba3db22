#include "skin/controls/skSkinSpeedButton.h"

#include <algorithm>

#include "runtime/StdCtrls.h"
#include "skin/data/skSkinMessages.h"
#include "skin/data/skUtils.h"

namespace sk {

namespace {

// Width of the arrow part of a menu speed button without a skin object.
constexpr int kArrowWidth = 15;

void FillFace(rt::TCanvas& c, const rt::TRect& r) {
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clBtnFace;
    c.FillRect(r);
}

}  // namespace

TskSkinSpeedButton::TskSkinSpeedButton(rt::TComponent* owner) : TskButtonControlT(owner) {
    skinDataName_ = "toolbutton";
    SetBounds(0, 0, 75, 25);
}

void TskSkinSpeedButton::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    // Transparency switches the cross-fade off or on again.
    FindSkinObject();
    Invalidate();
}

void TskSkinSpeedButton::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    Invalidate();
}

bool TskSkinSpeedButton::ShownDown() const {
    return spaceDown_ || (down_ && (GroupIndex() != 0 || PaintsHot()));
}

bool TskSkinSpeedButton::HoverShows() const {
    if (GroupIndex() != 0) return !down_;
    return !KeyFocused() || down_;
}

void TskSkinSpeedButton::KeyClick() {
    if (GroupIndex() != 0) {
        if (!down_)
            SetDown(true);
        else if (AllowAllUp)
            SetDown(false);
        else
            return;
    }
    Click();
}

void TskSkinSpeedButton::PaintFocusRect(rt::TCanvas& canvas, const rt::TRect& r) const {
    if (KeyFocused() && r.Width() > 6 && r.Height() > 6)
        rt::DrawFocusRect(canvas, rt::Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3));
}

void TskSkinSpeedButton::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_KEYDOWN:
            if (!KeyFocused() || !Enabled()) break;
            if (m.WParam == rt::VK_SPACE && m.LParam == 0) {
                // Down while held; the click comes with the release, as on a push button.
                if (!spaceDown_) {
                    spaceDown_ = true;
                    Invalidate();
                }
                return;
            }
            if (m.WParam == rt::VK_RETURN && m.LParam == 0) {
                KeyClick();
                return;
            }
            break;
        case rt::WM_KEYUP:
            if (m.WParam == rt::VK_SPACE && spaceDown_) {
                spaceDown_ = false;
                Invalidate();
                if (KeyFocused() && Enabled()) KeyClick();
                return;
            }
            break;
        case rt::WM_SETFOCUS:
        case rt::WM_KILLFOCUS:
            TskButtonControlT::WndProc(m);
            // The space bar's press ends with the focus, without a click.
            spaceDown_ = false;
            FadeRequest();
            return;
        default:
            break;
    }
    TskButtonControlT::WndProc(m);
}

void TskSkinSpeedButton::Click() { RunClickHandlers(); }

void TskSkinSpeedButton::FindSkinObject() {
    TskButtonControlT::FindSkinObject();
    if (transparent_) btn_.Morphing = false;
}

void TskSkinSpeedButton::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskButtonControlT::MouseUp(button, shift, x, y);
    if (button == rt::TMouseButton::mbLeft) LeftRelease();
}

void TskSkinSpeedButton::PaintBackdrop(rt::TBitmap& buffer) const {
    rt::TCanvas& c = buffer.Canvas();
    rt::TWinControl* parent = Parent();
    if (parent == nullptr) {
        FillFace(c, ClientRect());
        return;
    }
    // Window-less controls are painted on their parent's surface in the order they were
    // placed; windowed ones lie above all of them.
    rt::TBitmap under = parent->PaintToBitmap();
    const rt::TRect mine = BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        rt::TControl* other = parent->Controls(i);
        if (other == this) break;
        if (!other->Visible() || dynamic_cast<rt::TWinControl*>(other) != nullptr) continue;
        const rt::TRect r = other->BoundsRect();
        if (r.Right <= mine.Left || r.Left >= mine.Right || r.Bottom <= mine.Top ||
            r.Top >= mine.Bottom)
            continue;
        under.Canvas().Draw(r.Left, r.Top, other->PaintToBitmap());
    }
    c.CopyRect(rt::Rect(0, 0, Width(), Height()), under, mine);
}

void TskSkinSpeedButton::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const rt::TRect r = ClientRect();
    const bool hot = PaintsHot();
    const bool pressed = ShownDown();
    if (pressed || hot)
        PaintDefaultButtonFace(c, r, pressed, hot);
    else if (transparent_)
        PaintBackdrop(buffer);
    else if (!flat_)
        PaintDefaultButtonFace(c, r, false, false);
    else
        FillFace(c, r);
    c.Font = DefaultFont();
    if (!Enabled()) c.Font.Color = rt::clBtnShadow;
    DrawButtonContent(c, r, Caption(), Glyph(), NumGlyphs(),
                      GlyphImageNumber(Down(), hot, Enabled(), NumGlyphs()), Layout(), Margin(),
                      Spacing(), pressed);
    PaintFocusRect(c, r);
}

void TskSkinSpeedButton::PaintSkinned(rt::TBitmap& buffer) {
    const bool hot = PaintsHot();
    if (btn_.Morphing && morphStep_ > 0 && morphStep_ < 10 && !transparent_) {
        rt::TBitmap normal(Width(), Height()), hotImage(Width(), Height());
        DrawStateImage(normal, skinRect_, false, false);
        DrawStateImage(hotImage, btn_.ActiveSkinRect, true, false);
        buffer = MorphImages(normal, hotImage, btn_.MorphKind, MorphFactor());
    } else if (ShownDown()) {
        DrawStateImage(buffer, btn_.DownSkinRect, true, true);
    } else if (hot || (btn_.Morphing && morphStep_ == 10)) {
        DrawStateImage(buffer, btn_.ActiveSkinRect, true, false);
    } else if (transparent_) {
        PaintBackdrop(buffer);
        rt::TCanvas& c = buffer.Canvas();
        c.Font = btn_.Font.MakeFont(Enabled() ? TskFontState::Normal : TskFontState::Disabled);
        DrawButtonContent(c, FitClientRect(), Caption(), Glyph(), NumGlyphs(),
                          GlyphImageNumber(Down(), hot, Enabled(), NumGlyphs()), Layout(), Margin(),
                          Spacing(), false);
    } else {
        const bool disabledImage = !Enabled() && !btn_.DisabledSkinRect.IsEmpty();
        DrawStateImage(buffer, disabledImage ? btn_.DisabledSkinRect : skinRect_, false, false);
    }
}

TskSkinMenuSpeedButton::TskSkinMenuSpeedButton(rt::TComponent* owner) : TskSkinSpeedButton(owner) {
    skinDataName_ = "toolmenubutton";
}

TskSkinMenuSpeedButton::~TskSkinMenuSpeedButton() {
    if (skinPopupMenu_ != nullptr) RemoveFreeNotification(skinPopupMenu_);
}

void TskSkinMenuSpeedButton::SetSkinPopupMenu(rt::TPopupMenu* menu) {
    if (skinPopupMenu_ != nullptr && skinPopupMenu_ != menu) RemoveFreeNotification(skinPopupMenu_);
    skinPopupMenu_ = menu;
    if (skinPopupMenu_ != nullptr) FreeNotification(skinPopupMenu_);
}

void TskSkinMenuSpeedButton::Notification(rt::TComponent* component, rt::TOperation operation) {
    TskSkinSpeedButton::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinPopupMenu_))
        skinPopupMenu_ = nullptr;
}

void TskSkinMenuSpeedButton::SetTrackButtonMode(bool value) {
    trackButtonMode_ = value;
    if (skinIndex_ == -1) Invalidate();
}

void TskSkinMenuSpeedButton::FindSkinObject() {
    TskSkinSpeedButton::FindSkinObject();
    trackButtonRect_ = {};
    if (auto* obj = dynamic_cast<const TskDataSkinMenuButtonControl*>(SkinObject()))
        trackButtonRect_ = obj->TrackButtonRect;
}

rt::TRect TskSkinMenuSpeedButton::ArrowRect() const {
    const int w = Width(), h = Height();
    // A skin object without an arrow part keeps the plain one, so that the menu can still open.
    if (skinIndex_ == -1 || trackButtonRect_.IsEmpty())
        return rt::Rect(std::max(0, w - kArrowWidth), 0, w, h);
    switch (sizingMode_) {
        case smHorizontal:
            return rt::OffsetRect(trackButtonRect_, w - skinRect_.Width(), 0);
        case smVertical:
            return rt::OffsetRect(trackButtonRect_, 0, h - skinRect_.Height());
        case smBoth:
            // A nine-piece button stretches its middle: the arrow keeps to its corner or edge.
            return MapSkinRect(trackButtonRect_);
        case smFixed:
        case smNone:
            break;
    }
    return trackButtonRect_;
}

bool TskSkinMenuSpeedButton::MenuHit(int x, int y) const {
    if (skinPopupMenu_ == nullptr) return false;
    if (!trackButtonMode_) return true;
    const rt::TRect r = ArrowRect();
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

void TskSkinMenuSpeedButton::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x,
                                       int y) {
    if (button != rt::TMouseButton::mbLeft) {
        TskSkinSpeedButton::MouseDown(button, shift, x, y);
        return;
    }
    FindSkinObject();
    menuShown_ = MenuHit(x, y);
    mouseInside_ = true;
    if (!menuShown_) {
        TskSkinSpeedButton::MouseDown(button, shift, x, y);
        return;
    }
    if (!down_) SetDown(true);
    DropDown();
}

void TskSkinMenuSpeedButton::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    if (menuShown_) return;
    TskSkinSpeedButton::MouseUp(button, shift, x, y);
}

void TskSkinMenuSpeedButton::PointerEntered() {
    if (menuShown_)
        mouseInside_ = true;
    else
        TskSkinSpeedButton::PointerEntered();
}

void TskSkinMenuSpeedButton::PointerLeft() {
    if (menuShown_)
        mouseInside_ = false;
    else
        TskSkinSpeedButton::PointerLeft();
}

void TskSkinMenuSpeedButton::DropDown() {
    const rt::TPoint origin = ClientToScreen(rt::Point(0, 0));
    opening_ = true;
    closedWhileOpening_ = false;
    skinPopupMenu_->PopupFromControl(this, rt::Bounds(origin.X, origin.Y, Width(), Height()),
                                     false);
    opening_ = false;
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    if (closedWhileOpening_) {
        closedWhileOpening_ = false;
        MenuClosed();
    }
}

void TskSkinMenuSpeedButton::MenuClosed() {
    // A second notice for the same menu has nothing left to release.
    if (!menuShown_) return;
    menuShown_ = false;
    SetDown(false);
    if (OnHideTrackMenu) OnHideTrackMenu(this);
}

void TskSkinMenuSpeedButton::KeyClick() {
    if (skinPopupMenu_ == nullptr || trackButtonMode_) {
        TskSkinSpeedButton::KeyClick();
        return;
    }
    DropFromKeyboard();
}

void TskSkinMenuSpeedButton::DropFromKeyboard() {
    if (menuShown_ || skinPopupMenu_ == nullptr) return;
    menuShown_ = true;
    if (!down_) SetDown(true);
    DropDown();
}

void TskSkinMenuSpeedButton::WndProc(rt::TMessage& m) {
    if (m.Msg == rt::WM_KEYDOWN && KeyFocused() && Enabled() &&
        ((m.WParam == rt::VK_DOWN && m.LParam == rt::ssAlt) ||
         (m.WParam == rt::VK_F4 && m.LParam == 0))) {
        DropFromKeyboard();
        return;
    }
    if (m.Msg == WM_CLOSESKINMENU) {
        if (opening_)
            closedWhileOpening_ = true;
        else
            MenuClosed();
        return;
    }
    TskSkinSpeedButton::WndProc(m);
}

void TskSkinMenuSpeedButton::DrawStateImage(rt::TBitmap& target, const rt::TRect& source, bool hot,
                                            bool down) {
    if (!(menuShown_ && trackButtonMode_ && !trackButtonRect_.IsEmpty() &&
          !btn_.DownSkinRect.IsEmpty())) {
        TskSkinSpeedButton::DrawStateImage(target, source, hot, down);
        return;
    }
    // The button lit, its arrow part pressed.
    TskSkinSpeedButton::DrawStateImage(target, btn_.ActiveSkinRect, true, false);
    if (skinBitmap_ == nullptr) return;
    const rt::TRect piece =
        rt::OffsetRect(trackButtonRect_, btn_.DownSkinRect.Left, btn_.DownSkinRect.Top);
    const rt::TRect arrow = ArrowRect();
    target.Canvas().CopyRect(rt::Bounds(arrow.Left, arrow.Top, piece.Width(), piece.Height()),
                             *skinBitmap_, piece);
}

void TskSkinMenuSpeedButton::DrawArrow(rt::TCanvas& c, const rt::TRect& area) const {
    const bool pressed = (down_ && PaintsHot()) || menuShown_;
    // The helper centres its middle line; this arrow hangs from the centre row down.
    const rt::TRect at = rt::OffsetRect(area, pressed ? 2 : 0, pressed ? 3 : 1);
    DrawTrackArrowImage(c, at, Enabled() ? rt::clBtnText : rt::clBtnShadow);
}

void TskSkinMenuSpeedButton::PaintTransparentIdle(rt::TBitmap& buffer, const rt::TRect& content) {
    PaintBackdrop(buffer);
    rt::TCanvas& c = buffer.Canvas();
    c.Font = DefaultFont();
    if (!Enabled()) c.Font.Color = rt::clBtnShadow;
    DrawButtonContent(c, content, Caption(), Glyph(), NumGlyphs(), 1, Layout(), Margin(), Spacing(),
                      false);
    DrawArrow(c, rt::Rect(content.Right, 0, Width(), Height()));
}

void TskSkinMenuSpeedButton::PaintSkinned(rt::TBitmap& buffer) {
    if (Transparent() && !PaintsHot() && !down_) {
        PaintTransparentIdle(buffer, FitClientRect());
        return;
    }
    TskSkinSpeedButton::PaintSkinned(buffer);
}

void TskSkinMenuSpeedButton::PaintDefault(rt::TBitmap& buffer) {
    const int w = Width(), h = Height();
    const int split = std::max(0, w - kArrowWidth);
    const rt::TRect main = rt::Rect(0, 0, split, h), arrow = rt::Rect(split, 0, w, h);
    const bool hot = PaintsHot();
    if (Transparent() && !hot && !down_) {
        PaintTransparentIdle(buffer, main);
        return;
    }
    rt::TCanvas& c = buffer.Canvas();
    const bool pressed = ShownDown();
    if (trackButtonMode_) {
        if (menuShown_) {
            PaintDefaultButtonFace(c, main, false, true);
            PaintDefaultButtonFace(c, arrow, true, false);
        } else if (pressed || hot || !Flat()) {
            PaintDefaultButtonFace(c, main, pressed, hot);
            PaintDefaultButtonFace(c, arrow, pressed, hot);
        } else {
            FillFace(c, ClientRect());
        }
    } else if (pressed || hot || !Flat()) {
        PaintDefaultButtonFace(c, ClientRect(), pressed, hot);
    } else {
        FillFace(c, ClientRect());
    }
    c.Font = DefaultFont();
    if (!Enabled()) c.Font.Color = rt::clBtnShadow;
    // With the arrow part open only the arrow is pressed; the rest of the button stays put.
    const bool contentPressed = pressed && !(trackButtonMode_ && menuShown_);
    DrawButtonContent(c, main, Caption(), Glyph(), NumGlyphs(), 1, Layout(), Margin(), Spacing(),
                      contentPressed);
    DrawArrow(c, arrow);
    PaintFocusRect(c, ClientRect());
}

}  // namespace sk
