#pragma once
// The tool buttons of the skinned interface. A speed button shows a glyph and a caption, paints
// its normal, hot, down and disabled skin images (cross-fading between normal and hot), can
// repeat its click while held and can be one of a group of toggle buttons. The menu speed
// button drops a popup menu down from the whole button or from an arrow part at its right end.
//
// A speed button never takes the focus from the mouse. With TabStop set, Tab reaches it: the
// focused button looks hot (the skin's active image) and, in the default look, carries a dotted
// focus rectangle; Space (on release) and Enter click it, as they do a push button.

#include "runtime/Menus.h"
#include "skin/controls/skSkinButtonCore.h"

namespace sk {

class TskSkinSpeedButton : public TskButtonControlT<TskSkinCustomControl> {
public:
    // Skin object "toolbutton", 75 x 25.
    explicit TskSkinSpeedButton(rt::TComponent* owner);

    // No background of its own: idle, only the glyph and the caption show over what lies below.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Without a skin, no frame while idle.
    bool Flat() const { return flat_; }
    void SetFlat(bool value);

    // Drawn pressed: down under the mouse, down as a member of a group, or held by the space
    // bar while focused.
    bool ShownDown() const;
    // Has the focus, which only Tab (TabStop) gives it.
    bool KeyFocused() const { return TabStop && Focused(); }

    // OnClick, or the action when no OnClick is set.
    void Click() override;
    // A transparent button never cross-fades: it has no normal image to fade from.
    void FindSkinObject() override;
    void WndProc(rt::TMessage& message) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    bool CanMorph() const override { return TskButtonControlT::CanMorph() && !transparent_; }
    // Whether the button paints as hot: under the mouse or focused.
    virtual bool PaintsHot() const { return mouseInside_ || KeyFocused(); }
    bool FadesToHot() const override { return PaintsHot(); }
    // A focused button keeps its hot look whatever the mouse does.
    bool HoverShows() const override;
    // What Space and Enter do on the focused button: a click (a member of a group also goes
    // down, or up where AllowAllUp lets it).
    virtual void KeyClick();
    // The dotted rectangle of the focused button in the default look.
    void PaintFocusRect(rt::TCanvas& canvas, const rt::TRect& r) const;
    // Fills buffer with what lies under the button: its parent's painting and the window-less
    // controls placed before it.
    void PaintBackdrop(rt::TBitmap& buffer) const;

private:
    bool transparent_ = false;
    bool flat_ = false;
    bool spaceDown_ = false;
};

class TskSkinMenuSpeedButton : public TskSkinSpeedButton {
public:
    // Skin object "toolmenubutton".
    explicit TskSkinMenuSpeedButton(rt::TComponent* owner);
    ~TskSkinMenuSpeedButton() override;

    // The menu to drop down; null makes a plain speed button. Cleared when the menu is freed.
    // The menu drops down through rt::TPopupMenu::PopupFromControl, with this button as the
    // opener; the button stays down until it is sent WM_CLOSESKINMENU.
    rt::TPopupMenu* SkinPopupMenu() const { return skinPopupMenu_; }
    void SetSkinPopupMenu(rt::TPopupMenu* menu);
    // False: a press anywhere opens the menu. True: only the arrow part does; the rest is a
    // speed button.
    bool TrackButtonMode() const { return trackButtonMode_; }
    void SetTrackButtonMode(bool value);
    // After the menu has opened, and after it has closed.
    rt::TNotifyEvent OnShowTrackMenu;
    rt::TNotifyEvent OnHideTrackMenu;

    bool MenuShown() const { return menuShown_; }
    // The arrow part in control coordinates: the skin's "trackbuttonrect" fitted to the
    // button's size, or the rightmost 15 pixels without a skin object.
    rt::TRect ArrowRect() const;
    // Whether a press at x, y opens the menu.
    bool MenuHit(int x, int y) const;

    void FindSkinObject() override;
    void WndProc(rt::TMessage& message) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void DrawStateImage(rt::TBitmap& target, const rt::TRect& source, bool hot, bool down) override;
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void PointerEntered() override;
    void PointerLeft() override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;
    // The button stays lit while its menu is open, wherever the pointer is.
    bool PaintsHot() const override { return mouseInside_ || menuShown_ || KeyFocused(); }
    // Space, Enter, Alt+Down and F4 drop the menu down (with an arrow part, only the last two;
    // Space and Enter then click the button).
    void KeyClick() override;

private:
    void DropDown();
    void DropFromKeyboard();
    void MenuClosed();
    // Glyph, caption and arrow straight over the backdrop, for the transparent idle look.
    void PaintTransparentIdle(rt::TBitmap& buffer, const rt::TRect& content);
    void DrawArrow(rt::TCanvas& canvas, const rt::TRect& area) const;

    rt::TPopupMenu* skinPopupMenu_ = nullptr;
    bool trackButtonMode_ = false;
    bool menuShown_ = false;
    rt::TRect trackButtonRect_;
    // While the menu is being opened: a menu that has already closed again (the plain modal
    // popup) is told after OnShowTrackMenu, so that the two events keep their order.
    bool opening_ = false;
    bool closedWhileOpening_ = false;
};

}  // namespace sk
