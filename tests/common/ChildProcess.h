#pragma once
// Child processes for tests that kill a process or need another user: a guard that never leaves
// a child running whatever path the test takes, and a fork that can drop root's rights.

#include <grp.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace testutil {

// The user that an unprivileged child runs as when the tests run as root.
constexpr uid_t kNobody = 65534;

// Kills and reaps the child when it goes out of scope, unless Wait reaped it already.
class ChildGuard {
public:
    explicit ChildGuard(pid_t pid = -1) : pid_(pid) {}
    ~ChildGuard() { Kill(); }
    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;

    pid_t pid() const { return pid_; }
    void Reset(pid_t pid) {
        Kill();
        pid_ = pid;
    }
    // Waits for the child's end and returns its wait status.
    int Wait() {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) pid_ = -1;
        return status;
    }
    // True with the wait status once the child has ended; false while it runs.
    bool TryWait(int& status) {
        if (pid_ <= 0) return true;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        pid_ = -1;
        return true;
    }
    void Kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        int status;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_;
};

// Makes `folder` the unprivileged user's when the tests run as root, so a child that drops
// root's rights can work in it.
inline void GiveToUnprivileged(const std::filesystem::path& folder) {
    if (::geteuid() == 0 && ::chown(folder.c_str(), kNobody, kNobody) != 0) std::perror("chown");
}

// Forks a child that runs `body` and ends with its result (without running exit handlers).
// `unprivileged`: a child of root first becomes the unprivileged user, for whom permission
// bits hold.
inline pid_t Fork(const std::function<int()>& body, bool unprivileged = false) {
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid != 0) return pid;
    if (unprivileged && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(120);
    }
    int rc = 121;
    try {
        rc = body();
    } catch (...) {
        rc = 122;
    }
    std::fflush(nullptr);
    ::_exit(rc);
}

}  // namespace testutil
