#pragma once
// The skinned form's menu controller: the popup-menu engine every menu of the form opens
// through and its bookkeeping (a menu open, the menu bar in menu mode), the application message
// hook while a menu is open, the system menu with its built-in items, the tray menu, and the
// keys that make the skinned menu bar and popups behave like a native menu (Alt, F10, Alt+letter,
// the arrows, the short-cuts).
//
// It works for one TskSkinForm, through that form's public face: its window states, border
// icons, menu properties and events. The menus it makes are components of the form.

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/Graphics.h"

namespace rt {
class TComponent;
class TControl;
class TMenuItem;
class TPopupMenu;
struct TMessage;
struct TMsg;
}  // namespace rt

namespace sk {

class TskSkinData;
class TskSkinForm;
class TskSkinMainMenuBar;
class TskSkinMenu;
class TskSkinPopupMenu;

class TskFormMenus {
public:
    // Makes the form's menus: the engine, the default system menu and the tray menu.
    explicit TskFormMenus(TskSkinForm& form);
    ~TskFormMenus();
    TskFormMenus(const TskFormMenus&) = delete;
    TskFormMenus& operator=(const TskFormMenus&) = delete;

    // The form goes: the hook goes with it and the engine's close report reaches nobody.
    void Shutdown();

    TskSkinMenu* SkinMenu() const { return skinMenu_; }
    TskSkinPopupMenu* TrayMenu() const { return trayMenu_; }
    bool MenuOpen() const { return menuOpen_; }
    bool MainMenuMode() const { return mainMenuMode_; }
    bool MenuHookInstalled() const { return menuHook_ != 0; }
    TskSkinMainMenuBar* MainMenuBar() const { return mainMenuBar_; }
    void SetMainMenuBar(TskSkinMainMenuBar* value);
    // The bar is half gone: it hears nothing more.
    void MainMenuBarRemoved();
    void MainMenuBarGoing(TskSkinMainMenuBar* bar);

    rt::TMenuItem* GetSystemMenu();
    void PopupSystemMenu(rt::TPoint screen);
    // A frame button's menu, rect in window coordinates.
    void PopupObjectMenu(rt::TMenuItem* item, const rt::TRect& rect, bool popupUp);
    bool PopupMenu(rt::TControl* opener, TskSkinData* skinData, bool popupUp, rt::TMenuItem* item,
                   const rt::TRect& screenRect, int startIndex);
    void MenuOpened();
    void MenuClosed();
    void EnterMainMenuMode(rt::TComponent* bar);
    void LeaveMainMenuMode();
    // The form's skin is about to change: open popups close (they paint from it).
    void SkinChanging();

    void KeyMenu();
    bool ShortCut(int key, unsigned shift);
    bool MenuHookMessage(rt::TMsg& message);
    bool HandleMenuMessage(rt::TMessage& message);
    void CloseMenusOnActivity(unsigned message, std::intptr_t wParam, std::intptr_t lParam);

private:
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

    TskSkinForm& form_;
    bool menuOpen_ = false;
    bool mainMenuMode_ = false;
    TskSkinMainMenuBar* mainMenuBar_ = nullptr;
    TskSkinMenu* skinMenu_ = nullptr;
    TskSkinPopupMenu* trayMenu_ = nullptr;
    int menuHook_ = 0;
    rt::TPopupMenu* defaultSysMenu_ = nullptr;
    std::vector<std::unique_ptr<rt::TMenuItem>> defaultSysItems_;
};

}  // namespace sk
