#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/DialogControlsSkin.h"
#include "skin/controls/skSkinViews.h"

using namespace dialogskin;

namespace {

// The dialog controls' skin with the views' descriptions: a light yellow tree, a white list
// and column headers from the button piece (navy ring, green face; pressed: orange face).
std::vector<std::string> ViewLines() {
    return ViewDescriptionLines(
        {.treeFontColor = 128, .treeBgColor = 13697023, .listFontHeight = 12});
}

class SkinViews : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(80, 80, 460, 380);
        panel_ = new rt::TCustomControl(form_.get());
        panel_->SetBounds(10, 10, 300, 200);
        panel_->SetParent(form_.get());
        data_ = new sk::TskSkinData(form_.get());
        stored_ = StoredSkin({PaintPicture()}, ViewLines());
        data_->LoadStoredSkin(stored_.get());
        form_->Show();
        ASSERT_TRUE(rt::testing::WaitFor([&] { return form_->Visible(); }));
    }
    // A view filling the panel with a vertical bar at its right and a horizontal one below.
    template <class View>
    View* Place(bool skinned) {
        hBar_ = new sk::TskSkinScrollBar(form_.get());
        hBar_->SetBounds(0, 0, 300, 15);
        hBar_->SetParent(panel_);
        hBar_->SetAlign(rt::TAlign::alBottom);
        vBar_ = new sk::TskSkinScrollBar(form_.get());
        vBar_->SetKind(sk::sbVertical);
        vBar_->SetSkinDataName("vscrollbar");
        vBar_->SetBounds(0, 0, 15, 200);
        vBar_->SetParent(panel_);
        vBar_->SetAlign(rt::TAlign::alRight);
        auto* view = new View(form_.get());
        view->SetParent(panel_);
        view->SetAlign(rt::TAlign::alClient);
        if (skinned) {
            hBar_->SetSkinData(data_);
            vBar_->SetSkinData(data_);
            view->SetSkinData(data_);
        }
        view->SetVScrollBar(vBar_);
        view->SetHScrollBar(hBar_);
        return view;
    }
    sk::TskSkinListView* PlaceList(bool skinned, rt::TViewStyle style, int rows) {
        auto* list = Place<sk::TskSkinListView>(skinned);
        list->AddColumn("Name", 100);
        list->AddColumn("Size", 60, rt::TAlignment::taRightJustify);
        list->SetViewStyle(style);
        list->Items().BeginUpdate();
        for (int i = 0; i < rows; ++i) {
            rt::TListItem* item = list->Items().Add();
            item->SetCaption("clip" + std::to_string(i) + ".avi");
            item->AddSubItem(std::to_string(i * 1000));
        }
        list->Items().EndUpdate();
        return list;
    }
    rt::TColor PixelOf(rt::TControl& c, int x, int y) {
        rt::testing::ProcessEvents();
        rt::TBitmap shot = rt::testing::GrabWindow(*form_);
        rt::TPoint p = form_->ScreenToWindow(c.ClientToScreen({x, y}));
        return rt::PixelToColor(shot.ScanLine(p.Y)[p.X]);
    }

    std::unique_ptr<rt::TForm> form_;
    rt::TCustomControl* panel_ = nullptr;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    sk::TskSkinScrollBar* vBar_ = nullptr;
    sk::TskSkinScrollBar* hBar_ = nullptr;
};

TEST_F(SkinViews, TreeGrowingPastItsHeightShowsTheBarAndRelaysTheParent) {
    auto* tree = Place<sk::TskSkinTreeView>(true);
    rt::TTreeNode* root = tree->Items().AddChild(nullptr, "Videos");
    for (int i = 0; i < 3; ++i) tree->Items().AddChild(root, "folder " + std::to_string(i));
    root->Expand(false);
    EXPECT_FALSE(vBar_->Visible()) << "four rows fit";
    EXPECT_EQ(tree->Width(), 300);

    for (int i = 3; i < 40; ++i) tree->Items().AddChild(root, "folder " + std::to_string(i));
    ASSERT_TRUE(rt::testing::WaitFor([&] { return vBar_->Visible(); }));
    EXPECT_EQ(tree->Width(), 285) << "the parent laid the tree out beside the bar";
    EXPECT_EQ(vBar_->PageSize(), tree->VisibleRowCount());
    EXPECT_EQ(vBar_->Max(), 40);

    vBar_->SetPosition(7);
    EXPECT_EQ(tree->TopItem(), root->Item(6)) << "the bar scrolls the tree by rows";
    root->Collapse(false);
    ASSERT_TRUE(rt::testing::WaitFor([&] { return !vBar_->Visible(); }));
    EXPECT_EQ(tree->Width(), 300);
}

