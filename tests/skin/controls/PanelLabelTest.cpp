#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/ControlTestSkin.h"
#include "skin/controls/skSkinPanels.h"

using namespace controltest;

namespace {

class PanelsAndLabels : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetClientSize(600, 400);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
    }
    template <class T>
    T* Make(bool skinned, int w, int h, rt::TWinControl* parent = nullptr) {
        auto* c = new T(form_.get());
        c->SetBounds(10, 10, w, h);
        c->SetParent(parent != nullptr ? parent : form_.get());
        if (skinned) c->SetSkinData(data_);
        return c;
    }
    static int CountPixels(rt::TBitmap& b, rt::TColor c) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) n += PixelAt(b, x, y) == c ? 1 : 0;
        return n;
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
};

TEST_F(PanelsAndLabels, PanelClientAreaForAlignedChildren) {
    auto* skinned = Make<sk::TskSkinPanel>(true, 233, 177);
    skinned->SetBorderStyle(sk::bvLowered);
    EXPECT_EQ(skinned->SizingMode(), sk::smBoth);
    EXPECT_EQ(skinned->ClientRect(), rt::Rect(3, 3, 230, 174));
    auto* child = new sk::TskSkinPanel(form_.get());
    child->SetParent(skinned);
    child->SetAlign(rt::TAlign::alClient);
    EXPECT_EQ(child->BoundsRect(), rt::Rect(3, 3, 230, 174));

    auto* plain = Make<sk::TskSkinPanel>(false, 233, 177);
    plain->SetBorderStyle(sk::bvLowered);
    EXPECT_EQ(plain->ClientRect(), rt::Rect(1, 1, 232, 176));
    plain->SetBorderStyle(sk::bvNone);
    EXPECT_EQ(plain->ClientRect(), rt::Rect(0, 0, 233, 177));
    plain->SetCaptionMode(true);
    EXPECT_EQ(plain->ClientRect(), rt::Rect(0, 22, 233, 177));
    // Without a border and caption, a skinned smBoth panel gives its children everything.
    skinned->SetBorderStyle(sk::bvNone);
    EXPECT_EQ(skinned->ClientRect(), rt::Rect(0, 0, 233, 177));
}

TEST_F(PanelsAndLabels, PanelLooks) {
    auto* plain = Make<sk::TskSkinPanel>(false, 50, 40);
    plain->SetBorderStyle(sk::bvLowered);
    rt::TBitmap b = plain->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnShadow));
    EXPECT_EQ(PixelAt(b, 49, 39), rt::ColorToRGB(rt::clBtnHighlight));
    EXPECT_EQ(PixelAt(b, 20, 20), rt::ColorToRGB(rt::clBtnFace));
    plain->SetBorderStyle(sk::bvRaised);
    b = plain->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnHighlight));

    auto* skinned = Make<sk::TskSkinPanel>(true, 50, 40);
    b = skinned->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), kNavy);
    EXPECT_EQ(PixelAt(b, 25, 20), kLight);
    // Borderless interior mode tiles only the client part of the picture.
    skinned->SetBorderStyle(sk::bvNone);
    b = skinned->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), kLight);
    EXPECT_EQ(PixelAt(b, 49, 39), kLight);
}

TEST_F(PanelsAndLabels, RollUpNeedsRollUpMode) {
    auto* p = Make<sk::TskSkinPanel>(false, 100, 100);
    p->SetRollUpState(true);
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(p->Height(), 100);
}

TEST_F(PanelsAndLabels, RollingUpAndDownRestoresHeightAndExactlyTheVisibleChildren) {
    auto* p = Make<sk::TskSkinPanel>(false, 100, 100);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    auto* shown = Make<sk::TskSkinLabel>(false, 20, 20, p);
    auto* hidden = Make<sk::TskSkinLabel>(false, 20, 20, p);
    hidden->Hide();
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 23);  // caption height + 1
    EXPECT_FALSE(shown->Visible());
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 100);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());

    // A click on the caption rolls too; with a skin the caption height comes from the picture.
    p->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(50, 5));
    p->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(50, 5));
    EXPECT_TRUE(p->RollUpState());
    EXPECT_EQ(p->Height(), 23);
    p->SetSkinData(data_);
    EXPECT_EQ(p->Height(), 6);  // 16 - 10 pixels of client in the skin rect
    EXPECT_EQ(p->SavedHeight(), 100);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 100);
}

