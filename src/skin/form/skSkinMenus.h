#pragma once
// Skinned popup menus apart from their windows: the items of one popup (sizes, looks), the
// popup's size, background, region, place on the screen and scrolled view. A popup window shows
// a TskSkinPopupView; TskMenuCascade (skMenuCascade.h) opens and closes them and decides what
// the mouse, the keys and the timers do.
//
// A view points into the skin data and the menu items it was built from: close the popups
// before the skin changes or a shown menu item is freed.

#include <memory>
#include <optional>
#include <vector>

#include "runtime/Graphics.h"
#include "runtime/ImgList.h"
#include "runtime/Menus.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"

namespace sk {

// Milliseconds of the menu timers.
constexpr int kMenuOpenDelay = 500;       // a hovered item's sub-menu waits this long
constexpr int kMenuScrollInterval = 100;  // one item per tick while a marker band is hovered
constexpr int kMenuMorphInterval = 20;    // one 0.1 morph step per tick
constexpr int kMenuHoverInterval = 50;    // the popup windows poll the cursor this often
// Height of the scroll marker bands at the top and bottom of a scrolling popup.
constexpr int kMenuScrollBand = 10;

// What the skinned form's menu properties give every popup.
struct TskMenuStyle {
    bool UseSkinFont = true;
    int DefMenuItemHeight = 20;
    rt::TFont DefaultMenuItemFont = MakeSkinFont("Arial", 14, 0, rt::clMenuText);
};

enum TskScrollDirection { sdNone = 0, sdUp = 1, sdDown = 2 };

// The screen position of a popup of width x height for an anchor rectangle in screen
// coordinates (an item of the bar or of the parent popup, a button, or a point as an empty
// rectangle), kept inside the work area. A drop-down that has to cover its anchor, a sub-menu
// and a scrolling popup go beside the anchor instead of over it. itemsTop is the distance
// from the popup's top to its first item, so that a sub-menu's first item lines up with the
// item that opened it.
rt::TPoint PlacePopup(const rt::TRect& anchor, const rt::TRect& workArea, int width, int height,
                      int itemsTop, bool subMenu, bool popupUp, bool scroll);

class TskSkinPopupView;

// One entry of a popup: a menu item with its place in the popup and its highlight state.
class TskSkinMenuItem {
public:
    TskSkinMenuItem(const TskSkinPopupView& parent, rt::TMenuItem* menuItem);
    virtual ~TskSkinMenuItem() = default;
    TskSkinMenuItem(const TskSkinMenuItem&) = delete;
    TskSkinMenuItem& operator=(const TskSkinMenuItem&) = delete;

    const TskSkinPopupView& Parent() const { return parent_; }
    rt::TMenuItem* MenuItem() const { return menuItem_; }

    double MorphLevel = 0;
    rt::TRect ObjectRect;  // in popup-window coordinates
    bool Active = false;   // highlighted
    bool Down = false;     // its sub-menu is open
    bool Visible = false;  // inside the scrolled view

    // True when a morph step remains for the item's state; an item scrolled out of view with
    // a morph level is reset to plain (not active, not down, level 0).
    virtual bool CanMorphing();
    // One tick: 0.1 towards 1 while active or down, towards 0 otherwise.
    void StepMorph();

    bool IsLine() const { return menuItem_->IsLine(); }
    bool HasSubItems() const;
    bool Enabled() const { return menuItem_->Enabled; }
    int Height() const;
    // Caption, and two blanks and the short-cut text when there is one, plus 2.
    int TextWidth(rt::TCanvas& canvas) const;
    std::string ShortCutText() const;
    // Paints the item at ObjectRect.
    void Draw(rt::TCanvas& canvas) const;

private:
    void DrawSkinned(rt::TCanvas& canvas) const;
    void DrawDefault(rt::TCanvas& canvas) const;
    // Image, window glyph, check mark or radio dot, vertically centred on midY.
    void DrawLeftMark(rt::TCanvas& canvas, int imageX, int glyphX, int markX, int midY,
                      rt::TColor color) const;

    const TskSkinPopupView& parent_;
    rt::TMenuItem* menuItem_;
};

// The content of one popup window: built for a menu item's visible sub-items from a start
// index, sized, shaped and laid out; placed on the screen by Place.
class TskSkinPopupView {
public:
    TskSkinPopupView(const TskMenuStyle& style, TskSkinData* skinData, rt::TMenuItem* menuItem,
                     int startIndex, const rt::TRect& workArea);
    TskSkinPopupView(const TskSkinPopupView&) = delete;
    TskSkinPopupView& operator=(const TskSkinPopupView&) = delete;

