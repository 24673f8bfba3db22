#include <gtest/gtest.h>

#include "skin/form/MenuTestUtil.h"

using namespace menutest;

namespace {

const rt::TRect kScreen = rt::Rect(0, 0, 1024, 768);

class PopupLooks : public ::testing::Test {
protected:
    void SetUp() override {
        open_ = menu_.Add("&Open");
        open_->ShortCut = rt::ShortCut('O', rt::ssCtrl);
        open_->SetChecked(true);
        save_ = menu_.Add("&Save");
        save_->Enabled = false;
        menu_.Add("-");
        radio_ = menu_.Add("&Radio");
        radio_->RadioItem = true;
        radio_->SetChecked(true);
        more_ = menu_.Add("&More");
        menu_.Add("Inside", more_);
        hidden_ = menu_.Add("Hidden");
        hidden_->Visible = false;
    }
    void LoadSkin(const SkinOptions& o = {}) {
        stored_ = MakeStoredSkin(o);
        data_ = std::make_unique<sk::TskSkinData>(nullptr);
        data_->LoadStoredSkin(stored_.get());
    }
    std::unique_ptr<sk::TskSkinPopupView> View() {
        return std::make_unique<sk::TskSkinPopupView>(style_, data_.get(), menu_.Root(), 0,
                                                      kScreen);
    }
    int TextWidth(const rt::TFont& font, const std::string& s) {
        rt::TBitmap probe(1, 1);
        probe.Canvas().Font = font;
        return probe.Canvas().TextWidth(s);
    }
    // Rightmost column with ink of colour c in rows top..bottom, or -1.
    static int RightmostInk(rt::TBitmap& b, int top, int bottom, rt::TColor c) {
        for (int x = b.Width() - 1; x >= 0; --x)
            for (int y = top; y < bottom; ++y)
                if (At(b, x, y) == rt::ColorToRGB(c)) return x;
        return -1;
    }

    TestMenu menu_;
    rt::TMenuItem *open_, *save_, *radio_, *more_, *hidden_;
    sk::TskMenuStyle style_;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    std::unique_ptr<sk::TskSkinData> data_;
};

TEST_F(PopupLooks, SkinnedSizeBackgroundAndRegion) {
    LoadSkin();
    auto v = View();
    ASSERT_NE(v->PopupDescription(), nullptr);
    ASSERT_NE(v->ItemDescription(), nullptr);
    ASSERT_EQ(v->Count(), 5);  // the invisible item is left out
    // Widest text (caption, two blanks, short-cut, + 2) + glyph cell 19 + 19 + window frame
    // (40 - 30) + item margins around the text (4 + 60 - 56).
    EXPECT_EQ(v->Width(), TextWidth(v->Font(), "Open  Ctrl+O") + 2 + 19 + 19 + 10 + 8);
    EXPECT_EQ(v->Height(), 20 + 20 + 4 + 20 + 20 + 10);
    const int w = v->Width(), h = v->Height();
    EXPECT_EQ(v->SizedItemsBox(), rt::Rect(5, 5, w - 5, h - 5));
    EXPECT_EQ(v->Sized().RightBottom, rt::Point(w - 5, h - 5));
    EXPECT_EQ(v->Items(3).ObjectRect, rt::Rect(5, 49, w - 5, 69));

    rt::TBitmap b = v->PaintToBitmap();
    EXPECT_EQ(At(b, 0, h - 1), kMaroon);
    EXPECT_EQ(At(b, w - 1, 2), kMaroon);
    ASSERT_TRUE(v->Region().has_value());
    EXPECT_FALSE(v->Region()->Contains(0, 0));
    EXPECT_TRUE(v->Region()->Contains(w - 1, 0));
    EXPECT_TRUE(v->Region()->Contains(w / 2, h / 2));
    EXPECT_TRUE(v->Region()->Contains(0, h - 1));
}

TEST_F(PopupLooks, SkinnedItemStates) {
    LoadSkin();
    auto v = View();
    const int w = v->Width();
    rt::TBitmap b = v->PaintToBitmap();
    const rt::TRect open = v->Items(0).ObjectRect, save = v->Items(1).ObjectRect;
    // Normal: the normal look's ends and middle, white text.
    EXPECT_EQ(At(b, 5, 15), kOlive);
    EXPECT_EQ(At(b, w - 6, 15), kOlive);
    EXPECT_EQ(At(b, w / 2, 5), kTeal);
    EXPECT_GT(CountInk(b, open, kItemInk), 10);
    EXPECT_EQ(CountInk(b, open, kItemActiveInk), 0);
    // Disabled: gray text on the normal look.
    EXPECT_GT(CountInk(b, save, kItemDisabledInk), 10);
    EXPECT_EQ(CountInk(b, save, kItemInk), 0);
    // Divider: its own three-piece strip.
    EXPECT_EQ(At(b, w / 2, 46), kMagenta);
    EXPECT_EQ(At(b, 6, 46), kGray);
    // Hot: the active look with the active text colour.
    v->Items(0).Active = true;
    b = v->PaintToBitmap();
    EXPECT_EQ(At(b, w / 2, 5), kYellow);
    EXPECT_EQ(At(b, 5, 15), kNavy);
    EXPECT_GT(CountInk(b, open, kItemActiveInk), 10);
    EXPECT_EQ(CountInk(b, open, kItemInk), 0);
    // A sub-menu's item keeps the active look while its sub-menu is open.
    v->Items(0).Active = false;
    v->Items(4).Down = true;
    b = v->PaintToBitmap();
    EXPECT_EQ(At(b, w / 2, 69), kYellow);
    EXPECT_EQ(At(b, w / 2, 5), kTeal);
}

TEST_F(PopupLooks, SkinnedMarksArrowAndShortCut) {
    LoadSkin();
    auto v = View();
    const int w = v->Width();
    rt::TBitmap b = v->PaintToBitmap();
    // Marks start 2 pixels inside the text rectangle: x 5 + 4 + 2.
    const int markX = 11;
    // Check mark (item 0, middle row 15): its lowest stroke passes (x + 2, mid + 3).
    EXPECT_EQ(At(b, markX + 2, 15 + 3), kItemInk);
    EXPECT_NE(At(b, markX + 2, 15 - 1), kItemInk);
    // Radio dot (item 3, middle row 59): filled around its centre, nothing below it.
    EXPECT_EQ(At(b, markX + 2, 59 - 1), kItemInk);
    EXPECT_EQ(At(b, markX + 3, 59), kItemInk);
    EXPECT_NE(At(b, markX + 2, 59 + 3), kItemInk);
    // Unchecked item without glyph: no mark.
    EXPECT_EQ(CountInk(b, rt::Rect(markX, 69, markX + 8, 89), kItemInk), 0);
    // Sub-menu arrow 7 pixels inside the text rectangle's right edge (item x w - 14, window
    // x w - 9), from 4 above the middle: columns of 7, 5, 3 and 1 pixels.
    const int arrowX = w - 9 - 7;
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX, 69, arrowX + 1, 89), kItemInk), 7);
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX + 1, 69, arrowX + 2, 89), kItemInk), 5);
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX + 3, 69, arrowX + 4, 89), kItemInk), 1);
    EXPECT_EQ(At(b, arrowX, 75), kItemInk);
    EXPECT_EQ(At(b, arrowX + 3, 78), kItemInk);
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX, 5, arrowX + 4, 25), kItemInk), 0);
    // Short-cut text ends 16 pixels before the text rectangle's right edge.
    const int right = RightmostInk(b, 5, 25, kItemInk);
    EXPECT_LT(right, w - 9 - 16);
    EXPECT_GT(right, w - 9 - 16 - 5);
}

