#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FlatSkin.h"
#include "runtime/Application.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinComboBox.h"
#include "skin/controls/skSkinEdit.h"
#include "skin/data/skSkinData.h"

namespace {

using namespace flatskin;
namespace ti = rt::testing;

// Picture 0, 100 x 120:
//  edit        0,0,40,21: 4 red columns, green middle, 4 blue columns; active 0,25,40,46 with a
//              yellow middle.
//  buttonedit  0,50,48,71: 4 red, green, 21 blue (the button's place 29,2,46,19 in it);
//              hot button 50,50,67,67 cyan, pressed 70,50,87,67 magenta, disabled 50,75,67,92
//              gray.
//  combobox    0,75,48,96 as buttonedit; items 0,100,20,115 olive, focused 20,100,40,115
//              purple.
rt::TBitmap Picture() {
    rt::TBitmap p(100, 120);
    Fill(p, rt::Rect(0, 0, 100, 120), kWhite);
    auto strip = [&](int y, int w, int right, rt::TColor middle) {
        Fill(p, rt::Rect(0, y, 4, y + 21), kRed);
        Fill(p, rt::Rect(4, y, w - right, y + 21), middle);
        Fill(p, rt::Rect(w - right, y, w, y + 21), kBlue);
    };
    strip(0, 40, 4, kGreen);
    strip(25, 40, 4, kYellow);
    strip(50, 48, 21, kGreen);
    strip(75, 48, 21, kGreen);
    Fill(p, rt::Rect(50, 50, 67, 67), kCyan);
    Fill(p, rt::Rect(70, 50, 87, 67), kMagenta);
    Fill(p, rt::Rect(50, 75, 67, 92), kGray);
    Fill(p, rt::Rect(0, 100, 20, 115), kOlive);
    Fill(p, rt::Rect(20, 100, 40, 115), kPurple);
    return p;
}

std::vector<std::string> Lines() {
    std::vector<std::string> d = {"[VERSION]",
                                  "skinname=Edits",
                                  "[PICTURES]",
                                  "activepicturescount=1",
                                  "[FORMINFO]",
                                  "lefttoppoint=0,0",
                                  "[SKINOBJECTS]",
                                  "count=0",
                                  "[SKINCONTROLS]",
                                  "count=3",
                                  "0=edit:edit",
                                  "1=buttonedit:edit",
                                  "2=combobox:combobox",
                                  "[edit]",
                                  "pictureindex=0",
                                  "skinrect=0,0,40,21",
                                  "activeskinrect=0,25,40,46",
                                  "lefttoppoint=4,0",
                                  "righttoppoint=36,0",
                                  "clientrect=3,3,37,18",
                                  "fontcolor=" + std::to_string(kNavy),
                                  "activefontcolor=" + std::to_string(kMaroon),
                                  "disabledfontcolor=" + std::to_string(kGray),
                                  "[buttonedit]",
                                  "pictureindex=0",
                                  "skinrect=0,50,48,71",
                                  "lefttoppoint=4,0",
                                  "righttoppoint=27,0",
                                  "clientrect=3,3,28,18",
                                  "buttonrect=29,2,46,19",
                                  "activebuttonrect=50,50,67,67",
                                  "downbuttonrect=70,50,87,67",
                                  "unenabledbuttonrect=50,75,67,92",
                                  "[combobox]",
                                  "pictureindex=0",
                                  "skinrect=0,75,48,96",
                                  "lefttoppoint=4,0",
                                  "righttoppoint=27,0",
                                  "clientrect=3,3,28,18",
                                  "buttonrect=29,2,46,19",
                                  "activebuttonrect=50,50,67,67",
                                  "downbuttonrect=70,50,87,67",
                                  "itemrect=0,100,20,115",
                                  "focusitemrect=20,100,40,115",
                                  "itemleftoffset=2",
                                  "itemrightoffset=2",
                                  "itemtextrect=2,0,18,15",
                                  "fontcolor=" + std::to_string(kNavy),
                                  "focusfontcolor=" + std::to_string(kWhite)};
    return d;
}

class EditCombo : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(30, 30, 500, 300);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = StoredSkin({Picture()}, Lines());
        data_->LoadStoredSkin(stored_.get());
        form_->Show();
        rt::Application()->ProcessMessages();
    }
    sk::TskSkinEdit* MakeEdit(bool skinned, int w = 100, bool button = false) {
        auto* e = new sk::TskSkinEdit(form_.get());
        e->SetBounds(10, 10 + 30 * count_++, w, 21);
        e->SetParent(form_.get());
        e->SetButtonMode(button);
        if (button) e->SetSkinDataName("buttonedit");
        if (skinned) e->SetSkinData(data_);
        return e;
    }
    // The frame of an edit as painted now (its text area shows the frame's pixels under the
    // transparent text).
    static rt::TBitmap Frame(rt::TControl* c) { return c->PaintToBitmap(); }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    int count_ = 0;
};