TEST_F(PanelsAndLabels, CheckedAlwaysNotifiesAndDrivesTheChildren) {
    auto* p = Make<sk::TskSkinPanel>(false, 100, 100);
    auto* child = Make<sk::TskSkinLabel>(false, 20, 20, p);
    int notified = 0;
    p->OnChecked = [&](rt::TComponent*) { ++notified; };
    p->SetChecked(false);
    EXPECT_EQ(notified, 1);
    EXPECT_TRUE(child->Enabled());  // not in check mode: children untouched
    p->SetCheckedMode(true);
    p->SetChecked(false);
    EXPECT_EQ(notified, 2);
    EXPECT_FALSE(child->Enabled());
    child->SetEnabled(true);
    p->SetChecked(false);
    EXPECT_FALSE(child->Enabled());
    p->AutoEnabledControls = false;
    p->SetChecked(true);
    EXPECT_FALSE(child->Enabled());
    EXPECT_EQ(notified, 4);
}

TEST_F(PanelsAndLabels, GroupBoxStartsInCaptionMode) {
    auto* g = Make<sk::TskSkinGroupBox>(false, 100, 60);
    EXPECT_TRUE(g->CaptionMode());
    EXPECT_EQ(g->SkinDataName(), "groupbox");
    g->SetCaption("Group");
    rt::TBitmap b = g->PaintToBitmap();
    EXPECT_GT(CountPixels(b, rt::ColorToRGB(rt::clWindowText)), 5);
}

TEST_F(PanelsAndLabels, AutoSizedSkinnedLabelFitsItsCaption) {
    auto* l = Make<sk::TskSkinLabel>(true, 75, 21);
    ASSERT_EQ(l->SizingMode(), sk::smHorizontal);
    EXPECT_EQ(l->Height(), 12);
    l->SetAutoSize(true);
    l->SetCaption("Start Frame");
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = sk::MakeSkinFont("Arial", 14, 0, 0);
    const int tw = probe.Canvas().TextWidth("Start Frame");
    EXPECT_EQ(l->FitClientRect().Width(), tw);
    EXPECT_EQ(l->Width(), tw + 4);
    l->SetCaption("x");
    EXPECT_EQ(l->FitClientRect().Width(), probe.Canvas().TextWidth("x"));  // shrinks too
}

TEST_F(PanelsAndLabels, WideCaptionWidensEvenWithoutAutoSize) {
    auto* l = Make<sk::TskSkinLabel>(true, 30, 21);
    l->SetCaption("A rather long caption");
    l->SetBounds(10, 10, 31, 21);  // any size change refits
    EXPECT_GT(l->Width(), 31);
    EXPECT_EQ(l->SkinExtraWidth(), 0);
    l->SetCaption("x");
    l->SetBounds(10, 10, 60, 21);
    EXPECT_EQ(l->Width(), 60);  // a short caption never shrinks it without AutoSize
}

TEST_F(PanelsAndLabels, LabelPaintsAtItsOwnSizeWhateverItsCaptionNeeds) {
    auto* l = Make<sk::TskSkinLabel>(true, 50, 21);
    l->SetAlignment(sk::taRightJustify);
    l->SetCaption("A caption wider than fifty pixels");  // no AutoSize: the width stays
    ASSERT_EQ(l->Width(), 50);
    rt::TBitmap b = l->PaintToBitmap();
    EXPECT_EQ(l->FitClientRect(), rt::Rect(2, 0, 48, 12));
    EXPECT_EQ(PixelAt(b, 49, 6), kOlive);  // the right end piece is not covered by text
}

