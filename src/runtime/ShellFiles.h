#pragma once
// The file system as the file dialog shows it: the volumes a user cares about ("drives"),
// folder listings with type names, and the desktop's icons for them.
//
// Volumes: "/" first, then the home folder, then every volume mounted under /media, /run/media
// or /mnt, in the mount table's order (pseudo file systems left out). A path belongs to the
// volume with the longest mount path that holds it.

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Graphics.h"

namespace rt {

// Drive types, numbered as the window system numbers them.
enum TDriveType {
    dtUnknown = 0,
    dtNoRootDir = 1,
    dtRemovable = 2,
    dtFixed = 3,
    dtRemote = 4,
    dtCDROM = 5,
    dtRamDisk = 6
};
// "<unknown>", "<not exists>", "Removable", "Fixed", "Remote", "CDROM", "RAM"; "<unknown>"
// outside 0..6.
std::string DriveTypeText(int type);

// One line of the mount table.
struct TMountEntry {
    std::string Device;
    std::string Path;
    std::string FsType;
};

// The lines of /proc/self/mounts ("device path type options dump pass"), with the table's
// octal escapes (\040 for a blank, ...) decoded. Lines with fewer than three fields, or whose
// path is not absolute, are skipped.
std::vector<TMountEntry> ParseMountTable(std::string_view text);

struct TVolume {
    std::string Name;  // the label, else "File System", "Home" or the mount folder's name
    std::string Path;  // the mount path ("/", "/home/user", "/media/user/STICK")
    std::string Device;
    std::string FsType;
    int DriveType = dtFixed;
    std::uint64_t TotalBytes = 0;
    std::uint64_t FreeBytes = 0;
    friend bool operator==(const TVolume&, const TVolume&) = default;
};

// The volumes of a mount table for a user whose home folder is `home` (sizes left at 0).
// labels maps a device to its file system's label.
std::vector<TVolume> VolumesFromMountTable(std::string_view mounts, const std::string& home,
                                           const std::map<std::string, std::string>& labels = {});

// This machine's volumes now, with sizes.
std::vector<TVolume> Volumes();
// Replaces where Volumes() comes from (a test's made-up volumes); empty restores the system.
extern std::function<std::vector<TVolume>()> VolumesProvider;

// Index of the volume holding path (the longest mount path that is path or a folder above
// it), -1 for none.
int VolumeOf(const std::vector<TVolume>& volumes, const std::string& path);
// Whether the volume's folder can still be read (a removed disc, a lost network share: no).
bool VolumeReadable(const TVolume& volume);

// ---------------------------------------------------------------- folders

struct TFileEntry {
    std::string Name;
    std::string Path;  // full path
    bool IsFolder = false;
    std::uint64_t Size = 0;
    std::time_t Modified = 0;
    std::string Attributes;  // "R" not writable by this user, "H" a name beginning with "."
    std::string TypeName;    // the shared MIME database's comment
    std::string IconName;    // the icon theme's name for the type
    std::string GenericIconName;
    bool IsVideo = false;
};

struct TFolderListing {
    std::vector<TFileEntry> Entries;
    // Empty when the folder was read; else why it could not be.
    std::string Error;
};

// The masks of a ";"-separated list (blanks around each trimmed, empty ones dropped).
std::vector<std::string> SplitMasks(const std::string& masks);
// Glob match with exact case; "*" and "*.*" match every name.
bool MatchesMask(const std::string& name, const std::string& mask);

// Every sub-folder of folder (hidden ones included, not "." and ".."), then every other entry
// that matches one of the masks (";"-separated), each once.
TFolderListing ListFolder(const std::string& folder, const std::string& masks);
// Only the sub-folders, and for each whether it holds a sub-folder of its own (has children).
struct TSubFolder {
    std::string Name;
    bool HasSubFolders = false;
};
std::vector<TSubFolder> ListSubFolders(const std::string& folder, bool probeChildren);

// Whether path is a folder (following links).
bool FolderExists(const std::string& path);
// The type name and icon names of the folder type.
const TFileEntry& FolderType();

// "mm/dd/yyyy hh:nn" in local time; only the date at exactly midnight.
std::string FormatFileTime(std::time_t t);
// Decimal with "," every three digits ("1,234,567"; "0").
std::string FormatThousands(std::uint64_t n);

// The joined path of a folder and a name ("/" + "a" is "/a").
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder above path ("/a/b" -> "/a", "/a" -> "/"; "/" -> "").
std::string ParentPath(const std::string& path);
// Without trailing "/" (except "/" itself).
std::string TrimPath(const std::string& path);

// The icon of that name from the desktop's icon theme, size x size, its background the
// transparent colour key; false when there is no theme or it has no such icon.
bool ThemeIcon(const std::string& name, int size, TColor key, TBitmap& out);

}  // namespace rt
