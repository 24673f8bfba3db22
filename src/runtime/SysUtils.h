#pragma once
// Where the program lives and keeps its files, and the single-instance check.

#include <functional>
#include <memory>
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

// Opens a file or URL with the desktop's default handler (the shell's "open" verb).
void ShellOpen(const std::string& fileOrUrl);

// One running instance per name: the first start listens; a later one tells it and ends.
class TSingleInstance {
public:
    explicit TSingleInstance(std::string name);
    ~TSingleInstance();
    // True when another instance answered and was sent `message`.
    bool SignalRunning(unsigned message);
    // Starts listening; `onMessage` runs on the UI thread for each message a later start sends.
    bool Listen(std::function<void(unsigned)> onMessage);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string name_;
};

}  // namespace rt
