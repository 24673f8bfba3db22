// The skinned frame on real forms: the component takes a form over, and synthetic input through
// the window system's event path meets its hit test, its buttons and the window states.
// Offscreen, and under Xvfb (xcb) in CI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/form/FormTestSkin.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMenu.h"

using namespace formtest;
using rt::Rect;
using rt::TPoint;
using rt::TRect;
namespace ti = rt::testing;

namespace {

using ti::WaitFor;

// Hover tracking follows the pointer the window system reports. Under an X server that is the
// real pointer, which synthetic input does not move: there it is moved too.
void PointerTo(TPoint p) {
    static const bool real =
        ti::PlatformName() == "xcb" && std::system("command -v xdotool >/dev/null") == 0;
    if (real) {
        const std::string cmd =
            "xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y);
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        ASSERT_TRUE(WaitFor([&] { return rt::GetCursorPos() == p; }));
        ti::SyncWithWindowSystem();
    }
    ti::MouseMove(p);
}

// A form with its frame taken over by the component, the skin data owned by the form so that
// its changes are announced, as on the program's windows.
// The test skin without its user objects, which cover the edges of the frame.
constexpr SkinOptions kPlainFrame{.userObjects = false};

struct SkinnedForm {
    explicit SkinnedForm(const SkinOptions& o = kPlainFrame,
                         TRect bounds = rt::Bounds(100, 100, 300, 200)) {
        form = std::make_unique<rt::TForm>(nullptr);
        form->BorderStyle = rt::TFormBorderStyle::bsSizeable;
        form->SetCaption("Live frame");
        form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        data = new sk::TskSkinData(form.get());
        frame = new sk::TskSkinForm(form.get());
        frame->SetSkinData(data);
        stored = MakeStoredSkin(o);
        data->LoadStoredSkin(stored.get());
    }
    void Show() {
        form->Show();
        ASSERT_TRUE(WaitFor([&] { return form->Active(); }));
        ASSERT_TRUE(WaitFor([&] {
            return rt::WindowFromPoint(At(form->Width() / 2, form->Height() / 2)) == form.get();
        }));
    }
    TPoint At(int x, int y) const { return form->WindowToScreen({x, y}); }
    // The centre of a frame object, on the screen.
    TPoint Centre(const std::string& id) const {
        const TRect r = frame->FindObject(id)->ObjectRect;
        return At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // The mouse rests on the client area until the hover tracking lets go of the frame's
    // objects (a hovered object on an edge keeps the edge from sizing).
    void Rest() {
        PointerTo(At(form->Width() / 2, form->Height() / 2));
        ASSERT_TRUE(WaitFor([&] { return frame->HoverIndex() < 0; }));
    }
    // The window system's own events from what the last input changed (a window that rolled
    // up leaves the real pointer) are handled first: a late one would fall between the press
    // and the release.
    void Click(TPoint p) {
        ti::SyncWithWindowSystem();
        ti::MouseMove(p);
        ti::MouseClick(p);
        ti::ProcessEvents();
    }

    std::unique_ptr<rt::TForm> form;
    sk::TskSkinData* data = nullptr;
    sk::TskSkinForm* frame = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored;
};

TEST(LiveFrame, TakesTheFormOverAndGivesItsPlainFrameBack) {
    SkinnedForm s;
    ASSERT_TRUE(s.frame->Skinned());
    EXPECT_EQ(s.frame->Form(), s.form.get());
    EXPECT_EQ(s.form->ClientInWindow(), Rect(4, 24, 296, 196));
    s.form->SetClientSize(200, 100);
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(100, 100, 208, 128)) << "client plus the margins";
    s.form->SetBounds(100, 100, 300, 200);
    EXPECT_EQ(s.form->Perform(rt::WM_NCHITTEST, 0, rt::PointToLParam(s.Centre("closebutton"))),
              rt::HTOBJECT);
    s.Show();

    // Frame from the strips, client background from the client piece, both on screen.
    rt::TBitmap shot = ti::GrabWindow(*s.form);
    EXPECT_EQ(At(shot, 1, 30), kLeftUp);
    EXPECT_EQ(At(shot, 150, 198), kBotMidB);
    EXPECT_EQ(At(shot, 4, 24), kClientDot);
    EXPECT_EQ(At(shot, 5, 24), kClient);
    EXPECT_EQ(rt::WindowFromPoint(s.At(0, 0)), nullptr) << "the mask cuts the corner away";

