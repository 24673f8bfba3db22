#pragma once
// TskSkinForm: the component that takes a form's whole frame from the window system and draws
// it itself, from the skin (border strips, caption, caption buttons, window shape, inactive
// look) or, without a skin, as a plain default frame. It keeps the window state itself
// (normal, minimized, maximized, rolled up), tests where the mouse is, sizes the client area,
// routes the mouse to the frame objects and animates them.
//
// Dropped on a form (created with the form as owner), it takes the form over at once: it
// replaces the form's window procedure, maps each window message to its handler below, hears
// the skin data objects' change announcements for the form and walks the form's controls on
// them. Destroying it gives the form its plain frame back. Without a form (tests), a
// TskFormWindow given through SetWindow stands for the window and the handlers are called
// directly.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"
#include "runtime/Messages.h"
#include "skin/data/skSkinSubscription.h"
#include "skin/form/skFormHost.h"
#include "skin/form/skFormTypes.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameGeometry.h"
#include "skin/form/skFrameStrips.h"

namespace rt {
class TControl;
class TForm;
class TMenuItem;
class TPopupMenu;
struct TMsg;
}  // namespace rt

namespace sk {

class TskSkinData;
class TskActiveSkinObject;
class TskSkinButtonObject;
class TskSkinCaptionObject;
class TskSkinHint;
class TskSkinMenu;
class TskSkinPopupMenu;
class TskSkinMainMenuBar;

using TskObjectMouseEvent =
    std::function<void(const std::string& id, int x, int y, const rt::TRect& rect, int button)>;
using TskObjectMouseMoveEvent =
    std::function<void(const std::string& id, int x, int y, const rt::TRect& rect)>;
using TskObjectNotifyEvent = std::function<void(const std::string& id)>;
using TskObjectPaintEvent =
    std::function<void(const std::string& id, rt::TCanvas& canvas, const rt::TRect& rect)>;

class TskSkinForm : public rt::TComponent, public TskFormHost {
public:
    // An owner that is a form is taken over at once (see above).
    explicit TskSkinForm(rt::TComponent* owner);
    ~TskSkinForm() override;

    // The window whose frame this component draws.
    void SetWindow(std::unique_ptr<TskFormWindow> window);
    TskFormWindow* Window() const { return window_.get(); }
    // The form taken over, or null.
    rt::TForm* Form() const { return form_; }

    // Window timers the component runs on its form; WM_TIMER with another id is the form's.
    static constexpr std::uintptr_t kFadeInTimer = 1;
    static constexpr std::uintptr_t kHoverTimer = 0x534B01;
    static constexpr std::uintptr_t kMorphTimer = 0x534B02;
    // The caption height of the default frame.
    static constexpr int kDefaultCaptionHeight = 19;

    TskSkinData* SkinData() const { return skinData_; }
    // Runs the skin change at once.
    void SetSkinData(TskSkinData* value);
    TskSkinData* MenusSkinData() const { return menusSkinData_; }
    void SetMenusSkinData(TskSkinData* value);
    // The form hears the changes of the skin data objects it uses: its frame's, its menus' and
    // those its skinned controls paint from, and no other. The set is taken again whenever one
    // of the first two is set and after each change; a form that gives a control another skin
    // data object later calls Resubscribe.
    void Resubscribe();
    bool HearsSkinData(const TskSkinData* data) const;
    rt::TPopupMenu* SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(rt::TPopupMenu* value);
    TskSkinMainMenuBar* MainMenuBar() const { return mainMenuBar_; }
    void SetMainMenuBar(TskSkinMainMenuBar* value);
    // A bar that goes away, called while it is still whole: the menus it opened close and the
    // form forgets it, so no close notice reaches it after its destructor.
    void MainMenuBarGoing(TskSkinMainMenuBar* bar);
    bool UseDefaultSysMenu = true;
    TskBorderIcons BorderIcons() const { return borderIcons_; }
    // Rebuilds the default buttons (without skin) and applies the icon rules.
    void SetBorderIcons(TskBorderIcons value);
    bool ShowIcon() const override { return showIcon_; }
    void SetShowIcon(bool value);
    bool MaximizeOnFullScreen = false;
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    int AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int value);
    bool AlphaBlendAnimation = false;
    bool MenusAlphaBlend = false;
    bool MenusAlphaBlendAnimation = false;
    int MenusAlphaBlendValue = 200;
    bool ShowObjectHint = false;
    // Shows the frame objects' hints while ShowObjectHint is on.
    TskSkinHint* SkinHint() const { return skinHint_; }
    void SetSkinHint(TskSkinHint* value);
    const rt::TFont& DefCaptionFont() const { return defCaptionFont_; }
    void SetDefCaptionFont(const rt::TFont& font);
    const rt::TFont& DefInActiveCaptionFont() const { return defInActiveCaptionFont_; }
    void SetDefInActiveCaptionFont(const rt::TFont& font);
    int DefMenuItemHeight() const { return defMenuItemHeight_; }
    // Values of 0 or less are ignored.
    void SetDefMenuItemHeight(int value);
    rt::TFont DefMenuItemFont;
    bool UseSkinFontInMenu = false;
    int MinWidth = 0;
    int MinHeight = 0;
    bool Magnetic = false;
    int MagneticSize = 5;

