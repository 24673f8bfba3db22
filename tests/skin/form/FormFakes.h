#pragma once
// Recording stand-ins for what the frame objects and the skinned form talk to: a form host for
// the objects and a window for the form.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Menus.h"
#include "skin/form/skFormHost.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameObjects.h"

namespace formtest {

// Records every call as a line of Log, in order.
class FakeHost : public sk::TskFormHost {
public:
    FakeHost() : systemMenu(nullptr) {
        rt::TMenuItem* item = rt::Make<rt::TMenuItem>(&systemMenu);
        item->Caption = "&Close";
        systemMenu.Add(item);
    }

    std::vector<std::string> Log;
    bool morphTimer = false;
    sk::TskWindowState state = sk::TskWindowState::wsNormal;
    bool rolledUp = false;
    std::string caption = "Frame";
    bool showIcon = false;
    bool active = true;
    bool rendersInactive = false;
    rt::TBitmap icon{16, 16};
    rt::TMenuItem systemMenu;
    rt::TCanvas* paintTarget = nullptr;  // where PaintObjectNow draws, when set

    void PaintObjectNow(sk::TskActiveSkinObject& o) override {
        Log.push_back("paint:" + o.IDName);
        if (paintTarget != nullptr) o.Draw(*paintTarget, true);
    }
    void EnableMorphTimer() override {
        morphTimer = true;
        Log.push_back("timer");
    }
    void CloseForm() override { Log.push_back("close"); }
    sk::TskWindowState WindowState() const override { return state; }
    void SetWindowState(sk::TskWindowState s) override {
        state = s;
        Log.push_back("state:" + std::to_string(int(s)));
    }
    bool RollUpState() const override { return rolledUp; }
    void SetRollUpState(bool v) override {
        rolledUp = v;
        Log.push_back(std::string("rollup:") + (v ? "1" : "0"));
    }
    rt::TMenuItem* GetSystemMenu() override {
        Log.push_back("sysmenu");
        return &systemMenu;
    }
    void PopupObjectMenu(sk::TskSkinButtonObject& b, rt::TMenuItem*, const rt::TRect&,
                         bool) override {
        Log.push_back("popup:" + b.IDName);
    }
    std::string CaptionText() const override { return caption; }
    bool ShowIcon() const override { return showIcon; }
    const rt::TBitmap& SmallIcon() override { return icon; }
    bool FormActive() const override { return active; }
    bool RendersInactiveImage() const override { return rendersInactive; }
    void ObjectMouseDown(const std::string& id, int, int, const rt::TRect&, int b) override {
        Log.push_back("down:" + id + ":" + std::to_string(b));
    }
    void ObjectMouseUp(const std::string& id, int, int, const rt::TRect&, int b) override {
        Log.push_back("up:" + id + ":" + std::to_string(b));
    }
    void ObjectMouseMove(const std::string& id, int, int, const rt::TRect&) override {
        Log.push_back("move:" + id);
    }
    void ObjectMouseEnter(const std::string& id) override { Log.push_back("enter:" + id); }
    void ObjectMouseLeave(const std::string& id) override { Log.push_back("leave:" + id); }
    void ObjectPaint(const std::string& id, rt::TCanvas&, const rt::TRect&) override {
        Log.push_back("userpaint:" + id);
    }

    bool Logged(const std::string& line) const {
        for (const std::string& l : Log)
            if (l == line) return true;
        return false;
    }
    // Position of the first line equal to `line`, or -1.
    int IndexOf(const std::string& line) const {
        for (std::size_t i = 0; i < Log.size(); ++i)
            if (Log[i] == line) return int(i);
        return -1;
    }
};

// A window on a 1024 x 768 screen whose work area leaves 40 pixels for a task bar.
class FakeWindow : public sk::TskFormWindow {
public:
    struct State {
        rt::TRect bounds = rt::Bounds(100, 100, 300, 200);
        std::string caption = "Frame";
        bool visible = true;
        bool border = true;
        bool sizeable = true;
        bool mainForm = false;
        int closes = 0;
        int appMinimizes = 0;
        rt::TRect workArea = rt::Rect(0, 0, 1024, 728);
        rt::TRect screen = rt::Rect(0, 0, 1024, 768);
        rt::TPoint cursor;
        bool underCursor = true;
        int frameInvalidations = 0;
        // Parts of the frame painted at once, and where they were painted (when set).
        std::vector<rt::TRect> framePieces;
        rt::TCanvas* frameCanvas = nullptr;
        std::map<std::uintptr_t, int> timers;
        int frameChanges = 0;
        std::optional<rt::TRegion> region;
        bool capture = false;
        std::vector<int> opacity;
    };
    // The state lives with the test, so it stays readable after the form took the window.
    explicit FakeWindow(State& s) : s_(s) {}

    rt::TRect BoundsRect() const override { return s_.bounds; }
    void SetBounds(const rt::TRect& b) override { s_.bounds = b; }
    std::string Caption() const override { return s_.caption; }
    bool Visible() const override { return s_.visible; }
    bool HasBorder() const override { return s_.border; }
    bool Sizeable() const override { return s_.sizeable; }
    bool IsMainForm() const override { return s_.mainForm; }
    void Close() override { ++s_.closes; }
    void MinimizeApplication() override { ++s_.appMinimizes; }
    rt::TRect WorkArea() const override { return s_.workArea; }
    rt::TRect ScreenRect() const override { return s_.screen; }
    rt::TPoint CursorPos() const override { return s_.cursor; }
    bool UnderCursor() const override { return s_.underCursor; }
    void InvalidateFrame() override { ++s_.frameInvalidations; }
    void PaintFrameNow(const rt::TRect& r,
                       const std::function<void(rt::TCanvas&)>& paint) override {
        s_.framePieces.push_back(r);
        if (s_.frameCanvas == nullptr) return;
        s_.frameCanvas->SetClipRect(r);
        paint(*s_.frameCanvas);
        s_.frameCanvas->ClearClip();
    }
    void InvalidateClient() override {}
    void FrameChanged() override { ++s_.frameChanges; }
    void SetWindowRegion(const rt::TRegion* r) override {
        if (r != nullptr)
            s_.region = *r;
        else
            s_.region.reset();
    }
    void SetMouseCapture(bool on) override { s_.capture = on; }
    void SetOpacity(int alpha) override { s_.opacity.push_back(alpha); }
    void ProcessMessages() override {}
    void SetTimer(std::uintptr_t id, int ms) override { s_.timers[id] = ms; }
    void KillTimer(std::uintptr_t id) override { s_.timers.erase(id); }
    const rt::TBitmap* Icon() const override { return nullptr; }
    rt::TWinControl* ControlRoot() override { return nullptr; }

private:
    State& s_;
};

}  // namespace formtest
