#include <gtest/gtest.h>

#include "skin/form/MenuTestUtil.h"

using namespace menutest;

namespace {

const rt::TRect kArea = rt::Rect(0, 0, 1000, 800);

struct PlacementCase {
    const char* name;
    rt::TRect anchor;
    int width, height;
    bool subMenu, popupUp, scroll;
    rt::TPoint expected;
};

// Popup 80 wide; sub-menus line their first item up with the parent item (items start 3
// pixels below the popup's top).
const PlacementCase kPlacements[] = {
    {"DropsDownBelowItsAnchor", {100, 100, 150, 120}, 80, 200, false, false, false, {100, 120}},
    {"BottomEdgeOpensAboveTheAnchor",
     {100, 700, 150, 720},
     80,
     200,
     false,
     false,
     false,
     {100, 500}},
    {"BottomEdgeTallFromUpperHalfIsPushedUpBesideTheAnchor",
     {100, 300, 150, 320},
     80,
     600,
     false,
     false,
     false,
     {151, 200}},
    {"BottomEdgeNoRoomAboveEitherGoesToTheTopBeside",
     {100, 500, 150, 520},
     80,
     700,
     false,
     false,
     false,
     {151, 0}},
    {"RightEdgeMovesLeftToFit", {950, 100, 990, 120}, 80, 200, false, false, false, {920, 120}},
    {"LeftEdgeMovesRightToFit", {-20, 100, 30, 120}, 80, 200, false, false, false, {0, 120}},
    {"PopupUpOpensAboveTheAnchor", {100, 700, 150, 720}, 80, 200, false, true, false, {100, 500}},
    {"PopupUpAtTheTopEdgeDropsBelowInstead",
     {100, 50, 150, 70},
     80,
     200,
     false,
     true,
     false,
     {100, 70}},
    {"PopupUpAtTheTopEdgeTallIsPushedUpBeside",
     {100, 50, 150, 70},
     80,
     780,
     false,
     true,
     false,
     {151, 20}},
    {"PopupUpFromLowerHalfWithoutRoomGoesToTheTopBeside",
     {100, 500, 150, 520},
     80,
     600,
     false,
     true,
     false,
     {151, 0}},
    {"SubMenuBesideItsItemFirstItemsAligned",
     {200, 100, 300, 120},
     80,
     100,
     true,
     false,
     false,
     {301, 97}},
    {"SubMenuAtTheRightEdgeFlipsLeft",
     {900, 100, 990, 120},
     80,
     100,
     true,
     false,
     false,
     {819, 97}},
    {"SubMenuAtTheBottomEdgeEndsAtItsItem",
     {200, 750, 300, 770},
     80,
     100,
     true,
     false,
     false,
     {301, 673}},
    {"SubMenuTooTallFromUpperHalfEndsAtTheBottom",
     {200, 350, 300, 370},
     80,
     500,
     true,
     false,
     false,
     {301, 300}},
    {"ScrollingPopupStartsAtTheTopBesideItsAnchor",
     {100, 300, 150, 320},
     80,
     800,
     false,
     false,
     true,
     {151, 0}},
    {"PointAnchorAtTheBottomRightCorner",
     {990, 790, 990, 790},
     80,
     200,
     false,
     false,
     false,
     {920, 590}},
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, InsideTheWorkArea) {
    const PlacementCase& c = GetParam();
    const rt::TPoint p =
        sk::PlacePopup(c.anchor, kArea, c.width, c.height, 3, c.subMenu, c.popupUp, c.scroll);
    EXPECT_EQ(p, c.expected);
    EXPECT_GE(p.X, kArea.Left);
    EXPECT_GE(p.Y, kArea.Top);
    EXPECT_LE(p.X + c.width, kArea.Right);
    EXPECT_LE(p.Y + c.height, kArea.Bottom);
}

INSTANTIATE_TEST_SUITE_P(Edges, Placement, ::testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PopupPlacement, AWorkAreaNarrowerThanThePopupKeepsItsLeftEdgeOnScreen) {
    // Beside a wide anchor neither side has room: the popup stays on the work area rather
    // than leaving it on the left.
    const rt::TPoint p =
        sk::PlacePopup(rt::Rect(0, 100, 1000, 120), kArea, 300, 100, 3, true, false, false);
    EXPECT_GE(p.X, 0);
    EXPECT_LE(p.X + 300, 1000);
}

// A menu of 60 items in a work area 400 pixels high.
class TallMenu : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 60; ++i) items_.push_back(menu_.Add("Item " + std::to_string(i)));
        host_.cascade = &cascade_;
    }
    sk::TskSkinPopupView& Open() {
        EXPECT_TRUE(cascade_.Popup(nullptr, false, menu_.Root(), rt::Rect(100, 100, 100, 100), 0,
                                   rt::Rect(0, 0, 800, 400)));
        return cascade_.Popups(0);
    }
    TestMenu menu_;
    std::vector<rt::TMenuItem*> items_;
    FakeHost host_;
    sk::TskMenuCascade cascade_{host_};
};

