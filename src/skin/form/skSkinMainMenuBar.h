#pragma once
// The skinned main menu bar: a row of skinned items for a main menu's top-level items at the
// top of a form, whose sub-menus open as skinned popups through the form's menu engine. It
// follows the mouse (an open menu moves along the bar with it), walks with the keyboard when the
// skinned form hands it the keys, hides the items that do not fit behind a track mark, and shows
// the system buttons of a maximized child window.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Menus.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/form/skFormHost.h"
#include "skin/form/skFormTypes.h"

namespace sk {

class TskSkinForm;
class TskSkinMainMenuBar;

// What every object on the bar shares: looks in a skin picture, hover, press and morph state.
class TskMenuBarObject {
public:
    TskMenuBarObject(TskSkinMainMenuBar& parent, const TskSkin* skin,
                     const TskDataSkinObject* description);
    virtual ~TskMenuBarObject() = default;
    TskMenuBarObject(const TskMenuBarObject&) = delete;
    TskMenuBarObject& operator=(const TskMenuBarObject&) = delete;

    TskSkinMainMenuBar& Parent;
    bool CursorInside = false;
    const rt::TBitmap* Picture = nullptr;  // the skin picture of activepictureindex
    bool Down = false;
    double MorphLevel = 0;
    std::string IDName;
    rt::TRect NormalLookRect, HotLookRect, PressedLookRect;
    rt::TRect ObjectRect;  // bar coordinates
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool MorphEnabled = false;
    TskMorphKind MorphStyle = mkDefault;

    virtual void Draw(rt::TCanvas& canvas) = 0;
    virtual void MouseDown(int x, int y, int button);
    virtual void MouseUp(int x, int y, int button);
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing() const;

    // Starts the bar's morph timer when morphing, else repaints at once.
    void ReDraw();
    // One 0.1 step toward the current look.
    void DoMorphing();

protected:
    // The image at ObjectRect's size: normal, hot, or a morph frame between them, from
    // Picture through build (which fits a source rectangle to the size).
    void DrawLooks(rt::TBitmap& image, const rt::TRect& normal, const rt::TRect& hot, bool pressed,
                   const rt::TRect& pressedRect) const;
    virtual void BuildImage(rt::TBitmap& image, const rt::TRect& source) const;
};

// A top-level item of the main menu.
class TskSkinMainMenuBarItem : public TskMenuBarObject {
public:
    TskSkinMainMenuBarItem(TskSkinMainMenuBar& parent, const TskSkin* skin,
                           const TskDataSkinMainMenuBarItem* description, rt::TMenuItem* item);

    rt::TMenuItem* MenuItem;
    TskFontDesc Font;  // with no face named, the bar's default item font
    rt::TRect TextRect;
    int ItemLeftEnd = 0, ItemRightEnd = 0;
    bool HasSkin = false;
    // The item lies inside the items area; one that does not is disabled and not drawn.
    bool Fits = true;
    bool SavedEnabled = true;

    bool HasSubItems() const;
    // Places the item at (x, top) for the current caption and font; returns its width.
    int Place(int x, int top, int areaHeight);
    void Draw(rt::TCanvas& canvas) override;
    void MouseDown(int x, int y, int button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // Pressed: the item's popup is open. Setting it opens the popup; clearing it does not
    // close one (the engine closes a cascade when the next opens).
    void SetDown(bool value);

protected:
    void BuildImage(rt::TBitmap& image, const rt::TRect& source) const override;

private:
    rt::TFont ItemFont() const;
    int CaptionWidth() const;
};

// A system button of a maximized child window, on the bar.
class TskSkinMainMenuBarButton : public TskMenuBarObject {
public:
    TskSkinMainMenuBarButton(TskSkinMainMenuBar& parent, const TskSkin* skin,
                             const TskDataSkinMainMenuBarButton* description);
    // A button of the default look.
    TskSkinMainMenuBarButton(TskSkinMainMenuBar& parent, const std::string& name,
                             TskStdCommand command);

    bool HasSkin = false;
    TskStdCommand Command = cmDefault;

    bool CanMorphing() const override;
    void Draw(rt::TCanvas& canvas) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetDown(bool value);
};

class TskSkinMainMenuBar : public TskSkinControl {
public:
    explicit TskSkinMainMenuBar(rt::TComponent* owner);
    ~TskSkinMainMenuBar() override;

    rt::TMainMenu* MainMenu() const { return mainMenu_; }
    // Rebuilds the items and repaints.
    void SetMainMenu(rt::TMainMenu* menu);
    TskSkinForm* SkinForm() const { return skinForm_; }
    void SetSkinForm(TskSkinForm* form);
    bool PopupToUp = false;
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    const rt::TFont& DefItemFont() const { return defItemFont_; }
    void SetDefItemFont(const rt::TFont& font);
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);

