#pragma once
// One running instance per user and desktop session, and the small protocol a later start uses
// to talk to it.
//
// The running instance holds a lock file in the user's runtime folder (UserRuntimeDir) for its
// whole life and listens on a Unix socket beside it, which only the user can reach. A later
// start connects and sends requests; each is one line:
//
//     request  = verb [ " " argument ] LF
//     verb     = "activate"                  ; bring the running instance's window forward
//              | "open"                      ; the same, and open the file named by the
//                                            ; argument (absolute, UTF-8: FileHandOver.h)
//     argument = bytes; "%", every byte below 0x21 and 0x7F are written as "%" and two
//                upper-case hexadecimal digits; "%00" is not allowed
//
// and each gets one answer line:
//
//     "ok" LF        the request was taken; it is performed on the running instance's UI thread
//     "unknown" LF   not a request this instance knows (an unknown verb, a missing or surplus
//                    argument, a bad escape): nothing is done
//     "busy" LF      too many requests wait to be performed: nothing is done, try again later
//
// A request is at most kMaxInstanceLine bytes with its LF: a longer line ends the connection
// unanswered. One connection carries at most kMaxInstanceRequests requests and is ended when a
// request takes longer than kInstanceIdleMs to arrive; at most kMaxInstanceConnections are open
// at once, and one past that is ended as soon as it is accepted. A new verb is one more
// TInstanceCommand and one more row in the verb table of SingleInstance.cpp.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

enum class TInstanceCommand {
    Activate,  // "activate", no argument
    Open,      // "open", the file's absolute name
};

struct TInstanceMessage {
    TInstanceCommand command = TInstanceCommand::Activate;
    std::string argument;  // decoded; empty for verbs without one
    bool operator==(const TInstanceMessage&) const = default;
};

constexpr std::size_t kMaxInstanceLine = 16384;
constexpr int kMaxInstanceRequests = 16;
constexpr int kMaxInstanceConnections = 8;
constexpr int kInstanceIdleMs = 10000;

// The request line for `message`, with its LF; empty when it would exceed kMaxInstanceLine.
std::string FormatInstanceMessage(const TInstanceMessage& message);
// The request in one line (without its LF); nothing when the line is not a known request.
std::optional<TInstanceMessage> ParseInstanceMessage(std::string_view line);

class TSingleInstance {
public:
    enum class TStart {
        First,        // no other instance: this one runs (and should Listen)
        Signalled,    // the running instance took the message: this start ends
        NotAnswering  // an instance runs but did not take the message within a second
    };

    // What the listener has seen so far, for diagnostics.
    struct TStats {
        int open = 0;          // connections open now
        int accepted = 0;      // connections accepted and kept
        int turnedAway = 0;    // connections ended at once: too many were open
        int acceptErrors = 0;  // failed accepts (out of descriptors, ...)
        int requests = 0;      // requests taken
        int refused = 0;       // lines answered "unknown" or "busy", or too long
    };

    explicit TSingleInstance(std::string name);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // Takes the lock, or sends `message` to the instance that holds it. An instance that is
    // still starting up gets time until it runs its message loop; one that runs it and does
    // not answer within `answerMs` is reported as NotAnswering.
    TStart Start(const TInstanceMessage& message, int answerMs = 1000);
    // Starts listening; `onMessage` runs on the UI thread for each request a later start sends,
    // never inside another call of itself: requests that come while it runs (it may show a
    // dialog) wait until it returns. The instance counts as running (and answering) once the
    // message loop runs.
    bool Listen(std::function<void(const TInstanceMessage&)> onMessage);

    TStats Stats() const;
    // The next `count` accepts fail with `error` as if the system had refused them (EMFILE: the
    // process is out of descriptors), for tests: the sanitizer build cannot run out of them
    // for real, as its own checks need descriptors.
    static void FailAcceptsForTesting(int count, int error);

    // The socket's and the lock's full names.
    const std::string& SocketName() const { return socket_; }
    const std::string& LockName() const { return lock_; }

private:
    struct Impl;
    bool SendMessage(const std::string& line, int timeoutMs);
    std::unique_ptr<Impl> impl_;
    std::string socket_;
    std::string lock_;
};

}  // namespace rt