TEST_F(PopupLooks, DefaultLookItems) {
    auto* close = menu_.Add("&Close");
    close->SetName("SKF_CLOSE");
    auto v = View();
    ASSERT_EQ(v->PopupDescription(), nullptr);
    EXPECT_EQ(v->Width(), TextWidth(v->Font(), "Open  Ctrl+O") + 2 + 19 + 19 + 10);
    EXPECT_EQ(v->Height(), 20 + 20 + 4 + 20 + 20 + 20 + 4);
    const int w = v->Width();
    const rt::TColor ink = rt::ColorToRGB(rt::clWindowText);
    const rt::TColor shadow = rt::ColorToRGB(rt::clBtnShadow);
    rt::TBitmap b = v->PaintToBitmap();
    EXPECT_EQ(At(b, 0, 0), shadow);
    EXPECT_EQ(At(b, 1, 1), rt::ColorToRGB(rt::clWindow));
    // Normal: band in button face, the rest window colour, window-text ink.
    EXPECT_EQ(At(b, 3, 3), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(At(b, w - 4, 3), rt::ColorToRGB(rt::clWindow));
    EXPECT_GT(CountInk(b, v->Items(0).ObjectRect, ink), 10);
    // Disabled: button-shadow ink only.
    EXPECT_GT(CountInk(b, v->Items(1).ObjectRect, shadow), 10);
    EXPECT_EQ(CountInk(b, v->Items(1).ObjectRect, ink), 0);
    // Divider: a shadow line at half height from the band to the right edge.
    EXPECT_EQ(At(b, 30, 44), shadow);
    EXPECT_EQ(At(b, w - 3, 44), shadow);
    EXPECT_EQ(At(b, 10, 44), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_NE(At(b, 30, 43), shadow);
    // Check mark and radio dot 3 pixels inside (2, 2, w - 2, h - 2): x 7.
    EXPECT_EQ(At(b, 9, 12 + 3), ink);
    EXPECT_NE(At(b, 9, 12 - 1), ink);
    EXPECT_EQ(At(b, 9, 56 - 1), ink);
    EXPECT_NE(At(b, 9, 56 + 3), ink);
    // Arrow 7 pixels from the right of the item's (2, 2, w - 2, h - 2): window x w - 4 - 7.
    const int arrowX = w - 4 - 7;
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX, 66, arrowX + 1, 86), ink), 7);
    EXPECT_EQ(CountInk(b, rt::Rect(arrowX + 3, 66, arrowX + 4, 86), ink), 1);
    // The window glyph of "SKF_CLOSE": a cross in the 10 x 10 cell at (6, 91).
    EXPECT_EQ(At(b, 7, 92), ink);
    EXPECT_EQ(At(b, 11, 96), ink);
    EXPECT_EQ(At(b, 8, 99), ink);
    EXPECT_NE(At(b, 11, 92), ink);
    // Hot: navy frame and the light fill of the default palette.
    v->Items(0).Active = true;
    b = v->PaintToBitmap();
    EXPECT_EQ(At(b, 2, 2), rt::kDefaultFrame);
    EXPECT_EQ(At(b, w - 3, 21), rt::kDefaultFrame);
    EXPECT_EQ(At(b, w / 2, 3), rt::kDefaultHot);
    EXPECT_EQ(At(b, 3, 10), rt::kDefaultHot);
    EXPECT_GT(CountInk(b, v->Items(0).ObjectRect, ink), 10);
}

