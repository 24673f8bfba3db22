#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/ControlTestSkin.h"
#include "skin/controls/skSkinGauge.h"
#include "skin/controls/skSkinTrackBar.h"

using namespace controltest;

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetClientSize(600, 200);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
    }
    sk::TskSkinTrackBar* Bar(bool skinned, int w = 481, int h = 17) {
        auto* t = new sk::TskSkinTrackBar(form_.get());
        t->SetBounds(0, 0, w, h);
        t->SetParent(form_.get());
        if (skinned) t->SetSkinData(data_);
        return t;
    }
    sk::TskSkinGauge* Gauge(bool skinned, int w = 100, int h = 20) {
        auto* g = new sk::TskSkinGauge(form_.get());
        g->SetBounds(0, 0, w, h);
        g->SetParent(form_.get());
        if (skinned) g->SetSkinData(data_);
        return g;
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
};

TEST_F(Controls, TrackBarValueClampsAndNotifiesOnlyOnChange) {
    auto* t = Bar(false);
    int changes = 0;
    t->OnChange = [&](rt::TComponent*) { ++changes; };
    EXPECT_EQ(t->Value(), 50);
    t->SetValue(50);
    EXPECT_EQ(changes, 0);
    t->SetValue(150);
    EXPECT_EQ(t->Value(), 100);
    EXPECT_EQ(changes, 1);
    t->SetValue(100);
    EXPECT_EQ(changes, 1);
    t->SetMaxValue(60);  // pulls the value in without a notification
    EXPECT_EQ(t->Value(), 60);
    t->SetMinValue(70);
    EXPECT_EQ(t->Value(), 70);
    EXPECT_EQ(changes, 1);
    t->SetValue(-5);
    EXPECT_EQ(t->Value(), 70);  // above MaxValue is checked first, then below MinValue
}

TEST_F(Controls, SkinnedThumbGeometryOnA481PixelBar) {
    auto* t = Bar(true);
    EXPECT_EQ(t->Height(), 18);  // smHorizontal keeps the skin rect's height
    struct Case {
        int value, thumbLeft;
    } cases[] = {{0, 1}, {50, 1 + 230}, {100, 1 + 461}, {1, 1 + 5}};  // nearest(230.5) = 230
    for (const Case& c : cases) {
        t->SetValue(c.value);
        rt::TBitmap b = t->PaintToBitmap();
        EXPECT_EQ(t->FitTrackArea(), rt::Rect(1, 0, 480, 18));
        EXPECT_EQ(t->TrackStart(), 10);
        EXPECT_EQ(t->TrackEnd(), 471);
        EXPECT_EQ(t->ThumbBox(), rt::Bounds(c.thumbLeft, 0, 19, 18)) << c.value;
        EXPECT_EQ(PixelAt(b, c.thumbLeft, 9), kYellow) << c.value;
        EXPECT_EQ(PixelAt(b, c.thumbLeft + 18, 9), kYellow) << c.value;
    }
    t->SetValue(0);
    rt::TBitmap b = t->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 9), kRed);     // left end piece
    EXPECT_EQ(PixelAt(b, 20, 9), kGreen);  // tiled middle
    EXPECT_EQ(PixelAt(b, 480, 9), kBlue);  // right end piece
    t->SetValue(100);
    b = t->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 480, 9), kYellow);  // the thumb touches the right end
    EXPECT_EQ(PixelAt(b, 461, 9), kGreen);
}

TEST_F(Controls, UnskinnedThumbGeometryAndDefaultLook) {
    auto* t = Bar(false);
    t->SetValue(0);
    rt::TBitmap b = t->PaintToBitmap();
    EXPECT_EQ(t->TrackStart(), 5);
    EXPECT_EQ(t->TrackEnd(), 476);
    EXPECT_EQ(t->ThumbBox(), rt::Bounds(2, 2, 6, 13));
    const rt::TColor shadow = rt::ColorToRGB(rt::clBtnShadow);
    const rt::TColor face = rt::ColorToRGB(rt::clBtnFace);
    EXPECT_EQ(PixelAt(b, 0, 0), shadow);                                // frame around the control
    EXPECT_EQ(PixelAt(b, 2, 2), shadow);                                // thumb frame
    EXPECT_EQ(PixelAt(b, 4, 4), face);                                  // thumb fill
    EXPECT_EQ(PixelAt(b, 100, 7), shadow);                              // groove top
    EXPECT_EQ(PixelAt(b, 100, 8), rt::ColorToRGB(rt::clBtnHighlight));  // groove bottom
    t->SetValue(100);
    t->PaintToBitmap();
    EXPECT_EQ(t->ThumbBox(), rt::Bounds(473, 2, 6, 13));
    // Dragging shows the pressed colours of the one palette.
    Press(t, 475, 8);
    ASSERT_TRUE(t->ThumbDragging());
    b = t->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 473, 2), rt::clNavy);
    EXPECT_EQ(PixelAt(b, 475, 8), rt::TColor(0xB59385));
    Release(t, 475, 8);
    EXPECT_FALSE(t->ThumbDragging());
}

