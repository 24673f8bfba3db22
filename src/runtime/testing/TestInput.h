#pragma once
// Input as a user gives it, for tests: mouse and keys enter through the window system's event
// path (the window under the point or the one holding the mouse, the focused window for keys),
// so hit testing, capture, hooks and focus work as they do for real input.

#include <functional>
#include <string>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/Graphics.h"

namespace rt::testing {

void MouseMove(TPoint screen);
void MousePress(TPoint screen, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
void MouseRelease(TPoint screen, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
// Press and release at one point; two clicks in a row never make a double click.
void MouseClick(TPoint screen, TMouseButton button = TMouseButton::mbLeft);
void MouseDoubleClick(TPoint screen, TMouseButton button = TMouseButton::mbLeft);
// Press, moves in steps, release.
void MouseDrag(TPoint from, TPoint to, int steps = 4);

// Keys go to the focused window (virtual key codes; letters are 'A' .. 'Z').
void KeyPress(int vk, TShiftState shift = 0);
void KeyRelease(int vk, TShiftState shift = 0);
void KeyClick(int vk, TShiftState shift = 0);

// Drags URLs (a file manager's "file:///..." and others) over the window at the screen point
// and drops them there, as the window system hands a drag from another program to the widget
// that takes drops; true when the window accepted the drop.
bool DropUrls(TPoint screen, const std::vector<std::string>& urls);

// The window system in use ("offscreen", "xcb", ...).
std::string PlatformName();

// Handles pending events, including those posted by the platform.
void ProcessEvents();
// Handles every event the window system sent before a round trip to it: after moving the real
// pointer, its move is handled before the next synthetic input (a real move without buttons
// would otherwise come in the middle of a synthetic drag and end it).
void SyncWithWindowSystem();
// Handles events until cond holds or ms milliseconds have passed; cond's last answer.
bool WaitFor(const std::function<bool()>& cond, int ms = 3000);
// The window of a form or popup as on screen: frame, client area and children.
TBitmap GrabWindow(TControl& window);
// The cursor shape over the screen point.
TCursor CursorAt(TPoint screen);
// The window the platform treats as active, and the control with keyboard focus.
TControl* ActiveWindow();
TControl* FocusControl();

}  // namespace rt::testing
