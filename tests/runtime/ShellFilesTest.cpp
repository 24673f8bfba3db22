#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/TempDir.h"
#include "runtime/ShellFiles.h"

namespace {

// What a desktop's mount table holds: kernel file systems, a container layer, removable
// media, a network share, a disc, a RAM disk, a mount stacked over another, and a name with a
// blank in the table's escaped form.
const char* kDesktopTable =
    "/dev/sda2 / ext4 rw,relatime 0 0\n"
    "proc /proc proc rw,nosuid 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "/dev/sda3 /home ext4 rw 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
    "/dev/sdb1 /media/ann/My\\040Stick vfat rw 0 0\n"
    "/dev/sr0 /run/media/ann/DISC iso9660 ro 0 0\n"
    "server:/export /mnt/share nfs4 rw 0 0\n"
    "tmpfs /mnt/scratch tmpfs rw 0 0\n"
    "binfmt_misc /mnt/binfmt binfmt_misc rw 0 0\n"
    "/dev/sdc1 /mnt/backup ext4 rw 0 0\n"
    "server:/b /mnt/backup cifs rw 0 0\n"
    "garbage-line\n"
    "/dev/sdd1 relative/path ext4 rw 0 0\n";

TEST(ShellVolumes, MountTableGivesTheVolumesAUserCaresAbout) {
    const auto volumes = rt::VolumesFromMountTable(kDesktopTable, "/home/ann/");
    const std::vector<std::tuple<std::string, std::string, int>> expected = {
        {"File System", "/", rt::dtFixed},
        {"Home", "/home/ann", rt::dtFixed},
        {"My Stick", "/media/ann/My Stick", rt::dtRemovable},
        {"DISC", "/run/media/ann/DISC", rt::dtCDROM},
        {"share", "/mnt/share", rt::dtRemote},
        {"scratch", "/mnt/scratch", rt::dtRamDisk},
        // The mount stacked last is the one in effect.
        {"backup", "/mnt/backup", rt::dtRemote},
    };
    ASSERT_EQ(volumes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(volumes[i].Name, std::get<0>(expected[i])) << i;
        EXPECT_EQ(volumes[i].Path, std::get<1>(expected[i])) << i;
        EXPECT_EQ(volumes[i].DriveType, std::get<2>(expected[i])) << i;
    }
    EXPECT_EQ(volumes[1].Device, "/dev/sda3") << "home lies on the /home mount";
}

TEST(ShellVolumes, LabelsNameVolumesAndTypeTextsFollowTheTable) {
    const auto volumes = rt::VolumesFromMountTable(
        "/dev/sda2 / ext4 rw 0 0\n/dev/sdb1 /media/ann/sdb1 vfat rw 0 0\n", "/home/ann",
        {{"/dev/sdb1", "HOLIDAY"}, {"/dev/sda2", "system"}});
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].Name, "system");
    EXPECT_EQ(volumes[1].Name, "Home") << "home is no mount of its own: no label";
    EXPECT_EQ(volumes[2].Name, "HOLIDAY");

    const std::vector<std::string> texts = {"<unknown>", "<not exists>", "Removable", "Fixed",
                                            "Remote",    "CDROM",        "RAM"};
    for (int t = 0; t < 7; ++t) EXPECT_EQ(rt::DriveTypeText(t), texts[std::size_t(t)]);
    EXPECT_EQ(rt::DriveTypeText(7), "<unknown>");
    EXPECT_EQ(rt::DriveTypeText(-1), "<unknown>");
}

TEST(ShellVolumes, EmptyOrHostileTableStillGivesRootAndHome) {
    for (const char* table : {"", "\n\n\n", "a\\", "x /\\777 proc\n", "\\040 \\040 \\040\n"}) {
        const auto volumes = rt::VolumesFromMountTable(table, "/home/u");
        ASSERT_GE(volumes.size(), 2u) << table;
        EXPECT_EQ(volumes[0].Path, "/");
        EXPECT_EQ(volumes[1].Path, "/home/u");
    }
    // A home of "/" (a service account) is the root volume only.
    EXPECT_EQ(rt::VolumesFromMountTable("/dev/a / ext4 rw 0 0\n", "/").size(), 1u);
}

TEST(ShellVolumes, LongestMountPathHoldsAPath) {
    const auto volumes = rt::VolumesFromMountTable(kDesktopTable, "/home/ann");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/home/ann/Videos/a.avi", "/home/ann"},
        {"/home/ann", "/home/ann"},
        {"/home/annex", "/"},  // a name that merely begins like the mount
        {"/media/ann/My Stick/x", "/media/ann/My Stick"},
        {"/mnt/backup/", "/mnt/backup"},
        {"/usr/bin", "/"},
    };
    for (const auto& [path, volume] : cases) {
        const int i = rt::VolumeOf(volumes, path);
        ASSERT_GE(i, 0) << path;
        EXPECT_EQ(volumes[std::size_t(i)].Path, volume) << path;
    }
    EXPECT_EQ(rt::VolumeOf(volumes, "relative"), -1);
}