    const TPoint closeButton = s.Centre("closebutton");
    delete s.frame;
    EXPECT_EQ(s.form->ClientInWindow(), Rect(3, 22, 297, 197)) << "the runtime's plain frame";
    EXPECT_EQ(rt::WindowFromPoint(s.At(0, 0)), s.form.get()) << "no shape any more";
    EXPECT_EQ(s.form->Perform(rt::WM_NCHITTEST, 0, rt::PointToLParam(closeButton)), rt::HTCLOSE)
        << "the plain frame's own close button answers there";
}

TEST(LiveFrame, NoSkinAndBackLeaveAWorkingFrame) {
    SkinnedForm s;
    s.frame->SetBorderIcons(sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    s.Show();
    s.data->ClearSkin();
    EXPECT_FALSE(s.frame->Skinned());
    EXPECT_EQ(s.form->ClientInWindow(), Rect(3, 22, 297, 197));
    EXPECT_EQ(rt::WindowFromPoint(s.At(0, 0)), s.form.get()) << "rectangular";
    ASSERT_TRUE(WaitFor(
        [&] { return At(ti::GrabWindow(*s.form), 150, 3) == rt::ColorToRGB(rt::clBtnFace); }));
    EXPECT_FALSE(s.frame->FindObject("maxbutton")->Visible);
    ti::MouseMove(s.At(1, 100));
    EXPECT_EQ(ti::CursorAt(s.At(1, 100)), rt::TCursor::crSizeWE);
    ti::MouseDrag(s.At(298, 198), s.At(318, 208));
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(100, 100, 320, 210)) << "the default frame sizes";

    s.data->LoadStoredSkin(s.stored.get());
    EXPECT_TRUE(s.frame->Skinned());
    EXPECT_EQ(s.form->ClientInWindow(), Rect(4, 24, 316, 206));
    EXPECT_EQ(rt::WindowFromPoint(s.At(0, 0)), nullptr) << "the shape is back";
    EXPECT_FALSE(s.frame->FindObject("maxbutton")->Visible) << "the icons still hold";
    ASSERT_TRUE(WaitFor([&] { return At(ti::GrabWindow(*s.form), 1, 30) == kLeftUp; }));
}

TEST(LiveFrame, HitCodesDriveTheCursorAndSizingKeepsTheLimits) {
    SkinnedForm s;
    s.frame->MinWidth = 150;
    s.frame->MinHeight = 90;
    const TRect work = rt::WorkArea();
    s.form->SetBounds(work.Left, work.Top, 300, 200);
    s.Show();
    const struct {
        TPoint at;
        rt::TCursor cursor;
    } cursors[] = {
        {s.At(1, 100), rt::TCursor::crSizeWE},   {s.At(298, 100), rt::TCursor::crSizeWE},
        {s.At(150, 1), rt::TCursor::crSizeNS},   {s.At(150, 198), rt::TCursor::crSizeNS},
        {s.At(2, 2), rt::TCursor::crSizeNWSE},   {s.At(298, 198), rt::TCursor::crSizeNWSE},
        {s.At(1, 198), rt::TCursor::crSizeNESW}, {s.At(150, 12), rt::TCursor::crArrow},
        {s.At(150, 100), rt::TCursor::crArrow}};
    for (const auto& c : cursors) {
        ti::MouseMove(c.at);
        EXPECT_EQ(ti::CursorAt(c.at), c.cursor) << c.at.X - 100 << "," << c.at.Y - 100;
    }
    s.Rest();
    // The cut corner is neither window nor edge: a press there sizes nothing.
    ti::MouseDrag(s.At(0, 0), s.At(-30, -30));
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(work.Left, work.Top, 300, 200));

