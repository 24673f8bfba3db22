#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/StdCtrls.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/SpeedButtonSkin.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/data/skSkinMessages.h"

using namespace speedskin;

namespace {

// A menu that records how it was dropped down; it stays open until told otherwise, or, like
// the plain modal popup, closes before it returns.
class FakeMenu : public rt::TPopupMenu {
public:
    using rt::TPopupMenu::TPopupMenu;
    void PopupFromControl(rt::TControl* opener, const rt::TRect& anchor, bool up) override {
        ++opens;
        lastOpener = opener;
        lastAnchor = anchor;
        droppedUp = up;
        if (closeBeforeReturning) opener->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    }
    int opens = 0;
    rt::TControl* lastOpener = nullptr;
    rt::TRect lastAnchor;
    bool droppedUp = true;
    bool closeBeforeReturning = false;
};

class SpeedButtons : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 200);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
    }
    template <class T = sk::TskSkinSpeedButton>
    T* Add(const std::string& skinObject = {}, int width = 75, int height = 25) {
        auto* b = new T(form_.get());
        b->SetBounds(10, 10 + 30 * count_++, width, height);
        b->SetParent(form_.get());
        if (!skinObject.empty()) {
            b->SetSkinDataName(skinObject);
            b->SetSkinData(data_);
        }
        return b;
    }
    static void Fire(rt::TTimer* t) {
        ASSERT_NE(t, nullptr);
        t->OnTimer(t);
    }
    // The colour at x, y of the button as painted now.
    static rt::TColor Look(rt::TControl* c, int x, int y) {
        rt::TBitmap b = c->PaintToBitmap();
        return PixelAt(b, x, y);
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    int count_ = 0;
};

TEST_F(SpeedButtons, SkinnedStatesByPixels) {
    auto* b = Add("toolbutton");
    ASSERT_NE(b->SkinIndex(), -1);
    EXPECT_EQ(b->Height(), 20) << "a horizontal strip keeps the skin's height";
    EXPECT_EQ(Look(b, 0, 0), kNavy);
    EXPECT_EQ(Look(b, 74, 19), kNavy);
    EXPECT_EQ(Look(b, 37, 2), kGreen);
    Enter(b);
    EXPECT_EQ(Look(b, 37, 2), kYellow);
    Press(b, 5, 5);
    EXPECT_EQ(Look(b, 37, 2), kOrange);
    Move(b, 200, 5);
    EXPECT_EQ(Look(b, 37, 2), kGreen) << "held, the pressed look goes with the pointer";
    Move(b, 20, 5);
    EXPECT_EQ(Look(b, 37, 2), kOrange);
    Release(b, 20, 5);
    Leave(b);
    b->SetEnabled(false);
    EXPECT_EQ(Look(b, 37, 2), kGray);
    // A disabled button does not light up under the pointer: it would promise a click.
    Enter(b);
    EXPECT_EQ(Look(b, 37, 2), kGray);
    Leave(b);
}

TEST_F(SpeedButtons, DefaultLookUsesTheOnePalette) {
    auto* b = Add();
    auto* flat = Add();
    flat->SetFlat(true);
    auto* member = Add();
    member->SetGroupIndex(2);
    const rt::TColor shadow = rt::ColorToRGB(rt::clBtnShadow);
    const rt::TColor face = rt::ColorToRGB(rt::clBtnFace);
    struct Case {
        const char* state;
        rt::TControl* button;
        rt::TColor frame, fill;
    };
    std::vector<std::pair<Case, rt::TBitmap>> shots;
    auto shoot = [&](const Case& c) { shots.push_back({c, c.button->PaintToBitmap()}); };
    shoot({"idle", b, shadow, face});
    shoot({"flat idle", flat, face, face});
    Enter(b);
    shoot({"hot", b, rt::kDefaultFrame, rt::kDefaultHot});
    Press(b, 5, 5);
    shoot({"down", b, rt::kDefaultFrame, rt::kDefaultPressed});
    Enter(flat);
    shoot({"flat hot", flat, rt::kDefaultFrame, rt::kDefaultHot});
    member->SetDown(true);
    shoot({"group member down, pointer away", member, rt::kDefaultFrame, rt::kDefaultPressed});
    for (auto& [c, bmp] : shots) {
        EXPECT_EQ(PixelAt(bmp, 0, 0), c.frame) << c.state;
        EXPECT_EQ(PixelAt(bmp, 74, 24), c.frame) << c.state;
        EXPECT_EQ(PixelAt(bmp, 37, 12), c.fill) << c.state;
    }
}

