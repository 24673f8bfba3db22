#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/DialogControlsSkin.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinSplitter.h"

using namespace dialogskin;

namespace {

class DialogParts : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetClientSize(400, 300);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
    }
    template <class T>
    T* Child(rt::TWinControl* parent, int x, int y, int w, int h) {
        auto* c = new T(form_.get());
        c->SetBounds(x, y, w, h);
        c->SetParent(parent);
        return c;
    }
    sk::TskSkinExPanel* Panel(bool skinned, int w = 150, int h = 100) {
        auto* p = Child<sk::TskSkinExPanel>(form_.get(), 10, 10, w, h);
        if (skinned) p->SetSkinData(data_);
        return p;
    }
    // The bounding box of the pixels of a colour.
    static rt::TRect Box(rt::TBitmap& b, rt::TColor c) {
        rt::TRect r{b.Width(), b.Height(), 0, 0};
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (PixelAt(b, x, y) == c) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
};

TEST_F(DialogParts, SplitterThicknessComesFromTheSkin) {
    auto* left = Child<rt::TCustomControl>(form_.get(), 0, 0, 100, 300);
    left->SetAlign(rt::TAlign::alLeft);
    auto* splitter = Child<sk::TskSkinSplitter>(form_.get(), 100, 0, 3, 300);
    splitter->SetSkinData(nullptr);
    EXPECT_EQ(splitter->Width(), 10) << "DefaultSize without a skin";
    splitter->SetSkinData(data_);
    EXPECT_EQ(splitter->Width(), 6);
    EXPECT_EQ(splitter->MinSize, 6);
    rt::TBitmap img = splitter->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 3, 1), kRed);
    EXPECT_EQ(PixelAt(img, 3, 150), kGreen);
    EXPECT_EQ(PixelAt(img, 3, 299), kBlue);

    for (const char* name : {"label", "flatsplitter", "nothing"}) {
        splitter->SetSkinDataName(name);
        EXPECT_EQ(splitter->Width(), 10) << name;
        EXPECT_EQ(splitter->MinSize, 10) << name;
    }
    splitter->SetSkinDataName("vsplitter");
    ASSERT_EQ(splitter->Width(), 6);
    data_->ClearSkin();
    splitter->ApplySkin();
    EXPECT_EQ(splitter->Width(), 10);
    img = splitter->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 3, 150), rt::ColorToRGB(rt::clBtnFace)) << "a plain splitter";

    // Across the top it takes the skin's height and paints a horizontal strip.
    data_->LoadStoredSkin(stored_.get());
    auto* top = Child<sk::TskSkinSplitter>(form_.get(), 0, 0, 100, 3);
    top->SetAlign(rt::TAlign::alTop);
    top->SetSkinData(data_);
    EXPECT_EQ(top->Height(), 30);
    img = top->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, top->Width() / 2, 1), kRed);
    EXPECT_EQ(PixelAt(img, top->Width() / 2, 15), kGreen);
    EXPECT_EQ(PixelAt(img, top->Width() / 2, 28), kBlue);
}

TEST_F(DialogParts, SplitterDragResizesTheControlBesideIt) {
    auto* left = Child<rt::TCustomControl>(form_.get(), 0, 0, 100, 300);
    left->SetAlign(rt::TAlign::alLeft);
    auto* splitter = Child<sk::TskSkinSplitter>(form_.get(), 100, 0, 10, 300);
    auto* rest = Child<rt::TCustomControl>(form_.get(), 0, 0, 10, 10);
    rest->SetAlign(rt::TAlign::alClient);
    splitter->SetSkinData(data_);
    ASSERT_EQ(splitter->ResizedControl(), left);
    int moved = 0;
    splitter->OnMoved = [&](rt::TComponent*) { ++moved; };
    Press(splitter, 2, 50);
    Move(splitter, 32, 50);
    EXPECT_EQ(left->Width(), 130);
    EXPECT_EQ(splitter->Left(), 130);
    // The pointer is now 2 pixels into the moved splitter; back past the start and beyond.
    Move(splitter, -200, 50);
    EXPECT_EQ(left->Width(), 6) << "never below MinSize";
    Move(splitter, 1000, 50);
    EXPECT_EQ(left->Width(), 400 - 6 - 6) << "the client keeps MinSize";
    Release(splitter, 1000, 50);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(rest->Left(), left->Width() + 6);
}

