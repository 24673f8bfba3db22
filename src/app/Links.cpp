#include "app/Links.h"

#include <algorithm>
#include <cctype>

#include "runtime/Application.h"
#include "runtime/IniFiles.h"
#include "runtime/SysUtils.h"

namespace app {

namespace {

constexpr const char* kSection = "software";

std::string ReadSoftware(const std::string& appDir, const char* key, const std::string& def) {
    return rt::TIniFile(appDir + kVersionFile).ReadString(kSection, key, def);
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && rt::SameText(s.substr(0, prefix.size()), prefix);
}

void Say(const std::string& text) {
    if (rt::TApplication* app = rt::Application())
        app->MessageBox(text, app->Title.empty() ? "Framora" : app->Title,
                        rt::MB_OK | rt::MB_ICONINFORMATION);
}

// Opens the target; when the desktop cannot, says so rather than leaving the click unanswered.
void Open(const std::string& target) {
    if (!rt::ShellOpen(target))
        Say("Cannot open \"" + target + "\": no program on this desktop opens it.");
}

}  // namespace

std::string VersionText(const std::string& appDir) {
    return ReadSoftware(appDir, "version", kDefaultVersion);
}

std::string LinkUrl(const std::string& value) {
    const std::string v = rt::Trim(value);
    if (v.empty() ||
        std::any_of(v.begin(), v.end(), [](unsigned char c) { return c <= ' ' || c == 0x7F; }))
        return {};
    for (const char* scheme : {"https://", "http://", "mailto:"})
        if (StartsWithNoCase(v, scheme)) return v.size() > std::string(scheme).size() ? v : "";
    // Any other scheme (a file, a script) is not what these links are for.
    const std::size_t colon = v.find(':');
    const std::string head = v.substr(0, colon);
    if (v.find("://") != std::string::npos ||
        (colon != std::string::npos &&
         std::all_of(head.begin(), head.end(), [](unsigned char c) { return std::isalpha(c); })))
        return {};
    if (v.find('@') != std::string::npos && v.find('/') == std::string::npos) return "mailto:" + v;
    // A bare address starts with its host name; a path or anything else is no address.
    if (!std::isalnum(static_cast<unsigned char>(v[0]))) return {};
    return "https://" + v;
}

std::string HomepageUrl(const std::string& appDir) {
    return LinkUrl(ReadSoftware(appDir, "homepage", ""));
}

std::string SupportUrl(const std::string& appDir) {
    return LinkUrl(ReadSoftware(appDir, "support", ""));
}

void OpenHelp(const std::string& appDir) {
    const std::string help = appDir + kHelpFile;
    if (rt::FileExists(help)) Open(help);
}

void OpenLink(const std::string& url) {
    if (url.empty())
        Say(kNoAddressMessage);
    else
        Open(url);
}

}  // namespace app