TEST_F(SpeedButtons, TransparentShowsWhatLiesBelowWhileIdle) {
    form_->SetColor(kCyan);
    auto* shape = new rt::TShape(form_.get());
    shape->BrushColor = kRed;
    shape->PenColor = kRed;
    shape->SetBounds(0, 0, 20, 60);
    shape->SetParent(form_.get());
    auto* b = Add();
    b->SetTransparent(true);
    ASSERT_EQ(b->Left(), 10);
    EXPECT_EQ(Look(b, 5, 12), kRed) << "the control placed before it shows through";
    EXPECT_EQ(Look(b, 40, 12), kCyan) << "the parent's own painting shows through";
    Enter(b);
    EXPECT_EQ(Look(b, 40, 12), rt::kDefaultHot);
    Leave(b);

    // With a skin: the caption in the skin's font colour over the backdrop, never a fade.
    auto* skinned = Add("morphbutton");
    skinned->SetTransparent(true);
    skinned->SetCaption("WWW");
    rt::TBitmap idle = skinned->PaintToBitmap();
    EXPECT_EQ(PixelAt(idle, 30, 0), kCyan);
    EXPECT_GT(Count(idle, rt::Rect(0, 0, 75, 20), kBlack), 10);
    EXPECT_FALSE(skinned->ButtonSkin().Morphing);
    Enter(skinned);
    EXPECT_EQ(skinned->MorphTicker(), nullptr);
    EXPECT_EQ(Look(skinned, 5, 2), kYellow) << "hot, the button shows its active image";
    skinned->SetTransparent(false);
    Leave(skinned);
    EXPECT_TRUE(skinned->ButtonSkin().Morphing) << "an opaque button fades again";
    EXPECT_NE(skinned->MorphTicker(), nullptr);
}

TEST_F(SpeedButtons, GroupsToggleOnThePress) {
    int clicks[3] = {};
    sk::TskSkinSpeedButton* g[3];
    for (int i = 0; i < 3; ++i) {
        g[i] = Add("toolbutton");
        g[i]->SetGroupIndex(5);
        g[i]->OnClick = [&clicks, i](rt::TComponent*) { ++clicks[i]; };
    }
    Press(g[0], 5, 5);
    EXPECT_EQ(clicks[0], 1) << "an up group button clicks on the press";
    Release(g[0], 5, 5);
    EXPECT_EQ(clicks[0], 1);
    EXPECT_TRUE(g[0]->Down());
    Leave(g[0]);
    EXPECT_EQ(Look(g[0], 37, 2), kOrange) << "a down member keeps its look without the pointer";

    Press(g[1], 5, 5);
    Release(g[1], 5, 5);
    EXPECT_TRUE(g[1]->Down());
    EXPECT_FALSE(g[0]->Down()) << "going down releases the other member";
    EXPECT_EQ(Look(g[0], 37, 2), kGreen);

    Press(g[1], 5, 5);
    Release(g[1], 5, 5);
    EXPECT_TRUE(g[1]->Down()) << "without AllowAllUp a down member stays down";
    EXPECT_EQ(clicks[1], 1);

    for (auto* b : g) b->AllowAllUp = true;
    Press(g[1], 5, 5);
    Move(g[1], 300, 5);
    Release(g[1], 300, 5);
    EXPECT_TRUE(g[1]->Down()) << "released away from the button it stays down";
    Enter(g[1]);
    Press(g[1], 5, 5);
    Release(g[1], 5, 5);
    EXPECT_FALSE(g[1]->Down());
    EXPECT_EQ(clicks[1], 2);
    g[0]->SetDown(true);
    g[2]->SetDown(true);
    EXPECT_TRUE(g[0]->Down()) << "AllowAllUp keeps the others down";
}

