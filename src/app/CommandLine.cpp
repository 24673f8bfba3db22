#include "app/CommandLine.h"

#ifndef FRAMORA_VERSION
#define FRAMORA_VERSION "1.0"
#endif

namespace app {

TCommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& currentDir) {
    TCommandLine cl;
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            return TCommandLine{TCommandLine::TAction::Help, {}, {}};
        } else if (options && (a == "--version" || a == "-v")) {
            return TCommandLine{TCommandLine::TAction::Version, {}, {}};
        } else if (options && !a.empty() && a[0] == '-') {
            cl.action = TCommandLine::TAction::Error;
            cl.error = "unknown option \"" + a + "\"";
        } else if (a.empty()) {
            cl.action = TCommandLine::TAction::Error;
            cl.error = "an empty file name";
        } else {
            files.push_back(a);
        }
    }
    if (cl.action == TCommandLine::TAction::Error) return cl;
    if (files.size() > 1) {
        cl.action = TCommandLine::TAction::Error;
        cl.error = "one file at a time";
        return cl;
    }
    if (!files.empty()) {
        cl.file = files.front();
        if (cl.file[0] != '/') {
            std::string dir = currentDir;
            if (!dir.empty() && dir.back() != '/') dir += '/';
            cl.file = dir + cl.file;
        }
    }
    return cl;
}

std::string HelpText() {
    return "Usage: framora [FILE]\n"
           "Cut a stretch of an AVI or MPEG video, picture and sound, into a new AVI file.\n"
           "\n"
           "  FILE           the video to open; when Framora already runs, it opens the file\n"
           "                 and comes to the front, and this start ends\n"
           "  -h, --help     show this help and end\n"
           "  -v, --version  show the version and end\n"
           "\n"
           "Settings and previews are kept in $XDG_DATA_HOME/framora (else\n"
           "~/.local/share/framora) when the program's folder cannot hold them.\n";
}

std::string VersionLine() { return std::string("Framora ") + FRAMORA_VERSION + "\n"; }

}  // namespace app
