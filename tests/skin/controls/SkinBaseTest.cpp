#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/ControlTestSkin.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/controls/skSkinWalk.h"
#include "skin/data/skSkinMessages.h"

using namespace controltest;

namespace {

// A form that hears the changes of a skin data object and runs the walk over its controls, as
// every window with skinned controls does.
class WalkingForm : public rt::TForm {
public:
    using rt::TForm::TForm;
    void Listen(sk::TskSkinData* data) {
        auto send = [this](unsigned msg) {
            return [this, msg](sk::TskSkinData& d) {
                rt::TMessage m{msg, rt::PtrParam(&d), sk::kSkinMessageLParam, 0};
                WindowProc(m);
            };
        };
        token_ = data->Subscribe(
            {send(sk::SM_BEFORECHANGESKIN), send(sk::SM_CHANGESKIN), send(sk::SM_AFTERCHANGESKIN)},
            this);
    }
    void WndProc(rt::TMessage& m) override {
        sk::HandleSkinChangeMessage(*this, m);
        if (m.Msg == sk::SM_BEFORECHANGESKIN && OnBefore) OnBefore();
        rt::TForm::WndProc(m);
    }
    std::function<void()> OnBefore;

private:
    sk::TskSkinSubscription token_;
};

class SkinBase : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<WalkingForm>(nullptr);
        form_->SetClientSize(600, 400);
        data_ = new sk::TskSkinData(form_.get());
        form_->Listen(data_);
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
        ASSERT_FALSE(data_->Empty());
    }

    template <class T = sk::TskSkinCustomControl>
    T* Make(const std::string& skinName, int w, int h, rt::TWinControl* parent = nullptr) {
        auto* c = new T(form_.get());
        c->SetSkinDataName(skinName);
        c->SetBounds(0, 0, w, h);
        c->SetParent(parent != nullptr ? parent : form_.get());
        c->SetSkinData(data_);
        return c;
    }

    std::unique_ptr<WalkingForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
};

TEST_F(SkinBase, SizingModeFollowsThePointsAndForcesTheSize) {
    struct Case {
        const char* name;
        sk::TskSizingMode mode;
        int width, height;  // after asking for 50 x 40
    } cases[] = {
        {"fixed", sk::smFixed, 16, 16},   {"label", sk::smHorizontal, 50, 12},
        {"vert", sk::smVertical, 10, 40}, {"both", sk::smBoth, 50, 40},
        {"weird", sk::smFixed, 30, 30},  // not a custom-control description: nothing to impose
    };
    for (const Case& c : cases) {
        auto* ctl = Make(c.name, 30, 30);
        EXPECT_NE(ctl->SkinIndex(), -1) << c.name;
        EXPECT_EQ(ctl->SizingMode(), c.mode) << c.name;
        ctl->SetBounds(5, 6, 50, 40);
        if (std::string(c.name) == "weird") {
            EXPECT_EQ(ctl->Width(), 50) << c.name;
            EXPECT_EQ(ctl->Height(), 40) << c.name;
        } else {
            EXPECT_EQ(ctl->Width(), c.width) << c.name;
            EXPECT_EQ(ctl->Height(), c.height) << c.name;
        }
        EXPECT_EQ(ctl->Left(), 5) << c.name;
    }
}

TEST_F(SkinBase, ApplyingASkinFitsTheCurrentSize) {
    auto* fixed = new sk::TskSkinCustomControl(form_.get());
    fixed->SetSkinDataName("fixed");
    fixed->SetBounds(0, 0, 70, 70);
    EXPECT_EQ(fixed->Width(), 70);  // no skin data yet: nothing to fit to
    fixed->SetSkinData(data_);
    EXPECT_EQ(fixed->Width(), 16);
    EXPECT_EQ(fixed->Height(), 16);
}

TEST_F(SkinBase, FittedGeometryGrowsWithTheControl) {
    auto* both = Make("both", 50, 40);
    EXPECT_EQ(both->FitCorners().LeftTop, rt::Point(3, 3));
    EXPECT_EQ(both->FitCorners().RightTop, rt::Point(47, 3));
    EXPECT_EQ(both->FitCorners().LeftBottom, rt::Point(3, 37));
    EXPECT_EQ(both->FitCorners().RightBottom, rt::Point(47, 37));
    EXPECT_EQ(both->FitClientRect(), rt::Rect(3, 3, 47, 37));
    auto* horz = Make("label", 50, 40);
    EXPECT_EQ(horz->FitClientRect(), rt::Rect(2, 0, 48, 12));
    auto* vert = Make("vert", 50, 40);
    EXPECT_EQ(vert->FitClientRect(), rt::Rect(0, 3, 10, 37));
}

