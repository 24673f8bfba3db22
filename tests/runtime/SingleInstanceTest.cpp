// Where the single-instance files live, the requests a later start may send, and a listener
// that stays up whatever its peers do.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "runtime/SingleInstance.h"
#include "runtime/SysUtils.h"

namespace fs = std::filesystem;

namespace {

// Sets (or, with nullopt, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
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

// Runs the event loop until `done` holds or ten seconds pass; returns `done()`.
bool PumpUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

TEST(SingleInstanceFiles, LiveInAPrivateFolderNamedWithTheDisplay) {
    testutil::TempDir tmp("framora-rt");
    const fs::path runtime = tmp / "run";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.string());
    ScopedEnv display("DISPLAY", "host:1.0");
    ScopedEnv tmpdir("TMPDIR", tmp.path().string());
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

// Without a runtime folder, the usual name in the temporary folder may already be taken by
// something another user controls. Whatever it is, the instance files go to a folder that only
// this user can enter, and every start finds the same one (else the check would be off).
TEST(SingleInstanceFiles, UsualFolderTakenByOthersIsPassedOver) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> plant;
        bool needsRoot;
    };
    const Case cases[] = {
        {"a folder open to everyone",
         [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::all, fs::perm_options::replace);
         },
         false},
        {"a folder open to the group",
         [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::owner_all | fs::perms::group_all,
                             fs::perm_options::replace);
         },
         false},
        {"another user's private folder",
         [](const fs::path& p) {
             fs::create_directory(p);
             fs::permissions(p, fs::perms::owner_all, fs::perm_options::replace);
             ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
         },
         true},
        {"a link to a private folder",
         [](const fs::path& p) {
             fs::path real = p.string() + "-real";
             fs::create_directory(real);
             fs::permissions(real, fs::perms::owner_all, fs::perm_options::replace);
             fs::create_symlink(real, p);
         },
         false},
        {"a file", [](const fs::path& p) { std::ofstream(p) << "x"; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && ::geteuid() != 0) continue;
        testutil::TempDir tmp("framora-rt");
        ScopedEnv xdg("XDG_RUNTIME_DIR", std::nullopt);
        ScopedEnv tmpdir("TMPDIR", tmp.path().string());
        ScopedEnv display("DISPLAY", ":5");
        const fs::path usual = tmp / ("framora-" + std::to_string(::getuid()));
        c.plant(usual);

        const std::string dir = rt::UserRuntimeDir();
        ASSERT_FALSE(dir.empty());
        EXPECT_NE(fs::path(dir), usual);
        struct stat st {};
        ASSERT_EQ(::lstat(dir.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 077, 0u);
        EXPECT_EQ(rt::UserRuntimeDir(), dir) << "a later start looks elsewhere";

        // The check is on: a second instance finds the first through that folder.
        rt::TSingleInstance first("Framora");
        ASSERT_EQ(first.Start({}), rt::TSingleInstance::TStart::First);
        EXPECT_EQ(fs::path(first.LockName()).parent_path(), fs::path(dir));
        rt::TSingleInstance second("Framora");
        EXPECT_EQ(second.LockName(), first.LockName());
        int fd = ::open(second.LockName().c_str(), O_RDWR);
        ASSERT_GE(fd, 0);
        EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0) << "the first start holds no lock";
        ::close(fd);
    }
}

