#include "runtime/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <thread>

#include "runtime/Application.h"
#include "runtime/FileHandOver.h"
#include "runtime/SysUtils.h"

namespace rt {

namespace {

struct Verb {
    std::string_view word;
    TInstanceCommand command;
    bool takesArgument;
};
constexpr Verb kVerbs[] = {
    {"activate", TInstanceCommand::Activate, false},
    {"open", TInstanceCommand::Open, true},
};

// Requests taken but not yet performed; more are answered "busy".
constexpr std::size_t kMaxPending = 32;
// After a failed accept (no descriptor left), the listener rests this long rather than
// spinning on a connection it cannot take; the connection waits in the queue meanwhile.
constexpr int kAcceptRetryMs = 200;

// Accepts that fail on purpose (FailAcceptsForTesting), and with what.
int gFailAccepts = 0;
int gFailAcceptError = 0;

int Accept4(int fd) {
    if (gFailAccepts > 0) {
        --gFailAccepts;
        errno = gFailAcceptError;
        return -1;
    }
    return ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
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

std::string FormatInstanceMessage(const TInstanceMessage& message) {
    // The one request with an argument is a file's, whose rules (absolute, UTF-8, escapes) the
    // hand-over keeps in one place.
    if (message.command == TInstanceCommand::Open) return FormatOpenRequest(message.argument);
    for (const Verb& v : kVerbs) {
        if (v.command != message.command || v.takesArgument) continue;
        return std::string(v.word) + '\n';
    }
    return {};
}

std::optional<TInstanceMessage> ParseInstanceMessage(std::string_view line) {
    if (line.size() + 1 > kMaxInstanceLine) return std::nullopt;
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    for (const Verb& v : kVerbs) {
        if (v.word != word) continue;
        if (!v.takesArgument) {
            if (space != std::string_view::npos) return std::nullopt;
            return TInstanceMessage{v.command, {}};
        }
        if (space == std::string_view::npos) return std::nullopt;
        std::optional<std::string> file = ParseOpenRequest(line);
        if (!file) return std::nullopt;
        return TInstanceMessage{v.command, std::move(*file)};
    }
    return std::nullopt;
}

// The listener works on the descriptors itself: a failed accept must neither close the
// listening socket nor remove its name, and no connection object may be freed while code
// that read from it still runs. Requests are answered as they are read and performed later,
// from the event loop, so a handler that opens a dialog never runs inside a connection's
// read and a connection can go at any time.
struct TSingleInstance::Impl {
    struct Connection {
        int fd = -1;
        QSocketNotifier* notifier = nullptr;  // children of host
        QTimer* idle = nullptr;
        std::string buffer;
        int requests = 0;
    };

    int lockFd = -1;
    int listenFd = -1;
    std::string boundPath;
    struct stat bound {};
    QObject host;
    QSocketNotifier* listener = nullptr;
    std::map<int, std::unique_ptr<Connection>> connections;
    int nextId = 0;
    std::deque<TInstanceMessage> pending;
    bool deliveryPosted = false;
    bool delivering = false;
    std::function<void(const TInstanceMessage&)> onMessage;
    TStats stats;

    ~Impl() {
        for (auto& [id, c] : connections) ::close(c->fd);
        connections.clear();
        // The socket goes before the lock: once the lock is free, a new instance may listen
        // under the same name, and its socket must stay.
        if (listenFd >= 0) {
            struct stat st {};
            if (::lstat(boundPath.c_str(), &st) == 0 && st.st_ino == bound.st_ino &&
                st.st_dev == bound.st_dev)
                ::unlink(boundPath.c_str());
            ::close(listenFd);
        }
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

    bool Bind(const std::string& path) {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (path.size() >= sizeof addr.sun_path) return false;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        // The socket's node takes this mode: only the user may connect.
        (void)::fchmod(fd, 0600);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(fd, kMaxInstanceConnections) != 0 || ::lstat(path.c_str(), &bound) != 0) {
            ::close(fd);
            return false;
        }
        (void)::chmod(path.c_str(), 0600);
        listenFd = fd;
        boundPath = path;
        listener = new QSocketNotifier(fd, QSocketNotifier::Read, &host);
        QObject::connect(listener, &QSocketNotifier::activated, &host, [this] { Accept(); });
        return true;
    }

    void Accept() {
        for (int round = 0; round < kMaxInstanceConnections * 2; ++round) {
            int fd = Accept4(listenFd);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO) continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK) return;
                ++stats.acceptErrors;
                listener->setEnabled(false);
                QTimer::singleShot(kAcceptRetryMs, &host, [this] { listener->setEnabled(true); });
                return;
            }
            if (connections.size() >= std::size_t(kMaxInstanceConnections)) {
                ++stats.turnedAway;
                ::close(fd);
                continue;
            }
            ++stats.accepted;
            const int id = nextId++;
            auto c = std::make_unique<Connection>();
            c->fd = fd;
            c->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &host);
            QObject::connect(c->notifier, &QSocketNotifier::activated, &host,
                             [this, id] { Read(id); });
            c->idle = new QTimer(&host);
            c->idle->setSingleShot(true);
            QObject::connect(c->idle, &QTimer::timeout, &host, [this, id] { Drop(id); });
            c->idle->start(kInstanceIdleMs);
            connections.emplace(id, std::move(c));
        }
    }

    void Read(int id) {
        auto it = connections.find(id);
        if (it == connections.end()) return;
        Connection& c = *it->second;
        char buf[4096];
        for (;;) {
            ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            if (n <= 0) return Drop(id);
            c.buffer.append(buf, std::size_t(n));
            std::size_t start = 0;
            for (std::size_t nl; (nl = c.buffer.find('\n', start)) != std::string::npos;) {
                if (nl - start + 1 > kMaxInstanceLine) {
                    ++stats.refused;
                    return Drop(id);
                }
                const std::string answer =
                    Take(std::string_view(c.buffer).substr(start, nl - start));
                start = nl + 1;
                if (::send(c.fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT) !=
                        ssize_t(answer.size()) ||
                    ++c.requests >= kMaxInstanceRequests)
                    return Drop(id);
                c.idle->start(kInstanceIdleMs);
            }
            c.buffer.erase(0, start);
            if (c.buffer.size() >= kMaxInstanceLine) {
                ++stats.refused;
                return Drop(id);
            }
        }
    }

    // Ends a connection. It may be the one whose notifier or timer called: those go later.
    void Drop(int id) {
        auto it = connections.find(id);
        if (it == connections.end()) return;
        std::unique_ptr<Connection> c = std::move(it->second);
        connections.erase(it);
        c->notifier->setEnabled(false);
        c->notifier->deleteLater();
        c->idle->stop();
        c->idle->deleteLater();
        ::close(c->fd);
    }

    std::string Take(std::string_view line) {
        std::optional<TInstanceMessage> message = ParseInstanceMessage(line);
        if (!message) {
            ++stats.refused;
            return "unknown\n";
        }
        if (pending.size() >= kMaxPending) {
            ++stats.refused;
            return "busy\n";
        }
        ++stats.requests;
        pending.push_back(std::move(*message));
        if (!deliveryPosted) {
            deliveryPosted = true;
            QTimer::singleShot(0, &host, [this] {
                deliveryPosted = false;
                Deliver();
            });
        }
        return "ok\n";
    }

    // Performs the waiting requests one after another; a request that comes while the handler
    // runs a loop of its own is performed by this same call once the handler returns.
    void Deliver() {
        if (delivering) return;
        delivering = true;
        while (!pending.empty()) {
            TInstanceMessage message = std::move(pending.front());
            pending.pop_front();
            if (onMessage) GuardedCall([&] { onMessage(message); });
        }
        delivering = false;
    }
};

