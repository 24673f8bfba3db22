#pragma once
// The popup-menu engine of a skinned form on the screen: TskSkinMenu shows the popups that
// TskMenuCascade decides on in TskSkinPopupWindows, runs the cascade's timers and tells the
// control that opened the menu (message 1228) and the form when the menus close.
// TskSkinPopupMenu and TskSkinMainMenu are the menu components whose menus it shows.

#include <functional>
#include <memory>
#include <vector>

#include "runtime/Menus.h"
#include "skin/form/skMenuCascade.h"

namespace sk {

class TskSkinForm;
class TskSkinMenu;

// One popup of a cascade: a top-most window without taskbar entry that never takes activation,
// shaped by the skin's mask, painting the view it shows. It polls the cursor every 50 ms, so
// the items follow the mouse even while another window holds the mouse (a press on the menu
// bar dragged down into the menu).
class TskSkinPopupWindow : public rt::TPopupWindow {
public:
    explicit TskSkinPopupWindow(TskSkinMenu& engine);
    ~TskSkinPopupWindow() override;

    // The view shown, or null while the window is hidden.
    TskSkinPopupView* View() const { return view_; }
    // Shapes, places and shows the window for the view without activating it; with fadeIn the
    // opacity rises from 0 to alpha in steps of 3, else it is set to alpha (255: opaque).
    void ShowView(TskSkinPopupView& view, bool fadeIn, int alpha);
    // Hides the window and lets go of the view; the window waits for the next popup.
    void HideView();
    void SetScrollTimer(bool on);
    void SetMorphTimer(bool on);
    bool ScrollTimerRunning() const;
    bool MorphTimerRunning() const;
    bool HoverTickerRunning() const;
    // One poll of the cursor: hover tracking over this window, else a scroll stops.
    void HoverTick();

    void WndProc(rt::TMessage& message) override;

protected:
    void Paint(rt::TCanvas& canvas) override;

private:
    int Level() const;

    TskSkinMenu& engine_;
    TskSkinPopupView* view_ = nullptr;
    rt::TTimer* hoverTicker_;
    rt::TTimer* morphTicker_;
    rt::TTimer* scrollTimer_;
    rt::TPoint lastCursor_{-1, -1};
    rt::TBitmap buffer_;
};

class TskSkinMenu : public rt::TComponent, private TskMenuCascadeHost {
public:
    explicit TskSkinMenu(rt::TComponent* owner);
    ~TskSkinMenu() override;

    // What the form's menu properties give every popup.
    bool UseSkinFont = true;
    int DefMenuItemHeight = 20;
    rt::TFont DefaultMenuItemFont;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 150;
    // Runs when every menu has closed through CloseAll: the form's own notice (message 1228 to
    // the form in the window system's terms).
    std::function<void()> OnAllClosed;

    // Closes an open cascade (telling its opener), then opens the sub-items of item from
    // startIndex at rect (screen coordinates), below it or above it with popupUp. False, with
    // the opener told at once, when item has no visible sub-item to show.
    bool Popup(rt::TControl* opener, TskSkinData* skinData, bool popupUp, rt::TMenuItem* item,
               const rt::TRect& rect, int startIndex);
    // Frees the popups from index on; from 0 the cascade ends and the opener is sent 1228.
    void CloseFrom(int index);
    // Ends the cascade and tells the opener and the form.
    void CloseAll();

    bool MenuVisible() const { return cascade_.MenuVisible(); }
    int PopupCount() const { return cascade_.PopupCount(); }
    TskSkinPopupWindow* PopupWindow(int index) const;
    TskMenuCascade& Cascade() { return cascade_; }
    rt::TControl* OpenerControl() const { return opener_; }
    TskSkinData* SkinData() const { return skinData_; }
    // The menu item whose sub-items the first popup shows, or null.
    rt::TMenuItem* ShownItem() const;
    // The anchor rectangle (screen coordinates) the open cascade dropped from.
    const rt::TRect& Anchor() const { return anchor_; }
    // The popup level whose window lies under the screen point, or -1.
    int PopupAt(rt::TPoint screen) const;
    // A key for the topmost popup; false when it has no use for it.
    bool KeyDown(int key);
    // The left button went up at a screen point over popup `level`.
    void MouseUpAt(int level, rt::TPoint screen);
    // Whether the open-delay timer runs (a sub-menu waits to open).
    bool OpenTimerRunning() const;

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    friend class TskSkinPopupWindow;
    void PopupShown(int index, TskSkinPopupView& view) override;
    void PopupClosing(int index, TskSkinPopupView& view) override;
    void PopupChanged(int index, TskSkinPopupView& view) override;
    void SetTimer(TskMenuTimer timer, TskSkinPopupView* view, bool on) override;
    void CascadeClosed() override;
    void AllClosed() override;
    TskSkinPopupWindow* WindowOf(const TskSkinPopupView* view) const;
    void SetOpener(rt::TControl* opener);
    void Watch(rt::TComponent*& slot, rt::TComponent* value);

    TskMenuCascade cascade_{*this};
    // One window per cascade level, kept hidden between menus: showing a menu never has to
    // make a window.
    std::vector<std::unique_ptr<TskSkinPopupWindow>> windows_;
    rt::TTimer* openTimer_;
    rt::TControl* opener_ = nullptr;
    rt::TComponent* shownMenu_ = nullptr;
    TskSkinData* skinData_ = nullptr;
    rt::TRect anchor_;
    bool firstPopup_ = false;
};

// A popup menu whose menus the skinned form's engine shows.
class TskSkinPopupMenu : public rt::TPopupMenu {
public:
    explicit TskSkinPopupMenu(rt::TComponent* owner) : rt::TPopupMenu(owner) {}
    ~TskSkinPopupMenu() override;

    TskSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TskSkinData* value);
    // The skinned form whose menu engine shows the menu; without one the runtime's plain
    // popup menu shows it.
    TskSkinForm* SkinForm() const { return skinForm_; }
    void SetSkinForm(TskSkinForm* value);
    rt::TNotifyEvent OnPopup;

    // Opens the menu with its top-left at the screen point. Without a skinned form the runtime's
    // plain popup menu shows it.
    void Popup(int x, int y) override;
    // Drops the menu down from the opener's screen rectangle; the opener is sent 1228 when
    // the menu closes. Without a skinned form the runtime's plain popup stands in, so the
    // opener is never left waiting.
    void PopupFromControl(rt::TControl* opener, const rt::TRect& anchor, bool popupUp) override;

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    // The skin to show the menu with: its own, else the form's menu skin, else its skin.
    TskSkinData* ResolveSkin(TskSkinForm& form);

    TskSkinData* skinData_ = nullptr;
    TskSkinForm* skinForm_ = nullptr;
};

// A main menu with the skin its bar's popups are shown with.
class TskSkinMainMenu : public rt::TMainMenu {
public:
    explicit TskSkinMainMenu(rt::TComponent* owner) : rt::TMainMenu(owner) {}
    ~TskSkinMainMenu() override;
    TskSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TskSkinData* value);

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    TskSkinData* skinData_ = nullptr;
};

}  // namespace sk
