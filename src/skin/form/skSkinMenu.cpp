#include "skin/form/skSkinMenu.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/Screen.h"
#include "skin/data/skSkinData.h"
#include "skin/form/skSkinForm.h"

namespace sk {

namespace {

// Steps of the fade-in of a menu's first popup.
constexpr int kMenuFadeStep = 3;

rt::TTimer* MakeTimer(rt::TComponent* owner, int interval, std::function<void()> tick) {
    rt::TTimer* t = rt::Make<rt::TTimer>(owner);
    t->SetEnabled(false);
    t->SetInterval(interval);
    t->OnTimer = [tick = std::move(tick)](rt::TComponent*) { tick(); };
    return t;
}

// Starts a timer again from zero, or stops it.
void Restart(rt::TTimer* timer, bool on) {
    timer->SetEnabled(false);
    if (on) timer->SetEnabled(true);
}

}  // namespace

TskSkinPopupWindow::TskSkinPopupWindow(TskSkinMenu& engine)
    : rt::TPopupWindow(nullptr), engine_(engine) {
    hoverTicker_ = MakeTimer(this, kMenuHoverInterval, [this] { HoverTick(); });
    morphTicker_ = MakeTimer(this, kMenuMorphInterval, [this] {
        if (view_ != nullptr) engine_.cascade_.TimerFired(mtMorph, view_);
    });
    scrollTimer_ = MakeTimer(this, kMenuScrollInterval, [this] {
        if (view_ != nullptr) engine_.cascade_.TimerFired(mtScroll, view_);
    });
}

TskSkinPopupWindow::~TskSkinPopupWindow() = default;

int TskSkinPopupWindow::Level() const { return engine_.cascade_.IndexOf(view_); }

void TskSkinPopupWindow::ShowView(TskSkinPopupView& view, bool fadeIn, int alpha) {
    view_ = &view;
    SetWindowRegion(view.Region() ? &*view.Region() : nullptr);
    SetBounds(view.ShowX, view.ShownTop, view.Width(), view.Height());
    SetAlphaBlend(fadeIn ? 0 : alpha);
    Show();
    Invalidate();
    if (fadeIn) {
        for (int a = kMenuFadeStep; a < alpha && view_ == &view; a += kMenuFadeStep) {
            SetAlphaBlend(a);
            if (rt::Application() != nullptr) rt::Application()->ProcessMessages();
        }
        if (view_ == &view) SetAlphaBlend(alpha);
    }
    lastCursor_ = rt::TPoint{-1, -1};
    if (view_ == &view) Restart(hoverTicker_, true);
}

void TskSkinPopupWindow::HideView() {
    hoverTicker_->SetEnabled(false);
    morphTicker_->SetEnabled(false);
    scrollTimer_->SetEnabled(false);
    view_ = nullptr;
    Hide();
}

void TskSkinPopupWindow::SetScrollTimer(bool on) { Restart(scrollTimer_, on); }
void TskSkinPopupWindow::SetMorphTimer(bool on) { Restart(morphTicker_, on); }
bool TskSkinPopupWindow::ScrollTimerRunning() const { return scrollTimer_->Enabled(); }
bool TskSkinPopupWindow::MorphTimerRunning() const { return morphTicker_->Enabled(); }
bool TskSkinPopupWindow::HoverTickerRunning() const { return hoverTicker_->Enabled(); }

void TskSkinPopupWindow::HoverTick() {
    const int level = Level();
    if (level < 0) {
        hoverTicker_->SetEnabled(false);
        return;
    }
    const rt::TPoint cursor = rt::GetCursorPos();
    if (cursor == lastCursor_) return;
    lastCursor_ = cursor;
    if (rt::WindowFromPoint(cursor) == this) {
        const rt::TPoint p = ScreenToClient(cursor);
        engine_.cascade_.MouseMove(level, p.X, p.Y);
    } else {
        engine_.cascade_.MouseOutside(level);
    }
}

void TskSkinPopupWindow::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_ERASEBKGND:
            m.Result = 1;
            return;
        case rt::WM_MOUSEACTIVATE:
            m.Result = rt::MA_NOACTIVATE;
            return;
        case rt::WM_MOUSEMOVE: {
            // Moves over the window are tracked at once; the ticker covers the rest.
            const int level = Level();
            if (level < 0) return;
            const rt::TPoint p = rt::LParamToPoint(m.LParam);
            lastCursor_ = ClientToScreen(p);
            engine_.cascade_.MouseMove(level, p.X, p.Y);
            return;
        }
        case rt::WM_LBUTTONUP: {
            const int level = Level();
            if (level >= 0) engine_.MouseUpAt(level, ClientToScreen(rt::LParamToPoint(m.LParam)));
            return;
        }
        case rt::WM_LBUTTONDOWN:
        case rt::WM_LBUTTONDBLCLK:
        case rt::WM_RBUTTONDOWN:
        case rt::WM_RBUTTONUP:
            return;
        default:
            rt::TPopupWindow::WndProc(m);
    }
}

