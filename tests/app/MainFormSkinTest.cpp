#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/MainFrm.h"
#include "app/MainLayout.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/ControlTestSkin.h"

namespace fs = std::filesystem;
using namespace controltest;

namespace {

class MainWindowSkin : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-appskin");
        dir_ = tmp_->path();
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", dir_ / "noframe.jpg");
        form_ = std::make_unique<app::TMainForm>(nullptr, dir_.string() + "/");
    }
    void TearDown() override {
        form_.reset();
        tmp_.reset();
    }

    // Columns of the painted thumb in row y (first and last), found by its colour, `margin`
    // columns in from each side (to leave out the control's own frame).
    static std::pair<int, int> ThumbColumns(rt::TBitmap& b, int y, rt::TColor c, int margin) {
        int first = -1, last = -1;
        for (int x = margin; x < b.Width() - margin; ++x)
            if (PixelAt(b, x, y) == c) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }

    // Marker centre minus thumb centre in window pixels, for the track bar's value v.
    double Offset(int v, int row, rt::TColor thumbColour, int margin = 0) {
        sk::TskSkinTrackBar* t = form_->TrackBar1;
        t->SetValue(v);
        rt::TBitmap b = t->PaintToBitmap();
        auto [first, last] = ThumbColumns(b, row, thumbColour, margin);
        EXPECT_GE(first, 0) << "thumb not found at value " << v;
        const double thumbCentre = t->Left() + (first + last + 1) / 2.0;
        const double markerCentre = app::MarkerLeft(t->Width(), t->MaxValue(), v) + 1.0;
        return markerCentre - thumbCentre;
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    fs::path dir_;
    std::unique_ptr<app::TMainForm> form_;
};

TEST_F(MainWindowSkin, ControlsAreSkinnedControlsWithTheirObjectsAndWinAquaAtStart) {
    EXPECT_EQ(form_->TrackBar1->SkinDataName(), "htrackbar");
    EXPECT_EQ(form_->ProgressBar1->SkinDataName(), "gauge");
    EXPECT_EQ(form_->skSkinPanel1->SkinDataName(), "panel");
    EXPECT_EQ(form_->skSkinLabel2->SkinDataName(), "label");
    for (sk::TskSkinnable* c : std::initializer_list<sk::TskSkinnable*>{
             form_->TrackBar1, form_->ProgressBar1, form_->skSkinPanel1, form_->skSkinPanel2,
             form_->skSkinLabel1, form_->skSkinLabel2})
        EXPECT_EQ(c->SkinData(), form_->skSkinData1);
    EXPECT_FALSE(form_->skSkinData1->Empty());
    EXPECT_EQ(form_->skSkinData1->SkinName, "WinAqua");
    EXPECT_EQ(form_->skSkinData1->CompressedStoredSkin(), form_->WinAqua);
    EXPECT_TRUE(form_->mSkinWinAqua->Checked());
    EXPECT_NE(form_->TrackBar1->SkinIndex(), -1);
    EXPECT_EQ(form_->TrackBar1->BoundsRect().Left, 19);
    EXPECT_EQ(form_->TrackBar1->Width(), 491);
    EXPECT_EQ(form_->skSkinPanel1->BorderStyle(), sk::bvLowered);
    EXPECT_EQ(form_->skSkinLabel1->Caption(), "Start Frame");
    EXPECT_TRUE(form_->skSkinLabel1->AutoSize());
}