    ti::MouseDrag(s.At(298, 198), s.At(298 + 3000, 198 + 3000));
    EXPECT_EQ(s.form->BoundsRect(), work) << "at most the work area";
    s.Rest();
    ti::MouseDrag(s.At(work.Width() - 2, work.Height() - 2), s.At(-3000, -3000));
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(work.Left, work.Top, 150, 90))
        << "at least MinWidth x MinHeight";
    EXPECT_EQ(s.form->ClientInWindow(), Rect(4, 24, 146, 86));
    s.form->SetBounds(work.Left + 100, work.Top + 100, 150, 90);
    s.Rest();
    ti::MouseDrag(s.At(1, 50), s.At(-19, 50));
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(work.Left + 80, work.Top + 100, 170, 90))
        << "the right edge stays";
}

TEST(LiveFrame, CaptionMovesAndSnapsOnlyStrictlyInsideTheMagneticDistance) {
    SkinnedForm s;
    s.frame->Magnetic = true;
    s.Show();
    const TRect work = rt::WorkArea();
    auto dragTo = [&](int left, int top) {
        const TPoint grip = s.At(60, 12);
        ti::MouseDrag(grip, {grip.X + left - s.form->Left(), grip.Y + top - s.form->Top()});
    };
    dragTo(work.Left + 4, work.Top + 50);
    EXPECT_EQ(s.form->Left(), work.Left) << "4 pixels off snaps";
    EXPECT_EQ(s.form->Top(), work.Top + 50);
    dragTo(work.Left + 5, work.Top + 50);
    EXPECT_EQ(s.form->Left(), work.Left + 5) << "5 pixels off does not";
    dragTo(work.Left + 60, work.Bottom - 200 - 3);
    EXPECT_EQ(s.form->Top(), work.Bottom - 200) << "the bottom edge snaps as well";
    s.frame->Magnetic = false;
    dragTo(work.Left + 3, work.Top + 40);
    EXPECT_EQ(s.form->Left(), work.Left + 3);
}

TEST(LiveFrame, CaptionButtonsRollUpMinimizeAndClose) {
    SkinnedForm s;
    s.frame->SetBorderIcons(sk::biSystemMenu | sk::biMinimize | sk::biMaximize | sk::biRollUp);
    s.form->SetBounds(100, 100, 300, 213);
    s.Show();
    s.Click(s.Centre("rollupbutton"));
    EXPECT_TRUE(s.frame->RollUpState());
    EXPECT_EQ(s.form->Height(), 28) << "the frame alone";
    EXPECT_EQ(s.form->ClientHeight(), 0);
    s.Click(s.Centre("rollupbutton"));
    EXPECT_EQ(s.form->Height(), 213) << "the exact earlier height";

    // The caption's double click does the same for a form that cannot maximize.
    s.frame->SetBorderIcons(sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    ti::SyncWithWindowSystem();
    ti::MouseDoubleClick(s.At(60, 12));
    EXPECT_EQ(s.form->Height(), 28);
    ti::SyncWithWindowSystem();
    ti::MouseDoubleClick(s.At(60, 12));
    EXPECT_EQ(s.form->Height(), 213);

    const TRect work = rt::WorkArea();
    s.Click(s.Centre("minbutton"));
    EXPECT_EQ(s.frame->WindowState(), sk::TskWindowState::wsMinimized);
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(work.Left, work.Bottom - 28, 120, 28));
    s.Click(s.Centre("minbutton"));
    EXPECT_EQ(s.form->BoundsRect(), rt::Bounds(100, 100, 300, 213)) << "restored";

    // A press that ends outside the button runs nothing; one that ends on it closes.
    const TPoint close = s.Centre("closebutton");
    ti::MouseMove(close);
    ti::MousePress(close);
    ti::MouseMove(s.At(150, 100));
    ASSERT_TRUE(WaitFor([&] { return !s.frame->FindObject("closebutton")->CursorInside; }));
    ti::MouseRelease(s.At(150, 100));
    EXPECT_TRUE(s.form->Visible());
    s.Click(close);
    EXPECT_FALSE(s.form->Visible());
}

TEST(LiveFrame, HoverPaintsTheButtonAndTheMorphRunsOnWindowTimers) {
    SkinnedForm s;
    s.Show();
    const TRect r = s.frame->FindObject("closebutton")->ObjectRect;
    PointerTo(s.Centre("closebutton"));
    ASSERT_TRUE(WaitFor([&] {
        return At(ti::GrabWindow(*s.form), r.Left + 2, r.Top + 2) == kCloseActive;
    })) << "ten morph steps";
    EXPECT_TRUE(WaitFor([&] { return !s.frame->MorphTickerEnabled(); }));
    PointerTo(s.At(150, 100));
    ASSERT_TRUE(WaitFor([&] {
        return At(ti::GrabWindow(*s.form), r.Left + 2, r.Top + 2) == kCloseNormal;
    })) << "and back when the mouse leaves";
    EXPECT_EQ(s.frame->HoverIndex(), -1);
}