void TskSkinPopupWindow::Paint(rt::TCanvas& canvas) {
    if (view_ == nullptr) return;
    view_->Paint(buffer_);
    canvas.Draw(0, 0, buffer_);
}

TskSkinMenu::TskSkinMenu(rt::TComponent* owner)
    : rt::TComponent(owner), DefaultMenuItemFont(MakeSkinFont("Arial", 14, 0, rt::clMenuText)) {
    openTimer_ = MakeTimer(this, kMenuOpenDelay, [this] {
        openTimer_->SetEnabled(false);
        cascade_.TimerFired(mtOpen, nullptr);
    });
}

TskSkinMenu::~TskSkinMenu() {
    // Nobody is told any more: the opener and the form may be going away with this engine.
    SetOpener(nullptr);
    OnAllClosed = nullptr;
    Watch(shownMenu_, nullptr);
    cascade_.CloseFrom(0);
    SetOpener(nullptr);
}

void TskSkinMenu::Watch(rt::TComponent*& slot, rt::TComponent* value) {
    if (slot == value) return;
    if (slot != nullptr && slot != opener_) RemoveFreeNotification(slot);
    slot = value;
    if (slot != nullptr) FreeNotification(slot);
}

void TskSkinMenu::SetOpener(rt::TControl* opener) {
    if (opener_ == opener) return;
    if (opener_ != nullptr && static_cast<rt::TComponent*>(opener_) != shownMenu_)
        RemoveFreeNotification(opener_);
    opener_ = opener;
    if (opener_ != nullptr) FreeNotification(opener_);
}

void TskSkinMenu::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TComponent::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(opener_)) opener_ = nullptr;
    if (component == shownMenu_) {
        // The popups point into the menu's items: they go before the items do.
        shownMenu_ = nullptr;
        if (cascade_.MenuVisible()) CloseAll();
    }
}

bool TskSkinMenu::Popup(rt::TControl* opener, TskSkinData* skinData, bool popupUp,
                        rt::TMenuItem* item, const rt::TRect& rect, int startIndex) {
    firstPopup_ = !cascade_.MenuVisible();
    if (cascade_.MenuVisible()) cascade_.CloseFrom(0);
    cascade_.Style.UseSkinFont = UseSkinFont;
    cascade_.Style.DefMenuItemHeight = DefMenuItemHeight;
    cascade_.Style.DefaultMenuItemFont = DefaultMenuItemFont;
    skinData_ = skinData;
    anchor_ = rect;
    rt::TComponent* menu = nullptr;
    if (item != nullptr) menu = item->GetParentMenu();
    Watch(shownMenu_, menu != nullptr ? menu : item);
    if (!cascade_.Popup(skinData, popupUp, item, rect, startIndex, rt::WorkArea())) {
        Watch(shownMenu_, nullptr);
        anchor_ = rt::TRect{};
        if (opener != nullptr) opener->Perform(WM_CLOSESKINMENU, 0, 0);
        return false;
    }
    SetOpener(opener);
    return true;
}

void TskSkinMenu::CloseFrom(int index) { cascade_.CloseFrom(index); }

void TskSkinMenu::CloseAll() { cascade_.CloseAll(); }

TskSkinPopupWindow* TskSkinMenu::PopupWindow(int index) const {
    if (index < 0 || index >= cascade_.PopupCount()) return nullptr;
    return WindowOf(&const_cast<TskMenuCascade&>(cascade_).Popups(index));
}

TskSkinPopupWindow* TskSkinMenu::WindowOf(const TskSkinPopupView* view) const {
    for (const auto& w : windows_)
        if (w->View() == view) return w.get();
    return nullptr;
}

rt::TMenuItem* TskSkinMenu::ShownItem() const {
    if (cascade_.PopupCount() == 0) return nullptr;
    return const_cast<TskMenuCascade&>(cascade_).Popups(0).MenuItem();
}

int TskSkinMenu::PopupAt(rt::TPoint screen) const {
    rt::TControl* under = rt::WindowFromPoint(screen);
    for (int i = cascade_.PopupCount() - 1; i >= 0; --i)
        if (PopupWindow(i) == under) return i;
    return -1;
}

bool TskSkinMenu::KeyDown(int key) { return cascade_.KeyDown(key); }

