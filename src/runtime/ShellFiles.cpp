#include "runtime/ShellFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <QMimeType>
#include <QPixmap>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <unordered_map>

namespace rt {

std::function<std::vector<TVolume>()> VolumesProvider;

namespace {

// File systems that hold no user's files: kernel interfaces, containers' layers, automounter
// placeholders and the desktop's virtual shares.
const std::set<std::string, std::less<>> kPseudoFs = {
    "proc",       "sysfs",      "devtmpfs", "devpts",      "cgroup",          "cgroup2",
    "securityfs", "debugfs",    "tracefs",  "configfs",    "fusectl",         "mqueue",
    "hugetlbfs",  "pstore",     "bpf",      "autofs",      "binfmt_misc",     "efivarfs",
    "nsfs",       "rpc_pipefs", "nfsd",     "selinuxfs",   "fuse.gvfsd-fuse", "fuse.portal",
    "fuse.lxcfs", "overlay",    "squashfs", "ramfs-pseudo"};

const std::set<std::string, std::less<>> kRemoteFs = {
    "nfs",   "nfs4",        "cifs",        "smbfs",          "smb3",       "ncpfs",
    "afs",   "9p",          "ceph",        "glusterfs",      "fuse.sshfs", "sshfs",
    "davfs", "fuse.davfs2", "fuse.rclone", "fuse.glusterfs", "lustre"};

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Decodes the mount table's "\ooo" escapes.
std::string Unescape(std::string_view field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            const int v =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (v > 0 && v < 256) {
                out += char(v);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

// Whether `inner` is `outer` or a path below it.
bool Holds(const std::string& outer, const std::string& inner) {
    if (outer == "/") return StartsWith(inner, "/");
    return inner == outer || (StartsWith(inner, outer) && inner[outer.size()] == '/');
}

// A volume folder under one of the removable-media folders (not the folder itself).
bool UnderMediaRoot(const std::string& path, bool& removable) {
    for (const char* root : {"/media/", "/run/media/"})
        if (StartsWith(path, root) && path.size() > std::strlen(root)) {
            removable = true;
            return true;
        }
    removable = false;
    return StartsWith(path, "/mnt/") && path.size() > 5;
}

int TypeOf(const std::string& fsType, bool removable) {
    if (kRemoteFs.count(fsType) != 0 || StartsWith(fsType, "nfs")) return dtRemote;
    if (fsType == "iso9660" || fsType == "udf") return dtCDROM;
    if (fsType == "tmpfs" || fsType == "ramfs") return dtRamDisk;
    return removable ? dtRemovable : dtFixed;
}

std::string LastName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LabelOf(const std::map<std::string, std::string>& labels, const std::string& device) {
    const auto it = labels.find(device);
    return it == labels.end() ? std::string() : it->second;
}

// /dev/disk/by-label: each link's name is a label (with "\x20"-style escapes), its target the
// device.
std::map<std::string, std::string> SystemLabels() {
    std::map<std::string, std::string> labels;
    const char* dir = "/dev/disk/by-label";
    DIR* d = ::opendir(dir);
    if (d == nullptr) return labels;
    while (const dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        const std::string link = std::string(dir) + "/" + e->d_name;
        char resolved[PATH_MAX];
        if (::realpath(link.c_str(), resolved) == nullptr) continue;
        std::string name;
        for (const char* p = e->d_name; *p != 0; ++p) {
            unsigned v = 0;
            if (p[0] == '\\' && p[1] == 'x' && std::sscanf(p + 2, "%2x", &v) == 1 && v != 0) {
                name += char(v);
                p += 3;
            } else {
                name += *p;
            }
        }
        labels[resolved] = name;
    }
    ::closedir(d);
    return labels;
}

std::string ReadWholeFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

QMimeDatabase& MimeDb() {
    static QMimeDatabase db;
    return db;
}

struct TypeInfo {
    std::string comment, icon, generic;
    bool video = false;
};

// Type names by what decides them: the name's last extension (or the whole name without one).
const TypeInfo& FileTypeOf(const std::string& name) {
    static std::unordered_map<std::string, TypeInfo> cache;
    const auto dot = name.find_last_of('.');
    const std::string key = dot == std::string::npos || dot == 0 ? name : name.substr(dot);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    // Keep the cache bounded for folders of many extension-less names.
    if (cache.size() > 4096) cache.clear();
    const QMimeType mime =
        MimeDb().mimeTypeForFile(QString::fromStdString(name), QMimeDatabase::MatchExtension);
    TypeInfo info{mime.comment().toStdString(), mime.iconName().toStdString(),
                  mime.genericIconName().toStdString(), mime.name().startsWith("video/")};
    return cache.emplace(key, std::move(info)).first->second;
}

}  // namespace

std::string DriveTypeText(int type) {
    static const char* const texts[] = {"<unknown>", "<not exists>", "Removable", "Fixed",
                                        "Remote",    "CDROM",        "RAM"};
    return type >= 0 && type <= 6 ? texts[type] : texts[0];
}

std::vector<TMountEntry> ParseMountTable(std::string_view text) {
    std::vector<TMountEntry> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        std::vector<std::string_view> fields;
        std::size_t i = 0;
        while (i < line.size() && fields.size() < 3) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
            const std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
            if (i > start) fields.push_back(line.substr(start, i - start));
        }
        if (fields.size() < 3) continue;
        TMountEntry e{Unescape(fields[0]), TrimPath(Unescape(fields[1])), Unescape(fields[2])};
        if (e.Path.empty() || e.Path[0] != '/') continue;
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<TVolume> VolumesFromMountTable(std::string_view mounts, const std::string& home,
                                           const std::map<std::string, std::string>& labels) {
    const std::vector<TMountEntry> table = ParseMountTable(mounts);
    // The mount now in effect at a path is the last one mounted there.
    auto lastAt = [&](const std::string& path) -> const TMountEntry* {
        const TMountEntry* found = nullptr;
        for (const TMountEntry& e : table)
            if (e.Path == path) found = &e;
        return found;
    };
    // The mount holding a path: the longest mount path above it.
    auto holding = [&](const std::string& path) -> const TMountEntry* {
        const TMountEntry* found = nullptr;
        for (const TMountEntry& e : table)
            if (Holds(e.Path, path) && (found == nullptr || e.Path.size() >= found->Path.size()))
                found = &e;
        return found;
    };

    std::vector<TVolume> out;
    {
        TVolume root;
        root.Path = "/";
        const TMountEntry* m = lastAt("/");
        if (m != nullptr) {
            root.Device = m->Device;
            root.FsType = m->FsType;
        }
        root.DriveType = TypeOf(root.FsType, false);
        // A root file system of a container's layers is still this machine's disk.
        if (root.DriveType == dtRamDisk && root.FsType != "tmpfs" && root.FsType != "ramfs")
            root.DriveType = dtFixed;
        const std::string label = m != nullptr ? LabelOf(labels, m->Device) : std::string();
        root.Name = label.empty() ? "File System" : label;
        out.push_back(std::move(root));
    }
    const std::string homePath = TrimPath(home);
    if (!homePath.empty() && homePath[0] == '/' && homePath != "/") {
        TVolume h;
        h.Path = homePath;
        const TMountEntry* m = holding(homePath);
        if (m != nullptr) {
            h.Device = m->Device;
            h.FsType = m->FsType;
        }
        h.DriveType = TypeOf(h.FsType, false);
        const std::string label =
            m != nullptr && m->Path == homePath ? LabelOf(labels, m->Device) : std::string();
        h.Name = label.empty() ? "Home" : label;
        out.push_back(std::move(h));
    }
    std::set<std::string> seen;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TMountEntry& e = table[i];
        bool removable = false;
        if (!UnderMediaRoot(e.Path, removable)) continue;
        if (kPseudoFs.count(e.FsType) != 0) continue;
        if (e.Path == homePath || !seen.insert(e.Path).second) continue;
        const TMountEntry& now = *lastAt(e.Path);
        if (kPseudoFs.count(now.FsType) != 0) continue;
        TVolume v;
        v.Path = now.Path;
        v.Device = now.Device;
        v.FsType = now.FsType;
        v.DriveType = TypeOf(now.FsType, removable);
        const std::string label = LabelOf(labels, now.Device);
        v.Name = label.empty() ? LastName(now.Path) : label;
        out.push_back(std::move(v));
    }
    return out;
}

std::vector<TVolume> Volumes() {
    if (VolumesProvider) return VolumesProvider();
    const char* home = std::getenv("HOME");
    std::vector<TVolume> volumes = VolumesFromMountTable(
        ReadWholeFile("/proc/self/mounts"), home != nullptr ? home : "", SystemLabels());
    for (TVolume& v : volumes) {
        struct statvfs s {};
        if (::statvfs(v.Path.c_str(), &s) == 0) {
            v.TotalBytes = std::uint64_t(s.f_blocks) * s.f_frsize;
            v.FreeBytes = std::uint64_t(s.f_bavail) * s.f_frsize;
        }
    }
    return volumes;
}

int VolumeOf(const std::vector<TVolume>& volumes, const std::string& path) {
    const std::string p = TrimPath(path);
    int best = -1;
    for (std::size_t i = 0; i < volumes.size(); ++i)
        if (Holds(volumes[i].Path, p) &&
            (best < 0 || volumes[i].Path.size() > volumes[std::size_t(best)].Path.size()))
            best = int(i);
    return best;
}

bool VolumeReadable(const TVolume& volume) {
    DIR* d = ::opendir(volume.Path.c_str());
    if (d == nullptr) return false;
    errno = 0;
    const bool ok = ::readdir(d) != nullptr || errno == 0;
    ::closedir(d);
    return ok;
}

// ---------------------------------------------------------------- folders

std::vector<std::string> SplitMasks(const std::string& masks) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= masks.size()) {
        std::size_t end = masks.find(';', pos);
        if (end == std::string::npos) end = masks.size();
        std::string m = masks.substr(pos, end - pos);
        const auto first = m.find_first_not_of(" \t");
        const auto last = m.find_last_not_of(" \t");
        if (first != std::string::npos) out.push_back(m.substr(first, last - first + 1));
        pos = end + 1;
    }
    return out;
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*" || mask == "*.*") return true;
    return ::fnmatch(mask.c_str(), name.c_str(), 0) == 0;
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

const TFileEntry& FolderType() {
    static const TFileEntry folder = [] {
        TFileEntry f;
        f.IsFolder = true;
        const QMimeType mime = MimeDb().mimeTypeForName("inode/directory");
        f.TypeName = mime.comment().toStdString();
        if (f.TypeName.empty()) f.TypeName = "Folder";
        f.IconName = "folder";
        f.GenericIconName = "folder";
        return f;
    }();
    return folder;
}

TFolderListing ListFolder(const std::string& folder, const std::string& masks) {
    TFolderListing listing;
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) {
        listing.Error = std::strerror(errno);
        return listing;
    }
    const int dfd = ::dirfd(d);
    const std::vector<std::string> maskList = SplitMasks(masks);
    std::vector<TFileEntry> files;
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d);
        if (e == nullptr) {
            if (errno != 0) listing.Error = std::strerror(errno);
            break;
        }
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, 0) != 0 &&
            ::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;  // gone meanwhile
        TFileEntry f;
        f.IsFolder = S_ISDIR(st.st_mode);
        if (!f.IsFolder) {
            bool matched = false;
            for (const std::string& m : maskList)
                if (MatchesMask(name, m)) {
                    matched = true;
                    break;
                }
            if (!matched) continue;
        }
        f.Name = name;
        f.Path = JoinPath(folder, name);
        f.Size = f.IsFolder ? 0 : std::uint64_t(st.st_size);
        f.Modified = st.st_mtime;
        if (::faccessat(dfd, e->d_name, W_OK, AT_EACCESS) != 0) f.Attributes += 'R';
        if (name[0] == '.') f.Attributes += 'H';
        if (f.IsFolder) {
            const TFileEntry& t = FolderType();
            f.TypeName = t.TypeName;
            f.IconName = t.IconName;
            f.GenericIconName = t.GenericIconName;
            listing.Entries.push_back(std::move(f));
        } else {
            const TypeInfo& t = FileTypeOf(name);
            f.TypeName = t.comment;
            f.IconName = t.icon;
            f.GenericIconName = t.generic;
            f.IsVideo = t.video;
            files.push_back(std::move(f));
        }
    }
    ::closedir(d);
    for (TFileEntry& f : files) listing.Entries.push_back(std::move(f));
    return listing;
}

