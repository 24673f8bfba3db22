#pragma once
// Window messages in the terms the windows and the skin engine use. Qt events are translated
// into these inside runtime; handlers see only TMessage.

#include <cstdint>

namespace rt {

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
constexpr unsigned WM_SETCURSOR = 0x0020;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
constexpr unsigned WM_NCCALCSIZE = 0x0083;
constexpr unsigned WM_NCHITTEST = 0x0084;
constexpr unsigned WM_NCPAINT = 0x0085;
constexpr unsigned WM_NCACTIVATE = 0x0086;
constexpr unsigned WM_GETDLGCODE = 0x0087;
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_SIZING = 0x0214;
constexpr unsigned WM_MOVING = 0x0216;
constexpr unsigned WM_ENTERSIZEMOVE = 0x0231;
constexpr unsigned WM_EXITSIZEMOVE = 0x0232;
constexpr unsigned WM_USER = 0x0400;

// Mouse entering and leaving a control (the class library's component messages).
constexpr unsigned CM_MOUSEENTER = 0xB013;
constexpr unsigned CM_MOUSELEAVE = 0xB014;
constexpr unsigned CM_ENABLEDCHANGED = 0xB003;
constexpr unsigned CM_TEXTCHANGED = 0xB012;
constexpr unsigned CM_VISIBLECHANGED = 0xB00C;
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

// The skin engine's private messages.
constexpr unsigned SM_BEFORECHANGESKIN = 1225;
constexpr unsigned SM_CHANGESKIN = 1226;
constexpr unsigned SM_AFTERCHANGESKIN = 1227;
constexpr unsigned WM_CLOSESKINMENU = 1228;
// Sent by a second start to the running instance.
constexpr unsigned WM_ACTIVATEINSTANCE = WM_USER + 4096;  // 5120

constexpr int MK_LBUTTON = 0x0001;
constexpr int MK_RBUTTON = 0x0002;
constexpr int MK_SHIFT = 0x0004;
constexpr int MK_CONTROL = 0x0008;
constexpr int MK_MBUTTON = 0x0010;

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
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
constexpr int VK_DELETE = 0x2E;

// Mouse coordinates packed into LParam as the window system does: low word x, high word y.
inline std::intptr_t MakeLParam(int x, int y) {
    return std::intptr_t(std::uint32_t(std::uint16_t(x)) | (std::uint32_t(std::uint16_t(y)) << 16));
}
inline int LParamX(std::intptr_t l) { return std::int16_t(std::uint16_t(l & 0xFFFF)); }
inline int LParamY(std::intptr_t l) { return std::int16_t(std::uint16_t((l >> 16) & 0xFFFF)); }

}  // namespace rt