// In every skin and without one, the thumb is at least 11 pixels wide and the 2-pixel markers
// sit exactly under its centre at the ends and the middle of the range: the columns where the
// thumb is painted (found against the bar painted with the thumb far away) are centred on the
// marker.
TEST_F(MainWindowSkin, MarkersSitUnderTheThumbsCentreInEverySkin) {
    app::TMainForm& f = *form_;
    sk::TskSkinTrackBar* t = f.TrackBar1;
    for (auto click : {&app::TMainForm::mSkinWinAquaClick, &app::TMainForm::mSkinWinxpblueClick,
                       &app::TMainForm::mSkinWistlerClick, &app::TMainForm::mSkinNoSkinClick}) {
        (f.*click)(nullptr);
        const std::string skin = f.skSkinData1->Empty() ? "No Skin" : f.skSkinData1->SkinName;
        for (int max : {1, 59, 100, 3600}) {
            t->SetMaxValue(max);
            for (int v : {0, max / 2, max}) {
                const int far = v < max / 2 + 1 ? max : 0;
                t->SetValue(far);
                rt::TBitmap away = t->PaintToBitmap();
                t->SetValue(v);
                rt::TBitmap here = t->PaintToBitmap();
                const rt::TRect box = t->ThumbBox();
                EXPECT_GE(box.Width(), 11) << skin;
                // A column shows the thumb when any of its pixels differs.
                auto differs = [&](int x) {
                    for (int y = 0; y < t->Height(); ++y)
                        if (PixelAt(here, x, y) != PixelAt(away, x, y)) return true;
                    return false;
                };
                const int mid = (box.Left + box.Right) / 2;
                ASSERT_TRUE(differs(mid))
                    << skin << " max " << max << " value " << v << ": no thumb painted there";
                int first = mid, last = mid;
                while (first > 0 && differs(first - 1)) --first;
                while (last + 1 < t->Width() && differs(last + 1)) ++last;
                EXPECT_EQ(first, box.Left) << skin << " max " << max << " value " << v;
                EXPECT_EQ(last + 1, box.Right) << skin << " max " << max << " value " << v;
                // Centres doubled, to stay in whole pixels: the marker's is its left edge + 1.
                EXPECT_EQ(2 * t->Left() + first + last + 1,
                          2 * (app::MarkerLeft(t->Width(), max, v) + 1))
                    << skin << " max " << max << " value " << v;
            }
        }
    }
}

TEST_F(MainWindowSkin, SkinChangeReachesEveryControlOfTheWindow) {
    auto stored = MakeStoredSkin();
    form_->skSkinData1->LoadStoredSkin(stored.get());
    EXPECT_NE(form_->TrackBar1->SkinIndex(), -1);
    EXPECT_EQ(form_->TrackBar1->Height(), 18);
    EXPECT_EQ(form_->ProgressBar1->Height(), 10);
    EXPECT_EQ(form_->ProgressBar1->Top(), form_->ClientHeight() - 10);  // still at the bottom
    EXPECT_EQ(form_->ProgressBar1->Width(), 532);
    EXPECT_EQ(form_->skSkinPanel1->ClientRect(), rt::Rect(3, 3, 230, 174));
    EXPECT_EQ(form_->skSkinLabel1->Height(), 12);
    EXPECT_NE(form_->skSkinLabel2->SkinIndex(), -1);

    // A skin not drawn for this window (a 19-pixel thumb on the track area 1..490) places
    // its thumb by its own measures: the marker is 3.5 pixels left of the thumb's centre at
    // the start and 1.5 right of it at the end.
    EXPECT_DOUBLE_EQ(Offset(0, 9, kYellow), -3.5);
    EXPECT_DOUBLE_EQ(Offset(50, 9, kYellow), -1.5);
    EXPECT_DOUBLE_EQ(Offset(100, 9, kYellow), 1.5);

    form_->skSkinData1->ClearSkin();
    EXPECT_EQ(form_->TrackBar1->SkinIndex(), -1);
    EXPECT_EQ(form_->ProgressBar1->SkinIndex(), -1);
    EXPECT_EQ(form_->skSkinPanel2->SkinIndex(), -1);
    rt::TBitmap b = form_->skSkinPanel1->PaintToBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), rt::ColorToRGB(rt::clBtnShadow));
}

