#include <gtest/gtest.h>

#include "skin/form/FormFakes.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skDefaultFrame.h"
#include "skin/form/skFrameGeometry.h"
#include "skin/form/skFrameStrips.h"

using namespace formtest;
using rt::Rect;
using rt::TRect;

namespace {

class Geometry : public ::testing::Test {
protected:
    void Load(const SkinOptions& o = {}) {
        data_ = MakeSkinData(o);
        skin_ = sk::TskFrameSkin::From(*data_);
        objects_ = sk::CreateFrameObjects(host_, *data_);
        sk::ApplyIconRules(objects_, sk::kDefaultBorderIcons);
    }
    sk::TskFrameGeometry Layout(int w, int h, bool showIcon = false) {
        sk::TskFrameGeometry g = sk::ComputeFrameGeometry(skin_, w, h);
        sk::LayoutFrameObjects(objects_, skin_, g, showIcon, {16, 16});
        return g;
    }
    TRect RectOf(const std::string& name) {
        for (auto& o : objects_)
            if (o->IDName == name) return o->ObjectRect;
        return TRect{-1, -1, -1, -1};
    }

    FakeHost host_;
    std::unique_ptr<sk::TskSkinData> data_;
    sk::TskFrameSkin skin_;
    std::vector<std::unique_ptr<sk::TskActiveSkinObject>> objects_;
};

TEST_F(Geometry, PointsAndAreasMoveWithTheWindowSize) {
    Load({.buttonsRect = true});
    const sk::TskFrameGeometry g = Layout(300, 200);
    EXPECT_EQ(g.SizedLeftTop, rt::Point(30, 40));
    EXPECT_EQ(g.SizedRightTop, rt::Point(270, 40));
    EXPECT_EQ(g.SizedLeftBottom, rt::Point(30, 180));
    EXPECT_EQ(g.SizedRightBottom, rt::Point(270, 180));
    EXPECT_EQ(g.SizedClientBox, Rect(4, 24, 296, 196));
    EXPECT_EQ(g.CaptionArea, Rect(22, 4, 292, 20));
    EXPECT_EQ(g.ButtonsArea, Rect(250, 4, 294, 20)) << "right of the picture's middle: moves";
    EXPECT_EQ(g.HitTestRT, rt::Point(290, 10));
    EXPECT_EQ(g.HitTestLB, rt::Point(10, 190));
    EXPECT_EQ(g.HitTestRB, rt::Point(290, 190));
    EXPECT_EQ(g.MaskArea, Rect(4, 24, 296, 196));
    skin_.ButtonsRect = Rect(60, 4, 100, 20);
    EXPECT_EQ(sk::ComputeFrameGeometry(skin_, 300, 200).ButtonsArea, Rect(60, 4, 100, 20));
}

TEST_F(Geometry, ObjectsFollowTheirCornerRegionGrowingAndShrinking) {
    Load();
    struct Case {
        const char* name;
        TRect grown;   // 300 x 200
        TRect shrunk;  // 100 x 50
    };
    const Case cases[] = {
        {"tl", Rect(2, 2, 10, 10), Rect(2, 2, 10, 10)},
        {"tr", Rect(290, 2, 298, 10), Rect(90, 2, 98, 10)},
        {"bl", Rect(2, 197, 10, 199), Rect(2, 47, 10, 49)},
        {"br", Rect(290, 197, 298, 199), Rect(90, 47, 98, 49)},
        {"tlbr", Rect(1, 1, 299, 199), Rect(1, 1, 99, 49)},
        {"blbr", Rect(10, 197, 280, 199), Rect(10, 47, 80, 49)},
        {"tlbl", Rect(1, 30, 3, 190), Rect(1, 30, 3, 40)},
        {"trbr", Rect(297, 30, 299, 190), Rect(97, 30, 99, 40)},
        {"middle", Rect(40, 45, 50, 55), Rect(40, 45, 50, 55)},
    };
    Layout(300, 200);
    for (const Case& c : cases) EXPECT_EQ(RectOf(c.name), c.grown) << c.name;
    Layout(100, 50);
    for (const Case& c : cases) EXPECT_EQ(RectOf(c.name), c.shrunk) << c.name;
    Layout(120, 80);
    EXPECT_EQ(RectOf("tlbr"), Rect(1, 1, 119, 79)) << "every layout starts from the skin";
}

TEST_F(Geometry, CaptionButtonsFromTheRightShareTheCaptionArea) {
    Load();
    Layout(300, 200);
    EXPECT_EQ(RectOf("closebutton"), Rect(276, 4, 292, 18));
    EXPECT_EQ(RectOf("maxbutton"), Rect(258, 4, 274, 18));
    EXPECT_EQ(RectOf("minbutton"), Rect(240, 4, 256, 18));
    EXPECT_EQ(RectOf("rollupbutton"), Rect(222, 4, 238, 18));
    EXPECT_EQ(RectOf("sysmenubutton"), Rect(22, 5, 38, 19)) << "centred in the caption area";
    EXPECT_EQ(RectOf("caption"), Rect(38, 2, 222, 22));

    Layout(300, 200, true);
    EXPECT_EQ(RectOf("sysmenubutton"), Rect(22, 4, 38, 20)) << "small icon size";

    sk::ApplyIconRules(objects_, sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    Layout(300, 200);
    EXPECT_FALSE(objects_[2]->Visible);
    EXPECT_EQ(RectOf("minbutton"), Rect(258, 4, 274, 18)) << "a missing button leaves no gap";
    EXPECT_EQ(RectOf("caption").Right, 240);
}

TEST_F(Geometry, CaptionButtonsInTheirOwnAreaOrFromTheLeft) {
    Load({.buttonsRect = true});
    Layout(300, 200);
    EXPECT_EQ(RectOf("closebutton"), Rect(278, 4, 294, 18));
    EXPECT_EQ(RectOf("rollupbutton"), Rect(224, 4, 240, 18));
    EXPECT_EQ(RectOf("caption"), Rect(38, 2, 280, 22)) << "only the system button moves it";

    Load({.buttonsInLeft = true});
    Layout(300, 200);
    EXPECT_EQ(RectOf("closebutton"), Rect(22, 4, 38, 18));
    EXPECT_EQ(RectOf("maxbutton"), Rect(40, 4, 56, 18));
    EXPECT_EQ(RectOf("sysmenubutton"), Rect(94, 4, 110, 18));
    EXPECT_EQ(RectOf("caption").Left, 112);

    // From the left in an area of their own: the caption starts past the last of them too.
    Load({.buttonsInLeft = true, .buttonsRect = true, .buttonsArea = "22,4,60,20"});
    sk::ApplyIconRules(objects_, sk::biSystemMenu | sk::biMinimize);
    Layout(300, 200);
    EXPECT_EQ(RectOf("closebutton"), Rect(22, 4, 38, 18));
    EXPECT_EQ(RectOf("minbutton"), Rect(40, 4, 56, 18));
    EXPECT_EQ(RectOf("caption"), Rect(58, 2, 280, 22));
}

TEST_F(Geometry, IconRulesKeepFramePictureButtonsVisibleButDead) {
    Load();
    sk::TskDataSkinStdButton d("painted");
    d.Command = sk::cmMaximize;
    objects_.push_back(std::make_unique<sk::TskSkinStdButtonObject>(host_, data_.get(), &d));
    sk::ApplyIconRules(objects_, sk::biSystemMenu);
    for (auto& o : objects_) {
        auto* b = dynamic_cast<sk::TskSkinStdButtonObject*>(o.get());
        if (b == nullptr) continue;
        const bool kept = b->Command == sk::cmClose || b->Command == sk::cmSysMenu;
        EXPECT_EQ(b->Enabled, kept) << b->IDName;
        EXPECT_EQ(b->Visible, kept || b->IDName == "painted") << b->IDName;
    }
    sk::ApplyIconRules(objects_, sk::kDefaultBorderIcons);
    EXPECT_TRUE(objects_[2]->Enabled && objects_[2]->Visible) << "the icon back, the button too";
}

TEST_F(Geometry, SizeLimitsAndClientRectangle) {
    sk::TskSizeRules r{.Skinned = true,
                       .PictureWidth = 120,
                       .PictureHeight = 80,
                       .ClientRect = Rect(4, 24, 116, 76)};
    EXPECT_EQ(sk::FrameMinimumSize(r), rt::Point(120, 28));
    r.MinWidth = 200;
    r.MinHeight = 100;
    EXPECT_EQ(sk::FrameMinimumSize(r), rt::Point(200, 100));
    r.RolledUp = true;
    EXPECT_EQ(sk::FrameMinimumSize(r), rt::Point(200, 28));
    r.Minimized = true;
    EXPECT_EQ(sk::FrameMinimumSize(r), rt::Point(120, 28));
    sk::TskSizeRules plain;
    EXPECT_EQ(sk::FrameMinimumSize(plain), rt::Point(120, 25));
    plain.MinWidth = 50;
    EXPECT_EQ(sk::FrameMinimumSize(plain), rt::Point(50, 25));
    EXPECT_EQ(sk::FrameMaximumSize(false, Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 728)),
              rt::Point(1024, 728));
    EXPECT_EQ(sk::FrameMaximumSize(true, Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 728)),
              rt::Point(1024, 768));

