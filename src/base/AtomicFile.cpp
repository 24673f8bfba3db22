#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>

namespace base {

namespace {

constexpr const char* kTempSuffix = ".part";

std::atomic<bool> gAllowUnnamed{true};

// Named temporaries that a terminating signal removes. The handler reads only slots whose state
// is kUsed, and a slot's name is written only while its state is kClaimed.
enum SlotState : int { kFree = 0, kClaimed = 1, kUsed = 2 };
struct Slot {
    std::atomic<int> state{kFree};
    int dirFd = -1;
    char name[NAME_MAX + 1] = {};
};
constexpr int kSlotCount = 64;
Slot gSlots[kSlotCount];
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
std::once_flag gHandlersOnce;

extern "C" void RemoveTemporariesAndDie(int sig) {
    for (Slot& s : gSlots)
        if (s.state.load(std::memory_order_acquire) == kUsed) ::unlinkat(s.dirFd, s.name, 0);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    // Delivered with the default action as soon as this handler returns.
    ::raise(sig);
}

// Only signals that would end the process are caught: an ignored SIGHUP (nohup) or a handler
// someone else installed means the process goes on, and its temporaries are still in use.
void InstallHandlers() {
    for (int sig : kSignals) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) != 0) continue;
        if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction act {};
        act.sa_handler = RemoveTemporariesAndDie;
        sigemptyset(&act.sa_mask);
        for (int other : kSignals) sigaddset(&act.sa_mask, other);
        ::sigaction(sig, &act, nullptr);
    }
}

std::string RandomSuffix() {
    static std::mutex mutex;
    static std::mt19937 gen{std::random_device{}()};
    std::lock_guard lock(mutex);
    char buf[16];
    std::snprintf(buf, sizeof buf, ".%08x", static_cast<unsigned>(gen()));
    return buf;
}

std::string ProcPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// Why a target of this kind is not replaced; empty for a regular file.
std::string KindRefusal(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "It is a device, not a file";
    if (S_ISFIFO(mode)) return "It is a named pipe, not a file";
    if (S_ISSOCK(mode)) return "It is a socket, not a file";
    return "It is not a regular file";
}

constexpr const char* kForeignLink =
    "It is a link that another user made in a folder others can write to";

// A link is followed when the user made it (or root did), or when it is the folder owner's in
// a folder nobody else may write to: in a folder others can write to, another user's link may
// lead anywhere, to a file of this user's that would then be replaced.
bool MayFollow(const struct stat& link, const struct stat& folder) {
    const uid_t me = ::geteuid();
    if (link.st_uid == me || link.st_uid == 0) return true;
    const bool shared = (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return !shared && link.st_uid == folder.st_uid;
}

}  // namespace

FileError::FileError(Step step, int error, std::string file, std::string leftOver, std::string why)
    : std::runtime_error((step == Create  ? "Cannot create a file in \""
                          : step == Write ? "Cannot write \""
                                          : "Cannot save \"") +
                         file + "\": " + (why.empty() ? std::strerror(error) : why) +
                         base::LeftOverNote(leftOver)),
      step_(step),
      error_(error),
      file_(std::move(file)),
      leftOver_(std::move(leftOver)),
      why_(std::move(why)) {}

std::string FileError::reason() const { return why_.empty() ? std::strerror(error_) : why_; }

std::string FileError::LeftOverNote() const { return base::LeftOverNote(leftOver_); }

std::string LeftOverNote(const std::string& leftOver) {
    if (leftOver.empty()) return {};
    return " The unfinished file \"" + leftOver + "\" could not be removed; delete it by hand.";
}

std::string TempFileName(const std::string& name, const std::string& suffix, std::size_t limit) {
    std::size_t room = limit > suffix.size() + 1 ? limit - suffix.size() - 1 : 0;
    std::size_t cut = std::min(room, name.size());
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    std::string temp = ".";
    temp.append(name, 0, cut);
    temp += suffix;
    return temp;
}

void AtomicFile::AllowUnnamedForTesting(bool allow) { gAllowUnnamed = allow; }

void AtomicFile::OpenFolder(const std::string& path) {
    target_ = path;
    std::size_t slash = target_.find_last_of('/');
    folder_ = slash == std::string::npos ? std::string(".")
              : slash == 0               ? std::string("/")
                                         : target_.substr(0, slash);
    name_ = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    if (name_.empty() || name_ == "." || name_ == "..")
        throw FileError(FileError::Create, EISDIR, target_, "");
    if (dirFd_ >= 0) ::close(dirFd_);
    dirFd_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0) throw FileError(FileError::Create, errno, folder_, "");
}

