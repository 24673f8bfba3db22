#include "skin/form/skSkinMainMenuBar.h"

#include <algorithm>
#include <cmath>

#include "runtime/KeyRouting.h"
#include "runtime/Screen.h"
#include "skin/data/skEffects.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMenu.h"

namespace sk {

using rt::Rect;
using rt::TPoint;
using rt::TRect;

namespace {

constexpr int kTrackMarkWidth = 5;

}  // namespace

TskSkinMainMenuBar::TskSkinMainMenuBar(rt::TComponent* owner)
    : TskSkinControl(owner), defItemFont_(MakeSkinFont("Arial", 14, 0, rt::clBtnText)) {
    skinDataName_ = "mainmenubar";
    auto timer = [this](int interval, void (TskSkinMainMenuBar::*tick)()) {
        rt::TTimer* t = rt::Make<rt::TTimer>(this);
        t->SetEnabled(false);
        t->SetInterval(interval);
        t->OnTimer = [this, tick](rt::TComponent*) { (this->*tick)(); };
        return t;
    };
    hoverTicker_ = timer(50, &TskSkinMainMenuBar::HoverTick);
    morphTicker_ = timer(20, &TskSkinMainMenuBar::MorphTick);
    SetAlign(rt::TAlign::alTop);
    SetHeight(defaultHeight_);
}

TskSkinMainMenuBar::~TskSkinMainMenuBar() {
    // The removal notices come after this destructor, when the bar is no longer whole: menus
    // opened from it must close now, since their close notice is sent to the bar.
    if (skinForm_ != nullptr) skinForm_->MainMenuBarGoing(this);
    hoverTicker_->SetEnabled(false);
    morphTicker_->SetEnabled(false);
    objects_.clear();
}

void TskSkinMainMenuBar::SetMainMenu(rt::TMainMenu* menu) {
    if (mainMenu_ == menu) return;
    if (mainMenu_ != nullptr) RemoveFreeNotification(mainMenu_);
    mainMenu_ = menu;
    if (mainMenu_ != nullptr) FreeNotification(mainMenu_);
    if (Destroying()) return;
    BuildItems();
    Invalidate();
}

void TskSkinMainMenuBar::SetSkinForm(TskSkinForm* form) {
    if (skinForm_ == form) return;
    if (skinForm_ != nullptr) RemoveFreeNotification(skinForm_);
    skinForm_ = form;
    if (skinForm_ != nullptr) FreeNotification(skinForm_);
}

void TskSkinMainMenuBar::Notification(rt::TComponent* component, rt::TOperation operation) {
    TskSkinControl::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(skinForm_)) skinForm_ = nullptr;
    if (component == static_cast<rt::TComponent*>(mainMenu_)) {
        mainMenu_ = nullptr;
        // The items point at the menu's items.
        objects_.clear();
        hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
    }
    if (component == static_cast<rt::TComponent*>(SkinData())) {
        barSkinned_ = false;
        picture_ = nullptr;
        if (!Destroying()) BuildItems();
        barSkin_.reset();
    }
}

void TskSkinMainMenuBar::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    Invalidate();
}

void TskSkinMainMenuBar::SetDefItemFont(const rt::TFont& font) {
    defItemFont_ = font;
    if (!barSkinned_) Invalidate();
}

void TskSkinMainMenuBar::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (!barSkinned_ && value > 0) SetWidth(value);
}

void TskSkinMainMenuBar::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (!barSkinned_ && value > 0) SetHeight(value);
}

const TskDataSkinObject* TskSkinMainMenuBar::SkinObjectNamed(const std::string& name) const {
    if (!barSkinned_ || barSkin_ == nullptr || name.empty()) return nullptr;
    const int i = barSkin_->GetIndex(name);
    if (i < 0) return nullptr;
    return barSkin_->ObjectList[std::size_t(i)].get();
}

void TskSkinMainMenuBar::ReadSkin() {
    barSkinned_ = false;
    picture_ = nullptr;
    itemName_ = closeName_ = minName_ = maxName_ = sysMenuName_ = {};
    markColor_ = rt::clBtnShadow;
    markHotColor_ = rt::clBtnText;
    barSkin_.reset();
    FindSkinObject();
    auto* d = dynamic_cast<const TskDataSkinMainMenuBar*>(SkinObject());
    if (d == nullptr) return;
    barSkinned_ = true;
    barSkin_ = HeldSkin().Shared();
    normalLookRect_ = d->SkinRect;
    itemsBox_ = d->ItemsRect;
    itemName_ = d->MenuBarItem;
    closeName_ = d->CloseButton;
    minName_ = d->MinButton;
    maxName_ = d->MaxButton;
    sysMenuName_ = d->SysMenuButton;
    markColor_ = d->TrackMarkColor;
    markHotColor_ = d->TrackMarkActiveColor;
    picture_ = barSkin_->ActivePicture(d->PictureIndex);
}

