// The skinned main menu bar: layout and looks with and without a skin, hidden items behind the
// track mark, items that run commands, and a child window's system buttons.
#include <gtest/gtest.h>

#include "runtime/Controls.h"
#include "skin/form/FormFakes.h"
#include "skin/form/MenuTestSkin.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"

using namespace menutest;
using rt::Rect;

namespace {

// The menu test skin with a bar: picture 3 holds the bar (0,0,40,24: purple 3-pixel ends, white
// middle) and its item looks, 36 x 20 each: normal (0,30) light, hot (0,50) yellow with navy
// 6-pixel ends, down (0,70) orange.
std::unique_ptr<sk::TskSkinData> BarSkin() {
    auto s = MakeStoredSkin();
    rt::TBitmap p(60, 90);
    Fill(p, Rect(0, 0, 40, 24), kPurple);
    Fill(p, Rect(3, 0, 37, 24), kWhite);
    Fill(p, Rect(0, 30, 36, 50), kLight);
    Fill(p, Rect(0, 50, 36, 70), kNavy);
    Fill(p, Rect(6, 50, 30, 70), kYellow);
    Fill(p, Rect(0, 70, 36, 90), kOrange);
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(p));
    std::vector<std::string> lines = DescriptionLines({});
    for (std::string& l : lines) {
        if (l == "activepicturescount=3") l = "activepicturescount=4";
        if (l == "count=1") l = "count=2\n1=baritem:mainmenubaritem";
        if (l == "count=0") l = "count=1\n0=mainmenubar:mainmenubar";
    }
    for (const char* l : {"[mainmenubar]",
                          "pictureindex=3",
                          "skinrect=0,0,40,24",
                          "itemsrect=3,2,37,22",
                          "menubaritem=baritem",
                          "trackmarkcolor=32768",
                          "trackmarkactivecolor=255",
                          "[baritem]",
                          "activepictureindex=3",
                          "skinrect=0,30,36,50",
                          "activeskinrect=0,50,36,70",
                          "downrect=0,70,36,90",
                          "itemleftoffset=6",
                          "itemrightoffset=6",
                          "textrect=8,3,28,17",
                          "fontname=Arial",
                          "fontheight=12",
                          "fontcolor=0",
                          "activefontcolor=255",
                          "downfontcolor=16777215",
                          "unenabledfontcolor=8421504"})
        lines.push_back(l);
    rt::TStringList ini;
    for (const std::string& l : lines) {
        std::size_t start = 0;
        for (std::size_t nl; (nl = l.find('\n', start)) != std::string::npos; start = nl + 1)
            ini.Add(l.substr(start, nl - start));
        ini.Add(l.substr(start));
    }
    s->SetIniStrings(ini);
    auto data = std::make_unique<sk::TskSkinData>(nullptr);
    data->LoadStoredSkin(s.get());
    return data;
}

rt::TColor At(rt::TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y); }

