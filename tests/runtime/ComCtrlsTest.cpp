#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/ImgList.h"
#include "runtime/testing/TestInput.h"

namespace {

using rt::testing::ProcessEvents;
using rt::testing::WaitFor;

class Views : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(100, 100, 420, 360);
        form_->Show();
        ASSERT_TRUE(WaitFor([&] { return form_->Visible(); }));
    }
    rt::TCustomListView* MakeList(rt::TViewStyle style, int rows) {
        auto* list = new rt::TCustomListView(form_.get());
        list->SetBounds(5, 5, 300, 200);
        list->SetParent(form_.get());
        list->AddColumn("Name", 120);
        list->AddColumn("Size", 60, rt::TAlignment::taRightJustify);
        list->SetViewStyle(style);
        list->Items().BeginUpdate();
        for (int i = 0; i < rows; ++i) {
            rt::TListItem* item = list->Items().Add();
            item->SetCaption("file" + std::to_string(100 + i) + ".avi");
            item->AddSubItem(std::to_string((i * 37) % 101));
        }
        list->Items().EndUpdate();
        return list;
    }
    // A report list whose client area holds exactly `rows` rows below its header.
    static void FitRows(rt::TCustomListView& list, int rows) {
        const int rowHeight = list.ItemHeight();
        ASSERT_GT(rowHeight, 0);
        list.SetHeight(list.HeaderRect().Height() + rows * rowHeight);
    }
    std::unique_ptr<rt::TForm> form_;
};

TEST_F(Views, TreeFetchesChildrenOnFirstExpansionAndHonoursARefusal) {
    auto* tree = new rt::TCustomTreeView(form_.get());
    tree->SetParent(form_.get());
    rt::TTreeNode* lazy = tree->Items().AddChild(nullptr, "lazy");
    lazy->SetHasChildren(true);
    rt::TTreeNode* locked = tree->Items().AddChild(nullptr, "locked");
    tree->Items().AddChild(locked, "inside");
    int asked = 0;
    tree->OnExpanding = [&](rt::TComponent*, rt::TTreeNode* node, bool& allow) {
        ++asked;
        if (node == locked) {
            allow = false;
            return;
        }
        if (node->Count() == 0)
            for (const char* name : {"a", "b", "c"}) tree->Items().AddChild(node, name);
    };
    EXPECT_EQ(lazy->Count(), 0);
    EXPECT_TRUE(lazy->HasChildren()) << "a node may claim children it has not fetched yet";

    lazy->Expand(false);
    EXPECT_TRUE(lazy->Expanded());
    ASSERT_EQ(lazy->Count(), 3);
    EXPECT_EQ(lazy->Item(2)->Text(), "c");
    EXPECT_EQ(asked, 1) << "one expansion asks once";
    EXPECT_EQ(tree->ShownNodeCount(), 5);

    locked->Expand(false);
    EXPECT_FALSE(locked->Expanded());
    EXPECT_EQ(tree->ShownNodeCount(), 5);

    tree->Items().Delete(lazy->Item(1));
    EXPECT_EQ(lazy->Item(1)->Text(), "c");
    EXPECT_EQ(lazy->Item(1)->Index(), 1) << "siblings renumber after a deletion";
    EXPECT_EQ(tree->Items().Count(), 5);
    lazy->DeleteChildren();
    EXPECT_EQ(tree->Items().Count(), 3);
}

