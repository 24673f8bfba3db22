// Application hints: which control's hint shows, when the resting mouse brings it up, what
// hides it, and where the plain hint window goes.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

#include "runtime/Application.h"
#include "runtime/Controls.h"
#include "runtime/Hints.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"

namespace {

using namespace rt;
namespace ti = rt::testing;

using ti::WaitFor;

void Settle() {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < end) ti::ProcessEvents();
}

class Hints : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = Application();
        saved_ = {app_->HintPause, app_->HintShortPause, app_->HintHidePause};
        app_->HintPause = 5;
        app_->HintShortPause = 5;
        // Long enough never to end inside a test.
        app_->HintHidePause = 600000;
        form_ = std::make_unique<TForm>(nullptr);
        form_->BorderStyle = TFormBorderStyle::bsNone;
        form_->SetBounds(100, 100, 300, 200);
        cut_ = Child(10, 10, "Cut the marked part", true);
        open_ = Child(120, 10, "Open a video file", true);
        silent_ = Child(10, 100, "Not shown", false);
        inner_ = new TCustomControl(form_.get());
        inner_->SetBounds(5, 5, 20, 20);
        inner_->SetParent(cut_);
        form_->Show();
        ti::ProcessEvents();
    }

    void TearDown() override {
        app_->HintMouseLeft();
        app_->OnShowHint = nullptr;
        form_.reset();
        app_->HintPause = saved_[0];
        app_->HintShortPause = saved_[1];
        app_->HintHidePause = saved_[2];
    }

    TCustomControl* Child(int l, int t, const char* hint, bool show) {
        auto* c = new TCustomControl(form_.get());
        c->SetBounds(l, t, 100, 60);
        c->Hint = hint;
        c->ShowHint = show;
        c->SetParent(form_.get());
        return c;
    }

    static TPoint Centre(TControl* c) {
        return c->ClientToScreen({c->Width() / 2 + 30, c->Height() / 2 + 20});
    }
    bool Shown() const { return app_->HintWindow() != nullptr && app_->HintWindow()->Visible(); }
    std::string Text() const { return app_->HintWindow()->HintText(); }

    TApplication* app_ = nullptr;
    std::array<int, 3> saved_{};
    std::unique_ptr<TForm> form_;
    TCustomControl *cut_ = nullptr, *open_ = nullptr, *silent_ = nullptr, *inner_ = nullptr;
};

TEST_F(Hints, RestingOnAControlShowsItsHintBelowThePointer) {
    const TPoint p = Centre(cut_);
    ti::MouseMove(p);
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    EXPECT_EQ(Text(), "Cut the marked part");
    EXPECT_EQ(app_->HintWindow()->Left(), p.X);
    EXPECT_EQ(app_->HintWindow()->Top(), p.Y + CursorHintOffset());

    // The next control's hint replaces it once the mouse rests there.
    ti::MouseMove(Centre(open_));
    ASSERT_TRUE(WaitFor([&] { return Shown() && Text() == "Open a video file"; }));
}

TEST_F(Hints, AClickHidesTheHintUntilTheMouseLeavesTheControl) {
    ti::MouseMove(Centre(cut_));
    ASSERT_TRUE(WaitFor([&] { return Shown(); }));
    ti::MouseClick(Centre(cut_));
    EXPECT_FALSE(Shown());
    ti::MouseMove({Centre(cut_).X + 3, Centre(cut_).Y});
    Settle();
    EXPECT_FALSE(Shown()) << "the clicked control's hint came back without the mouse leaving";
    ti::MouseMove(Centre(open_));
    EXPECT_TRUE(WaitFor([&] { return Shown(); }));
}

TEST_F(Hints, OnlyControlsThatShowTheirHintsHaveOne) {
    EXPECT_FALSE(app_->ActivateHint(Centre(silent_)));
    // A control without a hint of its own shows its parent's.
    ASSERT_TRUE(app_->ActivateHint(inner_->ClientToScreen({2, 2})));
    EXPECT_EQ(Text(), "Cut the marked part");
    // The bare form has none.
    EXPECT_FALSE(app_->ActivateHint(form_->ClientToScreen({290, 190})));

    app_->SetShowHint(false);
    EXPECT_EQ(app_->HintWindow(), nullptr);
    EXPECT_FALSE(app_->ActivateHint(Centre(cut_)));
    app_->SetShowHint(true);
    EXPECT_TRUE(app_->ActivateHint(Centre(cut_)));
}

TEST_F(Hints, TheShowHintEventMayChangeTheTextOrStopTheHint) {
    TControl* seen = nullptr;
    app_->OnShowHint = [&](std::string& text, bool& canShow, THintInfo& info) {
        seen = info.HintControl;
        if (info.HintControl == open_) canShow = false;
        text += " (Ctrl+X)";
    };
    ASSERT_TRUE(app_->ActivateHint(Centre(cut_)));
    EXPECT_EQ(seen, cut_);
    EXPECT_EQ(Text(), "Cut the marked part (Ctrl+X)");
    EXPECT_FALSE(app_->ActivateHint(Centre(open_)));
}

TEST(PlainHintWindow, StaysOnTheScreenAtItsRightAndBottomEdges) {
    THintWindow window(nullptr);
    const TRect screen = ScreenRect();
    const TRect size = window.CalcHintRect(screen.Width(), "A hint near the edge");
    const int w = size.Width(), h = size.Height();
    ASSERT_GT(w, 8);

    window.ActivateHint(Bounds(screen.Right - 5, 40, w, h), "A hint near the edge");
    EXPECT_EQ(window.Left(), screen.Right - w);
    EXPECT_EQ(window.Top(), 40);
    window.ActivateHint(Bounds(40, screen.Bottom - 3, w, h), "A hint near the edge");
    EXPECT_EQ(window.Left(), 40);
    EXPECT_EQ(window.Top(), screen.Bottom - h);
    EXPECT_TRUE(window.Visible());

    // The plain look: a shadow-coloured frame around the info colour.
    TBitmap b = window.PaintToBitmap();
    EXPECT_EQ(PixelToColor(b.ScanLine(0)[0]), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelToColor(b.ScanLine(h - 2)[w - 2]), ColorToRGB(clInfoBk));
}

}  // namespace
