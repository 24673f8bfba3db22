// Where the single-instance files live, and a running instance that does not answer.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "common/TempDir.h"
#include "runtime/Messages.h"
#include "runtime/SysUtils.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SingleInstanceFiles, LiveInAPrivateFolderNamedWithTheDisplay) {
    testutil::TempDir tmp("framora-rt");
    const fs::path runtime = tmp / "run";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime);
    ScopedEnv display("DISPLAY", "host:1.0");
    ScopedEnv tmpdir("TMPDIR", tmp.path());
    rt::TSingleInstance a("Framora");
    EXPECT_EQ(a.SocketName(), (runtime / "Framora-host_1.0").string());
    EXPECT_EQ(a.LockName(), a.SocketName() + ".lock");

    // A runtime folder others may enter is not trusted: a folder of our own takes its place.
    fs::permissions(runtime, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
    rt::TSingleInstance b("Framora");
    const fs::path own = tmp / ("framora-" + std::to_string(::getuid()));
    EXPECT_EQ(b.SocketName(), (own / "Framora-host_1.0").string());
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// An instance holds the lock and runs its loop, but never answers on its socket: a second start
// says so after about a second instead of ending silently or waiting for ever.
TEST(SingleInstanceStart, InstanceThatDoesNotAnswerIsReported) {
    testutil::TempDir tmp("framora-rt");
    fs::permissions(tmp.path(), fs::perms::owner_all, fs::perm_options::replace);
    ScopedEnv xdg("XDG_RUNTIME_DIR", tmp.path());
    ScopedEnv display("DISPLAY", ":7");
    rt::TSingleInstance second("Framora");

    int lock = ::open(second.LockName().c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(::write(lock, "R", 1), 1);
    int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, second.SocketName().c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(server, 4), 0);

    EXPECT_EQ(second.Start(rt::WM_ACTIVATEINSTANCE), rt::TSingleInstance::TStart::NotAnswering);
    ::close(server);
    ::close(lock);

    // Once the holder is gone, the next start is the first.
    rt::TSingleInstance third("Framora");
    EXPECT_EQ(third.Start(rt::WM_ACTIVATEINSTANCE), rt::TSingleInstance::TStart::First);
    EXPECT_TRUE(third.Listen([](unsigned) {}));
}

}  // namespace