TEST_F(DialogParts, BevelDividerLinesAndSkinColours) {
    auto* bevel = Child<sk::TskSkinBevel>(form_.get(), 0, 0, 26, 25);
    bevel->SetShape(rt::TBevelShape::bsLeftLine);
    bevel->SetDividerMode(true);
    const rt::TColor dark = rt::ColorToRGB(rt::clBtnShadow);
    const rt::TColor light = rt::ColorToRGB(rt::clBtnHighlight);
    const rt::TColor face = rt::ColorToRGB(rt::clBtnFace);
    rt::TBitmap img = bevel->PaintToBitmap();
    for (int y = 2; y <= 23; ++y) {
        EXPECT_EQ(PixelAt(img, 12, y), dark) << y;
        EXPECT_EQ(PixelAt(img, 13, y), light) << y;
    }
    EXPECT_EQ(PixelAt(img, 12, 1), face);
    EXPECT_EQ(PixelAt(img, 12, 24), face);
    EXPECT_EQ(PixelAt(img, 11, 10), face);
    EXPECT_EQ(PixelAt(img, 14, 10), face);

    // Raised swaps the tones; a top line divides horizontally at the middle.
    bevel->SetStyle(rt::TBevelStyle::bsRaised);
    bevel->SetShape(rt::TBevelShape::bsTopLine);
    img = bevel->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 10, 11), light);
    EXPECT_EQ(PixelAt(img, 10, 12), dark);
    EXPECT_EQ(PixelAt(img, 1, 11), face);
    bevel->SetShape(rt::TBevelShape::bsSpacer);
    img = bevel->PaintToBitmap();
    EXPECT_EQ(Count(img, rt::Rect(0, 0, 26, 25), face), 26 * 25);

    // Without divider mode the shapes of the class library: a box.
    bevel->SetDividerMode(false);
    bevel->SetStyle(rt::TBevelStyle::bsLowered);
    bevel->SetShape(rt::TBevelShape::bsBox);
    bevel->SetSkinData(data_);
    EXPECT_EQ(bevel->ShadowTone(), kMaroon);
    img = bevel->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 0, 10), kMaroon);
    EXPECT_EQ(PixelAt(img, 10, 0), kMaroon);
    EXPECT_EQ(PixelAt(img, 25, 10), kYellow);
    EXPECT_EQ(PixelAt(img, 10, 24), kYellow);

    bevel->SetSkinDataName("button");
    EXPECT_EQ(bevel->ShadowTone(), kMaroon) << "another kind of object keeps the colours";
    bevel->SetSkinDataName("nothing");
    EXPECT_EQ(bevel->ShadowTone(), rt::clBtnShadow);
    EXPECT_EQ(bevel->HighlightTone(), rt::clBtnHighlight);
}

TEST_F(DialogParts, RollingVerticallyHidesChildrenAndRestoresTheSize) {
    auto* p = Panel(false);
    auto* shown = Child<rt::TCustomControl>(p, 5, 30, 20, 20);
    auto* hidden = Child<rt::TCustomControl>(p, 30, 30, 20, 20);
    hidden->Hide();
    int changes = 0;
    p->OnChangeRollState = [&](rt::TComponent*) { ++changes; };
    EXPECT_EQ(p->ClientRect(), rt::Rect(1, 21, 149, 99));

    p->SetRollState(true);
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(p->Width(), 150);
    EXPECT_FALSE(shown->Visible());
    p->SetHeight(300);
    EXPECT_EQ(p->Height(), 21) << "a rolled panel keeps its rolled height";
    p->SetBounds(0, 0, 180, 50);
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(p->Width(), 180);

    p->SetRollState(false);
    EXPECT_EQ(p->Height(), 100);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible()) << "a child hidden before rolling stays hidden";
    EXPECT_EQ(changes, 2);
    p->SetRollState(false);
    EXPECT_EQ(changes, 2);

    // A child freed while rolled is not shown again.
    p->SetRollState(true);
    delete shown;
    p->SetRollState(false);
    EXPECT_EQ(p->ControlCount(), 1);
}

TEST_F(DialogParts, RollingSidewaysAndWithTheSkin) {
    auto* p = Panel(false);
    p->SetRollKind(sk::rkRollHorizontal);
    p->SetRollState(true);
    EXPECT_EQ(p->Width(), 21);
    EXPECT_EQ(p->Height(), 100);
    p->SetWidth(90);
    EXPECT_EQ(p->Width(), 21);
    p->SetRollState(false);
    EXPECT_EQ(p->Width(), 150);

    auto* s = Panel(true);
    auto* child = Child<rt::TCustomControl>(s, 0, 0, 10, 10);
    child->SetAlign(rt::TAlign::alClient);
    EXPECT_EQ(child->BoundsRect(), rt::Rect(3, 20, 147, 97)) << "children in the fitted client";
    s->SetRollState(true);
    EXPECT_EQ(s->Height(), 20) << "the height of rollvskinrect";
    s->SetRollState(false);
    s->SetRollKind(sk::rkRollHorizontal);
    s->SetRollState(true);
    EXPECT_EQ(s->Width(), 20) << "the width of rollhskinrect";
    EXPECT_EQ(s->Height(), 100);
    s->SetRollState(false);
    EXPECT_EQ(s->BoundsRect(), rt::Bounds(10, 10, 150, 100));
    EXPECT_TRUE(child->Visible());
}

