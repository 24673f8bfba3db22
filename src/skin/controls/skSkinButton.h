#pragma once
// The skinned push button of dialogs: focusable, the form's default button (Enter) or cancel
// button (Escape), sets the form's modal result on each click, answers its accelerator and the
// space bar; otherwise a speed button (states, layout, cross-fade, repeat, groups).

#include "skin/controls/skSkinButtonCore.h"

namespace sk {

class TskSkinButton : public TskButtonControlT<TskSkinCustomControl> {
public:
    // Skin object "button", 75 x 25.
    explicit TskSkinButton(rt::TComponent* owner);

    bool CanFocused() const { return canFocused_; }
    void SetCanFocused(bool value);
    // A non-zero group makes the button a toggle that takes no focus.
    void SetGroupIndex(int value) override;
    bool Default() const { return default_; }
    // Stores; the form's buttons then work out again which one answers Enter.
    void SetDefault(bool value);
    bool Cancel = false;
    int ModalResult = rt::mrNone;

    // Whether Enter clicks this button now: the focused button, or the default button while
    // the focus is on a control that is not a button.
    bool DefaultActive() const { return defaultActive_; }
    bool MousePressed() const { return leftPressed_; }
    // Has the focus and may take it.
    bool IsFocusedButton() const;
    // Drawn pressed: down in a group, down under the mouse, or down by the space bar.
    bool ShownDown() const;

    // Copies ModalResult to the parent form (focusable buttons), then runs OnClick or the action.
    void Click() override;
    void WndProc(rt::TMessage& message) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    bool WantsFocus() const override { return canFocused_; }
    bool FadesToHot() const override { return mouseInside_ || IsFocusedButton(); }
    bool HoverShows() const override;
    bool StaysHotOnLeave() const override;

private:
    void FocusChanged(rt::TWinControl* control);
    bool DialogKey(int key, rt::TShiftState shift);
    bool DialogChar(char32_t ch);

    bool canFocused_ = true;
    bool default_ = false;
    bool defaultActive_ = false;
    bool spaceDown_ = false;
};

}  // namespace sk