    Load();
    EXPECT_EQ(sk::SkinnedClientRect(Rect(100, 100, 400, 300), skin_), Rect(104, 124, 396, 296));
    EXPECT_EQ(sk::SkinnedClientRect(Rect(0, 0, 5, 5), skin_), Rect(4, 24, 4, 24));
    EXPECT_EQ(sk::DefaultClientRect(Rect(100, 100, 400, 300), 19), Rect(103, 122, 397, 297));
}

struct HitCase {
    int x, y;
    int plain, masked;  // without and with the mask
};

TEST_F(Geometry, SkinnedHitTestAtTheNamedPoints) {
    using namespace sk;
    const HitCase cases[] = {
        {1, 1, HTTOPLEFT, HTNOWHERE},
        {0, 3, HTTOPLEFT, HTNOWHERE},
        {3, 3, HTOBJECT, HTTOPLEFT},
        {4, 0, HTTOPLEFT, HTTOPLEFT},
        {298, 1, HTTOPRIGHT, HTNOWHERE},
        {296, 3, HTOBJECT, HTTOPRIGHT},
        {1, 198, HTBOTTOMLEFT, HTBOTTOMLEFT},
        {298, 198, HTBOTTOMRIGHT, HTBOTTOMRIGHT},
        {150, 1, HTTOP, HTTOP},
        {150, 198, HTBOTTOM, HTBOTTOM},
        {1, 100, HTLEFT, HTLEFT},
        {298, 100, HTRIGHT, HTRIGHT},
        {150, 100, HTCLIENT, HTCLIENT},
        {100, 12, HTCAPTION, HTCAPTION},
        {280, 10, HTOBJECT, HTOBJECT},
        {300, 100, HTNOWHERE, HTNOWHERE},
    };
    for (bool masked : {false, true}) {
        Load({.mask = masked});
        const TskFrameGeometry g = Layout(300, 200);
        TskFrameStrips strips;
        BuildMaskStrips(data_->Skin().MaskBitmap, skin_, g, strips);
        const TskFrameShape shape{300, 200, masked ? &strips : nullptr, g.MaskArea};
        const std::vector<TRect> captions = {RectOf("caption")};
        for (const HitCase& c : cases)
            EXPECT_EQ(SkinnedHitTest({c.x, c.y}, g, shape, 3, captions, {}),
                      masked ? c.masked : c.plain)
                << c.x << "," << c.y << (masked ? " masked" : "");
        TskHitTestState hovered{.ObjectHovered = true};
        EXPECT_EQ(SkinnedHitTest({1, 100}, g, shape, 3, captions, hovered), HTOBJECT);
        EXPECT_EQ(SkinnedHitTest({100, 12}, g, shape, 3, captions, hovered), HTCAPTION);
        TskHitTestState maximized{.Maximized = true};
        EXPECT_EQ(SkinnedHitTest({1, 100}, g, shape, 3, captions, maximized), HTOBJECT);
        EXPECT_EQ(SkinnedHitTest({150, 100}, g, shape, 3, captions, maximized), HTCLIENT);
        TskHitTestState fixed{.Sizeable = false};
        EXPECT_EQ(SkinnedHitTest({150, 1}, g, shape, 3, captions, fixed), HTOBJECT);
        TskHitTestState rolled{.RolledUp = true, .ObjectHovered = true};
        EXPECT_EQ(SkinnedHitTest({150, 100}, g, shape, 3, captions, rolled), HTCLIENT);
    }
}

