#include "skin/form/skSkinForm.h"

#include <algorithm>

#include "runtime/Menus.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/controls/skSkinWalk.h"
#include "skin/data/skSkinData.h"
#include "skin/form/skDefaultFrame.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinHint.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"
#include "skin/form/skWindowStates.h"

namespace sk {

using rt::Rect;
using rt::TPoint;
using rt::TRect;

namespace {

constexpr int kSmallIconSize = 16;

// A small window drawn in code: the icon when neither the form nor the application has one.
rt::TBitmap DefaultApplicationIcon() {
    rt::TBitmap icon(kSmallIconSize, kSmallIconSize);
    rt::TCanvas& c = icon.Canvas();
    c.Brush.Color = rt::clFuchsia;
    c.FillRect(Rect(0, 0, kSmallIconSize, kSmallIconSize));
    c.Brush.Color = rt::clWhite;
    c.FillRect(Rect(1, 2, 15, 14));
    c.Brush.Color = rt::clNavy;
    c.FillRect(Rect(1, 2, 15, 5));
    c.FrameRect(Rect(1, 2, 15, 14));
    icon.Transparent = true;
    icon.TransparentColor = rt::clFuchsia;
    return icon;
}

}  // namespace

TskSkinForm::TskSkinForm(rt::TComponent* owner) : rt::TComponent(owner) {
    defCaptionFont_ = MakeSkinFont("Arial", 14, rt::fsBold, rt::clBtnText);
    defInActiveCaptionFont_ = MakeSkinFont("Arial", 14, rt::fsBold, rt::clBtnShadow);
    DefMenuItemFont = MakeSkinFont("Arial", 14, 0, rt::clWindowText);
    menus_ = std::make_unique<TskFormMenus>(*this);
    MakeDefaultButtons();
    states_.SizeRules = [this] {
        TskSizeRules r;
        r.Skinned = renderer_.Skinned();
        r.PictureWidth = renderer_.Skin().PictureWidth;
        r.PictureHeight = renderer_.Skin().PictureHeight;
        r.ClientRect = renderer_.Skin().ClientRect;
        r.MinWidth = MinWidth;
        r.MinHeight = MinHeight;
        r.DefaultCaptionHeight = kDefaultCaptionHeight;
        return r;
    };
    states_.OnRestored = [this] { animator_.StartHoverTicker(); };
    states_.OnBoundsChanged = [this] {
        const TRect now = window_->BoundsRect();
        Resized(now.Width(), now.Height());
        InvalidateFrame();
    };
    states_.OnRollUpChanged = [this] {
        if (OnChangeRollUpState) OnChangeRollUpState(this);
    };
    animator_.ClientBox = [this] { return renderer_.Geometry().SizedClientBox; };
    animator_.SizeMoving = [this] { return states_.InSizeMove(); };
    animator_.ObjectHint = [this] { return ShowObjectHint ? skinHint_ : nullptr; };
    if (auto* form = dynamic_cast<rt::TForm*>(owner)) AttachToForm(*form);
}

TskSkinForm::~TskSkinForm() {
    menus_->Shutdown();
    animator_.StopTimers();
    states_.StopFadeIn();
    DetachFromForm();
    // The objects call back into this component: they go before anything else of it.
    objects_.clear();
}

void TskSkinForm::SetWindow(std::unique_ptr<TskFormWindow> window) {
    window_ = std::move(window);
    ShareWindow();
    if (window_ == nullptr) return;
    const TRect b = window_->BoundsRect();
    Resized(b.Width(), b.Height());
}

void TskSkinForm::ShareWindow() {
    states_.SetWindow(window_.get());
    renderer_.SetWindow(window_.get());
    animator_.SetWindow(window_.get());
}

bool TskSkinForm::TimerTick(std::uintptr_t id) {
    if (id == kHoverTimer) {
        if (animator_.HoverTickerEnabled()) HoverTimerTick();
    } else if (id == kMorphTimer) {
        if (animator_.MorphTickerEnabled()) MorphTimerTick();
    } else if (id == kFadeInTimer) {
        if (states_.FadeInRunning()) FadeInTick();
    } else {
        return false;
    }
    return true;
}

void TskSkinForm::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value && skinData_ != menusSkinData_)
        RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
    TrayMenu()->SetSkinData(value);
    Resubscribe();
    ChangeSkinData();
}