std::vector<TSubFolder> ListSubFolders(const std::string& folder, bool probeChildren) {
    std::vector<TSubFolder> out;
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return out;
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            isDir = ::fstatat(dfd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!isDir) continue;
        TSubFolder s{name, false};
        if (probeChildren) {
            const std::string path = JoinPath(folder, name);
            if (DIR* sub = ::opendir(path.c_str())) {
                const int sfd = ::dirfd(sub);
                while (const dirent* c = ::readdir(sub)) {
                    if (std::strcmp(c->d_name, ".") == 0 || std::strcmp(c->d_name, "..") == 0)
                        continue;
                    bool dir = c->d_type == DT_DIR;
                    if (c->d_type == DT_UNKNOWN || c->d_type == DT_LNK) {
                        struct stat st {};
                        dir = ::fstatat(sfd, c->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
                    }
                    if (dir) {
                        s.HasSubFolders = true;
                        break;
                    }
                }
                ::closedir(sub);
            }
        }
        out.push_back(std::move(s));
    }
    ::closedir(d);
    return out;
}

std::string FormatFileTime(std::time_t t) {
    std::tm tm{};
    if (::localtime_r(&t, &tm) == nullptr) return {};
    char buf[64];
    if (tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0)
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", tm.tm_mon + 1, tm.tm_mday,
                      tm.tm_year + 1900);
    else
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d", tm.tm_mon + 1, tm.tm_mday,
                      tm.tm_year + 1900, tm.tm_hour, tm.tm_min);
    return buf;
}

