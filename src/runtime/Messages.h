#pragma once
// Window messages in the terms the windows and the skin engine use. Qt events are translated
// into these inside runtime; handlers see only TMessage.

#include <cstdint>

#include "runtime/Types.h"

namespace rt {

class TCanvas;
class TControl;

struct TMessage {
    unsigned Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_ENABLE = 0x000A;
constexpr unsigned WM_SETTEXT = 0x000C;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
constexpr unsigned WM_ACTIVATEAPP = 0x001C;
constexpr unsigned WM_CANCELMODE = 0x001F;
constexpr unsigned WM_SETCURSOR = 0x0020;
constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
constexpr unsigned WM_NCCALCSIZE = 0x0083;
constexpr unsigned WM_NCHITTEST = 0x0084;
constexpr unsigned WM_NCPAINT = 0x0085;
constexpr unsigned WM_NCACTIVATE = 0x0086;
constexpr unsigned WM_GETDLGCODE = 0x0087;
constexpr unsigned WM_SYNCPAINT = 0x0088;
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
constexpr unsigned WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr unsigned WM_NCMBUTTONDOWN = 0x00A7;
constexpr unsigned WM_NCMBUTTONUP = 0x00A8;
constexpr unsigned WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_PARENTNOTIFY = 0x0210;
constexpr unsigned WM_SIZING = 0x0214;
constexpr unsigned WM_MOVING = 0x0216;
constexpr unsigned WM_ENTERSIZEMOVE = 0x0231;
constexpr unsigned WM_EXITSIZEMOVE = 0x0232;
constexpr unsigned WM_NCMOUSELEAVE = 0x02A2;
constexpr unsigned WM_USER = 0x0400;

// Mouse entering and leaving a control (the class library's component messages).
constexpr unsigned CM_MOUSEENTER = 0xB013;
constexpr unsigned CM_MOUSELEAVE = 0xB014;
constexpr unsigned CM_ENABLEDCHANGED = 0xB003;
constexpr unsigned CM_TEXTCHANGED = 0xB012;
constexpr unsigned CM_VISIBLECHANGED = 0xB00C;
constexpr unsigned CM_FONTCHANGED = 0xB011;
// Keys the form offers its controls before the focused control sees them: Enter and Escape
// (CM_DIALOGKEY, wParam the virtual key, lParam the shift state) and accelerator characters
// (CM_DIALOGCHAR, wParam the character, lParam the shift state). A control that acts on one
// sets Result to 1, which ends the round.
constexpr unsigned CM_DIALOGKEY = 0xB005;
constexpr unsigned CM_DIALOGCHAR = 0xB006;
// The focus moved to another control of the form (lParam: that control, a TWinControl*, or 0).
constexpr unsigned CM_FOCUSCHANGED = 0xB007;

// What a control answers to WM_GETDLGCODE: the keys it handles itself instead of the form.
constexpr int DLGC_WANTARROWS = 0x0001;
constexpr int DLGC_WANTTAB = 0x0002;
constexpr int DLGC_WANTALLKEYS = 0x0004;
constexpr int DLGC_WANTCHARS = 0x0080;

// Sent to the control that opened a popup menu once every menu has closed.
constexpr unsigned WM_MENUCLOSED = 1228;
// Sent by a second start to the running instance.
constexpr unsigned WM_ACTIVATEINSTANCE = WM_USER + 4096;  // 5120

constexpr int MK_LBUTTON = 0x0001;
constexpr int MK_RBUTTON = 0x0002;
constexpr int MK_SHIFT = 0x0004;
constexpr int MK_CONTROL = 0x0008;
constexpr int MK_MBUTTON = 0x0010;

// WM_ACTIVATE's WParam.
constexpr int WA_INACTIVE = 0;
constexpr int WA_ACTIVE = 1;
constexpr int WA_CLICKACTIVE = 2;

// WM_MOUSEACTIVATE's answers; the two "eat" answers drop the click that activated.
constexpr int MA_ACTIVATE = 1;
constexpr int MA_ACTIVATEANDEAT = 2;
constexpr int MA_NOACTIVATE = 3;
constexpr int MA_NOACTIVATEANDEAT = 4;

// WM_SHOWWINDOW's WParam is 1 when showing, 0 when hiding.

// WM_NCHITTEST answers: where a screen point lies in a window.
constexpr int HTERROR = -2;
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTSYSMENU = 3;
constexpr int HTGROWBOX = 4;
constexpr int HTMENU = 5;
constexpr int HTHSCROLL = 6;
constexpr int HTVSCROLL = 7;
constexpr int HTMINBUTTON = 8;
constexpr int HTMAXBUTTON = 9;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTBORDER = 18;
// A frame object of a skinned form (caption buttons and the like): the form handles the mouse.
constexpr int HTOBJECT = 19;
constexpr int HTCLOSE = 20;
constexpr int HTHELP = 21;
// True for the eight codes that size the window from an edge or a corner.
constexpr bool IsSizingHitCode(std::intptr_t ht) { return ht >= HTLEFT && ht <= HTBOTTOMRIGHT; }

// WM_SYSCOMMAND commands (WParam & 0xFFF0). SC_MOVE + HTCAPTION and SC_SIZE + WMSZ_* carry how
// the loop was started in the low four bits.
constexpr int SC_SIZE = 0xF000;
constexpr int SC_MOVE = 0xF010;
constexpr int SC_MINIMIZE = 0xF020;
constexpr int SC_MAXIMIZE = 0xF030;
constexpr int SC_CLOSE = 0xF060;
constexpr int SC_KEYMENU = 0xF100;
constexpr int SC_RESTORE = 0xF120;

// WM_SIZING's WParam: the edge or corner being dragged (an HT sizing code minus 9).
constexpr int WMSZ_LEFT = 1;
constexpr int WMSZ_RIGHT = 2;
constexpr int WMSZ_TOP = 3;
constexpr int WMSZ_TOPLEFT = 4;
constexpr int WMSZ_TOPRIGHT = 5;
constexpr int WMSZ_BOTTOM = 6;
constexpr int WMSZ_BOTTOMLEFT = 7;
constexpr int WMSZ_BOTTOMRIGHT = 8;

// WM_SIZE's WParam.
constexpr int SIZE_RESTORED = 0;
constexpr int SIZE_MINIMIZED = 1;
constexpr int SIZE_MAXIMIZED = 2;

// WM_NCCALCSIZE: LParam points to this. Window is the window's new rectangle in screen
// coordinates; the handler sets Client, also in screen coordinates, which comes preset to the
// whole window (no frame). Runtime keeps Client inside Window and never negative in size.
struct TNCCalcSizeParams {
    TRect Window;
    TRect Client;
};

// WM_GETMINMAXINFO: LParam points to this, preset with the defaults; the handler may change
// any field. Every change of a form's size (SetBounds, the size loop, the window manager) is
// clamped to MinTrackSize .. MaxTrackSize. MaxSize and MaxPosition are the work area's size
// and top-left, for handlers that maximize on their own.
struct TMinMaxInfo {
    TPoint MaxSize;
    TPoint MaxPosition;
    TPoint MinTrackSize;
    TPoint MaxTrackSize;
};

// WM_NCPAINT: WParam points to this. Canvas draws on one off-screen bitmap of the whole window
// (window coordinates, clipped to Update); only the non-client part of it reaches the screen,
// in one copy after the handler returns. Update is the whole window for a full repaint, or the
// rectangle a partial repaint asked for.
struct TNCPaintParams {
    TCanvas* Canvas = nullptr;
    TRect Update;
};

// WM_MOVING and WM_SIZING: LParam points to a TRect, the window's proposed rectangle in screen
// coordinates, which the handler may change.

// What an application message hook sees: the message and the control it is going to.
struct TMsg {
    TControl* Target = nullptr;
    unsigned Message = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
};

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // Alt
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;  // F2 .. F12 follow
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;

// Keyboard messages (WM_KEYDOWN, WM_KEYUP) carry the virtual key in WParam and the TShiftState
// of the moment in LParam; keys pressed with Alt held come the same way, with ssAlt set.
// WM_SYSKEYDOWN / WM_SYSKEYUP are named for handlers written against them; runtime does not
// send them.

// Mouse coordinates packed into LParam as the window system does: low word x, high word y,
// each a signed 16-bit value (screen points left of or above the primary screen are negative).
inline std::intptr_t MakeLParam(int x, int y) {
    return std::intptr_t(std::uint32_t(std::uint16_t(x)) | (std::uint32_t(std::uint16_t(y)) << 16));
}
inline int LParamX(std::intptr_t l) { return std::int16_t(std::uint16_t(l & 0xFFFF)); }
inline int LParamY(std::intptr_t l) { return std::int16_t(std::uint16_t((l >> 16) & 0xFFFF)); }
inline std::intptr_t PointToLParam(TPoint p) { return MakeLParam(p.X, p.Y); }
inline TPoint LParamToPoint(std::intptr_t l) { return TPoint{LParamX(l), LParamY(l)}; }

// Pointers travel in WParam/LParam (the parameter structs above, the skin data object).
template <class T>
std::intptr_t PtrParam(T* p) {
    return static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(p));
}
template <class T>
T* ParamPtr(std::intptr_t v) {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(v));
}

}  // namespace rt
