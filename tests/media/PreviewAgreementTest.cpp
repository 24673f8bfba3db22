// The preview at a time is FFmpeg's decode of the picture on screen then, and a cut starting
// there begins with that same picture: on program streams whose timestamps start late, whose
// demuxer seeks land past the key picture, with B-frames and open groups, and on real files.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "CutFixtures.h"
#include "MediaDetTestUtil.h"
#include "PictureOracle.h"
#include "SampleFiles.h"
#include "common/Fixtures.h"
#include "media/CutRender.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;

namespace {

constexpr int kW = 64;
constexpr int kH = 48;

struct Tally {
    int grabs = 0;
    int grabsAgree = 0;
    int cuts = 0;
    int cutsAgree = 0;
    int cutsShowGrab = 0;  // the cut starts with the picture the grab showed
    std::string misses;
};

// Grabs and cuts `video` at each time and compares both with FFmpeg's picture on screen then.
// Times past the last picture are grabbed only: a cut starting there has nothing to cut.
void CheckAgreement(const fs::path& video, const std::vector<double>& times, Tally& tally) {
    const auto decode = oracle::DecodeAll(video, kW, kH);
    ASSERT_TRUE(decode.has_value()) << "FFmpeg decodes no picture of " << video;
    mediatest::TempDir dir;
    media::MediaDet det;
    det.put_Filename(video.string());
    const double last = decode->Seconds(decode->ts.size() - 1);
    for (double t : times) {
        SCOPED_TRACE("at " + std::to_string(t) + " s");
        const size_t index = decode->IndexAt(t);
        const fs::path bmp = dir / "grab.bmp";
        det.WriteBitmapBits(t, kW, kH, bmp.string());
        const auto grab = mediatest::LoadBmp24(bmp);
        ASSERT_TRUE(grab.has_value());
        ++tally.grabs;
        if (oracle::IsPicture(*decode, index, *grab, 3.0))
            ++tally.grabsAgree;
        else
            tally.misses += " grab@" + std::to_string(t);
        if (t > last) continue;

        media::CutRequest request;
        request.source = video.string();
        request.start = t;
        request.stop = t;
        request.output = (dir / "cut.avi").string();
        const std::atomic<bool> cancel{false};
        ++tally.cuts;
        try {
            media::RenderCut(request, cancel);
        } catch (const media::MediaError& e) {
            tally.misses += " cut@" + std::to_string(t) + " (" + e.what() + ")";
            continue;
        }
        const auto first = oracle::FirstPicture(request.output, kW, kH);
        ASSERT_TRUE(first.has_value()) << "FFmpeg reads no picture from the cut";
        // The cut re-encodes its pictures, so it is held to a looser likeness.
        if (oracle::IsPicture(*decode, index, *first, 10.0))
            ++tally.cutsAgree;
        else
            tally.misses += " cut@" + std::to_string(t);
        const size_t shown = oracle::Closest(*decode, index, *grab);
        const size_t cut = oracle::Closest(*decode, index, *first);
        if (shown == cut ||
            mediatest::MeanAbsDiff(decode->pictures[shown], decode->pictures[cut]) < 1.0)
            ++tally.cutsShowGrab;
        else
            tally.misses += " grab!=cut@" + std::to_string(t);
    }
}

struct StreamCase {
    const char* name;
    const char* size;
    const char* codec;  // and group structure
    const char* extra;  // sound, timestamp offset
};
void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

class PreviewMatchesCut : public ::testing::TestWithParam<StreamCase> {};

TEST_P(PreviewMatchesCut, AtTenTimes) {
    const StreamCase& c = GetParam();
    const fs::path video = fixtures::Make(
        std::string("agree-") + c.name + ".mpg",
        cutfixtures::Pattern(c.size, "25", 4) + c.extra + " " + c.codec + " -f mpeg");
    ASSERT_FALSE(video.empty());
    // Key pictures at 0.96 s and 1.44 s (groups of 12) or 1 s (25); leading B-frames of open
    // groups just before them; 100 s is past the end.
    const std::vector<double> times{0, 0.5, 0.92, 1, 1.44, 1.88, 2.5, 2.96, 3.9, 100};
    Tally tally;
    CheckAgreement(video, times, tally);
    EXPECT_EQ(tally.grabsAgree, tally.grabs) << tally.misses;
    EXPECT_EQ(tally.cutsAgree, tally.cuts) << tally.misses;
    EXPECT_EQ(tally.cutsShowGrab, tally.cuts) << tally.misses;
}

INSTANTIATE_TEST_SUITE_P(
    ProgramStreams, PreviewMatchesCut,
    ::testing::Values(
        // The shape of the file the fault was found on: large pictures, no sound, groups of 12.
        StreamCase{"Mpeg2Gop12Large", "720x405", "-c:v mpeg2video -q:v 2 -g 12 -bf 0", ""},
        StreamCase{"Mpeg2Gop12LateStart", "320x240", "-c:v mpeg2video -q:v 2 -g 12 -bf 0",
                   "-output_ts_offset 3.3"},
        StreamCase{"Mpeg2Gop25ClosedB", "320x240",
                   "-c:v mpeg2video -q:v 2 -g 25 -bf 2 -flags +cgop -sc_threshold 1000000000", ""},
        StreamCase{"Mpeg2Gop12OpenB", "320x240", "-c:v mpeg2video -q:v 2 -g 12 -bf 2", ""},
        StreamCase{"Mpeg2Gop25OpenBWithSound", "320x240", "-c:v mpeg2video -q:v 2 -g 25 -bf 2",
                   "-f lavfi -i sine=f=330:r=48000:d=4 -c:a mp2"},
        StreamCase{"Mpeg1SystemGop12B", "352x288", "-c:v mpeg1video -q:v 2 -g 12 -bf 2", ""},
        StreamCase{"Mpeg1SystemGop25WithSound", "352x288", "-c:v mpeg1video -q:v 2 -g 25 -bf 0",
                   "-f lavfi -i sine=f=440:r=44100:d=4 -c:a mp2 -output_ts_offset 1.7"}),
    [](const auto& info) { return std::string(info.param.name); });

// One case per real file, so a slow file has the runner's time limit to itself.
class PreviewMatchesCutSample : public ::testing::TestWithParam<fs::path> {};

TEST_P(PreviewMatchesCutSample, FirstPictureSpreadTimesAndPastTheEnd) {
    const fs::path& file = GetParam();
    const auto decode = oracle::DecodeAll(file, kW, kH);
    media::MediaDet det;
    bool opens = true;
    try {
        det.put_Filename(file.string());
    } catch (const media::MediaError&) {
        opens = false;
    }
    // Files FFmpeg shows no picture of are the robustness tests' concern, not this one's.
    if (!decode || !opens) GTEST_SKIP() << "no pictures to compare";
    // The first picture, times spread up to the start of the last one, and past the end.
    const double last = decode->Seconds(decode->ts.size() - 1);
    std::vector<double> times{0};
    for (int k = 1; k < 5; ++k) times.push_back(last * k / 5);
    times.push_back(last);
    times.push_back(last + 5);
    Tally tally;
    CheckAgreement(file, times, tally);
    EXPECT_GT(tally.grabs, 0);
    EXPECT_EQ(tally.grabsAgree, tally.grabs) << tally.misses;
    EXPECT_EQ(tally.cutsAgree, tally.cuts) << tally.misses;
    EXPECT_EQ(tally.cutsShowGrab, tally.cuts) << tally.misses;
}

INSTANTIATE_TEST_SUITE_P(Samples, PreviewMatchesCutSample,
                         ::testing::ValuesIn(samplefiles::Videos()), samplefiles::Name());
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PreviewMatchesCutSample);

}  // namespace
