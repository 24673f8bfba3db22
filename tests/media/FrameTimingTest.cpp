// The arithmetic of "the picture on screen at a time", without files: target ticks and the
// stamps of decoded pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "media/FFmpegCompat.h"
#include "media/FrameTiming.h"

namespace {

using media::PictureClock;
using media::TickAfter;

TEST(FrameTiming, TargetTickIsTheLastTickAtOrBeforeTheTime) {
    const AVRational ms{1, 1000};
    const AVRational pes{1, 90000};
    const AVRational ntsc{1001, 30000};
    // 29.97 pictures stamped in milliseconds: picture 2 is meant for 66.73 ms and stamped 67,
    // so the target at its time must reach 67, not stop at 66.
    EXPECT_EQ(TickAfter(0, 2 * 1001.0 / 30000.0, ms, 33), 67);
    EXPECT_EQ(TickAfter(0, 0.0664, ms, 33), 66);
    EXPECT_EQ(TickAfter(48600, 1.0, pes, 3600), 138600);
    // A time base of one frame counts frames: picture 30 of 29.97 starts at 1.001 s, so 1 s
    // is still picture 29, and half a frame is still picture 0.
    EXPECT_EQ(TickAfter(5, 1.0, ntsc, 1), 34);
    EXPECT_EQ(TickAfter(5, 1.001, ntsc, 1), 35);
    EXPECT_EQ(TickAfter(0, 0.02, ntsc, 1), 0);
    EXPECT_EQ(TickAfter(100, 0.0, pes, 3600), 100);
    // Nothing before the first picture; an undefined time is the first picture.
    EXPECT_EQ(TickAfter(100, -3.0, pes, 3600), 100);
    EXPECT_EQ(TickAfter(100, std::nan(""), pes, 3600), 100);
    EXPECT_EQ(TickAfter(100, 1.0, AVRational{0, 1}, 1), 100);
    // Far past anything a file holds: saturates instead of wrapping around.
    EXPECT_GT(TickAfter(std::numeric_limits<int64_t>::max() - 5, 1e300, pes, 3600), 0);
    EXPECT_GT(TickAfter(0, HUGE_VAL, pes, 3600), int64_t{1} << 60);
}

// A stream of 25 pictures a second stamped in 1/90000 s.
class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        fmt_ = avformat_alloc_context();
        ASSERT_NE(fmt_, nullptr);
        st_ = avformat_new_stream(fmt_, nullptr);
        ASSERT_NE(st_, nullptr);
        st_->time_base = AVRational{1, 90000};
        st_->avg_frame_rate = AVRational{25, 1};
        st_->r_frame_rate = AVRational{25, 1};
    }
    void TearDown() override { avformat_free_context(fmt_); }

    // Stamps of pictures given as (key, timestamp or -1 for none); -2 marks one not shown.
    std::vector<int64_t> Stamps(PictureClock& clock,
                                const std::vector<std::pair<bool, int64_t>>& in, int64_t fallback) {
        std::vector<int64_t> out;
        media::FramePtr f = media::MakeFrame();
        for (auto [key, ts] : in) {
            media::SetFrameKey(f.get(), key);
            f->best_effort_timestamp = ts < 0 ? AV_NOPTS_VALUE : ts;
            auto stamp = clock.Stamp(f.get(), fallback);
            out.push_back(stamp ? *stamp : -2);
        }
        return out;
    }

    AVFormatContext* fmt_ = nullptr;
    AVStream* st_ = nullptr;
};

TEST_F(ClockTest, PicturesBeforeTheFirstKeyAfterASeekAreNotShown) {
    PictureClock clock(fmt_, st_);
    EXPECT_EQ(clock.FrameTicks(), 3600);
    EXPECT_EQ(Stamps(clock, {{false, 100}, {false, 3700}, {true, 7300}, {false, 10900}}, 0),
              (std::vector<int64_t>{-2, -2, 7300, 10900}));
    // A seek starts the wait for a key picture again.
    clock.Restart();
    EXPECT_EQ(Stamps(clock, {{false, 100}, {true, 3700}}, 0), (std::vector<int64_t>{-2, 3700}));
}

TEST_F(ClockTest, StreamsThatNeverMarkKeysAreShownAfterAWhile) {
    PictureClock clock(fmt_, st_);
    std::vector<std::pair<bool, int64_t>> in;
    for (int i = 0; i < 300; ++i) in.push_back({false, i * 3600});
    std::vector<int64_t> got = Stamps(clock, in, 0);
    const auto firstShown = std::find_if(got.begin(), got.end(), [](int64_t t) { return t >= 0; });
    ASSERT_NE(firstShown, got.end());
    EXPECT_GT(firstShown - got.begin(), 100);
    EXPECT_EQ(got.back(), 299 * 3600);
}

TEST_F(ClockTest, MissingStampsFollowThePreviousSpacing) {
    PictureClock clock(fmt_, st_);
    // Pictures two frames apart (a 50 Hz time base with 25 pictures, as in some AVIs): a
    // picture without a stamp comes one spacing later, not one frame of the guessed rate.
    EXPECT_EQ(Stamps(clock, {{true, 1000}, {false, 8200}, {false, -1}, {false, -1}}, 0),
              (std::vector<int64_t>{1000, 8200, 15400, 22600}));
    EXPECT_FALSE(clock.Guessed());
    // With one stamped picture only, a frame of the stream's rate.
    clock.Restart();
    EXPECT_EQ(Stamps(clock, {{true, 500}, {false, -1}}, 0), (std::vector<int64_t>{500, 4100}));
    // The first picture after a seek without a stamp: its place is a guess.
    clock.Restart();
    EXPECT_EQ(Stamps(clock, {{true, -1}}, 777), (std::vector<int64_t>{777}));
    EXPECT_TRUE(clock.Guessed());
    EXPECT_EQ(Stamps(clock, {{false, -1}}, 777), (std::vector<int64_t>{777 + 3600}));
    EXPECT_FALSE(clock.Guessed());
}

}  // namespace
