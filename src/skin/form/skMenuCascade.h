#pragma once
// What the popup-menu engine decides, apart from the windows it shows: the cascade of open
// popups, item activation and clicks, the hover delay before a sub-menu opens, scrolling,
// morphs and the keys of the topmost popup. A host puts the popups on the screen, runs the
// timers the cascade asks for and tells the opener and the form when menus close.

#include <memory>
#include <vector>

#include "skin/form/skSkinMenus.h"

namespace sk {

enum TskMenuTimer {
    mtOpen,    // kMenuOpenDelay, one per cascade (view null): open the pending sub-menu
    mtScroll,  // kMenuScrollInterval per popup while it scrolls
    mtMorph    // kMenuMorphInterval per popup while its items cross-fade
};

class TskMenuCascadeHost {
public:
    virtual ~TskMenuCascadeHost() = default;
    // A popup was built and placed (ShowX, ShownTop, size, Region): show it, top-most and
    // without taking activation. `index` is its level, 0 for the first.
    virtual void PopupShown(int index, TskSkinPopupView& view) = 0;
    // The popup is about to be freed: hide its window and let go of the view.
    virtual void PopupClosing(int index, TskSkinPopupView& view) = 0;
    // The popup's look changed: paint it again.
    virtual void PopupChanged(int index, TskSkinPopupView& view) = 0;
    // Starts (again from zero) or stops a timer; when it fires, call TimerFired.
    virtual void SetTimer(TskMenuTimer timer, TskSkinPopupView* view, bool on) = 0;
    // Every popup closed (CloseFrom(0)): tell the control that opened them, then forget it.
    virtual void CascadeClosed() = 0;
    // CloseAll ran (after CascadeClosed): tell the form that the menu closed.
    virtual void AllClosed() = 0;
    // Runs a chosen item's command. Called last: the command may free the cascade.
    virtual void DispatchCommand(rt::TMenuItem* item) { item->Click(); }
};

class TskMenuCascade {
public:
    explicit TskMenuCascade(TskMenuCascadeHost& host) : host_(host) {}
    ~TskMenuCascade();
    TskMenuCascade(const TskMenuCascade&) = delete;
    TskMenuCascade& operator=(const TskMenuCascade&) = delete;

    TskMenuStyle Style;

    // Closes an open cascade, then opens the first popup of menuItem's visible sub-items from
    // startIndex at the anchor (screen coordinates), dropping up when popupUp. Returns false,
    // opening nothing, when there is no such sub-item.
    bool Popup(TskSkinData* skinData, bool popupUp, rt::TMenuItem* menuItem,
               const rt::TRect& anchor, int startIndex, const rt::TRect& workArea);
    // Frees the popups from `index` to the last; from 0 the cascade ends (CascadeClosed).
    void CloseFrom(int index);
    // Ends the cascade and tells the form (AllClosed).
    void CloseAll();

    bool MenuVisible() const { return menuVisible_; }
    int PopupCount() const { return int(popups_.size()); }
    TskSkinPopupView& Popups(int index) { return *popups_.at(std::size_t(index)); }
    // Index of the popup shown by the view, or -1.
    int IndexOf(const TskSkinPopupView* view) const;
    // The item whose sub-menu opens when the open timer fires, or null.
    const TskSkinMenuItem* PendingItem() const;
    // Whether the highlighted item of the topmost popup has sub-items (the form lets Right
    // move along the menu bar when it has none).
    bool ActiveItemHasSubItems() const;

    // The cursor moved over popup `index`, at window coordinates.
    void MouseMove(int index, int x, int y);
    // The cursor is over another window: a scrolling popup stops.
    void MouseOutside(int index);
    // The left button went up over popup `index`.
    void MouseUp(int index, int x, int y);
    // A key for the topmost popup; false when the popup has no use for it (Left with one
    // popup, Right on an item without sub-items, keys that are no accelerator).
    bool KeyDown(int key);
    void TimerFired(TskMenuTimer timer, TskSkinPopupView* view);

    // Highlights an item; by the mouse an item with sub-items starts the open delay.
    void ActivateItem(int index, int item, bool byMouse);
    void DeactivateItem(int index, int item);
    // Runs an enabled item that is not down: a command closes every popup, an item with
    // sub-items opens its sub-menu beside it.
    void ClickItem(int index, int item);

private:
    void OpenSubMenu(int index, int item);
    void Opened(std::unique_ptr<TskSkinPopupView> view);
    void CancelPending();
    void Changed(int index);
    void StartMorph(int index);
    // Closes the sub-menus of popup `index` and clears its items' Down.
    void CloseBeyond(int index);
    void StopScrolling(int index);
    void CloseTopmost();
    void Select(int step);

    TskMenuCascadeHost& host_;
    std::vector<std::unique_ptr<TskSkinPopupView>> popups_;
    std::vector<bool> morphTimers_;  // per popup: its morph timer runs
    bool menuVisible_ = false;
    TskSkinData* skinData_ = nullptr;
    rt::TRect workArea_;
    // The pending sub-menu: popup level and item index, -1 when none.
    int pendingPopup_ = -1;
    int pendingItem_ = -1;
};

}  // namespace sk
