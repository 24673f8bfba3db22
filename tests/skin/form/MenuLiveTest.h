#pragma once
// A real form with the menu glue of a skinned form, a skinned main menu bar and a menu button,
// driven by input through the window system's event path.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/form/MenuTestSkin.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"

namespace menulive {

namespace ti = rt::testing;

// Runs events until cond holds or two seconds pass.
using ti::WaitFor;

// A form taken over by a skinned form component, which runs the menu glue in the form's window
// procedure and takes its short-cuts; the keys that reach the form are recorded.
class MenuForm : public rt::TForm {
public:
    MenuForm() : rt::TForm(nullptr) {
        SkinForm = new sk::TskSkinForm(this);
        OnKeyDown = [this](rt::TComponent*, int& key, rt::TShiftState) { keys.push_back(key); };
    }
    sk::TskSkinForm* SkinForm;
    std::vector<int> keys;
};

// The form with "&File" (Open, Close, -, Exit) and "&Help" (About) on a bar, and a "Skin" menu
// button dropping down "WinAqua", "Winxpblue", "-", "No Skin".
class LiveMenus : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<MenuForm>();
        form_->SetBounds(120, 120, 420, 300);
        mainMenu_ = new sk::TskSkinMainMenu(form_.get());
        File = Add(mainMenu_->Items(), "&File");
        Open = Add(File, "Open");
        Add(File, "Close");
        Add(File, "-");
        Add(File, "Exit");
        Help = Add(mainMenu_->Items(), "&Help");
        Add(Help, "About...");
        bar_ = new sk::TskSkinMainMenuBar(form_.get());
        bar_->SetParent(form_.get());
        bar_->SetMainMenu(mainMenu_);
        bar_->SetSkinForm(form_->SkinForm);
        form_->SkinForm->SetMainMenuBar(bar_);
        skinMenu_ = new sk::TskSkinPopupMenu(form_.get());
        skinMenu_->SetSkinForm(form_->SkinForm);
        for (const char* c : {"WinAqua", "Winxpblue", "-", "No Skin"}) {
            rt::TMenuItem* item = Add(skinMenu_->Items(), c);
            item->RadioItem = true;
        }
        button_ = new sk::TskSkinMenuSpeedButton(form_.get());
        button_->SetCaption("Skin");
        button_->SetBounds(300, 200, 60, 25);
        button_->SetParent(form_.get());
        button_->SetSkinPopupMenu(skinMenu_);
        form_->Show();
        ASSERT_TRUE(WaitFor([&] { return form_->Active(); }));
    }
    void TearDown() override {
        form_.reset();
        EXPECT_EQ(rt::GetCapture(), nullptr);
    }

    rt::TMenuItem* Add(rt::TMenuItem* parent, const std::string& caption) {
        auto* item = new rt::TMenuItem(form_.get());
        item->Caption = caption;
        item->OnClick = [this, caption](rt::TComponent*) { clicks.push_back(caption); };
        parent->Add(item);
        return item;
    }
    sk::TskSkinMenu& Engine() { return *form_->SkinForm->SkinMenu(); }
    // The captions of popup level's items.
    std::vector<std::string> Shown(int level = 0) {
        std::vector<std::string> c;
        if (level >= Engine().PopupCount()) return c;
        sk::TskSkinPopupView& v = Engine().Cascade().Popups(level);
        for (int i = 0; i < v.Count(); ++i) c.push_back(v.Items(i).MenuItem()->Caption);
        return c;
    }
    rt::TPoint BarItemCenter(int index) {
        const rt::TRect r = bar_->Items().at(std::size_t(index))->ObjectRect;
        return bar_->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    rt::TPoint ButtonCenter() { return button_->ClientToScreen({30, 12}); }
    // The centre of item `index` of popup `level` on the screen.
    rt::TPoint PopupItemCenter(int level, int index) {
        const rt::TRect r = Engine().Cascade().Popups(level).ItemScreenRect(index);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Nothing of a menu is left: no popup, no hook, no capture, and keys reach the form.
    void ExpectNothingLeft(const std::string& how, bool keys = true) {
        EXPECT_FALSE(Engine().MenuVisible()) << how;
        EXPECT_FALSE(form_->SkinForm->MenuHookInstalled()) << how;
        EXPECT_FALSE(form_->SkinForm->MenuOpen()) << how;
        EXPECT_FALSE(form_->SkinForm->MainMenuMode()) << how;
        EXPECT_EQ(rt::GetCapture(), nullptr) << how;
        for (int i = 0; i < 3; ++i) {
            if (sk::TskSkinPopupWindow* w = Engine().PopupWindow(i)) {
                EXPECT_FALSE(w->Visible());
            }
        }
        if (!keys) return;
        form_->keys.clear();
        ti::KeyClick('Q');
        EXPECT_EQ(form_->keys, std::vector<int>{'Q'}) << how << ": input after the menu";
    }

    std::unique_ptr<MenuForm> form_;
    sk::TskSkinMainMenu* mainMenu_ = nullptr;
    sk::TskSkinMainMenuBar* bar_ = nullptr;
    sk::TskSkinPopupMenu* skinMenu_ = nullptr;
    sk::TskSkinMenuSpeedButton* button_ = nullptr;
    rt::TMenuItem* File = nullptr;
    rt::TMenuItem* Open = nullptr;
    rt::TMenuItem* Help = nullptr;
    std::vector<std::string> clicks;
};

}  // namespace menulive
