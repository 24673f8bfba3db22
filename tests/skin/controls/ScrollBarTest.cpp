#include <gtest/gtest.h>

#include <memory>

#include "runtime/Application.h"
#include "skin/controls/DialogControlsSkin.h"
#include "skin/controls/skSkinScrollBar.h"

using namespace dialogskin;
using Bar = sk::TskSkinScrollBar;

namespace {

class ScrollBars : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetClientSize(600, 400);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
    }
    Bar* Make(bool skinned, int w = 200, int h = 19, bool vertical = false) {
        auto* b = new Bar(form_.get());
        if (vertical) {
            b->SetKind(sk::sbVertical);
            b->SetSkinDataName("vscrollbar");
        }
        b->SetBounds(0, 0, w, h);
        b->SetParent(form_.get());
        if (skinned) b->SetSkinData(data_);
        b->LayoutParts();
        return b;
    }
    static void Fire(Bar* b) {
        rt::TTimer* t = b->RepeatTimer();
        ASSERT_NE(t, nullptr);
        t->OnTimer(t);
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
};

TEST_F(ScrollBars, PositionRangeAndPageClamping) {
    Bar* b = Make(false);
    int changes = 0;
    b->OnChange = [&](rt::TComponent*) { ++changes; };
    b->SetPosition(150);
    EXPECT_EQ(b->Position(), 100);
    b->SetPosition(-3);
    EXPECT_EQ(b->Position(), 0);
    EXPECT_EQ(changes, 2);
    b->SetPosition(0);
    EXPECT_EQ(changes, 2) << "no change, no notification";

    b->SetPageSize(20);
    b->SetPosition(95);
    EXPECT_EQ(b->Position(), 81) << "with a page the last position is Max - PageSize + 1";
    b->SetPageSize(30);
    EXPECT_EQ(b->PageSize(), 20) << "a page that no longer fits from the position is refused";

    b->SetMax(50);
    EXPECT_EQ(b->Position(), 31);
    b->SetPageSize(0);
    b->SetMax(10);
    EXPECT_EQ(b->Position(), 10);
    b->SetMin(20);
    EXPECT_EQ(b->Position(), 20);
    EXPECT_EQ(changes, 3) << "range setters move the position without OnChange";

    b->SetRange(10, 200, 50, 500);
    EXPECT_EQ(b->Position(), 151);
    b->SetRange(10, 19, 50, 15);
    EXPECT_EQ(b->Position(), 10) << "a page larger than the range keeps the position at Min";
    b->SetRange(100, 300, 20, 290);
    b->SetMax(250);
    EXPECT_EQ(b->Position(), 231) << "with Min above 0 the position keeps a whole page in range";
    EXPECT_EQ(changes, 3);
}

TEST_F(ScrollBars, UnskinnedLayoutAndThumbAtBothEnds) {
    Bar* b = Make(false);
    EXPECT_EQ(b->Part(Bar::kDownButton).Rect, rt::Rect(1, 1, 17, 18));
    EXPECT_EQ(b->Part(Bar::kUpButton).Rect, rt::Rect(183, 1, 199, 18));
    EXPECT_EQ(b->TrackRect(), rt::Rect(17, 1, 183, 18));
    EXPECT_EQ(b->TrackStart(), 25);
    EXPECT_EQ(b->TrackEnd(), 175);
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(17, 1, 33, 18));
    b->SetPosition(100);
    b->LayoutParts();
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(167, 1, 183, 18));

    b->SetBoth(true);
    b->LayoutParts();
    EXPECT_EQ(b->Part(Bar::kUpButton).Rect, rt::Rect(164, 1, 180, 18));
    EXPECT_EQ(b->TrackRect(), rt::Rect(17, 1, 164, 18));
    b->SetBoth(false);
    EXPECT_EQ(b->SkinDataName(), "hscrollbar");

    Bar* v = Make(false, 19, 150, true);
    EXPECT_EQ(v->Part(Bar::kDownButton).Rect, rt::Rect(1, 1, 18, 17));
    EXPECT_EQ(v->Part(Bar::kUpButton).Rect, rt::Rect(1, 133, 18, 149));
    v->SetPosition(100);
    v->LayoutParts();
    EXPECT_EQ(v->Part(Bar::kThumb).Rect, rt::Rect(1, 117, 18, 133)) << "vertical bars grow down";

    // Default look: face, framed buttons with arrows, the thumb; pressed colours while held.
    rt::TBitmap img = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 1, 1), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(PixelAt(img, 0, 0), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(PixelAt(img, 9, 9), kBlack) << "arrow";
    Press(b, 175, 9);
    img = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 167, 1), rt::kDefaultFrame);
    EXPECT_EQ(PixelAt(img, 175, 5), rt::kDefaultPressed);
}

