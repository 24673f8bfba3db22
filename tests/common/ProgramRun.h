#pragma once
// Running the program (or any program) as a child for a test: with a changed environment,
// with its output caught, waited for with a deadline, and never left running.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/ChildProcess.h"
#include "common/TempDir.h"

extern char** environ;

namespace testutil {

// Runs a program to its end with `env` added to (and replacing entries of) this process's
// environment; gives its exit status (-1 when killed) and what it wrote to stdout and stderr.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string var = *e;
        bool replaced = false;
        for (const std::string& x : extra)
            if (var.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0) replaced = true;
        if (!replaced) env.push_back(var);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

// Starts `program` with its arguments; stdout and stderr go to the files given (none: kept).
inline pid_t Spawn(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv, const std::filesystem::path& out = {},
                   const std::filesystem::path& err = {}) {
    std::vector<std::string> env = Environment(extraEnv);
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    std::vector<std::string> argStore = args;
    std::vector<char*> argv{path.data()};
    for (std::string& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string outName = out.string(), errName = err.string();
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        if (!outName.empty()) (void)!std::freopen(outName.c_str(), "w", stdout);
        if (!errName.empty()) (void)!std::freopen(errName.c_str(), "w", stderr);
        ::execve(path.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Waits for the child's end within a deadline; -1 when it is still running (it is then killed
// by the guard).
inline int WaitExit(testutil::ChildGuard& child, int seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (!child.TryWait(status)) {
        if (std::chrono::steady_clock::now() > until) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline RunResult RunToEnd(const std::filesystem::path& program,
                          const std::vector<std::string>& args,
                          const std::vector<std::string>& extraEnv) {
    testutil::TempDir tmp("framora-run");
    testutil::ChildGuard child(Spawn(program, args, extraEnv, tmp / "out", tmp / "err"));
    RunResult r;
    r.status = WaitExit(child);
    r.out = ReadAll(tmp / "out");
    r.err = ReadAll(tmp / "err");
    return r;
}

inline bool WaitForFile(const std::filesystem::path& file, int seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        std::error_code ec;
        if (std::filesystem::exists(file, ec)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace testutil
