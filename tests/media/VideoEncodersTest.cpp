// Which codec a re-encoding cut writes: the source's only where FFmpeg's encoder keeps up.
#include <gtest/gtest.h>

#include <atomic>

#include "CutProbe.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "media/CutRender.h"
#include "media/VideoEncoders.h"

namespace {

TEST(EncoderKeepsUp, FastEncodersAtTheirSizesOnly) {
    struct Case {
        AVCodecID codec;
        int width;
        int height;
        AVRational rate;
        bool keepsUp;
    };
    const Case cases[] = {
        {AV_CODEC_ID_MPEG4, 1920, 1080, {25, 1}, true},
        {AV_CODEC_ID_MPEG2VIDEO, 720, 576, {25, 1}, true},
        {AV_CODEC_ID_H264, 640, 480, {25, 1}, true},
        {AV_CODEC_ID_H264, 1920, 1080, {30000, 1001}, true},
        {AV_CODEC_ID_H264, 3840, 2160, {25, 1}, false},
        {AV_CODEC_ID_MSVIDEO1, 160, 120, {15, 1}, true},
        {AV_CODEC_ID_MSVIDEO1, 640, 480, {25, 1}, false},
        // Cinepak encodes about 0.2 million pixels a second: even a stamp-sized clip is slow.
        {AV_CODEC_ID_CINEPAK, 320, 240, {15, 1}, false},
        {AV_CODEC_ID_CINEPAK, 100, 75, {5, 1}, false},
        {AV_CODEC_ID_ZMBV, 320, 200, {70, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(avcodec_get_name(c.codec) + std::string(" ") + std::to_string(c.width) + "x" +
                     std::to_string(c.height));
        EXPECT_EQ(media::EncoderKeepsUp(c.codec, c.width, c.height, c.rate), c.keepsUp);
    }
}

// A Cinepak cut took ten seconds per second of picture in Cinepak; it now writes MPEG-4.
TEST(CutEncoder, SlowSourceCodecIsReplacedByMpeg4) {
    const auto source = fixtures::Make(
        "cut_cinepak.avi",
        "-f lavfi -i testsrc2=s=128x96:r=15:d=2 -f lavfi -i sine=r=22050:d=2 -c:v cinepak "
        "-c:a pcm_u8");
    ASSERT_FALSE(source.empty());
    testutil::TempDir dir("framora-cinepak");
    media::CutRequest request;
    request.source = source.string();
    request.start = 0;
    request.stop = 1;
    request.output = (dir.path() / "cut.avi").string();
    std::atomic<bool> cancel{false};
    const media::CutOutcome outcome = media::RenderCut(request, cancel);
    EXPECT_EQ(outcome.path, media::CutPath::Reencoded);
    auto video = cutprobe::Video(dir.path() / "cut.avi");
    ASSERT_TRUE(video);
    EXPECT_EQ(video->codec, "mpeg4");
    EXPECT_EQ(video->frames, 15);
}

}  // namespace
