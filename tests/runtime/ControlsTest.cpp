#include <gtest/gtest.h>

#include "runtime/Application.h"
#include "runtime/Controls.h"
#include "runtime/StdCtrls.h"

namespace {

TEST(Controls, MouseMessagesMakeAClickOnlyWhenReleasedInside) {
    rt::TForm form(nullptr);
    auto* button = new rt::TGraphicControl(&form);
    button->SetBounds(10, 10, 40, 20);
    button->SetParent(&form);
    int clicks = 0;
    button->OnClick = [&](rt::TComponent*) { ++clicks; };
    button->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(5, 5));
    button->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(6, 5));
    EXPECT_EQ(clicks, 1);
    button->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(5, 5));
    button->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(60, 5));
    EXPECT_EQ(clicks, 1);
    button->SetEnabled(false);
    button->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(5, 5));
    button->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(Controls, BottomAlignedControlFollowsItsParent) {
    rt::TForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* gauge = new rt::TCustomControl(&form);
    gauge->SetBounds(0, 0, 50, 17);
    gauge->SetParent(&form);
    gauge->SetAlign(rt::TAlign::alBottom);
    EXPECT_EQ(gauge->BoundsRect(), rt::Bounds(0, 83, 200, 17));
    form.SetClientSize(300, 120);
    EXPECT_EQ(gauge->BoundsRect(), rt::Bounds(0, 103, 300, 17));
}

TEST(Controls, ExceptionsInHandlersReachTheDefaultErrorReport) {
    std::vector<std::string> shown;
    rt::Application()->MessageBoxHandler = [&](const std::string& t, const std::string&, int) {
        shown.push_back(t);
        return int(rt::mrOk);
    };
    rt::GuardedCall([] { throw rt::EInvalidGraphic("Bitmap image is not valid"); });
    rt::Application()->MessageBoxHandler = nullptr;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Bitmap image is not valid");
}

}  // namespace
