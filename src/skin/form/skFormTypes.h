#pragma once
// Values the skinned frame shares between its objects, its geometry and the form component.

#include "runtime/Messages.h"

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

// Hit-test codes: the window model's own (HTOBJECT, 19, is a frame object such as a caption
// button or a user object, which the form handles itself).
using rt::HTBOTTOM;
using rt::HTBOTTOMLEFT;
using rt::HTBOTTOMRIGHT;
using rt::HTCAPTION;
using rt::HTCLIENT;
using rt::HTLEFT;
using rt::HTNOWHERE;
using rt::HTOBJECT;
using rt::HTRIGHT;
using rt::HTTOP;
using rt::HTTOPLEFT;
using rt::HTTOPRIGHT;

}  // namespace sk