TEST(InstanceProtocol, RequestsAreOneBoundedLineOfAKnownVerb) {
    const rt::TInstanceMessage activate{rt::TInstanceCommand::Activate, {}};
    EXPECT_EQ(rt::FormatInstanceMessage(activate), "activate\n");
    struct Case {
        std::string line;
        bool known;
    };
    const Case cases[] = {
        {"activate", true},
        {"16", false},  // a bare message number is nothing
        {"5120", false},
        {"", false},
        {"Activate", false},
        {"activate ", false},  // a verb without argument takes none
        {"activate x", false},
        {" activate", false},
        {"activate\r", false},
        {"close", false},
        {std::string("activate\0", 9), false},
        {std::string(rt::kMaxInstanceLine, 'a'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        std::optional<rt::TInstanceMessage> m = rt::ParseInstanceMessage(c.line);
        ASSERT_EQ(m.has_value(), c.known);
        if (m) {
            EXPECT_EQ(*m, activate);
        }
    }
    // A file hand-over: the name escaped, absolute, and read back the same.
    const rt::TInstanceMessage open{rt::TInstanceCommand::Open, "/v/a b%.avi"};
    EXPECT_EQ(rt::FormatInstanceMessage(open), "open /v/a%20b%25.avi\n");
    EXPECT_EQ(rt::ParseInstanceMessage("open /v/a%20b%25.avi"), open);
    for (const char* bad : {"open", "open ", "open v/a.avi", "open /v/a b", "open /v/%00"})
        EXPECT_FALSE(rt::ParseInstanceMessage(bad)) << bad;
}

// The listening side, with raw sockets as peers; the test thread runs the event loop while it
// waits, as the program's UI thread would.
class InstanceListener : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(tmp_.path(), fs::perms::owner_all, fs::perm_options::replace);
        ASSERT_EQ(instance_.Start({}), rt::TSingleInstance::TStart::First);
        ASSERT_TRUE(instance_.Listen([this](const rt::TInstanceMessage& m) {
            ++depth_;
            maxDepth_ = std::max(maxDepth_, depth_);
            received_.push_back(m);
            if (onMessage_) onMessage_();
            --depth_;
        }));
    }
    void TearDown() override {
        for (int fd : clients_) ::close(fd);
    }

    int Connect() {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_GE(fd, 0);
        ConnectSocket(fd);
        clients_.push_back(fd);
        return fd;
    }
    void ConnectSocket(int fd) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, instance_.SocketName().c_str(), sizeof addr.sun_path - 1);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0)
            << std::strerror(errno);
    }
    static void Send(int fd, const std::string& text) {
        ASSERT_EQ(::send(fd, text.data(), text.size(), MSG_NOSIGNAL), ssize_t(text.size()));
    }
    // The next answer line, or "<closed>" when the listener ended the connection first.
    static std::string Answer(int fd) {
        std::string line;
        bool closed = false;
        PumpUntil([&] {
            pollfd p{fd, POLLIN, 0};
            while (::poll(&p, 1, 0) == 1) {
                char c = 0;
                if (::recv(fd, &c, 1, 0) != 1) return closed = true;
                if (c == '\n') return true;
                line += c;
            }
            return false;
        });
        return closed ? "<closed>" : line;
    }

    testutil::TempDir tmp_{"framora-rt"};
    ScopedEnv xdg_{"XDG_RUNTIME_DIR", tmp_.path().string()};
    ScopedEnv display_{"DISPLAY", ":6"};
    rt::TSingleInstance instance_{"Framora"};
    std::vector<rt::TInstanceMessage> received_;
    std::function<void()> onMessage_;
    int depth_ = 0, maxDepth_ = 0;
    std::vector<int> clients_;
};

TEST_F(InstanceListener, OnlyTheActivationIsPerformed) {
    int fd = Connect();
    for (const char* line : {"16", "2", "activate please", "open", "%41ctivate"}) {
        SCOPED_TRACE(line);
        Send(fd, std::string(line) + "\n");
        EXPECT_EQ(Answer(fd), "unknown");
    }
    Send(fd, "activate\n");
    EXPECT_EQ(Answer(fd), "ok");
    ASSERT_TRUE(PumpUntil([&] { return !received_.empty(); }));
    EXPECT_EQ(received_.size(), 1u);
    EXPECT_EQ(received_[0].command, rt::TInstanceCommand::Activate);
}

// The handler shows a dialog (its own event loop); meanwhile the peer that asked hangs up and
// its connection is ended, and another request comes. Nothing of the ended connection is used
// afterwards (the sanitizer build checks), and the other request waits for the dialog.
TEST_F(InstanceListener, HandlerWithADialogOutlivesItsPeer) {
    int first = Connect();
    int second = -1;
    bool sawItGo = false;
    onMessage_ = [&] {
        if (received_.size() != 1) return;
        ::close(first);
        clients_.erase(std::find(clients_.begin(), clients_.end(), first));
        sawItGo = PumpUntil([&] { return instance_.Stats().open == 0; });
        second = Connect();
        Send(second, "activate\n");
        EXPECT_EQ(Answer(second), "ok");
    };
    Send(first, "activate\nactivate\n");
    ASSERT_TRUE(PumpUntil([&] { return received_.size() == 3; }));
    EXPECT_TRUE(sawItGo) << "the connection was not ended while the dialog ran";
    EXPECT_EQ(maxDepth_, 1) << "the handler ran inside itself";
    // The listener goes on.
    int third = Connect();
    Send(third, "activate\n");
    EXPECT_EQ(Answer(third), "ok");
}