    rt::TNotifyEvent OnChangeSkinData;
    TskObjectMouseEvent OnMouseUpEvent;
    TskObjectMouseEvent OnMouseDownEvent;
    TskObjectMouseMoveEvent OnMouseMoveEvent;
    TskObjectNotifyEvent OnMouseEnterEvent;
    TskObjectNotifyEvent OnMouseLeaveEvent;
    TskObjectPaintEvent OnPaintEvent;
    rt::TNotifyEvent OnActivate;
    rt::TNotifyEvent OnDeActivate;
    rt::TNotifyEvent OnSkinMenuOpen;
    rt::TNotifyEvent OnSkinMenuClose;
    rt::TNotifyEvent OnChangeRollUpState;
    rt::TNotifyEvent OnMainMenuEnter;
    rt::TNotifyEvent OnMainMenuExit;
    rt::TNotifyEvent OnMinimizeToTray;
    rt::TNotifyEvent OnRestoreFromTray;

    // State.
    bool Skinned() const { return skinned_; }
    const std::vector<std::unique_ptr<TskActiveSkinObject>>& Objects() const { return objects_; }
    // The object named id, or null.
    TskActiveSkinObject* FindObject(const std::string& id) const;
    int HoverIndex() const { return hoverIndex_; }
    int OldHoverIndex() const { return oldHoverIndex_; }
    int PressedIndex() const { return pressedIndex_; }
    TskWindowState WindowState() const override { return windowState_; }
    bool RollUpState() const override { return rollUpState_; }
    bool MaxRollUpState() const { return maxRollUpState_; }
    const rt::TRect& RestoreRect() const { return restoreRect_; }
    int RollUpHeight() const { return rollUpHeight_; }
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    bool InSizeMove() const { return inSizeMove_; }
    bool FormActive() const override { return formActive_; }
    bool MenuOpen() const { return menuOpen_; }
    // The menu bar walks its items: keyboard menu mode, or a bar item's popup is open.
    bool MainMenuMode() const { return mainMenuMode_; }
    // The popup-menu engine every menu of the form opens through.
    TskSkinMenu* SkinMenu() const { return skinMenu_; }
    // "&Restore", "-", "&Close": the menu a tray icon of the form would show.
    TskSkinPopupMenu* TrayMenu() const { return trayMenu_; }
    // The application message hook is installed (a menu is open or the bar is in menu mode).
    bool MenuHookInstalled() const { return menuHook_ != 0; }
    // The frame geometry for the current size (skinned), laid out.
    const TskFrameGeometry& Geometry();
    // The window shape currently set (empty: none).
    const rt::TRegion& FormRegion() const { return region_; }
    bool HoverTickerEnabled() const { return hoverOn_; }
    bool MorphTickerEnabled() const { return morphOn_; }

    // Window commands.
    void SetWindowState(TskWindowState state) override;
    void SetRollUpState(bool rolledUp) override;
    rt::TMenuItem* GetSystemMenu() override;
    // Opens the system menu with its top-left at the screen point.
    void PopupSystemMenu(rt::TPoint screen);
    // Opens item's sub-items from startIndex through the engine at a screen rectangle, with
    // the menu-opened bookkeeping; the opener is sent 1228 when the menus close. False (and
    // the menu counts as closed again) when there was nothing to show.
    bool PopupMenu(rt::TControl* opener, TskSkinData* skinData, bool popupUp, rt::TMenuItem* item,
                   const rt::TRect& screenRect, int startIndex = 0);
    // The skin menus opened from the frame are shown with: MenusSkinData, else SkinData.
    TskSkinData* MenuSkin() const;
    // Installs the message hook (unless in main-menu mode), sets MenuOpen, fires
    // OnSkinMenuOpen once.
    void MenuOpened();
    // Clears MenuOpen, releases a frame button whose menu it was, removes the hook, fires
    // OnSkinMenuClose, and leaves main-menu mode.
    void MenuClosed();
    // The menu bar entered menu mode: the hook goes in, OnMainMenuEnter(bar) fires.
    void EnterMainMenuMode(rt::TComponent* bar);
    // Closes the popups, tells the bar, removes the hook, fires OnMainMenuExit.
    void LeaveMainMenuMode();