TEST_F(Controls, DraggingTheThumbFollowsTheMouseAndClamps) {
    auto* t = Bar(true);
    t->SetValue(0);
    int changes = 0;
    t->OnChange = [&](rt::TComponent*) { ++changes; };
    Press(t, 5, 9);  // on the thumb (0..18)
    ASSERT_TRUE(t->ThumbDragging());
    rt::TBitmap b = t->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 5, 9), kMagenta);  // active thumb while dragged
    Move(t, 5 + 230, 9);
    EXPECT_EQ(t->Value(), 50);  // nearest(100 * 230 / 461) = 50
    Move(t, 5000, 9);
    EXPECT_EQ(t->Value(), 100);
    Move(t, -300, 9);
    EXPECT_EQ(t->Value(), 0);
    EXPECT_EQ(changes, 3);
    Release(t, -300, 9);
    EXPECT_FALSE(t->ThumbDragging());
    Move(t, 200, 9);
    EXPECT_EQ(t->Value(), 0);  // no drag any more

    t->MouseSupport = false;
    Press(t, 5, 9);
    EXPECT_FALSE(t->ThumbDragging());
}

TEST_F(Controls, ClickBesideTheThumbJumpsOnlyWhenAsked) {
    auto* t = Bar(true);
    t->SetValue(0);
    Press(t, 240, 9);
    Release(t, 240, 9);
    EXPECT_EQ(t->Value(), 0);
    t->JumpWhenClick = true;
    Press(t, 240, 9);
    Release(t, 240, 9);
    EXPECT_EQ(t->Value(), 50);  // p = 240 - 19/2 - 1 = 230
    auto* plain = Bar(false);
    plain->JumpWhenClick = true;
    plain->SetValue(0);
    Press(plain, 476, 8);
    Release(plain, 476, 8);
    EXPECT_EQ(plain->Value(), 100);  // p = 476 - 3 - 2 = 471, the whole travel
}

