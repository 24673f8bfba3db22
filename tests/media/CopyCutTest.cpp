// Cuts that copy the source's pictures: generated sources of every structure the copy handles,
// with marks on, just before and just after key pictures, at the first and last picture and
// with start equal to end; each cut is compared with the one that re-encodes everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>

#include "CopyOracle.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "media/CutRender.h"

namespace fs = std::filesystem;

namespace {

// A moving test picture with 16-bit PCM sound, `seconds` long at 25 pictures per second.
std::string Clip(int seconds, const std::string& size = "176x144") {
    const std::string d = std::to_string(seconds);
    return "-f lavfi -i testsrc2=s=" + size + ":r=25:d=" + d +
           " -f lavfi -i sine=f=440:r=22050:d=" + d + " -c:a pcm_s16le ";
}

fs::path Source(const std::string& name, const std::string& recipe) {
    return fixtures::Make(name, recipe);
}

fs::path Mpeg4BFrames() {
    return Source("copy_mpeg4_b.avi", Clip(6) + "-c:v mpeg4 -q:v 5 -g 12 -bf 2");
}
fs::path Mpeg4ClosedGop() {
    return Source("copy_mpeg4_cgop.avi",
                  Clip(6) + "-c:v mpeg4 -q:v 5 -g 12 -bf 2 -flags +cgop -sc_threshold 1000000000");
}
fs::path Mpeg4NoBFrames() {
    return Source("copy_mpeg4_p.avi", Clip(6) + "-c:v mpeg4 -q:v 5 -g 12");
}
fs::path Mpeg4AllKey() { return Source("copy_mpeg4_i.avi", Clip(6) + "-c:v mpeg4 -q:v 5 -g 1"); }
fs::path Mpeg4Gop250() {
    return Source("copy_mpeg4_g250.avi",
                  Clip(12, "160x120") + "-c:v mpeg4 -q:v 5 -g 250 -sc_threshold 1000000000");
}
// Key pictures one before the start mark at 2 s, one after the one at 3 s, and one after the
// end mark at 5 s.
fs::path Mpeg4ForcedKeys() {
    return Source("copy_mpeg4_keys.avi",
                  Clip(6) +
                      "-c:v mpeg4 -q:v 5 -g 1000 -sc_threshold 1000000000 "
                      "-force_key_frames 'expr:eq(n,0)+eq(n,49)+eq(n,76)+eq(n,125)'");
}
// Key pictures every second, and every 1.2 seconds.
fs::path H264PyramidKeysOnMarks() {
    return Source("copy_h264_b.avi", Clip(6) + "-c:v libx264 -g 25");
}
fs::path H264Pyramid() { return Source("copy_h264_b30.avi", Clip(6) + "-c:v libx264 -g 30"); }
fs::path H264NoBFrames() { return Source("copy_h264_p.avi", Clip(6) + "-c:v libx264 -g 25 -bf 0"); }
// Quantisers so fine that the edges' finer one would be lossless, which x264 refuses.
fs::path H264NearLossless() {
    return Source("copy_h264_qp4.avi", Clip(6) + "-c:v libx264 -g 30 -qp 4");
}
fs::path H264OpenGop() {
    return Source("copy_h264_open.avi", Clip(6) + "-c:v libx264 -g 25 -x264-params open-gop=1");
}
// The decoder configuration only in the stream header, none in the pictures: the first
// copied picture, after re-encoded ones, must be given the source's.
fs::path Mpeg4HeaderOnlyConfig() {
    return Source("copy_mpeg4_global.avi",
                  Clip(6) + "-c:v mpeg4 -q:v 5 -g 12 -bf 2 -flags +global_header");
}
fs::path H264HeaderOnlyConfig() {
    return Source("copy_h264_global.avi", Clip(6) + "-c:v libx264 -g 30 -flags +global_header");
}
fs::path Mpeg2Avi() {
    return Source("copy_mpeg2.avi", Clip(6) + "-c:v mpeg2video -q:v 5 -g 12 -bf 2");
}
fs::path Mpeg2ProgramStream() {
    return Source("copy_mpeg2.mpg",
                  "-f lavfi -i testsrc2=s=176x144:r=25:d=6 -f lavfi -i sine=f=440:r=48000:d=6 "
                  "-c:v mpeg2video -q:v 5 -g 12 -bf 2 -c:a mp2 -f mpeg");
}
fs::path Mjpeg() { return Source("copy_mjpeg.avi", Clip(6) + "-c:v mjpeg -q:v 5"); }
// Picture 60 is missing: AVI keeps its place empty and players show picture 59 twice.
fs::path DroppedPicture() {
    return Source("copy_dropped.avi", Clip(6) +
                                          "-vf \"select='not(eq(n,60))'\" -fps_mode passthrough "
                                          "-c:v mpeg4 -q:v 5 -g 12");
}

struct CopyCase {
    const char* name;
    fs::path (*source)();
    double start;
    double stop;
    bool copied;
    // Re-encoded pictures when copied (-1: some, as the encoder's structure decides), or a
    // part of the reason when not.
    int encoded;
    const char* why;
};

class CopyCutTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyCutTest, SamePicturesAsReencodingWithCopiedOnesUntouched) {
    const CopyCase& c = GetParam();
    const fs::path source = c.source();
    ASSERT_FALSE(source.empty()) << "fixture could not be made";
    testutil::TempDir dir("framora-copy");
    const copyoracle::Cuts cuts = copyoracle::CheckCopiedCut(source, c.start, c.stop, dir.path());
    const media::CutOutcome& o = cuts.copied;
    EXPECT_EQ(o.path == media::CutPath::Copied, c.copied) << o.whyReencoded;
    if (c.copied) {
        EXPECT_GT(o.copiedPictures, 0);
        if (c.encoded >= 0) {
            EXPECT_EQ(o.encodedPictures, c.encoded);
        } else {
            EXPECT_GT(o.encodedPictures, 0);
        }
    } else {
        EXPECT_NE(o.whyReencoded.find(c.why), std::string::npos) << o.whyReencoded;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, CopyCutTest,
    ::testing::Values(
        CopyCase{"Mpeg4OpenGop", &Mpeg4BFrames, 2, 4, true, -1, ""},
        CopyCase{"Mpeg4OpenGopToLastPicture", &Mpeg4BFrames, 4, 6, true, -1, ""},
        CopyCase{"Mpeg4OpenGopFromFirstPicture", &Mpeg4BFrames, 0, 2, true, -1, ""},
        CopyCase{"Mpeg4ClosedGop", &Mpeg4ClosedGop, 3, 5, true, -1, ""},
        CopyCase{"Mpeg4NoBFrames", &Mpeg4NoBFrames, 2, 4, true, -1, ""},
        CopyCase{"Mpeg4NoBFramesFromFirstPicture", &Mpeg4NoBFrames, 0, 2, true, 0, ""},
        CopyCase{"Mpeg4NoBFramesToLastPicture", &Mpeg4NoBFrames, 4, 6, true, -1, ""},
        CopyCase{"Mpeg4EveryPictureKey", &Mpeg4AllKey, 2, 4, true, 0, ""},
        CopyCase{"Mpeg4EveryPictureKeyOnePicture", &Mpeg4AllKey, 3, 3, true, 0, ""},
        CopyCase{"Mpeg4OnePictureBetweenKeys", &Mpeg4NoBFrames, 3, 3, false, 0,
                 "no key picture between the marks"},
        CopyCase{"Mpeg4Gop250", &Mpeg4Gop250, 9, 11, true, 25, ""},
        CopyCase{"Mpeg4Gop250NoKeyInside", &Mpeg4Gop250, 2, 4, false, 0,
                 "no key picture between the marks"},
        CopyCase{"StartJustAfterKey", &Mpeg4ForcedKeys, 2, 4, true, 26, ""},
        CopyCase{"StartJustBeforeKey", &Mpeg4ForcedKeys, 3, 4, true, 1, ""},
        CopyCase{"EndJustBeforeKey", &Mpeg4ForcedKeys, 3, 5, true, 1, ""},
        CopyCase{"H264Pyramid", &H264Pyramid, 2, 4, true, -1, ""},
        CopyCase{"H264PyramidMarksOnKeys", &H264PyramidKeysOnMarks, 2, 4, true, 0, ""},
        CopyCase{"H264NoBFramesStartOnKey", &H264NoBFrames, 2, 4, true, 0, ""},
        CopyCase{"H264NearLossless", &H264NearLossless, 2, 4, true, -1, ""},
        CopyCase{"H264OpenGopHasNoIdrInside", &H264OpenGop, 2, 4, false, 0,
                 "no key picture between the marks"},
        CopyCase{"Mpeg4ConfigOnlyInHeader", &Mpeg4HeaderOnlyConfig, 2, 4, true, -1, ""},
        CopyCase{"H264ConfigOnlyInHeader", &H264HeaderOnlyConfig, 2, 4, true, -1, ""},
        CopyCase{"Mpeg2Avi", &Mpeg2Avi, 2, 4, true, -1, ""},
        CopyCase{"Mpeg2ProgramStream", &Mpeg2ProgramStream, 2, 4, true, -1, ""},
        CopyCase{"Mjpeg", &Mjpeg, 2, 4, true, 0, ""},
        CopyCase{"DroppedPicture", &DroppedPicture, 2, 4, false, 0, "not regular"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
}

// Edges too far from the source fail the check of the written file: nothing of that file is
// kept, and the cut is made again by re-encoding every picture.
TEST(CopyCheckTest, FailedCheckFallsBackToReencoding) {
    const fs::path source = Mpeg4BFrames();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-copy-check");
    media::CutRequest request;
    request.source = source.string();
    request.start = 2;
    request.stop = 4;
    request.output = (dir.path() / "cut.avi").string();
    request.edgeQuantiserForTesting = 31;
    std::atomic<bool> cancel{false};
    const media::CutOutcome outcome = media::RenderCut(request, cancel);
    EXPECT_EQ(outcome.path, media::CutPath::Reencoded);
    EXPECT_NE(outcome.whyReencoded.find("too far from the source"), std::string::npos)
        << outcome.whyReencoded;
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"cut.avi"});
    EXPECT_EQ(copyoracle::DecodeErrors(dir.path() / "cut.avi"), "");
    EXPECT_EQ(copyoracle::FrameDigests(dir.path() / "cut.avi").size(), 50u);
}

// A real file whose B-frames are packed with the picture before them (which the ffmpeg
// command line cannot make): copied unpacked, one coded picture per packet.
TEST(CopyCheckTest, PackedBFramesAreCopiedUnpacked) {
    std::string why;
    const fs::path sample = fixtures::Sample("fate-suite/packed_bframes.avi", why);
    if (sample.empty()) GTEST_SKIP() << why;
    testutil::TempDir dir("framora-copy-packed");
    const copyoracle::Cuts cuts = copyoracle::CheckCopiedCut(sample, 0, 0.4, dir.path());
    EXPECT_EQ(cuts.copied.path, media::CutPath::Copied) << cuts.copied.whyReencoded;
    EXPECT_EQ(cuts.copied.copiedPictures, 12);
    // Every packet of the copy holds one picture: no placeholder packets are left.
    const std::string sizes = cutprobe::Capture(
        "ffprobe -v error -select_streams v -show_entries packet=size -of csv=p=0 " +
        cutprobe::Quote((dir.path() / "copied.avi").string()));
    std::istringstream in(sizes);
    int packets = 0;
    for (std::string line; std::getline(in, line); ++packets)
        EXPECT_GT(std::atoi(line.c_str()), 16) << "packet " << packets;
    EXPECT_EQ(packets, 12);
}

// The packets the plan reads ahead are kept for the cut when they fit its budget; otherwise
// the stretch is read again. Kept in full, given up half way (after the plan rewound to unpack
// B-frames, in the packed sample) or not kept at all, the cut holds the same pictures and sound
// (the file's bytes may differ: sound and pictures interleave as they come).
TEST(CopyCheckTest, SameCutWhateverThePlanKeeps) {
    std::string why;
    const fs::path packed = fixtures::Sample("fate-suite/packed_bframes.avi", why);
    struct Case {
        const char* name;
        fs::path source;
        double start, stop;
    };
    std::vector<Case> cases = {{"MPEG-4 B-frames", Mpeg4BFrames(), 2, 4},
                               {"H.264 pyramid", H264Pyramid(), 1.2, 4.6}};
    if (!packed.empty()) cases.push_back({"packed B-frames", packed, 0, 0.4});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.source.empty());
        testutil::TempDir dir("framora-copy-readahead");
        const fs::path out = dir.path() / "cut.avi";
        std::vector<std::string> pictures;
        std::string sound;
        std::int64_t copied = -1;
        for (const std::int64_t budget :
             {std::int64_t{64} << 20, std::int64_t{20000}, std::int64_t{0}}) {
            SCOPED_TRACE(budget);
            media::CutRequest request;
            request.source = c.source.string();
            request.start = c.start;
            request.stop = c.stop;
            request.output = out.string();
            request.readAheadForTesting = budget;
            std::atomic<bool> cancel{false};
            const media::CutOutcome outcome = media::RenderCut(request, cancel);
            EXPECT_EQ(outcome.path, media::CutPath::Copied) << outcome.whyReencoded;
            const std::vector<std::string> p = copyoracle::FrameDigests(out);
            const std::string s =
                cutprobe::Capture("ffmpeg -nostdin -v error -i " + cutprobe::Quote(out.string()) +
                                  " -map 0:a? -f md5 - 2>/dev/null");
            if (copied < 0) {
                pictures = p;
                sound = s;
                copied = outcome.copiedPictures;
                EXPECT_GT(copied, 0);
                EXPECT_FALSE(pictures.empty());
            } else {
                EXPECT_EQ(outcome.copiedPictures, copied);
                EXPECT_EQ(p, pictures);
                EXPECT_EQ(s, sound);
            }
        }
    }
}