TEST_F(SpeedButtons, RepeatClicksWhileHeld) {
    int clicks = 0;
    auto* b = Add();
    b->OnClick = [&](rt::TComponent*) { ++clicks; };
    b->RepeatMode = true;
    b->RepeatInterval = 100;
    Press(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100);
    EXPECT_EQ(clicks, 0) << "the first repeat comes one period after the press";
    for (int i = 0; i < 3; ++i) Fire(b->RepeatTimer());
    Release(b, 5, 5);
    EXPECT_EQ(clicks, 4) << "three from the timer, one more on the release inside";
    EXPECT_EQ(b->RepeatTimer(), nullptr);

    Press(b, 5, 5);
    Fire(b->RepeatTimer());
    Move(b, 300, 5);
    EXPECT_EQ(b->RepeatTimer(), nullptr) << "off the button the repeat stops";
    Release(b, 300, 5);
    EXPECT_EQ(clicks, 5) << "no click for a release outside";
    EXPECT_FALSE(b->Down());

    // Disabled while held, the button hears no release: the press must end there.
    Press(b, 5, 5);
    b->SetEnabled(false);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    EXPECT_FALSE(b->Down());
    b->SetEnabled(true);
    EXPECT_EQ(Look(b, 37, 12), rt::ColorToRGB(rt::clBtnFace)) << "it comes back up";
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_EQ(clicks, 6);
}

// A strip of n 10 x 10 images in red, green, blue and magenta, each with a white bottom-left
// pixel (the transparent colour).
rt::TBitmap Strip(int n) {
    const rt::TColor colours[] = {kRed, kGreen, kBlue, kMagenta};
    rt::TBitmap s(10 * n, 10);
    for (int i = 0; i < n; ++i) {
        Fill(s, rt::Rect(10 * i, 0, 10 * i + 10, 10), colours[i]);
        s.Canvas().SetPixel(10 * i, 9, kWhite);
    }
    return s;
}

TEST_F(SpeedButtons, GlyphImageForTheState) {
    struct Case {
        const char* name;
        int numGlyphs;
        bool disabled, hot, down;
        rt::TColor expected;
    };
    const Case cases[] = {
        {"idle", 2, false, false, false, kRed},
        {"disabled with a disabled image", 2, true, false, false, kGreen},
        {"disabled without one", 1, true, false, false, kRed},
        {"hot without a hot image", 3, false, true, false, kRed},
        {"hot", 4, false, true, false, kMagenta},
        {"down and hot", 3, false, true, true, kBlue},
    };
    for (const Case& c : cases) {
        auto* b = Add();
        b->SetGlyph(Strip(c.numGlyphs));
        b->SetNumGlyphs(c.numGlyphs);
        if (c.hot) Enter(b);
        if (c.down) Press(b, 1, 1);
        b->SetEnabled(!c.disabled);
        // A centred 10 x 10 glyph alone: at 32, 7 (at 33, 8 pressed).
        EXPECT_EQ(Look(b, 37, 12), c.expected) << c.name;
    }
}

TEST_F(SpeedButtons, GlyphLayoutMarginAndSpacing) {
    auto* b = Add();
    b->SetGlyph(Strip(1));
    b->SetNumGlyphs(1);
    const rt::TColor face = rt::ColorToRGB(rt::clBtnFace);
    struct Case {
        const char* name;
        sk::TskButtonLayout layout;
        int margin;
        rt::TPoint corner;  // the glyph's top-left pixel
    };
    const Case cases[] = {
        {"left", sk::blGlyphLeft, 4, {4, 7}},      {"right", sk::blGlyphRight, 4, {61, 7}},
        {"top", sk::blGlyphTop, 2, {32, 2}},       {"bottom", sk::blGlyphBottom, 2, {32, 13}},
        {"centred", sk::blGlyphLeft, -1, {32, 7}},
    };
    for (const Case& c : cases) {
        b->SetLayout(c.layout);
        b->SetMargin(c.margin);
        rt::TBitmap bmp = b->PaintToBitmap();
        // Top-left and bottom-right pixels of the glyph (its bottom-left one is transparent).
        EXPECT_EQ(PixelAt(bmp, c.corner.X, c.corner.Y), kRed) << c.name;
        EXPECT_EQ(PixelAt(bmp, c.corner.X + 9, c.corner.Y + 9), kRed) << c.name;
        // Beside the glyph: the face, or the light edge of the face's bevel (row and column 1).
        const rt::TColor light = rt::ColorToRGB(rt::clBtnHighlight);
        EXPECT_EQ(PixelAt(bmp, c.corner.X - 1, c.corner.Y), c.corner.X - 1 == 1 ? light : face)
            << c.name;
        EXPECT_EQ(PixelAt(bmp, c.corner.X, c.corner.Y - 1), c.corner.Y - 1 == 1 ? light : face)
            << c.name;
    }

    // The caption follows the glyph at Spacing.
    auto firstTextColumn = [&] {
        rt::TBitmap bmp = b->PaintToBitmap();
        for (int x = 0; x < bmp.Width(); ++x)
            for (int y = 0; y < bmp.Height(); ++y) {
                const rt::TColor c = PixelAt(bmp, x, y);
                if (rt::GetRValue(c) < 100 && rt::GetGValue(c) < 100 && rt::GetBValue(c) < 100)
                    return x;
            }
        return -1;
    };
    b->SetCaption("I");
    b->SetLayout(sk::blGlyphLeft);
    b->SetMargin(4);
    const int near = firstTextColumn();
    b->SetSpacing(10);
    EXPECT_EQ(firstTextColumn(), near + 9);
    EXPECT_GE(near, 4 + 10 + 1);
}

