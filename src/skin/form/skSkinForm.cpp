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

// Every skinned form alive, for the minimized forms' slots.
std::vector<TskSkinForm*>& LiveForms() {
    static std::vector<TskSkinForm*> forms;
    return forms;
}

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
    defaultSysMenu_ = rt::Make<rt::TPopupMenu>(this);
    skinMenu_ = rt::Make<TskSkinMenu>(this);
    skinMenu_->OnAllClosed = [this] { MenuClosed(); };
    BuildTrayMenu();
    objects_ = CreateDefaultButtons(*this);
    ApplyIconRules(objects_, borderIcons_);
    LiveForms().push_back(this);
    if (auto* form = dynamic_cast<rt::TForm*>(owner)) AttachToForm(*form);
}

TskSkinForm::~TskSkinForm() {
    RemoveMenuHook();
    skinMenu_->OnAllClosed = nullptr;
    auto& forms = LiveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    StopTimers();
    SetTicker(fadeOn_, kFadeInTimer, 1, false);
    DetachFromForm();
    // The objects call back into this component: they go before anything else of it.
    objects_.clear();
}

void TskSkinForm::SetWindow(std::unique_ptr<TskFormWindow> window) {
    window_ = std::move(window);
    if (window_ == nullptr) return;
    // Timers that run go on with the new window.
    if (hoverOn_) window_->SetTimer(kHoverTimer, 50);
    if (morphOn_) window_->SetTimer(kMorphTimer, 20);
    const TRect b = window_->BoundsRect();
    Resized(b.Width(), b.Height());
}

void TskSkinForm::SetTicker(bool& on, std::uintptr_t id, int interval, bool enable) {
    if (on == enable) return;
    on = enable;
    if (window_ == nullptr) return;
    if (enable)
        window_->SetTimer(id, interval);
    else
        window_->KillTimer(id);
}

bool TskSkinForm::TimerTick(std::uintptr_t id) {
    if (id == kHoverTimer) {
        if (hoverOn_) HoverTimerTick();
    } else if (id == kMorphTimer) {
        if (morphOn_) MorphTimerTick();
    } else if (id == kFadeInTimer) {
        if (fadeOn_) FadeInTick();
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
    trayMenu_->SetSkinData(value);
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
    if (component == static_cast<rt::TComponent*>(mainMenuBar_)) {
        // The bar is half gone: it hears nothing more.
        mainMenuBar_ = nullptr;
        if (mainMenuMode_) LeaveMainMenuMode();
    }
    if (component == static_cast<rt::TComponent*>(skinData_)) {
        if (skinMenu_->MenuVisible()) skinMenu_->CloseAll();
        skinData_ = nullptr;
        // The objects point into the freed skin's pictures: they go at once. The default
        // frame follows unless the form itself is going away.
        objects_.clear();
        skinned_ = false;
        hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
        const bool ending = Destroying() || (Owner() != nullptr && Owner()->Destroying());
        if (!ending) ChangeSkinData();
    }
}

void TskSkinForm::SetBorderIcons(TskBorderIcons value) {
    borderIcons_ = value;
    if (!skinned_) {
        hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
        objects_ = CreateDefaultButtons(*this);
    }
    ApplyIconRules(objects_, borderIcons_);
    layoutValid_ = frameValid_ = false;
    InvalidateFrame();
}

void TskSkinForm::SetShowIcon(bool value) {
    showIcon_ = value;
    layoutValid_ = frameValid_ = false;
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
    if (!skinned_) InvalidateFrame();
}

void TskSkinForm::SetDefInActiveCaptionFont(const rt::TFont& font) {
    defInActiveCaptionFont_ = font;
    if (!skinned_) InvalidateFrame();
}

void TskSkinForm::SetDefMenuItemHeight(int value) {
    if (value > 0) defMenuItemHeight_ = value;
}

TskActiveSkinObject* TskSkinForm::FindObject(const std::string& id) const {
    for (const auto& o : objects_)
        if (o->IDName == id) return o.get();
    return nullptr;
}

TPoint TskSkinForm::Size() const { return TPoint{frameWidth_, frameHeight_}; }

TPoint TskSkinForm::ToWindow(TPoint screen) const {
    if (window_ == nullptr) return screen;
    const TRect b = window_->BoundsRect();
    return TPoint{screen.X - b.Left, screen.Y - b.Top};
}

TPoint TskSkinForm::MousePos() const {
    return window_ != nullptr ? ToWindow(window_->CursorPos()) : TPoint{};
}

TskSkinCaptionObject* TskSkinForm::Caption() const {
    for (const auto& o : objects_)
        if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get())) return c;
    return nullptr;
}