TEST_F(SkinViews, ReportListOfThirtyRowsWithRoomForTenPagesByTenStepsByOne) {
    sk::TskSkinListView* list = PlaceList(true, rt::TViewStyle::vsReport, 30);
    const int rowHeight = list->ItemHeight();
    ASSERT_GT(rowHeight, 0);
    ASSERT_FALSE(hBar_->Visible()) << "160 pixels of columns fit";
    panel_->SetHeight(list->HeaderRect().Height() + 10 * rowHeight);
    ASSERT_TRUE(rt::testing::WaitFor([&] { return vBar_->Visible(); }));
    EXPECT_EQ(list->VisibleRowCount(), 10);
    EXPECT_EQ(vBar_->PageSize(), 10);
    EXPECT_EQ(vBar_->Max(), 29);
    EXPECT_EQ(vBar_->SmallChange(), 1);
    EXPECT_EQ(vBar_->LargeChange(), 1);

    vBar_->SetPosition(5);
    EXPECT_EQ(list->TopIndex(), 5);
    vBar_->SetPosition(40);
    EXPECT_EQ(list->TopIndex(), 20) << "the bar's last position shows the last page";
    list->Perform(rt::WM_VSCROLL, rt::SB_TOP, 0);
    ASSERT_TRUE(rt::testing::WaitFor([&] { return vBar_->Position() == 0; }))
        << "the bar follows the view";
}

TEST_F(SkinViews, BarsSettleAfterTheOtherBarTakesRoom) {
    // Columns narrower than what the vertical bar leaves of the view: no horizontal bar, also
    // when the list comes from another style; wider ones: both bars.
    for (const int columns : {250, 290}) {
        SCOPED_TRACE(columns);
        sk::TskSkinListView* list = PlaceList(true, rt::TViewStyle::vsSmallIcon, 60);
        list->Column(0).Width = columns - 60;
        list->ColumnsChanged();
        list->SetViewStyle(rt::TViewStyle::vsReport);
        ASSERT_TRUE(rt::testing::WaitFor([&] { return vBar_->Visible(); }));
        rt::testing::ProcessEvents();
        const rt::TScrollInfo h = list->ScrollInfo(rt::SB_HORZ);
        EXPECT_EQ(hBar_->Visible(), columns > 285)
            << "width " << list->Width() << " max " << h.Max << " page " << h.Page;
        EXPECT_TRUE(hBar_->Both()) << "the corner square follows the vertical bar";
        delete list;
        delete vBar_;
        delete hBar_;
    }
}

TEST_F(SkinViews, ListStyleScrollsByLineMessagesAndHidesTheVerticalBar) {
    sk::TskSkinListView* list = PlaceList(true, rt::TViewStyle::vsReport, 200);
    ASSERT_TRUE(rt::testing::WaitFor([&] { return vBar_->Visible(); }));
    list->SetViewStyle(rt::TViewStyle::vsList);
    ASSERT_TRUE(rt::testing::WaitFor([&] { return !vBar_->Visible(); }));
    ASSERT_TRUE(hBar_->Visible());
    EXPECT_EQ(hBar_->SmallChange(), 1);
    EXPECT_EQ(hBar_->PageSize(), list->Width() / list->ItemWidth());

    std::vector<std::intptr_t> requests;
    auto inner = list->WindowProc;
    list->WindowProc = [&](rt::TMessage& m) {
        if (m.Msg == rt::WM_HSCROLL) requests.push_back(m.WParam);
        inner(m);
    };
    hBar_->SetPosition(3);
    EXPECT_EQ(requests,
              (std::vector<std::intptr_t>{rt::SB_LINERIGHT, rt::SB_LINERIGHT, rt::SB_LINERIGHT}));
    EXPECT_EQ(list->ScrollInfo(rt::SB_HORZ).Pos, 3);
    requests.clear();
    hBar_->SetPosition(2);
    EXPECT_EQ(requests, (std::vector<std::intptr_t>{rt::SB_LINELEFT}));
    list->WindowProc = inner;
}

