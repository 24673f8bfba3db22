#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "common/ChildProcess.h"
#include "common/DeviceNode.h"
#include "common/FileSizeLimit.h"
#include "common/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode;
}

// Every test runs once with the unnamed temporary the file system offers and once with the
// named one that other file systems need.
class AtomicFileTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { base::AtomicFile::AllowUnnamedForTesting(Unnamed()); }
    void TearDown() override { base::AtomicFile::AllowUnnamedForTesting(true); }
    bool Unnamed() const { return GetParam(); }

    testutil::TempDir dir_{"framora-atomic"};
};

TEST_P(AtomicFileTest, ReplacesInOneStepThroughLinksKeepingTheMode) {
    const fs::path target = dir_ / "settings.ini";
    WriteText(target, "old");
    ::chmod(target.c_str(), 0640);
    {
        base::AtomicFile file(target);
        file.Write("new content", 11);
        // Until the commit the old file is all there is under the name; an unnamed temporary
        // is not in the folder at all.
        EXPECT_EQ(ReadAll(target), "old");
        EXPECT_EQ(Names(dir_.path()).size(), Unnamed() ? 1u : 2u);
        EXPECT_EQ(file.TempName().empty(), Unnamed());
        file.Commit();
    }
    EXPECT_EQ(ReadAll(target), "new content");
    EXPECT_EQ(ModeOf(target) & 07777, 0640u);
    EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"settings.ini"});

    // A chain of links, one relative and one absolute, is written through to the file.
    fs::create_directory(dir_ / "real");
    WriteText(dir_ / "real" / "file.bin", "old");
    ::chmod((dir_ / "real" / "file.bin").c_str(), 0600);
    fs::create_symlink("real/file.bin", dir_ / "link1");
    fs::create_symlink(dir_ / "link1", dir_ / "link2");
    base::WriteFileAtomic(dir_ / "link2", "through", 7);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link1"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link2"));
    EXPECT_EQ(ReadAll(dir_ / "real" / "file.bin"), "through");
    EXPECT_EQ(ModeOf(dir_ / "real" / "file.bin") & 07777, 0600u);
    EXPECT_EQ(Names(dir_ / "real"), std::vector<std::string>{"file.bin"});

    // A link to a file that does not exist yet makes it.
    fs::create_symlink("real/new.bin", dir_ / "dangling");
    base::WriteFileAtomic(dir_ / "dangling", "made", 4);
    EXPECT_EQ(ReadAll(dir_ / "real" / "new.bin"), "made");
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));

    // A new file takes the usual mode of new files.
    const mode_t mask = ::umask(022);
    base::WriteFileAtomic(dir_ / "fresh", "x", 1);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir_ / "fresh") & 07777, 0644u);
}

