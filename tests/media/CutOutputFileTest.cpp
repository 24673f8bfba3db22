// What a cut leaves in the target folder when it is killed, replaces a file, writes through a
// link or gets a long name, and which sources it agrees to read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "CutFixtures.h"
#include "CutProbe.h"
#include "base/AtomicFile.h"
#include "common/ChildProcess.h"
#include "common/TempDir.h"
#include "media/AvHolders.h"
#include "media/CutJob.h"
#include "media/CutRender.h"

namespace fs = std::filesystem;
using media::CutJob;
using media::MediaError;

namespace {

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the cut to its end, with a deadline so that a hang fails instead of blocking the run.
long Finish(CutJob& job) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    long code = 0;
    while (!job.WaitForCompletion(50, code)) {
        if (std::chrono::steady_clock::now() > until) {
            job.Stop();
            ADD_FAILURE() << "the cut did not finish";
            return 0;
        }
    }
    job.Stop();
    return code;
}

struct KillCase {
    bool unnamed;
    int signal;
};

class KilledCut : public ::testing::TestWithParam<KillCase> {};

// The process that cuts ends by a signal once 50 pictures are written: the folder holds the
// older file as it was and nothing else.
TEST_P(KilledCut, LeavesOnlyTheOlderFile) {
    const fs::path source = cutfixtures::LongAvi();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-killed");
    const fs::path out = dir / "out.avi";
    std::ofstream(out) << "older output";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    testutil::ChildGuard child(testutil::Fork([&] {
        base::AtomicFile::AllowUnnamedForTesting(GetParam().unnamed);
        CutJob job;
        // The render waits for the signal once it has written part of the file.
        job.SetProgressHookForTesting([&](std::int64_t done, std::int64_t, bool) {
            if (done < 50) return;
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
        });
        job.Start(source, 0, 40, out);
        long code = 0;
        while (!job.WaitForCompletion(100, code)) {
        }
        return 10;  // finished before the signal came
    }));
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the cut did not reach 50 pictures";
    ::close(ready[0]);
    ::kill(child.pid(), GetParam().signal);
    const int status = child.Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the cut ended by itself first: " << status;
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out.avi"});
    EXPECT_EQ(cutprobe::ReadAll(out), "older output");
}

INSTANTIATE_TEST_SUITE_P(Signals, KilledCut,
                         ::testing::Values(KillCase{true, SIGKILL}, KillCase{true, SIGTERM},
                                           KillCase{false, SIGTERM}, KillCase{false, SIGINT},
                                           KillCase{false, SIGHUP}),
                         [](const auto& info) {
                             return std::string(info.param.unnamed ? "Unnamed" : "Named") + "_" +
                                    sigabbrev_np(info.param.signal);
                         });

TEST(CutOutputFile, ReplacingKeepsTheModeAndWritesThroughLinks) {
    const fs::path source = cutfixtures::VideoOnlyAvi();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-replace");
    fs::create_directory(dir / "clips");
    const fs::path real = dir / "clips" / "real.avi";
    std::ofstream(real) << "older";
    ::chmod(real.c_str(), 0600);
    fs::create_symlink("clips/real.avi", dir / "link.avi");

    CutJob job;
    job.Start(source, 1, 2, (dir / "link.avi").string());
    ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
    EXPECT_TRUE(fs::is_symlink(dir / "link.avi")) << "the link was replaced by a file";
    EXPECT_TRUE(cutprobe::Video(real).has_value()) << "the linked file is not the cut";
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(Names(dir / "clips"), std::vector<std::string>{"real.avi"});
}

TEST(CutOutputFile, NamesUpToTheFolderLimitAreWritten) {
    const fs::path source = cutfixtures::VideoOnlyAvi();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-long");
    for (std::size_t length : {241u, 250u, 255u}) {
        SCOPED_TRACE(length);
        const fs::path out = dir / (std::string(length - 4, 'c') + ".avi");
        CutJob job;
        job.Start(source, 1, 1, out.string());
        EXPECT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
        EXPECT_TRUE(cutprobe::Video(out).has_value());
    }
    // One byte more: the error blames the name, not the folder.
    const fs::path tooLong = dir / (std::string(252, 'c') + ".avi");
    CutJob job;
    job.Start(source, 1, 1, tooLong.string());
    EXPECT_EQ(Finish(job), media::EC_ERRORABORT);
    std::string blame = "\"";
    blame.append(tooLong.string()).append("\": File name too long");
    EXPECT_NE(job.ErrorText().find(blame), std::string::npos) << job.ErrorText();
    EXPECT_EQ(Names(dir.path()).size(), 3u);
}

