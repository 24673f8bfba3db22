#pragma once
// The window-state controller of a skinned form: normal, maximized, minimized into a free slot
// along the work area's bottom, rolled up to its caption; the size limits that follow from the
// state, the magnetic move, the size-move loop and the fade-in when the window is shown. It
// moves and sizes the window itself and tells its form afterwards through the callbacks.

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/Types.h"
#include "skin/form/skFormTypes.h"
#include "skin/form/skFrameGeometry.h"

namespace sk {

class TskFormWindow;

// How a window fades in when shown: to AlphaBlendValue with AlphaBlend, else to opaque; in
// steps with Animation.
struct TskFadeIn {
    bool AlphaBlend = false;
    bool Animation = false;
    int AlphaBlendValue = 255;
};

class TskWindowStateController {
public:
    // The fade-in's window timer.
    static constexpr std::uintptr_t kFadeInTimer = 1;

    TskWindowStateController();
    ~TskWindowStateController();
    TskWindowStateController(const TskWindowStateController&) = delete;
    TskWindowStateController& operator=(const TskWindowStateController&) = delete;

    // The window the states apply to; without one every command is ignored.
    void SetWindow(TskFormWindow* window) { window_ = window; }

    // The frame's size rules apart from the state (skin, minimum width and height), asked
    // whenever a minimum size is needed; without it the default frame's rules apply.
    std::function<TskSizeRules()> SizeRules;
    // A command moved or sized the window (OnRestored first when it came back to normal), and
    // the roll-up state changed.
    std::function<void()> OnRestored;
    std::function<void()> OnBoundsChanged;
    std::function<void()> OnRollUpChanged;

    TskWindowState WindowState() const { return windowState_; }
    bool RollUpState() const { return rollUpState_; }
    // Rolled up while maximized.
    bool MaxRollUpState() const { return maxRollUpState_; }
    // Where the window goes back to from maximized or minimized (empty: nowhere yet).
    const rt::TRect& RestoreRect() const { return restoreRect_; }
    // The height a rolled-up window unrolls to.
    int RollUpHeight() const { return rollUpHeight_; }
    bool InSizeMove() const { return inSizeMove_; }
    bool FadeInRunning() const { return fadeOn_; }

    // Minimum and maximum tracking sizes for the current state.
    rt::TPoint MinTrackSize() const;
    rt::TPoint MaxTrackSize(bool fullScreen) const;

    // Maximized fills the work area (the screen with fullScreen); minimized takes the frame's
    // minimum size in the first free slot, except for the main form, which minimizes the
    // application and keeps its state; normal goes back to the rectangle kept.
    void SetWindowState(TskWindowState state, bool fullScreen);
    // Rolls up to the minimum height, or back to the height kept, as far as icons allow.
    void SetRollUpState(bool rolledUp, TskBorderIcons icons);
    // WM_MOVING: magnetic edges; a maximized window holds its place.
    void Moving(rt::TRect& rect, bool magnetic, int magneticSize);
    void EnterSizeMove() { inSizeMove_ = true; }
    void ExitSizeMove() { inSizeMove_ = false; }
    // WM_SHOWWINDOW: a window shown with alpha blending starts transparent and fades in on the
    // fade-in timer's first tick, FadeInTick.
    void ShowWindow(bool show, const TskFadeIn& fade);
    void FadeInTick(const TskFadeIn& fade);
    void StopFadeIn();

private:
    void SetFadeTimer(bool enable);
    // The places of the other visible minimized windows.
    std::vector<rt::TPoint> OtherMinimized() const;

    TskFormWindow* window_ = nullptr;
    TskWindowState windowState_ = TskWindowState::wsNormal;
    bool rollUpState_ = false;
    bool maxRollUpState_ = false;
    rt::TRect restoreRect_;
    int rollUpHeight_ = 0;
    bool inSizeMove_ = false;
    bool fadeOn_ = false;
};

}  // namespace sk