TEST_F(ScrollBars, PageSizeSetsTheThumbLength) {
    Bar* b = Make(false);
    b->SetRange(0, 99, 25, 0);
    b->LayoutParts();
    // 166 pixels of track, a quarter of it: nearest(41.5) = 42.
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(17, 1, 59, 18));
    b->SetPosition(1000);
    b->LayoutParts();
    EXPECT_EQ(b->Position(), 75);
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(141, 1, 183, 18));

    b->SetRange(0, 99, 1, 0);
    b->LayoutParts();
    EXPECT_EQ(b->Part(Bar::kThumb).Rect.Width(), 16) << "never shorter than 16";

    // A page as large as the range: the far end of a horizontal bar, the start of a vertical.
    b->SetRange(0, 9, 10, 0);
    b->LayoutParts();
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(17, 1, 183, 18));
    Bar* v = Make(false, 19, 150, true);
    v->SetRange(0, 9, 10, 0);
    v->LayoutParts();
    EXPECT_EQ(v->Part(Bar::kThumb).Rect.Top, 17);
}

TEST_F(ScrollBars, TrackShorterThanTheThumb) {
    Bar* b = Make(false, 45, 19);  // 11 pixels of track for a 16-pixel thumb
    EXPECT_EQ(b->TrackRect().Width(), 11);
    EXPECT_TRUE(b->Part(Bar::kThumb).Rect.IsEmpty()) << "no thumb reaching over the buttons";
    b->SetPosition(70);
    b->LayoutParts();
    EXPECT_TRUE(b->Part(Bar::kThumb).Rect.IsEmpty());
    EXPECT_GE(b->Part(Bar::kThumb).Rect.Left, b->TrackRect().Left);
    rt::TBitmap img = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 22, 9), rt::ColorToRGB(rt::clBtnFace));

    // A track exactly as long as the thumb: the thumb fills it and every drag gives Min.
    Bar* exact = Make(false, 50, 19);
    ASSERT_EQ(exact->TrackRect().Width(), 16);
    exact->SetPosition(40);
    exact->LayoutParts();
    EXPECT_EQ(exact->Part(Bar::kThumb).Rect, rt::Rect(17, 1, 33, 18));
    Press(exact, 20, 9);
    Move(exact, 30, 9);
    EXPECT_EQ(exact->Position(), 0);
}

TEST_F(ScrollBars, DragMapsTheThumbOffsetToAPosition) {
    Bar* b = Make(false);
    Press(b, 20, 9);  // on the thumb at 17..33
    ASSERT_TRUE(b->ThumbDragging());
    int lastChanges = 0;
    b->OnLastChange = [&](rt::TComponent*) { ++lastChanges; };
    const struct {
        int x, position;
    } moves[] = {{95, 50}, {20 + 150, 100}, {400, 100}, {-50, 0}, {21, 1}, {22, 1}, {23, 2}};
    for (const auto& m : moves) {
        Move(b, m.x, 9);
        EXPECT_EQ(b->Position(), m.position) << "x " << m.x;
    }
    Release(b, 23, 9);
    EXPECT_FALSE(b->ThumbDragging());
    EXPECT_EQ(lastChanges, 1);

    // With a page size the drag covers Min .. Max - PageSize + 1 over the shorter travel.
    b->SetRange(0, 99, 25, 0);
    b->LayoutParts();
    Press(b, 20, 9);
    Move(b, 20 + 124, 9);  // the whole travel: 166 - 42
    EXPECT_EQ(b->Position(), 75);
    Move(b, 20 + 62, 9);
    EXPECT_EQ(b->Position(), 38);  // nearest(37.5) = 38
    Release(b, 82, 9);
}