// A tree that fills a node in one update from OnExpanding, expanded by the keyboard and by a
// click on its arrow: the view is laying the node out meanwhile and must not lose its rows.
TEST_F(Views, TreeFilledInOneUpdateWhileExpandingByKeyOrClick) {
    auto* tree = new rt::TCustomTreeView(form_.get());
    tree->SetParent(form_.get());
    tree->SetBounds(5, 5, 300, 300);
    for (const char* top : {"one", "two"})
        tree->Items().AddChild(nullptr, top)->SetHasChildren(true);
    tree->OnExpanding = [&](rt::TComponent*, rt::TTreeNode* node, bool&) {
        if (node->Count() > 0) return;
        tree->Items().BeginUpdate();
        for (int i = 0; i < 40; ++i)
            tree->Items().AddChild(node, "child " + std::to_string(i))->SetHasChildren(true);
        tree->Items().EndUpdate();
    };
    rt::TTreeNode* one = tree->Items().TopLevelItem(0);
    tree->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return tree->Focused(); }));
    tree->SetSelected(one);
    rt::testing::KeyClick(rt::VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return one->Expanded(); }));
    EXPECT_EQ(one->Count(), 40);
    EXPECT_EQ(tree->ShownNodeCount(), 42);
    rt::testing::KeyClick(rt::VK_DOWN);
    EXPECT_EQ(tree->Selected(), one->Item(0));
    // The same by the child's arrow, left of its text.
    rt::TTreeNode* child = one->Item(0);
    const rt::TRect r = child->DisplayRect(true);
    rt::testing::MouseClick(tree->ClientToScreen({r.Left - 10, (r.Top + r.Bottom) / 2}));
    ASSERT_TRUE(WaitFor([&] { return child->Expanded(); }));
    EXPECT_EQ(child->Count(), 40);
    EXPECT_EQ(tree->ShownNodeCount(), 82);
}

TEST_F(Views, TreeScrollStateCountsShownRowsAndFollowsScrollMessages) {
    auto* tree = new rt::TCustomTreeView(form_.get());
    tree->SetBounds(0, 0, 150, 120);
    tree->SetParent(form_.get());
    rt::TTreeNode* root = tree->Items().AddChild(nullptr, "root");
    for (int i = 0; i < 3; ++i) tree->Items().AddChild(root, "child " + std::to_string(i));
    const int page = tree->VisibleRowCount();
    ASSERT_GT(page, 3);
    rt::TScrollInfo si = tree->ScrollInfo(rt::SB_VERT);
    EXPECT_EQ(si.Max, 0) << "collapsed: one row shown";
    EXPECT_EQ(si.Page, page);

    for (int i = 3; i < page + 5; ++i) tree->Items().AddChild(root, "child " + std::to_string(i));
    root->Expand(false);
    si = tree->ScrollInfo(rt::SB_VERT);
    EXPECT_EQ(si.Max, page + 5) << "the root and its children";
    EXPECT_GE(si.Max, si.Page) << "more rows than fit";

    tree->Perform(rt::WM_VSCROLL, rt::SB_THUMBPOSITION | (3 << 16), 0);
    EXPECT_EQ(tree->ScrollInfo(rt::SB_VERT).Pos, 3);
    EXPECT_EQ(tree->TopItem(), root->Item(2));
    tree->Perform(rt::WM_VSCROLL, rt::SB_LINEUP, 0);
    EXPECT_EQ(tree->ScrollInfo(rt::SB_VERT).Pos, 2);
    tree->Perform(rt::WM_VSCROLL, rt::SB_BOTTOM, 0);
    si = tree->ScrollInfo(rt::SB_VERT);
    EXPECT_EQ(si.Pos, si.Max - si.Page + 1) << "the last position shows the last row";
}

// The rows are uniform and measured on the first: an item without a picture must keep the
// picture's room, or a first row without one would clip every picture below it.
TEST_F(Views, ItemsWithoutAPictureKeepItsRoom) {
    auto* images = new rt::TImageList(form_.get());
    images->SetSize(24, 24);
    rt::TBitmap picture(24, 24);
    images->AddMasked(picture, 0xFF00FF);

    auto* tree = new rt::TCustomTreeView(form_.get());
    tree->SetBounds(0, 0, 150, 150);
    tree->SetParent(form_.get());
    tree->SetImages(images);
    rt::TTreeNode* bare = tree->Items().AddChild(nullptr, "no picture");
    rt::TTreeNode* pictured = tree->Items().AddChild(nullptr, "picture");
    pictured->SetImageIndex(0);
    ProcessEvents();
    EXPECT_GE(bare->DisplayRect(false).Height(), 24);
    EXPECT_EQ(pictured->DisplayRect(false).Height(), bare->DisplayRect(false).Height());
    EXPECT_EQ(pictured->DisplayRect(true).Left, bare->DisplayRect(true).Left) << "texts line up";

    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 3);
    list->SetLeft(160);
    list->SetSmallImages(images);
    list->Items().Item(1)->SetImageIndex(0);
    ProcessEvents();
    EXPECT_GE(list->ItemRect(0).Height(), 24);
    EXPECT_EQ(list->ItemRect(1).Height(), list->ItemRect(0).Height());
}

