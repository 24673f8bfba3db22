// Skinned hints: the component in charge, the skinned and plain looks, the window's size,
// shape and place at the screen's edges, the application's hints through it, and the frame
// objects' hints of a skinned form. This program keeps one main form for its whole run, since
// the component in charge is looked up on the main form.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"
#include "skin/data/skSkinData.h"
#include "skin/form/FormFakes.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinHint.h"

namespace {

using rt::Rect;
using rt::TBitmap;
using rt::TColor;
using rt::TPoint;
namespace ti = rt::testing;

constexpr TColor kBorder = 0x000080;  // maroon
constexpr TColor kFill = 0xE0E0E0;
constexpr TColor kInk = 0x0000FF;

using ti::WaitFor;

TColor At(const TBitmap& b, int x, int y) { return rt::PixelToColor(b.ScanLine(y)[x]); }

// Whether any pixel inside the 4-pixel border has the colour.
bool HasColourInside(const TBitmap& b, TColor colour) {
    for (int x = 4; x < b.Width() - 4; ++x)
        for (int y = 4; y < b.Height() - 4; ++y)
            if (At(b, x, y) == colour) return true;
    return false;
}

// Picture 0, the hint, 40 x 30: a 4-pixel maroon border around a light client (4,4,36,26).
// Picture 1, its mask: black but for the white 2 x 2 top-left corner.
std::unique_ptr<sk::TskStoredSkin> HintSkin(bool hintPicture) {
    auto s = std::make_unique<sk::TskStoredSkin>(nullptr);
    TBitmap p(40, 30);
    p.Canvas().Brush.Color = kBorder;
    p.Canvas().FillRect(Rect(0, 0, 40, 30));
    p.Canvas().Brush.Color = kFill;
    p.Canvas().FillRect(Rect(4, 4, 36, 26));
    TBitmap m(40, 30);
    m.Canvas().Brush.Color = rt::clBlack;
    m.Canvas().FillRect(Rect(0, 0, 40, 30));
    m.Canvas().Brush.Color = rt::clWhite;
    m.Canvas().FillRect(Rect(0, 0, 2, 2));
    s->ActivePictures.push_back(std::make_unique<TBitmap>(p));
    s->ActivePictures.push_back(std::make_unique<TBitmap>(m));
    rt::TStringList lines;
    for (const char* l : {"[VERSION]",
                          "ver=1",
                          "[PICTURES]",
                          "activepicturescount=2",
                          "[FORMINFO]",
                          "[SKINOBJECTS]",
                          "count=0",
                          "[SKINCONTROLS]",
                          "count=0",
                          "[HINTWINDOW]",
                          hintPicture ? "windowpictureindex=0" : "windowpictureindex=-1",
                          "maskpictureindex=1",
                          "lefttoppoint=4,4",
                          "righttoppoint=36,4",
                          "leftbottompoint=4,26",
                          "rightbottompoint=36,26",
                          "clientrect=4,4,36,26",
                          "fontname=Arial",
                          "fontheight=14",
                          "fontcolor=255"})
        lines.Add(l);
    s->SetIniStrings(lines);
    return s;
}

rt::TForm& MainForm() {
    static rt::TForm* main = rt::Application()->CreateForm<rt::TForm>();
    return *main;
}

class SkinHint : public ::testing::Test {
protected:
    void SetUp() override {
        stored_ = HintSkin(true);
        data_.LoadStoredSkin(stored_.get());
        hint_ = new sk::TskSkinHint(&MainForm());
        hint_->SetSkinData(&data_);
        screen_ = rt::ScreenRect();
    }
    void TearDown() override { delete hint_; }

    sk::TskSkinHintWindow& Window() { return *hint_->HintWindow(); }
    // Activates the hint window at the point and returns its bounds.
    rt::TRect ShowAt(TPoint p, const std::string& text) {
        Window().ActivateHint(rt::Bounds(p.X, p.Y, 0, 0), text);
        return Window().BoundsRect();
    }