TEST_F(PopupLooks, HalfSkinnedSkinsFallBackPieceByPiece) {
    // A menu-item object without a window picture: everything in the default look.
    LoadSkin({.popupWindow = false});
    auto v = View();
    EXPECT_EQ(v->PopupDescription(), nullptr);
    EXPECT_EQ(v->ItemDescription(), nullptr);
    EXPECT_EQ(v->Height(), 20 + 20 + 4 + 20 + 20 + 4);
    rt::TBitmap b = v->PaintToBitmap();
    EXPECT_EQ(At(b, 0, 0), rt::ColorToRGB(rt::clBtnShadow));

    // A window picture without a menu-item object: skinned frame, default items and heights.
    LoadSkin({.menuItem = false});
    v = View();
    ASSERT_NE(v->PopupDescription(), nullptr);
    EXPECT_EQ(v->ItemDescription(), nullptr);
    EXPECT_EQ(v->Height(), 20 + 20 + 4 + 20 + 20 + 10);
    EXPECT_EQ(v->Width(), TextWidth(v->Font(), "Open  Ctrl+O") + 2 + 19 + 19 + 10 + 6);
    b = v->PaintToBitmap();
    EXPECT_EQ(At(b, 0, v->Height() - 1), kMaroon);
    EXPECT_EQ(At(b, 6, 6), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(At(b, v->Width() - 8, 6), rt::ColorToRGB(rt::clWindow));

    // A menu item whose picture is missing would have items of no height: default items.
    LoadSkin({.itemPicture = 9});
    v = View();
    ASSERT_NE(v->PopupDescription(), nullptr);
    EXPECT_EQ(v->ItemDescription(), nullptr);
    EXPECT_EQ(v->Items(0).Height(), 20);
}

TEST_F(PopupLooks, ImagesTakeTheMarkPlaceAndWidenTheGlyphCell) {
    rt::TImageList images(nullptr);
    images.SetSize(20, 12);
    rt::TBitmap picture(20, 12);
    Fill(picture, rt::Rect(0, 0, 20, 12), kWhite);
    Fill(picture, rt::Rect(2, 2, 18, 10), kPurple);
    images.AddMasked(picture, kWhite);
    menu_.Menu().Images = &images;
    save_->ImageIndex = 0;
    save_->Enabled = true;
    open_->ImageIndex = 0;
    auto v = View();
    EXPECT_EQ(v->GlyphCellWidth(), 25);
    rt::TBitmap b = v->PaintToBitmap();
    // The image sits at the left edge of (2, 2, w - 2, h - 2), centred on the item's middle;
    // a checked item's image gets a frame, and no check mark is drawn over it.
    EXPECT_EQ(At(b, 4 + 2, 22 + 10), kPurple);
    EXPECT_EQ(At(b, 4 + 2, 2 + 10), kPurple);
    EXPECT_EQ(At(b, 4 - 1, 2 + 10), rt::ColorToRGB(rt::clWindowText));
    EXPECT_NE(At(b, 4 - 1, 22 + 10), rt::ColorToRGB(rt::clWindowText));
    // A disabled item's image is embossed, not in its colours.
    save_->Enabled = false;
    b = v->PaintToBitmap();
    EXPECT_EQ(CountInk(b, v->Items(1).ObjectRect, kPurple), 0);
    EXPECT_GT(CountInk(b, v->Items(1).ObjectRect, rt::clBtnShadow), 20);
}

}  // namespace
