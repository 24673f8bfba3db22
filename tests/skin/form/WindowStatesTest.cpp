#include <gtest/gtest.h>

#include "skin/form/FormFakes.h"
#include "skin/form/skWindowStates.h"

using rt::Rect;
using rt::TPoint;
using namespace sk;

namespace {

TEST(WindowStates, MinimizedSlotsFillTheWorkAreaBottomRowByRow) {
    const rt::TRect area = Rect(0, 0, 300, 100);
    EXPECT_EQ(MinimizedSlot(area, 120, 30, {}), rt::Point(0, 70));
    EXPECT_EQ(MinimizedSlot(area, 120, 30, {{0, 70}}), rt::Point(120, 70));
    // A third slot would pass the right edge: the next row starts one height higher.
    EXPECT_EQ(MinimizedSlot(area, 120, 30, {{0, 70}, {120, 70}}), rt::Point(0, 40));
    const std::vector<TPoint> full = {{0, 70}, {120, 70}, {0, 40}, {120, 40}, {0, 10}, {120, 10}};
    EXPECT_EQ(MinimizedSlot(area, 120, 30, full), rt::Point(0, 70)) << "rows used up";
    EXPECT_EQ(MinimizedSlot(area, 0, 0, {{0, 99}, {1, 99}}), rt::Point(2, 99)) << "no hang";
    EXPECT_EQ(MaximizedBounds(false, Rect(0, 0, 1024, 768), area), area);
    EXPECT_EQ(MaximizedBounds(true, Rect(0, 0, 1024, 768), area), Rect(0, 0, 1024, 768));
}

TEST(WindowStates, CaptionDoubleClickRules) {
    using A = TskCaptionAction;
    using S = TskWindowState;
    struct Case {
        TskCaptionState state;
        A action;
    };
    const TskBorderIcons mainWindow = biSystemMenu | biMinimize | biRollUp;
    const Case cases[] = {
        {{.Sizeable = true}, A::Maximize},
        {{.Sizeable = true, .Icons = mainWindow}, A::ToggleRollUp},
        {{.Sizeable = true, .RolledUp = true}, A::ToggleRollUp},
        {{.Sizeable = true, .WindowState = S::wsMinimized}, A::Restore},
        {{.Sizeable = true, .WindowState = S::wsMaximized}, A::Restore},
        {{.Sizeable = true,
          .WindowState = S::wsMaximized,
          .RolledUp = true,
          .MaxRollUpState = true},
         A::ToggleRollUp},
        {{.Sizeable = false}, A::ToggleRollUp},
        {{.Sizeable = false, .WindowState = S::wsMinimized}, A::ToggleRollUp},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CaptionDoubleClick(cases[i].state), cases[i].action) << "case " << i;

    EXPECT_TRUE(CanChangeRollUp(kDefaultBorderIcons, S::wsNormal, false, false));
    EXPECT_FALSE(CanChangeRollUp(biSystemMenu, S::wsNormal, false, false));
    EXPECT_FALSE(CanChangeRollUp(kDefaultBorderIcons, S::wsMinimized, false, false));
    EXPECT_FALSE(CanChangeRollUp(kDefaultBorderIcons, S::wsMaximized, true, false));
    EXPECT_TRUE(CanChangeRollUp(kDefaultBorderIcons, S::wsMaximized, true, true));
}

TEST(WindowStates, MagneticEdgesSnapOnlyWhenStrictlyCloser) {
    const rt::TRect area = Rect(0, 0, 1000, 700);
    const auto moved = [&](int left, int top) {
        return MagneticMove(rt::Bounds(left, top, 200, 100), area, 5);
    };
    EXPECT_EQ(moved(4, 300), rt::Bounds(0, 300, 200, 100));
    EXPECT_EQ(moved(5, 300), rt::Bounds(5, 300, 200, 100));
    EXPECT_EQ(moved(-4, 300), rt::Bounds(0, 300, 200, 100));
    EXPECT_EQ(moved(300, 4), rt::Bounds(300, 0, 200, 100));
    EXPECT_EQ(moved(300, 5), rt::Bounds(300, 5, 200, 100));
    EXPECT_EQ(moved(796, 300), rt::Bounds(800, 300, 200, 100)) << "right edge 4 short";
    EXPECT_EQ(moved(795, 300), rt::Bounds(795, 300, 200, 100));
    EXPECT_EQ(moved(300, 604), rt::Bounds(300, 600, 200, 100));
    EXPECT_EQ(moved(300, 605), rt::Bounds(300, 605, 200, 100));
}

TEST(WindowStates, FadeInRisesByFiveToItsTarget) {
    const std::vector<int> to200 = FadeInSteps(200);
    ASSERT_EQ(to200.size(), 40u);
    EXPECT_EQ(to200.front(), 5);
    EXPECT_EQ(to200[1], 10);
    EXPECT_EQ(to200.back(), 200);
    const std::vector<int> to255 = FadeInSteps(255);
    EXPECT_EQ(to255[to255.size() - 2], 250);
    EXPECT_EQ(to255.back(), 255) << "the last step is clamped";
    EXPECT_TRUE(FadeInSteps(0).empty());
    EXPECT_EQ(FadeInTarget(false, true, 200), 255);
    EXPECT_EQ(FadeInTarget(true, true, 200), 200);
    EXPECT_EQ(FadeInTarget(false, false, 120), 120);
}

TEST(WindowStates, HoverFindsTheFirstLiveObjectAndRespectsThePressedOne) {
    formtest::FakeHost host;
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects;
    for (const char* name : {"a", "b", "c"}) {
        objects.push_back(std::make_unique<TskSkinStdButtonObject>(host, name, cmClose));
        objects.back()->ObjectRect = Rect(0, 0, 10, 10);
    }
    objects[1]->ObjectRect = Rect(20, 0, 30, 10);
    EXPECT_EQ(FindHoverIndex(objects, {5, 5}, true, -1), 0);
    EXPECT_EQ(FindHoverIndex(objects, {5, 5}, false, -1), -1);
    objects[0]->Enabled = false;
    EXPECT_EQ(FindHoverIndex(objects, {5, 5}, true, -1), 2);
    objects[2]->Visible = false;
    EXPECT_EQ(FindHoverIndex(objects, {5, 5}, true, -1), -1);
    EXPECT_EQ(FindHoverIndex(objects, {25, 5}, true, 1), 1);
    objects[2]->Visible = true;
    EXPECT_EQ(FindHoverIndex(objects, {5, 5}, true, 1), -1) << "another object is pressed";

    using T = TskHoverTick;
    EXPECT_EQ(HoverTickAction(false, false, false, true), T::StopAndClear);
    EXPECT_EQ(HoverTickAction(true, true, false, true), T::Nothing);
    EXPECT_EQ(HoverTickAction(true, false, false, false), T::TrackAtCursor);
    EXPECT_EQ(HoverTickAction(true, false, true, true), T::ClearHover);
    EXPECT_EQ(HoverTickAction(true, false, true, false), T::Nothing);
}

}  // namespace