    std::unique_ptr<sk::TskStoredSkin> stored_;
    sk::TskSkinData data_{nullptr};
    sk::TskSkinHint* hint_ = nullptr;
    rt::TRect screen_;
};

TEST_F(SkinHint, TakesOverTheApplicationsHintWindow) {
    rt::TApplication& app = *rt::Application();
    EXPECT_NE(dynamic_cast<sk::TskSkinHintWindow*>(app.HintWindow()), nullptr);
    EXPECT_EQ(app.HintShortPause, 100);
    EXPECT_EQ(sk::FindHintComponent(&MainForm()), hint_);
}

TEST_F(SkinHint, SkinnedHintGrowsFromThePictureAndTakesTheMaskShape) {
    const rt::TRect small = ShowAt({50, 50}, ".");
    EXPECT_EQ(small.Width(), 40) << "never smaller than the picture";
    EXPECT_EQ(small.Height(), 30);

    const std::string text = "Mark the start point of the cut";
    const rt::TRect r = ShowAt({50, 50}, text);
    ASSERT_TRUE(Window().Visible());
    EXPECT_EQ(Window().SkinDataInUse(), &data_);
    EXPECT_GT(r.Width(), 40);
    EXPECT_EQ(r.Height(), 30) << "one line fits the picture's client";
    const int dx = r.Width() - 40;
    EXPECT_EQ(Window().SizedClientBox(), Rect(4, 4, 36 + dx, 26));
    EXPECT_EQ(Window().Sized().RightBottom, rt::Point(36 + dx, 26));
    EXPECT_EQ(Window().Sized().LeftBottom, rt::Point(4, 26));

    const TBitmap& b = Window().Image();
    ASSERT_EQ(b.Width(), r.Width());
    EXPECT_EQ(At(b, 1, 1), kBorder) << "corners come from the picture";
    EXPECT_EQ(At(b, r.Width() - 2, r.Height() - 2), kBorder);
    EXPECT_EQ(At(b, 5, 5), kFill) << "the client is filled from the picture";
    EXPECT_TRUE(HasColourInside(b, kInk)) << "text in the skin's font colour";

    const rt::TRect tall = ShowAt({50, 50}, "Start\nEnd\nCut");
    const int dy = tall.Height() - 30;
    EXPECT_GT(dy, 0) << "three lines grow the hint downwards";
    EXPECT_EQ(Window().Sized().LeftBottom, rt::Point(4, 26 + dy));
    EXPECT_EQ(At(Window().Image(), 1, tall.Height() - 2), kBorder);

    ShowAt({50, 50}, text);
    ASSERT_TRUE(Window().Region().has_value());
    EXPECT_FALSE(Window().Region()->Contains(0, 0)) << "the mask's white corner is cut away";
    EXPECT_TRUE(Window().Region()->Contains(2, 2));
    EXPECT_TRUE(Window().Region()->Contains(r.Width() - 1, r.Height() - 1));
}

// UseSkinFont chooses the face; the colour of a skinned hint's text is the skin's either way.
TEST_F(SkinHint, SkinnedTextKeepsTheSkinsColourWithOrWithoutTheSkinsFont) {
    hint_->DefaultFont.Color = rt::clBlack;
    for (bool useSkinFont : {true, false}) {
        hint_->UseSkinFont = useSkinFont;
        ShowAt({50, 50}, "Mark the start point of the cut");
        EXPECT_TRUE(HasColourInside(Window().Image(), kInk)) << "UseSkinFont " << useSkinFont;
        EXPECT_FALSE(HasColourInside(Window().Image(), rt::clBlack))
            << "UseSkinFont " << useSkinFont;
    }
}

TEST_F(SkinHint, GoesToTheOtherSideOfItsPointAtTheRightAndBottomEdges) {
    const std::string text = "Cut the marked part";
    const rt::TRect inside = ShowAt({100, 100}, text);
    EXPECT_EQ(inside.Left, 100);
    EXPECT_EQ(inside.Top, 100);
    const int w = inside.Width(), h = inside.Height();

    const TPoint right{screen_.Right - w / 2, 100};
    EXPECT_EQ(ShowAt(right, text), rt::Bounds(right.X - w - 2, 100, w, h));
    const TPoint bottom{100, screen_.Bottom - 3};
    EXPECT_EQ(ShowAt(bottom, text), rt::Bounds(100, bottom.Y - h - 2, w, h));
    const TPoint corner{screen_.Right - 1, screen_.Bottom - 1};
    EXPECT_EQ(ShowAt(corner, text), rt::Bounds(corner.X - w - 2, corner.Y - h - 2, w, h));
    // A hint that just fits stays.
    const TPoint fits{screen_.Right - w, screen_.Bottom - h};
    EXPECT_EQ(ShowAt(fits, text), rt::Bounds(fits.X, fits.Y, w, h));

    // The plain look is placed by the same rule.
    data_.ClearSkin();
    const rt::TRect plain = ShowAt({100, 100}, text);
    EXPECT_EQ(ShowAt(right, text).Left, right.X - plain.Width() - 2);
}

TEST_F(SkinHint, WithoutAHintPictureItIsThePlainInfoColouredHint) {
    for (bool noSkinAtAll : {false, true}) {
        SCOPED_TRACE(noSkinAtAll ? "no skin" : "skin without a hint picture");
        auto stored = HintSkin(false);
        if (noSkinAtAll)
            data_.ClearSkin();
        else
            data_.LoadStoredSkin(stored.get());
        const std::string text = "Open a video file";
        const rt::TRect r = ShowAt({60, 60}, text);
        EXPECT_EQ(Window().SkinDataInUse(), nullptr);
        EXPECT_FALSE(Window().Region().has_value());
        const TPoint size = rt::PlainHintSize(text, hint_->DefaultFont);
        EXPECT_EQ(r.Width(), size.X);
        EXPECT_EQ(r.Height(), size.Y);
        const TBitmap& b = Window().Image();
        EXPECT_EQ(At(b, 0, 0), rt::ColorToRGB(rt::clBtnShadow));
        EXPECT_EQ(At(b, 1, r.Height() - 2), rt::ColorToRGB(rt::clInfoBk));
    }
}

TEST_F(SkinHint, OnlyTheActiveComponentOfTheMainFormShowsHints) {
    auto* second = new sk::TskSkinHint(&MainForm());
    EXPECT_EQ(sk::FindHintComponent(&MainForm()), hint_) << "the first active one";
    second->SetActive(true);
    EXPECT_FALSE(hint_->Active()) << "activating one switches the others off";
    EXPECT_EQ(sk::FindHintComponent(&MainForm()), second);
    ShowAt({50, 50}, "Hint");
    EXPECT_EQ(Window().HintComponent(), second);
    EXPECT_EQ(Window().SkinDataInUse(), nullptr) << "the second has no skin";

    second->SetActive(false);
    ShowAt({50, 50}, "Hint");
    EXPECT_FALSE(Window().Visible()) << "no active component: no hint at all";
    delete second;
}

TEST_F(SkinHint, TheApplicationsHintEventReachesTheActiveComponentWhileItLives) {
    std::vector<std::string> seen;
    hint_->OnShowHint = [&](std::string& text, bool&, rt::THintInfo&) { seen.push_back(text); };
    std::string text = "Cut";
    bool canShow = true;
    rt::THintInfo info;
    rt::Application()->OnShowHint(text, canShow, info);
    EXPECT_EQ(seen, std::vector<std::string>{"Cut"});
    delete hint_;
    hint_ = nullptr;
    rt::Application()->OnShowHint(text, canShow, info);  // a freed component is not called
    EXPECT_EQ(seen.size(), 1u);
    hint_ = new sk::TskSkinHint(&MainForm());
}

TEST_F(SkinHint, ApplicationHintsShowInTheSkinnedWindow) {
    rt::TForm form(nullptr);
    form.BorderStyle = rt::TFormBorderStyle::bsNone;
    form.SetBounds(200, 200, 200, 100);
    auto* button = new rt::TCustomControl(&form);
    button->SetBounds(10, 10, 80, 30);
    button->Hint = "Mark the start point";
    button->ShowHint = true;
    button->SetParent(&form);
    form.Show();
    ASSERT_TRUE(rt::Application()->ActivateHint(button->ClientToScreen({5, 5})));
    auto* window = dynamic_cast<sk::TskSkinHintWindow*>(rt::Application()->HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->SkinDataInUse(), &data_);
    EXPECT_EQ(window->HintText(), "Mark the start point");
    rt::Application()->HintMouseLeft();
    EXPECT_FALSE(window->Visible());
}

TEST_F(SkinHint, FrameObjectHintsShowAfterThePauseAndGoWhenTheObjectIsLeft) {
    rt::TApplication& app = *rt::Application();
    const int pause = app.HintPause;
    app.HintPause = 5;
    formtest::FakeWindow::State state;
    auto form_data = formtest::MakeSkinData();
    sk::TskSkinForm form(nullptr);
    form.SetWindow(std::make_unique<formtest::FakeWindow>(state));
    form.SetSkinData(form_data.get());
    form.NcActivate(true);
    form.SetSkinHint(hint_);
    const sk::TskActiveSkinObject* close = form.FindObject("closebutton");
    ASSERT_NE(close, nullptr);
    ASSERT_EQ(close->Hint, "Close");
    form.Geometry();
    const rt::TRect r = close->ObjectRect;
    const TPoint on{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};

    form.TrackHover(on, true);
    EXPECT_FALSE(hint_->HintTickerRunning()) << "object hints are off until ShowObjectHint";
    form.TrackHover({-1, -1}, false);

    form.ShowObjectHint = true;
    form.TrackHover(on, true);
    EXPECT_EQ(hint_->HintCaption(), "Close");
    ASSERT_TRUE(WaitFor([&] { return Window().Visible(); }));
    EXPECT_EQ(Window().HintText(), "Close");
    EXPECT_TRUE(hint_->HintTickerRunning()) << "the hide pause runs";

    form.TrackHover({-1, -1}, false);
    EXPECT_FALSE(Window().Visible());
    EXPECT_FALSE(hint_->HintTickerRunning());

    // A press on the frame (or any activity that ends menus) takes a shown hint away too.
    form.TrackHover(on, true);
    ASSERT_TRUE(WaitFor([&] { return Window().Visible(); }));
    form.CloseMenusOnActivity(rt::WM_NCLBUTTONDOWN);
    EXPECT_FALSE(Window().Visible());
    EXPECT_FALSE(hint_->HintTickerRunning());
    app.HintPause = pause;
}

}  // namespace