// What may stand at the output's name. Only a regular file (or nothing) is replaced: another
// user's link in a shared folder could lead to any file of this user's, and a device, a pipe or
// a socket would become a regular file with its mode. Whatever is refused stays as it was and
// nothing is left beside it.
TEST_P(AtomicFileTest, OnlyRegularFilesAndOwnLinksAreReplaced) {
    const fs::path victim = dir_ / "victim.avi";
    struct Kind {
        const char* what;
        std::function<fs::path()> make;  // what is there; returns the name written to
        const char* refusal;             // nullptr: written
        bool needsRoot;
        bool needsDevice = false;
    };
    const Kind kinds[] = {
        {"another user's link in a sticky folder open to all",
         [&] {
             fs::create_directory(dir_ / "shared");
             ::chmod((dir_ / "shared").c_str(), 01777);
             fs::create_symlink(victim, dir_ / "shared" / "cut.avi");
             EXPECT_EQ(::lchown((dir_ / "shared" / "cut.avi").c_str(), testutil::kNobody,
                                testutil::kNobody),
                       0);
             return dir_ / "shared" / "cut.avi";
         },
         "It is a link that another user made in a folder others can write to", true},
        {"one's own link in a sticky folder open to all",
         [&] {
             fs::create_directory(dir_ / "shared");
             ::chmod((dir_ / "shared").c_str(), 01777);
             fs::create_symlink(victim, dir_ / "shared" / "mine.avi");
             return dir_ / "shared" / "mine.avi";
         },
         nullptr, false},
        {"a link to a device",
         [&] {
             fs::create_symlink(testutil::DeviceForLinks(dir_.path()), dir_ / "null.avi");
             return dir_ / "null.avi";
         },
         "It is a device, not a file", false, true},
        {"a device node", [&] { return testutil::DeviceForLinks(dir_.path()); },
         "It is a device, not a file", true, true},
        {"a named pipe",
         [&] {
             EXPECT_EQ(::mkfifo((dir_ / "pipe.avi").c_str(), 0600), 0);
             return dir_ / "pipe.avi";
         },
         "It is a named pipe, not a file", false},
        {"a link to a named pipe",
         [&] {
             EXPECT_EQ(::mkfifo((dir_ / "pipe2").c_str(), 0600), 0);
             fs::create_symlink("pipe2", dir_ / "pipe-link.avi");
             return dir_ / "pipe-link.avi";
         },
         "It is a named pipe, not a file", false},
        {"a socket",
         [&] {
             int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un addr{};
             addr.sun_family = AF_UNIX;
             const std::string name = (dir_ / "sock.avi").string();
             std::strncpy(addr.sun_path, name.c_str(), sizeof addr.sun_path - 1);
             EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
             ::close(fd);
             return dir_ / "sock.avi";
         },
         "It is a socket, not a file", false},
        {"a dangling link",
         [&] {
             fs::create_directory(dir_ / "real");
             fs::create_symlink("real/new.avi", dir_ / "dangling.avi");
             return dir_ / "dangling.avi";
         },
         nullptr, false},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.what);
        if (k.needsRoot && ::geteuid() != 0) continue;
        for (const auto& e : fs::directory_iterator(dir_.path())) fs::remove_all(e.path());
        if (k.needsDevice && testutil::DeviceForLinks(dir_.path()).empty()) continue;
        WriteText(victim, "precious");
        const fs::path name = k.make();
        struct stat before {};
        ASSERT_EQ(::lstat(name.c_str(), &before), 0);
        const std::vector<std::string> namesBefore = Names(dir_.path());
        try {
            base::WriteFileAtomic(name, "new", 3);
            EXPECT_EQ(k.refusal, nullptr) << "written";
        } catch (const base::FileError& e) {
            ASSERT_NE(k.refusal, nullptr) << e.what();
            EXPECT_EQ(e.step(), base::FileError::Refuse);
            EXPECT_EQ(e.reason(), k.refusal);
            EXPECT_EQ(e.file(), name);
            struct stat after {};
            ASSERT_EQ(::lstat(name.c_str(), &after), 0);
            EXPECT_EQ(after.st_mode, before.st_mode) << "changed kind or mode";
            EXPECT_EQ(after.st_ino, before.st_ino) << "replaced";
            EXPECT_EQ(Names(dir_.path()), namesBefore);
        }
        EXPECT_EQ(fs::is_symlink(name), S_ISLNK(before.st_mode)) << "a link was replaced";
        if (k.refusal != nullptr) {
            EXPECT_EQ(ReadAll(victim), "precious");
        }
    }
    // The links that were followed wrote where they lead.
    EXPECT_EQ(ReadAll(dir_ / "real" / "new.avi"), "new");
}

// A dangling link's file is made to learn where it lies; when the new content never comes, it
// goes again.
TEST_P(AtomicFileTest, DanglingLinkLeavesNothingWhenDiscarded) {
    fs::create_directory(dir_ / "real");
    fs::create_symlink("real/new.avi", dir_ / "out.avi");
    {
        base::AtomicFile file(dir_ / "out.avi");
        EXPECT_EQ(file.Target(), (dir_ / "real" / "new.avi").string());
        file.Write("part", 4);
    }
    EXPECT_TRUE(fs::is_empty(dir_ / "real"));
    // And a link into a folder that is not there makes nothing.
    fs::create_symlink("gone/new.avi", dir_ / "nowhere.avi");
    try {
        base::AtomicFile file(dir_ / "nowhere.avi");
        ADD_FAILURE() << "taken";
    } catch (const base::FileError& e) {
        EXPECT_EQ(e.error(), ENOENT);
    }
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

// A file the user may not write to keeps its content; permission bits need a user other than
// root.
TEST_P(AtomicFileTest, ReadOnlyFileIsKept) {
    testutil::GiveToUnprivileged(dir_.path());
    const fs::path target = dir_ / "kept.avi";
    const bool unnamed = Unnamed();
    testutil::ChildGuard child(testutil::Fork(
        [&] {
            base::AtomicFile::AllowUnnamedForTesting(unnamed);
            WriteText(target, "precious");
            ::chmod(target.c_str(), 0444);
            try {
                base::WriteFileAtomic(target, "new", 3);
            } catch (const base::FileError& e) {
                if (e.step() != base::FileError::Refuse || e.error() != EACCES) return 2;
                return ReadAll(target) == "precious" && Names(dir_.path()).size() == 1 ? 0 : 3;
            }
            return 1;
        },
        true));
    const int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced, 2: wrong error, 3: touched";
}

TEST_P(AtomicFileTest, AnyNameTheFolderTakesCanBeWritten) {
    for (std::size_t length = 241; length <= 255; ++length) {
        const std::string name(length, 'n');
        SCOPED_TRACE(length);
        EXPECT_NO_THROW(base::WriteFileAtomic(dir_ / name, "x", 1));
        EXPECT_NO_THROW(base::WriteFileAtomic(dir_ / name, "again", 5)) << "replacing it";
        EXPECT_EQ(ReadAll(dir_ / name), "again");
    }
    // One byte more is the name's fault, and the error says so before anything is written.
    try {
        base::AtomicFile file(dir_ / std::string(256, 'n'));
        ADD_FAILURE() << "a 256-byte name was taken";
    } catch (const base::FileError& e) {
        EXPECT_EQ(e.error(), ENAMETOOLONG);
        EXPECT_EQ(e.file(), dir_ / std::string(256, 'n'));
    }
    EXPECT_EQ(Names(dir_.path()).size(), 15u);
}

TEST_P(AtomicFileTest, FailedWriteOrCommitLeavesOnlyTheOldFile) {
    const fs::path target = dir_ / "keep.bin";
    WriteText(target, "original");
    const std::string big(100000, 'x');
    {
        testutil::FileSizeLimit full(4096);
        try {
            base::WriteFileAtomic(target, big.data(), big.size());
            ADD_FAILURE() << "the write went through";
        } catch (const base::FileError& e) {
            EXPECT_EQ(e.step(), base::FileError::Write);
            EXPECT_EQ(e.error(), EFBIG);
            EXPECT_TRUE(e.leftOver().empty());
        }
    }
    // The target turned into a folder while the new content was written.
    {
        base::AtomicFile file(target);
        file.Write("new", 3);
        fs::remove(target);
        fs::create_directories(target / "inside");
        EXPECT_THROW(file.Commit(), base::FileError);
    }
    EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"keep.bin"});
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_THROW(base::AtomicFile(dir_ / "no" / "folder"), base::FileError);
}

