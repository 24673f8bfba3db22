#pragma once
// The screen, the mouse pointer and which window is where, in screen coordinates.

#include "runtime/Types.h"

namespace rt {

class TControl;

// The primary screen's rectangle, and its work area (without panels and docks).
TRect ScreenRect();
TRect WorkArea();
// The side of a small icon (a caption's icon) in pixels.
int SmallIconSize();
// Whether a window's opacity can show at all (not on the offscreen platform).
bool LayeredWindowsAvailable();

// Where the mouse pointer is.
TPoint GetCursorPos();
// The deepest control whose window lies under the screen point: a form when the point is on
// its frame or bare client area, a child control when on that child. Window regions count:
// a point outside a form's or control's region is not on it. Null over no window of ours.
TControl* WindowFromPoint(TPoint screen);

// Mouse capture: every mouse message goes to the capturing control, as client messages in its
// coordinates, until ReleaseCapture (a form gets them for its client area).
void SetCapture(TControl* control);
void ReleaseCapture();
TControl* GetCapture();

}  // namespace rt