void TskSkinMenu::MouseUpAt(int level, rt::TPoint screen) {
    TskSkinPopupWindow* w = PopupWindow(level);
    if (w == nullptr) return;
    const rt::TPoint p = w->ScreenToClient(screen);
    cascade_.MouseUp(level, p.X, p.Y);
}

bool TskSkinMenu::OpenTimerRunning() const { return openTimer_->Enabled(); }

void TskSkinMenu::PopupShown(int index, TskSkinPopupView& view) {
    while (int(windows_.size()) <= index)
        windows_.push_back(std::make_unique<TskSkinPopupWindow>(*this));
    const bool layered = rt::LayeredWindowsAvailable() && AlphaBlend;
    const bool fadeIn = layered && AlphaBlendAnimation && index == 0 && firstPopup_;
    if (fadeIn && rt::Application() != nullptr) rt::Application()->ProcessMessages();
    // Messages run by the fade-in may have closed the cascade meanwhile.
    if (cascade_.IndexOf(&view) != index) return;
    windows_[std::size_t(index)]->ShowView(view, fadeIn,
                                           layered ? std::clamp(AlphaBlendValue, 0, 255) : 255);
}

void TskSkinMenu::PopupClosing(int /*index*/, TskSkinPopupView& view) {
    if (TskSkinPopupWindow* w = WindowOf(&view)) w->HideView();
}

void TskSkinMenu::PopupChanged(int /*index*/, TskSkinPopupView& view) {
    if (TskSkinPopupWindow* w = WindowOf(&view)) w->Invalidate();
}

void TskSkinMenu::SetTimer(TskMenuTimer timer, TskSkinPopupView* view, bool on) {
    if (timer == mtOpen) {
        Restart(openTimer_, on);
        return;
    }
    TskSkinPopupWindow* w = WindowOf(view);
    if (w == nullptr) return;
    if (timer == mtScroll)
        w->SetScrollTimer(on);
    else
        w->SetMorphTimer(on);
}

void TskSkinMenu::CascadeClosed() {
    openTimer_->SetEnabled(false);
    anchor_ = rt::TRect{};
    Watch(shownMenu_, nullptr);
    // Whatever held the mouse while the menu was open lets go of it.
    rt::ReleaseCapture();
    rt::TControl* opener = opener_;
    SetOpener(nullptr);
    if (opener != nullptr) opener->Perform(WM_CLOSESKINMENU, 0, 0);
}

void TskSkinMenu::AllClosed() {
    if (OnAllClosed) OnAllClosed();
}

TskSkinPopupMenu::~TskSkinPopupMenu() = default;

void TskSkinPopupMenu::SetSkinData(TskSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
}

void TskSkinPopupMenu::SetSkinForm(TskSkinForm* value) {
    if (skinForm_ == value) return;
    if (skinForm_ != nullptr) RemoveFreeNotification(skinForm_);
    skinForm_ = value;
    if (skinForm_ != nullptr) FreeNotification(skinForm_);
}

void TskSkinPopupMenu::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TPopupMenu::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(skinData_)) skinData_ = nullptr;
    if (component == static_cast<rt::TComponent*>(skinForm_)) skinForm_ = nullptr;
}

TskSkinData* TskSkinPopupMenu::ResolveSkin(TskSkinForm& form) {
    if (skinData_ == nullptr)
        SetSkinData(form.MenusSkinData() != nullptr ? form.MenusSkinData() : form.SkinData());
    return skinData_;
}

void TskSkinPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    TskSkinForm* form = skinForm_;
    // A form without a skinned frame has no menu engine: the plain menu still shows.
    if (form == nullptr) {
        rt::TPopupMenu::Popup(x, y);
        return;
    }
    form->PopupMenu(nullptr, ResolveSkin(*form), false, Items(), rt::Rect(x, y, x, y), 0);
}

void TskSkinPopupMenu::PopupFromControl(rt::TControl* opener, const rt::TRect& anchor,
                                        bool popupUp) {
    if (OnPopup) OnPopup(this);
    TskSkinForm* form = skinForm_;
    if (form == nullptr) {
        rt::TPopupMenu::PopupFromControl(opener, anchor, popupUp);
        return;
    }
    form->PopupMenu(opener, ResolveSkin(*form), popupUp, Items(), anchor, 0);
}

TskSkinMainMenu::~TskSkinMainMenu() = default;

void TskSkinMainMenu::SetSkinData(TskSkinData* value) {
    if (skinData_ == value) return;
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
}

void TskSkinMainMenu::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TMainMenu::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_))
        skinData_ = nullptr;
}

}  // namespace sk