TEST(LiveFrame, SecondMinimizedFormTakesTheNextSlotAndMaximizeFillsTheWorkArea) {
    SkinnedForm a, b;
    a.Show();
    b.Show();
    const TRect work = rt::WorkArea();
    a.form->Perform(rt::WM_SYSCOMMAND, rt::SC_MINIMIZE, 0);
    b.form->Perform(rt::WM_SYSCOMMAND, rt::SC_MINIMIZE, 0);
    EXPECT_EQ(a.form->BoundsRect(), rt::Bounds(work.Left, work.Bottom - 28, 120, 28));
    EXPECT_EQ(b.form->BoundsRect(), rt::Bounds(work.Left + 120, work.Bottom - 28, 120, 28));
    b.form->Perform(rt::WM_SYSCOMMAND, rt::SC_RESTORE, 0);
    EXPECT_EQ(b.form->BoundsRect(), rt::Bounds(100, 100, 300, 200));

    b.form->Perform(rt::WM_SYSCOMMAND, rt::SC_MAXIMIZE, 0);
    EXPECT_EQ(b.form->BoundsRect(), work);
    ti::MouseDrag(b.At(60, 12), b.At(160, 112));
    EXPECT_EQ(b.form->BoundsRect(), work) << "a maximized form holds its place";
    b.form->Perform(rt::WM_SYSCOMMAND, rt::SC_RESTORE, 0);
    b.frame->MaximizeOnFullScreen = true;
    b.form->Perform(rt::WM_SYSCOMMAND, rt::SC_MAXIMIZE, 0);
    EXPECT_EQ(b.form->BoundsRect(), rt::ScreenRect());
}

// Counts what the skin-change walk does to it.
class CountingControl : public sk::TskSkinCustomControl {
public:
    using sk::TskSkinCustomControl::TskSkinCustomControl;
    void ApplySkin() override {
        ++applied;
        sk::TskSkinCustomControl::ApplySkin();
    }
    int applied = 0;
};

TEST(LiveFrame, SkinChangeWalksEveryNestedControlOnceOwnerFormFirst) {
    std::vector<std::string> order;
    // Another form, listening before the owner form does, whose frame and control paint from
    // the owner's skin.
    rt::TForm other(nullptr);
    auto* otherFrame = new sk::TskSkinForm(&other);
    SkinnedForm owner;
    auto* outer = new rt::TCustomControl(owner.form.get());
    outer->SetBounds(0, 0, 100, 80);
    outer->SetParent(owner.form.get());
    auto* inner = new rt::TCustomControl(owner.form.get());
    inner->SetBounds(5, 5, 60, 40);
    inner->SetParent(outer);
    auto* deep = new CountingControl(owner.form.get());
    deep->SetParent(inner);
    deep->SetSkinData(owner.data);
    auto* top = new CountingControl(owner.form.get());
    top->SetParent(owner.form.get());
    top->SetSkinData(owner.data);
    otherFrame->SetSkinData(owner.data);
    auto* elsewhere = new CountingControl(&other);
    elsewhere->SetParent(&other);
    elsewhere->SetSkinData(owner.data);
    // A third form with a skin of its own, one of whose controls borrows the owner's skin: it
    // hears the owner's skin for that control only, and its own skin's control is left alone.
    rt::TForm third(nullptr);
    auto* thirdFrame = new sk::TskSkinForm(&third);
    auto* thirdData = new sk::TskSkinData(&third);
    auto* borrowed = new CountingControl(&third);
    borrowed->SetParent(&third);
    borrowed->SetSkinData(owner.data);
    auto* apart = new CountingControl(&third);
    apart->SetParent(&third);
    apart->SetSkinData(thirdData);
    thirdFrame->SetSkinData(thirdData);
    EXPECT_TRUE(thirdFrame->HearsSkinData(owner.data));
    EXPECT_TRUE(thirdFrame->HearsSkinData(thirdData));
    EXPECT_FALSE(owner.frame->HearsSkinData(thirdData));
    thirdFrame->OnChangeSkinData = [&](rt::TComponent*) { order.push_back("third"); };

    owner.frame->OnChangeSkinData = [&](rt::TComponent*) { order.push_back("owner"); };
    otherFrame->OnChangeSkinData = [&](rt::TComponent*) { order.push_back("other"); };
    deep->applied = top->applied = elsewhere->applied = borrowed->applied = apart->applied = 0;
    owner.data->LoadStoredSkin(owner.stored.get());
    EXPECT_EQ(deep->applied, 1);
    EXPECT_EQ(borrowed->applied, 1);
    EXPECT_EQ(apart->applied, 0);
    EXPECT_EQ(top->applied, 1);
    EXPECT_EQ(elsewhere->applied, 1);
    EXPECT_EQ(order, (std::vector<std::string>{"owner", "other"}));
    EXPECT_TRUE(otherFrame->Skinned());
}