void TskSkinMainMenuBar::ApplySkin() {
    ReadSkin();
    BuildItems();
    if (barSkinned_)
        SetHeight(normalLookRect_.Height());
    else if (defaultHeight_ > 0)
        SetHeight(defaultHeight_);
    Invalidate();
}

void TskSkinMainMenuBar::SetBounds(int left, int top, int width, int height) {
    if (barSkinned_ && !normalLookRect_.IsEmpty()) height = normalLookRect_.Height();
    TskSkinControl::SetBounds(left, top, width, height);
}

void TskSkinMainMenuBar::BuildItems() {
    objects_.clear();
    hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1;
    trackMarkHot_ = false;
    if (mainMenu_ != nullptr) {
        const auto* d = dynamic_cast<const TskDataSkinMainMenuBarItem*>(SkinObjectNamed(itemName_));
        rt::TMenuItem* root = mainMenu_->Items();
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i)->Visible)
                objects_.push_back(std::make_unique<TskSkinMainMenuBarItem>(*this, barSkin_.get(),
                                                                            d, root->Items(i)));
    }
    if (showButtons_) AddSystemButtons();
    Layout();
}

void TskSkinMainMenuBar::AddSystemButtons() {
    auto insert = [this](std::unique_ptr<TskSkinMainMenuBarButton> b) {
        if (b->Command == cmMinimize) b->Enabled = (childIcons_ & biMinimize) != 0;
        if (b->Command == cmSysMenu) b->Enabled = (childIcons_ & biSystemMenu) != 0;
        objects_.insert(objects_.begin(), std::move(b));
    };
    const std::string* names[] = {&maxName_, &minName_, &closeName_, &sysMenuName_};
    std::vector<const TskDataSkinMainMenuBarButton*> skinned;
    for (const std::string* n : names)
        if (auto* d = dynamic_cast<const TskDataSkinMainMenuBarButton*>(SkinObjectNamed(*n)))
            skinned.push_back(d);
    if (skinned.size() == 4) {
        for (const auto* d : skinned)
            insert(std::make_unique<TskSkinMainMenuBarButton>(*this, barSkin_.get(), d));
        return;
    }
    insert(std::make_unique<TskSkinMainMenuBarButton>(*this, "MinButton", cmMinimize));
    insert(std::make_unique<TskSkinMainMenuBarButton>(*this, "MaxButton", cmMaximize));
    insert(std::make_unique<TskSkinMainMenuBarButton>(*this, "CloseButton", cmClose));
    insert(std::make_unique<TskSkinMainMenuBarButton>(*this, "SysMenuButton", cmSysMenu));
}

void TskSkinMainMenuBar::ShowSystemButtons(TskFormHost* child, TskBorderIcons icons) {
    child_ = child;
    childIcons_ = icons;
    showButtons_ = child != nullptr;
    BuildItems();
    Invalidate();
}

void TskSkinMainMenuBar::HideSystemButtons() {
    child_ = nullptr;
    showButtons_ = false;
    BuildItems();
    Invalidate();
}

std::vector<TskSkinMainMenuBarItem*> TskSkinMainMenuBar::Items() const {
    std::vector<TskSkinMainMenuBarItem*> items;
    for (const auto& o : objects_)
        if (auto* i = dynamic_cast<TskSkinMainMenuBarItem*>(o.get())) items.push_back(i);
    return items;
}

TskSkinMainMenuBarItem* TskSkinMainMenuBar::ItemAt(int index) const {
    if (index < 0 || std::size_t(index) >= objects_.size()) return nullptr;
    return dynamic_cast<TskSkinMainMenuBarItem*>(objects_[std::size_t(index)].get());
}

TRect TskSkinMainMenuBar::TrackMarkRect() const {
    return Rect(itemsArea_.Right - kTrackMarkWidth, itemsArea_.Top, itemsArea_.Right,
                itemsArea_.Bottom);
}

bool TskSkinMainMenuBar::HoverTickerEnabled() const { return hoverTicker_->Enabled(); }
bool TskSkinMainMenuBar::MorphTickerEnabled() const { return morphTicker_->Enabled(); }

