#include <gtest/gtest.h>

#include "skin/form/FormFakes.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skFrameObjects.h"

using namespace formtest;
using sk::TskActiveSkinObject;
using sk::TskSkinButtonObject;
using sk::TskSkinCaptionObject;
using sk::TskSkinStdButtonObject;

namespace {

class FrameObjects : public ::testing::Test {
protected:
    void SetUp() override {
        skin_ = MakeSkinData();
        ASSERT_FALSE(skin_->Empty());
        objects_ = sk::CreateFrameObjects(host_, *skin_);
    }

    template <class T = TskActiveSkinObject>
    T& Object(const std::string& name) {
        for (auto& o : objects_)
            if (o->IDName == name) return dynamic_cast<T&>(*o);
        throw std::runtime_error("no object " + name);
    }

    // Runs the morph timer as the form would, until no object needs a step; returns the steps.
    int RunMorphTimer() {
        int steps = 0;
        for (bool again = true; again && steps < 100;) {
            again = false;
            for (auto& o : objects_)
                if (o->MorphEnabled && o->CanMorphing()) {
                    o->DoMorphing();
                    again = true;
                }
            steps += again ? 1 : 0;
        }
        return steps;
    }

    FakeHost host_;
    std::unique_ptr<sk::TskSkinData> skin_;
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects_;
};

TEST_F(FrameObjects, SkinObjectsBecomeObjectsInOrderWithoutMenuKinds) {
    std::vector<std::string> names;
    for (auto& o : objects_) names.push_back(o->IDName);
    const std::vector<std::string> expected = {
        "caption",       "closebutton", "maxbutton", "minbutton", "rollupbutton",
        "sysmenubutton", "tl",          "tr",        "bl",        "br",
        "tlbr",          "blbr",        "tlbl",      "trbr",      "middle"};
    EXPECT_EQ(names, expected);
    EXPECT_NE(dynamic_cast<TskSkinCaptionObject*>(objects_[0].get()), nullptr);
    EXPECT_EQ(Object<TskSkinStdButtonObject>("maxbutton").Command, sk::cmMaximize);
    EXPECT_NE(dynamic_cast<sk::TskUserObject*>(objects_.back().get()), nullptr);
    EXPECT_EQ(Object("closebutton").Hint, "Close");
    EXPECT_TRUE(Object("closebutton").MorphEnabled);
    // An object starts where its normal look is.
    EXPECT_EQ(Object("tl").ObjectRect, rt::Rect(2, 2, 10, 10));
}

TEST_F(FrameObjects, FullMorphIsTenStepsAndLeavingHalfWayReversesFromThere) {
    auto& close = Object("closebutton");
    close.MouseEnter();
    EXPECT_TRUE(host_.morphTimer);
    EXPECT_FALSE(host_.Logged("paint:closebutton")) << "a morphing object waits for the timer";
    EXPECT_EQ(RunMorphTimer(), 10);
    EXPECT_DOUBLE_EQ(close.MorphLevel, 1.0);

    close.MouseLeave();
    for (int i = 0; i < 5; ++i) close.DoMorphing();
    EXPECT_DOUBLE_EQ(close.MorphLevel, 0.5);
    close.MouseEnter();
    EXPECT_EQ(RunMorphTimer(), 5) << "the way back up starts at the current level";
    close.MouseLeave();
    EXPECT_EQ(RunMorphTimer(), 10);
    EXPECT_DOUBLE_EQ(close.MorphLevel, 0.0);
}

TEST_F(FrameObjects, MissingActivePictureMeansNoHoverLookAndNoMorph) {
    sk::TskDataSkinButton d("ghost");
    d.ActivePictureIndex = -1;
    d.SkinRect = rt::Rect(0, 0, 16, 14);
    d.ActiveSkinRect = rt::Rect(16, 0, 32, 14);
    d.Morphing = true;
    TskSkinButtonObject b(host_, skin_.get(), &d);
    EXPECT_FALSE(b.MorphEnabled);
    EXPECT_TRUE(b.HotLookRect.IsEmpty());
    EXPECT_TRUE(d.ActiveSkinRect.IsEmpty()) << "later objects of the description see it too";
    b.MouseEnter();
    EXPECT_FALSE(host_.morphTimer);

    d.ActivePictureIndex = 7;  // beyond the pictures
    d.ActiveSkinRect = rt::Rect(16, 0, 32, 14);
    TskSkinButtonObject far(host_, skin_.get(), &d);
    EXPECT_EQ(far.HotPicture, nullptr);
    EXPECT_FALSE(far.MorphEnabled);
}

TEST_F(FrameObjects, CloseRunsAfterItsMouseUpOtherCommandsBefore) {
    auto& close = Object<TskSkinStdButtonObject>("closebutton");
    close.MouseEnter();
    close.MouseDown(5, 5, 0);
    EXPECT_TRUE(close.Down);
    host_.Log.clear();
    close.MouseUp(5, 5, 0);
    EXPECT_FALSE(close.Down);
    const int paint = host_.IndexOf("paint:closebutton"), closed = host_.IndexOf("close");
    ASSERT_GE(paint, 0);
    ASSERT_GE(closed, 0);
    EXPECT_LT(paint, closed);
    EXPECT_LT(host_.IndexOf("up:closebutton:0"), closed);

    auto& max = Object<TskSkinStdButtonObject>("maxbutton");
    max.MouseEnter();
    max.MouseDown(5, 5, 0);
    host_.Log.clear();
    max.MouseUp(5, 5, 0);
    EXPECT_LT(host_.IndexOf("state:2"), host_.IndexOf("paint:maxbutton"));
    EXPECT_EQ(host_.state, sk::TskWindowState::wsMaximized);
    max.MouseDown(5, 5, 0);
    max.MouseUp(5, 5, 0);
    EXPECT_EQ(host_.state, sk::TskWindowState::wsNormal) << "maximize again restores";

    auto& roll = Object<TskSkinStdButtonObject>("rollupbutton");
    roll.MouseEnter();
    roll.MouseDown(1, 1, 0);
    roll.MouseUp(1, 1, 0);
    EXPECT_TRUE(host_.rolledUp);
}

TEST_F(FrameObjects, ReleasingOutsideOrWithTheRightButtonRunsNoCommand) {
    auto& min = Object<TskSkinStdButtonObject>("minbutton");
    min.MouseEnter();
    min.MouseDown(1, 1, 0);
    min.MouseLeave();
    min.MouseUp(-1, -1, 0);
    EXPECT_EQ(host_.state, sk::TskWindowState::wsNormal);
    EXPECT_FALSE(min.Down);
    EXPECT_FALSE(host_.Logged("up:minbutton:0")) << "no mouse-up event outside the button";

    min.MouseEnter();
    min.MouseDown(1, 1, 1);
    min.MouseUp(1, 1, 1);
    EXPECT_EQ(host_.state, sk::TskWindowState::wsNormal);

    min.Enabled = false;
    min.MouseDown(1, 1, 0);
    min.MouseUp(1, 1, 0);
    EXPECT_EQ(host_.state, sk::TskWindowState::wsNormal);
}

TEST_F(FrameObjects, SystemMenuButtonDropsTheSystemMenuAndClosesOnDoubleClick) {
    auto& sys = Object<TskSkinStdButtonObject>("sysmenubutton");
    sys.MouseEnter();
    sys.MouseDown(1, 1, 0);
    EXPECT_TRUE(host_.Logged("sysmenu"));
    EXPECT_TRUE(host_.Logged("popup:sysmenubutton"));
    EXPECT_EQ(sys.MenuItem, &host_.systemMenu);
    EXPECT_FALSE(sys.CanMorphing()) << "no morph while its menu is open";
    host_.Log.clear();
    sys.MouseLeave();
    EXPECT_FALSE(host_.Logged("paint:sysmenubutton")) << "keeps its pressed look for the menu";
    sys.MouseUp(1, 1, 0);
    EXPECT_TRUE(sys.Down) << "the form releases it when the menu closes";
    EXPECT_FALSE(host_.Logged("close"));
    sys.DblClick();
    EXPECT_TRUE(host_.Logged("close"));
}

TEST_F(FrameObjects, EventsCarryTheObjectName) {
    auto& caption = Object("caption");
    caption.MouseEnter();
    caption.MouseDown(3, 4, 1);
    caption.MouseMove(5, 6);
    caption.MouseLeave();
    caption.MouseUp(5, 6, 1);
    const std::vector<std::string> expected = {"enter:caption", "down:caption:1", "move:caption",
                                               "leave:caption", "up:caption:1"};
    EXPECT_EQ(host_.Log, expected) << "the caption's mouse-up fires even outside it";
    EXPECT_FALSE(caption.Active) << "the caption's activity follows the form, not the mouse";

    auto& user = Object("tl");
    host_.Log.clear();
    user.MouseUp(1, 1, 0);
    EXPECT_TRUE(host_.Log.empty()) << "a plain object's mouse-up needs the cursor inside";
    rt::TBitmap canvas(20, 20);
    user.Draw(canvas.Canvas(), false);
    EXPECT_TRUE(host_.Logged("userpaint:tl"));
}

class ButtonLooks : public FrameObjects {
protected:
    rt::TColor DrawnAt(TskActiveSkinObject& o, bool upDate = true) {
        rt::TBitmap target(40, 40);
        o.ObjectRect = rt::Rect(10, 10, 26, 24);
        o.Draw(target.Canvas(), upDate);
        EXPECT_EQ(At(target, 9, 9), rt::clWhite) << "nothing outside the object";
        return At(target, 18, 17);
    }
};

TEST_F(ButtonLooks, EachStateShowsItsPieceOfTheButtonPicture) {
    auto& close = Object<TskSkinStdButtonObject>("closebutton");
    EXPECT_EQ(DrawnAt(close), kCloseNormal);
    close.Active = true;
    close.MorphLevel = 1;
    EXPECT_EQ(DrawnAt(close), kCloseActive);
    close.Down = true;
    close.CursorInside = true;
    EXPECT_EQ(DrawnAt(close), kCloseDown);
    close.Enabled = false;
    EXPECT_EQ(DrawnAt(close), kCloseDisabled);
}

TEST_F(ButtonLooks, MorphFrameBlendsNormalAndActiveLooks) {
    auto& close = Object<TskSkinStdButtonObject>("closebutton");
    close.Active = true;
    close.MorphLevel = 0.5;
    // 0x0000C0 and 0x00C000 half way: each channel 96.
    EXPECT_EQ(DrawnAt(close), rt::RGB(96, 96, 0));
}

TEST_F(ButtonLooks, MaximizeButtonShowsTheRestoreLooksWhileMaximized) {
    auto& max = Object<TskSkinStdButtonObject>("maxbutton");
    EXPECT_EQ(DrawnAt(max), kMaxNormal);
    host_.state = sk::TskWindowState::wsMaximized;
    EXPECT_EQ(DrawnAt(max), kRestore);
    max.Active = true;
    max.MorphLevel = 1;
    EXPECT_EQ(DrawnAt(max), kRestoreActive);
    max.Down = true;
    max.CursorInside = true;
    EXPECT_EQ(DrawnAt(max), kRestoreDown);
    host_.active = false;
    EXPECT_EQ(DrawnAt(max), kRestoreInactive);
    auto& min = Object<TskSkinStdButtonObject>("minbutton");
    EXPECT_EQ(DrawnAt(min), kMinNormal) << "minimize has no restore look in this skin";
}

TEST_F(ButtonLooks, LookInTheFramePictureIsLeftToTheFrameOnAFullPaint) {
    sk::TskDataSkinButton d("framebutton");
    d.ActivePictureIndex = 1;
    d.SkinRect = rt::Rect(90, 0, 106, 14);  // in the frame picture: kTopRight
    d.ActiveSkinRect = rt::Rect(16, 0, 32, 14);
    TskSkinButtonObject b(host_, skin_.get(), &d);
    rt::TBitmap target(40, 40);
    b.ObjectRect = rt::Rect(10, 10, 26, 24);
    b.Draw(target.Canvas(), false);
    EXPECT_EQ(At(target, 18, 17), rt::clWhite);
    EXPECT_EQ(DrawnAt(b, true), kTopRight);
    b.Active = true;
    EXPECT_EQ(DrawnAt(b, false), kCloseActive);
}

// The default look of a 17 x 17 button: glyph origin (3, 4), released.
class DefaultLook : public FrameObjects {
protected:
    rt::TBitmap Draw(TskSkinStdButtonObject& b) {
        rt::TBitmap target(17, 17);
        b.ObjectRect = rt::Rect(0, 0, 17, 17);
        b.Draw(target.Canvas(), true);
        return target;
    }
    rt::TColor face_ = rt::ColorToRGB(rt::clBtnFace);
    rt::TColor text_ = rt::ColorToRGB(rt::clBtnText);
};

TEST_F(DefaultLook, FlatFaceWithGlyphAndTheHotAndPressedPalette) {
    TskSkinStdButtonObject close(host_, "closebutton", sk::cmClose);
    EXPECT_FALSE(close.HasSkin);
    rt::TBitmap b = Draw(close);
    EXPECT_EQ(At(b, 0, 0), face_);
    // The close cross: both diagonals two pixels wide, from (x+1, y+1) and (x+9, y+1).
    EXPECT_EQ(At(b, 4, 5), text_);
    EXPECT_EQ(At(b, 5, 5), text_);
    EXPECT_EQ(At(b, 12, 5), text_);
    EXPECT_EQ(At(b, 11, 5), text_);
    EXPECT_EQ(At(b, 3, 5), face_);
    EXPECT_EQ(At(b, 8, 5), face_) << "the top of the cross is open between its arms";

    close.MouseEnter();
    EXPECT_TRUE(host_.Logged("paint:closebutton")) << "the hot look shows at once";
    b = Draw(close);
    EXPECT_EQ(At(b, 0, 0), rt::kDefaultFrame);
    EXPECT_EQ(At(b, 1, 1), rt::kDefaultHot);
    EXPECT_EQ(At(b, 4, 5), text_);

    close.Down = true;
    b = Draw(close);
    EXPECT_EQ(At(b, 1, 1), rt::kDefaultPressed);
    EXPECT_EQ(At(b, 5, 6), text_) << "pressed under the mouse, the glyph moves one pixel";
    EXPECT_EQ(At(b, 4, 5), rt::kDefaultPressed);

    close.Enabled = false;
    close.Down = close.CursorInside = false;
    b = Draw(close);
    EXPECT_EQ(At(b, 4, 5), rt::ColorToRGB(rt::clBtnShadow));
}

TEST_F(DefaultLook, GlyphsFollowTheWindowState) {
    TskSkinStdButtonObject max(host_, "maxbutton", sk::cmMaximize);
    rt::TBitmap b = Draw(max);
    // Maximize: the box (3,4)-(14,14) with a second top line; its right edge at x = 13.
    EXPECT_EQ(At(b, 3, 4), text_);
    EXPECT_EQ(At(b, 8, 5), text_);
    EXPECT_EQ(At(b, 13, 7), text_);
    EXPECT_EQ(At(b, 12, 7), face_);
    host_.state = sk::TskWindowState::wsMaximized;
    b = Draw(max);
    // Restore: the back box's right edge at x + 9 = 12, the front box from (3, 8).
    EXPECT_EQ(At(b, 12, 7), text_);
    EXPECT_EQ(At(b, 13, 7), face_);
    EXPECT_EQ(At(b, 3, 13), text_);
    EXPECT_EQ(At(b, 5, 11), face_) << "the front box hides the back box behind it";

    TskSkinStdButtonObject roll(host_, "rollupbutton", sk::cmRollUp);
    b = Draw(roll);
    // Roll-up points up: one pixel on row y + 2, nine on row y + 6.
    EXPECT_EQ(At(b, 8, 6), text_);
    EXPECT_EQ(At(b, 7, 6), face_);
    EXPECT_EQ(At(b, 4, 10), text_);
    EXPECT_EQ(At(b, 12, 10), text_);
    host_.rolledUp = true;
    b = Draw(roll);
    EXPECT_EQ(At(b, 8, 10), text_);
    EXPECT_EQ(At(b, 7, 10), face_);
    EXPECT_EQ(At(b, 4, 6), text_);

    TskSkinStdButtonObject min(host_, "minbutton", sk::cmMinimize);
    b = Draw(min);
    EXPECT_EQ(At(b, 4, 12), text_);
    EXPECT_EQ(At(b, 11, 13), text_);
    EXPECT_EQ(At(b, 4, 11), face_);

    TskSkinStdButtonObject sys(host_, "sysmenubutton", sk::cmSysMenu);
    b = Draw(sys);
    EXPECT_EQ(At(b, 4, 7), text_);
    EXPECT_EQ(At(b, 5, 8), face_);
    host_.showIcon = true;
    sk::DrawDefaultGlyph(host_.icon.Canvas(), sk::TskDefaultGlyph::Close, 0, 0, rt::clRed,
                         rt::clWhite);
    b = Draw(sys);
    EXPECT_EQ(At(b, 4, 7), rt::clWhite) << "the form's icon instead of the glyph";
}

class CaptionTest : public FrameObjects {
protected:
    TskSkinCaptionObject& Caption() { return Object<TskSkinCaptionObject>("caption"); }
};

TEST_F(CaptionTest, ImageKeepsTheFixedEndsAndTilesTheMiddleFromItsLeftEdge) {
    auto& c = Caption();
    c.ObjectRect = rt::Rect(24, 2, 200, 22);  // 176 wide
    host_.caption.clear();
    rt::TBitmap image;
    c.BuildImage(image, c.Picture, c.NormalLookRect, c.Font.Color, false);
    ASSERT_EQ(image.Width(), 176);
    // Left end: lefttoppoint.x - skinrect.left = 6 columns; right end 100 - 90 = 10 columns.
    EXPECT_EQ(At(image, 5, 5), kTopLeft);
    EXPECT_EQ(At(image, 166, 5), kTopRight);
    EXPECT_EQ(At(image, 165, 5), At(image, 165 % 60, 5));
    // The 60-column middle (30 green, 30 blue) repeats from x = 0, under the left end too.
    EXPECT_EQ(At(image, 6, 5), kTopMidA);
    EXPECT_EQ(At(image, 35, 5), kTopMidB);
    EXPECT_EQ(At(image, 65, 5), kTopMidA);
    EXPECT_EQ(At(image, 95, 5), kTopMidB);
}

TEST_F(CaptionTest, LongTextIsShortenedWithAnEllipsisAndEmptyTextDrawsNothing) {
    auto& c = Caption();
    c.ObjectRect = rt::Rect(24, 2, 200, 22);
    const rt::TRect r = c.WorkingTextRect();
    EXPECT_EQ(r, rt::Rect(4, 2, 172, 18)) << "the text rectangle grows with the caption";
    rt::TBitmap probe(1, 1);
    host_.caption = "Short";
    EXPECT_EQ(c.ShownText(probe.Canvas()), "Short");
    host_.caption = std::string(200, 'W');
    const std::string shown = c.ShownText(probe.Canvas());
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(probe.Canvas().TextWidth(shown), r.Width());
    EXPECT_GT(probe.Canvas().TextWidth(shown + "W"), r.Width() - 3);

    host_.caption.clear();
    rt::TBitmap target(220, 30);
    c.Active = false;
    c.Draw(target.Canvas(), true);
    for (int x = 0; x < 220; ++x)
        for (int y = 0; y < 30; ++y) ASSERT_EQ(At(target, x, y), rt::clWhite);
}

TEST_F(CaptionTest, ActiveCaptionDrawsItsActiveImageWithTheActiveTextColour) {
    auto& c = Caption();
    c.ObjectRect = rt::Rect(24, 2, 200, 22);
    c.Active = true;
    host_.caption = "Hello";
    rt::TBitmap target(220, 30);
    c.Draw(target.Canvas(), true);
    EXPECT_EQ(At(target, 25, 3), kCaptionActive);
    int white = 0;
    for (int x = 24; x < 200; ++x)
        for (int y = 2; y < 22; ++y) white += At(target, x, y) == rt::clWhite ? 1 : 0;
    EXPECT_GT(white, 10) << "the text in activefontcolor";

    c.Active = false;  // no morph: inactive text only, on whatever the frame shows
    rt::TBitmap plain(220, 30);
    c.Draw(plain.Canvas(), true);
    int gray = 0;
    for (int x = 24; x < 200; ++x)
        for (int y = 2; y < 22; ++y) gray += At(plain, x, y) == 0x808080 ? 1 : 0;
    EXPECT_GT(gray, 10);
    EXPECT_EQ(At(plain, 25, 3), rt::clWhite);
}

TEST_F(CaptionTest, TextFrameIsBuiltAroundTheTextAndInactiveImageGetsTheEffect) {
    sk::TskDataSkinCaption d("framed");
    d.SkinRect = rt::Rect(24, 2, 100, 22);
    d.ActivePictureIndex = 1;
    d.ActiveSkinRect = rt::Rect(0, 56, 76, 76);
    d.Morphing = true;
    d.TextRect = rt::Rect(4, 0, 72, 20);
    d.FrameRect = rt::Rect(0, 0, 16, 14);  // kCloseNormal in the button picture
    d.FrameTextRect = rt::Rect(2, 2, 14, 12);
    d.FrameLeftOffset = 2;
    d.FrameRightOffset = 2;
    d.Font.Color = 0x808080;
    TskSkinCaptionObject c(host_, skin_.get(), &d);
    c.ObjectRect = rt::Rect(0, 0, 176, 20);

    host_.caption.clear();
    rt::TBitmap empty(176, 20);
    c.Draw(empty.Canvas(), true);
    bool frame = false;
    for (int x = 0; x < 176; ++x)
        for (int y = 0; y < 20; ++y) frame = frame || At(empty, x, y) == kCloseNormal;
    EXPECT_FALSE(frame) << "no text, no text frame";

    host_.caption = "Hi";
    rt::TBitmap framed(176, 20);
    c.Draw(framed.Canvas(), true);
    frame = false;
    for (int x = 0; x < 176; ++x)
        for (int y = 0; y < 20; ++y) frame = frame || At(framed, x, y) == kCloseNormal;
    EXPECT_TRUE(frame);

    host_.rendersInactive = true;  // ieinvert in this skin
    host_.caption.clear();
    rt::TBitmap dimmed(176, 20);
    c.Draw(dimmed.Canvas(), true);
    EXPECT_EQ(At(dimmed, 1, 1), kTopLeft ^ 0xFFFFFF);
}

}  // namespace
