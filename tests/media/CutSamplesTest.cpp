// Cuts of every real-world sample FFmpeg can open: each gives an AVI that ffprobe reads back
// with the expected streams and length, or fails with a readable text and leaves nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "CopyOracle.h"
#include "CutProbe.h"
#include "SampleFiles.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "media/AvHolders.h"
#include "media/CutJob.h"

namespace fs = std::filesystem;

namespace {

class CutSamplesTest : public ::testing::TestWithParam<fs::path> {
protected:
    // How the samples' cuts were made, printed once for the record.
    static inline int copied_ = 0;
    static inline int copiedWithEdges_ = 0;
    static inline int reencoded_ = 0;
    static inline int soundOnly_ = 0;
    static void TearDownTestSuite() {
        if (copied_ + copiedWithEdges_ + reencoded_ + soundOnly_ == 0) return;
        std::printf(
            "samples cut: %d copied whole, %d copied with re-encoded edges, %d re-encoded, "
            "%d without pictures\n",
            copied_, copiedWithEdges_, reencoded_, soundOnly_);
    }
};

double SampleEnd(const fs::path& sample) {
    const std::string probe =
        cutprobe::Capture("ffprobe -v error -show_entries format=duration -of default=nw=1 " +
                          cutprobe::Quote(sample.string()));
    const double duration = std::atof(cutprobe::Field(probe, "duration").c_str());
    return duration > 0 ? std::min(1.0, duration) : 1.0;
}

TEST_P(CutSamplesTest, CutsOrFailsCleanly) {
    const fs::path& sample = GetParam();
    const fs::path dir =
        fs::temp_directory_path() / ("framora-samples-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        const std::string probe = cutprobe::Capture(
            "ffprobe -v error -show_entries format=duration:stream=codec_type -of default=nw=1 " +
            cutprobe::Quote(sample.string()));
        const bool srcVideo = probe.find("codec_type=video") != std::string::npos;
        const bool srcAudio = probe.find("codec_type=audio") != std::string::npos;
        const double end = SampleEnd(sample);
        const fs::path out = dir / (sample.filename().string() + ".avi");

        media::CutJob job;
        long code = 0;
        try {
            job.Start(sample, 0, end, out);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!job.WaitForCompletion(50, code)) {
                if (std::chrono::steady_clock::now() > deadline) {
                    ADD_FAILURE() << "hung";
                    break;
                }
            }
            job.Stop();
        } catch (const media::MediaError& e) {
            EXPECT_GT(std::string(e.what()).size(), 10u);
            EXPECT_FALSE(fs::exists(out));
            std::printf("refused: %s\n", e.what());
            return;
        }
        if (code != media::EC_COMPLETE) {
            EXPECT_EQ(code, media::EC_ERRORABORT);
            EXPECT_FALSE(job.ErrorText().empty());
            EXPECT_FALSE(fs::exists(out));
            std::printf("failed: %s\n", job.ErrorText().c_str());
            return;
        }
        // A stretch past where the sample's pictures and sound really end is taken back there.
        const media::CutOutcome outcome = job.Outcome();
        const double length = outcome.clamped ? outcome.writtenSeconds : end;
        if (outcome.clamped) {
            EXPECT_LT(length, end);
        }
        auto v = cutprobe::Video(out);
        auto a = cutprobe::Audio(out);
        // Streams FFmpeg cannot decode (e.g. DVD navigation, subtitles) are left out, so the
        // output has at most the source's kinds, and at least one of them.
        EXPECT_TRUE(v || a);
        if (v) {
            EXPECT_TRUE(srcVideo);
            EXPECT_GT(v->frames, 0);
            EXPECT_NEAR(v->Length(), length, 1.0 / v->fps + 1e-6);
        }
        if (a) {
            EXPECT_TRUE(srcAudio);
            EXPECT_EQ(a->codec, "pcm_s16le");
            const double frame = v ? 1.0 / v->fps : 0.05;
            EXPECT_NEAR(a->Length(), length, frame + 1e-3);
        }
        fs::remove(out);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// Wherever a sample can be cut at all, the cut that copies puts the same pictures in the same
// places as the one that re-encodes, copied pictures untouched, with the same sound.
TEST_P(CutSamplesTest, CopiedCutMatchesReencodedCut) {
    const fs::path& sample = GetParam();
    testutil::TempDir dir("framora-samples-copy");
    const double end = SampleEnd(sample);
    try {
        std::atomic<bool> cancel{false};
        media::CutRequest probe;
        probe.source = sample.string();
        probe.stop = end;
        probe.copyAllowed = false;
        probe.output = (dir.path() / "probe.avi").string();
        media::RenderCut(probe, cancel);
    } catch (const media::MediaError&) {
        GTEST_SKIP() << "not a cut that can be made at all";
    }
    const copyoracle::Cuts cuts = copyoracle::CheckCopiedCut(sample, 0, end, dir.path());
    const media::CutOutcome& o = cuts.copied;
    if (o.path == media::CutPath::Reencoded && o.encodedPictures == 0) {
        ++soundOnly_;
    } else if (o.path == media::CutPath::Reencoded) {
        ++reencoded_;
        std::printf("re-encoded: %s\n", o.whyReencoded.c_str());
    } else if (o.encodedPictures == 0) {
        ++copied_;
    } else {
        ++copiedWithEdges_;
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, CutSamplesTest, ::testing::ValuesIn(samplefiles::Videos()),
                         samplefiles::Name());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CutSamplesTest);

// Without the samples the cases above do not exist at all: this one says why.
TEST(CutSamples, FolderHoldsVideos) {
    if (std::string why = fixtures::SamplesMissing(); !why.empty()) GTEST_SKIP() << why;
    EXPECT_FALSE(samplefiles::Videos().empty()) << fixtures::SamplesDir();
}

}  // namespace
