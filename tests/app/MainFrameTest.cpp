// The main window in its own frame: the skinned form's settings, the frame of each built-in skin
// and of "No Skin" around the designed client area, and the frame's input on a shown window.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/MainFrm.h"
#include "app/MainLayout.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/IniFiles.h"
#include "runtime/Menus.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skUtils.h"
#include "skin/dialogs/skMessages.h"
#include "skin/form/skFrameGeometry.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinMenu.h"

namespace fs = std::filesystem;
namespace ti = rt::testing;

namespace {

using ti::WaitFor;

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-frame");
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg",
                      tmp_->path() / "noframe.jpg");
        form_ = std::make_unique<app::TMainForm>(nullptr, tmp_->path().string() + "/");
    }
    void TearDown() override {
        rt::Application()->MessageBoxHandler = nullptr;
        form_.reset();
        tmp_.reset();
    }
    void Show() {
        form_->Show();
        ASSERT_TRUE(WaitFor([&] { return form_->Active(); }));
    }
    rt::TPoint At(int x, int y) const { return form_->WindowToScreen({x, y}); }
    int HitAt(int x, int y) const {
        return int(form_->Perform(rt::WM_NCHITTEST, 0, rt::PointToLParam(At(x, y))));
    }
    rt::TPoint Centre(const std::string& id) const {
        const rt::TRect r = form_->skSkinForm1->FindObject(id)->ObjectRect;
        return At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    std::unique_ptr<app::TMainForm> form_;
};

TEST_F(MainFrame, SkinnedFormHasTheMainWindowsSettings) {
    sk::TskSkinForm* f = form_->skSkinForm1;
    EXPECT_EQ(f->Form(), form_.get());
    EXPECT_EQ(f->BorderIcons(), sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    EXPECT_EQ(f->SkinData(), form_->skSkinData1);
    EXPECT_EQ(f->MenusSkinData(), form_->skSkinData1);
    EXPECT_EQ(f->DefMenuItemHeight(), 20);
    EXPECT_EQ(f->DefMenuItemFont.Name, "Arial");
    EXPECT_EQ(f->DefMenuItemFont, sk::MakeSkinFont("Arial", 14, 0, rt::clWindowText));
    EXPECT_TRUE(f->UseSkinFontInMenu);
    EXPECT_TRUE(f->UseDefaultSysMenu);
    EXPECT_FALSE(f->ShowIcon());
    EXPECT_FALSE(f->MaximizeOnFullScreen);
    EXPECT_FALSE(f->AlphaBlend());
    EXPECT_FALSE(f->AlphaBlendAnimation);
    EXPECT_FALSE(f->ShowObjectHint);
    EXPECT_FALSE(f->Magnetic);
    EXPECT_EQ(f->MagneticSize, 5);
}

// Each frame around the designed 532 x 336 client area; the window cannot be sized, has no
// maximize button, and its caption moves it.
TEST_F(MainFrame, EveryFrameKeepsTheDesignedClientArea) {
    // Every choice of the skin menu, backwards: the designed first skin comes last.
    const auto all = app::TMainForm::SkinChoices();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const app::TMainForm::TSkinChoice& c = *it;
        SCOPED_TRACE(c.Name);
        (form_.get()->*c.Click)(nullptr);
        sk::TskSkinForm* f = form_->skSkinForm1;
        EXPECT_EQ(form_->ClientWidth(), 532);
        EXPECT_EQ(form_->ClientHeight(), 336);
        const rt::TRect client = form_->ClientInWindow();
        if (f->Skinned()) {
            const sk::TskFrameSkin skin = sk::TskFrameSkin::From(*form_->skSkinData1);
            EXPECT_EQ(client.Left, skin.ClientRect.Left);
            EXPECT_EQ(client.Top, skin.ClientRect.Top);
            EXPECT_EQ(form_->Width() - client.Right, skin.PictureWidth - skin.ClientRect.Right);
            EXPECT_EQ(form_->Height() - client.Bottom, skin.PictureHeight - skin.ClientRect.Bottom);
            EXPECT_GE(form_->Width(), skin.PictureWidth) << "no wider than the skin's minimum";
        } else {
            EXPECT_EQ(client, rt::Rect(3, 22, 535, 358));
        }
        testutil::ExpectDesignedLayout(*form_, c.Name);
        EXPECT_FALSE(f->FindObject("maxbutton")->Visible);
        for (const char* id : {"closebutton", "minbutton", "rollupbutton", "sysmenubutton"}) {
            EXPECT_TRUE(f->FindObject(id)->Enabled) << id;
            EXPECT_TRUE(f->FindObject(id)->Visible) << id;
        }
        const rt::TRect caption =
            f->Skinned() ? f->Geometry().CaptionArea : rt::Rect(60, 3, form_->Width() - 80, 22);
        EXPECT_EQ(HitAt(caption.Left + caption.Width() / 2, caption.Top + caption.Height() / 2),
                  rt::HTCAPTION);
        EXPECT_FALSE(rt::IsSizingHitCode(HitAt(0, form_->Height() / 2)))
            << "a single border does not size";
        EXPECT_FALSE(rt::IsSizingHitCode(HitAt(form_->Width() - 1, form_->Height() - 1)));
        EXPECT_EQ(HitAt(client.Left + 100, client.Top + 100), rt::HTCLIENT);
    }
}