TEST_F(MainWindowSkin, ToolButtonsAsDesigned) {
    app::TMainForm& f = *form_;
    struct Case {
        sk::TskSkinSpeedButton* button;
        const char* caption;
        bool glyph;
    };
    const Case cases[] = {
        {f.skSkinSpeedButton1, "Mark Start Point", true},
        {f.skSkinSpeedButton2, "Mark End Point", true},
        {f.skSkinSpeedButton3, "Clear", false},
        {f.skSkinSpeedButton4, "Cut", true},
        {f.skSkinMenuSpeedButton1, "Skin", false},
        {f.skSkinSpeedButton5, "About", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->Caption(), c.caption);
        EXPECT_EQ(c.button->SkinData(), f.skSkinData1) << c.caption;
        EXPECT_EQ(c.button->SkinDataName(),
                  c.button == f.skSkinMenuSpeedButton1 ? "toolmenubutton" : "toolbutton");
        // One 16 x 16 glyph, with its disabled look beside it.
        EXPECT_EQ(c.button->Glyph().Height(), c.glyph ? 16 : 0) << c.caption;
        if (c.glyph) {
            EXPECT_EQ(c.button->Glyph().Width() / c.button->NumGlyphs(), 16);
        }
    }
    EXPECT_EQ(f.skSkinSpeedButton1->Action(), f.actSelStrart);
    EXPECT_EQ(f.skSkinSpeedButton2->Action(), f.actSelEnd);
    EXPECT_EQ(f.skSkinMenuSpeedButton1->SkinPopupMenu(), f.skSkinPopupMenu1);
    EXPECT_FALSE(f.skSkinMenuSpeedButton1->TrackButtonMode()) << "the whole button drops down";
}

TEST_F(MainWindowSkin, ToolButtonsRunTheirCommands) {
    app::TMainForm& f = *form_;
    auto click = [](rt::TControl* c) {
        c->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(5, 5));
        c->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(5, 5));
    };
    f.shpStart->Show();
    f.FStartMark = 3;
    click(f.skSkinSpeedButton3);
    EXPECT_FALSE(f.shpStart->Visible()) << "Clear hides the markers";
    EXPECT_EQ(f.FStartMark, 0);
    int marks = 0;
    f.actSelStrart->OnExecute = [&](rt::TComponent*) { ++marks; };
    click(f.skSkinSpeedButton1);
    EXPECT_EQ(marks, 1) << "Mark Start Point runs its action once";
}

TEST_F(MainWindowSkin, SkinMenuSwitchesAmongTheBuiltInSkinsAtOnce) {
    sk::TskSkinData* data = form_->skSkinData1;
    rt::TBitmap aqua = form_->skSkinLabel1->PaintToBitmap();
    // Every built-in skin of the menu, the designed first one (already in use) last.
    const auto all = app::TMainForm::SkinChoices();
    for (std::size_t i = 1; i <= all.size(); ++i) {
        const app::TMainForm::TSkinChoice& c = all[i % all.size()];
        if (c.Stored == nullptr) continue;
        ((*form_).*c.Click)(nullptr);
        EXPECT_EQ(data->SkinName, c.Name);
        EXPECT_TRUE((form_.get()->*c.Item)->Checked()) << c.Name;
        for (sk::TskSkinnable* ctl : std::initializer_list<sk::TskSkinnable*>{
                 form_->TrackBar1, form_->ProgressBar1, form_->skSkinPanel1, form_->skSkinLabel1})
            EXPECT_NE(dynamic_cast<sk::TskSkinControl*>(ctl)->SkinIndex(), -1) << c.Name;
        rt::TBitmap now = form_->skSkinLabel1->PaintToBitmap();
        if (&c != &all[0]) {
            EXPECT_NE(now.Pixels(), aqua.Pixels()) << c.Name;
        }
    }
    form_->mSkinNoSkinClick(nullptr);
    EXPECT_TRUE(data->Empty());
    EXPECT_TRUE(form_->mSkinNoSkin->Checked());
    EXPECT_FALSE(form_->mSkinWinAqua->Checked());
    EXPECT_EQ(form_->TrackBar1->SkinIndex(), -1);
}