TEST_F(ScrollBars, ButtonRepeatFirstAfter500ThenEvery50AndPausesOffTheButton) {
    Bar* b = Make(false);
    int lastChanges = 0;
    b->OnLastChange = [&](rt::TComponent*) { ++lastChanges; };
    Press(b, 190, 9);
    EXPECT_EQ(b->Position(), 1) << "one step at once";
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 500);
    Fire(b);
    EXPECT_EQ(b->Position(), 1) << "the first tick only switches to the fast rate";
    EXPECT_EQ(b->RepeatTimer()->Interval(), 50);
    Fire(b);
    Fire(b);
    EXPECT_EQ(b->Position(), 3);

    Move(b, 100, 9);
    EXPECT_EQ(b->RepeatTimer(), nullptr) << "paused while the cursor is off the button";
    EXPECT_EQ(b->RepeatState(), Bar::rsUpButton);
    Move(b, 190, 9);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 50);
    Fire(b);
    EXPECT_EQ(b->Position(), 4) << "back on the button the steps resume";
    Release(b, 190, 9);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    EXPECT_EQ(lastChanges, 0) << "arrow buttons are no last change";

    int upClicks = 0;
    b->OnUpButtonClick = [&](rt::TComponent*) { ++upClicks; };
    Press(b, 190, 9);
    Fire(b);
    Fire(b);
    Release(b, 190, 9);
    EXPECT_EQ(upClicks, 2);
    EXPECT_EQ(b->Position(), 4) << "the handler replaces the stepping";

    Press(b, 5, 9);
    EXPECT_EQ(b->Position(), 3);
    Release(b, 5, 9);
}

TEST_F(ScrollBars, PagingStopsWhenTheThumbReachesTheCursor) {
    Bar* b = Make(false);
    b->SetLargeChange(10);
    int lastChanges = 0;
    b->OnLastChange = [&](rt::TComponent*) { ++lastChanges; };
    Press(b, 100, 9);
    EXPECT_EQ(b->Position(), 10);
    EXPECT_EQ(b->RepeatState(), Bar::rsPageOn);
    Fire(b);  // the 500 ms tick
    for (int i = 0; i < 20 && b->RepeatTimer() != nullptr; ++i) Fire(b);
    // Position 50 puts the thumb at 92..108, over the cursor.
    EXPECT_EQ(b->Position(), 50);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    b->LayoutParts();
    EXPECT_TRUE(b->Part(Bar::kThumb).Rect.Contains(rt::Point(100, 9)));
    Release(b, 100, 9);
    EXPECT_EQ(lastChanges, 1);

    Press(b, 40, 9);
    EXPECT_EQ(b->RepeatState(), Bar::rsPageBack);
    Fire(b);
    for (int i = 0; i < 20 && b->RepeatTimer() != nullptr; ++i) Fire(b);
    EXPECT_EQ(b->Position(), 10) << "the thumb at 32..48 has reached the cursor";
    Release(b, 40, 9);
}

TEST_F(ScrollBars, SkinnedGeometryFollowsTheSkin) {
    Bar* b = Make(true, 300, 30);
    ASSERT_NE(b->SkinIndex(), -1);
    EXPECT_EQ(b->Height(), 15) << "smHorizontal keeps the skin's height";
    EXPECT_EQ(b->TrackRect(), rt::Rect(15, 0, 285, 15));
    EXPECT_EQ(b->Part(Bar::kUpButton).Rect, rt::Rect(285, 0, 300, 15));
    EXPECT_EQ(b->Part(Bar::kDownButton).Rect, rt::Rect(0, 0, 15, 15));
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(15, 2, 35, 13)) << "centred across the track";
    b->SetPosition(100);
    b->LayoutParts();
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(265, 2, 285, 13));

    rt::TBitmap img = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 5, 7), kRed);
    EXPECT_EQ(PixelAt(img, 100, 7), kTeal);
    EXPECT_EQ(PixelAt(img, 290, 7), kBlue);
    EXPECT_EQ(PixelAt(img, 266, 7), kOrange);
    EXPECT_EQ(PixelAt(img, 270, 3), kOlive);
    EXPECT_EQ(PixelAt(img, 275, 7), kBlack) << "glyph centred on the thumb";

    // A page stretches the thumb with fixed ends of thumboffset1 and thumboffset2.
    b->SetRange(0, 99, 50, 0);
    img = b->PaintToBitmap();
    EXPECT_EQ(b->Part(Bar::kThumb).Rect, rt::Rect(15, 2, 149, 13));
    EXPECT_EQ(PixelAt(img, 17, 7), kOrange);
    EXPECT_EQ(PixelAt(img, 18, 3), kOlive);
    EXPECT_EQ(PixelAt(img, 140, 3), kOlive);
    EXPECT_EQ(PixelAt(img, 148, 7), kOrange);

    Bar* v = Make(true, 30, 200, true);
    EXPECT_EQ(v->Width(), 15);
    EXPECT_EQ(v->TrackRect(), rt::Rect(0, 15, 15, 185));
    EXPECT_EQ(v->Part(Bar::kUpButton).Rect, rt::Rect(0, 185, 15, 200));
    EXPECT_EQ(v->Part(Bar::kThumb).Rect, rt::Rect(2, 15, 13, 35));
}