TSingleInstance::TSingleInstance(std::string name) : impl_(std::make_unique<Impl>()) {
    std::string dir = UserRuntimeDir();
    if (dir.empty()) return;
    socket_ = dir + "/" + name + "-" + SessionKey();
    lock_ = socket_ + ".lock";
}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::TStart TSingleInstance::Start(const TInstanceMessage& message, int answerMs) {
    // Without a private folder nobody else's socket can be trusted: this instance just runs.
    if (lock_.empty()) return TStart::First;
    impl_->lockFd = ::open(lock_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (impl_->lockFd < 0) return TStart::First;
    if (impl_->TryLock()) return TStart::First;

    const std::string line = FormatInstanceMessage(message);
    using Clock = std::chrono::steady_clock;
    // An instance that is still starting gets this long to reach its message loop.
    const auto startupEnd = Clock::now() + std::chrono::seconds(30);
    Clock::time_point runningSince{};
    for (;;) {
        if (!line.empty() && SendMessage(line, std::min(answerMs, 250))) {
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

bool TSingleInstance::SendMessage(const std::string& line, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socket_));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(line.data(), qint64(line.size()));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The answer says the running instance took the message.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    bool answered = socket.readLine(64).trimmed() == "ok";
    socket.disconnectFromServer();
    return answered;
}

bool TSingleInstance::Listen(std::function<void(const TInstanceMessage&)> onMessage) {
    if (socket_.empty() || impl_->listenFd >= 0) return false;
    impl_->onMessage = std::move(onMessage);
    {
        // A socket left by an instance that died is removed only when nobody answers on it.
        QLocalSocket probe;
        probe.connectToServer(QString::fromStdString(socket_));
        if (probe.waitForConnected(200)) return false;
    }
    struct stat st {};
    if (::lstat(socket_.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) return false;
        ::unlink(socket_.c_str());
    }
    if (!impl_->Bind(socket_)) return false;
    // Runs once the message loop does: from then on this instance answers.
    if (impl_->lockFd >= 0)
        QTimer::singleShot(0, &impl_->host, [this] { impl_->SetState(kRunning); });
    return true;
}

void TSingleInstance::FailAcceptsForTesting(int count, int error) {
    gFailAccepts = count;
    gFailAcceptError = error;
}

TSingleInstance::TStats TSingleInstance::Stats() const {
    TStats s = impl_->stats;
    s.open = int(impl_->connections.size());
    return s;
}

}  // namespace rt
