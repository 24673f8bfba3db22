// The program's single-instance rule with real processes: per user and display, race-free, and
// a second start that finds the first wakes it and ends. Every process started here is killed
// when the test ends, whatever happened.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/ChildProcess.h"
#include "common/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(program_)) << program_;
        fs::permissions(runtime_.path(), fs::perms::owner_all, fs::perm_options::replace);
    }

    // Starts the program on `display` with this test's runtime folder.
    pid_t Launch(const std::string& display) {
        // Everything the child needs is made before fork: the child only calls execve.
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            std::string var = *e;
            for (const char* drop :
                 {"DISPLAY=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR=", "QT_QPA_PLATFORM="})
                if (var.rfind(drop, 0) == 0) var.clear();
            if (!var.empty()) env.push_back(var);
        }
        env.push_back("DISPLAY=" + display);
        env.push_back("XDG_RUNTIME_DIR=" + runtime_.path().string());
        env.push_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (std::string& v : env) envp.push_back(v.data());
        envp.push_back(nullptr);
        std::string path = program_.string();
        char* argv[] = {path.data(), nullptr};
        pid_t pid = ::fork();
        if (pid == 0) {
            ::execve(path.c_str(), argv, envp.data());
            ::_exit(127);
        }
        children_.push_back(std::make_unique<testutil::ChildGuard>(pid));
        return pid;
    }

    fs::path Socket(const std::string& key) const { return runtime_ / ("Framora-" + key); }

    // True once the instance of `key` has listened and runs its message loop.
    bool WaitUntilRunning(const std::string& key) {
        const auto until = Clock::now() + std::chrono::seconds(60);
        while (Clock::now() < until) {
            std::ifstream lock(runtime_ / ("Framora-" + key + ".lock"));
            if (fs::is_socket(Socket(key)) && lock.get() == 'R') return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Waits until only `alive` of the started processes run, or the deadline passes; returns
    // how many have ended with status 0 and how many with something else.
    std::pair<int, int> WaitForEnds(std::size_t alive) {
        const auto until = Clock::now() + std::chrono::seconds(60);
        int clean = 0, other = 0;
        for (;;) {
            std::size_t running = 0;
            for (auto& c : children_) {
                if (c->pid() <= 0) continue;
                int status = 0;
                if (c->TryWait(status))
                    (WIFEXITED(status) && WEXITSTATUS(status) == 0 ? clean : other)++;
                else
                    ++running;
            }
            if (running <= alive || Clock::now() > until) return {clean, other};
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    std::size_t Running() const {
        std::size_t n = 0;
        for (const auto& c : children_)
            if (c->pid() > 0 && ::kill(c->pid(), 0) == 0) ++n;
        return n;
    }

    const fs::path program_ = fs::path(FRAMORA_BINARY_DIR) / "bin" / "framora";
    testutil::TempDir runtime_{"framora-run"};
    std::vector<std::unique_ptr<testutil::ChildGuard>> children_;
};

TEST_F(SingleInstance, SecondStartWakesTheFirstAndEnds) {
    Launch(":91");
    ASSERT_TRUE(WaitUntilRunning("_91"));
    Launch(":91");
    EXPECT_EQ(WaitForEnds(1), std::make_pair(1, 0)) << "the second start did not end cleanly";
    EXPECT_EQ(Running(), 1u) << "the first one ended";
    // The socket is for this user only.
    struct stat st {};
    ASSERT_EQ(::stat(Socket("_91").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

// Starts at the same moment: exactly one stays, the others hand over and end.
TEST_F(SingleInstance, SimultaneousStartsLeaveOne) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        for (int i = 0; i < 3; ++i) Launch(":92");
        EXPECT_EQ(WaitForEnds(1), std::make_pair(2, 0));
        EXPECT_EQ(Running(), 1u);
        EXPECT_TRUE(WaitUntilRunning("_92"));
        for (auto& c : children_) c->Kill();
        children_.clear();
    }
}

TEST_F(SingleInstance, EachDisplayHasItsOwnInstance) {
    Launch(":93");
    Launch(":94");
    EXPECT_TRUE(WaitUntilRunning("_93"));
    EXPECT_TRUE(WaitUntilRunning("_94"));
    EXPECT_EQ(Running(), 2u);
}

// A socket left by an instance that died (nobody listens on it) does not stop the next start.
TEST_F(SingleInstance, SocketOfADeadInstanceIsReplaced) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, Socket("_95").c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    Launch(":95");
    EXPECT_TRUE(WaitUntilRunning("_95"));
    Launch(":95");
    EXPECT_EQ(WaitForEnds(1), std::make_pair(1, 0));
}

// What a running program takes on its socket: only the activation. A message number (16 was
// once the program's close) or a line with no end must leave it running and answering.
TEST_F(SingleInstance, RunningProgramTakesOnlyTheActivation) {
    Launch(":96");
    ASSERT_TRUE(WaitUntilRunning("_96"));
    auto talk = [&](const std::string& text) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, Socket("_96").c_str(), sizeof addr.sun_path - 1);
        std::string answer;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            ::send(fd, text.data(), text.size(), MSG_NOSIGNAL) == ssize_t(text.size())) {
            // Nothing more comes: the program answers what it read and ends the connection.
            ::shutdown(fd, SHUT_WR);
            char c = 0;
            while (::recv(fd, &c, 1, 0) == 1) answer += c;
        }
        ::close(fd);
        return answer;
    };
    EXPECT_EQ(talk("16\n2\n5120\n"), "unknown\nunknown\nunknown\n");
    EXPECT_EQ(talk(std::string(20000, 'x')), "");
    EXPECT_EQ(talk("activate\n"), "ok\n");
    EXPECT_EQ(Running(), 1u);
    // A second start is still answered and ends.
    Launch(":96");
    EXPECT_EQ(WaitForEnds(1), std::make_pair(1, 0));
    EXPECT_EQ(Running(), 1u) << "the first one ended";
}

}  // namespace