TEST_F(Views, ReportListOfThirtyRowsWithRoomForTenScrollsByRows) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 30);
    FitRows(*list, 10);
    EXPECT_EQ(list->VisibleRowCount(), 10);
    EXPECT_EQ(list->ScrollInfo(rt::SB_VERT), (rt::TScrollInfo{0, 29, 10, 0}));

    list->Perform(rt::WM_VSCROLL, rt::SB_LINEDOWN, 0);
    EXPECT_EQ(list->ScrollInfo(rt::SB_VERT).Pos, 1);
    EXPECT_EQ(list->TopIndex(), 1);
    list->Scroll(0, 3 * list->ItemHeight());
    EXPECT_EQ(list->TopIndex(), 4) << "pixels turn into whole rows";
    list->Scroll(0, 100 * list->ItemHeight());
    EXPECT_EQ(list->TopIndex(), 20) << "the last page ends at the last row";

    const rt::TScrollInfo h = list->ScrollInfo(rt::SB_HORZ);
    EXPECT_EQ(h.Page, 300);
    EXPECT_LT(h.Max, h.Page) << "180 pixels of columns fit in 300";
}

TEST_F(Views, ListStyleScrollsByColumns) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsList, 200);
    const rt::TScrollInfo before = list->ScrollInfo(rt::SB_HORZ);
    ASSERT_GT(before.Max, before.Page) << "200 items overflow sideways";
    EXPECT_LT(list->VisibleRowCount(), 200);
    for (int i = 0; i < 3; ++i) list->Perform(rt::WM_HSCROLL, rt::SB_LINERIGHT, 0);
    EXPECT_EQ(list->ScrollInfo(rt::SB_HORZ).Pos, 3);
    list->Perform(rt::WM_HSCROLL, rt::SB_LINELEFT, 0);
    EXPECT_EQ(list->ScrollInfo(rt::SB_HORZ).Pos, 2);
    const rt::TScrollInfo v = list->ScrollInfo(rt::SB_VERT);
    EXPECT_LT(v.Max, v.Page) << "the list style never scrolls up and down";
}

TEST_F(Views, SortingByColumnsKeepsTheSelectionOnItsItem) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 6);
    // Sizes: 0, 37, 74, 10, 47, 84 as numbers; as text "10" sorts before "37".
    rt::TListItem* picked = list->Items().Item(3);
    list->SetSelected(picked);
    auto column = [&](int c) {
        std::vector<std::string> out;
        for (int i = 0; i < list->Items().Count(); ++i)
            out.push_back(list->Items().Item(i)->Text(c));
        return out;
    };
    list->SortByColumn(0, false);
    EXPECT_EQ(column(0).front(), "file105.avi");
    list->OnCompare = [](rt::TListItem* a, rt::TListItem* b, int c) {
        return c == 1 ? std::stoi(a->Text(1)) - std::stoi(b->Text(1))
                      : rt::CompareListText(a->Text(c), b->Text(c));
    };
    list->SortByColumn(1, true);
    EXPECT_EQ(column(1), (std::vector<std::string>{"0", "10", "37", "47", "74", "84"}));
    EXPECT_EQ(list->Selected(), picked);
    EXPECT_TRUE(picked->Selected());
    EXPECT_EQ(picked->Index(), 1);
    EXPECT_EQ(list->SelCount(), 1);
}

TEST_F(Views, CompareListTextFoldsAsciiCase) {
    EXPECT_EQ(rt::CompareListText("Movie.AVI", "movie.avi"), 0);
    EXPECT_LT(rt::CompareListText("a", "B"), 0);
    EXPECT_LT(rt::CompareListText("ab", "abc"), 0);
    EXPECT_GT(rt::CompareListText("\xC3\xA9", "z"), 0) << "other bytes compare by value";
}

TEST_F(Views, KeysNavigateAndTypeAheadFindsAnItem) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 30);
    list->Items().Item(20)->SetCaption("zebra.mpg");
    list->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return list->Focused(); }));
    list->SetSelected(list->Items().Item(0));
    rt::testing::KeyClick(rt::VK_DOWN);
    rt::testing::KeyClick(rt::VK_DOWN);
    EXPECT_EQ(list->ItemFocused(), list->Items().Item(2));
    rt::testing::KeyClick('Z');
    EXPECT_EQ(list->ItemFocused(), list->Items().Item(20));
    EXPECT_TRUE(list->Items().Item(20)->Selected());
}

