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
//
// The component keeps the properties, the frame objects, the skin change and the wiring, and
// hands the work to four parts with one job each: the frame renderer (geometry, strips, mask,
// window shape, painting: skFrameRenderer.h), the window-state controller (maximize, minimize,
// roll-up, size limits, magnetic move, fade-in: skWindowStateController.h), the menu controller
// (menu engine, hook, system and tray menus, menu keys: skFormMenus.h) and the hover and morph
// animator (hovered and pressed objects, their timers: skFrameAnimator.h).

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
#include "skin/form/skFormMenus.h"
#include "skin/form/skFormTypes.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameAnimator.h"
#include "skin/form/skFrameGeometry.h"
#include "skin/form/skFrameRenderer.h"
#include "skin/form/skWindowStateController.h"

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
    static constexpr std::uintptr_t kFadeInTimer = TskWindowStateController::kFadeInTimer;
    static constexpr std::uintptr_t kHoverTimer = TskFrameAnimator::kHoverTimer;
    static constexpr std::uintptr_t kMorphTimer = TskFrameAnimator::kMorphTimer;
    // The caption height of the default frame.
    static constexpr int kDefaultCaptionHeight = TskFrameRenderer::kDefaultCaptionHeight;

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
    TskSkinMainMenuBar* MainMenuBar() const { return menus_->MainMenuBar(); }
    void SetMainMenuBar(TskSkinMainMenuBar* value) { menus_->SetMainMenuBar(value); }
    // A bar that goes away, called while it is still whole: the menus it opened close and the
    // form forgets it, so no close notice reaches it after its destructor.
    void MainMenuBarGoing(TskSkinMainMenuBar* bar) { menus_->MainMenuBarGoing(bar); }
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
    bool Skinned() const { return renderer_.Skinned(); }
    const std::vector<std::unique_ptr<TskActiveSkinObject>>& Objects() const { return objects_; }
    // The object named id, or null.
    TskActiveSkinObject* FindObject(const std::string& id) const;
    int HoverIndex() const { return animator_.HoverIndex(); }
    int OldHoverIndex() const { return animator_.OldHoverIndex(); }
    int PressedIndex() const { return animator_.PressedIndex(); }
    TskWindowState WindowState() const override { return states_.WindowState(); }
    bool RollUpState() const override { return states_.RollUpState(); }
    bool MaxRollUpState() const { return states_.MaxRollUpState(); }
    const rt::TRect& RestoreRect() const { return states_.RestoreRect(); }
    int RollUpHeight() const { return states_.RollUpHeight(); }
    int FrameWidth() const { return renderer_.Size().X; }
    int FrameHeight() const { return renderer_.Size().Y; }
    bool InSizeMove() const { return states_.InSizeMove(); }
    bool FormActive() const override { return formActive_; }
    bool MenuOpen() const { return menus_->MenuOpen(); }
    // The menu bar walks its items: keyboard menu mode, or a bar item's popup is open.
    bool MainMenuMode() const { return menus_->MainMenuMode(); }
    // The popup-menu engine every menu of the form opens through.
    TskSkinMenu* SkinMenu() const { return menus_->SkinMenu(); }
    // "&Restore", "-", "&Close": the menu a tray icon of the form would show.
    TskSkinPopupMenu* TrayMenu() const { return menus_->TrayMenu(); }
    // The application message hook is installed (a menu is open or the bar is in menu mode).
    bool MenuHookInstalled() const { return menus_->MenuHookInstalled(); }
    // The frame geometry for the current size (skinned), laid out.
    const TskFrameGeometry& Geometry() { return renderer_.Geometry(); }
    // The window shape currently set (empty: none).
    const rt::TRegion& FormRegion() const { return renderer_.Region(); }
    bool HoverTickerEnabled() const { return animator_.HoverTickerEnabled(); }
    bool MorphTickerEnabled() const { return animator_.MorphTickerEnabled(); }

    // Window commands.
    void SetWindowState(TskWindowState state) override;
    void SetRollUpState(bool rolledUp) override;
    rt::TMenuItem* GetSystemMenu() override { return menus_->GetSystemMenu(); }
    // Opens the system menu with its top-left at the screen point.
    void PopupSystemMenu(rt::TPoint screen) { menus_->PopupSystemMenu(screen); }
    // Opens item's sub-items from startIndex through the engine at a screen rectangle, with
    // the menu-opened bookkeeping; the opener is sent 1228 when the menus close. False (and
    // the menu counts as closed again) when there was nothing to show.
    bool PopupMenu(rt::TControl* opener, TskSkinData* skinData, bool popupUp, rt::TMenuItem* item,
                   const rt::TRect& screenRect, int startIndex = 0) {
        return menus_->PopupMenu(opener, skinData, popupUp, item, screenRect, startIndex);
    }
    // The skin menus opened from the frame are shown with: MenusSkinData, else SkinData.
    TskSkinData* MenuSkin() const;
    // Installs the message hook (unless in main-menu mode), sets MenuOpen, fires
    // OnSkinMenuOpen once.
    void MenuOpened() { menus_->MenuOpened(); }
    // Clears MenuOpen, releases a frame button whose menu it was, removes the hook, fires
    // OnSkinMenuClose, and leaves main-menu mode.
    void MenuClosed() { menus_->MenuClosed(); }
    // The menu bar entered menu mode: the hook goes in, OnMainMenuEnter(bar) fires.
    void EnterMainMenuMode(rt::TComponent* bar) { menus_->EnterMainMenuMode(bar); }
    // Closes the popups, tells the bar, removes the hook, fires OnMainMenuExit.
    void LeaveMainMenuMode() { menus_->LeaveMainMenuMode(); }

    // Keyboard glue. SC_KEYMENU (Alt alone, F10): leaves main-menu mode, or closes open menus
    // and puts the menu bar into keyboard menu mode.
    void KeyMenu() { menus_->KeyMenu(); }
    // The form's short-cut handler: Alt+letter opens the matching bar item, other keys go to the
    // main menu's short-cuts; Alt+F4 closes the form. True when handled.
    bool ShortCut(int key, unsigned shift) { return menus_->ShortCut(key, shift); }
    // The application message hook while a menu is open: takes every key press for the menus,
    // a release over a popup for that popup, and a press on the open menu's anchor, which
    // only closes the menu. True swallows the message.
    bool MenuHookMessage(rt::TMsg& message) { return menus_->MenuHookMessage(message); }
    // The menu part of the form's window procedure, run before anything else: the messages
    // that end menus close them (and go on), SC_KEYMENU enters keyboard menu mode (and is
    // consumed: the system's menu loop never runs). True when the message is consumed.
    bool HandleMenuMessage(rt::TMessage& message) { return menus_->HandleMenuMessage(message); }
    // One of the messages that end menus (a move, size, activation change, focus loss, cancel,
    // a press anywhere on the form, the window hidden): closes them.
    void CloseMenusOnActivity(unsigned message, std::intptr_t wParam = 0,
                              std::intptr_t lParam = 0) {
        menus_->CloseMenusOnActivity(message, wParam, lParam);
    }

    // The skin change: objects from the skin (or the default buttons), size fitted to the
    // frame, region, repaint, OnChangeSkinData.
    void ChangeSkinData();

    // Message handlers; the wiring calls each for its message.
    // SM_BEFORECHANGESKIN, SM_CHANGESKIN, SM_AFTERCHANGESKIN; false for other messages.
    bool HandleSkinMessage(rt::TMessage& message);
    // WM_GETMINMAXINFO: minimum and maximum tracking sizes.
    rt::TPoint MinTrackSize() const { return states_.MinTrackSize(); }
    rt::TPoint MaxTrackSize() const { return states_.MaxTrackSize(MaximizeOnFullScreen); }
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
    // The window goes to every part that works on it.
    void ShareWindow();
    rt::TPoint ToWindow(rt::TPoint screen) const;
    void InvalidateFrame() { renderer_.InvalidateFrame(); }
    // The built-in frame buttons for the border icons, when the frame has no skin.
    void MakeDefaultButtons();
    TskFadeIn FadeIn() const;

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

    std::vector<std::unique_ptr<TskActiveSkinObject>> objects_;
    // The frame's geometry, strips, mask, shape and painting.
    TskFrameRenderer renderer_{*this, objects_};
    // The hovered and pressed objects, the hover and morph timers.
    TskFrameAnimator animator_{*this, objects_};
    // The window states, the size limits that follow from them and the fade-in.
    TskWindowStateController states_;
    bool formActive_ = false;
    rt::TBitmap smallIcon_;
    bool smallIconMade_ = false;
    // The menu engine, hook, system and tray menus and the menu keys. Made in the constructor,
    // once this component can own the menus it makes.
    std::unique_ptr<TskFormMenus> menus_;
};

}  // namespace sk