TEST_F(EditCombo, UnskinnedAreasLeaveTheTextAreaToThePlatformEdit) {
    struct Case {
        const char* name;
        bool button;
        rt::TRect text, buttonArea;
    };
    const Case cases[] = {
        {"plain", false, rt::Rect(2, 2, 298, 19), rt::Rect(280, 0, 300, 21)},
        {"with a button", true, rt::Rect(2, 2, 278, 19), rt::Rect(280, 0, 300, 21)},
    };
    for (const Case& c : cases) {
        sk::TskSkinEdit* e = MakeEdit(false, 300, c.button);
        EXPECT_EQ(e->TextArea(), c.text) << c.name;
        EXPECT_EQ(e->ClientInWindow(), c.text) << c.name;
        if (c.button) {
            EXPECT_EQ(e->ButtonArea(), c.buttonArea) << c.name;
        }
    }
}

TEST_F(EditCombo, SkinnedEditKeepsTheSkinsHeightAndFollowsTheWidth) {
    sk::TskSkinEdit* e = MakeEdit(true, 100);
    e->SetHeight(40);
    EXPECT_EQ(e->Height(), 21);
    EXPECT_EQ(e->TextArea(), rt::Rect(3, 3, 97, 18));
    EXPECT_EQ(e->ClientRect(), rt::Rect(0, 0, 94, 15));

    rt::TBitmap b = Frame(e);
    EXPECT_EQ(PixelAt(b, 1, 10), kRed);
    EXPECT_EQ(PixelAt(b, 50, 10), kGreen);
    EXPECT_EQ(PixelAt(b, 98, 10), kBlue);
    EXPECT_EQ(e->Font().Color, kNavy);

    // The active strip and colour while focused; back when the focus goes.
    e->SetFocus();
    ASSERT_TRUE(e->Focused());
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 50, 10), kYellow);
    EXPECT_EQ(e->Font().Color, kMaroon);
    form_->SetFocus();
    EXPECT_EQ(e->Font().Color, kNavy);
    Enter(e);
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 50, 10), kYellow) << "hot";
    EXPECT_EQ(e->Font().Color, kMaroon);
    Leave(e);
    e->SetEnabled(false);
    EXPECT_EQ(e->Font().Color, kGray);

    // Without the skin: the default size and font.
    data_->ClearSkin();
    e->ApplySkin();
    EXPECT_EQ(e->Height(), 20);
    EXPECT_EQ(e->SkinIndex(), -1);
}