TEST_F(InstanceListener, OverLongLineEndsTheConnectionOnly) {
    int fd = Connect();
    Send(fd, std::string(rt::kMaxInstanceLine, 'a'));
    EXPECT_EQ(Answer(fd), "<closed>");
    // A line that fits is fine, even a long one.
    int other = Connect();
    Send(other, std::string(rt::kMaxInstanceLine - 1, 'a') + "\nactivate\n");
    EXPECT_EQ(Answer(other), "unknown");
    EXPECT_EQ(Answer(other), "ok");
    EXPECT_GE(instance_.Stats().refused, 2);
}

TEST_F(InstanceListener, ConnectionsPastTheLimitAreTurnedAway) {
    std::vector<int> idle;
    for (int i = 0; i < rt::kMaxInstanceConnections; ++i) idle.push_back(Connect());
    ASSERT_TRUE(PumpUntil([&] { return instance_.Stats().open == rt::kMaxInstanceConnections; }));
    int extra = Connect();
    EXPECT_EQ(Answer(extra), "<closed>");
    EXPECT_EQ(instance_.Stats().turnedAway, 1);
    // Each of the open ones is still served, and one that ends makes room.
    Send(idle[0], "activate\n");
    EXPECT_EQ(Answer(idle[0]), "ok");
    ::close(idle[1]);
    clients_.erase(std::find(clients_.begin(), clients_.end(), idle[1]));
    ASSERT_TRUE(PumpUntil([&] { return instance_.Stats().open < rt::kMaxInstanceConnections; }));
    int next = Connect();
    Send(next, "activate\n");
    EXPECT_EQ(Answer(next), "ok");
}

// One connection carries a bounded number of requests.
TEST_F(InstanceListener, RequestsPerConnectionAreBounded) {
    int fd = Connect();
    std::string many;
    for (int i = 0; i < rt::kMaxInstanceRequests + 4; ++i) many += "activate\n";
    Send(fd, many);
    for (int i = 0; i < rt::kMaxInstanceRequests; ++i) ASSERT_EQ(Answer(fd), "ok") << i;
    EXPECT_EQ(Answer(fd), "<closed>");
}

// With no descriptor left the connection cannot be accepted; the listener keeps its socket and
// its name, does not spin on the waiting connection, and takes it once accepting works again.
TEST_F(InstanceListener, FailedAcceptsAreSurvived) {
    for (int error : {EMFILE, ENFILE, ENOMEM}) {
        SCOPED_TRACE(std::strerror(error));
        const int before = instance_.Stats().acceptErrors;
        rt::TSingleInstance::FailAcceptsForTesting(3, error);
        int fd = Connect();
        ASSERT_TRUE(PumpUntil([&] { return instance_.Stats().acceptErrors == before + 3; }));
        EXPECT_TRUE(fs::is_socket(instance_.SocketName()));
        Send(fd, "activate\n");
        EXPECT_EQ(Answer(fd), "ok");
    }
    EXPECT_TRUE(PumpUntil([&] { return received_.size() == 3; }));
}

// An instance holds the lock and runs its loop, but never answers on its socket: a second start
// says so after about a second instead of ending silently or waiting for ever.
TEST(SingleInstanceStart, InstanceThatDoesNotAnswerIsReported) {
    testutil::TempDir tmp("framora-rt");
    fs::permissions(tmp.path(), fs::perms::owner_all, fs::perm_options::replace);
    ScopedEnv xdg("XDG_RUNTIME_DIR", tmp.path().string());
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

    EXPECT_EQ(second.Start({}), rt::TSingleInstance::TStart::NotAnswering);
    ::close(server);
    ::close(lock);

    // Once the holder is gone, the next start is the first.
    rt::TSingleInstance third("Framora");
    EXPECT_EQ(third.Start({}), rt::TSingleInstance::TStart::First);
    EXPECT_TRUE(third.Listen([](const rt::TInstanceMessage&) {}));
}

}  // namespace