TEST_F(PanelsAndLabels, AlignedLabelKeepsItsWidth) {
    auto* l = Make<sk::TskSkinLabel>(false, 75, 21);
    l->SetAlign(rt::TAlign::alTop);
    const int w = l->Width();
    l->SetAutoSize(true);
    l->SetCaption("A rather long caption for the label");
    EXPECT_EQ(l->Width(), w);
}

TEST_F(PanelsAndLabels, UnskinnedLabelSizesToDefaultFontAndPaintsItsLook) {
    auto* l = Make<sk::TskSkinLabel>(false, 75, 21);
    l->SetBorderStyle(sk::bvNone);
    l->SetAutoSize(true);
    l->SetCaption("End Frame");
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = l->DefaultFont();
    // The text is drawn 3 pixels in from either side.
    EXPECT_EQ(l->Width(), probe.Canvas().TextWidth("End Frame") + 6);
    rt::TBitmap b = l->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_GT(CountPixels(b, rt::ColorToRGB(rt::clWindowText)), 10);
    l->SetSkinData(data_);
    b = l->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), kOlive);
    EXPECT_GT(CountPixels(b, rt::clWhite), 10);  // the skin's font colour
    // Back to the default look, the label takes its caption's width there again rather than
    // keeping the skin's (which would cut the caption off).
    l->SetWidth(20);
    data_->ClearSkin();
    l->ApplySkin();  // as a skinned form's walk does after the change
    EXPECT_EQ(l->Width(), probe.Canvas().TextWidth("End Frame") + 6);
}

TEST_F(PanelsAndLabels, StandardLabelTakesTheSkinFontAndEmbossesWhenDisabled) {
    auto* l = new sk::TskSkinStdLabel(form_.get());
    l->SetParent(form_.get());
    l->SetCaption("Look in:");
    EXPECT_TRUE(l->Transparent());
    rt::TBitmap b = l->PaintToBitmap();
    EXPECT_EQ(CountPixels(b, 255), 0);
    l->SetSkinData(data_);
    EXPECT_NE(l->SkinIndex(), -1);
    EXPECT_EQ(l->TextFont().Color, 255);
    EXPECT_EQ(l->TextFont().PixelSize(), sk::MakeSkinFont("Arial", 20, 0, 0).PixelSize());
    b = l->PaintToBitmap();
    EXPECT_GT(CountPixels(b, 255), 10);
    l->SetEnabled(false);
    b = l->PaintToBitmap();
    EXPECT_GT(CountPixels(b, rt::ColorToRGB(rt::clBtnHighlight)), 5);
    EXPECT_GT(CountPixels(b, rt::ColorToRGB(rt::clBtnShadow)), 5);
    EXPECT_EQ(CountPixels(b, 255), 0);
    delete data_;
    data_ = nullptr;
    EXPECT_EQ(l->SkinData(), nullptr);
}

TEST_F(PanelsAndLabels, StandardLabelSizesAndDrawsWithTheSkinFontOverItsParent) {
    auto* panel = Make<sk::TskSkinPanel>(true, 200, 100);
    auto* l = new sk::TskSkinStdLabel(form_.get());
    l->SetParent(panel);
    l->SetBounds(20, 20, 10, 10);
    l->SetSkinData(data_);
    l->SetCaption("Files of &type:");
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = l->TextFont();
    EXPECT_EQ(l->Width(), probe.Canvas().TextWidth("Files of type:"));
    EXPECT_EQ(l->Height(), probe.Canvas().TextHeight("F"));
    EXPECT_GT(l->Height(), rt::TLabel(nullptr).Height());  // the 20-pixel skin font, not Font
    // Transparent: the panel's light interior shows around the red skin-coloured text.
    rt::TBitmap b = l->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, l->Width() - 1, 0), kLight);
    EXPECT_GT(CountPixels(b, 255), 10);
}

}  // namespace