void TskSkinForm::SetMenusSkinData(TskSkinData* value) {
    if (menusSkinData_ != nullptr && menusSkinData_ != value && menusSkinData_ != skinData_)
        RemoveFreeNotification(menusSkinData_);
    menusSkinData_ = value;
    if (menusSkinData_ != nullptr) FreeNotification(menusSkinData_);
    Resubscribe();
}

void TskSkinForm::SetSystemMenu(rt::TPopupMenu* value) {
    if (systemMenu_ != nullptr && systemMenu_ != value) RemoveFreeNotification(systemMenu_);
    systemMenu_ = value;
    if (systemMenu_ != nullptr) FreeNotification(systemMenu_);
}

void TskSkinForm::SetSkinHint(TskSkinHint* value) {
    if (skinHint_ != nullptr && skinHint_ != value) RemoveFreeNotification(skinHint_);
    skinHint_ = value;
    if (skinHint_ != nullptr) FreeNotification(skinHint_);
}

void TskSkinForm::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TComponent::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(skinHint_)) skinHint_ = nullptr;
    if (component == static_cast<rt::TComponent*>(menusSkinData_)) menusSkinData_ = nullptr;
    if (component == static_cast<rt::TComponent*>(systemMenu_)) systemMenu_ = nullptr;
    // The menus are made in the constructor: components that come and go before know none.
    if (menus_ != nullptr && component == static_cast<rt::TComponent*>(MainMenuBar()))
        menus_->MainMenuBarRemoved();
    if (component == static_cast<rt::TComponent*>(skinData_)) {
        if (SkinMenu()->MenuVisible()) SkinMenu()->CloseAll();
        skinData_ = nullptr;
        // The objects point into the freed skin's pictures: they go at once. The default
        // frame follows unless the form itself is going away.
        objects_.clear();
        renderer_.DropSkin();
        animator_.Forget();
        const bool ending = Destroying() || (Owner() != nullptr && Owner()->Destroying());
        if (!ending) ChangeSkinData();
    }
}

void TskSkinForm::MakeDefaultButtons() {
    objects_ = CreateDefaultButtons(*this);
    ApplyIconRules(objects_, borderIcons_);
}

void TskSkinForm::SetBorderIcons(TskBorderIcons value) {
    borderIcons_ = value;
    if (!Skinned()) {
        animator_.Forget();
        objects_ = CreateDefaultButtons(*this);
    }
    ApplyIconRules(objects_, borderIcons_);
    renderer_.InvalidateLayout();
    InvalidateFrame();
}

void TskSkinForm::SetShowIcon(bool value) {
    showIcon_ = value;
    renderer_.InvalidateLayout();
    InvalidateFrame();
}

void TskSkinForm::SetAlphaBlend(bool value) {
    alphaBlend_ = value;
    if (window_ != nullptr) window_->SetOpacity(alphaBlend_ ? alphaBlendValue_ : 255);
}

void TskSkinForm::SetAlphaBlendValue(int value) {
    alphaBlendValue_ = std::clamp(value, 0, 255);
    if (alphaBlend_ && window_ != nullptr) window_->SetOpacity(alphaBlendValue_);
}

void TskSkinForm::SetDefCaptionFont(const rt::TFont& font) {
    defCaptionFont_ = font;
    if (!Skinned()) InvalidateFrame();
}

void TskSkinForm::SetDefInActiveCaptionFont(const rt::TFont& font) {
    defInActiveCaptionFont_ = font;
    if (!Skinned()) InvalidateFrame();
}

void TskSkinForm::SetDefMenuItemHeight(int value) {
    if (value > 0) defMenuItemHeight_ = value;
}