void TskSkinMainMenuBar::Layout() {
    if (barSkinned_)
        itemsArea_ = Rect(itemsBox_.Left, itemsBox_.Top,
                          Width() - (normalLookRect_.Width() - itemsBox_.Right), itemsBox_.Bottom);
    else
        itemsArea_ = Rect(2, 2, Width() - 2, Height() - 2);
    std::size_t first = 0;
    if (showButtons_ && objects_.size() >= 4) {
        auto size = [this](const TskMenuBarObject& o) {
            auto* b = static_cast<const TskSkinMainMenuBarButton*>(&o);
            return b->HasSkin ? TPoint{o.NormalLookRect.Width(), o.NormalLookRect.Height()}
                              : TPoint{itemsArea_.Height(), itemsArea_.Height()};
        };
        auto centredTop = [this](int h) { return itemsArea_.Top + (itemsArea_.Height() - h) / 2; };
        TskMenuBarObject& sys = *objects_[0];
        TPoint s = size(sys);
        sys.ObjectRect = rt::Bounds(itemsArea_.Left, centredTop(s.Y), s.X, s.Y);
        itemsArea_.Left += s.X + 2;
        for (std::size_t i = 1; i < 4; ++i) {
            TskMenuBarObject& b = *objects_[i];
            s = size(b);
            b.ObjectRect = rt::Bounds(itemsArea_.Right - s.X, centredTop(s.Y), s.X, s.Y);
            itemsArea_.Right -= s.X + 2;
        }
        first = 4;
    }
    hasHiddenItems_ = false;
    int x = itemsArea_.Left;
    for (std::size_t i = first; i < objects_.size(); ++i) {
        auto* item = dynamic_cast<TskSkinMainMenuBarItem*>(objects_[i].get());
        if (item == nullptr) continue;
        x += item->Place(x, itemsArea_.Top, itemsArea_.Height());
        const bool fits = item->ObjectRect.Right <= itemsArea_.Right - kTrackMarkWidth;
        if (!fits) hasHiddenItems_ = true;
        if (!fits && item->Fits) {
            item->SavedEnabled = item->MenuItem->Enabled;
            item->Enabled = false;
        }
        item->Fits = fits;
        if (fits) item->Enabled = item->MenuItem->Enabled;
    }
    if (!hasHiddenItems_) trackMarkHot_ = false;
}

void TskSkinMainMenuBar::Resize() {
    Layout();
    Invalidate();
}

void TskSkinMainMenuBar::DrawTrackMark(rt::TCanvas& c) const {
    const TRect strip = TrackMarkRect();
    const int midY = (strip.Top + strip.Bottom) / 2;
    c.Pen.Color = trackMarkHot_ ? markHotColor_ : markColor_;
    // Four columns, 7, 5, 3 and 1 pixels high: a small triangle pointing right.
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        c.MoveTo(strip.Left + i, midY - half);
        c.LineTo(strip.Left + i, midY + half + 1);
    }
}

void TskSkinMainMenuBar::Paint(rt::TCanvas& canvas) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    Layout();
    if (barSkinned_ && picture_ != nullptr && !normalLookRect_.IsEmpty()) {
        // | left end (itemsrect.left) | middle tiled ... | right end (skinrect - itemsrect) |
        CreateHSkinImage(itemsBox_.Left, normalLookRect_.Width() - itemsBox_.Right, buffer_, w,
                         normalLookRect_, *picture_);
        if (buffer_.Height() != h) buffer_.SetSize(w, h);
    } else {
        buffer_.SetSize(w, h);
        rt::TCanvas& c = buffer_.Canvas();
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clBtnFace;
        c.FillRect(Rect(0, 0, w, h));
    }
    for (const auto& o : objects_)
        if (o->Visible) o->Draw(buffer_.Canvas());
    if (hasHiddenItems_) DrawTrackMark(buffer_.Canvas());
    canvas.Draw(0, 0, buffer_);
}

void TskSkinMainMenuBar::ObjectChanged(TskMenuBarObject& object) {
    if (object.MorphEnabled && !morphTicker_->Enabled()) morphTicker_->SetEnabled(true);
    Invalidate();
}

TRect TskSkinMainMenuBar::ScreenRectOf(const TRect& r) const {
    const TPoint tl = ClientToScreen(TPoint{r.Left, r.Top});
    return rt::Bounds(tl.X, tl.Y, r.Width(), r.Height());
}

void TskSkinMainMenuBar::LeaveFormMenuMode() {
    menuMode_ = false;
    if (skinForm_ == nullptr) return;
    if (skinForm_->MainMenuMode())
        skinForm_->LeaveMainMenuMode();
    else if (skinForm_->MenuOpen())
        skinForm_->MenuClosed();
}