TEST_F(MainFrame, CaptionAndButtonsRollUpMoveAndClose) {
    for (auto pick : {&app::TMainForm::mSkinNoSkinClick, &app::TMainForm::mSkinWinxpblueClick}) {
        (form_.get()->*pick)(nullptr);
        Show();
        sk::TskSkinForm* f = form_->skSkinForm1;
        const int height = form_->Height();
        const rt::TRect area = f->Skinned() ? f->Geometry().CaptionArea : rt::Rect(60, 3, 400, 22);
        const rt::TPoint caption = At(area.Left + area.Width() / 2, area.Top + area.Height() / 2);
        ti::MouseMove(caption);
        ti::MouseDoubleClick(caption);
        EXPECT_TRUE(f->RollUpState()) << "no maximize button: the double click rolls up";
        EXPECT_EQ(form_->Height(), f->MinTrackSize().Y);
        EXPECT_EQ(form_->ClientHeight(), 0);
        ti::MouseMove(Centre("rollupbutton"));
        ti::MouseClick(Centre("rollupbutton"));
        EXPECT_EQ(form_->Height(), height) << "back to the exact height";
        EXPECT_EQ(form_->ClientHeight(), 336);

        const rt::TRect before = form_->BoundsRect();
        ti::MouseDrag(caption, {caption.X + 31, caption.Y + 17});
        EXPECT_EQ(form_->BoundsRect(),
                  rt::Bounds(before.Left + 31, before.Top + 17, before.Width(), before.Height()));
        form_->Hide();
    }
    Show();
    ti::MouseMove(Centre("closebutton"));
    ti::MouseClick(Centre("closebutton"));
    EXPECT_FALSE(form_->Visible());
    EXPECT_TRUE(fs::exists(form_->SettingsFile())) << "closing wrote the skin choice";
}

// Counts the skin-change walk's visits.
class CountingControl : public sk::TskSkinCustomControl {
public:
    using sk::TskSkinCustomControl::TskSkinCustomControl;
    void ApplySkin() override {
        ++applied;
        sk::TskSkinCustomControl::ApplySkin();
    }
    int applied = 0;
};

TEST_F(MainFrame, SkinChangeReachesANestedControlOnce) {
    auto* nested = new CountingControl(form_.get());
    nested->SetBounds(2, 2, 20, 20);
    nested->SetParent(form_->skSkinPanel1);
    nested->SetSkinData(form_->skSkinData1);
    nested->applied = 0;
    form_->mSkinWistlerClick(nullptr);
    EXPECT_EQ(nested->applied, 1);
    form_->mSkinNoSkinClick(nullptr);
    EXPECT_EQ(nested->applied, 2);
}

TEST_F(MainFrame, ProgramMessagesShowInTheSkinnedBoxOfTheWindowsSkin) {
    Show();
    for (bool skinned : {true, false}) {
        if (!skinned) form_->mSkinNoSkinClick(nullptr);
        rt::TTimer answer(nullptr);
        answer.SetInterval(10);
        bool seen = false;
        answer.OnTimer = [&](rt::TComponent*) {
            auto* box = dynamic_cast<rt::TForm*>(ti::ActiveWindow());
            if (box == nullptr || box == form_.get()) return;
            answer.SetEnabled(false);
            seen = true;
            auto* skinnedBox = dynamic_cast<sk::TskMessageForm*>(box);
            ASSERT_NE(skinnedBox, nullptr) << "not the plain box";
            EXPECT_EQ(skinnedBox->SkinForm->SkinData(), form_->skSkinData1);
            EXPECT_EQ(skinnedBox->SkinForm->Skinned(), skinned);
            EXPECT_EQ(skinnedBox->Caption(), "Information");
            ASSERT_EQ(skinnedBox->Buttons.size(), 1u);
            EXPECT_EQ(skinnedBox->Buttons[0]->SkinData(), form_->skSkinData1);
            ti::KeyClick(rt::VK_RETURN);
        };
        // The program folder has no init.ini: the homepage link says that no address is
        // configured.
        form_->Visithomepage1->Click();
        EXPECT_TRUE(seen) << skinned;
        EXPECT_TRUE(WaitFor([&] { return form_->Active(); }));
        EXPECT_TRUE(form_->skSkinForm1->FormActive()) << "the frame shows the window active again";
    }
    form_.reset();
    EXPECT_FALSE(rt::Application()->ProgramMessageBox) << "the box goes with the window";
}