std::string FormatThousands(std::uint64_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    const int len = int(digits.size());
    for (int i = 0; i < len; ++i) {
        if (i > 0 && (len - i) % 3 == 0) out += ',';
        out += digits[std::size_t(i)];
    }
    return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string TrimPath(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string ParentPath(const std::string& path) {
    const std::string p = TrimPath(path);
    if (p.empty() || p == "/") return {};
    const auto slash = p.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : p.substr(0, slash);
}

bool ThemeIcon(const std::string& name, int size, TColor key, TBitmap& out) {
    if (name.empty() || QIcon::themeName().isEmpty()) return false;
    const QString qname = QString::fromStdString(name);
    if (!QIcon::hasThemeIcon(qname)) return false;
    const QIcon icon = QIcon::fromTheme(qname);
    const QPixmap pixmap = icon.pixmap(size, size);
    if (pixmap.isNull()) return false;
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.width() != size || image.height() != size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    TBitmap bitmap(size, size);
    const std::uint32_t k = ColorToPixel(key);
    for (int y = 0; y < size; ++y) {
        std::uint32_t* dst = bitmap.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const QRgb p = x < image.width() && y < image.height() ? image.pixel(x, y) : 0;
            dst[x] = qAlpha(p) >= 128 ? (p & 0xFFFFFFu) : k;
        }
    }
    bitmap.Transparent = true;
    bitmap.TransparentColor = key;
    out = std::move(bitmap);
    return true;
}

}  // namespace rt
