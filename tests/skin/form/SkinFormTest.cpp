#include <gtest/gtest.h>

#include "runtime/Menus.h"
#include "skin/data/skSkinMessages.h"
#include "skin/form/FormFakes.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMenu.h"

using namespace formtest;
using rt::Rect;
using sk::TskWindowState;

namespace {

constexpr sk::TskBorderIcons kMainWindowIcons = sk::biSystemMenu | sk::biMinimize | sk::biRollUp;

class SkinForm : public ::testing::Test {
protected:
    std::unique_ptr<sk::TskSkinForm> Make(FakeWindow::State& state, sk::TskSkinData* data) {
        auto f = std::make_unique<sk::TskSkinForm>(nullptr);
        f->SetWindow(std::make_unique<FakeWindow>(state));
        f->SetSkinData(data);
        f->NcActivate(true);
        return f;
    }
    void Announce(sk::TskSkinForm& f, sk::TskSkinData* data) {
        for (unsigned msg : {sk::SM_BEFORECHANGESKIN, sk::SM_CHANGESKIN, sk::SM_AFTERCHANGESKIN}) {
            rt::TMessage m{msg, reinterpret_cast<std::intptr_t>(data), 1000, 0};
            EXPECT_TRUE(f.HandleSkinMessage(m));
        }
    }
    std::vector<std::string> SystemMenuCaptions(sk::TskSkinForm& f) {
        std::vector<std::string> captions;
        rt::TMenuItem* items = f.GetSystemMenu();
        for (int i = 0; i < items->Count(); ++i) captions.push_back(items->Items(i)->Caption);
        return captions;
    }
    rt::TPoint Screen(const FakeWindow::State& s, int x, int y) {
        return rt::Point(s.bounds.Left + x, s.bounds.Top + y);
    }