void TskSkinMainMenuBar::TrackHover(TPoint p) {
    oldHoverIndex_ = hoverIndex_;
    int found = -1;
    for (std::size_t i = 0; i < objects_.size(); ++i) {
        const TskMenuBarObject& o = *objects_[i];
        if (o.Enabled && o.Visible && o.ObjectRect.Contains(p)) {
            found = int(i);
            break;
        }
    }
    if (pressedIndex_ >= 0 && found != pressedIndex_) found = -1;
    // Walking the bar by keyboard keeps its item when the mouse is elsewhere.
    if (found < 0 && menuMode_ && ItemAt(oldHoverIndex_) != nullptr) found = oldHoverIndex_;
    hoverIndex_ = found;
    if (hasHiddenItems_) {
        const bool hot = TrackMarkRect().Contains(p);
        if (hot != trackMarkHot_) {
            trackMarkHot_ = hot;
            Invalidate();
        }
    }
    if (hoverIndex_ == oldHoverIndex_) return;
    if (oldHoverIndex_ >= 0 && std::size_t(oldHoverIndex_) < objects_.size() &&
        objects_[std::size_t(oldHoverIndex_)]->Enabled)
        objects_[std::size_t(oldHoverIndex_)]->MouseLeave();
    if (hoverIndex_ >= 0 && objects_[std::size_t(hoverIndex_)]->Enabled)
        objects_[std::size_t(hoverIndex_)]->MouseEnter();
}

void TskSkinMainMenuBar::HoverTick() {
    const TPoint cursor = rt::GetCursorPos();
    const TPoint p = ScreenToClient(cursor);
    if (!ClientRect().Contains(p) || rt::WindowFromPoint(cursor) != this) {
        hoverTicker_->SetEnabled(false);
        TrackHover(TPoint{-1, -1});
        return;
    }
    TrackHover(p);
}

void TskSkinMainMenuBar::MorphTick() {
    bool stepped = false;
    for (const auto& o : objects_) {
        if (!o->MorphEnabled || !o->CanMorphing()) continue;
        o->DoMorphing();
        stepped = true;
    }
    if (!stepped) morphTicker_->SetEnabled(false);
}

void TskSkinMainMenuBar::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinControl::MouseDown(button, shift, x, y);
    Layout();
    // A new press ends any earlier one whose release went elsewhere.
    pressedIndex_ = -1;
    TrackHover(TPoint{x, y});
    const int b = button == rt::TMouseButton::mbLeft    ? 0
                  : button == rt::TMouseButton::mbRight ? 1
                                                        : 2;
    if (hoverIndex_ >= 0) {
        pressedIndex_ = hoverIndex_;
        // The object's command may rebuild the bar: nothing of the object is used after it.
        objects_[std::size_t(pressedIndex_)]->MouseDown(x, y, b);
        return;
    }
    if (b == 0 && hasHiddenItems_ && TrackMarkRect().Contains(TPoint{x, y})) PopupHiddenItems();
}

void TskSkinMainMenuBar::DblClick() {
    if (pressedIndex_ >= 0 && std::size_t(pressedIndex_) < objects_.size())
        objects_[std::size_t(pressedIndex_)]->DblClick();
}

void TskSkinMainMenuBar::MouseMove(rt::TShiftState shift, int x, int y) {
    TskSkinControl::MouseMove(shift, x, y);
    if (!hoverTicker_->Enabled()) hoverTicker_->SetEnabled(true);
    TrackHover(TPoint{x, y});
}

void TskSkinMainMenuBar::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TskSkinControl::MouseUp(button, shift, x, y);
    const int i = pressedIndex_;
    pressedIndex_ = -1;
    if (i < 0 || std::size_t(i) >= objects_.size()) return;
    const int b = button == rt::TMouseButton::mbLeft    ? 0
                  : button == rt::TMouseButton::mbRight ? 1
                                                        : 2;
    objects_[std::size_t(i)]->MouseUp(x, y, b);
}

void TskSkinMainMenuBar::MouseEnter() {
    TskSkinControl::MouseEnter();
    if (!hoverTicker_->Enabled()) hoverTicker_->SetEnabled(true);
}

void TskSkinMainMenuBar::MouseLeave() {
    TskSkinControl::MouseLeave();
    hoverTicker_->SetEnabled(false);
    TrackHover(TPoint{-1, -1});
}

void TskSkinMainMenuBar::WndProc(rt::TMessage& m) {
    if (m.Msg == WM_CLOSESKINMENU) {
        for (const auto& o : objects_) {
            auto* b = dynamic_cast<TskSkinMainMenuBarButton*>(o.get());
            if (b != nullptr && b->Command == cmSysMenu && b->Down) b->SetDown(false);
        }
        return;
    }
    TskSkinControl::WndProc(m);
}

