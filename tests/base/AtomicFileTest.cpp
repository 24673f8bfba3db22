#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "common/ChildProcess.h"
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

    // A new file takes the usual mode of new files.
    const mode_t mask = ::umask(022);
    base::WriteFileAtomic(dir_ / "fresh", "x", 1);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir_ / "fresh") & 07777, 0644u);
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