    rt::TMenuItem* MenuItem() const { return menuItem_; }
    const TskMenuStyle& Style() const { return style_; }
    // The skin's popup-window description when the popup is skinned, else null.
    const TskDataSkinPopupWindow* PopupDescription() const { return popupDescription_; }
    // The skin's first menu-item description when the popup is skinned and the description
    // has a picture and an item image, else null (default-look items).
    const TskDataSkinMenuItem* ItemDescription() const { return itemDescription_; }
    const rt::TBitmap* PopupPicture() const { return popupPicture_; }
    const rt::TBitmap* MaskBitmap() const { return maskBitmap_; }
    const rt::TBitmap* ItemPicture() const { return itemPicture_; }
    // The window shape from the mask picture, when the skin has one.
    const std::optional<rt::TRegion>& Region() const { return region_; }
    // The popup picture's corner set fitted to the window; its client is the items area.
    const TskCornerSet& Sized() const { return sized_; }
    const rt::TRect& SizedItemsBox() const { return sized_.Client; }
    rt::TImageList* Images() const { return images_; }
    int GlyphCellWidth() const { return glyphCellWidth_; }
    // The font items are measured and drawn with.
    const rt::TFont& Font() const { return font_; }
    // Items cross-fade between their looks (a skinned item description with morphing).
    bool Morphs() const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Screen position, set by Place.
    int ShowX = 0;
    int ShownTop = 0;
    void Place(const rt::TRect& anchor, const rt::TRect& workArea, bool subMenu, bool popupUp);
    rt::TRect ScreenRect() const { return rt::Bounds(ShowX, ShownTop, width_, height_); }
    rt::TRect ItemScreenRect(int index) const;

    int Count() const { return int(items_.size()); }
    TskSkinMenuItem& Items(int index) { return *items_.at(std::size_t(index)); }
    const TskSkinMenuItem& Items(int index) const { return *items_.at(std::size_t(index)); }
    // Index of the first item (from 0) that is active, or -1.
    int ActiveItem() const;
    // The first enabled item that is not a line, or -1.
    int FirstEnabledItem() const;
    // The next item after `from` (step 1) or before it (step -1) that is not a line, wrapping
    // around once; from -1 (step 1) or Count (step -1) starts at an end. -1 when there is none.
    int NextSelectable(int from, int step) const;
    // The first visible item whose rectangle holds the point, or -1.
    int ItemAt(int x, int y) const;
    // The first item whose caption has the key as its "&" accelerator, or -1.
    int AcceleratorItem(int key) const;

    int HotItem = -1;
    int PreviousHotItem = -1;

    // The popup is higher than the work area: its items scroll between two marker bands.
    bool Scroll() const { return scroll_; }
    TskScrollDirection ScrollDirection = sdNone;
    int FirstShownItem() const { return firstShownItem_; }
    int ShownItemCount() const { return shownItemCount_; }
    // Places the items from FirstShownItem down the items box; those that do not fit are not
    // visible.
    void LayoutItems();
    bool CanScroll(TskScrollDirection direction) const;
    // Moves the view one item; false when it cannot move that way.
    bool ScrollBy(TskScrollDirection direction);
    // Scrolls the least that shows the item; true when the view moved.
    bool EnsureVisible(int index);
    // The first shown item at which the last items just fill the view.
    int LastFullPageStart() const;
    rt::TRect ScrollBand(TskScrollDirection direction) const;
    // The direction of the marker band under the point, or sdNone.
    TskScrollDirection ScrollBandAt(int x, int y) const;

    // One morph tick over every item that needs one; false when none did.
    bool MorphStep();

    // Background, visible items and, when scrolling, the markers, into buffer (resized).
    void Paint(rt::TBitmap& buffer) const;
    rt::TBitmap PaintToBitmap() const;

private:
    void ResolveSkin(TskSkinData* skinData);
    void Measure(const rt::TRect& workArea);
    void ComputeGeometry();
    // Top and bottom of the area the items may fill.
    int ViewTop() const;
    int ViewBottom() const;

    TskMenuStyle style_;
    rt::TMenuItem* menuItem_;
    const TskDataSkinPopupWindow* popupDescription_ = nullptr;
    const TskDataSkinMenuItem* itemDescription_ = nullptr;
    const rt::TBitmap* popupPicture_ = nullptr;
    const rt::TBitmap* maskBitmap_ = nullptr;
    const rt::TBitmap* itemPicture_ = nullptr;
    std::optional<rt::TRegion> region_;
    TskCornerSet sized_;
    rt::TImageList* images_ = nullptr;
    int glyphCellWidth_ = 19;
    rt::TFont font_;
    std::vector<std::unique_ptr<TskSkinMenuItem>> items_;
    int width_ = 0;
    int height_ = 0;
    bool scroll_ = false;
    int firstShownItem_ = 0;
    int shownItemCount_ = 0;
};

}  // namespace sk