TskActiveSkinObject* TskSkinForm::FindObject(const std::string& id) const {
    for (const auto& o : objects_)
        if (o->IDName == id) return o.get();
    return nullptr;
}

TPoint TskSkinForm::ToWindow(TPoint screen) const {
    if (window_ == nullptr) return screen;
    const TRect b = window_->BoundsRect();
    return TPoint{screen.X - b.Left, screen.Y - b.Top};
}

TPoint TskSkinForm::MousePos() const {
    return window_ != nullptr ? ToWindow(window_->CursorPos()) : TPoint{};
}

void TskSkinForm::ChangeSkinData() {
    animator_.Forget();
    objects_.clear();
    const bool skinned = skinData_ != nullptr && !skinData_->Empty();
    renderer_.SetSkin(skinned ? skinData_ : nullptr);
    objects_ = skinned ? CreateFrameObjects(*this, *skinData_) : CreateDefaultButtons(*this);
    ApplyIconRules(objects_, borderIcons_);
    renderer_.InvalidateLayout();

    if (window_ != nullptr) {
        // Fit the window to the new frame: raise what is below the minimum; a rolled-up or
        // minimized form takes the frame's height, a minimized one its width too.
        const TRect b = window_->BoundsRect();
        int w = b.Width(), h = b.Height();
        const TPoint min = MinTrackSize();
        if (w < min.X && h < min.Y) {
            w = min.X;
            h = min.Y;
        } else if (h < min.Y) {
            h = min.Y;
        } else if (w < min.X) {
            w = min.X;
        }
        if (RollUpState() || WindowState() == TskWindowState::wsMinimized) h = min.Y;
        if (WindowState() == TskWindowState::wsMinimized) w = min.X;
        if (w != b.Width() || h != b.Height()) window_->SetBounds(rt::Bounds(b.Left, b.Top, w, h));
        // The client margins are the new frame's: the client rectangle is computed again.
        window_->FrameChanged();
        const TRect now = window_->BoundsRect();
        renderer_.SetSize(now.Width(), now.Height());
        if (skinned) renderer_.UpdateRegion();
        InvalidateFrame();
        window_->InvalidateClient();
    }
    animator_.SetCaptionActive(formActive_, false);
    animator_.StartHoverTicker();
    if (OnChangeSkinData) OnChangeSkinData(this);
}

bool TskSkinForm::HandleSkinMessage(rt::TMessage& m) {
    if (m.Msg != SM_BEFORECHANGESKIN && m.Msg != SM_CHANGESKIN && m.Msg != SM_AFTERCHANGESKIN)
        return false;
    auto* data = reinterpret_cast<TskSkinData*>(m.WParam);
    rt::TWinControl* root = window_ != nullptr ? window_->ControlRoot() : nullptr;
    if (m.Msg == SM_BEFORECHANGESKIN) {
        // Open popups paint from the skin that is about to go, and the bar rebuilds its items.
        menus_->SkinChanging();
        if (data != nullptr && data == skinData_) {
            // The skin's pictures are about to go: nothing may paint from them any more.
            renderer_.DropSkin();
            animator_.StopTimers();
            objects_.clear();
            animator_.Forget();
        }
    } else if (m.Msg == SM_CHANGESKIN) {
        if (data != nullptr && data == skinData_) ChangeSkinData();
    }
    // The frame first, then the controls, through the one walk every form uses.
    if (root != nullptr) HandleSkinChangeMessage(*root, m);
    if (m.Msg == SM_AFTERCHANGESKIN) Resubscribe();
    return true;
}

TRect TskSkinForm::CalcClientRect(const TRect& window) const {
    return renderer_.CalcClientRect(window);
}