TEST_F(DialogParts, CloseAndRollButtons) {
    auto* p = Panel(false);
    int closes = 0;
    p->OnClose = [&](rt::TComponent*) { ++closes; };
    p->LayoutCaption();
    EXPECT_EQ(p->Button(sk::TskSkinExPanel::kCloseButton).Rect, rt::Rect(133, 3, 148, 18));
    EXPECT_EQ(p->Button(sk::TskSkinExPanel::kRollButton).Rect, rt::Rect(118, 3, 133, 18));

    Press(p, 140, 10);
    Move(p, 60, 60);
    Release(p, 60, 60);
    EXPECT_TRUE(p->Visible()) << "released off the close button";
    Move(p, 140, 10);
    rt::TBitmap img = p->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 133, 3), rt::kDefaultFrame);
    // Inside the button's bevel: its face.
    EXPECT_EQ(PixelAt(img, 135, 5), rt::kDefaultHot);
    Press(p, 140, 10);
    img = p->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 135, 5), rt::kDefaultPressed);
    Release(p, 140, 10);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(closes, 1);

    p->Show();
    Press(p, 125, 10);
    Release(p, 125, 10);
    EXPECT_TRUE(p->RollState());
    EXPECT_EQ(p->Height(), 21);

    // Sideways without close button: the roll button at the top of the caption area.
    auto* s = Panel(true);
    s->SetShowCloseButton(false);
    s->SetRollKind(sk::rkRollHorizontal);
    s->SetRollState(true);
    s->LayoutCaption();
    EXPECT_EQ(s->Button(sk::TskSkinExPanel::kRollButton).Rect, rt::Rect(3, 3, 15, 15));
    EXPECT_TRUE(s->Button(sk::TskSkinExPanel::kCloseButton).Rect.IsEmpty());
    EXPECT_EQ(s->CaptionArea(), rt::Rect(3, 15, 17, 97));
}

TEST_F(DialogParts, SkinnedCaptionBarAndRotatedCaption) {
    auto* p = Panel(true);
    p->SetCaption("Folders");
    rt::TBitmap img = p->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 140, 8), kRed) << "close button at the caption's right end";
    EXPECT_EQ(PixelAt(img, 126, 8), kBlue) << "roll button 2 pixels left of it";
    EXPECT_EQ(PixelAt(img, 100, 60), kLight);
    const rt::TRect text = Box(img, kWhite);
    EXPECT_GE(text.Left, 5);
    EXPECT_LE(text.Right, 121);
    EXPECT_GT(text.Width(), text.Height()) << "the caption reads across while unrolled";

    Move(p, 140, 8);
    EXPECT_EQ(PixelAt(img = p->PaintToBitmap(), 140, 8), kYellow);
    Press(p, 126, 8);
    EXPECT_EQ(PixelAt(img = p->PaintToBitmap(), 126, 8), kCyan);
    Release(p, 126, 8);
    ASSERT_TRUE(p->RollState());
    img = p->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 126, 8), kGreen) << "the restore image while rolled";
    EXPECT_EQ(PixelAt(img, 60, 18), kTeal);

    // Sideways: the caption turned to read upwards, below the buttons.
    auto* s = Panel(true);
    s->SetCaption("..WWW");
    s->SetRollKind(sk::rkRollHorizontal);
    s->SetRollState(true);
    img = s->PaintToBitmap();
    EXPECT_EQ(PixelAt(img, 8, 8), kRed);
    EXPECT_EQ(PixelAt(img, 8, 22), kPurple) << "the sideways restore image";
    const rt::TRect turned = Box(img, kWhite);
    EXPECT_GE(turned.Top, 29);
    EXPECT_LE(turned.Bottom, 97);
    EXPECT_GE(turned.Left, 3);
    EXPECT_LE(turned.Right, 17);
    EXPECT_GT(turned.Height(), turned.Width() * 2);
    // The wide letters end the text: reading upwards they are at the top.
    // The dots start the text: reading upwards they are at the bottom, the W's above them.
    const rt::TRect top = rt::Rect(0, turned.Top, 20, turned.Top + 5);
    const rt::TRect bottom = rt::Rect(0, turned.Bottom - 5, 20, turned.Bottom);
    EXPECT_GE(Count(img, top, kWhite), 10);
    EXPECT_LE(Count(img, bottom, kWhite), 4);
}

}  // namespace