    // Copied from the skin's bar description.
    bool BarSkinned() const { return barSkinned_; }
    const rt::TRect& NormalLookRect() const { return normalLookRect_; }
    const rt::TRect& ItemsBox() const { return itemsBox_; }
    rt::TColor MarkColor() const { return markColor_; }
    rt::TColor MarkHotColor() const { return markHotColor_; }

    // State.
    const std::vector<std::unique_ptr<TskMenuBarObject>>& Objects() const { return objects_; }
    // The items alone, in menu order.
    std::vector<TskSkinMainMenuBarItem*> Items() const;
    int HoverIndex() const { return hoverIndex_; }
    int OldHoverIndex() const { return oldHoverIndex_; }
    int PressedIndex() const { return pressedIndex_; }
    const rt::TRect& ItemsArea() const { return itemsArea_; }
    bool MenuMode() const { return menuMode_; }
    bool HasHiddenItems() const { return hasHiddenItems_; }
    bool TrackMarkHot() const { return trackMarkHot_; }
    bool ShowButtons() const { return showButtons_; }
    // The 5-pixel strip at the right end of the items area that holds the track mark.
    rt::TRect TrackMarkRect() const;
    bool HoverTickerEnabled() const;
    bool MorphTickerEnabled() const;

    // Lays the objects out for the current size (also done before every paint).
    void Layout();
    // Hover tracking at a bar point; (-1, -1) for none.
    void TrackHover(rt::TPoint p);
    // Opens the hidden items' popup at the track mark.
    void PopupHiddenItems();

    // Called by the skinned form.
    void EnterMenuMode();
    void LeaveMenuMode();
    // A popup closed while the bar keeps menu mode: the pressed item shows hot again.
    void PopupClosed();
    // The mouse button that pressed an object went up elsewhere (in a popup that took the
    // release): the bar holds no pressed object any more.
    void CancelPress() { pressedIndex_ = -1; }
    // Alt+key, or any key in menu mode: the matching enabled, fitting item opens. True when
    // an item matched.
    bool Accelerator(int key);
    // The next or previous enabled item that fits, wrapping round; the first or last when none
    // is selected.
    void NextItem();
    void PreviousItem();
    // Opens the selected item's popup (or runs a command item); false when nothing was.
    bool EnterKey();
    // The system buttons of a maximized child window (close, restore, minimize, system menu):
    // commands go to child, disabled per its border icons.
    void ShowSystemButtons(TskFormHost* child, TskBorderIcons icons);
    void HideSystemButtons();
    TskFormHost* ButtonsChild() const { return child_; }

    // The skin change.
    void ApplySkin() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(rt::TMessage& message) override;

    // For the objects: the bar's skin data and fonts, a repaint, the morph timer.
    void ObjectChanged(TskMenuBarObject& object);
    rt::TRect ScreenRectOf(const rt::TRect& r) const;
    // The form leaves main-menu mode (an item without sub-items runs its command).
    void LeaveFormMenuMode();

protected:
    void Paint(rt::TCanvas& canvas) override;
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Resize() override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    friend class TskMenuBarObject;
    friend class TskSkinMainMenuBarItem;
    friend class TskSkinMainMenuBarButton;
    void ReadSkin();
    void BuildItems();
    void AddSystemButtons();
    void DrawTrackMark(rt::TCanvas& canvas) const;
    void HoverTick();
    void MorphTick();
    // The index in Objects of the first item matching the test, or -1.
    int FindItem(const std::function<bool(TskSkinMainMenuBarItem&)>& test, int from = 0,
                 int step = 1) const;
    TskSkinMainMenuBarItem* ItemAt(int index) const;
    bool Selectable(int index) const;
    void StepItem(int step);
    const TskDataSkinObject* SkinObjectNamed(const std::string& name) const;

    rt::TMainMenu* mainMenu_ = nullptr;
    TskSkinForm* skinForm_ = nullptr;
    bool useSkinFont_ = true;
    rt::TFont defItemFont_;
    int defaultWidth_ = 0;
    int defaultHeight_ = 22;

    bool barSkinned_ = false;
    rt::TRect normalLookRect_, itemsBox_;
    std::string itemName_, closeName_, minName_, maxName_, sysMenuName_;
    rt::TColor markColor_ = rt::clBtnShadow, markHotColor_ = rt::clBtnText;
    const rt::TBitmap* picture_ = nullptr;
    // The skin the bar's picture, items and buttons were read from, kept while they live.
    TskSkinRef barSkin_;

    std::vector<std::unique_ptr<TskMenuBarObject>> objects_;
    int hoverIndex_ = -1, oldHoverIndex_ = -1, pressedIndex_ = -1;
    rt::TRect itemsArea_;
    bool menuMode_ = false;
    bool hasHiddenItems_ = false;
    bool trackMarkHot_ = false;
    bool showButtons_ = false;
    TskFormHost* child_ = nullptr;
    TskBorderIcons childIcons_ = 0;
    rt::TTimer* hoverTicker_;
    rt::TTimer* morphTicker_;
    rt::TBitmap buffer_;
};

}  // namespace sk
