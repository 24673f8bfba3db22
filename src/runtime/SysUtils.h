#pragma once
// Where the program lives and keeps its files.

#include <functional>
#include <string>

namespace rt {

// Full path of the running program file.
std::string ApplicationFileName();
// The user's data folder for the program: $XDG_DATA_HOME/<name>, else ~/.local/share/<name>,
// with a trailing separator; created when missing.
std::string UserDataDir(const std::string& name);
// True when the folder exists and this process may create files in it.
bool IsWritableDir(const std::string& folder);
std::string GetCurrentDir();
// The user's home folder, without a trailing separator.
std::string HomeDir();

// Opens a file or URL with the desktop's default handler (the shell's "open" verb); false when
// the desktop has no program for it or could not start one.
bool ShellOpen(const std::string& fileOrUrl);
// Replaces the desktop's handler for ShellOpen (a test's recorder); empty restores it.
extern std::function<bool(const std::string& fileOrUrl)> ShellOpenHandler;

// The folder for per-session files of this user: $XDG_RUNTIME_DIR when it is a folder of ours
// that only we can enter, else a folder of that kind made under the temporary folder; empty
// when neither can be had.
std::string UserRuntimeDir();

}  // namespace rt
