#include <gtest/gtest.h>

#include "skin/form/FormFakes.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skFrameStrips.h"
#include "skin/form/skSkinForm.h"

using namespace formtest;
using rt::Rect;
using rt::TRect;

namespace {

constexpr rt::TColor kUntouched = 0x010203;

struct Probe {
    int x, y;  // window coordinates
    rt::TColor color;
};

class FramePaint : public ::testing::Test {
protected:
    // A skinned form on a fake window of w x h.
    void Make(int w, int h, const SkinOptions& o = {}) {
        data_ = MakeSkinData(o);
        state_.bounds = rt::Bounds(50, 60, w, h);
        form_ = std::make_unique<sk::TskSkinForm>(nullptr);
        form_->SetWindow(std::make_unique<FakeWindow>(state_));
        form_->SetSkinData(data_.get());
        form_->NcActivate(true);
    }
    // The frame painted onto a window-sized bitmap whose client area holds a marker colour.
    rt::TBitmap Paint() {
        const TRect b = state_.bounds;
        rt::TBitmap window(b.Width(), b.Height());
        Fill(window, Rect(0, 0, b.Width(), b.Height()), kUntouched);
        form_->PaintFrame(window.Canvas());
        return window;
    }
    void Check(const rt::TBitmap& window, const std::vector<Probe>& probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(At(window, p.x, p.y), p.color) << "at " << p.x << "," << p.y;
    }

    FakeWindow::State state_;
    std::unique_ptr<sk::TskSkinData> data_;
    std::unique_ptr<sk::TskSkinForm> form_;
};

TEST_F(FramePaint, StripsTileFromTheirEdgesUnderTheCornerCopies) {
    Make(300, 200, {.mask = false});
    const rt::TBitmap w = Paint();
    Check(w, {
                 // Top: the 60-column middle repeats from x = 0, the corners are copied over it.
                 {0, 0, kTopLeft},
                 {29, 23, kTopLeft},
                 {30, 0, kTopMidB},
                 {60, 0, kTopMidA},
                 {239, 0, kTopMidB},
                 {240, 0, kTopMidA},
                 {269, 0, kTopMidA},
                 {270, 0, kTopRight},
                 {299, 23, kTopRight},
                 // Bottom strip at y = 196, the same way.
                 {0, 196, kBotLeft},
                 {100, 199, kBotMidB},
                 {130, 196, kBotMidA},
                 {270, 199, kBotRight},
                 // Left and right: 16 fixed rows at each end, the 20-row middle from the top.
                 {0, 24, kLeftUp},
                 {3, 39, kLeftUp},
                 {0, 40, kLeftMidB},
                 {0, 44, kLeftMidA},
                 {0, 54, kLeftMidB},
                 {0, 179, kLeftMidB},
                 {0, 180, kLeftLow},
                 {3, 195, kLeftLow},
                 {296, 24, kRightUp},
                 {299, 44, kRightMidA},
                 {296, 54, kRightMidB},
                 {296, 195, kRightLow},
                 // The client area is not the frame's.
                 {4, 24, kUntouched},
                 {295, 195, kUntouched},
             });
}

TEST_F(FramePaint, NaturalAndSmallSizesKeepTheCornersInPlace) {
    Make(120, 80, {.mask = false});
    Check(Paint(), {{29, 0, kTopLeft},
                    {30, 0, kTopMidB},
                    {90, 0, kTopRight},
                    {0, 40, kLeftMidB},
                    {0, 60, kLeftLow},
                    {119, 79, kBotRight},
                    {116, 75, kRightLow}});
    // 40 high: the side strips are 12 rows, the lower fixed rows are copied over the upper.
    Make(120, 40, {.mask = false});
    Check(Paint(), {{0, 24, kLeftLow},
                    {0, 35, kLeftLow},
                    {119, 30, kRightLow},
                    {60, 36, kBotMidA},
                    {30, 36, kBotMidB}});
}

TEST_F(FramePaint, StretchKeysStretchTheMiddleBetweenTheMovedPoints) {
    Make(300, 200, {.mask = false, .stretch = true});
    const rt::TBitmap w = Paint();
    Check(w, {
                 {29, 0, kTopLeft},
                 {30, 0, kTopMidA},
                 {149, 0, kTopMidA},
                 {150, 0, kTopMidB},
                 {269, 0, kTopMidB},
                 {270, 0, kTopRight},
                 {150, 196, kBotMidB},
                 {149, 196, kBotMidA},
                 {0, 40, kLeftMidA},
                 {0, 109, kLeftMidA},
                 {0, 110, kLeftMidB},
                 {0, 179, kLeftMidB},
                 {0, 180, kLeftLow},
                 {299, 110, kRightMidB},
             });
}

TEST_F(FramePaint, CaptionButtonsSitOnTheFrameAndInactiveFramesUseTheirLook) {
    Make(300, 200, {.inactivePicture = false, .autoInactive = true});
    rt::TBitmap w = Paint();
    Check(w, {{280, 8, kCloseNormal}, {226, 8, kRollNormal}, {25, 8, kSysNormal}});

    form_->NcActivate(false);
    w = Paint();
    // ieinvert over the strips; the buttons are drawn after the effect, in their own looks.
    Check(w, {{0, 0, kTopLeft ^ 0xFFFFFF},
              {0, 196, kBotLeft ^ 0xFFFFFF},
              {280, 8, kCloseNormal},
              {150, 100, kUntouched}});

    Make(300, 200, {.inactivePicture = true});
    form_->NcActivate(false);
    w = Paint();
    Check(w,
          {{0, 0, kInactive}, {150, 198, kInactive}, {1, 100, kInactive}, {280, 8, kCloseNormal}});
}

TEST_F(FramePaint, HoverRepaintsOnlyTheObjectOnTheComposedFrame) {
    Make(300, 200);
    Paint();
    state_.cursor = rt::Point(50 + 280, 60 + 8);
    EXPECT_EQ(form_->HitTest(state_.cursor), sk::HTOBJECT);
    EXPECT_EQ(form_->Objects()[std::size_t(form_->HoverIndex())]->IDName, "closebutton");
    EXPECT_TRUE(form_->MorphTickerEnabled());
    for (int i = 0; i < 10; ++i) form_->MorphTimerTick();
    ASSERT_FALSE(state_.framePieces.empty());
    EXPECT_EQ(state_.framePieces.back(), form_->FindObject("closebutton")->ObjectRect)
        << "each step paints only the button";
    Check(Paint(), {{280, 8, kCloseActive}, {262, 8, kMaxNormal}});
    form_->MorphTimerTick();
    EXPECT_FALSE(form_->MorphTickerEnabled()) << "the timer stops when nothing morphs";
}

TEST_F(FramePaint, ObjectsBelowTheClientTopAreDrawnIntoTheBottomStrip) {
    Make(300, 200);
    std::vector<TRect> seen;
    form_->OnPaintEvent = [&](const std::string& id, rt::TCanvas& c, const TRect& r) {
        if (id != "bl") return;
        seen.push_back(r);
        c.Brush.Color = rt::clFuchsia;
        c.FillRect(r);
    };
    const rt::TBitmap w = Paint();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], Rect(2, 1, 10, 3)) << "in the bottom strip's coordinates";
    Check(w, {{5, 198, rt::clFuchsia}, {5, 1, kTopLeft}});
}