// Each built-in skin keeps the window's layout: nothing leaves the client area or runs into its
// neighbour, and no caption is cut.
TEST_F(MainWindowSkin, EveryBuiltInSkinFitsTheLayout) {
    app::TMainForm& f = *form_;
    for (auto click : {&app::TMainForm::mSkinWinAquaClick, &app::TMainForm::mSkinWinxpblueClick,
                       &app::TMainForm::mSkinWistlerClick}) {
        (f.*click)(nullptr);
        const sk::TskSkinData& d = *f.skSkinData1;
        const std::string skin = d.SkinName;
        for (int i = 0; i < f.ControlCount(); ++i) {
            rt::TControl* c = f.Controls(i);
            EXPECT_GE(c->Left(), 0) << skin << " " << c->Name();
            EXPECT_GE(c->Top(), 0) << skin << " " << c->Name();
            EXPECT_LE(c->Left() + c->Width(), f.ClientWidth()) << skin << " " << c->Name();
            EXPECT_LE(c->Top() + c->Height(), f.ClientHeight()) << skin << " " << c->Name();
        }
        // Labels above the pictures, the track bar above its markers, the gauge below the
        // buttons and at the bottom.
        for (sk::TskSkinLabel* l : {f.skSkinLabel1, f.skSkinLabel2}) {
            EXPECT_LE(l->Top() + l->Height(), f.skSkinPanel1->Top()) << skin;
            rt::TBitmap probe(1, 1);
            probe.Canvas().Font = l->TextFont();
            EXPECT_GE(l->FitClientRect().Width(), probe.Canvas().TextWidth(l->Caption())) << skin;
            EXPECT_GE(l->Height(), probe.Canvas().TextHeight(l->Caption())) << skin;
        }
        EXPECT_EQ(f.TrackBar1->Height(), 17) << skin << ": the layout's height";
        EXPECT_LE(f.TrackBar1->Top() + f.TrackBar1->Height(), f.shpStart->Top()) << skin;
        EXPECT_EQ(f.ProgressBar1->Top() + f.ProgressBar1->Height(), f.ClientHeight()) << skin;
        EXPECT_GE(f.ProgressBar1->Top(),
                  f.skSkinSpeedButton1->Top() + f.skSkinSpeedButton1->Height())
            << skin;

        auto control = [&](const char* name) {
            return d.Skin().CtrlList[std::size_t(d.GetControlIndex(name))].get();
        };
        auto font = [](const std::string& name, int height, rt::TFontStyles style) {
            rt::TBitmap probe(1, 1);
            probe.Canvas().Font = sk::MakeSkinFont(name, height, style, 0);
            return probe;
        };
        // Speed buttons: glyph, spacing and caption, centred in the fitted client area.
        for (sk::TskSkinSpeedButton* b : std::initializer_list<sk::TskSkinSpeedButton*>{
                 f.skSkinSpeedButton1, f.skSkinSpeedButton2, f.skSkinSpeedButton3,
                 f.skSkinSpeedButton4, f.skSkinMenuSpeedButton1, f.skSkinSpeedButton5}) {
            const auto* o = dynamic_cast<const sk::TskDataSkinButtonControl*>(
                control(b == f.skSkinMenuSpeedButton1 ? "toolmenubutton" : "toolbutton"));
            ASSERT_NE(o, nullptr);
            EXPECT_EQ(o->SkinRect.Height(), b->Height()) << skin;
            rt::TBitmap probe = font(o->FontName, o->FontHeight, o->FontStyle);
            const int glyph =
                b->Glyph().Empty() ? 0 : b->Glyph().Width() / b->NumGlyphs() + b->Spacing();
            const int content =
                glyph + probe.Canvas().TextWidth(rt::StripAccelerators(b->Caption()));
            const int client = o->ClientRect.Width() + b->Width() - o->SkinRect.Width();
            EXPECT_LE(content, client) << skin << " \"" << b->Caption() << "\"";
            // Clear of the button's edges: at least 4 pixels on either side.
            EXPECT_LE(content + 8, b->Width()) << skin << " \"" << b->Caption() << "\"";
            EXPECT_LE(probe.Canvas().TextHeight("Ag"), b->Height()) << skin;
        }
        // Menu bar items and the gauge's texts.
        const auto* bar = dynamic_cast<const sk::TskDataSkinMainMenuBar*>(control("mainmenubar"));
        EXPECT_EQ(bar->SkinRect.Height(), f.skSkinMainMenuBar1->Height()) << skin;
        const auto* item = dynamic_cast<const sk::TskDataSkinMainMenuItem*>(
            d.Skin().ObjectList[std::size_t(d.GetIndex(bar->MenuBarItem))].get());
        rt::TBitmap probe = font(item->FontName, item->FontHeight, item->FontStyle);
        EXPECT_LE(item->TextRect.Top + probe.Canvas().TextHeight("Ag"), item->SkinRect.Height())
            << skin;
        const auto* gauge = dynamic_cast<const sk::TskDataSkinGaugeControl*>(control("gauge"));
        probe = font(gauge->FontName, gauge->FontHeight, gauge->FontStyle);
        EXPECT_LE(probe.Canvas().TextHeight("Ag"), f.ProgressBar1->Height()) << skin;
        EXPECT_LE(probe.Canvas().TextWidth("Cutting ... Please wait ..."), f.ProgressBar1->Width());
        // The caption's title fits the caption band.
        const auto* caption = dynamic_cast<const sk::TskDataSkinCaption*>(
            d.Skin().ObjectList[std::size_t(d.GetIndex("caption"))].get());
        probe = font(caption->FontName, caption->FontHeight, caption->FontStyle);
        EXPECT_LE(probe.Canvas().TextHeight("Framora"), caption->TextRect.Height()) << skin;
    }
}

