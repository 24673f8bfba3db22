#include "runtime/SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "runtime/Application.h"
#include "runtime/Classes.h"

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

void ShellOpen(const std::string& target) {
    QUrl url = target.find(':') != std::string::npos && target[0] != '/'
                   ? QUrl(QString::fromStdString(target))
                   : QUrl::fromLocalFile(QString::fromStdString(target));
    QDesktopServices::openUrl(url);
}

struct TSingleInstance::Impl {
    QLocalServer server;
    std::function<void(unsigned)> onMessage;
};

TSingleInstance::TSingleInstance(std::string name)
    : impl_(std::make_unique<Impl>()), name_(std::move(name)) {}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::SignalRunning(unsigned message) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(name_));
    if (!socket.waitForConnected(500)) return false;
    QByteArray data = QByteArray::number(message) + "\n";
    socket.write(data);
    socket.waitForBytesWritten(500);
    // Wait for the running instance to take the message before this process ends.
    socket.waitForReadyRead(500);
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::Listen(std::function<void(unsigned)> onMessage) {
    impl_->onMessage = std::move(onMessage);
    QString name = QString::fromStdString(name_);
    if (!impl_->server.listen(name)) {
        // A socket left by a crashed instance blocks the name: nobody answered on it, so clear it.
        QLocalServer::removeServer(name);
        if (!impl_->server.listen(name)) return false;
    }
    QObject::connect(&impl_->server, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* s = impl_->server.nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QLocalSocket::readyRead, [this, s] {
                while (s->canReadLine()) {
                    bool ok = false;
                    unsigned msg = s->readLine().trimmed().toUInt(&ok);
                    s->write("ok\n");
                    if (ok && impl_->onMessage) GuardedCall([&] { impl_->onMessage(msg); });
                }
            });
        }
    });
    return true;
}

}  // namespace rt