TEST_F(Controls, KeysAndWheelOnlyWhenTheBarMayTakeTheFocus) {
    auto* t = Bar(false);
    t->Perform(rt::WM_KEYDOWN, rt::VK_RIGHT, 0);
    t->Perform(rt::WM_MOUSEWHEEL, std::intptr_t(120) << 16, 0);
    EXPECT_EQ(t->Value(), 50);
    t->SetCanFocused(true);
    EXPECT_TRUE(t->TabStop);
    struct Case {
        int key, delta;
    } cases[] = {{rt::VK_RIGHT, 1}, {rt::VK_UP, 1}, {rt::VK_LEFT, -1}, {rt::VK_DOWN, -1}};
    for (const Case& c : cases) {
        const int before = t->Value();
        t->Perform(rt::WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(t->Value(), before + c.delta) << c.key;
    }
}

TEST_F(Controls, EqualEndsPutTheThumbAtTheMinimumAndEveryDragThere) {
    auto* t = Bar(false);
    t->SetMaxValue(0);
    t->SetMinValue(0);
    t->PaintToBitmap();
    EXPECT_EQ(t->ThumbOffset(), 0);
    EXPECT_EQ(t->ValueForOffset(300), 0);
    auto* tiny = Bar(false, 8, 17);  // the track is no longer than the thumb
    tiny->PaintToBitmap();
    EXPECT_EQ(tiny->ValueForOffset(3), tiny->MinValue());
}

TEST_F(Controls, VerticalTrackBarGrowsUpwards) {
    auto* t = Bar(false, 20, 100);
    t->SetVertical(true);
    t->SetValue(0);
    t->PaintToBitmap();
    // T = (2, 2, 18, 98); thumb 16 x 8: TrackStart 6, TrackEnd 94; at the minimum it sits low.
    EXPECT_EQ(t->ThumbBox(), rt::Bounds(2, 90, 16, 8));
    t->SetValue(100);
    t->PaintToBitmap();
    EXPECT_EQ(t->ThumbBox(), rt::Bounds(2, 2, 16, 8));
    Press(t, 10, 5);
    Move(t, 10, 5 + 44);  // half the travel down
    EXPECT_EQ(t->Value(), 50);
    Release(t, 10, 49);
}

TEST_F(Controls, GaugeTextIsProgressTextThenPercent) {
    auto* g = Gauge(false);
    g->SetProgressText("Cutting ");
    EXPECT_EQ(g->DisplayText(), "");
    g->SetShowProgressText(true);
    g->SetShowPercent(true);
    EXPECT_EQ(g->DisplayText(), "Cutting 50%");
    g->SetShowProgressText(false);
    g->SetValue(1);
    g->SetMaxValue(3);
    EXPECT_EQ(g->DisplayText(), "33%");
    g->SetMaxValue(0);
    EXPECT_EQ(g->Value(), 0);
    EXPECT_EQ(g->DisplayText(), "0%");
}

TEST_F(Controls, GaugeFillIsRoundedToTheNearestPixel) {
    auto* g = Gauge(false);
    g->SetMaxValue(3);
    struct Case {
        int value, right, top;
    } cases[] = {{0, 0, 100}, {1, 33, 67}, {2, 67, 33}, {3, 100, 0}};
    for (const Case& c : cases) {
        g->SetValue(c.value);
        g->SetVertical(false);
        EXPECT_EQ(g->FilledPart(rt::Rect(0, 0, 100, 100)).Right, c.right) << c.value;
        g->SetVertical(true);
        EXPECT_EQ(g->FilledPart(rt::Rect(0, 0, 100, 100)).Top, c.top) << c.value;
    }
    g->SetValue(10);
    EXPECT_EQ(g->Value(), 3);
    g->SetValue(-10);
    EXPECT_EQ(g->Value(), 0);
}

TEST_F(Controls, GaugeDefaultLook) {
    auto* g = Gauge(false);
    rt::TBitmap b = g->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(PixelAt(b, 49, 10), rt::TColor(0xD2BDB6));  // 49 of 98 columns filled
    EXPECT_EQ(PixelAt(b, 50, 10), rt::ColorToRGB(rt::clWindow));
}

TEST_F(Controls, GaugeTextIsCentredOnTheControl) {
    auto* g = Gauge(false, 200, 30);
    g->SetValue(0);
    g->SetProgressText("Succeeded!");
    g->SetShowProgressText(true);
    rt::TBitmap b = g->PaintToBitmap();
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    const rt::TColor ink = rt::ColorToRGB(rt::clWindowText);
    for (int y = 1; y < 29; ++y)
        for (int x = 1; x < 199; ++x)
            if (PixelAt(b, x, y) == ink) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no text drawn";
    EXPECT_NEAR((minX + maxX) / 2.0, 100, 3);
    EXPECT_NEAR((minY + maxY) / 2.0, 15, 3);

    auto* v = Gauge(false, 30, 200);
    v->SetVertical(true);
    v->SetValue(0);
    v->SetProgressText("Succeeded!");
    v->SetShowProgressText(true);
    b = v->PaintToBitmap();
    minX = minY = 1000;
    maxX = maxY = -1;
    for (int y = 1; y < 199; ++y)
        for (int x = 1; x < 29; ++x)
            if (PixelAt(b, x, y) == ink) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no vertical text drawn";
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));  // runs along the bar
    EXPECT_NEAR((minY + maxY) / 2.0, 100, 3);
}

TEST_F(Controls, SkinnedGaugeFillsWithEndPiecesAndTiledMiddle) {
    auto* g = Gauge(true);
    EXPECT_EQ(g->Height(), 10);
    EXPECT_EQ(g->FitProgressArea(), rt::Rect(2, 2, 98, 8));
    g->SetValue(50);  // 48 of 96 pixels: 2..50
    rt::TBitmap b = g->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 1, 4), kGray);
    EXPECT_EQ(PixelAt(b, 2, 4), kOrange);
    EXPECT_EQ(PixelAt(b, 3, 4), kOrange);
    EXPECT_EQ(PixelAt(b, 4, 4), kCyan);
    EXPECT_EQ(PixelAt(b, 47, 4), kCyan);
    EXPECT_EQ(PixelAt(b, 48, 4), kPurple);
    EXPECT_EQ(PixelAt(b, 49, 4), kPurple);
    EXPECT_EQ(PixelAt(b, 50, 4), kGray);
    g->SetValue(0);
    b = g->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 2, 4), kGray);  // no fill and no end pieces
    EXPECT_EQ(PixelAt(b, 3, 4), kGray);
    g->SetValue(3);  // 3 pixels: less than both end pieces, more than nothing
    b = g->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 2, 4), kGray);
}

TEST_F(Controls, SkinnedGaugeTextUsesTheSkinFont) {
    auto* g = Gauge(true, 200, 20);
    g->SetValue(0);
    g->SetProgressText("WWWW");
    g->SetShowProgressText(true);
    EXPECT_EQ(g->TextFont().Color, 255);
    rt::TBitmap b = g->PaintToBitmap();
    int red = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 10; ++y) red += PixelAt(b, x, y) == 255 ? 1 : 0;
    EXPECT_GT(red, 10);
    g->SetUseSkinFont(false);
    EXPECT_EQ(g->TextFont().Name, g->DefaultFont().Name);
    EXPECT_EQ(g->TextFont().Color, 255);
}

}  // namespace