// The window driven through its menus as a user drives it: the bar by keys, the skin button's
// popup by mouse and keys while the skin it shows is replaced, the system menu rolling the window
// up; afterwards nothing of a menu is left and the choice is what closing stores.
TEST_F(MainFrame, MenusDriveTheWindow) {
    Show();
    sk::TskSkinForm* f = form_->skSkinForm1;
    sk::TskSkinMenu& engine = *f->SkinMenu();
    auto shown = [&] {
        std::vector<std::string> c;
        if (!engine.MenuVisible()) return c;
        sk::TskSkinPopupView& v = engine.Cascade().Popups(0);
        for (int i = 0; i < v.Count(); ++i) c.push_back(v.Items(i).MenuItem()->Caption);
        return c;
    };
    auto item = [&](int index) {
        const rt::TRect r = engine.Cascade().Popups(0).ItemScreenRect(index);
        return rt::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    };
    auto nothingLeft = [&](const char* how) {
        EXPECT_FALSE(engine.MenuVisible()) << how;
        EXPECT_FALSE(f->MenuOpen()) << how;
        EXPECT_FALSE(f->MainMenuMode()) << how;
        EXPECT_FALSE(f->MenuHookInstalled()) << how;
        EXPECT_FALSE(form_->skSkinMenuSpeedButton1->MenuShown()) << how;
        EXPECT_EQ(rt::GetCapture(), nullptr) << how;
    };
    using V = std::vector<std::string>;

    ti::KeyClick('F', rt::ssAlt);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    EXPECT_EQ(shown(), (V{"Open", "Close", "-", "Exit"}));
    ti::KeyClick(rt::VK_ESCAPE);
    ti::KeyClick(rt::VK_ESCAPE);
    nothingLeft("Esc twice");

    const rt::TPoint button = form_->skSkinMenuSpeedButton1->ClientToScreen({20, 12});
    ti::MouseMove(button);
    ti::MouseClick(button);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    EXPECT_EQ(shown(), (V{"WinAqua", "Winxpblue", "Wistler", "-", "No Skin"}));
    ti::MouseMove(item(4));
    ti::MouseClick(item(4));
    EXPECT_TRUE(form_->skSkinData1->Empty());
    EXPECT_TRUE(form_->mSkinNoSkin->Checked());
    EXPECT_FALSE(f->Skinned());
    nothingLeft("a click on \"No Skin\"");

    ti::MouseMove(button);
    ti::MouseClick(button);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    for (int key : {rt::VK_DOWN, rt::VK_DOWN, rt::VK_RETURN}) ti::KeyClick(key);
    EXPECT_EQ(form_->skSkinData1->SkinName, "Wistler");
    EXPECT_TRUE(form_->mSkinWistler->Checked());
    EXPECT_FALSE(form_->mSkinNoSkin->Checked());
    EXPECT_TRUE(f->Skinned());
    nothingLeft("Enter on \"Wistler\"");

    const rt::TRect area = f->Geometry().CaptionArea;
    const rt::TPoint caption = At(area.Left + area.Width() / 2, area.Top + area.Height() / 2);
    ti::MouseMove(caption);
    ti::MouseClick(caption, rt::TMouseButton::mbRight);
    ASSERT_TRUE(WaitFor([&] { return engine.MenuVisible(); }));
    EXPECT_EQ(shown(), (V{"Mi&nimize", "Ro&llUp", "-", "&Close"}));
    ti::KeyClick('L');
    EXPECT_TRUE(f->RollUpState());
    EXPECT_EQ(form_->ClientHeight(), 0);
    nothingLeft("\"Ro&llUp\"");

    ti::KeyClick(rt::VK_F4, rt::ssAlt);
    EXPECT_FALSE(form_->Visible());
    EXPECT_EQ(rt::TIniFile(form_->SettingsFile()).ReadInteger("Options", "Skin", -1), 3);
}

}  // namespace