bool TskSkinForm::HasFrame() const { return window_ != nullptr && window_->HasBorder(); }

void TskSkinForm::InvalidateFrame() {
    if (HasFrame()) window_->InvalidateFrame();
}

void TskSkinForm::EnsureLayout() {
    const TPoint s = Size();
    if (layoutValid_ && geometry_.Width == s.X && geometry_.Height == s.Y) return;
    if (skinned_) {
        geometry_ = ComputeFrameGeometry(frameSkin_, s.X, s.Y);
        const rt::TBitmap& icon = SmallIcon();
        LayoutFrameObjects(objects_, frameSkin_, geometry_, showIcon_,
                           TPoint{icon.Width(), icon.Height()});
    } else {
        geometry_ = TskFrameGeometry{};
        geometry_.Width = s.X;
        geometry_.Height = s.Y;
        geometry_.SizedClientBox = DefaultClientRect(Rect(0, 0, s.X, s.Y), kDefaultCaptionHeight);
        LayoutDefaultButtons(objects_, s.X, false);
    }
    layoutValid_ = true;
}

const TskFrameGeometry& TskSkinForm::Geometry() {
    EnsureLayout();
    return geometry_;
}

void TskSkinForm::ChangeSkinData() {
    hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
    skinned_ = skinData_ != nullptr && !skinData_->Empty();
    objects_.clear();
    strips_.Clear();
    maskStrips_.Clear();
    maskSize_ = TPoint{-1, -1};
    if (skinned_) {
        frameSkin_ = TskFrameSkin::From(*skinData_);
        objects_ = CreateFrameObjects(*this, *skinData_);
    } else {
        frameSkin_ = TskFrameSkin{};
        region_ = rt::TRegion{};
        if (window_ != nullptr) window_->SetWindowRegion(nullptr);
        objects_ = CreateDefaultButtons(*this);
    }
    ApplyIconRules(objects_, borderIcons_);
    layoutValid_ = frameValid_ = false;

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
        if (rollUpState_ || windowState_ == TskWindowState::wsMinimized) h = min.Y;
        if (windowState_ == TskWindowState::wsMinimized) w = min.X;
        if (w != b.Width() || h != b.Height()) window_->SetBounds(rt::Bounds(b.Left, b.Top, w, h));
        // The client margins are the new frame's: the client rectangle is computed again.
        window_->FrameChanged();
        const TRect now = window_->BoundsRect();
        frameWidth_ = now.Width();
        frameHeight_ = now.Height();
        if (skinned_) UpdateRegion();
        InvalidateFrame();
        window_->InvalidateClient();
    }
    SetCaptionActive(formActive_, false);
    StartHoverTicker();
    if (OnChangeSkinData) OnChangeSkinData(this);
}

