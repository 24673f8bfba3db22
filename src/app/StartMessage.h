#pragma once
// Messages a start gives before (or instead of) showing the main window, such as a running
// Framora that does not answer. They show in the skinned message box in the user's stored skin,
// as every other message of the program does.

#include <string>

namespace app {

// Shows text in the skinned message box, in the skin stored in the settings of the program
// folder appDir (empty: the running program's folder), and returns the button pressed. The
// main window that holds the skin and the box is made for the message and never shown.
int ShowStartMessage(const std::string& text, int flags, const std::string& appDir = {});

}  // namespace app