TEST_F(TallMenu, IsCutToTheWorkAreaAndShowsWhatFitsBetweenTheMarkers) {
    sk::TskSkinPopupView& v = Open();
    EXPECT_TRUE(v.Scroll());
    EXPECT_EQ(v.Height(), 400);
    EXPECT_EQ(v.ShownTop, 0);
    EXPECT_EQ(v.ShowX, 101);  // beside the anchor point
    // Items box 2..398, less the two 10-pixel bands: 376 pixels hold 18 items of 20.
    EXPECT_EQ(v.ShownItemCount(), 18);
    EXPECT_EQ(v.Items(0).ObjectRect.Top, 12);
    EXPECT_TRUE(v.Items(17).Visible);
    EXPECT_FALSE(v.Items(18).Visible);
    EXPECT_EQ(v.LastFullPageStart(), 42);
    // Markers: both arrows in button shadow while nothing scrolls.
    rt::TBitmap b = v.PaintToBitmap();
    EXPECT_GT(CountInk(b, v.ScrollBand(sk::sdUp), rt::clBtnShadow), 5);
    EXPECT_GT(CountInk(b, v.ScrollBand(sk::sdDown), rt::clBtnShadow), 5);
    EXPECT_EQ(CountInk(b, v.ScrollBand(sk::sdDown), rt::clBtnText), 0);
}

TEST_F(TallMenu, HoveringTheLowerBandScrollsOneItemPerTickToTheEnd) {
    sk::TskSkinPopupView& v = Open();
    const rt::TRect down = v.ScrollBand(sk::sdDown);
    // The upper band cannot scroll at the top: hovering it starts nothing.
    cascade_.MouseMove(0, 50, v.ScrollBand(sk::sdUp).Top + 2);
    EXPECT_FALSE(host_.Running(sk::mtScroll, &v));

    cascade_.MouseMove(0, 50, down.Top + 2);
    EXPECT_EQ(v.ScrollDirection, sk::sdDown);
    EXPECT_TRUE(host_.Running(sk::mtScroll, &v));
    rt::TBitmap b = v.PaintToBitmap();
    EXPECT_GT(CountInk(b, down, rt::clBtnText), 5);  // the active marker
    host_.Advance(90);
    EXPECT_EQ(v.FirstShownItem(), 0);
    host_.Advance(10);
    EXPECT_EQ(v.FirstShownItem(), 1);
    host_.Advance(300);
    EXPECT_EQ(v.FirstShownItem(), 4);
    EXPECT_TRUE(v.Items(21).Visible);
    EXPECT_FALSE(v.Items(3).Visible);
    host_.Advance(100 * 60);
    EXPECT_EQ(v.FirstShownItem(), 42);
    EXPECT_TRUE(v.Items(59).Visible);
    EXPECT_EQ(v.ScrollDirection, sk::sdNone);
    EXPECT_FALSE(host_.Running(sk::mtScroll, &v));

    // Back up; leaving the bands stops it where it is.
    cascade_.MouseMove(0, 50, v.ScrollBand(sk::sdUp).Top + 2);
    host_.Advance(500);
    EXPECT_EQ(v.FirstShownItem(), 37);
    cascade_.MouseMove(0, 50, 200);
    EXPECT_EQ(v.ScrollDirection, sk::sdNone);
    host_.Advance(500);
    EXPECT_EQ(v.FirstShownItem(), 37);
    // So does the cursor going to another window.
    cascade_.MouseMove(0, 50, down.Top + 2);
    host_.Advance(100);
    cascade_.MouseOutside(0);
    host_.Advance(500);
    EXPECT_EQ(v.FirstShownItem(), 38);
}

TEST_F(TallMenu, KeysScrollByOneAndWrapToTheOtherEnd) {
    sk::TskSkinPopupView& v = Open();
    EXPECT_EQ(v.ActiveItem(), 0);
    for (int i = 0; i < 17; ++i) cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(v.ActiveItem(), 17);
    EXPECT_EQ(v.FirstShownItem(), 0);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(v.ActiveItem(), 18);
    EXPECT_EQ(v.FirstShownItem(), 1);
    // Up from the top of the list jumps to the last item and the last full page.
    for (int i = 0; i < 18; ++i) cascade_.KeyDown(rt::VK_UP);
    EXPECT_EQ(v.ActiveItem(), 0);
    EXPECT_EQ(v.FirstShownItem(), 0);
    cascade_.KeyDown(rt::VK_UP);
    EXPECT_EQ(v.ActiveItem(), 59);
    EXPECT_EQ(v.FirstShownItem(), 42);
    EXPECT_TRUE(v.Items(59).Visible);
    // Down past the end jumps back to the start.
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(v.ActiveItem(), 0);
    EXPECT_EQ(v.FirstShownItem(), 0);
    // Exactly one item is highlighted all along.
    int active = 0;
    for (int i = 0; i < v.Count(); ++i) active += v.Items(i).Active ? 1 : 0;
    EXPECT_EQ(active, 1);
}

}  // namespace