TEST_F(Geometry, DefaultFrameButtonsRoomAndHitTest) {
    using namespace sk;
    auto buttons = CreateDefaultButtons(host_);
    ApplyIconRules(buttons, biSystemMenu | biMinimize | biRollUp);
    LayoutDefaultButtons(buttons, 300, false);
    EXPECT_EQ(buttons[0]->ObjectRect, Rect(279, 4, 296, 21)) << "close";
    EXPECT_FALSE(buttons[1]->Visible) << "no maximize button without its icon";
    EXPECT_EQ(buttons[2]->ObjectRect, Rect(262, 4, 279, 21)) << "minimize";
    EXPECT_EQ(buttons[3]->ObjectRect, Rect(245, 4, 262, 21)) << "roll-up";
    EXPECT_EQ(buttons[4]->ObjectRect, Rect(4, 4, 21, 21)) << "system menu";
    const TRect room = DefaultCaptionRoom(buttons, 300, false);
    EXPECT_EQ(room, Rect(21, 3, 245, 22));
    EXPECT_EQ(DefaultFrameMetrics(true).CaptionHeight, 15);
    EXPECT_EQ(DefaultFrameMetrics(true).ButtonSize, 13);

    const HitCase cases[] = {
        {0, 0, HTTOPLEFT, HTOBJECT},      {2, 2, HTTOPLEFT, HTOBJECT},
        {298, 1, HTTOPRIGHT, HTOBJECT},   {297, 1, HTTOP, HTOBJECT},
        {1, 198, HTBOTTOMLEFT, HTOBJECT}, {299, 199, HTBOTTOMRIGHT, HTOBJECT},
        {1, 100, HTLEFT, HTOBJECT},       {150, 199, HTBOTTOM, HTOBJECT},
        {100, 10, HTCAPTION, HTCAPTION},  {100, 100, HTCLIENT, HTCLIENT},
        {3, 100, HTCLIENT, HTCLIENT},     {250, 10, HTOBJECT, HTOBJECT},
    };
    for (const HitCase& c : cases) {
        EXPECT_EQ(DefaultHitTest({c.x, c.y}, 300, 200, room, 19, {}), c.plain) << c.x << "," << c.y;
        EXPECT_EQ(DefaultHitTest({c.x, c.y}, 300, 200, room, 19, {.Maximized = true}), c.masked)
            << c.x << "," << c.y << " maximized";
    }
    EXPECT_EQ(DefaultHitTest({1, 100}, 300, 200, room, 19, {.ObjectHovered = true}), HTOBJECT);
}

}  // namespace