// Finds what is replaced: `path` itself, looked at in its folder without following it, or
// where a link there that may be followed leads. Leaves the target's folder open in dirFd_.
void AtomicFile::Resolve(const std::string& path) {
    OpenFolder(path);
    struct stat st {};
    if (::fstatat(dirFd_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return;  // a new file
        throw FileError(FileError::Create, errno, target_, "");
    }
    if (S_ISLNK(st.st_mode)) {
        struct stat folder {};
        if (::fstat(dirFd_, &folder) != 0) throw FileError(FileError::Create, errno, folder_, "");
        if (!MayFollow(st, folder))
            throw FileError(FileError::Refuse, EACCES, target_, "", kForeignLink);
        // The system follows the link, with the protections it applies to links.
        int fd = ::openat(dirFd_, name_.c_str(), O_PATH | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            // It leads to nothing yet: the file it names is made, empty, to learn where it is.
            fd = ::openat(dirFd_, name_.c_str(),
                          O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
            placeholder_ = fd >= 0;
        }
        if (fd < 0) throw FileError(FileError::Create, errno, target_, "");
        // The system's name for the file it opened.
        char real[PATH_MAX];
        ssize_t n = -1;
        if (::fstat(fd, &st) == 0) n = ::readlink(ProcPath(fd).c_str(), real, sizeof real - 1);
        const int err = n < 0 ? errno : ENOENT;
        ::close(fd);
        if (n <= 0 || real[0] != '/') {
            placeholder_ = false;
            throw FileError(FileError::Create, err, target_, "");
        }
        if (placeholder_ && (!S_ISREG(st.st_mode) || st.st_size != 0)) placeholder_ = false;
        const std::string linkName = target_;
        OpenFolder(std::string(real, std::size_t(n)));
        // Still the same file in the folder just opened, else it moved meanwhile.
        struct stat there {};
        if (::fstatat(dirFd_, name_.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
            there.st_dev != st.st_dev || there.st_ino != st.st_ino) {
            placeholder_ = false;
            throw FileError(FileError::Create, EAGAIN, linkName, "");
        }
        targetDev_ = st.st_dev;
        targetIno_ = st.st_ino;
    }
    if (S_ISDIR(st.st_mode)) throw FileError(FileError::Create, EISDIR, target_, "");
    // Refusals name what the caller named, not where a link led.
    if (std::string why = KindRefusal(st.st_mode); !why.empty()) {
        DropPlaceholder();
        throw FileError(FileError::Refuse, EINVAL, path, "", why);
    }
    // A file the user may not write to keeps what it holds.
    if (::faccessat(dirFd_, name_.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM)) {
        int err = errno;
        DropPlaceholder();
        throw FileError(FileError::Refuse, err, path, "");
    }
    targetExisted_ = true;
    targetDev_ = st.st_dev;
    targetIno_ = st.st_ino;
    targetMode_ = st.st_mode & 07777;
    targetUid_ = st.st_uid;
    targetGid_ = st.st_gid;
}

void AtomicFile::DropPlaceholder() noexcept {
    if (!placeholder_) return;
    placeholder_ = false;
    struct stat st {};
    if (::fstatat(dirFd_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_size == 0 && st.st_dev == targetDev_ && st.st_ino == targetIno_)
        ::unlinkat(dirFd_, name_.c_str(), 0);
}

AtomicFile::AtomicFile(const std::string& path) {
    try {
        Resolve(path);
    } catch (...) {
        if (dirFd_ >= 0) {
            DropPlaceholder();
            ::close(dirFd_);
        }
        throw;
    }
    // Known now rather than after the whole file was written.
    long limit = ::fpathconf(dirFd_, _PC_NAME_MAX);
    if (limit > 0 && name_.size() > static_cast<std::size_t>(limit)) {
        DropPlaceholder();
        ::close(dirFd_);
        throw FileError(FileError::Create, ENAMETOOLONG, target_, "");
    }

    // Linking an unnamed file into place goes through its /proc entry.
    if (gAllowUnnamed && ::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::openat(dirFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        // Only a file system without unnamed files is worth a second try with a name.
        if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            int err = errno;
            DropPlaceholder();
            ::close(dirFd_);
            throw FileError(FileError::Create, err, folder_, "");
        }
    }
    if (fd_ < 0) {
        try {
            CreateNamed(name_);
        } catch (...) {
            DropPlaceholder();
            ::close(dirFd_);
            throw;
        }
    }
    if (targetExisted_) {
        // The mode of the regular file replaced. Failing here (a file system without
        // permission bits) keeps the default mode.
        (void)::fchmod(fd_, targetMode_);
        (void)::fchown(fd_, targetUid_, targetGid_);
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
    if (dirFd_ >= 0) ::close(dirFd_);
}

void AtomicFile::CreateNamed(const std::string& stem) {
    long limit = ::fpathconf(dirFd_, _PC_NAME_MAX);
    if (limit <= 0) limit = NAME_MAX;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate =
            TempFileName(stem, RandomSuffix() + kTempSuffix, static_cast<std::size_t>(limit));
        // Registered before it exists, so a signal between the two removes it too.
        temp_ = candidate;
        Register();
        fd_ = ::openat(dirFd_, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) return;
        int err = errno;
        Unregister();
        temp_.clear();
        if (err != EEXIST) throw FileError(FileError::Create, err, folder_, "");
    }
    throw FileError(FileError::Create, EEXIST, folder_, "");
}

void AtomicFile::Register() {
    std::call_once(gHandlersOnce, InstallHandlers);
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = kFree;
        if (!gSlots[i].state.compare_exchange_strong(expected, kClaimed)) continue;
        gSlots[i].dirFd = dirFd_;
        std::snprintf(gSlots[i].name, sizeof gSlots[i].name, "%s", temp_.c_str());
        gSlots[i].state.store(kUsed, std::memory_order_release);
        slot_ = i;
        return;
    }
    // More unfinished files at once than slots: these are still removed on every failure.
}

void AtomicFile::Unregister() noexcept {
    if (slot_ < 0) return;
    gSlots[slot_].state.store(kFree, std::memory_order_release);
    slot_ = -1;
}

std::string AtomicFile::TempName() const {
    if (temp_.empty()) return {};
    return (folder_ == "/" ? folder_ : folder_ + "/") + temp_;
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw FileError(FileError::Write, n < 0 ? errno : ENOSPC, target_, "");
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

// Gives the unnamed file a name: the target's when there was none before, else a temporary
// one that Commit renames over the target. Returns the name given.
std::string AtomicFile::LinkUnnamed(bool toTarget) {
    const std::string proc = ProcPath(fd_);
    if (toTarget) {
        if (::linkat(AT_FDCWD, proc.c_str(), dirFd_, name_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name_;
        if (errno != EEXIST) throw FileError(FileError::Commit, errno, target_, "");
    }
    long limit = ::fpathconf(dirFd_, _PC_NAME_MAX);
    if (limit <= 0) limit = NAME_MAX;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = TempFileName(name_, RandomSuffix() + kTempSuffix, static_cast<std::size_t>(limit));
        Register();
        if (::linkat(AT_FDCWD, proc.c_str(), dirFd_, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return temp_;
        int err = errno;
        Unregister();
        temp_.clear();
        if (err != EEXIST) throw FileError(FileError::Commit, err, target_, "");
    }
    throw FileError(FileError::Commit, EEXIST, target_, "");
}

void AtomicFile::Commit() {
    auto fail = [this](int err) {
        std::string left = Discard();
        throw FileError(FileError::Commit, err, target_, left);
    };
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) fail(errno);

    bool published = false;
    if (temp_.empty()) {
        std::string linked;
        try {
            linked = LinkUnnamed(!targetExisted_);
        } catch (const FileError&) {
            Discard();
            throw;
        }
        published = linked == name_;
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        int err = errno;
        // The name just given to the new file goes again; the old target is untouched.
        if (published) ::unlinkat(dirFd_, name_.c_str(), 0);
        fail(err);
    }
    if (!published && ::renameat(dirFd_, temp_.c_str(), dirFd_, name_.c_str()) != 0) fail(errno);
    Unregister();
    temp_.clear();
    committed_ = true;
    // The rename itself reaches the disk with the folder's entry.
    int dir = ::openat(dirFd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

std::string AtomicFile::Discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!committed_) DropPlaceholder();
    std::string left;
    if (!temp_.empty()) {
        if (::unlinkat(dirFd_, temp_.c_str(), 0) != 0 && errno != ENOENT) left = TempName();
        Unregister();
        temp_.clear();
    }
    return left;
}

void WriteFileAtomic(const std::string& path, const void* data, std::size_t size) {
    AtomicFile file(path);
    file.Write(data, size);
    file.Commit();
}

}  // namespace base