TEST_F(SpeedButtons, CrossFadeBlendsNormalAndHotImages) {
    auto* b = Add("morphbutton");
    Enter(b);
    for (int i = 1; i <= 5; ++i) Fire(b->MorphTicker());
    EXPECT_EQ(Look(b, 37, 2), rt::RGB(128, 255, 0)) << "green half way to yellow";
    Press(b, 5, 5);
    EXPECT_EQ(b->MorphTicker(), nullptr) << "pressed, the fade gives way to the down image";
    EXPECT_EQ(Look(b, 37, 2), kOrange);
    Release(b, 5, 5);
    EXPECT_EQ(Look(b, 37, 2), kYellow) << "released under the mouse: hot at once";
}

TEST_F(SpeedButtons, MenuButtonDropsItsMenuAndStaysDownUntilItCloses) {
    auto* b = Add<sk::TskSkinMenuSpeedButton>();
    auto* menu = new FakeMenu(form_.get());
    b->SetSkinPopupMenu(menu);
    std::vector<std::string> events;
    b->OnClick = [&](rt::TComponent*) { events.push_back("click"); };
    b->OnMouseDown = [&](rt::TComponent*, rt::TMouseButton, rt::TShiftState, int, int) {
        events.push_back("mouse down");
    };
    b->OnShowTrackMenu = [&](rt::TComponent*) { events.push_back("show"); };
    b->OnHideTrackMenu = [&](rt::TComponent*) { events.push_back("hide"); };

    Press(b, 5, 5);
    EXPECT_EQ(menu->opens, 1);
    EXPECT_EQ(menu->lastOpener, b);
    const rt::TPoint origin = b->ClientToScreen(rt::Point(0, 0));
    EXPECT_EQ(menu->lastAnchor, rt::Bounds(origin.X, origin.Y, 75, 25));
    EXPECT_FALSE(menu->droppedUp);
    EXPECT_TRUE(b->MenuShown());
    Release(b, 5, 5);
    Leave(b);
    EXPECT_TRUE(b->Down()) << "down while the menu is open, wherever the pointer is";
    EXPECT_EQ(Look(b, 30, 3), rt::kDefaultPressed);
    EXPECT_EQ(events, (std::vector<std::string>{"show"})) << "no click, no mouse-down event";

    b->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuShown());
    b->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));

    // A menu that has closed by the time it returns, as the plain modal popup does.
    menu->closeBeforeReturning = true;
    events.clear();
    Press(b, 5, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "hide"}));
    EXPECT_FALSE(b->Down());

    // With its menu freed the button is a plain speed button.
    delete menu;
    EXPECT_EQ(b->SkinPopupMenu(), nullptr);
    events.clear();
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"mouse down", "click"}));
}

