#include "runtime/SysUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <algorithm>
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

std::string HomeDir() { return QDir::homePath().toStdString(); }

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

// The first private folder of ours in `tmp` whose name starts with `prefix`, by name order.
std::string OwnFolderIn(const std::string& tmp, const std::string& prefix) {
    std::string best;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(tmp, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0 || (!best.empty() && name >= best)) continue;
        if (PrivateDir(tmp + "/" + name)) best = name;
    }
    return best.empty() ? std::string() : tmp + "/" + best;
}

}  // namespace

std::string UserRuntimeDir() {
    if (const char* x = std::getenv("XDG_RUNTIME_DIR");
        x != nullptr && x[0] == '/' && PrivateDir(x))
        return x;
    const char* t = std::getenv("TMPDIR");
    const std::string tmp = t != nullptr && t[0] == '/' ? t : "/tmp";
    const std::string stem = "framora-" + std::to_string(::getuid());
    const std::string dir = tmp + "/" + stem;
    ::mkdir(dir.c_str(), 0700);
    if (PrivateDir(dir)) return dir;
    // The usual name is held by something that is not ours alone (in a shared temporary folder
    // another user can make it first, open to everyone): a folder made with a name nobody could
    // take first serves instead, the same one for every later start.
    const std::string prefix = stem + ".";
    if (std::string own = OwnFolderIn(tmp, prefix); !own.empty()) return own;
    std::string made = tmp + "/" + prefix + "XXXXXX";
    if (::mkdtemp(made.data()) == nullptr) return {};
    // Starts that made one each at the same moment settle on the first by name.
    std::string own = OwnFolderIn(tmp, prefix);
    if (own.empty()) return made;
    if (own != made) ::rmdir(made.c_str());
    return own;
}

}  // namespace rt
