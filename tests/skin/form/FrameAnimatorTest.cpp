// The hover and morph animator on its own: a recording host, a fake window and three objects.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "skin/form/FormFakes.h"
#include "skin/form/skFrameAnimator.h"
#include "skin/form/skFrameObjects.h"

using formtest::FakeHost;
using formtest::FakeWindow;
using rt::Rect;
using sk::TskFrameAnimator;

namespace {

// A caption over the top (0..100 x 0..20) with two buttons on it: "min" at 60, "close" at 80.
struct Animated {
    FakeHost host;
    FakeWindow::State state;
    FakeWindow window{state};
    std::vector<std::unique_ptr<sk::TskActiveSkinObject>> objects;
    TskFrameAnimator a{host, objects};

    Animated() {
        objects.push_back(
            std::make_unique<sk::TskSkinStdButtonObject>(host, "min", sk::cmMinimize));
        objects.back()->ObjectRect = Rect(60, 2, 76, 18);
        objects.push_back(std::make_unique<sk::TskSkinStdButtonObject>(host, "close", sk::cmClose));
        objects.back()->ObjectRect = Rect(80, 2, 96, 18);
        objects.push_back(std::make_unique<sk::TskSkinCaptionObject>(host, nullptr, nullptr));
        objects.back()->IDName = "caption";
        objects.back()->ObjectRect = Rect(0, 0, 100, 20);
        a.SetWindow(&window);
        state.bounds = rt::Bounds(0, 0, 100, 60);
    }
};

TEST(FrameAnimator, ThePressedObjectKeepsTheMouseUntilItsRelease) {
    Animated t;
    t.a.Press({65, 10}, 1);
    EXPECT_EQ(t.a.PressedIndex(), 0);
    EXPECT_TRUE(t.state.capture);
    // Over another object the pressed one still gets the moves, and nothing else lights up.
    t.a.TrackHover({85, 10}, true);
    EXPECT_EQ(t.a.HoverIndex(), -1);
    t.a.MouseMove({85, 10});
    EXPECT_TRUE(t.host.Logged("move:min"));
    EXPECT_FALSE(t.host.Logged("move:close"));
    t.a.Release({85, 10}, 1);
    EXPECT_EQ(t.a.PressedIndex(), -1);
    EXPECT_FALSE(t.state.capture);
    const std::size_t logged = t.host.Log.size();
    t.a.Release({85, 10}, 1);
    EXPECT_EQ(t.host.Log.size(), logged) << "a second release reaches nobody";

    // The caption leaves the mouse to the window system, which moves the window.
    t.a.Press({10, 10}, 0);
    EXPECT_EQ(t.a.PressedIndex(), 2);
    EXPECT_FALSE(t.state.capture);
}

TEST(FrameAnimator, TimersFollowTheWindowAndTheHoverTimerNoticesTheMouseLeaving) {
    Animated t;
    t.a.TrackHover({85, 10}, true);
    ASSERT_EQ(t.a.HoverIndex(), 1);
    t.a.StartHoverTicker();
    t.a.EnableMorphTimer();
    FakeWindow::State other;
    FakeWindow second(other);
    t.a.SetWindow(&second);
    EXPECT_EQ(other.timers.count(TskFrameAnimator::kHoverTimer), 1u) << "running timers go on";
    EXPECT_EQ(other.timers.count(TskFrameAnimator::kMorphTimer), 1u);

    t.a.SetWindow(&t.window);
    t.state.underCursor = false;
    t.a.HoverTimerTick();
    EXPECT_EQ(t.a.HoverIndex(), -1);
    EXPECT_TRUE(t.host.Logged("leave:close"));
    EXPECT_FALSE(t.a.HoverTickerEnabled());
    EXPECT_EQ(t.state.timers.count(TskFrameAnimator::kHoverTimer), 0u);

    // An inactive form hovers nothing and its hover timer does not start.
    t.host.active = false;
    t.a.TrackHover({85, 10}, true);
    t.a.StartHoverTicker();
    EXPECT_EQ(t.a.HoverIndex(), -1);
    EXPECT_FALSE(t.a.HoverTickerEnabled());
}

}  // namespace
