#pragma once
// Values the skinned frame shares between its objects, its geometry and the form component.

namespace sk {

// The window state the skinned form keeps itself; the window system's own state stays normal.
enum class TskWindowState : int { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// Which caption buttons and system-menu items a form has (a set, bits 0 to 4).
enum TskBorderIcon : unsigned {
    biSystemMenu = 1u << 0,
    biMinimize = 1u << 1,
    biMaximize = 1u << 2,
    biRollUp = 1u << 3,
    biMinimizeToTray = 1u << 4
};
using TskBorderIcons = unsigned;
constexpr TskBorderIcons kDefaultBorderIcons = biSystemMenu | biMinimize | biMaximize | biRollUp;

// Hit-test codes with the window system's values: what the mouse is over.
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
// A frame object (caption button, user object) that the form handles itself.
constexpr int HTOBJECT = 19;

}  // namespace sk