// The edges are encoded on threads of their own while the middle is copied. The start's
// encoder is held before its last pictures until the end's encoder begins, and the end's
// encoder waits for that hold, so the whole middle is read while the start is unfinished: the
// copied pictures wait for it, and the file holds the same pictures and sound as a cut where
// nothing waits.
TEST(CopyCheckTest, CopyWaitsForASlowStart) {
    const fs::path source = Mpeg4BFrames();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-copy-slow-start");
    media::CutRequest request;
    request.source = source.string();
    // Ten pictures re-encoded before the key picture at 2.4 s, one after the copy.
    request.start = 2;
    request.stop = 3.9;

    struct Held {
        std::mutex mutex;
        std::condition_variable changed;
        bool holding = false;  // the start's encoder waits before its last pictures
        bool endBegan = false;
        bool timedOut = false;
        std::int64_t startPictures = 0;
        std::int64_t done = -1;  // pictures written, as the progress last said
        std::int64_t doneWhenEndBegan = -1;
    } held;
    // A deadline only for a copy that waits for the start before reading on.
    auto wait = [&held](std::unique_lock<std::mutex>& lock, bool& flag) {
        if (!held.changed.wait_for(lock, std::chrono::seconds(60), [&flag] { return flag; }))
            held.timedOut = true;
    };
    request.output = (dir.path() / "held.avi").string();
    request.edgeHookForTesting = [&](bool start, std::int64_t slot) {
        std::unique_lock lock(held.mutex);
        if (start && slot >= 0) ++held.startPictures;
        if (start && slot < 0) {
            held.holding = true;
            held.changed.notify_all();
            wait(lock, held.endBegan);
        }
        if (!start && !held.endBegan) {
            wait(lock, held.holding);
            held.endBegan = true;
            held.doneWhenEndBegan = held.done;
            held.changed.notify_all();
        }
    };
    media::CutProgress progress;
    progress.hookForTesting = [&held](std::int64_t done, std::int64_t, bool) {
        std::lock_guard lock(held.mutex);
        held.done = done;
    };
    const media::CutOutcome slow = media::RenderCut(request, progress);
    EXPECT_FALSE(held.timedOut) << "the copy did not read on while the start was held";
    EXPECT_TRUE(held.endBegan);
    EXPECT_GT(held.startPictures, 8) << "the start should be longer than its encoder's queue";
    // The start's first packets are written as they come; the copied pictures after them
    // cannot be, before its last ones are.
    EXPECT_GE(held.doneWhenEndBegan, 0);
    EXPECT_LT(held.doneWhenEndBegan, held.startPictures)
        << "copied pictures were written before the start was complete";

    request.output = (dir.path() / "prompt.avi").string();
    request.edgeHookForTesting = nullptr;
    std::atomic<bool> cancel{false};
    const media::CutOutcome prompt = media::RenderCut(request, cancel);
    ASSERT_EQ(prompt.path, media::CutPath::Copied) << prompt.whyReencoded;
    EXPECT_EQ(slow.path, media::CutPath::Copied) << slow.whyReencoded;
    EXPECT_EQ(slow.copiedPictures, prompt.copiedPictures);
    EXPECT_EQ(slow.encodedPictures, prompt.encodedPictures);
    const auto pictures = copyoracle::FrameDigests(dir.path() / "held.avi");
    EXPECT_EQ(pictures.size(), 48u);
    EXPECT_EQ(pictures, copyoracle::FrameDigests(dir.path() / "prompt.avi"));
    EXPECT_EQ(copyoracle::DecodeErrors(dir.path() / "held.avi"), "");
    EXPECT_TRUE(copyoracle::Sound(dir.path() / "held.avi") ==
                copyoracle::Sound(dir.path() / "prompt.avi"));
}