TEST_F(SkinViews, SkinColoursAndAnEmptySkinLeaveTheLookAlone) {
    sk::TskSkinListView* list = PlaceList(false, rt::TViewStyle::vsReport, 2);
    EXPECT_EQ(list->Color(), rt::clWindow);
    sk::TskSkinData empty(form_.get());
    list->SetSkinData(&empty);
    EXPECT_EQ(list->Color(), rt::clWindow) << "a skin data object without a skin changes nothing";
    EXPECT_EQ(list->Font().Name, "Arial");
    list->SetSkinData(data_);
    EXPECT_EQ(list->Color(), rt::clWhite);
    EXPECT_EQ(PixelOf(*list, 150, list->Height() - 5), rt::clWhite);
    list->SetUseSkinFont(false);
    EXPECT_EQ(list->Font().PixelSize(), list->DefaultFont().PixelSize());

    auto* tree = new sk::TskSkinTreeView(form_.get());
    tree->SetBounds(320, 10, 100, 100);
    tree->SetParent(form_.get());
    tree->SetSkinData(data_);
    EXPECT_EQ(PixelOf(*tree, 50, 90), rt::TColor(13697023));
    EXPECT_EQ(tree->Font().Color, rt::TColor(128));
    list->SetSkinData(nullptr);
    delete tree;
}

TEST_F(SkinViews, HeaderSectionsPaintFromTheSkinAndShowPressesOffDividers) {
    for (const bool skinned : {true, false}) {
        SCOPED_TRACE(skinned ? "skinned" : "default look");
        sk::TskSkinListView* list = PlaceList(skinned, rt::TViewStyle::vsReport, 3);
        const rt::TRect header = list->HeaderRect();
        ASSERT_FALSE(header.IsEmpty());
        const std::vector<rt::THeaderSection> sections = list->HeaderSections();
        ASSERT_EQ(sections.size(), 2u);
        const rt::TRect first = sections[0].Rect;
        const int y = header.Top + header.Height() / 2;
        const rt::TColor face = skinned ? kGreen : rt::ColorToRGB(rt::clBtnFace);
        const rt::TColor pressed = skinned ? kOrange : rt::kDefaultPressed;
        const rt::TColor edge = skinned ? kNavy : rt::ColorToRGB(rt::clBtnShadow);
        EXPECT_EQ(PixelOf(*list, first.Left + 3, y), face);
        EXPECT_EQ(PixelOf(*list, first.Left, y), edge);
        // Right of the last section: the normal face without its right end.
        EXPECT_EQ(PixelOf(*list, 200, y), face);
        EXPECT_EQ(PixelOf(*list, list->Width() - 1, y), face == kGreen ? kGreen : edge);

        auto screen = [&](int x) { return list->ClientToScreen({x, y}); };
        rt::testing::MousePress(screen(first.Left + 3));
        EXPECT_EQ(PixelOf(*list, first.Left + 3, y), pressed);
        rt::testing::MouseRelease(screen(first.Left + 3));
        EXPECT_EQ(PixelOf(*list, first.Left + 3, y), face);
        rt::testing::MousePress(screen(first.Right - 1));
        EXPECT_EQ(PixelOf(*list, first.Left + 3, y), face) << "a press on a divider";
        rt::testing::MouseRelease(screen(first.Right - 1));
        delete list;
        delete vBar_;
        delete hBar_;
    }
}

TEST_F(SkinViews, LongCaptionsEndInAnEllipsis) {
    sk::TskSkinListView* list = PlaceList(true, rt::TViewStyle::vsReport, 1);
    list->Column(0).Caption = std::string(60, 'W');
    list->Column(0).Width = 60;
    list->ColumnsChanged();
    const rt::TRect header = list->HeaderRect();
    // Dark text pixels reach at most the padded section, never its last 5 columns.
    rt::testing::ProcessEvents();
    rt::TBitmap shot = rt::testing::GrabWindow(*form_);
    int rightmostInk = -1;
    for (int x = 0; x < 60; ++x)
        for (int y = header.Top + 4; y < header.Bottom - 4; ++y) {
            rt::TPoint p = form_->ScreenToWindow(list->ClientToScreen({x, y}));
            if (rt::PixelToColor(shot.ScanLine(p.Y)[p.X]) == kBlack) rightmostInk = x;
        }
    EXPECT_GT(rightmostInk, 5);
    EXPECT_LT(rightmostInk, 55);
}

}  // namespace