TEST_P(AtomicFileTest, KilledWriterLeavesNothing) {
    // SIGKILL cannot be caught: only an unnamed temporary is safe from it.
    std::vector<int> signals{SIGTERM, SIGINT, SIGHUP};
    if (Unnamed()) signals.push_back(SIGKILL);
    const fs::path target = dir_ / "out.avi";
    WriteText(target, "older output");
    for (int sig : signals) {
        SCOPED_TRACE(strsignal(sig));
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        testutil::ChildGuard child(testutil::Fork([&] {
            base::AtomicFile file(target);
            std::string chunk(65536, 'c');
            file.Write(chunk.data(), chunk.size());
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
            return 0;
        }));
        ::close(ready[1]);
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the writer did not start";
        ::close(ready[0]);
        ::kill(child.pid(), sig);
        const int status = child.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_EQ(Names(dir_.path()), std::vector<std::string>{"out.avi"});
        EXPECT_EQ(ReadAll(target), "older output");
    }
}

INSTANTIATE_TEST_SUITE_P(Temporary, AtomicFileTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

// A named temporary that cannot be removed (its folder became read-only) is named in the error,
// so the user can remove it; permission bits need a user other than root.
TEST(AtomicFileLeftOver, UnremovableTemporaryIsNamed) {
    testutil::TempDir dir("framora-atomic");
    testutil::GiveToUnprivileged(dir.path());
    testutil::ChildGuard child(testutil::Fork(
        [&] {
            base::AtomicFile::AllowUnnamedForTesting(false);
            base::AtomicFile file(dir / "out.avi");
            file.Write("data", 4);
            const std::string temp = file.TempName();
            ::chmod(dir.path().c_str(), 0555);
            try {
                file.Commit();
            } catch (const base::FileError& e) {
                if (e.leftOver() != temp) return 2;
                if (std::string(e.what()).find("\"" + temp + "\" could not be removed") ==
                    std::string::npos)
                    return 3;
                return e.error() == EACCES ? 0 : 4;
            }
            return 1;
        },
        true));
    const int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: committed, 2: wrong name, 3: not in the text, "
                                         "4: wrong error";
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(Names(dir.path()).size(), 1u) << "the unfinished file stays, as the error says";
}

TEST(TempFileName, FitsTheLimitWithoutSplittingCharacters) {
    const std::string suffix = ".0123abcd.part";
    // "é" is two bytes: a cut at an odd length would split one.
    std::string accented;
    while (accented.size() < 300) accented += "\xC3\xA9";
    for (std::size_t length : {1u, 100u, 240u, 241u, 250u, 255u, 300u}) {
        for (const std::string& full : {std::string(300, 'a'), accented}) {
            const std::string name = full.substr(0, length);
            const std::string temp = base::TempFileName(name, suffix, 255);
            EXPECT_LE(temp.size(), 255u) << length;
            EXPECT_EQ(temp.front(), '.');
            EXPECT_EQ(temp.substr(temp.size() - suffix.size()), suffix);
            const std::string kept = temp.substr(1, temp.size() - 1 - suffix.size());
            EXPECT_EQ(name.compare(0, kept.size(), kept), 0) << "not a prefix of the name";
            if (kept.size() < name.size() && full[0] != 'a') {
                EXPECT_EQ(kept.size() % 2, 0u) << "split a character";
            }
        }
    }
}

}  // namespace