TEST_F(SkinBase, MapSkinRectZoneByZone) {
    struct Case {
        const char* skin;
        int w, h;
        rt::TRect in, out;
        const char* why;
    } cases[] = {
        // smBoth, 16 x 16 skin on 50 x 40: dx 34, dy 24.
        {"both", 50, 40, {0, 0, 2, 2}, {0, 0, 2, 2}, "inside left-top"},
        {"both", 50, 40, {14, 0, 15, 2}, {48, 0, 49, 2}, "inside right-top"},
        {"both", 50, 40, {0, 14, 2, 15}, {0, 38, 2, 39}, "inside left-bottom"},
        {"both", 50, 40, {14, 14, 15, 15}, {48, 38, 49, 39}, "inside right-bottom"},
        // A zone's right and bottom edges are outside it, so a rectangle flush with the skin's
        // right edge is not "in" the right-top zone and no corner rule applies to it.
        {"both", 50, 40, {14, 0, 16, 2}, {14, 0, 16, 2}, "flush with the right edge"},
        {"both", 50, 40, {1, 1, 15, 15}, {1, 1, 49, 39}, "left-top to right-bottom"},
        {"both", 50, 40, {1, 1, 15, 2}, {1, 1, 49, 2}, "left-top to right-top"},
        {"both", 50, 40, {1, 14, 15, 15}, {1, 38, 49, 39}, "left-bottom to right-bottom"},
        {"both", 50, 40, {1, 1, 2, 15}, {1, 1, 2, 39}, "left-top to left-bottom"},
        {"both", 50, 40, {14, 1, 15, 15}, {48, 1, 49, 39}, "right-top to right-bottom"},
        {"both", 50, 40, {5, 5, 8, 8}, {5, 5, 8, 8}, "inside the client: unchanged"},
        {"both", 50, 40, {3, 3, 13, 13}, {3, 3, 47, 37}, "corner on the zone edge counts"},
        // smHorizontal, 20 wide skin on 50: dx 30; left 2, right 18.
        {"label", 50, 12, {1, 0, 19, 12}, {1, 0, 49, 12}, "spans the middle"},
        {"label", 50, 12, {18, 0, 20, 12}, {48, 0, 50, 12}, "right part"},
        {"label", 50, 12, {3, 0, 10, 12}, {3, 0, 10, 12}, "inside the middle"},
        // smVertical, 20 high skin on 40: dy 20; top 3, bottom 17.
        {"vert", 10, 40, {0, 2, 10, 18}, {0, 2, 10, 38}, "spans the middle"},
        {"vert", 10, 40, {0, 17, 10, 20}, {0, 37, 10, 40}, "bottom part"},
        {"vert", 10, 40, {0, 5, 10, 8}, {0, 5, 10, 8}, "inside the middle"},
        {"fixed", 16, 16, {1, 1, 15, 15}, {1, 1, 15, 15}, "fixed: unchanged"},
    };
    for (const Case& c : cases) {
        auto* ctl = Make(c.skin, c.w, c.h);
        ASSERT_EQ(ctl->Width(), c.w) << c.why;
        EXPECT_EQ(ctl->MapSkinRect(c.in), c.out) << c.skin << ": " << c.why;
    }
}

TEST_F(SkinBase, MissingObjectPaintsTheDefaultLookAndTakesTheDefaultSize) {
    auto* ctl = new sk::TskSkinCustomControl(form_.get());
    ctl->SetSkinDataName("no such object");
    ctl->SetBounds(0, 0, 30, 20);
    ctl->SetParent(form_.get());
    ctl->SetDefaultWidth(44);
    EXPECT_EQ(ctl->Width(), 44);  // applied at once while there is no skin object
    ctl->SetDefaultHeight(0);
    EXPECT_EQ(ctl->Height(), 20);  // 0 leaves the size alone
    ctl->SetDefaultHeight(33);
    ctl->SetBounds(0, 0, 10, 10);
    ctl->SetSkinData(data_);
    EXPECT_EQ(ctl->SkinIndex(), -1);
    EXPECT_EQ(ctl->Width(), 44);
    EXPECT_EQ(ctl->Height(), 33);
    rt::TBitmap b = ctl->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnFace));
    EXPECT_EQ(PixelAt(b, 43, 32), rt::ColorToRGB(rt::clBtnFace));
}