TEST_F(EditCombo, SkinnedButtonStatesAndItsPlaceInTheRightEnd) {
    sk::TskSkinEdit* e = MakeEdit(true, 100, true);
    EXPECT_EQ(e->ButtonArea(), rt::Rect(81, 2, 98, 19));
    EXPECT_EQ(e->TextArea(), rt::Rect(3, 3, 80, 18));
    const rt::TPoint origin = e->ClientToScreen({0, 0});
    const rt::TRect inWindow = e->ClientInWindow();
    auto screen = [&](int x, int y) {
        return rt::TPoint{origin.X - inWindow.Left + x, origin.Y - inWindow.Top + y};
    };
    rt::TBitmap b = Frame(e);
    EXPECT_EQ(PixelAt(b, 90, 10), kBlue) << "the normal button is part of the strip";
    ti::MouseMove(screen(90, 10));
    ASSERT_TRUE(e->ButtonHot());
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 90, 10), kCyan);
    ti::MousePress(screen(90, 10));
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 90, 10), kMagenta);
    ti::MouseRelease(screen(90, 10));
    ti::MouseMove(screen(50, 5));
    EXPECT_FALSE(e->ButtonHot()) << "the text area clears hot";
    e->SetEnabled(false);
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 90, 10), kGray);
}

TEST_F(EditCombo, ButtonClicksOnlyWhenReleasedOnIt) {
    for (bool skinned : {false, true}) {
        sk::TskSkinEdit* e = MakeEdit(skinned, 200, true);
        int clicks = 0;
        e->OnButtonClick = [&](rt::TComponent*) { ++clicks; };
        const rt::TRect b = e->ButtonArea();
        const rt::TPoint origin = e->ClientToScreen({0, 0});
        const rt::TRect inWindow = e->ClientInWindow();
        const rt::TPoint on{origin.X - inWindow.Left + (b.Left + b.Right) / 2,
                            origin.Y - inWindow.Top + (b.Top + b.Bottom) / 2};
        ti::MouseMove(on);
        ti::MousePress(on);
        EXPECT_TRUE(e->ButtonDown());
        ti::MouseMove({on.X + 150, on.Y + 80});
        ti::MouseRelease({on.X + 150, on.Y + 80});
        EXPECT_EQ(clicks, 0) << "released outside, skinned " << skinned;
        EXPECT_FALSE(e->ButtonDown());
        EXPECT_FALSE(e->Focused());

        ti::MouseMove(on);
        ti::MouseClick(on);
        EXPECT_EQ(clicks, 1) << "skinned " << skinned;
        EXPECT_TRUE(e->Focused()) << "the click gives the edit the focus";
        form_->SetFocus();
    }
}

TEST_F(EditCombo, EnterStaysWithTheEditEvenBesideADefaultButton) {
    auto* ok = new sk::TskSkinButton(form_.get());
    ok->SetBounds(300, 10, 75, 25);
    ok->SetParent(form_.get());
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](rt::TComponent*) { ++clicks; };
    sk::TskSkinEdit* e = MakeEdit(true, 150);
    e->SetText("clip.avi");
    std::vector<char32_t> keys;
    e->OnKeyPress = [&](rt::TComponent*, char32_t& k) { keys.push_back(k); };
    e->SetFocus();
    ti::KeyClick(rt::VK_RETURN);
    EXPECT_EQ(keys, std::vector<char32_t>{13});
    EXPECT_EQ(e->Text(), "clip.avi");
    EXPECT_EQ(clicks, 0);
}

TEST_F(EditCombo, UnskinnedFrameLooksAtRestHotAndFocused) {
    sk::TskSkinEdit* e = MakeEdit(false, 120, true);
    rt::TBitmap b = Frame(e);
    EXPECT_EQ(PixelAt(b, 50, 0), rt::ColorToRGB(rt::clBtnFace)) << "outer at rest";
    EXPECT_EQ(PixelAt(b, 50, 1), rt::ColorToRGB(rt::clBtnShadow)) << "inner at rest";
    EXPECT_EQ(PixelAt(b, 100, 0), rt::ColorToRGB(rt::clBtnShadow)) << "button frame";
    EXPECT_EQ(PixelAt(b, 105, 5), rt::ColorToRGB(rt::clBtnFace)) << "button face";
    e->SetFocus();
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 50, 0), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(PixelAt(b, 50, 1), rt::ColorToRGB(rt::clBtnFace));
    e->Perform(rt::WM_NCMOUSEMOVE, sk::HTEDITBUTTON, 0);
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 100, 0), rt::ColorToRGB(rt::clNavy));
    EXPECT_EQ(PixelAt(b, 105, 5), rt::kDefaultHot);
    e->Perform(rt::WM_NCLBUTTONDOWN, sk::HTEDITBUTTON, 0);
    b = Frame(e);
    EXPECT_EQ(PixelAt(b, 105, 5), rt::kDefaultPressed);
}