// The markers under the track bar follow round((w - 15) / max * v) + 25; every built-in skin's
// thumb is centred exactly over them, for every value of every range.
TEST_F(MainWindowSkin, MarkersLineUpWithTheThumbInEveryBuiltInSkin) {
    app::TMainForm& f = *form_;
    sk::TskSkinTrackBar* t = f.TrackBar1;
    for (auto click : {&app::TMainForm::mSkinWinAquaClick, &app::TMainForm::mSkinWinxpblueClick,
                       &app::TMainForm::mSkinWistlerClick}) {
        (f.*click)(nullptr);
        const std::string skin = f.skSkinData1->SkinName;
        for (int max : {1, 4, 7, 59, 100, 466, 3600}) {
            t->SetMaxValue(max);
            for (int v = 0; v <= max; v += std::max(1, max / 97)) {
                t->SetValue(v);
                t->UpdateThumbGeometry();
                const rt::TRect box = t->ThumbBox();
                const int markerCentre2 = 2 * app::MarkerLeft(t->Width(), max, v) + 2;
                ASSERT_EQ(2 * t->Left() + box.Left + box.Right, markerCentre2)
                    << skin << " max " << max << " value " << v;
            }
        }
        // What is painted there is the skin's thumb.
        t->SetMaxValue(100);
        t->SetValue(37);
        rt::TBitmap b = t->PaintToBitmap();
        const auto* o = dynamic_cast<const sk::TskDataSkinTrackBarControl*>(t->SkinObject());
        ASSERT_NE(o, nullptr);
        const rt::TBitmap& pic =
            *f.skSkinData1->Skin().ActivePictures[std::size_t(o->PictureIndex)];
        const rt::TRect box = t->ThumbBox();
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x)
                ASSERT_EQ(b.ScanLine(y)[x],
                          pic.ScanLine(o->ButtonRect.Top + y -
                                       box.Top)[o->ButtonRect.Left + x - box.Left])
                    << skin;
    }
}

}  // namespace
