#include "skin/form/skMenuCascade.h"

#include <algorithm>

namespace sk {

// The live engine closes its popups through CloseFrom before it goes; what is left here only
// needs freeing, and the host may be gone already.
TskMenuCascade::~TskMenuCascade() = default;

bool TskMenuCascade::Popup(TskSkinData* skinData, bool popupUp, rt::TMenuItem* menuItem,
                           const rt::TRect& anchor, int startIndex, const rt::TRect& workArea) {
    if (menuVisible_ || !popups_.empty()) CloseFrom(0);
    if (menuItem == nullptr) return false;
    skinData_ = skinData;
    workArea_ = workArea;
    auto view = std::make_unique<TskSkinPopupView>(Style, skinData, menuItem, startIndex, workArea);
    // An empty popup could show nothing and take no key.
    if (view->Count() == 0) return false;
    view->Place(anchor, workArea, false, popupUp);
    menuVisible_ = true;
    Opened(std::move(view));
    return true;
}

void TskMenuCascade::Opened(std::unique_ptr<TskSkinPopupView> view) {
    TskSkinPopupView& v = *view;
    popups_.push_back(std::move(view));
    morphTimers_.push_back(false);
    const int index = int(popups_.size()) - 1;
    // The first enabled item is highlighted as if by the keyboard: nothing opens from it.
    const int first = v.FirstEnabledItem();
    if (first >= 0) {
        v.EnsureVisible(first);
        v.Items(first).Active = true;
        v.HotItem = first;
    }
    host_.PopupShown(index, v);
    StartMorph(index);
}

void TskMenuCascade::CloseFrom(int index) {
    index = std::max(0, index);
    while (int(popups_.size()) > index) {
        const int last = int(popups_.size()) - 1;
        TskSkinPopupView& v = *popups_.back();
        if (pendingPopup_ == last) CancelPending();
        if (v.ScrollDirection != sdNone) host_.SetTimer(mtScroll, &v, false);
        if (morphTimers_.back()) host_.SetTimer(mtMorph, &v, false);
        host_.PopupClosing(last, v);
        popups_.pop_back();
        morphTimers_.pop_back();
    }
    if (index > 0) return;
    menuVisible_ = false;
    CancelPending();
    host_.CascadeClosed();
}

void TskMenuCascade::CloseAll() {
    CloseFrom(0);
    CancelPending();
    host_.AllClosed();
}

int TskMenuCascade::IndexOf(const TskSkinPopupView* view) const {
    for (std::size_t i = 0; i < popups_.size(); ++i)
        if (popups_[i].get() == view) return int(i);
    return -1;
}

const TskSkinMenuItem* TskMenuCascade::PendingItem() const {
    if (pendingPopup_ < 0 || pendingPopup_ >= int(popups_.size())) return nullptr;
    return &popups_[std::size_t(pendingPopup_)]->Items(pendingItem_);
}

bool TskMenuCascade::ActiveItemHasSubItems() const {
    if (popups_.empty()) return false;
    const TskSkinPopupView& v = *popups_.back();
    const int active = v.ActiveItem();
    return active >= 0 && v.Items(active).HasSubItems();
}

void TskMenuCascade::CancelPending() {
    if (pendingPopup_ < 0) return;
    pendingPopup_ = -1;
    pendingItem_ = -1;
    host_.SetTimer(mtOpen, nullptr, false);
}

void TskMenuCascade::Changed(int index) {
    host_.PopupChanged(index, *popups_[std::size_t(index)]);
    StartMorph(index);
}

void TskMenuCascade::StartMorph(int index) {
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    if (!v.Morphs() || morphTimers_[std::size_t(index)]) return;
    morphTimers_[std::size_t(index)] = true;
    host_.SetTimer(mtMorph, &v, true);
}

void TskMenuCascade::CloseBeyond(int index) {
    CloseFrom(index + 1);
    // No item of this popup has its sub-menu open any more.
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    for (int i = 0; i < v.Count(); ++i) v.Items(i).Down = false;
}

void TskMenuCascade::ActivateItem(int index, int item, bool byMouse) {
    TskSkinPopupView& v = *popups_.at(std::size_t(index));
    TskSkinMenuItem& it = v.Items(item);
    it.Active = true;
    v.HotItem = item;
    bool otherDown = false;
    for (int j = 0; j < v.Count(); ++j)
        if (j != item && v.Items(j).Down) {
            v.Items(j).Down = false;
            otherDown = true;
        }
    if (it.Down) {
        CloseFrom(index + 2);
        if (index + 1 < int(popups_.size())) {
            TskSkinPopupView& sub = *popups_[std::size_t(index + 1)];
            for (int j = 0; j < sub.Count(); ++j) sub.Items(j).Down = false;
            Changed(index + 1);
        }
    } else if (!it.HasSubItems()) {
        CloseFrom(index + 1);
        CancelPending();
    } else if (byMouse) {
        CloseFrom(index + 1);
        pendingPopup_ = index;
        pendingItem_ = item;
        host_.SetTimer(mtOpen, nullptr, true);
    } else if (otherDown) {
        // Another item's sub-menu was open; it must not stay beside an item that no longer
        // owns it.
        CloseFrom(index + 1);
    }
    Changed(index);
}

void TskMenuCascade::DeactivateItem(int index, int item) {
    TskSkinPopupView& v = *popups_.at(std::size_t(index));
    v.Items(item).Active = false;
    if (pendingPopup_ == index && pendingItem_ == item) CancelPending();
    Changed(index);
}

void TskMenuCascade::ClickItem(int index, int item) {
    TskSkinPopupView* v = popups_.at(std::size_t(index)).get();
    TskSkinMenuItem& it = v->Items(item);
    if (!it.Enabled() || it.Down) return;
    rt::TMenuItem* menuItem = it.MenuItem();
    if (!it.HasSubItems()) {
        CancelPending();
        CloseAll();
        host_.DispatchCommand(menuItem);
        return;
    }
    host_.DispatchCommand(menuItem);
    // The item's own command may have closed the menus.
    if (index >= int(popups_.size()) || popups_[std::size_t(index)].get() != v) return;
    CancelPending();
    it.Down = true;
    Changed(index);
    OpenSubMenu(index, item);
}

void TskMenuCascade::OpenSubMenu(int index, int item) {
    CloseFrom(index + 1);
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    TskSkinMenuItem& it = v.Items(item);
    auto sub = std::make_unique<TskSkinPopupView>(Style, skinData_, it.MenuItem(), 0, workArea_);
    if (sub->Count() == 0) {
        it.Down = false;
        Changed(index);
        return;
    }
    sub->Place(v.ItemScreenRect(item), workArea_, true, false);
    Opened(std::move(sub));
}

void TskMenuCascade::StopScrolling(int index) {
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    v.ScrollDirection = sdNone;
    host_.SetTimer(mtScroll, &v, false);
    Changed(index);
}

void TskMenuCascade::MouseMove(int index, int x, int y) {
    if (index < 0 || index >= int(popups_.size())) return;
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    if (v.Scroll()) {
        TskScrollDirection dir = v.ScrollBandAt(x, y);
        if (dir != sdNone && !v.CanScroll(dir)) dir = sdNone;
        if (dir != sdNone && dir != v.ScrollDirection) {
            v.ScrollDirection = dir;
            CloseBeyond(index);
            host_.SetTimer(mtScroll, &v, true);
            Changed(index);
        } else if (dir == sdNone && v.ScrollDirection != sdNone) {
            StopScrolling(index);
        }
    }
    const int hit = v.ItemAt(x, y);
    if (hit < 0 || hit == v.HotItem) return;
    const int old = v.HotItem;
    v.PreviousHotItem = old;
    v.HotItem = hit;
    if (old >= 0 && old < v.Count() && v.Items(old).Enabled() && !v.Items(old).IsLine())
        DeactivateItem(index, old);
    if (v.Items(hit).Enabled() && !v.Items(hit).IsLine()) ActivateItem(index, hit, true);
}

void TskMenuCascade::MouseOutside(int index) {
    if (index < 0 || index >= int(popups_.size())) return;
    if (popups_[std::size_t(index)]->ScrollDirection != sdNone) StopScrolling(index);
}

void TskMenuCascade::MouseUp(int index, int x, int y) {
    if (index < 0 || index >= int(popups_.size())) return;
    TskSkinPopupView& v = *popups_[std::size_t(index)];
    const int hit = v.ItemAt(x, y);
    if (hit >= 0 && v.Items(hit).Active && !v.Items(hit).IsLine()) ClickItem(index, hit);
}

void TskMenuCascade::CloseTopmost() {
    CloseFrom(int(popups_.size()) - 1);
    if (popups_.empty()) return;
    TskSkinPopupView& top = *popups_.back();
    for (int i = 0; i < top.Count(); ++i) top.Items(i).Down = false;
    Changed(int(popups_.size()) - 1);
}

void TskMenuCascade::Select(int step) {
    const int index = int(popups_.size()) - 1;
    TskSkinPopupView& v = *popups_.back();
    const int active = v.ActiveItem();
    const int from = active >= 0 ? active : (step > 0 ? -1 : v.Count());
    const int next = v.NextSelectable(from, step);
    if (next < 0 || next == active) return;
    if (active >= 0) DeactivateItem(index, active);
    v.EnsureVisible(next);
    ActivateItem(index, next, false);
}

bool TskMenuCascade::KeyDown(int key) {
    if (popups_.empty()) return false;
    const int index = int(popups_.size()) - 1;
    TskSkinPopupView& v = *popups_.back();
    const int accel = v.AcceleratorItem(key);
    if (accel >= 0) {
        const int previous = v.ActiveItem();
        if (previous >= 0 && previous != accel) DeactivateItem(index, previous);
        v.EnsureVisible(accel);
        ActivateItem(index, accel, false);
        ClickItem(index, accel);
        return true;
    }
    const int active = v.ActiveItem();
    switch (key) {
        case rt::VK_RETURN:
            if (active >= 0) ClickItem(index, active);
            return true;
        case rt::VK_ESCAPE:
            CloseTopmost();
            return true;
        case rt::VK_LEFT:
            if (popups_.size() < 2) return false;
            CloseTopmost();
            return true;
        case rt::VK_UP:
            Select(-1);
            return true;
        case rt::VK_DOWN:
            Select(1);
            return true;
        case rt::VK_RIGHT:
            if (active < 0 || !v.Items(active).HasSubItems()) return false;
            ClickItem(index, active);
            return true;
        default:
            return false;
    }
}

void TskMenuCascade::TimerFired(TskMenuTimer timer, TskSkinPopupView* view) {
    if (timer == mtOpen) {
        const int index = pendingPopup_, item = pendingItem_;
        CancelPending();
        if (index >= 0 && index < int(popups_.size())) ClickItem(index, item);
        return;
    }
    const int index = IndexOf(view);
    if (index < 0) return;
    TskSkinPopupView& v = *view;
    if (timer == mtScroll) {
        const TskScrollDirection dir = v.ScrollDirection;
        if (dir == sdNone || !v.ScrollBy(dir)) {
            StopScrolling(index);
            return;
        }
        if (v.CanScroll(dir))
            Changed(index);
        else
            StopScrolling(index);
        return;
    }
    if (v.MorphStep()) {
        host_.PopupChanged(index, v);
        return;
    }
    morphTimers_[std::size_t(index)] = false;
    host_.SetTimer(mtMorph, &v, false);
}

}  // namespace sk