TEST_F(SpeedButtons, ArrowPartOpensTheMenuInTrackButtonMode) {
    auto* b = Add<sk::TskSkinMenuSpeedButton>("", 60, 25);
    auto* menu = new FakeMenu(form_.get());
    b->SetSkinPopupMenu(menu);
    b->SetTrackButtonMode(true);
    int clicks = 0;
    b->OnClick = [&](rt::TComponent*) { ++clicks; };
    EXPECT_EQ(b->ArrowRect(), rt::Rect(45, 0, 60, 25));
    Press(b, 44, 5);
    Release(b, 44, 5);
    EXPECT_EQ(menu->opens, 0);
    EXPECT_EQ(clicks, 1) << "left of the arrow part it is a speed button";
    Press(b, 45, 5);
    EXPECT_EQ(menu->opens, 1) << "the arrow part's edge counts";
    EXPECT_EQ(clicks, 1);

    // Open from the arrow: the main part lit, the arrow part pressed with its arrow moved.
    rt::TBitmap open = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(open, 20, 3), rt::kDefaultHot);
    EXPECT_EQ(PixelAt(open, 0, 0), rt::kDefaultFrame);
    EXPECT_EQ(PixelAt(open, 47, 3), rt::kDefaultPressed);
    const rt::TColor text = rt::ColorToRGB(rt::clBtnText);
    EXPECT_EQ(PixelAt(open, 52, 14), text);
    EXPECT_EQ(PixelAt(open, 56, 14), text);
    EXPECT_EQ(PixelAt(open, 54, 16), text);
    b->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    Leave(b);

    // Idle: the arrow hangs from the centre row of the last 15 pixels, widths 5, 3, 1.
    rt::TBitmap idle = b->PaintToBitmap();
    const int cx = 52, cy = 12;
    for (int row = 0; row < 3; ++row)
        for (int x = cx - 3; x <= cx + 3; ++x) {
            const bool on = x >= cx - 2 + row && x <= cx + 2 - row;
            EXPECT_EQ(PixelAt(idle, x, cy + row) == text, on) << "row " << row << " x " << x;
        }
    EXPECT_NE(PixelAt(idle, cx, cy - 1), text);
}

TEST_F(SpeedButtons, SkinnedArrowPartFollowsTheButtonsSize) {
    auto* strip = Add<sk::TskSkinMenuSpeedButton>("toolmenubutton", 60, 20);
    auto* nine = Add<sk::TskSkinMenuSpeedButton>("ninemenubutton", 60, 30);
    EXPECT_EQ(strip->ArrowRect(), rt::Rect(47, 0, 60, 20));
    EXPECT_EQ(nine->ArrowRect(), rt::Rect(47, 0, 60, 30))
        << "a nine-piece button keeps its arrow part at its right edge";

    auto* menu = new FakeMenu(form_.get());
    strip->SetSkinPopupMenu(menu);
    EXPECT_EQ(Look(strip, 10, 2), kGreen);
    EXPECT_EQ(Look(strip, 50, 2), kTeal);
    Press(strip, 5, 5);
    EXPECT_EQ(Look(strip, 10, 2), kOrange) << "the whole button opens the menu: all pressed";
    EXPECT_EQ(Look(strip, 50, 2), kPurple);
    strip->Perform(sk::WM_CLOSESKINMENU, 0, 0);

    strip->SetTrackButtonMode(true);
    Press(strip, 50, 5);
    ASSERT_TRUE(strip->MenuShown());
    EXPECT_EQ(Look(strip, 10, 2), kYellow) << "from the arrow part: the button lit ...";
    EXPECT_EQ(Look(strip, 50, 2), kPurple) << "... and only its arrow part pressed";
    EXPECT_EQ(Look(strip, 46, 2), kYellow);
}

