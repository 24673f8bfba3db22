#pragma once
// What the Help menu and the About window open, and the program's name and version: the help
// page in the program folder's "Help" folder, and the homepage and support addresses and the
// version text from "init.ini" in the program folder (section "software"). Both windows take
// them from here, so the two always agree.

#include <string>

namespace app {

// The version file, the help page and the message for a link without an address.
constexpr const char* kVersionFile = "init.ini";
constexpr const char* kHelpFile = "Help/index.html";
constexpr const char* kDefaultVersion = "Framora 1.0";
constexpr const char* kNoAddressMessage = "No address is configured.";

// appDir is the program folder with its trailing separator. A missing file or key gives the
// default (for the addresses: empty, none configured).
std::string VersionText(const std::string& appDir);
// The homepage URL: "homepage" as written when it has a scheme, else https:// before it.
std::string HomepageUrl(const std::string& appDir);
// The support URL: "support" as a mail address gives a mailto: URL; a URL stays as written.
std::string SupportUrl(const std::string& appDir);
// Only web pages and mail are opened: anything else in the file counts as no address.
std::string LinkUrl(const std::string& value);

// Opens the help page with the desktop's handler when it is there; without it, nothing. When
// the desktop cannot open it, the user is told.
void OpenHelp(const std::string& appDir);
// Opens the URL with the desktop's handler (telling the user when the desktop cannot); without
// a URL, tells the user that no address is configured.
void OpenLink(const std::string& url);

}  // namespace app