// A skin going away (No Skin) leaves each bar 19 across and its length as it was.
TEST_F(ScrollBars, ClearedSkinKeepsTheLengthOfBothKinds) {
    Bar* h = Make(true, 300, 30);
    Bar* v = Make(true, 30, 200, true);
    ASSERT_EQ(v->Width(), 15);
    data_->ClearSkin();
    for (Bar* b : {h, v}) b->ApplySkin();
    EXPECT_EQ(h->BoundsRect(), rt::Bounds(0, 0, 300, 19));
    EXPECT_EQ(v->BoundsRect(), rt::Bounds(0, 0, 19, 200));
    v->LayoutParts();
    EXPECT_EQ(v->Part(Bar::kUpButton).Rect, rt::Rect(1, 183, 18, 199))
        << "the far button at the end";
}

TEST_F(ScrollBars, SkinnedStateImagesAndTheirFallbacks) {
    Bar* b = Make(true, 300, 15);
    auto paint = [&] { return b->PaintToBitmap(); };
    Move(b, 290, 7);
    rt::TBitmap img = paint();
    EXPECT_EQ(PixelAt(img, 290, 7), kYellow) << "active up button";
    Press(b, 290, 7);
    img = paint();
    EXPECT_EQ(PixelAt(img, 290, 7), kYellow) << "no down image: the active one";
    Move(b, 150, 7);
    img = paint();
    EXPECT_EQ(PixelAt(img, 290, 7), kBlue) << "off the held button: the background";
    Release(b, 150, 7);

    Move(b, 5, 7);
    EXPECT_EQ(PixelAt(img = paint(), 5, 7), kCyan) << "active down button";
    Press(b, 5, 7);
    EXPECT_EQ(PixelAt(img = paint(), 5, 7), kPurple) << "down down button";
    Release(b, 5, 7);

    b->SetPosition(0);
    Move(b, 25, 7);
    EXPECT_EQ(PixelAt(img = paint(), 20, 3), kOlive) << "no active thumb: the normal one";
    Press(b, 25, 7);
    EXPECT_EQ(PixelAt(img = paint(), 20, 3), kMaroon) << "down thumb while dragging";
    Release(b, 25, 7);
    b->SetEnabled(false);
    EXPECT_EQ(PixelAt(img = paint(), 20, 3), kTeal) << "a disabled bar shows no thumb";
}

TEST_F(ScrollBars, KeysAndWheelOnlyWithFocus) {
    Bar* b = Make(false);
    form_->Show();
    rt::Application()->ProcessMessages();
    b->Perform(rt::WM_KEYDOWN, rt::VK_RIGHT, 0);
    EXPECT_EQ(b->Position(), 0);
    b->SetCanFocused(true);
    EXPECT_TRUE(b->TabStop);
    EXPECT_EQ(b->Perform(rt::WM_GETDLGCODE, 0, 0), rt::DLGC_WANTARROWS);
    b->SetSmallChange(5);
    b->Perform(rt::WM_KEYDOWN, rt::VK_RIGHT, 0);
    b->Perform(rt::WM_KEYDOWN, rt::VK_DOWN, 0);
    b->Perform(rt::WM_KEYDOWN, rt::VK_UP, 0);
    EXPECT_EQ(b->Position(), 5);
    const std::intptr_t notchDown = std::intptr_t(std::int16_t(-120)) << 16;
    b->Perform(rt::WM_MOUSEWHEEL, notchDown, 0);
    EXPECT_EQ(b->Position(), 5) << "the wheel needs the focus";
    Press(b, 100, 9);
    Release(b, 100, 9);
    ASSERT_TRUE(b->Focused()) << "a press focuses a focusable bar";
    EXPECT_EQ(b->Position(), 6) << "the press paged on by LargeChange";
    b->Perform(rt::WM_MOUSEWHEEL, notchDown, 0);
    EXPECT_EQ(b->Position(), 11);
}

}  // namespace