TEST(ShellPaths, JoinParentTrimAndFormats) {
    EXPECT_EQ(rt::JoinPath("/", "a"), "/a");
    EXPECT_EQ(rt::JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(rt::ParentPath("/a/b/"), "/a");
    EXPECT_EQ(rt::ParentPath("/a"), "/");
    EXPECT_EQ(rt::ParentPath("/"), "");
    EXPECT_EQ(rt::FormatThousands(0), "0");
    EXPECT_EQ(rt::FormatThousands(999), "999");
    EXPECT_EQ(rt::FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(rt::FormatThousands(100000), "100,000");

    std::tm noon{};
    noon.tm_year = 2024 - 1900;
    noon.tm_mon = 2;
    noon.tm_mday = 7;
    noon.tm_hour = 9;
    noon.tm_min = 5;
    noon.tm_isdst = -1;
    EXPECT_EQ(rt::FormatFileTime(std::mktime(&noon)), "03/07/2024 09:05");
    std::tm midnight = noon;
    midnight.tm_hour = 0;
    midnight.tm_min = 0;
    midnight.tm_isdst = -1;
    EXPECT_EQ(rt::FormatFileTime(std::mktime(&midnight)), "03/07/2024");
}

TEST(ShellPaths, MasksSplitAndMatchWithExactCase) {
    EXPECT_EQ(rt::SplitMasks("*.avi; *.mpg;;*.mpeg"),
              (std::vector<std::string>{"*.avi", "*.mpg", "*.mpeg"}));
    EXPECT_TRUE(rt::SplitMasks("").empty());
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    };
    for (const Case& c : std::vector<Case>{{"clip.avi", "*.avi", true},
                                           {"clip.AVI", "*.avi", false},
                                           {"README", "*.*", true},
                                           {".hidden", "*", true},
                                           {"a.mpeg", "*.mpg", false},
                                           {"take1.avi", "take?.avi", true}})
        EXPECT_EQ(rt::MatchesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

void Touch(const std::filesystem::path& p, std::size_t bytes = 0) {
    std::ofstream(p) << std::string(bytes, 'x');
}

TEST(ShellFolders, ListingGivesFoldersThenMaskedFilesWithTheirDetails) {
    testutil::TempDir dir;
    std::filesystem::create_directory(dir / "Sub");
    std::filesystem::create_directory(dir / ".cache");
    Touch(dir / "clip.avi", 10);
    Touch(dir / "clip.mpg", 20);
    Touch(dir / "notes.txt", 30);
    Touch(dir / ".hidden.avi", 5);
    ::chmod((dir / "clip.mpg").c_str(), 0444);

    const rt::TFolderListing l = rt::ListFolder(dir.path().string(), "*.avi;*.mpg");
    ASSERT_TRUE(l.Error.empty()) << l.Error;
    std::vector<std::string> folders, files;
    bool foldersDone = false;
    for (const rt::TFileEntry& e : l.Entries) {
        if (e.IsFolder) {
            EXPECT_FALSE(foldersDone) << "folders come first";
            folders.push_back(e.Name);
        } else {
            foldersDone = true;
            files.push_back(e.Name);
        }
        EXPECT_EQ(e.Path, (dir / e.Name).string());
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(folders, (std::vector<std::string>{".cache", "Sub"}));
    EXPECT_EQ(files, (std::vector<std::string>{".hidden.avi", "clip.avi", "clip.mpg"}));
    for (const rt::TFileEntry& e : l.Entries) {
        if (e.Name == "clip.mpg") {
            EXPECT_EQ(e.Size, 20u);
            if (::geteuid() != 0) {
                EXPECT_EQ(e.Attributes, "R");
            }
            EXPECT_FALSE(e.TypeName.empty());
            EXPECT_TRUE(e.IsVideo);
        }
        if (e.Name == ".hidden.avi") {
            EXPECT_EQ(e.Attributes, "H");
        }
        if (e.Name == "Sub") {
            EXPECT_EQ(e.Attributes, "");
            EXPECT_EQ(e.TypeName, rt::FolderType().TypeName);
        }
    }
}

TEST(ShellFolders, UnreadableFolderReportsWhy) {
    testutil::TempDir dir;
    const rt::TFolderListing missing = rt::ListFolder((dir / "nope").string(), "*");
    EXPECT_FALSE(missing.Error.empty());
    EXPECT_TRUE(missing.Entries.empty());
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    std::filesystem::create_directory(dir / "locked");
    Touch(dir / "locked" / "a.avi");
    ::chmod((dir / "locked").c_str(), 0);
    const rt::TFolderListing locked = rt::ListFolder((dir / "locked").string(), "*");
    EXPECT_FALSE(locked.Error.empty());
    EXPECT_TRUE(locked.Entries.empty());
}

TEST(ShellFolders, SubFoldersKnowWhetherTheyHaveChildren) {
    testutil::TempDir dir;
    std::filesystem::create_directories(dir / "a" / "inner");
    std::filesystem::create_directory(dir / "b");
    Touch(dir / "b" / "file");
    Touch(dir / "c");
    auto subs = rt::ListSubFolders(dir.path().string(), true);
    std::sort(subs.begin(), subs.end(),
              [](const rt::TSubFolder& x, const rt::TSubFolder& y) { return x.Name < y.Name; });
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0].Name, "a");
    EXPECT_TRUE(subs[0].HasSubFolders);
    EXPECT_EQ(subs[1].Name, "b");
    EXPECT_FALSE(subs[1].HasSubFolders);
}

}  // namespace
