#pragma once
// The program's command line: framora [FILE], --help, --version.

#include <string>
#include <vector>

namespace app {

struct TCommandLine {
    enum class TAction {
        Run,      // start (with `file` to open when given)
        Help,     // print HelpText() and end
        Version,  // print VersionLine() and end
        Error     // print `error` and the usage line, and end with status 2
    };
    TAction action = TAction::Run;
    // The file to open, made absolute against the current folder.
    std::string file;
    std::string error;
};

// Parses the arguments after the program name. "--" ends the options; a single "-" and any
// other word starting with "-" are unknown options; more than one file is an error.
TCommandLine ParseCommandLine(const std::vector<std::string>& args, const std::string& currentDir);

// The text of --help and the line of --version.
std::string HelpText();
std::string VersionLine();

}  // namespace app
