#pragma once
// Menus built in code, a host for the cascade that records what it is told and runs its timers
// on a virtual clock, and pixel counting.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/Menus.h"
#include "skin/form/MenuTestSkin.h"
#include "skin/form/skMenuCascade.h"

namespace menutest {

class TestMenu {
public:
    TestMenu() : menu_(std::make_unique<rt::TPopupMenu>(nullptr)) {}
    rt::TMenuItem* Root() const { return menu_->Items(); }
    rt::TPopupMenu& Menu() { return *menu_; }
    // Adds an item under parent (the root when null).
    rt::TMenuItem* Add(const std::string& caption, rt::TMenuItem* parent = nullptr) {
        auto* item = new rt::TMenuItem(menu_.get());
        item->Caption = caption;
        (parent != nullptr ? parent : Root())->Add(item);
        return item;
    }

private:
    std::unique_ptr<rt::TPopupMenu> menu_;
};

// Records the cascade's requests; Advance runs the timers it started on a virtual clock.
class FakeHost : public sk::TskMenuCascadeHost {
public:
    sk::TskMenuCascade* cascade = nullptr;
    int shown = 0, closing = 0, changed = 0, cascadeClosed = 0, allClosed = 0;
    std::vector<rt::TMenuItem*> commands;

    void PopupShown(int, sk::TskSkinPopupView&) override { ++shown; }
    void PopupClosing(int, sk::TskSkinPopupView& view) override {
        ++closing;
        for (auto it = timers_.begin(); it != timers_.end();)
            it = it->first.second == &view ? timers_.erase(it) : std::next(it);
    }
    void PopupChanged(int, sk::TskSkinPopupView&) override { ++changed; }
    void SetTimer(sk::TskMenuTimer timer, sk::TskSkinPopupView* view, bool on) override {
        if (on)
            timers_[{timer, view}] = now_ + Interval(timer);
        else
            timers_.erase({timer, view});
    }
    void CascadeClosed() override { ++cascadeClosed; }
    void AllClosed() override { ++allClosed; }
    void DispatchCommand(rt::TMenuItem* item) override {
        commands.push_back(item);
        item->Click();
    }

    bool Running(sk::TskMenuTimer timer, sk::TskSkinPopupView* view = nullptr) const {
        return timers_.count({timer, view}) != 0;
    }
    // Moves the clock on in 10 ms steps, firing every timer that falls due.
    void Advance(int ms) {
        for (int t = 0; t < ms; t += 10) {
            now_ += 10;
            std::vector<Key> due;
            for (const auto& [key, when] : timers_)
                if (when <= now_) due.push_back(key);
            for (const Key& key : due) {
                auto it = timers_.find(key);
                if (it == timers_.end()) continue;
                it->second += Interval(key.first);
                cascade->TimerFired(key.first, key.second);
            }
        }
    }

private:
    using Key = std::pair<sk::TskMenuTimer, sk::TskSkinPopupView*>;
    static int Interval(sk::TskMenuTimer t) {
        return t == sk::mtOpen     ? sk::kMenuOpenDelay
               : t == sk::mtScroll ? sk::kMenuScrollInterval
                                   : sk::kMenuMorphInterval;
    }
    std::map<Key, int> timers_;
    int now_ = 0;
};

inline int CountInk(rt::TBitmap& b, const rt::TRect& r, rt::TColor c) {
    int n = 0;
    const rt::TColor rgb = rt::ColorToRGB(c);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += b.Canvas().Pixel(x, y) == rgb ? 1 : 0;
    return n;
}

inline rt::TColor At(rt::TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y); }

}  // namespace menutest