TEST_F(FramePaint, MaskStripsGiveTheWindowItsShape) {
    Make(300, 200);
    ASSERT_TRUE(state_.region.has_value());
    const rt::TRegion& r = *state_.region;
    EXPECT_EQ(r.BoundingRect(), Rect(0, 0, 300, 200));
    EXPECT_TRUE(r.Contains(150, 100));
    EXPECT_TRUE(r.Contains(4, 0));
    EXPECT_TRUE(r.Contains(0, 199));
    EXPECT_FALSE(r.Contains(1, 1)) << "cut-away corner";
    EXPECT_FALSE(r.Contains(298, 1));
    EXPECT_TRUE(r.Contains(150, 1));

    Make(300, 200, {.mask = false});
    EXPECT_FALSE(state_.region.has_value()) << "no mask, rectangular window";
}

TEST_F(FramePaint, ClientBackgroundTilesTheClientPieceOrTheBackgroundPicture) {
    Make(300, 200);
    rt::TBitmap client(250, 40);
    form_->PaintClient(client.Canvas(), Rect(0, 0, 250, 40));
    Check(client, {{0, 0, kClientDot},
                   {1, 0, kClient},
                   {112, 0, kClientDot},
                   {224, 0, kClientDot},
                   {0, 38, kClient}});
    data_->BackPictureIndex = 1;
    form_->PaintClient(client.Canvas(), Rect(0, 0, 250, 40));
    Check(client, {{0, 0, kCloseNormal}, {100, 0, kCloseNormal}, {16, 0, kCloseActive}});
    data_->ClearSkin();
    form_->ChangeSkinData();
    form_->PaintClient(client.Canvas(), Rect(0, 0, 250, 40));
    Check(client,
          {{0, 0, rt::ColorToRGB(rt::clBtnFace)}, {249, 39, rt::ColorToRGB(rt::clBtnFace)}});
}

TEST_F(FramePaint, DefaultFrameBorderCaptionLinesTextAndButtons) {
    Make(300, 200);
    data_->ClearSkin();
    form_->ChangeSkinData();
    state_.caption = "Framora";
    const rt::TBitmap w = Paint();
    const rt::TColor light = rt::ColorToRGB(rt::cl3DLight), dark = rt::ColorToRGB(rt::cl3DDkShadow),
                     hi = rt::ColorToRGB(rt::clBtnHighlight), sh = rt::ColorToRGB(rt::clBtnShadow),
                     face = rt::ColorToRGB(rt::clBtnFace);
    Check(w, {
                 {0, 100, light},
                 {100, 0, light},
                 {299, 100, dark},
                 {100, 199, dark},
                 {1, 100, hi},
                 {298, 100, sh},
                 {2, 100, face},
                 {297, 100, face},
                 {30, 5, sh},
                 {30, 6, hi},
                 {30, 17, sh},
                 {30, 18, hi},
                 {30, 19, face},
                 {30, 4, face},
                 {150, 100, kUntouched},
                 {3, 22, kUntouched},
             });
    // The text sits on a plain box in the middle of the lines, in the button-text colour.
    int text = 0;
    for (int x = 100; x < 200; ++x)
        for (int y = 5; y < 19; ++y) text += At(w, x, y) == rt::ColorToRGB(rt::clBtnText) ? 1 : 0;
    EXPECT_GT(text, 20);
    // The close button's glyph: the cross from (279 + 4, 4 + 5).
    EXPECT_EQ(At(w, 283, 9), rt::ColorToRGB(rt::clBtnText));
    EXPECT_EQ(At(w, 280, 5), face);
}

}  // namespace