TEST_F(SkinBase, SkinnedPaintComposesThePicture) {
    auto* both = Make("both", 50, 40);
    rt::TBitmap b = both->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), kNavy);
    EXPECT_EQ(PixelAt(b, 49, 39), kNavy);
    EXPECT_EQ(PixelAt(b, 25, 1), kNavy);    // top edge tiled across
    EXPECT_EQ(PixelAt(b, 25, 20), kLight);  // client tiled
    auto* horz = Make("label", 50, 12);
    b = horz->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 1, 5), kOlive);
    EXPECT_EQ(PixelAt(b, 2, 5), kTeal);
    EXPECT_EQ(PixelAt(b, 47, 5), kTeal);
    EXPECT_EQ(PixelAt(b, 48, 5), kOlive);
    auto* vert = Make("vert", 10, 40);
    b = vert->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 5, 2), kRed);
    EXPECT_EQ(PixelAt(b, 5, 20), kGreen);
    EXPECT_EQ(PixelAt(b, 5, 37), kBlue);
    auto* fixed = Make("fixed", 30, 30);
    b = fixed->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 8, 8), kGreen);
}

TEST_F(SkinBase, PictureIndexBeyondTheLoadedPicturesPaintsNoPicture) {
    auto* ctl = Make("nopicture", 30, 30);
    EXPECT_NE(ctl->SkinIndex(), -1);
    EXPECT_EQ(ctl->SkinBitmap(), nullptr);
    EXPECT_EQ(ctl->Width(), 10);
    rt::TBitmap b = ctl->PaintToBitmap();
    EXPECT_EQ(b.Width(), 10);
}

TEST_F(SkinBase, WindowRegionComesFromTheMask) {
    auto* fixed = Make("fixed", 16, 16);
    ASSERT_TRUE(fixed->ControlRegion().has_value());
    EXPECT_TRUE(fixed->ControlRegion()->Contains(2, 2));
    EXPECT_TRUE(fixed->ControlRegion()->Contains(7, 15));
    EXPECT_FALSE(fixed->ControlRegion()->Contains(8, 2));
    EXPECT_FALSE(fixed->ControlRegion()->Contains(15, 15));

    auto* both = Make("both", 50, 40);
    ASSERT_TRUE(both->ControlRegion().has_value());
    EXPECT_TRUE(both->ControlRegion()->Contains(1, 1));
    EXPECT_FALSE(both->ControlRegion()->Contains(49, 1));  // the mask's right columns are white

    // An object without a mask, and then no skin at all, leave the window unshaped.
    auto* horz = Make("label", 50, 12);
    EXPECT_FALSE(horz->ControlRegion().has_value());
    data_->ClearSkin();
    EXPECT_FALSE(fixed->ControlRegion().has_value());
    EXPECT_FALSE(both->ControlRegion().has_value());
}

TEST_F(SkinBase, GraphicControlsReadNoMask) {
    auto* g = Make<sk::TskGraphicSkinCustomControl>("fixed", 30, 30);
    EXPECT_EQ(g->Width(), 16);
    EXPECT_EQ(g->SizingMode(), sk::smFixed);
    rt::TBitmap b = g->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 12, 8), kGreen);  // painted whole: no region cuts the right half
}

TEST_F(SkinBase, RemovingTheSkinDataClearsTheReference) {
    auto* ctl = Make("both", 50, 40);
    ASSERT_EQ(ctl->SkinData(), data_);
    delete data_;
    data_ = nullptr;
    EXPECT_EQ(ctl->SkinData(), nullptr);
    rt::TBitmap b = ctl->PaintToBitmap();
    EXPECT_EQ(ctl->SkinIndex(), -1);
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnFace));
}

TEST_F(SkinBase, ZeroSizedControlPaintsNothing) {
    auto* ctl = Make("both", 0, 0);
    ctl->SetSkinDataName("missing");
    ctl->SetBounds(0, 0, 0, 0);
    rt::TBitmap b = ctl->PaintToBitmap();
    EXPECT_TRUE(b.Empty());
}