class MainMenuBar : public ::testing::Test {
protected:
    void SetUp() override {
        form_.SetBounds(100, 100, 400, 200);
        skinForm_ = new sk::TskSkinForm(&form_);
        for (const char* c : {"&File", "&Edit", "&Help"}) {
            rt::TMenuItem* top = Add(menu_.Items(), c);
            Add(top, std::string("Item of ") + c);
        }
        bar_ = new sk::TskSkinMainMenuBar(&form_);
        bar_->SetParent(&form_);
        bar_->SetMainMenu(&menu_);
        bar_->SetSkinForm(skinForm_);
        skinForm_->SetMainMenuBar(bar_);
    }
    rt::TMenuItem* Add(rt::TMenuItem* parent, const std::string& caption) {
        auto* item = new rt::TMenuItem(&menu_);
        item->Caption = caption;
        item->OnClick = [this, caption](rt::TComponent*) { clicks.push_back(caption); };
        parent->Add(item);
        return item;
    }
    sk::TskSkinMainMenuBarItem& Item(int i) { return *bar_->Items().at(std::size_t(i)); }
    rt::TPoint Centre(const rt::TRect& r) {
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    rt::TForm form_{nullptr};
    sk::TskSkinMainMenu menu_{nullptr};
    sk::TskSkinForm* skinForm_ = nullptr;
    sk::TskSkinMainMenuBar* bar_ = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(MainMenuBar, DefaultLookPadsCaptionsAndShowsHotAndDownItems) {
    EXPECT_EQ(bar_->Align(), rt::TAlign::alTop);
    EXPECT_EQ(bar_->Height(), 22);
    EXPECT_EQ(bar_->Width(), form_.ClientWidth());
    bar_->Layout();
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = bar_->DefItemFont();
    EXPECT_EQ(Item(0).ObjectRect, Rect(2, 2, 2 + probe.Canvas().TextWidth("File") + 12, 20));
    EXPECT_EQ(Item(1).ObjectRect.Left, Item(0).ObjectRect.Right) << "items follow each other";

    rt::TBitmap idle = bar_->PaintToBitmap();
    EXPECT_EQ(At(idle, 1, 1), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(At(idle, Item(0).ObjectRect.Left, 10), rt::ColorToRGB(rt::clBtnFace));
    bar_->TrackHover(Centre(Item(0).ObjectRect));
    EXPECT_EQ(bar_->HoverIndex(), 0);
    rt::TBitmap hot = bar_->PaintToBitmap();
    EXPECT_EQ(At(hot, Item(0).ObjectRect.Left, 10), rt::kDefaultFrame);
    EXPECT_EQ(At(hot, Item(0).ObjectRect.Left + 2, 3), rt::kDefaultHot);
    EXPECT_EQ(At(hot, Item(1).ObjectRect.Left + 2, 3), rt::ColorToRGB(rt::clBtnFace));
    Item(0).Down = true;
    rt::TBitmap down = bar_->PaintToBitmap();
    EXPECT_EQ(At(down, Item(0).ObjectRect.Left + 2, 3), rt::kDefaultPressed);
    Item(0).Down = false;
}

TEST_F(MainMenuBar, ItemsThatDoNotFitHideBehindTheTrackMark) {
    menu_.Items()->Items(2)->Enabled = false;
    bar_->SetAlign(rt::TAlign::alNone);
    bar_->Layout();
    bar_->SetWidth(Item(0).ObjectRect.Right + 10);
    bar_->Layout();
    ASSERT_TRUE(bar_->HasHiddenItems());
    EXPECT_TRUE(Item(0).Fits && Item(0).Enabled);
    EXPECT_FALSE(Item(1).Fits);
    EXPECT_FALSE(Item(1).Enabled) << "a hidden item takes no mouse or key";
    const rt::TRect strip = bar_->TrackMarkRect();
    EXPECT_EQ(strip, Rect(bar_->Width() - 7, 2, bar_->Width() - 2, 20));

    // The mark: a 7-pixel column at the strip's left narrowing to 1, shadow coloured; hot it
    // takes the button text colour.
    rt::TBitmap b = bar_->PaintToBitmap();
    const int mid = (strip.Top + strip.Bottom) / 2;
    EXPECT_EQ(At(b, strip.Left, mid - 3), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(At(b, strip.Left, mid - 4), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(At(b, strip.Left + 3, mid), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(At(b, strip.Left + 3, mid - 1), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(At(b, Item(1).ObjectRect.Left + 6, 10), rt::ColorToRGB(rt::clBtnFace))
        << "a hidden item is not drawn";
    bar_->TrackHover(Centre(strip));
    EXPECT_TRUE(bar_->TrackMarkHot());
    b = bar_->PaintToBitmap();
    EXPECT_EQ(At(b, strip.Left, mid), rt::ColorToRGB(rt::clBtnText));

    // A click on the mark lists the hidden items.
    bar_->PopupHiddenItems();
    ASSERT_TRUE(skinForm_->SkinMenu()->MenuVisible());
    sk::TskSkinPopupView& v = skinForm_->SkinMenu()->Cascade().Popups(0);
    ASSERT_EQ(v.Count(), 2);
    EXPECT_EQ(v.Items(0).MenuItem()->Caption, "&Edit");
    EXPECT_EQ(v.Items(1).MenuItem()->Caption, "&Help");
    skinForm_->SkinMenu()->CloseAll();

    // Room again: the items come back with their own enabled state.
    bar_->SetWidth(400);
    bar_->Layout();
    EXPECT_FALSE(bar_->HasHiddenItems());
    EXPECT_TRUE(Item(1).Enabled);
    EXPECT_FALSE(Item(2).Enabled);
}

TEST_F(MainMenuBar, SkinGivesHeightBackgroundAndItemLooks) {
    auto data = BarSkin();
    bar_->SetSkinData(data.get());
    ASSERT_TRUE(bar_->BarSkinned());
    EXPECT_EQ(bar_->Height(), 24);
    bar_->SetHeight(40);
    EXPECT_EQ(bar_->Height(), 24) << "the skin decides the height";
    bar_->Layout();
    EXPECT_EQ(bar_->ItemsArea(), Rect(3, 2, bar_->Width() - 3, 22));
    ASSERT_TRUE(Item(0).HasSkin);
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = sk::MakeSkinFont("Arial", 12, 0, 0);
    EXPECT_EQ(Item(0).ObjectRect.Width(), 36 - 20 + probe.Canvas().TextWidth("File") + 2);
    EXPECT_EQ(bar_->MarkColor(), rt::TColor(32768));

    rt::TBitmap b = bar_->PaintToBitmap();
    EXPECT_EQ(At(b, 1, 10), kPurple) << "left end";
    EXPECT_EQ(At(b, bar_->Width() - 2, 10), kPurple) << "right end";
    EXPECT_EQ(At(b, 200, 1), kWhite) << "middle tiled";
    EXPECT_EQ(At(b, Item(0).ObjectRect.Left + 1, 4), kLight) << "normal item look";
    bar_->TrackHover(Centre(Item(0).ObjectRect));
    b = bar_->PaintToBitmap();
    EXPECT_EQ(At(b, Item(0).ObjectRect.Left + 1, 4), kNavy) << "hot: left end";
    EXPECT_EQ(At(b, Item(0).ObjectRect.Right - 8, 4), kYellow) << "hot: middle";
    int red = 0;
    for (int y = 2; y < 22; ++y)
        for (int x = Item(0).ObjectRect.Left; x < Item(0).ObjectRect.Right; ++x)
            red += At(b, x, y) == kRed;
    EXPECT_GT(red, 5) << "hot caption in the active font colour";
    Item(0).Down = true;
    b = bar_->PaintToBitmap();
    EXPECT_EQ(At(b, Item(0).ObjectRect.Left + 1, 4), kOrange) << "pressed look";
    Item(0).Down = false;

    // The skin goes: default look and height; freed skin data leaves no pointer behind.
    data.reset();
    bar_->ApplySkin();
    EXPECT_FALSE(bar_->BarSkinned());
    EXPECT_EQ(bar_->Height(), 22);
}

TEST_F(MainMenuBar, ItemWithoutSubItemsRunsItsCommandOnPress) {
    Add(menu_.Items(), "&Run");
    bar_->SetMainMenu(nullptr);
    bar_->SetMainMenu(&menu_);
    bar_->Layout();
    bar_->EnterMenuMode();
    ASSERT_TRUE(skinForm_->MainMenuMode());
    EXPECT_TRUE(bar_->Accelerator('R'));
    EXPECT_EQ(clicks, std::vector<std::string>{"&Run"});
    EXPECT_FALSE(skinForm_->MainMenuMode()) << "the command left menu mode";
    EXPECT_FALSE(skinForm_->MenuHookInstalled());
    EXPECT_FALSE(skinForm_->SkinMenu()->MenuVisible());
    EXPECT_FALSE(bar_->Accelerator('X')) << "no item has X";
}

TEST_F(MainMenuBar, ChildSystemButtonsSitAtTheEndsAndRunTheirCommands) {
    formtest::FakeHost child;
    bar_->ShowSystemButtons(&child, sk::biSystemMenu | sk::biMaximize);
    bar_->Layout();
    const auto& o = bar_->Objects();
    ASSERT_EQ(o.size(), 7u);
    EXPECT_EQ(o[0]->IDName, "SysMenuButton");
    EXPECT_EQ(o[1]->IDName, "CloseButton");
    EXPECT_EQ(o[3]->IDName, "MinButton");
    EXPECT_FALSE(o[3]->Enabled) << "the child cannot minimize";
    EXPECT_EQ(o[0]->ObjectRect, Rect(2, 2, 20, 20));
    EXPECT_EQ(o[1]->ObjectRect.Right, bar_->Width() - 2) << "close at the right end";
    EXPECT_EQ(o[2]->ObjectRect.Right, o[1]->ObjectRect.Left - 2);
    EXPECT_EQ(Item(0).ObjectRect.Left, 22) << "items after the system-menu button";

    bar_->TrackHover(Centre(o[1]->ObjectRect));
    o[1]->MouseDown(0, 0, 0);
    o[1]->MouseUp(0, 0, 0);
    EXPECT_TRUE(child.Logged("close"));
    bar_->TrackHover(Centre(o[2]->ObjectRect));
    o[2]->MouseDown(0, 0, 0);
    o[2]->MouseUp(0, 0, 0);
    EXPECT_TRUE(child.Logged("state:0")) << "the maximize button restores the child";

    // The system-menu button drops the child's system menu and stays down until it closes.
    bar_->TrackHover(Centre(o[0]->ObjectRect));
    o[0]->MouseDown(0, 0, 0);
    ASSERT_TRUE(skinForm_->SkinMenu()->MenuVisible());
    EXPECT_TRUE(o[0]->Down);
    skinForm_->SkinMenu()->CloseAll();
    EXPECT_FALSE(o[0]->Down);
    bar_->HideSystemButtons();
    EXPECT_EQ(bar_->Objects().size(), 3u);
}

}  // namespace
