#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CutFixtures.h"
#include "CutProbe.h"
#include "PictureOracle.h"
#include "media/AvHolders.h"
#include "media/CutJob.h"
#include "media/CutSource.h"

namespace fs = std::filesystem;
using media::CutJob;
using media::MediaError;

namespace {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("framora-cut-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// Waits for the end of the cut with a deadline, so a hang fails the test instead of the run.
long Finish(CutJob& job, double deadlineSeconds = 60) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(static_cast<long>(deadlineSeconds * 1000));
    long code = 0;
    while (!job.WaitForCompletion(50, code)) {
        if (std::chrono::steady_clock::now() > until) {
            job.Stop();
            ADD_FAILURE() << "the cut did not finish in " << deadlineSeconds << " s";
            return 0;
        }
    }
    job.Stop();
    return code;
}

struct CutCase {
    const char* name;
    fs::path (*source)();
    double start;
    double end;
    bool hasAudio;
};

class CutMatchesSource : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutMatchesSource, LengthFormatAndFirstFrame) {
    const CutCase& c = GetParam();
    const fs::path source = c.source();
    ASSERT_FALSE(source.empty()) << "fixture could not be made";
    TempDir dir;
    const fs::path out = dir.path() / "cut.avi";

    CutJob job;
    job.Start(source, c.start, c.end, out);
    ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
    EXPECT_EQ(job.ErrorText(), "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"cut.avi"});

    auto sv = cutprobe::Video(source);
    auto ov = cutprobe::Video(out);
    ASSERT_TRUE(sv && ov);
    EXPECT_EQ(ov->codec, sv->codec);
    EXPECT_EQ(ov->width, sv->width);
    EXPECT_EQ(ov->height, sv->height);
    EXPECT_EQ(ov->sar, sv->sar);
    EXPECT_NEAR(ov->fps, sv->fps, 1e-3);
    const double frame = 1.0 / sv->fps;
    const double expected = c.end > c.start ? c.end - c.start : frame;
    EXPECT_NEAR(ov->Length(), expected, frame + 1e-6);

    auto sa = cutprobe::Audio(source);
    auto oa = cutprobe::Audio(out);
    ASSERT_EQ(oa.has_value(), c.hasAudio);
    ASSERT_EQ(sa.has_value(), c.hasAudio);
    if (oa) {
        EXPECT_EQ(oa->codec, "pcm_s16le");
        EXPECT_EQ(oa->sampleRate, sa->sampleRate);
        EXPECT_EQ(oa->channels, sa->channels);
        EXPECT_NEAR(oa->Length(), expected, frame + 1e-6);
    }

    // The first picture is the source's picture on screen at the start (the last one that
    // starts at or before it, as the preview shows), not one of its neighbours.
    const auto decode = oracle::DecodeAll(source, 64, 48);
    const auto first = oracle::FirstPicture(out, 64, 48);
    ASSERT_TRUE(decode && first);
    EXPECT_TRUE(oracle::IsPicture(*decode, decode->IndexAt(c.start), *first, 6.0))
        << "the cut starts with picture "
        << oracle::Closest(*decode, decode->IndexAt(c.start), *first) << ", not "
        << decode->IndexAt(c.start);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, CutMatchesSource,
    ::testing::Values(CutCase{"Mpeg4Mp3Middle", &cutfixtures::Mpeg4Mp3Avi, 2, 4, true},
                      CutCase{"Mpeg4Mp3FromZero", &cutfixtures::Mpeg4Mp3Avi, 0, 1, true},
                      CutCase{"NtscRatePcm", &cutfixtures::NtscPcmAvi, 1, 3, true},
                      CutCase{"VideoOnly", &cutfixtures::VideoOnlyAvi, 1, 3, false},
                      CutCase{"ProgramStream", &cutfixtures::ProgramStream, 2, 4, true},
                      CutCase{"ProgramStreamFromZero", &cutfixtures::ProgramStream, 0, 1, true},
                      CutCase{"StartEqualsEnd", &cutfixtures::Mpeg4Mp3Avi, 3, 3, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CutJobTest, SoundIsTheSourcesSamplesFromTheStart) {
    const fs::path source = cutfixtures::NtscPcmAvi();
    ASSERT_FALSE(source.empty());
    TempDir dir;
    const fs::path out = dir.path() / "cut.avi";
    CutJob job;
    job.Start(source, 2, 3, out);
    ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();

    const std::string all = cutprobe::Capture("ffmpeg -nostdin -v error -i " +
                                              cutprobe::Quote(source) + " -map 0:a -f s16le -");
    const std::string cut = cutprobe::Capture("ffmpeg -nostdin -v error -i " +
                                              cutprobe::Quote(out) + " -map 0:a -f s16le -");
    const size_t bytesPerSecond = 48000 * 2 * 2;
    ASSERT_GE(all.size(), 3 * bytesPerSecond);
    ASSERT_GE(cut.size(), bytesPerSecond);
    EXPECT_TRUE(cut.compare(0, bytesPerSecond, all, 2 * bytesPerSecond, bytesPerSecond) == 0)
        << "the sound is not the source's second 2 to 3 sample for sample";
}

TEST(CutJobTest, GroupsFollowTheSourcesStreams) {
    const fs::path videoOnly = cutfixtures::VideoOnlyAvi();
    ASSERT_FALSE(videoOnly.empty());
    TempDir dir;
    CutJob job;
    job.Start(videoOnly, 0, 1, dir.path() / "v.avi");
    ASSERT_EQ(job.Timeline()->GetGroupCount(), 2);
    EXPECT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
    EXPECT_TRUE(job.Outcome().hasVideo);
    EXPECT_FALSE(job.Outcome().hasSound) << "a sound stream out of nothing";
}

// Failures: the event code says so, the text says why, and nothing is left behind.
class CutFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = cutfixtures::Mpeg4Mp3Avi();
        ASSERT_FALSE(source_.empty());
        out_ = dir_.path() / "out.avi";
        WriteFile(out_, precious_);
    }
    void ExpectUntouched() {
        EXPECT_TRUE(cutprobe::ReadAll(out_) == precious_) << "the older output file was changed";
        EXPECT_EQ(dir_.Names(), std::vector<std::string>{"out.avi"});
    }

    TempDir dir_;
    fs::path source_;
    fs::path out_;
    const std::string precious_ = "an older file that must survive a failed cut";
};

TEST_F(CutFailureTest, DiskFullLeavesTheOldFile) {
    for (std::int64_t limit : {0, 4096, 100000}) {
        SCOPED_TRACE(limit);
        CutJob job;
        job.SetWriteLimitForTesting(limit);
        job.Start(source_, 1, 5, out_);
        EXPECT_EQ(Finish(job), media::EC_ERRORABORT);
        EXPECT_NE(job.ErrorText().find("No space left on device"), std::string::npos)
            << job.ErrorText();
        ExpectUntouched();
    }
}

// A stop asked for at a point of the render (from its progress, never after a delay): the
// render ends as stopped, leaving the older file as it was and nothing else, on a copied and
// on a re-encoded cut.
TEST_F(CutFailureTest, StopLeavesTheOldFile) {
    struct StopCase {
        const char* name;
        int percent;  // stop once this share of the pictures is written; -1: at the commit
    };
    const StopCase stops[] = {{"at once", 0}, {"at 10%", 10}, {"at 50%", 50}, {"at commit", -1}};
    const fs::path longSource = cutfixtures::LongAvi();
    ASSERT_FALSE(longSource.empty());
    for (bool copyable : {true, false}) {
        for (const StopCase& c : stops) {
            SCOPED_TRACE(std::string(c.name) + (copyable ? ", copied" : ", re-encoded"));
            CutJob job;
            bool reached = false;
            job.SetProgressHookForTesting([&](std::int64_t done, std::int64_t planned,
                                              bool committing) {
                const bool now =
                    c.percent < 0 ? committing : planned > 0 && done * 100 >= planned * c.percent;
                if (now && !reached) {
                    reached = true;
                    job.RequestStop();
                }
            });
            if (copyable) {
                job.Start(cutfixtures::CopyableAvi(), 1, 7, out_);
            } else {
                job.Start(longSource, 0, 10, out_);
            }
            EXPECT_EQ(Finish(job), media::EC_USERABORT) << job.ErrorText();
            EXPECT_TRUE(reached);
            EXPECT_FALSE(job.ErrorText().empty());
            ExpectUntouched();
        }
    }
}

// Progress only rises and ends at all the pictures planned, whichever way the cut is made.
TEST(CutProgressTest, RisesToTheWholeCut) {
    const fs::path copyable = cutfixtures::CopyableAvi();
    const fs::path irregular = cutfixtures::LongAvi();
    ASSERT_FALSE(copyable.empty());
    ASSERT_FALSE(irregular.empty());
    struct Case {
        const char* name;
        fs::path source;
        double start, end;
        media::CutPath path;
    } cases[] = {{"copied", copyable, 1, 5, media::CutPath::Copied},
                 {"re-encoded", irregular, 0, 4, media::CutPath::Reencoded}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        CutJob job;
        std::int64_t last = -1, calls = 0, planned = 0;
        bool rose = true;
        job.SetProgressHookForTesting([&](std::int64_t done, std::int64_t plan, bool) {
            rose = rose && done >= last && done <= plan;
            last = done;
            planned = plan;
            ++calls;
        });
        job.Start(c.source, c.start, c.end, dir.path() / "out.avi");
        ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
        EXPECT_TRUE(rose) << "progress went back or past the plan";
        EXPECT_GT(calls, 10);
        EXPECT_EQ(job.Progress().Done(), job.Progress().Planned());
        EXPECT_EQ(planned, std::llround((c.end - c.start) * 25));
        const media::CutOutcome o = job.Outcome();
        EXPECT_EQ(o.path, c.path) << o.whyReencoded;
        EXPECT_EQ(o.copiedPictures + o.encodedPictures, planned);
    }
}

// The whole cut opens its source once, and one demuxer on it, also when the copy is refused
// and the pictures are re-encoded instead.
TEST(CutProgressTest, OneOpenOfTheSourcePerCut) {
    const fs::path irregular = cutfixtures::LongAvi();
    const fs::path copyable = cutfixtures::CopyableAvi();
    ASSERT_FALSE(irregular.empty());
    ASSERT_FALSE(copyable.empty());
    for (const fs::path& source : {copyable, irregular}) {
        SCOPED_TRACE(source);
        TempDir dir;
        const media::SourceOpens before = media::SourceOpensForTesting();
        CutJob job;
        job.Start(source, 1, 3, dir.path() / "out.avi");
        ASSERT_EQ(Finish(job), media::EC_COMPLETE) << job.ErrorText();
        const media::SourceOpens after = media::SourceOpensForTesting();
        EXPECT_EQ(after.files - before.files, 1);
        EXPECT_EQ(after.demuxers - before.demuxers, 1);
    }
}

TEST_F(CutFailureTest, StartBeyondTheSourceIsAnError) {
    CutJob job;
    job.Start(source_, 100, 101, out_);
    EXPECT_EQ(Finish(job), media::EC_ERRORABORT);
    EXPECT_NE(job.ErrorText().find("no picture"), std::string::npos) << job.ErrorText();
    ExpectUntouched();
}

TEST_F(CutFailureTest, UnreadableSourcesAreRefused) {
    const fs::path garbage = dir_.path() / "garbage.avi";
    WriteFile(garbage, std::string(5000, '\x5a'));
    for (const fs::path& bad : {dir_.path() / "missing.avi", garbage}) {
        SCOPED_TRACE(bad);
        CutJob job;
        job.Start(bad, 0, 1, out_);
        EXPECT_EQ(Finish(job), media::EC_ERRORABORT);
        EXPECT_NE(job.ErrorText().find("Cannot open the source file"), std::string::npos)
            << job.ErrorText();
    }
    fs::remove(garbage);
    ExpectUntouched();
}

TEST_F(CutFailureTest, MarksOutOfOrderAreRefused) {
    CutJob job;
    EXPECT_THROW(job.Start(source_, 3, 2, out_), MediaError);
    EXPECT_THROW(CutJob().Start(source_, -1, 2, out_), MediaError);
    ExpectUntouched();
}

TEST(CutOutputTest, UnwritableOrMissingFolderIsAnError) {
    const fs::path source = cutfixtures::Mpeg4Mp3Avi();
    ASSERT_FALSE(source.empty());
    TempDir dir;
    struct Case {
        fs::path out;
        const char* why;
    };
    std::vector<Case> cases{{dir.path() / "no" / "such" / "x.avi", "No such file or directory"}};
    // Root writes through permission bits, so a folder of sysfs stands in for a read-only one.
    if (::geteuid() == 0) {
        cases.push_back({"/sys/kernel/framora-cut.avi", "Permission denied"});
    } else {
        fs::create_directory(dir.path() / "ro");
        fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        cases.push_back({dir.path() / "ro" / "x.avi", "Permission denied"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        CutJob job;
        job.Start(source, 0, 1, c.out);
        EXPECT_EQ(Finish(job), media::EC_ERRORABORT);
        EXPECT_NE(job.ErrorText().find(c.why), std::string::npos) << job.ErrorText();
        EXPECT_FALSE(fs::exists(c.out));
    }
}

// The source itself under another spelling or link is never the output.
TEST(CutOutputTest, OutputThatIsTheSourceIsRefused) {
    const fs::path fixture = cutfixtures::VideoOnlyAvi();
    ASSERT_FALSE(fixture.empty());
    TempDir dir;
    const fs::path source = dir.path() / "src.avi";
    fs::copy_file(fixture, source);
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink(source, dir.path() / "link.avi");
    fs::create_hard_link(source, dir.path() / "hard.avi");
    const std::string before = cutprobe::ReadAll(source);

    const fs::path oldCwd = fs::current_path();
    fs::current_path(dir.path());
    for (const std::string& out : {source.string(), std::string("src.avi"),
                                   std::string("./src.avi"), std::string("sub/../src.avi"),
                                   (dir.path() / "link.avi").string(), std::string("hard.avi")}) {
        SCOPED_TRACE(out);
        CutJob job;
        job.Start("src.avi", 0, 1, out);
        EXPECT_EQ(Finish(job), media::EC_ERRORABORT) << "not refused";
        EXPECT_NE(job.ErrorText().find("is the source file itself"), std::string::npos)
            << job.ErrorText();
    }
    fs::current_path(oldCwd);
    EXPECT_TRUE(cutprobe::ReadAll(source) == before) << "the source was changed";
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"hard.avi", "link.avi", "src.avi", "sub"}));
}

}  // namespace