    FakeWindow::State state_;
    std::unique_ptr<sk::TskSkinData> data_ = MakeSkinData();
};

TEST_F(SkinForm, DefaultsAreThoseOfTheComponent) {
    sk::TskSkinForm f(nullptr);
    EXPECT_EQ(f.BorderIcons(), sk::biSystemMenu | sk::biMinimize | sk::biMaximize | sk::biRollUp);
    EXPECT_TRUE(f.UseDefaultSysMenu);
    EXPECT_FALSE(f.ShowIcon());
    EXPECT_EQ(f.AlphaBlendValue(), 200);
    EXPECT_EQ(f.MenusAlphaBlendValue, 200);
    EXPECT_EQ(f.MagneticSize, 5);
    EXPECT_EQ(f.DefCaptionFont().Name, "Arial");
    EXPECT_EQ(f.DefCaptionFont().Style, rt::TFontStyles(rt::fsBold));
    EXPECT_EQ(f.DefCaptionFont().Color, rt::clBtnText);
    EXPECT_EQ(f.DefInActiveCaptionFont().Color, rt::clBtnShadow);
    f.SetDefMenuItemHeight(0);
    EXPECT_GT(f.DefMenuItemHeight(), 0);
    EXPECT_FALSE(f.Skinned());
    EXPECT_EQ(f.Objects().size(), 5u) << "the default frame's buttons";
    EXPECT_FALSE(f.HoverTickerEnabled());
    EXPECT_FALSE(f.MorphTickerEnabled());
}

TEST_F(SkinForm, NoSkinAndBackLeavesAWorkingFrameEachTime) {
    auto f = Make(state_, data_.get());
    f->SetBorderIcons(kMainWindowIcons);
    ASSERT_TRUE(f->Skinned());
    EXPECT_EQ(f->Objects().size(), 15u);
    EXPECT_TRUE(state_.region.has_value());
    EXPECT_EQ(f->CalcClientRect(Rect(0, 0, 300, 200)), Rect(4, 24, 296, 196));

    data_->ClearSkin();
    Announce(*f, data_.get());
    EXPECT_FALSE(f->Skinned());
    EXPECT_FALSE(state_.region.has_value()) << "the default frame is rectangular";
    EXPECT_EQ(f->CalcClientRect(Rect(0, 0, 300, 200)), Rect(3, 22, 297, 197));
    EXPECT_EQ(f->MinTrackSize(), rt::Point(120, 25));
    EXPECT_FALSE(f->FindObject("maxbutton")->Visible) << "buttons left out by the icons stay out";
    EXPECT_EQ(f->HitTest(Screen(state_, 150, 10)), sk::HTCAPTION);
    EXPECT_EQ(f->HitTest(Screen(state_, 0, 100)), sk::HTLEFT);
    state_.cursor = Screen(state_, 290, 10);
    EXPECT_EQ(f->HitTest(state_.cursor), sk::HTOBJECT);
    f->HoverTimerTick();
    ASSERT_GE(f->HoverIndex(), 0);
    EXPECT_EQ(f->Objects()[std::size_t(f->HoverIndex())]->IDName, "closebutton");

    auto stored = MakeStoredSkin();
    data_->LoadStoredSkin(stored.get());
    Announce(*f, data_.get());
    EXPECT_TRUE(f->Skinned());
    EXPECT_TRUE(state_.region.has_value());
    EXPECT_EQ(f->HoverIndex(), -1) << "indexes of the old objects are dropped";
    EXPECT_FALSE(f->FindObject("maxbutton")->Visible);
    EXPECT_EQ(f->HitTest(Screen(state_, 150, 100)), sk::HTCLIENT);
    EXPECT_GT(state_.frameChanges, 0) << "the client rectangle is computed again";
}

TEST_F(SkinForm, SkinChangeRaisesTheWindowToTheFrame) {
    state_.bounds = rt::Bounds(10, 10, 100, 20);
    auto f = Make(state_, data_.get());
    EXPECT_EQ(state_.bounds, rt::Bounds(10, 10, 120, 28));
    FakeWindow::State tall;
    tall.bounds = rt::Bounds(10, 10, 100, 300);
    auto g = Make(tall, nullptr);
    g->MinWidth = 200;
    g->SetSkinData(data_.get());
    EXPECT_EQ(tall.bounds, rt::Bounds(10, 10, 200, 300)) << "only the width was short";
}

TEST_F(SkinForm, RollUpKeepsTheFrameAndRestoresTheExactHeight) {
    auto f = Make(state_, data_.get());
    f->SetBorderIcons(kMainWindowIcons);
    int changes = 0;
    f->OnChangeRollUpState = [&](rt::TComponent*) { ++changes; };
    const rt::TPoint caption = Screen(state_, 150, 10);
    f->NcDoubleClick(caption, sk::HTCAPTION, 0);
    EXPECT_TRUE(f->RollUpState());
    EXPECT_EQ(state_.bounds, rt::Bounds(100, 100, 300, 28));
    EXPECT_EQ(f->RollUpHeight(), 200);
    f->NcDoubleClick(caption, sk::HTCAPTION, 0);
    EXPECT_FALSE(f->RollUpState());
    EXPECT_EQ(state_.bounds, rt::Bounds(100, 100, 300, 200));
    EXPECT_EQ(changes, 2);

    f->SetBorderIcons(sk::biSystemMenu);
    f->SetRollUpState(true);
    EXPECT_FALSE(f->RollUpState()) << "no roll-up without its icon";
}

TEST_F(SkinForm, MaximizeFillsTheWorkAreaAndRestoreReturns) {
    auto f = Make(state_, data_.get());
    f->NcDoubleClick(Screen(state_, 150, 10), sk::HTCAPTION, 0);
    EXPECT_EQ(f->WindowState(), TskWindowState::wsMaximized);
    EXPECT_EQ(state_.bounds, state_.workArea);
    EXPECT_EQ(f->RestoreRect(), rt::Bounds(100, 100, 300, 200));
    rt::TRect drag = rt::Bounds(10, 10, 1024, 728);
    f->Moving(drag);
    EXPECT_EQ(drag, state_.workArea) << "a maximized form holds its place";
    EXPECT_EQ(f->FindObject("closebutton")->ObjectRect.Right, 1016) << "laid out for the new size";
    f->NcDoubleClick(Screen(state_, 150, 10), sk::HTCAPTION, 0);
    EXPECT_EQ(f->WindowState(), TskWindowState::wsNormal);
    EXPECT_EQ(state_.bounds, rt::Bounds(100, 100, 300, 200));
    EXPECT_TRUE(f->RestoreRect().IsEmpty());
    f->MaximizeOnFullScreen = true;
    f->SetWindowState(TskWindowState::wsMaximized);
    EXPECT_EQ(state_.bounds, state_.screen);
}

TEST_F(SkinForm, MinimizedFormsLineUpAlongTheWorkAreaBottom) {
    FakeWindow::State second, main;
    main.mainForm = true;
    auto a = Make(state_, data_.get());
    auto b = Make(second, data_.get());
    auto m = Make(main, data_.get());
    a->SetWindowState(TskWindowState::wsMinimized);
    b->SetWindowState(TskWindowState::wsMinimized);
    EXPECT_EQ(state_.bounds, rt::Bounds(0, 700, 120, 28));
    EXPECT_EQ(second.bounds, rt::Bounds(120, 700, 120, 28));
    m->SetWindowState(TskWindowState::wsMinimized);
    EXPECT_EQ(main.appMinimizes, 1);
    EXPECT_EQ(m->WindowState(), TskWindowState::wsNormal) << "the main form keeps no state";
    a->SetWindowState(TskWindowState::wsNormal);
    EXPECT_EQ(state_.bounds, rt::Bounds(100, 100, 300, 200));
}

TEST_F(SkinForm, MagneticMovingUsesTheWorkArea) {
    auto f = Make(state_, data_.get());
    rt::TRect r = rt::Bounds(4, 300, 300, 200);
    f->Moving(r);
    EXPECT_EQ(r.Left, 4) << "off without Magnetic";
    f->Magnetic = true;
    f->Moving(r);
    EXPECT_EQ(r.Left, 0);
    r = rt::Bounds(300, 523, 300, 200);
    f->Moving(r);
    EXPECT_EQ(r.Top, 523) << "5 pixels above the task bar";
}

TEST_F(SkinForm, CloseButtonPressAndReleaseClosesTheWindow) {
    auto f = Make(state_, data_.get());
    const rt::TPoint close = Screen(state_, 280, 8);
    ASSERT_EQ(f->HitTest(close), sk::HTOBJECT);
    f->NcMouseDown(close, sk::HTOBJECT, 0);
    EXPECT_TRUE(state_.capture);
    EXPECT_EQ(f->Objects()[std::size_t(f->PressedIndex())]->IDName, "closebutton");
    f->NcMouseUp(close, 0);
    EXPECT_FALSE(state_.capture);
    EXPECT_EQ(f->PressedIndex(), -1);
    EXPECT_EQ(state_.closes, 1);

    f->NcMouseDown(close, sk::HTOBJECT, 0);
    state_.cursor = Screen(state_, 150, 100);
    f->TrackHover(f->MousePos(), true);
    f->ClientMouseUp(0);
    EXPECT_EQ(state_.closes, 1) << "released outside the button";
    EXPECT_FALSE(state_.capture);
}

TEST_F(SkinForm, InactiveFormHoversNothingAndHoverTimerStops) {
    auto f = Make(state_, data_.get());
    f->Activate(false);
    EXPECT_FALSE(f->HoverTickerEnabled());
    EXPECT_FALSE(f->FindObject("caption")->Active);
    f->HitTest(Screen(state_, 280, 8));
    EXPECT_EQ(f->HoverIndex(), -1);
    f->Activate(true);
    EXPECT_TRUE(f->FindObject("caption")->Active);
    state_.cursor = Screen(state_, 280, 8);
    f->HoverTimerTick();
    EXPECT_EQ(f->HoverIndex(), 1);
    state_.underCursor = false;
    f->HoverTimerTick();
    EXPECT_EQ(f->HoverIndex(), -1);
    EXPECT_FALSE(f->HoverTickerEnabled());
}

TEST_F(SkinForm, SystemMenuListsWhatTheStateAllows) {
    auto f = Make(state_, data_.get());
    f->SetBorderIcons(kMainWindowIcons);
    using V = std::vector<std::string>;
    EXPECT_EQ(SystemMenuCaptions(*f), (V{"Mi&nimize", "Ro&llUp", "-", "&Close"}));
    f->GetSystemMenu()->Items(1)->Click();
    EXPECT_TRUE(f->RollUpState());
    EXPECT_EQ(SystemMenuCaptions(*f), (V{"Mi&nimize", "&Restore", "-", "&Close"}));
    f->GetSystemMenu()->Items(1)->Click();
    EXPECT_FALSE(f->RollUpState());
    f->SetBorderIcons(sk::kDefaultBorderIcons);
    f->SetWindowState(TskWindowState::wsMaximized);
    EXPECT_EQ(SystemMenuCaptions(*f), (V{"Mi&nimize", "&Restore", "Ro&llUp", "-", "&Close"}));
    EXPECT_EQ(f->GetSystemMenu()->Items(4)->Name(), "SKF_CLOSE");

    int opened = 0;
    f->OnSkinMenuOpen = [&](rt::TComponent*) { ++opened; };
    f->NcMouseDown(Screen(state_, 150, 10), sk::HTCAPTION, 1);
    ASSERT_TRUE(f->SkinMenu()->MenuVisible());
    EXPECT_EQ(f->SkinMenu()->ShownItem()->Items(0)->Name(), "SKF_MINITEM");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(f->MenuOpen());
    f->SkinMenu()->CloseAll();
    EXPECT_FALSE(f->MenuOpen());
}

TEST_F(SkinForm, FadeInStepsTheOpacityUpToTheTarget) {
    auto f = Make(state_, data_.get());
    f->AlphaBlendAnimation = true;
    f->ShowWindow(true);
    ASSERT_EQ(state_.opacity.front(), 0);
    f->FadeInTick();
    EXPECT_EQ(state_.opacity[1], 5);
    EXPECT_EQ(state_.opacity.back(), 255);
    state_.opacity.clear();
    f->SetAlphaBlend(true);
    EXPECT_EQ(state_.opacity.back(), 200);
}

TEST_F(SkinForm, FreedSkinDataFallsBackToTheDefaultFrame) {
    auto owned = std::make_unique<sk::TskSkinData>(nullptr);
    auto stored = MakeStoredSkin();
    owned->LoadStoredSkin(stored.get());
    auto f = Make(state_, owned.get());
    ASSERT_TRUE(f->Skinned());
    owned.reset();
    EXPECT_EQ(f->SkinData(), nullptr);
    EXPECT_FALSE(f->Skinned());
    EXPECT_EQ(f->Objects().size(), 5u);
}

}  // namespace
