#include "runtime/SysUtils.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/FileHandOver.h"

namespace rt {

std::string ApplicationFileName() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    buf[n] = 0;
    return buf;
}

std::string UserDataDir(const std::string& name) {
    std::string base;
    if (const char* x = std::getenv("XDG_DATA_HOME"); x != nullptr && x[0] == '/')
        base = x;
    else if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != 0)
        base = std::string(h) + "/.local/share";
    else
        base = "/tmp";
    std::string dir = base + "/" + name;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir + "/";
}

bool IsWritableDir(const std::string& folder) {
    return DirectoryExists(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string GetCurrentDir() {
    char buf[PATH_MAX];
    if (::getcwd(buf, sizeof buf) == nullptr) return {};
    return buf;
}

std::function<bool(const std::string&)> ShellOpenHandler;

bool ShellOpen(const std::string& target) {
    if (ShellOpenHandler) return ShellOpenHandler(target);
    QUrl url = target.find(':') != std::string::npos && target[0] != '/'
                   ? QUrl(QString::fromStdString(target))
                   : QUrl::fromLocalFile(QString::fromStdString(target));
    return QDesktopServices::openUrl(url);
}

namespace {

// A folder for this user's own sockets: a real folder (no link), ours, closed to others.
bool PrivateDir(const std::string& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// The desktop session the instance belongs to: its display, made fit for a file name.
std::string SessionKey() {
    const char* d = std::getenv("DISPLAY");
    if (d == nullptr || d[0] == 0) d = std::getenv("WAYLAND_DISPLAY");
    std::string key = d != nullptr && d[0] != 0 ? d : "none";
    for (char& c : key)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
    return key;
}

// The first byte of the lock file: the instance holding it is starting, or runs its loop.
constexpr char kStarting = 'S';
constexpr char kRunning = 'R';

}  // namespace

std::string UserRuntimeDir() {
    if (const char* x = std::getenv("XDG_RUNTIME_DIR");
        x != nullptr && x[0] == '/' && PrivateDir(x))
        return x;
    const char* t = std::getenv("TMPDIR");
    std::string dir = std::string(t != nullptr && t[0] == '/' ? t : "/tmp") + "/framora-" +
                      std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    return PrivateDir(dir) ? dir : std::string();
}

struct TSingleInstance::Impl {
    int lockFd = -1;
    QLocalServer server;
    std::function<void(unsigned)> onMessage;
    std::function<void(const std::string&)> onOpen;

    ~Impl() {
        // The socket goes before the lock: once the lock is free, a new instance may listen
        // under the same name, and closing the server would remove its socket.
        server.close();
        if (lockFd >= 0) ::close(lockFd);
    }
    bool TryLock() {
        if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) return false;
        SetState(kStarting);
        return true;
    }
    void SetState(char state) const { (void)!::pwrite(lockFd, &state, 1, 0); }
    char State() const {
        char state = 0;
        return ::pread(lockFd, &state, 1, 0) == 1 ? state : 0;
    }
};

TSingleInstance::TSingleInstance(std::string name) : impl_(std::make_unique<Impl>()) {
    std::string dir = UserRuntimeDir();
    if (dir.empty()) return;
    socket_ = dir + "/" + name + "-" + SessionKey();
    lock_ = socket_ + ".lock";
}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::TStart TSingleInstance::Start(unsigned message, int answerMs,
                                               const std::string& file) {
    const std::string line =
        file.empty() ? std::to_string(message) + "\n" : FormatOpenRequest(file);
    // Without a private folder nobody else's socket can be trusted: this instance just runs.
    if (lock_.empty()) return TStart::First;
    impl_->lockFd = ::open(lock_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (impl_->lockFd < 0) return TStart::First;
    if (impl_->TryLock()) return TStart::First;

    using Clock = std::chrono::steady_clock;
    // An instance that is still starting gets this long to reach its message loop.
    const auto startupEnd = Clock::now() + std::chrono::seconds(30);
    Clock::time_point runningSince{};
    for (;;) {
        if (!line.empty() && SendLine(line, std::min(answerMs, 250))) {
            ::close(impl_->lockFd);
            impl_->lockFd = -1;
            return TStart::Signalled;
        }
        // The holder ended meanwhile (or crashed while starting): this start takes over.
        if (impl_->TryLock()) return TStart::First;
        const auto now = Clock::now();
        if (impl_->State() == kRunning) {
            if (runningSince == Clock::time_point{})
                runningSince = now;
            else if (now - runningSince >= std::chrono::milliseconds(answerMs))
                break;
        }
        if (now > startupEnd) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(impl_->lockFd);
    impl_->lockFd = -1;
    return TStart::NotAnswering;
}

bool TSingleInstance::SendLine(const std::string& line, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socket_));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(line.data(), qint64(line.size()));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The answer says the running instance took the message.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    bool answered = socket.readLine().trimmed() == "ok";
    socket.disconnectFromServer();
    return answered;
}

bool TSingleInstance::Listen(std::function<void(unsigned)> onMessage,
                             std::function<void(const std::string&)> onOpen) {
    if (socket_.empty()) return false;
    impl_->onMessage = std::move(onMessage);
    impl_->onOpen = std::move(onOpen);
    QString name = QString::fromStdString(socket_);
    {
        // A socket left by an instance that died is removed only when nobody answers on it.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(200)) return false;
    }
    QLocalServer::removeServer(name);
    impl_->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!impl_->server.listen(name)) return false;
    QObject::connect(&impl_->server, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* s = impl_->server.nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QLocalSocket::readyRead, s, [this, s] {
                // A line longer than any request ends the connection unanswered.
                if (!s->canReadLine() && s->bytesAvailable() >= qint64(kMaxHandOverLine)) {
                    s->abort();
                    return;
                }
                while (s->canReadLine()) {
                    const QByteArray raw = s->readLine();
                    if (raw.size() > qsizetype(kMaxHandOverLine)) {
                        s->abort();
                        return;
                    }
                    const std::string line = raw.chopped(1).toStdString();
                    bool ok = false;
                    const unsigned msg = QByteArray::fromStdString(line).toUInt(&ok);
                    std::optional<std::string> file;
                    if (!ok) file = ParseOpenRequest(line);
                    s->write(ok || file ? "ok\n" : "unknown\n");
                    if (ok && impl_->onMessage) GuardedCall([&] { impl_->onMessage(msg); });
                    if (file && impl_->onOpen) GuardedCall([&] { impl_->onOpen(*file); });
                }
            });
        }
    });
    // Runs once the message loop does: from then on this instance answers.
    if (impl_->lockFd >= 0)
        QTimer::singleShot(0, &impl_->server, [this] { impl_->SetState(kRunning); });
    return true;
}

}  // namespace rt
