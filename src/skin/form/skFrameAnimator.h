#pragma once
// The skinned form's hover and morph animator: which frame object the mouse is over and which
// one is pressed, the mouse handed on to them, the hover timer that notices the mouse leaving
// the frame, and the morph timer that steps the objects' fades until none needs another step.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/Types.h"

namespace sk {

class TskActiveSkinObject;
class TskFormHost;
class TskFormWindow;
class TskSkinCaptionObject;
class TskSkinHint;

class TskFrameAnimator {
public:
    // The window timers it runs.
    static constexpr std::uintptr_t kHoverTimer = 0x534B01;
    static constexpr std::uintptr_t kMorphTimer = 0x534B02;

    // host: the form's activity; objects: the form's frame objects.
    TskFrameAnimator(TskFormHost& host,
                     const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects)
        : host_(host), objects_(objects) {}

    // The client rectangle in window coordinates, laid out for the current size.
    std::function<rt::TRect()> ClientBox;
    // True while the window is moved or sized: the hover timer leaves the objects alone.
    std::function<bool()> SizeMoving;
    // The hint window that shows the hovered object's hint, or null.
    std::function<TskSkinHint*()> ObjectHint;

    // The window the timers run on and the mouse is captured by; running timers go on with a
    // new one.
    void SetWindow(TskFormWindow* window);

    int HoverIndex() const { return hoverIndex_; }
    int OldHoverIndex() const { return oldHoverIndex_; }
    int PressedIndex() const { return pressedIndex_; }
    bool HoverTickerEnabled() const { return hoverOn_; }
    bool MorphTickerEnabled() const { return morphOn_; }

    // The objects changed: nothing is hovered or pressed.
    void Forget() { hoverIndex_ = oldHoverIndex_ = pressedIndex_ = -1; }
    // The pressed object lets go without hearing a release (its menu took the mouse, or the
    // press was on the caption, where the window system moves the window).
    void ForgetPress() { pressedIndex_ = -1; }
    // The form's activity changed: every object but the caption loses its hover look at once.
    void LeaveObjects();
    // The caption's active look, faded on the morph timer with animate.
    void SetCaptionActive(bool active, bool animate);

    // Hover tracking at a window point; over tells whether the mouse is over the window.
    void TrackHover(rt::TPoint p, bool over);
    // The mouse at window points: a press (button 0 left, 1 right) on the object under it,
    // a left double click, the release (for the pressed object, wherever it happens) and a
    // move (to the pressed object, else the hovered one).
    void Press(rt::TPoint p, int button);
    void DoubleClick(rt::TPoint p);
    void Release(rt::TPoint p, int button);
    void MouseMove(rt::TPoint p);

    // The timers' work, one tick each.
    void MorphTimerTick();
    void HoverTimerTick();
    void StartHoverTicker();
    void StopHoverTicker();
    void EnableMorphTimer();
    void StopTimers();

private:
    void SetTicker(bool& on, std::uintptr_t id, int interval, bool enable);
    TskSkinCaptionObject* Caption() const;
    // Captures the mouse for a pressed object; the caption leaves it to the window system.
    void Capture(TskActiveSkinObject& object, bool on);

    TskFormHost& host_;
    const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects_;
    TskFormWindow* window_ = nullptr;
    int hoverIndex_ = -1, oldHoverIndex_ = -1, pressedIndex_ = -1;
    bool hoverOn_ = false, morphOn_ = false;
};

}  // namespace sk
