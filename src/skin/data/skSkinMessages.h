#pragma once
// The skin engine's private messages. A skin data object announces each change to the forms
// with the three skin messages (wParam = the skin data object, lParam = kSkinMessageLParam); a
// control that opened a skinned menu is sent WM_CLOSESKINMENU when every menu has closed.

#include <cstdint>

#include "runtime/Messages.h"

namespace sk {

constexpr unsigned SM_BEFORECHANGESKIN = 1225;
constexpr unsigned SM_CHANGESKIN = 1226;
constexpr unsigned SM_AFTERCHANGESKIN = 1227;
// The runtime's own "menu closed" notice: an opener hears the same message whether the skinned
// engine or the plain popup showed its menu.
constexpr unsigned WM_CLOSESKINMENU = rt::WM_MENUCLOSED;

// lParam of the skin messages.
constexpr std::intptr_t kSkinMessageLParam = 1000;

}  // namespace sk