// A click selects the row under it in every style, and the list reports it as selected.
TEST_F(Views, ClickedRowIsTheSelectedOneInEveryStyle) {
    for (rt::TViewStyle style : {rt::TViewStyle::vsReport, rt::TViewStyle::vsList,
                                 rt::TViewStyle::vsSmallIcon, rt::TViewStyle::vsIcon}) {
        rt::TCustomListView* list = MakeList(style, 5);
        const rt::TRect r = list->ItemRect(3);
        rt::testing::MouseClick(
            list->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
        ASSERT_TRUE(WaitFor([&] { return list->SelCount() == 1; })) << int(style);
        EXPECT_EQ(list->Selected(), list->Items().Item(3)) << int(style);
        EXPECT_TRUE(list->Items().Item(3)->Selected()) << int(style);
        EXPECT_FALSE(list->Items().Item(2)->Selected()) << int(style);
        delete list;
    }
}

TEST_F(Views, HeaderPressShowsPressedExceptOnADivider) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 5);
    ProcessEvents();
    const rt::TRect header = list->HeaderRect();
    ASSERT_FALSE(header.IsEmpty());
    const std::vector<rt::THeaderSection> sections = list->HeaderSections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].Rect.Width(), 120);
    EXPECT_TRUE(list->HeaderDividerAt(sections[0].Rect.Right));
    EXPECT_FALSE(list->HeaderDividerAt(sections[0].Rect.Left + 40));

    auto screen = [&](int x) {
        return list->ClientToScreen({header.Left + x, header.Top + header.Height() / 2});
    };
    auto pixelAt = [&](int x) {
        rt::TBitmap shot = rt::testing::GrabWindow(*form_);
        rt::TPoint p = form_->ScreenToWindow(screen(x));
        return rt::PixelToColor(shot.ScanLine(p.Y)[p.X]);
    };
    const int middle = sections[0].Rect.Right - 12;  // past the caption, off the divider
    rt::testing::MousePress(screen(middle));
    EXPECT_EQ(list->PressedColumn(), 0);
    EXPECT_TRUE(list->HeaderPressed());
    EXPECT_EQ(pixelAt(middle), rt::kDefaultPressed);
    rt::testing::MouseRelease(screen(middle));
    EXPECT_FALSE(list->HeaderPressed());
    EXPECT_EQ(pixelAt(middle), rt::ColorToRGB(rt::clBtnFace));

    rt::testing::MousePress(screen(sections[0].Rect.Right - 1));
    EXPECT_FALSE(list->HeaderPressed()) << "a press on a divider starts a resize";
    EXPECT_EQ(pixelAt(middle), rt::ColorToRGB(rt::clBtnFace));
    rt::testing::MouseRelease(screen(sections[0].Rect.Right - 1));
}

TEST_F(Views, ColourReachesTheViewsBackground) {
    rt::TCustomListView* list = MakeList(rt::TViewStyle::vsReport, 1);
    list->SetColor(rt::RGB(10, 200, 30));
    auto* tree = new rt::TCustomTreeView(form_.get());
    tree->SetBounds(310, 5, 100, 100);
    tree->SetParent(form_.get());
    tree->SetColor(rt::clWhite);
    ProcessEvents();
    rt::TBitmap shot = rt::testing::GrabWindow(*form_);
    auto at = [&](rt::TControl& c, int x, int y) {
        rt::TPoint p = form_->ScreenToWindow(c.ClientToScreen({x, y}));
        return rt::PixelToColor(shot.ScanLine(p.Y)[p.X]);
    };
    EXPECT_EQ(at(*list, 150, 190), rt::RGB(10, 200, 30));
    EXPECT_EQ(at(*tree, 50, 90), rt::clWhite);

    // Painting a view into a bitmap gives what the screen shows, header included.
    rt::TBitmap painted = list->PaintToBitmap();
    EXPECT_EQ(painted.Canvas().Pixel(150, 190), rt::RGB(10, 200, 30));
    const rt::TRect header = list->HeaderRect();
    EXPECT_EQ(painted.Canvas().Pixel(3, header.Top + header.Height() / 2),
              rt::ColorToRGB(rt::clBtnFace));
}

}  // namespace