TEST(LiveFrame, FadeInRaisesTheOpacityToItsTarget) {
    SkinnedForm s;
    s.frame->AlphaBlendAnimation = true;
    s.form->Show();
    EXPECT_EQ(s.form->AlphaBlend(), 0) << "shown transparent";
    EXPECT_TRUE(WaitFor([&] { return s.form->AlphaBlend() == 255; }));
    s.form->Hide();
    s.frame->SetAlphaBlendValue(180);
    s.frame->SetAlphaBlend(true);
    s.form->Show();
    EXPECT_EQ(s.form->AlphaBlend(), 0);
    EXPECT_TRUE(WaitFor([&] { return s.form->AlphaBlend() == 180; }));
}

TEST(LiveFrame, SystemMenuFromTheCaptionAndItsButtonRollsTheWindowUp) {
    SkinnedForm s;
    s.frame->SetBorderIcons(sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    s.Show();
    sk::TskSkinMenu& engine = *s.frame->SkinMenu();
    auto shown = [&] {
        std::vector<std::string> c;
        if (!engine.MenuVisible()) return c;
        sk::TskSkinPopupView& v = engine.Cascade().Popups(0);
        for (int i = 0; i < v.Count(); ++i) c.push_back(v.Items(i).MenuItem()->Caption);
        return c;
    };
    auto closed = [&](const char* how) {
        EXPECT_FALSE(engine.MenuVisible()) << how;
        EXPECT_FALSE(s.frame->MenuOpen()) << how;
        EXPECT_FALSE(s.frame->MenuHookInstalled()) << how;
        EXPECT_EQ(rt::GetCapture(), nullptr) << how;
    };

    PointerTo(s.At(60, 12));
    ti::MouseClick(s.At(60, 12), rt::TMouseButton::mbRight);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    EXPECT_EQ(shown(), (std::vector<std::string>{"Mi&nimize", "Ro&llUp", "-", "&Close"}));
    EXPECT_EQ(engine.PopupWindow(0)->Left(), s.At(60, 12).X) << "at the cursor";
    EXPECT_TRUE(s.frame->MenuOpen());
    EXPECT_TRUE(s.frame->MenuHookInstalled());
    ti::KeyClick(rt::VK_ESCAPE);
    closed("Esc");

    // The system-menu button drops the menu and stays down until a click elsewhere ends it.
    s.Click(s.Centre("sysmenubutton"));
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    EXPECT_EQ(shown().size(), 4u);
    auto* sys = dynamic_cast<sk::TskSkinButtonObject*>(s.frame->FindObject("sysmenubutton"));
    EXPECT_TRUE(sys->Down);
    s.Click(s.At(150, 100));
    closed("a click in the client area");
    EXPECT_FALSE(sys->Down);

    // "Ro&llUp" by its accelerator: only the frame is left, and the menu is gone.
    const int height = s.form->Height();
    ti::MouseClick(s.At(60, 12), rt::TMouseButton::mbRight);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    ti::KeyClick('L');
    closed("the command");
    EXPECT_TRUE(s.frame->RollUpState());
    EXPECT_LT(s.form->Height(), height);
}

}  // namespace