int TskSkinForm::HitTest(TPoint screen) {
    if (window_ == nullptr) return HTNOWHERE;
    const TPoint p = ToWindow(screen);
    TskHitTestState state;
    state.RolledUp = RollUpState();
    state.Minimized = WindowState() == TskWindowState::wsMinimized;
    state.Maximized = WindowState() == TskWindowState::wsMaximized;
    state.Sizeable = window_->Sizeable();
    state.ObjectHovered = animator_.HoverIndex() >= 0;
    const int code = renderer_.HitTest(p, state);
    if (code == HTOBJECT && !animator_.HoverTickerEnabled()) {
        animator_.TrackHover(p, true);
        animator_.StartHoverTicker();
    }
    return code;
}

void TskSkinForm::PaintFrame(rt::TCanvas& canvas) {
    if (!renderer_.HasFrame()) return;
    if (!Skinned() && objects_.empty()) {
        MakeDefaultButtons();
        renderer_.InvalidateLayout();
    }
    renderer_.PaintFrame(canvas, formActive_ ? defCaptionFont_ : defInActiveCaptionFont_,
                         MinTrackSize());
}

void TskSkinForm::PaintClient(rt::TCanvas& canvas, const TRect& area) {
    renderer_.PaintClient(canvas, area);
}

void TskSkinForm::Resized(int width, int height) {
    renderer_.Resize(width, height, MinTrackSize());
    if (alphaBlend_ && alphaBlendValue_ < 255 && window_ != nullptr) {
        InvalidateFrame();
        window_->InvalidateClient();
    }
}

void TskSkinForm::Sizing(TRect& rect) { Resized(rect.Width(), rect.Height()); }

void TskSkinForm::EnterSizeMove() { states_.EnterSizeMove(); }

void TskSkinForm::ExitSizeMove() {
    states_.ExitSizeMove();
    InvalidateFrame();
}

void TskSkinForm::NcActivate(bool active) {
    formActive_ = active;
    animator_.SetCaptionActive(active, renderer_.HasFrame());
    renderer_.InvalidateLook();
    InvalidateFrame();
}

void TskSkinForm::Activate(bool active) {
    formActive_ = active;
    animator_.LeaveObjects();
    animator_.SetCaptionActive(active, true);
    renderer_.InvalidateLook();
    InvalidateFrame();
    if (active) {
        animator_.StartHoverTicker();
        if (OnActivate) OnActivate(this);
    } else {
        animator_.StopHoverTicker();
        if (OnDeActivate) OnDeActivate(this);
    }
}

void TskSkinForm::TextChanged() {
    renderer_.InvalidateLook();
    InvalidateFrame();
}

void TskSkinForm::TrackHover(TPoint p, bool over) { animator_.TrackHover(p, over); }

void TskSkinForm::NcMouseDown(TPoint screen, int hit, int button) {
    animator_.Press(ToWindow(screen), button);
    if (hit == HTCAPTION) {
        animator_.ForgetPress();
        if (button == 1) PopupSystemMenu(screen);
    }
}

void TskSkinForm::NcMouseUp(TPoint screen, int button) {
    // The object's command may close the form: nothing of this component follows.
    animator_.Release(ToWindow(screen), button);
}

void TskSkinForm::ClientMouseUp(int button) { animator_.Release(TPoint{-1, -1}, button); }

void TskSkinForm::NcMouseMove(TPoint screen) { animator_.MouseMove(ToWindow(screen)); }

void TskSkinForm::NcDoubleClick(TPoint screen, int hit, int button) {
    if (button != 0) {
        NcMouseDown(screen, hit, button);
        return;
    }
    animator_.DoubleClick(ToWindow(screen));
    if (hit != HTCAPTION) return;
    animator_.ForgetPress();
    TskCaptionState s;
    s.Sizeable = window_ != nullptr && window_->Sizeable();
    s.WindowState = WindowState();
    s.RolledUp = RollUpState();
    s.MaxRollUpState = MaxRollUpState();
    s.Icons = borderIcons_;
    switch (CaptionDoubleClick(s)) {
        case TskCaptionAction::Restore:
            SetWindowState(TskWindowState::wsNormal);
            break;
        case TskCaptionAction::Maximize:
            SetWindowState(TskWindowState::wsMaximized);
            break;
        case TskCaptionAction::ToggleRollUp:
            SetRollUpState(!RollUpState());
            break;
    }
}

