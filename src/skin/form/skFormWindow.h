#pragma once
// What the skinned form needs of the window it takes the frame of. The window model of the
// runtime provides it for a real form; tests provide a fake. Rectangles are in screen
// coordinates unless stated.

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/Graphics.h"

namespace rt {
class TWinControl;
}

namespace sk {

class TskFormWindow {
public:
    virtual ~TskFormWindow() = default;

    // The whole window, frame included.
    virtual rt::TRect BoundsRect() const = 0;
    // Moves and sizes the window (the size limits of the form apply).
    virtual void SetBounds(const rt::TRect& bounds) = 0;
    virtual std::string Caption() const = 0;
    virtual bool Visible() const = 0;
    // False for a form without border: it gets no frame at all.
    virtual bool HasBorder() const = 0;
    // The border style lets the user size the window.
    virtual bool Sizeable() const = 0;
    virtual bool IsMainForm() const = 0;
    virtual void Close() = 0;
    // Minimizing the main form minimizes the whole application.
    virtual void MinimizeApplication() = 0;

    virtual rt::TRect WorkArea() const = 0;
    virtual rt::TRect ScreenRect() const = 0;
    virtual rt::TPoint CursorPos() const = 0;
    // True when this window is the one under the mouse cursor.
    virtual bool UnderCursor() const = 0;

    // Asks for the frame (the non-client area) to be painted again.
    virtual void InvalidateFrame() = 0;
    // Paints one part of the frame now, outside a full frame paint: paint draws in window
    // coordinates onto the frame as last painted, clipped to r, and r shows at once (a frame
    // object changing its look, a morph step).
    virtual void PaintFrameNow(const rt::TRect& r,
                               const std::function<void(rt::TCanvas&)>& paint) = 0;
    virtual void InvalidateClient() = 0;
    // The frame's margins changed: the client rectangle is to be computed again.
    virtual void FrameChanged() = 0;
    // Shapes the window; null removes the shape.
    virtual void SetWindowRegion(const rt::TRegion* region) = 0;
    virtual void SetMouseCapture(bool on) = 0;
    // Whole-window opacity, 255 opaque.
    virtual void SetOpacity(int alpha) = 0;
    virtual void ProcessMessages() = 0;
    // Window timers: the form hears TimerTick(id) every ms milliseconds until KillTimer.
    virtual void SetTimer(std::uintptr_t id, int ms) = 0;
    virtual void KillTimer(std::uintptr_t id) = 0;
    // The form's icon, else the application's; null when there is none.
    virtual const rt::TBitmap* Icon() const = 0;
    // The form whose controls follow skin changes, or null.
    virtual rt::TWinControl* ControlRoot() = 0;
};

}  // namespace sk
