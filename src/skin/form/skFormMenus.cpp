#include "skin/form/skFormMenus.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "runtime/Screen.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinHint.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"

namespace sk {

using rt::TRect;

namespace {

constexpr const char* kSysItemNames[] = {"SKF_MINITEM", "SKF_MAXITEM",   "SKF_RESTORE",
                                         "SKF_ROLLUP",  "SKF_MINTOTRAY", "SKF_CLOSE"};

rt::TShortCut AltF4() { return rt::ShortCut(rt::VK_F4, rt::ssAlt); }

bool IsPress(unsigned message) {
    return message == rt::WM_LBUTTONDOWN || message == rt::WM_NCLBUTTONDOWN ||
           message == rt::WM_LBUTTONDBLCLK || message == rt::WM_NCLBUTTONDBLCLK;
}

bool IsMouse(unsigned message) {
    return (message >= rt::WM_MOUSEMOVE && message <= rt::WM_MBUTTONDBLCLK) ||
           (message >= rt::WM_NCMOUSEMOVE && message <= rt::WM_NCMBUTTONDBLCLK);
}

// Where a mouse message happened on the screen: client messages carry the target's client
// point, non-client ones the screen point.
rt::TPoint ScreenPointOf(const rt::TMsg& m) {
    const rt::TPoint p = rt::LParamToPoint(m.LParam);
    if (m.Message >= rt::WM_NCMOUSEMOVE && m.Message <= rt::WM_NCMBUTTONDBLCLK) return p;
    return m.Target->ClientToScreen(p);
}

}  // namespace

TskFormMenus::TskFormMenus(TskSkinForm& form) : form_(form) {
    defaultSysMenu_ = rt::Make<rt::TPopupMenu>(&form_);
    skinMenu_ = rt::Make<TskSkinMenu>(&form_);
    skinMenu_->OnAllClosed = [this] { MenuClosed(); };
    BuildTrayMenu();
}

TskFormMenus::~TskFormMenus() = default;

void TskFormMenus::Shutdown() {
    RemoveMenuHook();
    skinMenu_->OnAllClosed = nullptr;
}

void TskFormMenus::SetMainMenuBar(TskSkinMainMenuBar* value) {
    if (mainMenuBar_ == value) return;
    if (mainMenuMode_) LeaveMainMenuMode();
    if (mainMenuBar_ != nullptr) form_.RemoveFreeNotification(mainMenuBar_);
    mainMenuBar_ = value;
    if (mainMenuBar_ != nullptr) form_.FreeNotification(mainMenuBar_);
}

void TskFormMenus::MainMenuBarRemoved() {
    mainMenuBar_ = nullptr;
    if (mainMenuMode_) LeaveMainMenuMode();
}

void TskFormMenus::MainMenuBarGoing(TskSkinMainMenuBar* bar) {
    if (bar == nullptr) return;
    if (skinMenu_->MenuVisible() && skinMenu_->OpenerControl() == bar) skinMenu_->CloseAll();
    if (mainMenuBar_ == bar) SetMainMenuBar(nullptr);
}

void TskFormMenus::BuildTrayMenu() {
    trayMenu_ = rt::Make<TskSkinPopupMenu>(&form_);
    trayMenu_->SetSkinForm(&form_);
    auto add = [this](const char* caption, const char* name, rt::TNotifyEvent click) {
        rt::TMenuItem* item = rt::Make<rt::TMenuItem>(trayMenu_);
        item->Caption = caption;
        item->SetName(name);
        item->OnClick = std::move(click);
        trayMenu_->Items()->Add(item);
        return item;
    };
    // The program shows no tray icon: restoring brings the application back, and there is no
    // icon to hide.
    add("&Restore", "TRAY_SKF_RESTORE", [this](rt::TComponent*) {
        if (rt::Application() != nullptr) rt::Application()->Restore();
        if (form_.OnRestoreFromTray) form_.OnRestoreFromTray(&form_);
    });
    add("-", "", nullptr);
    add("&Close", "TRAY_SKF_CLOSE", [this](rt::TComponent*) { form_.CloseForm(); })->ShortCut =
        AltF4();
}

void TskFormMenus::MakeDefaultSysItems(bool merged) {
    defaultSysItems_.clear();
    auto add = [this](const char* caption, const char* name, std::function<void()> run) {
        auto item = std::make_unique<rt::TMenuItem>(nullptr);
        item->Caption = caption;
        item->SetName(name);
        if (run) item->OnClick = [run](rt::TComponent*) { run(); };
        defaultSysItems_.push_back(std::move(item));
    };
    TskSkinForm& f = form_;
    const TskBorderIcons icons = f.BorderIcons();
    const bool minimized = f.WindowState() == TskWindowState::wsMinimized;
    const bool maximized = f.WindowState() == TskWindowState::wsMaximized;
    auto minimize = [&] {
        if (!minimized && (icons & biMinimize) != 0)
            add("Mi&nimize", "SKF_MINITEM",
                [&f] { f.SetWindowState(TskWindowState::wsMinimized); });
    };
    auto maximize = [&] {
        if (!maximized && (icons & biMaximize) != 0)
            add("Ma&ximize", "SKF_MAXITEM",
                [&f] { f.SetWindowState(TskWindowState::wsMaximized); });
    };
    auto restore = [&] {
        if (minimized || maximized || f.RollUpState())
            add("&Restore", "SKF_RESTORE", [&f] {
                if (f.RollUpState() &&
                    (f.MaxRollUpState() || f.WindowState() == TskWindowState::wsNormal))
                    f.SetRollUpState(false);
                else
                    f.SetWindowState(TskWindowState::wsNormal);
            });
    };
    minimize();
    // Merged into the application's own system menu, Restore comes before Maximize.
    if (merged) {
        restore();
        maximize();
    } else {
        maximize();
        restore();
    }
    if (!f.RollUpState() && !minimized && (icons & biRollUp) != 0)
        add("Ro&llUp", "SKF_ROLLUP", [&f] { f.SetRollUpState(true); });
    if ((icons & biMinimizeToTray) != 0)
        add("Minimize to &Tray", "SKF_MINTOTRAY", [&f] {
            if (f.Window() != nullptr) f.Window()->MinimizeApplication();
            if (f.OnMinimizeToTray) f.OnMinimizeToTray(&f);
        });
}

void TskFormMenus::RebuildDefaultSysMenu() {
    MakeDefaultSysItems(false);
    for (const auto& item : defaultSysItems_) defaultSysMenu_->Items()->Add(item.get());
    auto add = [this](const char* caption, const char* name) {
        auto item = std::make_unique<rt::TMenuItem>(nullptr);
        item->Caption = caption;
        item->SetName(name);
        defaultSysMenu_->Items()->Add(item.get());
        defaultSysItems_.push_back(std::move(item));
        return defaultSysItems_.back().get();
    };
    if (!defaultSysItems_.empty()) add("-", "");
    rt::TMenuItem* close = add("&Close", "SKF_CLOSE");
    close->OnClick = [this](rt::TComponent*) { form_.CloseForm(); };
    close->ShortCut = AltF4();
}

rt::TMenuItem* TskFormMenus::GetSystemMenu() {
    rt::TPopupMenu* systemMenu = form_.SystemMenu();
    // Rebuilding frees the built-in items: a system menu on the screen goes first.
    if (skinMenu_->MenuVisible() &&
        (skinMenu_->ShownItem() == defaultSysMenu_->Items() ||
         (systemMenu != nullptr && skinMenu_->ShownItem() == systemMenu->Items())))
        skinMenu_->CloseAll();
    if (systemMenu == nullptr) {
        RebuildDefaultSysMenu();
        return defaultSysMenu_->Items();
    }
    rt::TMenuItem* root = systemMenu->Items();
    if (!form_.UseDefaultSysMenu) return root;
    // The built-in items of an earlier opening leave the menu when they are freed; items of
    // the application that carry those names go too, since the built-in ones stand for them.
    defaultSysItems_.clear();
    for (const char* name : kSysItemNames)
        while (rt::TMenuItem* old = root->Find(name)) root->Remove(old);
    MakeDefaultSysItems(true);
    int at = 0;
    for (const auto& item : defaultSysItems_) root->Insert(at++, item.get());
    auto close = std::make_unique<rt::TMenuItem>(nullptr);
    close->Caption = "&Close";
    close->SetName("SKF_CLOSE");
    close->ShortCut = AltF4();
    close->OnClick = [this](rt::TComponent*) { form_.CloseForm(); };
    root->Add(close.get());
    defaultSysItems_.push_back(std::move(close));
    return root;
}

void TskFormMenus::SyncMenuStyle() {
    skinMenu_->UseSkinFont = form_.UseSkinFontInMenu;
    skinMenu_->DefMenuItemHeight = form_.DefMenuItemHeight();
    skinMenu_->DefaultMenuItemFont = form_.DefMenuItemFont;
    skinMenu_->AlphaBlend = form_.MenusAlphaBlend;
    skinMenu_->AlphaBlendAnimation = form_.MenusAlphaBlendAnimation;
    skinMenu_->AlphaBlendValue = form_.MenusAlphaBlendValue;
}

bool TskFormMenus::PopupMenu(rt::TControl* opener, TskSkinData* skinData, bool popupUp,
                             rt::TMenuItem* item, const TRect& screenRect, int startIndex) {
    SyncMenuStyle();
    MenuOpened();
    if (skinMenu_->Popup(opener, skinData, popupUp, item, screenRect, startIndex)) return true;
    if (!skinMenu_->MenuVisible()) MenuClosed();
    return false;
}

void TskFormMenus::PopupSystemMenu(rt::TPoint screen) {
    PopupMenu(nullptr, form_.MenuSkin(), false, GetSystemMenu(),
              rt::Rect(screen.X, screen.Y, screen.X, screen.Y), 0);
}

void TskFormMenus::PopupObjectMenu(rt::TMenuItem* item, const TRect& rect, bool popupUp) {
    TskFormWindow* window = form_.Window();
    TRect screen = rect;
    if (window != nullptr) {
        const TRect b = window->BoundsRect();
        screen = rt::Rect(rect.Left + b.Left, rect.Top + b.Top, rect.Right + b.Left,
                          rect.Bottom + b.Top);
        // The button stays down until the menu closes; the mouse belongs to the menu now.
        window->SetMouseCapture(false);
    }
    PopupMenu(nullptr, form_.MenuSkin(), popupUp, item, screen, 0);
}

void TskFormMenus::InstallMenuHook() {
    if (menuHook_ != 0 || rt::Application() == nullptr) return;
    menuHook_ =
        rt::Application()->AddMessageHook([this](rt::TMsg& m) { return MenuHookMessage(m); });
}

void TskFormMenus::RemoveMenuHook() {
    if (menuHook_ == 0) return;
    if (rt::Application() != nullptr) rt::Application()->RemoveMessageHook(menuHook_);
    menuHook_ = 0;
}

void TskFormMenus::MenuOpened() {
    if (!mainMenuMode_) InstallMenuHook();
    if (menuOpen_) return;
    menuOpen_ = true;
    if (form_.OnSkinMenuOpen) form_.OnSkinMenuOpen(&form_);
}

void TskFormMenus::MenuClosed() {
    menuOpen_ = false;
    for (const auto& o : form_.Objects()) {
        auto* b = dynamic_cast<TskSkinButtonObject*>(o.get());
        if (b != nullptr && b->MenuItem != nullptr && b->Down) {
            b->SetDown(false);
            break;
        }
    }
    RemoveMenuHook();
    if (form_.OnSkinMenuClose) form_.OnSkinMenuClose(&form_);
    if (mainMenuMode_) LeaveMainMenuMode();
}

void TskFormMenus::EnterMainMenuMode(rt::TComponent* bar) {
    InstallMenuHook();
    const bool entering = !mainMenuMode_;
    mainMenuMode_ = true;
    if (entering && form_.OnMainMenuEnter) form_.OnMainMenuEnter(bar);
}

void TskFormMenus::LeaveMainMenuMode() {
    if (!mainMenuMode_) return;
    mainMenuMode_ = false;
    if (skinMenu_->MenuVisible())
        skinMenu_->CloseAll();
    else if (menuOpen_)
        MenuClosed();
    if (mainMenuBar_ != nullptr) mainMenuBar_->LeaveMenuMode();
    RemoveMenuHook();
    if (form_.OnMainMenuExit) form_.OnMainMenuExit(&form_);
}

TskSkinMainMenuBar* TskFormMenus::UsableBar() const {
    if (mainMenuBar_ == nullptr || !mainMenuBar_->Visible() || mainMenuBar_->MainMenu() == nullptr)
        return nullptr;
    return mainMenuBar_;
}

void TskFormMenus::KeyMenu() {
    if (mainMenuMode_) {
        LeaveMainMenuMode();
        return;
    }
    // The system's own menu loop never runs: open menus close and the bar takes the keys.
    if (skinMenu_->MenuVisible())
        skinMenu_->CloseAll();
    else if (menuOpen_)
        MenuClosed();
    if (TskSkinMainMenuBar* bar = UsableBar()) bar->EnterMenuMode();
}

bool TskFormMenus::ShortCut(int key, unsigned shift) {
    // Without a window system behind the frame, nobody else turns Alt+F4 into a close.
    if (key == rt::VK_F4 && shift == rt::ssAlt) {
        form_.CloseForm();
        return true;
    }
    TskSkinMainMenuBar* bar = UsableBar();
    if (bar == nullptr) return false;
    if (shift == rt::ssAlt && bar->Accelerator(key)) return true;
    return bar->MainMenu()->IsShortCut(key, shift);
}

void TskFormMenus::MenuKey(int key) {
    TskSkinMainMenuBar* bar = mainMenuMode_ ? UsableBar() : nullptr;
    if (bar != nullptr && bar->Accelerator(key)) return;
    const bool popups = skinMenu_->MenuVisible();
    if (key == rt::VK_ESCAPE && !popups) {
        if (mainMenuMode_)
            LeaveMainMenuMode();
        else
            MenuClosed();
        return;
    }
    if (bar != nullptr) {
        if (key == rt::VK_LEFT && skinMenu_->PopupCount() <= 1) {
            bar->PreviousItem();
            return;
        }
        if (key == rt::VK_RIGHT && !skinMenu_->Cascade().ActiveItemHasSubItems()) {
            bar->NextItem();
            return;
        }
        if (key == rt::VK_RETURN && bar->EnterKey()) return;
        // Down on the bar opens the selected item, as on a native menu bar.
        if (key == rt::VK_DOWN && !popups && bar->EnterKey()) return;
    }
    skinMenu_->KeyDown(key);
    if (key != rt::VK_ESCAPE || skinMenu_->MenuVisible() || !popups) return;
    if (mainMenuMode_ && mainMenuBar_ != nullptr) {
        // The last popup closed but the bar keeps the keys: the arrows walk on, a second Esc
        // leaves.
        menuOpen_ = false;
        mainMenuBar_->PopupClosed();
        if (form_.OnSkinMenuClose) form_.OnSkinMenuClose(&form_);
    } else {
        MenuClosed();
    }
}

bool TskFormMenus::MenuHookMessage(rt::TMsg& m) {
    const bool popups = skinMenu_->MenuVisible();
    if (!menuOpen_ && !mainMenuMode_ && !popups) {
        // Nothing is open any more: the hook must not outlive the menus.
        RemoveMenuHook();
        return false;
    }
    if (m.Message == rt::WM_KEYDOWN) {
        MenuKey(int(m.WParam));
        return true;
    }
    if (!popups || !IsMouse(m.Message) || m.Target == nullptr) return false;
    const rt::TPoint at = ScreenPointOf(m);
    const int level = skinMenu_->PopupAt(at);
    sk::TskSkinPopupWindow* popup = skinMenu_->PopupWindow(level);
    if (popup != nullptr && m.Target != popup) {
        // The window that holds the mouse (the bar item or frame button pressed to open the
        // menu) gets what happens over the popup: the popup follows, and a release there
        // chooses the item, as dragging through a native menu does.
        const rt::TPoint p = popup->ScreenToClient(at);
        if (m.Message == rt::WM_MOUSEMOVE || m.Message == rt::WM_NCMOUSEMOVE)
            skinMenu_->Cascade().MouseMove(level, p.X, p.Y);
        if (m.Message == rt::WM_LBUTTONUP || m.Message == rt::WM_NCLBUTTONUP) {
            // The release never reaches the bar that was pressed: it lets go of its press here,
            // or it would keep waiting for the release with hover and clicks held up.
            if (mainMenuBar_ != nullptr && m.Target == mainMenuBar_) mainMenuBar_->CancelPress();
            skinMenu_->MouseUpAt(level, at);
            return true;
        }
        return false;
    }
    if (IsPress(m.Message) && level < 0 && skinMenu_->Anchor().Contains(at)) {
        // A second press on what opened the menu closes it and opens nothing.
        if (mainMenuMode_)
            LeaveMainMenuMode();
        else
            skinMenu_->CloseAll();
        return true;
    }
    return false;
}

void TskFormMenus::SkinChanging() {
    if (mainMenuMode_)
        LeaveMainMenuMode();
    else if (skinMenu_->MenuVisible())
        skinMenu_->CloseAll();
}

bool TskFormMenus::HandleMenuMessage(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) != rt::SC_KEYMENU) return false;
            KeyMenu();
            m.Result = 0;
            return true;
        case rt::WM_SHOWWINDOW:
            // A hidden window's menus would stay on the screen without it.
            if (m.WParam == 0) CloseMenusOnActivity(m.Msg, m.WParam, m.LParam);
            return false;
        case rt::WM_MOVE:
        case rt::WM_SIZE:
        case rt::WM_ACTIVATE:
        case rt::WM_KILLFOCUS:
        case rt::WM_CANCELMODE:
        case rt::WM_MOUSEACTIVATE:
        case rt::WM_NCLBUTTONDOWN:
        case rt::WM_NCRBUTTONDOWN:
        case rt::WM_NCMBUTTONDOWN:
        case rt::WM_LBUTTONDOWN:
        case rt::WM_RBUTTONDOWN:
        case rt::WM_MBUTTONDOWN:
        case rt::WM_PARENTNOTIFY:
            CloseMenusOnActivity(m.Msg, m.WParam, m.LParam);
            return false;
        default:
            return false;
    }
}

void TskFormMenus::CloseMenusOnActivity(unsigned message, std::intptr_t wParam,
                                        std::intptr_t lParam) {
    // An object's hint would otherwise stay up over whatever the activity brings.
    if (form_.ShowObjectHint && form_.SkinHint() != nullptr) form_.SkinHint()->HideHint();
    const bool popups = skinMenu_->MenuVisible();
    // A press on the anchor of the open menu is left to the hook, which eats it.
    auto* form = dynamic_cast<rt::TControl*>(form_.Owner());
    if (popups && menuHook_ != 0 && message == rt::WM_PARENTNOTIFY && IsPress(unsigned(wParam)) &&
        form != nullptr &&
        skinMenu_->Anchor().Contains(form->ClientToScreen(rt::LParamToPoint(lParam))))
        return;
    if (mainMenuMode_ && !popups)
        LeaveMainMenuMode();
    else if (popups)
        skinMenu_->CloseAll();
    else if (menuOpen_)
        MenuClosed();
}

}  // namespace sk
