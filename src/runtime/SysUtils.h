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

// Opens a file or URL with the desktop's default handler (the shell's "open" verb); false when
// the desktop has no program for it or could not start one.
bool ShellOpen(const std::string& fileOrUrl);
// Replaces the desktop's handler for ShellOpen (a test's recorder); empty restores it.
extern std::function<bool(const std::string& fileOrUrl)> ShellOpenHandler;

// One running instance per user, name and desktop session (display). The instance that holds a
// lock file in the user's runtime folder ($XDG_RUNTIME_DIR, else a private folder of its own)
// for its whole life is the first; a later start tells it through a socket beside the lock,
// which only the user can reach.
class TSingleInstance {
public:
    enum class TStart {
        First,        // no other instance: this one runs (and should Listen)
        Signalled,    // the running instance took the message: this start ends
        NotAnswering  // an instance runs but did not take the message within a second
    };

    explicit TSingleInstance(std::string name);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Takes the lock, or sends `message` to the instance that holds it (with `file` given, the
    // request to open that file instead, FileHandOver.h). An instance that is still starting up
    // gets time until it runs its message loop; one that runs it and does not answer within
    // `answerMs` is reported as NotAnswering.
    TStart Start(unsigned message, int answerMs = 1000, const std::string& file = {});
    // Starts listening; `onMessage` runs on the UI thread for each message a later start sends,
    // `onOpen` for each file handed over. The instance counts as running (and answering) once
    // the message loop runs.
    bool Listen(std::function<void(unsigned)> onMessage,
                std::function<void(const std::string&)> onOpen = {});

    // The socket's and the lock's full names.
    const std::string& SocketName() const { return socket_; }
    const std::string& LockName() const { return lock_; }

private:
    struct Impl;
    bool SendLine(const std::string& line, int timeoutMs);
    std::unique_ptr<Impl> impl_;
    std::string socket_;
    std::string lock_;
};

// The folder for per-session files of this user: $XDG_RUNTIME_DIR when it is a folder of ours
// that only we can enter, else a folder of that kind made under the temporary folder; empty
// when neither can be had.
std::string UserRuntimeDir();

}  // namespace rt
