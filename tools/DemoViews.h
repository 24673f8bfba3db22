#pragma once
// A window of the skinned tree view and list view beside their scroll bars, with buttons that
// switch between the built-in skins and "No Skin" and between the list's view styles.

#include <string>

#include "runtime/Classes.h"

namespace demo {

// Opens the window (owned by `owner`) and shows it in the named built-in skin ("No Skin" for
// none; any other name: the first built-in skin).
void ShowViewsWindow(rt::TComponent* owner, const std::string& skin);

}  // namespace demo