    // Keyboard glue. SC_KEYMENU (Alt alone, F10): leaves main-menu mode, or closes open menus
    // and puts the menu bar into keyboard menu mode.
    void KeyMenu();
    // The form's short-cut handler: Alt+letter opens the matching bar item, other keys go to the
    // main menu's short-cuts; Alt+F4 closes the form. True when handled.
    bool ShortCut(int key, unsigned shift);
    // The application message hook while a menu is open: takes every key press for the menus,
    // a release over a popup for that popup, and a press on the open menu's anchor, which
    // only closes the menu. True swallows the message.
    bool MenuHookMessage(rt::TMsg& message);
    // The menu part of the form's window procedure, run before anything else: the messages
    // that end menus close them (and go on), SC_KEYMENU enters keyboard menu mode (and is
    // consumed: the system's menu loop never runs). True when the message is consumed.
    bool HandleMenuMessage(rt::TMessage& message);
    // One of the messages that end menus (a move, size, activation change, focus loss, cancel,
    // a press anywhere on the form, the window hidden): closes them.
    void CloseMenusOnActivity(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

    // The skin change: objects from the skin (or the default buttons), size fitted to the
    // frame, region, repaint, OnChangeSkinData.
    void ChangeSkinData();

    // Message handlers; the wiring calls each for its message.
    // SM_BEFORECHANGESKIN, SM_CHANGESKIN, SM_AFTERCHANGESKIN; false for other messages.
    bool HandleSkinMessage(rt::TMessage& message);
    // WM_GETMINMAXINFO: minimum and maximum tracking sizes.
    rt::TPoint MinTrackSize() const;
    rt::TPoint MaxTrackSize() const;
    // WM_NCCALCSIZE: the client rectangle for a window rectangle.
    rt::TRect CalcClientRect(const rt::TRect& window) const;
    // WM_NCHITTEST at a screen point.
    int HitTest(rt::TPoint screen);
    // WM_NCPAINT: the frame onto a canvas of the window's size (the client area is left alone).
    void PaintFrame(rt::TCanvas& window);
    // WM_ERASEBKGND: the client background over area (client coordinates).
    void PaintClient(rt::TCanvas& canvas, const rt::TRect& area);
    // WM_SIZE and, during full-drag sizing, WM_SIZING.
    void Resized(int width, int height);
    void Sizing(rt::TRect& rect);
    // WM_MOVING: magnetic edges; a maximized form holds its place.
    void Moving(rt::TRect& rect);
    void EnterSizeMove();
    void ExitSizeMove();
    // WM_ACTIVATE and WM_NCACTIVATE.
    void Activate(bool active);
    void NcActivate(bool active);
    // WM_SETTEXT.
    void TextChanged();
    // WM_SHOWWINDOW: starts the fade-in; FadeInTick is its timer.
    void ShowWindow(bool show);
    void FadeInTick();
    // Non-client mouse messages at screen points, after the previous window procedure; hit is
    // the hit-test code, button 0 left and 1 right.
    void NcMouseDown(rt::TPoint screen, int hit, int button);
    void NcMouseUp(rt::TPoint screen, int button);
    void NcMouseMove(rt::TPoint screen);
    void NcDoubleClick(rt::TPoint screen, int hit, int button);
    // WM_LBUTTONUP / WM_RBUTTONUP in the client area.
    void ClientMouseUp(int button);
    // The timers' work, one tick each; TimerTick dispatches a window timer's id (false: not
    // one of this component's).
    void MorphTimerTick();
    void HoverTimerTick();
    bool TimerTick(std::uintptr_t id);
    // The replaced window procedure of the form taken over: each message to its handler, the
    // previous procedure called before or after it, or not at all, as the message needs.
    void FormWindowProc(rt::TMessage& message);
    // Hover tracking at a window point; over tells whether the mouse is over the window.
    void TrackHover(rt::TPoint p, bool over);

    // The mouse position in window coordinates.
    rt::TPoint MousePos() const;

    // TskFormHost.
    void PaintObjectNow(TskActiveSkinObject& object) override;
    void EnableMorphTimer() override;
    void CloseForm() override;
    void PopupObjectMenu(TskSkinButtonObject& button, rt::TMenuItem* item, const rt::TRect& rect,
                         bool popupUp) override;
    std::string CaptionText() const override;
    const rt::TBitmap& SmallIcon() override;
    bool RendersInactiveImage() const override;
    void ObjectMouseDown(const std::string& id, int x, int y, const rt::TRect& rect,
                         int button) override;
    void ObjectMouseUp(const std::string& id, int x, int y, const rt::TRect& rect,
                       int button) override;
    void ObjectMouseMove(const std::string& id, int x, int y, const rt::TRect& rect) override;
    void ObjectMouseEnter(const std::string& id) override;
    void ObjectMouseLeave(const std::string& id) override;
    void ObjectPaint(const std::string& id, rt::TCanvas& canvas, const rt::TRect& rect) override;

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    // Takes the form over (window procedure, skin announcements, short cuts), and gives it back.
    void AttachToForm(rt::TForm& form);
    void DetachFromForm();
    void CallPrevious(rt::TMessage& message);
    void SetTicker(bool& on, std::uintptr_t id, int interval, bool enable);
    rt::TPoint Size() const;
    rt::TPoint ToWindow(rt::TPoint screen) const;
    TskSkinCaptionObject* Caption() const;
    bool HasFrame() const;
    // Geometry and object layout for the current size, when the size or the layout changed.
    void EnsureLayout();
    // The four strips with the objects on them for the current size and activity.
    void Compose();
    void UpdateRegion();
    void InvalidateFrame();
    void SetCaptionActive(bool active, bool animate);
    void RebuildDefaultSysMenu();
    // The built-in system-menu items the state allows, in the order given; "-" and "&Close"
    // are not among them.
    void MakeDefaultSysItems(bool merged);
    void InstallMenuHook();
    void RemoveMenuHook();
    // The bar when it can take keys: set, visible, with a main menu.
    TskSkinMainMenuBar* UsableBar() const;
    void MenuKey(int key);
    void SyncMenuStyle();
    void BuildTrayMenu();
    void StartHoverTicker();
    void StopTimers();
    // The mask strips for the current size, when the skin has a mask.
    void EnsureMask();
    std::vector<rt::TPoint> OtherMinimizedForms() const;

    std::unique_ptr<TskFormWindow> window_;
    rt::TForm* form_ = nullptr;
    std::function<void(rt::TMessage&)> previousProc_;
    std::function<bool(rt::TComponent*, int, rt::TShiftState)> previousShortCut_;
    // Each call of a subscription reaches the form's window procedure as its skin message.
    void DeliverSkinMessage(unsigned msg, TskSkinData& data);
    std::vector<std::pair<TskSkinData*, TskSkinSubscription>> subscriptions_;
    TskSkinData* skinData_ = nullptr;
    TskSkinData* menusSkinData_ = nullptr;
    rt::TPopupMenu* systemMenu_ = nullptr;
    TskSkinHint* skinHint_ = nullptr;
    TskBorderIcons borderIcons_ = kDefaultBorderIcons;
    bool showIcon_ = false;
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 200;
    rt::TFont defCaptionFont_, defInActiveCaptionFont_;
    int defMenuItemHeight_ = 20;

    bool skinned_ = false;
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects_;
    int hoverIndex_ = -1, oldHoverIndex_ = -1, pressedIndex_ = -1;
    TskWindowState windowState_ = TskWindowState::wsNormal;
    bool rollUpState_ = false;
    bool maxRollUpState_ = false;
    rt::TRect restoreRect_;
    int rollUpHeight_ = 0;
    int frameWidth_ = 0, frameHeight_ = 0;
    bool inSizeMove_ = false;
    bool formActive_ = false;
    bool menuOpen_ = false;
    bool mainMenuMode_ = false;
    TskSkinMainMenuBar* mainMenuBar_ = nullptr;
    TskSkinMenu* skinMenu_ = nullptr;
    TskSkinPopupMenu* trayMenu_ = nullptr;
    int menuHook_ = 0;

    TskFrameSkin frameSkin_;
    TskFrameGeometry geometry_;
    bool layoutValid_ = false;
    // The frame as painted: the strips with the inactive effect and the objects on them,
    // valid for the geometry's size while frameValid_.
    TskFrameStrips strips_;
    bool frameValid_ = false;
    TskFrameStrips maskStrips_;
    rt::TPoint maskSize_{-1, -1};
    rt::TRegion region_;

    bool hoverOn_ = false, morphOn_ = false, fadeOn_ = false;
    rt::TPopupMenu* defaultSysMenu_ = nullptr;
    std::vector<std::unique_ptr<rt::TMenuItem>> defaultSysItems_;
    rt::TBitmap smallIcon_;
    bool smallIconMade_ = false;
};

}  // namespace sk