// Focus comes from Tab only; the focused button looks hot (the dotted rectangle in the default
// look), Space clicks on its release and Enter at once, and neither does anything to a button
// without the focus.
TEST_F(SpeedButtons, TabFocusLooksHotAndSpaceOrEnterClick) {
    auto* skinned = Add("toolbutton");
    auto* plain = Add();
    auto* off = Add();
    skinned->TabStop = true;
    plain->TabStop = true;
    int skinnedClicks = 0, plainClicks = 0, offClicks = 0;
    skinned->OnClick = [&](rt::TComponent*) { ++skinnedClicks; };
    plain->OnClick = [&](rt::TComponent*) { ++plainClicks; };
    off->OnClick = [&](rt::TComponent*) { ++offClicks; };
    form_->Show();
    rt::testing::ProcessEvents();

    Press(plain, 5, 5);
    Release(plain, 5, 5);
    EXPECT_FALSE(plain->Focused()) << "the mouse never gives a speed button the focus";
    EXPECT_EQ(plainClicks, 1);
    Leave(plain);

    form_->SelectNext(nullptr, true);
    ASSERT_TRUE(skinned->KeyFocused());
    EXPECT_EQ(Look(skinned, 15, 2), kYellow) << "focused: the skin's active image";
    Enter(skinned);
    Leave(skinned);
    EXPECT_EQ(Look(skinned, 15, 2), kYellow) << "the pointer leaving keeps the focus look";
    rt::testing::KeyPress(rt::VK_SPACE);
    EXPECT_EQ(Look(skinned, 15, 2), kOrange) << "held space: the down image";
    EXPECT_EQ(skinnedClicks, 0) << "no click before the release";
    rt::testing::KeyRelease(rt::VK_SPACE);
    EXPECT_EQ(skinnedClicks, 1);
    EXPECT_EQ(Look(skinned, 15, 2), kYellow);
    rt::testing::KeyClick(rt::VK_RETURN);
    EXPECT_EQ(skinnedClicks, 2);

    // Space held while the focus moves on ends without a click.
    rt::testing::KeyPress(rt::VK_SPACE);
    form_->SelectNext(skinned, true);
    ASSERT_TRUE(plain->KeyFocused()) << "Tab skips the button without TabStop";
    rt::testing::KeyRelease(rt::VK_SPACE);
    EXPECT_EQ(skinnedClicks, 2);
    EXPECT_EQ(Look(skinned, 15, 2), kGreen) << "unfocused and idle again";

    rt::TBitmap focused = plain->PaintToBitmap();
    EXPECT_EQ(PixelAt(focused, 37, 12), rt::kDefaultHot);
    EXPECT_EQ(PixelAt(focused, 4, 3), rt::kDefaultHot) << "between the dots";
    EXPECT_NE(PixelAt(focused, 3, 3), rt::kDefaultHot) << "the dotted focus rectangle";
    EXPECT_NE(PixelAt(focused, 71, 21), rt::kDefaultHot);
    rt::TBitmap idle = off->PaintToBitmap();
    EXPECT_EQ(PixelAt(idle, 3, 3), rt::ColorToRGB(rt::clBtnFace)) << "no rectangle unfocused";

    plain->SetEnabled(false);
    rt::testing::KeyClick(rt::VK_RETURN);
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_EQ(plainClicks, 1) << "a disabled button ignores its keys";
    EXPECT_EQ(offClicks, 0);
}

TEST_F(SpeedButtons, KeysOnAGroupMemberAndAMenuButton) {
    auto* member = Add();
    member->SetGroupIndex(1);
    member->TabStop = true;
    auto* dropper = Add<sk::TskSkinMenuSpeedButton>();
    auto* tracker = Add<sk::TskSkinMenuSpeedButton>();
    auto* menu = new FakeMenu(form_.get());
    dropper->SetSkinPopupMenu(menu);
    tracker->SetSkinPopupMenu(menu);
    tracker->SetTrackButtonMode(true);
    dropper->TabStop = true;
    tracker->TabStop = true;
    int trackerClicks = 0;
    tracker->OnClick = [&](rt::TComponent*) { ++trackerClicks; };
    form_->Show();
    rt::testing::ProcessEvents();

    member->SetFocus();
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_TRUE(member->Down()) << "Space puts a group member down";
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_TRUE(member->Down()) << "... and, without AllowAllUp, keeps it down";

    dropper->SetFocus();
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_EQ(menu->opens, 1) << "Space drops the whole button's menu";
    EXPECT_TRUE(dropper->MenuShown());
    rt::testing::KeyClick(rt::VK_RETURN);
    EXPECT_EQ(menu->opens, 1) << "not twice while it is open";
    dropper->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    EXPECT_FALSE(dropper->Down());

    tracker->SetFocus();
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_EQ(trackerClicks, 1) << "with an arrow part Space clicks the button";
    EXPECT_EQ(menu->opens, 1);
    rt::testing::KeyClick(rt::VK_DOWN, rt::ssAlt);
    EXPECT_EQ(menu->opens, 2) << "Alt+Down drops the arrow part's menu";
    tracker->Perform(sk::WM_CLOSESKINMENU, 0, 0);
    rt::testing::KeyClick(rt::VK_F4);
    EXPECT_EQ(menu->opens, 3) << "so does F4";
    EXPECT_EQ(menu->lastOpener, tracker);
}

}  // namespace