// The reading starts a second before the start mark, a whole group of pictures earlier when
// the mark is on a key picture; nothing before that picture is shown, so the start's decoder is
// given none of that group, only the copied pictures the check compares.
TEST(CopyCheckTest, StartMarkOnAKeyPictureDecodesNoGroupBeforeIt) {
    const fs::path source = H264NoBFrames();  // a key picture every 25, at 25 a second
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-copy-start-on-key");
    media::CutRequest request;
    request.source = source.string();
    request.output = (dir.path() / "cut.avi").string();
    request.start = 2;
    request.stop = 4;
    int startPackets = 0, endPackets = 0;
    request.decodeHookForTesting = [&](bool start) { ++(start ? startPackets : endPackets); };
    std::atomic<bool> cancel{false};
    const media::CutOutcome outcome = media::RenderCut(request, cancel);
    ASSERT_EQ(outcome.path, media::CutPath::Copied) << outcome.whyReencoded;
    EXPECT_EQ(outcome.encodedPictures, 0);
    EXPECT_GT(startPackets, 0) << "the first copied pictures are decoded for the check";
    EXPECT_LE(startPackets, 10) << "the group before the start mark was decoded";
    EXPECT_EQ(endPackets, 0);
    EXPECT_EQ(copyoracle::DecodeErrors(dir.path() / "cut.avi"), "");
}

TEST(CopyCheckTest, CancelledCutLeavesNothing) {
    const fs::path source = Mpeg4BFrames();
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-copy-cancel");
    media::CutRequest request;
    request.source = source.string();
    request.start = 2;
    request.stop = 4;
    request.output = (dir.path() / "cut.avi").string();
    std::atomic<bool> cancel{true};
    EXPECT_THROW(media::RenderCut(request, cancel), media::CutCancelled);
    EXPECT_TRUE(Names(dir.path()).empty());
}

}  // namespace