TEST_F(SkinBase, BackgroundEraseIsIgnored) {
    auto* ctl = Make("both", 50, 40);
    EXPECT_EQ(ctl->Perform(rt::WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(SkinBase, MouseEnterAndLeaveFireAfterTheLibraryHandling) {
    auto* ctl = Make("both", 50, 40);
    int enter = 0, leave = 0;
    ctl->OnMouseEnter = [&](rt::TComponent* s) { enter += s == ctl ? 1 : 100; };
    ctl->OnMouseLeave = [&](rt::TComponent* s) { leave += s == ctl ? 1 : 100; };
    ctl->Perform(rt::CM_MOUSEENTER, 0, 0);
    ctl->Perform(rt::CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(enter, 1);
    EXPECT_EQ(leave, 1);
}

TEST_F(SkinBase, SkinChangeReachesNestedControlsAndOnlyThoseOfTheAnnouncer) {
    auto* outer = Make("both", 200, 100);
    auto* inner = Make("label", 50, 30, outer);
    auto* graphic = Make<sk::TskGraphicSkinCustomControl>("fixed", 30, 30, outer);
    inner->SetDefaultHeight(21);
    // A control painting from another skin data object is left alone.
    auto* otherData = new sk::TskSkinData(nullptr);
    auto otherStored = MakeStoredSkin();
    otherData->LoadStoredSkin(otherStored.get());
    auto* foreign = Make("label", 50, 30, outer);
    foreign->SetSkinData(otherData);
    ASSERT_EQ(inner->Height(), 12);
    ASSERT_EQ(foreign->Height(), 12);

    int innerDuring = 99, graphicDuring = 99;
    std::size_t pixelsDuring = 0;
    const std::size_t pixels = inner->SkinBitmap()->Pixels().size();
    form_->OnBefore = [&] {
        innerDuring = inner->SkinIndex();
        graphicDuring = graphic->SkinIndex();
        // The skin data object has dropped its skin already; the control's hold keeps the
        // pictures it took from it alive (the sanitizers would catch a freed one).
        pixelsDuring = inner->SkinBitmap()->Pixels().size();
    };
    data_->ClearSkin();
    form_->OnBefore = nullptr;
    // Nothing is forgotten before a change: every control holds its skin until it takes the
    // next one.
    EXPECT_NE(innerDuring, -1);
    EXPECT_NE(graphicDuring, -1);
    EXPECT_EQ(pixelsDuring, pixels);
    EXPECT_EQ(inner->SkinIndex(), -1);
    EXPECT_EQ(inner->Height(), 21);  // default size once the skin is gone
    EXPECT_EQ(graphic->SkinIndex(), -1);
    EXPECT_NE(foreign->SkinIndex(), -1);

    data_->LoadStoredSkin(stored_.get());
    EXPECT_NE(inner->SkinIndex(), -1);
    EXPECT_EQ(inner->Height(), 12);
    EXPECT_EQ(graphic->Width(), 16);
    EXPECT_EQ(outer->SizingMode(), sk::smBoth);
    delete foreign;
    delete otherData;
}

TEST_F(SkinBase, NeverPaintsWithAStaleIndex) {
    // A skin data object no form hears from: its reload reaches no walk.
    auto* loose = new sk::TskSkinData(nullptr);
    loose->LoadStoredSkin(stored_.get());
    auto* ctl = Make("both", 50, 40);
    ctl->SetSkinData(loose);
    const int before = ctl->SkinIndex();
    ASSERT_NE(before, -1);
    // The next skin has no "both": the remembered index now names a different object.
    auto renamed = std::make_unique<sk::TskStoredSkin>(nullptr);
    renamed->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintPicture()));
    rt::TStringList lines;
    for (std::string l : DescriptionLines()) {
        if (l == "6=both:label") l = "6=bothx:label";
        lines.Add(l);
    }
    renamed->SetIniStrings(lines);
    loose->LoadStoredSkin(renamed.get());
    ASSERT_EQ(loose->GetControlIndex("both"), -1);
    rt::TBitmap b = ctl->PaintToBitmap();
    EXPECT_EQ(ctl->SkinIndex(), -1);
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnFace));
    delete ctl;
    delete loose;
}

TEST(SkinFont, HeightIsTheCharacterCell) {
    rt::TFont f = sk::MakeSkinFont("Tahoma", 14, rt::fsBold, 255);
    EXPECT_EQ(f.Name, "Tahoma");
    EXPECT_EQ(f.Style, unsigned(rt::fsBold));
    EXPECT_EQ(f.Color, 255);
    EXPECT_EQ(f.PixelSize(), 12);  // a 14-pixel cell holds a 12-pixel em
    EXPECT_EQ(sk::MakeSkinFont("", -12, 0, 0).PixelSize(), 12);
    EXPECT_EQ(sk::MakeSkinFont("", 0, 0, 0).Name, "Arial");
}

}  // namespace