void TskSkinMainMenuBar::PopupHiddenItems() {
    if (skinForm_ == nullptr || mainMenu_ == nullptr) return;
    int start = -1;
    for (TskSkinMainMenuBarItem* i : Items())
        if (!i->Fits) {
            start = mainMenu_->Items()->IndexOf(i->MenuItem);
            break;
        }
    if (start < 0) return;
    skinForm_->PopupMenu(this, SkinData(), PopupToUp, mainMenu_->Items(),
                         ScreenRectOf(TrackMarkRect()), start);
}

bool TskSkinMainMenuBar::Selectable(int index) const {
    TskSkinMainMenuBarItem* i = ItemAt(index);
    return i != nullptr && i->Enabled && i->Fits;
}

int TskSkinMainMenuBar::FindItem(const std::function<bool(TskSkinMainMenuBarItem&)>& test, int from,
                                 int step) const {
    for (int i = from; i >= 0 && i < int(objects_.size()); i += step)
        if (TskSkinMainMenuBarItem* item = ItemAt(i); item != nullptr && test(*item)) return i;
    return -1;
}

void TskSkinMainMenuBar::EnterMenuMode() {
    Layout();
    menuMode_ = true;
    int i = FindItem([](TskSkinMainMenuBarItem& item) { return item.Active; });
    if (i < 0) i = FindItem([](TskSkinMainMenuBarItem&) { return true; });
    if (i >= 0) {
        hoverIndex_ = i;
        ItemAt(i)->MouseEnter();
    }
    if (skinForm_ != nullptr) skinForm_->EnterMainMenuMode(this);
}

void TskSkinMainMenuBar::LeaveMenuMode() {
    menuMode_ = false;
    const int i = FindItem([](TskSkinMainMenuBarItem& item) { return item.Down || item.Active; });
    if (TskSkinMainMenuBarItem* item = ItemAt(i)) {
        item->Active = item->CursorInside = item->Down = false;
        item->ReDraw();
    }
    hoverIndex_ = oldHoverIndex_ = -1;
}

void TskSkinMainMenuBar::PopupClosed() {
    const int i = FindItem([](TskSkinMainMenuBarItem& item) { return item.Down; });
    if (TskSkinMainMenuBarItem* item = ItemAt(i)) {
        item->Down = false;
        item->Active = true;
        item->ReDraw();
    }
}

bool TskSkinMainMenuBar::Accelerator(int key) {
    const bool character = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!character) return false;
    Layout();
    const int i = FindItem([key](TskSkinMainMenuBarItem& item) {
        return item.Enabled && item.Fits && rt::IsAccel(char32_t(key), item.MenuItem->Caption);
    });
    TskSkinMainMenuBarItem* item = ItemAt(i);
    if (item == nullptr) return false;
    const bool popupOpen = skinForm_ != nullptr && skinForm_->SkinMenu()->MenuVisible();
    const bool hasSub = item->HasSubItems();
    hoverIndex_ = i;
    item->MouseEnter();
    if (!(popupOpen && hasSub)) item->MouseDown(0, 0, 0);
    return true;
}

void TskSkinMainMenuBar::NextItem() { StepItem(1); }

void TskSkinMainMenuBar::PreviousItem() { StepItem(-1); }

void TskSkinMainMenuBar::StepItem(int step) {
    Layout();
    const int n = int(objects_.size());
    const int current = FindItem(
        [](TskSkinMainMenuBarItem& i) { return i.Enabled && i.Fits && (i.Active || i.Down); });
    int next = -1;
    if (current >= 0) {
        ItemAt(current)->MouseLeave();
        for (int k = 1; k <= n && next < 0; ++k) {
            const int i = ((current + step * k) % n + n) % n;
            if (Selectable(i)) next = i;
        }
    } else {
        auto selectable = [](TskSkinMainMenuBarItem& i) { return i.Enabled && i.Fits; };
        next = step > 0 ? FindItem(selectable) : FindItem(selectable, n - 1, -1);
    }
    if (next < 0) return;
    hoverIndex_ = next;
    ItemAt(next)->MouseEnter();
}

bool TskSkinMainMenuBar::EnterKey() {
    const bool popupOpen = skinForm_ != nullptr && skinForm_->SkinMenu()->MenuVisible();
    const int i = FindItem([popupOpen](TskSkinMainMenuBarItem& item) {
        return (item.Down && !item.HasSubItems()) || (item.Active && !popupOpen);
    });
    TskSkinMainMenuBarItem* item = ItemAt(i);
    if (item == nullptr) return false;
    item->Active = false;
    item->MouseDown(0, 0, 0);
    return true;
}

}  // namespace sk