bool TskSkinForm::HandleSkinMessage(rt::TMessage& m) {
    if (m.Msg != SM_BEFORECHANGESKIN && m.Msg != SM_CHANGESKIN && m.Msg != SM_AFTERCHANGESKIN)
        return false;
    auto* data = reinterpret_cast<TskSkinData*>(m.WParam);
    rt::TWinControl* root = window_ != nullptr ? window_->ControlRoot() : nullptr;
    if (m.Msg == SM_BEFORECHANGESKIN) {
        // Open popups paint from the skin that is about to go, and the bar rebuilds its items.
        if (mainMenuMode_)
            LeaveMainMenuMode();
        else if (skinMenu_->MenuVisible())
            skinMenu_->CloseAll();
        if (data != nullptr && data == skinData_) {
            // The skin's pictures are about to go: nothing may paint from them any more.
            skinned_ = false;
            StopTimers();
            objects_.clear();
            strips_.Clear();
            hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
            layoutValid_ = frameValid_ = false;
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
    if (!HasFrame()) return window;
    return skinned_ ? SkinnedClientRect(window, frameSkin_)
                    : DefaultClientRect(window, kDefaultCaptionHeight);
}

int TskSkinForm::HitTest(TPoint screen) {
    if (window_ == nullptr) return HTNOWHERE;
    const TPoint p = ToWindow(screen);
    if (!HasFrame())
        return Rect(0, 0, frameWidth_, frameHeight_).Contains(p) ? HTCLIENT : HTNOWHERE;
    EnsureLayout();
    TskHitTestState state;
    state.RolledUp = rollUpState_;
    state.Minimized = windowState_ == TskWindowState::wsMinimized;
    state.Maximized = windowState_ == TskWindowState::wsMaximized;
    state.Sizeable = window_->Sizeable();
    state.ObjectHovered = hoverIndex_ >= 0;
    int code;
    if (skinned_) {
        const bool masked = !skinData_->Skin().MaskBitmap.Empty();
        EnsureMask();
        TskFrameShape shape{frameWidth_, frameHeight_, masked ? &maskStrips_ : nullptr,
                            geometry_.MaskArea};
        std::vector<TRect> captions;
        for (const auto& o : objects_)
            if (o->Visible && dynamic_cast<TskSkinCaptionObject*>(o.get()) != nullptr)
                captions.push_back(o->ObjectRect);
        code = SkinnedHitTest(p, geometry_, shape, frameSkin_.BorderWidth, captions, state);
    } else {
        code = DefaultHitTest(p, frameWidth_, frameHeight_,
                              DefaultCaptionRoom(objects_, frameWidth_, false),
                              kDefaultCaptionHeight, state);
    }
    if (code == HTOBJECT && !hoverOn_) {
        TrackHover(p, true);
        StartHoverTicker();
    }
    return code;
}

void TskSkinForm::Compose() {
    const TPoint s = Size();
    if (frameValid_ && geometry_.Width == s.X && geometry_.Height == s.Y) return;
    EnsureLayout();
    // Cutting the strips from the picture costs no more than copying kept ones would.
    const bool inactivePicture = !formActive_ && !skinData_->Skin().InactivePicture.Empty();
    BuildBorderStrips(
        inactivePicture ? skinData_->Skin().InactivePicture : skinData_->Skin().Picture, frameSkin_,
        geometry_, strips_);
    if (RendersInactiveImage()) ApplyInactiveEffect(strips_, skinData_->InactiveEffect);
    DrawFrameObjects(objects_, strips_, geometry_.SizedClientBox);
    frameValid_ = true;
}

void TskSkinForm::PaintFrame(rt::TCanvas& canvas) {
    if (!HasFrame()) return;
    if (!skinned_ && objects_.empty()) {
        objects_ = CreateDefaultButtons(*this);
        ApplyIconRules(objects_, borderIcons_);
        layoutValid_ = false;
    }
    EnsureLayout();
    const TPoint s = Size();
    if (!skinned_) {
        PaintDefaultFrame(canvas, s.X, s.Y, objects_, CaptionText(),
                          formActive_ ? defCaptionFont_ : defInActiveCaptionFont_, false);
        return;
    }
    // Below the minimum the window is about to be pushed back to it: nothing to paint.
    const TPoint min = MinTrackSize();
    if (s.X < min.X || s.Y < min.Y) return;
    Compose();
    DrawStrips(canvas, strips_);
}

void TskSkinForm::PaintClient(rt::TCanvas& canvas, const TRect& area) {
    PaintClientBackground(canvas, area, skinned_ ? skinData_ : nullptr);
}

void TskSkinForm::UpdateRegion() {
    if (window_ == nullptr) return;
    if (skinned_ && HasFrame() && !skinData_->Skin().MaskBitmap.Empty()) {
        EnsureMask();
        const std::vector<std::uint8_t> data =
            FrameRegionData(maskStrips_, geometry_.MaskArea, frameWidth_, frameHeight_);
        region_ = rt::TRegion::FromRegionData(data.data(), data.size());
        window_->SetWindowRegion(region_.IsEmpty() ? nullptr : &region_);
    } else {
        maskStrips_.Clear();
        maskSize_ = TPoint{-1, -1};
        region_ = rt::TRegion{};
        window_->SetWindowRegion(nullptr);
    }
    InvalidateFrame();
}

void TskSkinForm::EnsureMask() {
    if (!skinned_ || skinData_->Skin().MaskBitmap.Empty() || maskSize_ == Size()) return;
    EnsureLayout();
    BuildMaskStrips(skinData_->Skin().MaskBitmap, frameSkin_, geometry_, maskStrips_);
    maskSize_ = Size();
}

void TskSkinForm::Resized(int width, int height) {
    frameWidth_ = width;
    frameHeight_ = height;
    layoutValid_ = frameValid_ = false;
    if (!skinned_) {
        InvalidateFrame();
    } else {
        const TPoint min = MinTrackSize();
        if (width >= min.X && height >= min.Y) UpdateRegion();
    }
    if (alphaBlend_ && alphaBlendValue_ < 255 && window_ != nullptr) {
        InvalidateFrame();
        window_->InvalidateClient();
    }
}

void TskSkinForm::Sizing(TRect& rect) { Resized(rect.Width(), rect.Height()); }

void TskSkinForm::EnterSizeMove() { inSizeMove_ = true; }

void TskSkinForm::ExitSizeMove() {
    inSizeMove_ = false;
    InvalidateFrame();
}

void TskSkinForm::SetCaptionActive(bool active, bool animate) {
    TskSkinCaptionObject* caption = Caption();
    if (caption == nullptr) return;
    caption->Active = active;
    if (animate && caption->MorphEnabled)
        EnableMorphTimer();
    else
        caption->MorphLevel = active ? 1 : 0;
}

void TskSkinForm::NcActivate(bool active) {
    formActive_ = active;
    SetCaptionActive(active, HasFrame());
    frameValid_ = false;
    InvalidateFrame();
}

void TskSkinForm::Activate(bool active) {
    formActive_ = active;
    for (const auto& o : objects_) {
        if (dynamic_cast<TskSkinCaptionObject*>(o.get()) != nullptr) continue;
        o->Active = false;
        o->CursorInside = false;
        o->MorphLevel = 0;
    }
    hoverIndex_ = oldHoverIndex_ = -1;
    SetCaptionActive(active, true);
    frameValid_ = false;
    InvalidateFrame();
    if (active) {
        StartHoverTicker();
        if (OnActivate) OnActivate(this);
    } else {
        SetTicker(hoverOn_, kHoverTimer, 50, false);
        if (OnDeActivate) OnDeActivate(this);
    }
}

void TskSkinForm::TextChanged() {
    frameValid_ = false;
    InvalidateFrame();
}

void TskSkinForm::TrackHover(TPoint p, bool over) {
    if (!formActive_) return;
    oldHoverIndex_ = hoverIndex_;
    hoverIndex_ = FindHoverIndex(objects_, p, over, pressedIndex_);
    if (hoverIndex_ == oldHoverIndex_) return;
    const bool hints = ShowObjectHint && skinHint_ != nullptr;
    if (oldHoverIndex_ >= 0 && std::size_t(oldHoverIndex_) < objects_.size()) {
        TskActiveSkinObject& old = *objects_[std::size_t(oldHoverIndex_)];
        old.MouseLeave();
        if (hints && !old.Hint.empty()) skinHint_->HideHint();
    }
    if (hoverIndex_ >= 0) {
        TskActiveSkinObject& now = *objects_[std::size_t(hoverIndex_)];
        now.MouseEnter();
        if (hints && !now.Hint.empty()) skinHint_->ShowHintText(now.Hint);
    }
}

void TskSkinForm::NcMouseDown(TPoint screen, int hit, int button) {
    const TPoint p = ToWindow(screen);
    TrackHover(p, true);
    pressedIndex_ = hoverIndex_;
    if (pressedIndex_ >= 0) {
        TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
        if (dynamic_cast<TskSkinCaptionObject*>(&o) == nullptr && window_ != nullptr)
            window_->SetMouseCapture(true);
        o.MouseDown(p.X, p.Y, button);
    }
    if (hit == HTCAPTION) {
        pressedIndex_ = -1;
        if (button == 1) PopupSystemMenu(screen);
    }
}

void TskSkinForm::NcMouseUp(TPoint screen, int button) {
    if (pressedIndex_ < 0 || std::size_t(pressedIndex_) >= objects_.size()) return;
    TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
    pressedIndex_ = -1;
    if (dynamic_cast<TskSkinCaptionObject*>(&o) == nullptr && window_ != nullptr)
        window_->SetMouseCapture(false);
    const TPoint p = ToWindow(screen);
    // The object's command may close the form: nothing of this component follows.
    o.MouseUp(p.X, p.Y, button);
}

void TskSkinForm::ClientMouseUp(int button) {
    if (pressedIndex_ < 0 || std::size_t(pressedIndex_) >= objects_.size()) return;
    TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
    pressedIndex_ = -1;
    if (dynamic_cast<TskSkinCaptionObject*>(&o) == nullptr && window_ != nullptr)
        window_->SetMouseCapture(false);
    o.MouseUp(-1, -1, button);
}

void TskSkinForm::NcMouseMove(TPoint screen) {
    const int i = pressedIndex_ >= 0 ? pressedIndex_ : hoverIndex_;
    if (i < 0 || std::size_t(i) >= objects_.size()) return;
    const TPoint p = ToWindow(screen);
    objects_[std::size_t(i)]->MouseMove(p.X, p.Y);
}

void TskSkinForm::NcDoubleClick(TPoint screen, int hit, int button) {
    if (button != 0) {
        NcMouseDown(screen, hit, button);
        return;
    }
    const TPoint p = ToWindow(screen);
    TrackHover(p, true);
    pressedIndex_ = hoverIndex_;
    if (pressedIndex_ >= 0) {
        TskActiveSkinObject& o = *objects_[std::size_t(pressedIndex_)];
        if (dynamic_cast<TskSkinCaptionObject*>(&o) == nullptr && window_ != nullptr)
            window_->SetMouseCapture(true);
        o.MouseDown(p.X, p.Y, 0);
        o.DblClick();
    }
    if (hit != HTCAPTION) return;
    pressedIndex_ = -1;
    TskCaptionState s;
    s.Sizeable = window_ != nullptr && window_->Sizeable();
    s.WindowState = windowState_;
    s.RolledUp = rollUpState_;
    s.MaxRollUpState = maxRollUpState_;
    s.Icons = borderIcons_;
    switch (CaptionDoubleClick(s)) {
        case TskCaptionAction::Restore:
            SetWindowState(TskWindowState::wsNormal);
            break;
        case TskCaptionAction::Maximize:
            SetWindowState(TskWindowState::wsMaximized);
            break;
        case TskCaptionAction::ToggleRollUp:
            SetRollUpState(!rollUpState_);
            break;
    }
}

void TskSkinForm::MorphTimerTick() {
    bool stepped = false;
    for (const auto& o : objects_) {
        if (!o->MorphEnabled || !o->CanMorphing()) continue;
        o->DoMorphing();
        stepped = true;
    }
    if (!stepped) SetTicker(morphOn_, kMorphTimer, 20, false);
}

void TskSkinForm::HoverTimerTick() {
    if (window_ == nullptr || !formActive_) {
        SetTicker(hoverOn_, kHoverTimer, 50, false);
        return;
    }
    EnsureLayout();
    const TPoint cursor = ToWindow(window_->CursorPos());
    const bool inClient = geometry_.SizedClientBox.Contains(cursor);
    switch (HoverTickAction(window_->UnderCursor(), inSizeMove_, inClient, hoverIndex_ >= 0)) {
        case TskHoverTick::StopAndClear:
            TrackHover(cursor, false);
            SetTicker(hoverOn_, kHoverTimer, 50, false);
            break;
        case TskHoverTick::TrackAtCursor:
            TrackHover(cursor, true);
            break;
        case TskHoverTick::ClearHover:
            TrackHover(cursor, false);
            break;
        case TskHoverTick::Nothing:
            break;
    }
}

void TskSkinForm::StartHoverTicker() {
    if (formActive_) SetTicker(hoverOn_, kHoverTimer, 50, true);
}

void TskSkinForm::StopTimers() {
    SetTicker(hoverOn_, kHoverTimer, 50, false);
    SetTicker(morphOn_, kMorphTimer, 20, false);
}

std::vector<TPoint> TskSkinForm::OtherMinimizedForms() const {
    std::vector<TPoint> places;
    for (const TskSkinForm* f : LiveForms()) {
        if (f == this || f->window_ == nullptr || !f->window_->Visible() ||
            f->windowState_ != TskWindowState::wsMinimized)
            continue;
        const TRect b = f->window_->BoundsRect();
        places.push_back(TPoint{b.Left, b.Top});
    }
    return places;
}

void TskSkinForm::PaintObjectNow(TskActiveSkinObject& object) {
    if (!HasFrame() || !object.Visible) return;
    if (!skinned_) {
        window_->PaintFrameNow(object.ObjectRect,
                               [&object](rt::TCanvas& c) { object.Draw(c, true); });
        return;
    }
    // The composed strips take the object's new look, so that a later full paint shows it too;
    // without them (a full paint is on its way) there is nothing to paint over.
    if (!frameValid_ || geometry_.Width != frameWidth_ || geometry_.Height != frameHeight_) {
        window_->InvalidateFrame();
        return;
    }
    DrawFrameObject(object, strips_, geometry_.SizedClientBox, true);
    window_->PaintFrameNow(object.ObjectRect, [this](rt::TCanvas& c) { DrawStrips(c, strips_); });
}

void TskSkinForm::EnableMorphTimer() { SetTicker(morphOn_, kMorphTimer, 20, true); }

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

bool TskSkinForm::RendersInactiveImage() const {
    return skinned_ && !formActive_ && skinData_->AutoRenderingInactiveImage;
}

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
