#pragma once
// Menus as plain item trees, and actions. Drawing menus belongs to whoever shows them.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Controls.h"

namespace rt {

class TImageList;
class TMenu;

// A key with its modifiers, as menu items carry it: the virtual-key code in the low byte.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
inline TShortCut ShortCut(int key, TShiftState shift) {
    return TShortCut((key & 0xFF) | ((shift & ssShift) ? scShift : 0) |
                     ((shift & ssCtrl) ? scCtrl : 0) | ((shift & ssAlt) ? scAlt : 0));
}
// "Ctrl+O", "Alt+F4", "Shift+Del"; empty for 0.
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    ~TMenuItem() override;

    std::string Caption;
    bool Enabled = true;
    bool Visible = true;
    bool RadioItem = false;
    int GroupIndex = 0;
    TShortCut ShortCut = 0;
    // Index into the menu's Images, -1 for none.
    int ImageIndex = -1;
    TNotifyEvent OnClick;

    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group under the same parent.
    void SetChecked(bool v);
    bool IsLine() const { return Caption == "-"; }

    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int i) const { return items_.at(std::size_t(i)); }
    TMenuItem* Parent() const { return parent_; }
    // The menu whose item tree holds this item, or null.
    TMenu* GetParentMenu() const;
    // Adds a child item; the item's owner frees it.
    void Add(TMenuItem* item);
    // Puts a child item at index (clamped to 0 .. Count).
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // The position of a child item, or -1.
    int IndexOf(const TMenuItem* item) const;
    // The first child item with that name, or null.
    TMenuItem* Find(const std::string& name) const;
    // Runs OnClick when enabled.
    void Click();

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    bool checked_ = false;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    TMenuItem* Items() const { return items_; }
    // Pictures of the items' ImageIndex; not owned.
    TImageList* Images = nullptr;
    // Runs the enabled, visible item (at any depth, under enabled parents) whose short-cut is
    // the key with that shift state; false when there is none.
    bool IsShortCut(int key, TShiftState shift);

private:
    TMenuItem* items_;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    // Shows the menu with its top-left at the screen point, with the platform's plain popup.
    virtual void Popup(int x, int y);
    // Drops the menu down from a control: below `anchor`, the control's rectangle in screen
    // coordinates, or above it with popupUp. Once every menu has closed the opener is sent
    // WM_MENUCLOSED (unless it was freed meanwhile). The plain popup is modal: it has closed,
    // and told the opener, when this returns; a skinned menu engine returns while its menu
    // stays open and tells the opener later.
    virtual void PopupFromControl(TControl* opener, const TRect& anchor, bool popupUp);
};

// The plain menu bar that shows a main menu's top-level items and drops their sub-menus down.
class TMenuBar : public TCustomControl {
public:
    explicit TMenuBar(TComponent* owner);
    TMainMenu* Menu = nullptr;
    // Index of the top-level item at x, or -1.
    int ItemAt(int x) const;
    TRect ItemRect(int index) const;
    // The rectangles of every top-level item (empty for hidden ones), measured once.
    std::vector<TRect> ItemRects() const;

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;

private:
    int hot_ = -1;
};

class TAction : public TComponent {
public:
    explicit TAction(TComponent* owner) : TComponent(owner) {}
    std::string Caption;
    bool Enabled = true;
    TNotifyEvent OnExecute;
    // Runs OnExecute when enabled; returns whether it ran.
    bool Execute();
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    TNotifyEvent OnTimer;

private:
    void Restart();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace rt