void TskSkinForm::MorphTimerTick() { animator_.MorphTimerTick(); }

void TskSkinForm::HoverTimerTick() { animator_.HoverTimerTick(); }

TskFadeIn TskSkinForm::FadeIn() const {
    return TskFadeIn{alphaBlend_, AlphaBlendAnimation, alphaBlendValue_};
}

void TskSkinForm::Moving(TRect& rect) { states_.Moving(rect, Magnetic, MagneticSize); }

void TskSkinForm::ShowWindow(bool show) { states_.ShowWindow(show, FadeIn()); }

void TskSkinForm::FadeInTick() { states_.FadeInTick(FadeIn()); }

void TskSkinForm::SetWindowState(TskWindowState state) {
    states_.SetWindowState(state, MaximizeOnFullScreen);
}

void TskSkinForm::SetRollUpState(bool rolledUp) { states_.SetRollUpState(rolledUp, borderIcons_); }

void TskSkinForm::PaintObjectNow(TskActiveSkinObject& object) { renderer_.PaintObjectNow(object); }

void TskSkinForm::EnableMorphTimer() { animator_.EnableMorphTimer(); }

void TskSkinForm::PopupObjectMenu(TskSkinButtonObject& /*button*/, rt::TMenuItem* item,
                                  const TRect& rect, bool popupUp) {
    animator_.ForgetPress();
    menus_->PopupObjectMenu(item, rect, popupUp);
}

TskSkinData* TskSkinForm::MenuSkin() const {
    return menusSkinData_ != nullptr ? menusSkinData_ : skinData_;
}

void TskSkinForm::CloseForm() {
    if (window_ != nullptr) window_->Close();
}

std::string TskSkinForm::CaptionText() const {
    return window_ != nullptr ? window_->Caption() : std::string();
}

const rt::TBitmap& TskSkinForm::SmallIcon() {
    if (smallIconMade_) return smallIcon_;
    smallIconMade_ = true;
    const rt::TBitmap* icon = window_ != nullptr ? window_->Icon() : nullptr;
    if (icon == nullptr || icon->Empty()) {
        smallIcon_ = DefaultApplicationIcon();
        return smallIcon_;
    }
    smallIcon_.SetSize(kSmallIconSize, kSmallIconSize);
    smallIcon_.Canvas().CopyRect(Rect(0, 0, kSmallIconSize, kSmallIconSize), *icon,
                                 Rect(0, 0, icon->Width(), icon->Height()));
    smallIcon_.Transparent = icon->Transparent;
    smallIcon_.TransparentColor = icon->TransparentColor;
    return smallIcon_;
}

bool TskSkinForm::RendersInactiveImage() const { return renderer_.RendersInactiveImage(); }

void TskSkinForm::ObjectMouseDown(const std::string& id, int x, int y, const TRect& rect,
                                  int button) {
    if (OnMouseDownEvent) OnMouseDownEvent(id, x, y, rect, button);
}

void TskSkinForm::ObjectMouseUp(const std::string& id, int x, int y, const TRect& rect,
                                int button) {
    if (OnMouseUpEvent) OnMouseUpEvent(id, x, y, rect, button);
}

void TskSkinForm::ObjectMouseMove(const std::string& id, int x, int y, const TRect& rect) {
    if (OnMouseMoveEvent) OnMouseMoveEvent(id, x, y, rect);
}

void TskSkinForm::ObjectMouseEnter(const std::string& id) {
    if (OnMouseEnterEvent) OnMouseEnterEvent(id);
}

void TskSkinForm::ObjectMouseLeave(const std::string& id) {
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(id);
}

void TskSkinForm::ObjectPaint(const std::string& id, rt::TCanvas& canvas, const TRect& rect) {
    if (OnPaintEvent) OnPaintEvent(id, canvas, rect);
}

}  // namespace sk
