// The window-state controller on its own: a fake window and the callbacks a form would give it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/form/FormFakes.h"
#include "skin/form/skWindowStateController.h"

using formtest::FakeWindow;
using rt::Bounds;
using sk::TskWindowState;

namespace {

// A controller on a fake window, its callbacks written to a log; the default frame's rules with
// a minimum width of 100 (minimized: 100 x 25).
struct Controlled {
    FakeWindow::State state;
    FakeWindow window{state};
    sk::TskWindowStateController c;
    std::vector<std::string> log;

    Controlled() {
        c.SizeRules = [] {
            sk::TskSizeRules r;
            r.MinWidth = 100;
            return r;
        };
        c.OnRestored = [this] { log.push_back("restored"); };
        c.OnBoundsChanged = [this] { log.push_back("bounds"); };
        c.OnRollUpChanged = [this] { log.push_back("rollup"); };
        c.SetWindow(&window);
    }
};

TEST(WindowStateController, MinimizedWindowsTakeTheSlotsOfTheVisibleMinimizedOnesOnly) {
    auto a = std::make_unique<Controlled>();
    Controlled b, hidden, c;
    a->c.SetWindowState(TskWindowState::wsMinimized, false);
    EXPECT_EQ(a->state.bounds, Bounds(0, 703, 100, 25));
    hidden.state.visible = false;
    hidden.c.SetWindowState(TskWindowState::wsMinimized, false);
    EXPECT_EQ(hidden.state.bounds, Bounds(100, 703, 100, 25));
    b.c.SetWindowState(TskWindowState::wsMinimized, false);
    EXPECT_EQ(b.state.bounds, Bounds(100, 703, 100, 25)) << "a hidden window holds no slot";
    // A controller that goes gives its slot up.
    a.reset();
    c.c.SetWindowState(TskWindowState::wsMinimized, false);
    EXPECT_EQ(c.state.bounds, Bounds(0, 703, 100, 25));
    c.c.SetWindowState(TskWindowState::wsNormal, false);
    EXPECT_EQ(c.state.bounds, Bounds(100, 100, 300, 200));
    EXPECT_EQ(c.log, (std::vector<std::string>{"bounds", "restored", "bounds"}));
}

TEST(WindowStateController, RollUpWhileMaximizedAndBack) {
    Controlled w;
    const sk::TskBorderIcons icons = sk::kDefaultBorderIcons | sk::biRollUp;
    w.c.SetRollUpState(true, sk::biSystemMenu);
    EXPECT_FALSE(w.c.RollUpState()) << "no roll-up without its icon";
    EXPECT_TRUE(w.log.empty());

    w.c.SetWindowState(TskWindowState::wsMaximized, false);
    EXPECT_EQ(w.state.bounds, w.state.workArea);
    w.c.SetRollUpState(true, icons);
    EXPECT_TRUE(w.c.MaxRollUpState());
    EXPECT_EQ(w.state.bounds, Bounds(0, 0, 1024, 25)) << "the caption's height";
    EXPECT_EQ(w.c.RollUpHeight(), 728);
    w.c.SetRollUpState(false, icons);
    EXPECT_EQ(w.state.bounds, w.state.workArea) << "unrolls to the height it had";
    w.c.SetWindowState(TskWindowState::wsNormal, false);
    EXPECT_EQ(w.state.bounds, Bounds(100, 100, 300, 200));
    EXPECT_FALSE(w.c.MaxRollUpState());
    EXPECT_EQ(w.log, (std::vector<std::string>{"bounds", "bounds", "rollup", "bounds", "rollup",
                                               "restored", "bounds"}));
}

TEST(WindowStateController, NothingHappensWithoutAWindowOrForTheMainForm) {
    Controlled w;
    w.c.SetWindow(nullptr);
    w.c.SetWindowState(TskWindowState::wsMaximized, false);
    w.c.SetRollUpState(true, sk::kDefaultBorderIcons | sk::biRollUp);
    w.c.ShowWindow(true, sk::TskFadeIn{true, false, 100});
    EXPECT_EQ(w.c.WindowState(), TskWindowState::wsNormal);
    EXPECT_FALSE(w.c.RollUpState());
    EXPECT_FALSE(w.c.FadeInRunning());
    EXPECT_TRUE(w.log.empty());

    w.c.SetWindow(&w.window);
    w.state.mainForm = true;
    w.c.SetWindowState(TskWindowState::wsMinimized, false);
    EXPECT_EQ(w.state.appMinimizes, 1);
    EXPECT_EQ(w.c.WindowState(), TskWindowState::wsNormal);
    EXPECT_TRUE(w.log.empty()) << "the window was left where it was";
}

TEST(WindowStateController, FadeInRunsOnItsTimerOnce) {
    Controlled w;
    const sk::TskFadeIn fade{true, false, 100};
    w.c.ShowWindow(true, fade);
    EXPECT_TRUE(w.c.FadeInRunning());
    EXPECT_EQ(w.state.timers.count(sk::TskWindowStateController::kFadeInTimer), 1u);
    w.c.FadeInTick(fade);
    EXPECT_FALSE(w.c.FadeInRunning());
    EXPECT_EQ(w.state.timers.count(sk::TskWindowStateController::kFadeInTimer), 0u);
    EXPECT_EQ(w.state.opacity, (std::vector<int>{0, 100}));
}

}  // namespace
