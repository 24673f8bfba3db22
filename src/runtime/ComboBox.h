#pragma once
// The class library's drop-down list combo box: a box showing the chosen item and a button,
// and a list of the items in a popup window (the runtime's popup kind, which never takes the
// focus from the form). The box keeps the keyboard while the list is open.
//
// Keys on the box: Up/Left and Down/Right choose the previous / next item, Home/End the
// first / last, Page Up/Down a list page; a typed character chooses the next item starting
// with the characters typed in a row (the same character again steps through the items that
// start with it). Alt+Down and F4 open the list; while it is open Up/Down/Home/End/Page keys
// move its highlight, Enter (or Alt+Up, F4) takes the highlighted item and Esc closes it
// without a change. A click on the box opens or closes the list; a click on an item takes it;
// a click anywhere else closes the list. OnChange runs when the user changed ItemIndex.
//
// Painting goes through virtual hooks, so that a skinned combo box can paint box and list from
// a skin and keep the behaviour: the default look is a sunken box with a button, and a list
// on the window colour with the highlighted item in the selection colours.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Controls.h"

namespace rt {

class TCustomComboBox;

// The drop-down list's window. Its client area shows the items from TopIndex on, one ItemHeight
// each, inside a one-pixel border; the combo box paints it and takes its mouse.
class TComboListWindow : public TPopupWindow {
public:
    explicit TComboListWindow(TCustomComboBox* combo);
    // The item under a point of the client area, or -1.
    int ItemAtPos(TPoint p) const;
    void WndProc(TMessage& message) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    TCustomComboBox* combo_;
};

enum TOwnerDrawFlag : unsigned { odSelected = 1, odFocused = 2, odComboBoxEdit = 4 };
using TOwnerDrawState = unsigned;
// Draws an item: in the list, or in the box (odComboBoxEdit) where index may be -1 for none.
using TDrawItemEvent = std::function<void(TComponent* sender, TCanvas& canvas, int index,
                                          const TRect& rect, TOwnerDrawState state)>;

// Where a drop-down list of size width x height goes for a box at `box` (screen coordinates)
// on a screen whose usable area is `area`: below the box, unless it would pass the area's
// bottom edge and there is more room above, then above; kept inside the area sideways.
TRect DropDownRect(const TRect& box, int width, int height, const TRect& area);

class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    int ItemCount() const { return int(items_.size()); }
    const std::string& Item(int i) const { return items_.at(std::size_t(i)); }
    const std::vector<std::string>& Items() const { return items_; }
    // Replacing the items keeps ItemIndex only while it still names an item.
    void SetItems(const std::vector<std::string>& items);
    int AddItem(const std::string& item);
    void ClearItems();

    // -1: none. Setting it from code runs no OnChange.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    // The chosen item's text, empty without one.
    std::string Text() const;

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    // Most items the list shows at once; more scroll.
    int DropDownCount = 8;
    // Width of the list (0: the box's width).
    int DropDownWidth = 0;

    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The item highlighted in the open list, and its first visible item.
    int ListHighlight() const { return highlight_; }
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int value);
    // How many items the open list shows at once.
    int VisibleItemCount() const;
    TComboListWindow* ListWindow() const { return list_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    // Owner drawing: when set, items in the list and the box are drawn by it.
    TDrawItemEvent OnDrawItem;

    void WndProc(TMessage& message) override;

    // Hooks for the list window.
    virtual void PaintList(TCanvas& canvas, const TRect& client);
    virtual void ListMouse(unsigned msg, TPoint p);
    // The rectangle of the list's items inside its client area (inside its border, left of
    // any scroll bar).
    virtual TRect ListItemsRect() const;

protected:
    void Paint(TCanvas& canvas) override;
    bool WantsFocus() const override { return true; }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }

    // The box: frame, chosen item, button (pressed while the list is open), focus mark.
    virtual void PaintBox(TCanvas& canvas);
    // The button's rectangle in the box; the item shows left of it.
    virtual TRect ButtonRect() const;
    // Where the chosen item is drawn in the box.
    virtual TRect BoxItemRect() const;
    // Draws one item (OnDrawItem when set, else its text).
    virtual void DrawItem(TCanvas& canvas, int index, const TRect& rect, TOwnerDrawState state);
    // The list's colours: normal item text and background, highlighted text and background.
    virtual TColor ListColor() const { return clWindow; }
    virtual TColor ListFontColor() const { return Font().Color; }
    virtual TColor HighlightColor() const { return clHighlight; }
    virtual TColor HighlightFontColor() const { return clHighlightText; }
    // The list opened, closed, or scrolled (a scroll bar follows TopIndex).
    virtual void ListOpened() {}
    virtual void ListClosed() {}
    virtual void ListScrolled() {}
    // Chooses an item as the user does: OnChange runs when ItemIndex changed.
    void Choose(int index);
    // The pressed state of the box's button (the list open or the mouse down on the box).
    bool ButtonDown() const { return DroppedDown(); }

private:
    void CloseUp(bool accept);
    void MoveHighlight(int index);
    int SearchItem(char32_t ch);
    bool Hooked(TMsg& m);

    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    int highlight_ = -1;
    int topIndex_ = 0;
    TComboListWindow* list_ = nullptr;  // owned as a component
    int hook_ = 0;
    std::u32string search_;
    long long searchTime_ = 0;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace rt