// A folder made read-only while a named unfinished file is written in it: the cut fails, and
// the message names the file it could not remove.
TEST(CutOutputFile, UnremovableUnfinishedFileIsNamed) {
    const fs::path source = cutfixtures::LongAvi();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-readonly");
    testutil::GiveToUnprivileged(dir.path());
    testutil::ChildGuard child(testutil::Fork(
        [&] {
            base::AtomicFile::AllowUnnamedForTesting(false);
            CutJob job;
            // Once pictures are written to the unfinished file, the folder stops taking changes.
            std::string temp;
            job.SetProgressHookForTesting([&](std::int64_t done, std::int64_t, bool) {
                if (done < 1 || !temp.empty()) return;
                if (Names(dir.path()).size() != 1) return;
                temp = (dir / Names(dir.path()).front()).string();
                ::chmod(dir.path().c_str(), 0555);
            });
            job.Start(source, 0, 5, (dir / "out.avi").string());
            long code = 0;
            while (!job.WaitForCompletion(100, code)) {
            }
            if (temp.empty()) return 2;
            if (code != media::EC_ERRORABORT) return 3;
            std::fprintf(stderr, "%s\n", job.ErrorText().c_str());
            return job.ErrorText().find("\"" + temp + "\" could not be removed") ==
                           std::string::npos
                       ? 4
                       : 0;
        },
        true));
    const int status = child.Wait();
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "2: no unfinished file seen, 3: the cut did not fail, 4: the file is not named";
}

// Pipes, devices and folders are refused at once; before, a pipe blocked the cut for good.
TEST(CutSource, OnlyRegularFilesAreRead) {
    testutil::TempDir dir("framora-source");
    ASSERT_EQ(::mkfifo((dir / "pipe.avi").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.avi");
    const struct {
        fs::path source;
        const char* reason;
    } cases[] = {{dir / "pipe.avi", "not a regular file"},
                 {"/dev/zero", "not a regular file"},
                 {dir / "folder.avi", "folder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        for (bool direct : {false, true}) {
            auto attempt = std::async(std::launch::async, [&]() -> std::string {
                try {
                    if (direct) {
                        media::CutRequest request;
                        request.source = c.source;
                        request.start = 0;
                        request.stop = 1;
                        request.output = dir / "out.avi";
                        std::atomic<bool> cancel{false};
                        media::RenderCut(request, cancel);
                    } else {
                        CutJob job;
                        job.Start(c.source, 0, 1, dir / "out.avi");
                        if (Finish(job) != media::EC_COMPLETE) return job.ErrorText();
                    }
                } catch (const MediaError& e) {
                    return e.what();
                }
                return "accepted";
            });
            if (attempt.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
                ADD_FAILURE() << "the cut is still waiting on the source";
                // A writer that comes and goes releases the blocked open.
                int fd = ::open((dir / "pipe.avi").c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
            const std::string text = attempt.get();
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "out.avi"));
}

// A damaged header claiming sound at 1.7 GHz: the cut leaves that sound out instead of writing
// gigabytes of it (before, two seconds came to 13 GB).
TEST(CutSource, ImplausibleSoundIsLeftOut) {
    const fs::path fixture = cutfixtures::NtscPcmAvi();
    ASSERT_FALSE(fixture.empty());
    std::string bytes = cutprobe::ReadAll(fixture);
    // The sound's format chunk follows its stream header: rate at 4 + 4 + 2 + 2 bytes in.
    const std::size_t auds = bytes.find("auds");
    ASSERT_NE(auds, std::string::npos);
    const std::size_t strf = bytes.find("strf", auds);
    ASSERT_NE(strf, std::string::npos);
    const std::uint32_t rate = 1718043204;
    std::memcpy(&bytes[strf + 12], &rate, 4);
    testutil::TempDir dir("framora-rate");
    const fs::path source = dir / "rate.avi";
    std::ofstream(source, std::ios::binary) << bytes;

    CutJob job;
    job.Start(source, 1, 3, dir / "out.avi");
    ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
    EXPECT_LT(fs::file_size(dir / "out.avi"), 10u << 20);
    EXPECT_TRUE(cutprobe::Video(dir / "out.avi").has_value());
    EXPECT_FALSE(cutprobe::Audio(dir / "out.avi").has_value());
}

}  // namespace