class Combo : public EditCombo {
protected:
    sk::TskSkinComboBox* MakeCombo(bool skinned, int items) {
        auto* c = new sk::TskSkinComboBox(form_.get());
        c->SetBounds(10, 100, 120, 21);
        c->SetParent(form_.get());
        std::vector<std::string> list;
        for (int i = 0; i < items; ++i) list.push_back("Item " + std::to_string(i));
        c->SetItems(list);
        c->DropDownCount = 5;
        if (skinned) c->SetSkinData(data_);
        return c;
    }
};

TEST_F(Combo, SkinnedBoxAndListComeFromTheSkin) {
    sk::TskSkinComboBox* c = MakeCombo(true, 12);
    c->SetHeight(30);
    EXPECT_EQ(c->Height(), 21);
    EXPECT_EQ(c->ItemHeight(), 15);
    c->SetItemIndex(0);
    rt::TBitmap b = c->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 1, 10), kRed);
    EXPECT_EQ(PixelAt(b, 119, 1), kBlue);
    EXPECT_EQ(PixelAt(b, 110, 10), kBlue) << "the button's normal look is the strip's";
    // Focused: the chosen item on the focused item's ground.
    c->SetFocus();
    b = c->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 40, 4), kPurple);

    c->SetDroppedDown(true);
    ASSERT_TRUE(c->DroppedDown());
    b = c->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 110, 10), kMagenta) << "the pressed button while open";
    sk::TskSkinScrollBar* bar = c->ListScrollBar();
    ASSERT_NE(bar, nullptr) << "12 items in a list of 5";
    EXPECT_EQ(bar->Max(), 11);
    EXPECT_EQ(bar->PageSize(), 5);
    rt::TBitmap list = c->ListWindow()->PaintToBitmap();
    EXPECT_EQ(PixelAt(list, 5, 1 + 7), kPurple) << "the highlighted first item";
    EXPECT_EQ(PixelAt(list, 5, 1 + 15 + 7), kOlive) << "the second";

    // The bar scrolls the list, and a click on it leaves the list open.
    const rt::TPoint bottom = bar->ClientToScreen({bar->Width() / 2, bar->Height() - 5});
    ti::MouseClick(bottom);
    EXPECT_TRUE(c->DroppedDown());
    EXPECT_EQ(c->TopIndex(), 1);
    EXPECT_EQ(bar->Position(), 1);
    ti::KeyClick(rt::VK_END);
    EXPECT_EQ(c->TopIndex(), 7);
    EXPECT_EQ(bar->Position(), 7);
    ti::KeyClick(rt::VK_RETURN);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 11);
}

TEST_F(Combo, DefaultLookWithoutASkinAndNoBarWhenTheItemsFit) {
    sk::TskSkinComboBox* c = MakeCombo(false, 3);
    c->SetItemIndex(1);
    rt::TBitmap b = c->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 10), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(PixelAt(b, 40, 10), rt::ColorToRGB(rt::clWindow)) << "the item's ground";
    c->SetFocus();
    b = c->PaintToBitmap();
    EXPECT_GT(Count(b, rt::Rect(4, 4, 90, 17), rt::ColorToRGB(rt::clHighlight)), 200)
        << "the focused box shows its item selected";
    c->SetDroppedDown(true);
    EXPECT_EQ(c->ListScrollBar(), nullptr);
    rt::TBitmap list = c->ListWindow()->PaintToBitmap();
    EXPECT_EQ(list.Height(), 3 * c->ItemHeight() + 2);
    EXPECT_EQ(PixelAt(list, 5, 1 + c->ItemHeight() + 2), rt::ColorToRGB(rt::clHighlight));
    c->SetDroppedDown(false);
}

}  // namespace
