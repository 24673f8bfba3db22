// The main window's buttons by keyboard alone: Tab walks the row of buttons in reading order,
// passing over the ones that are hidden or disabled, and Space or Enter press the focused one.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/MainFrm.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/testing/TestInput.h"

namespace fs = std::filesystem;

namespace {

class MainWindowFocus : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-focus");
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg",
                      tmp_->path() / "noframe.jpg");
        rt::Application()->MessageBoxHandler = [](const std::string&, const std::string&, int) {
            return int(rt::mrOk);
        };
        form_ = std::make_unique<app::TMainForm>(nullptr, tmp_->path().string() + "/");
        form_->Show();
        rt::testing::ProcessEvents();
    }
    void TearDown() override {
        form_.reset();
        rt::Application()->MessageBoxHandler = nullptr;
        tmp_.reset();
    }

    std::string FocusName() const {
        rt::TWinControl* c = form_->ActiveControl();
        return c != nullptr ? c->Name() : "-";
    }
    // Presses Tab (Shift+Tab with back) count times, naming the focused control after each.
    std::vector<std::string> Walk(int count, bool back = false) {
        std::vector<std::string> seen;
        for (int i = 0; i < count; ++i) {
            rt::testing::KeyClick(rt::VK_TAB, back ? rt::TShiftState(rt::ssShift) : 0u);
            seen.push_back(FocusName());
        }
        return seen;
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    std::unique_ptr<app::TMainForm> form_;
};

TEST_F(MainWindowFocus, TabWalksTheButtonsSkippingHiddenAndDisabledOnes) {
    using Names = std::vector<std::string>;
    ASSERT_FALSE(form_->skSkinSpeedButton4->Enabled()) << "Cut waits for a marked stretch";
    ASSERT_EQ(FocusName(), "-") << "the window starts with the focus on none of its controls";
    EXPECT_EQ(Walk(6),
              (Names{"skSkinSpeedButton1", "skSkinSpeedButton2", "skSkinSpeedButton3",
                     "skSkinMenuSpeedButton1", "skSkinSpeedButton5", "skSkinSpeedButton1"}))
        << "left to right, the disabled Cut passed over, wrapping at the end";

    form_->skSkinSpeedButton4->SetEnabled(true);
    form_->skSkinSpeedButton2->Hide();
    EXPECT_EQ(Walk(3),
              (Names{"skSkinSpeedButton3", "skSkinSpeedButton4", "skSkinMenuSpeedButton1"}));
    EXPECT_EQ(Walk(4, true), (Names{"skSkinSpeedButton4", "skSkinSpeedButton3",
                                    "skSkinSpeedButton1", "skSkinSpeedButton5"}))
        << "Shift+Tab goes back, past the hidden button, and wraps at the start";

    // A focused button that is disabled (Cut while its cut runs) or hidden hands the focus to
    // the window: its keys keep working and Tab starts again at the first button.
    for (const bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "hidden" : "disabled");
        form_->skSkinSpeedButton5->Show();
        form_->skSkinSpeedButton5->SetEnabled(true);
        form_->skSkinSpeedButton5->SetFocus();
        ASSERT_EQ(FocusName(), "skSkinSpeedButton5");
        if (hide)
            form_->skSkinSpeedButton5->Hide();
        else
            form_->skSkinSpeedButton5->SetEnabled(false);
        EXPECT_EQ(rt::testing::FocusControl(), form_.get());
        form_->TrackBar1->SetPosition(5);
        rt::testing::KeyClick(rt::VK_RIGHT);
        EXPECT_EQ(form_->TrackBar1->Position(), 6) << "the window's keys still arrive";
        EXPECT_EQ(Walk(1), (Names{"skSkinSpeedButton1"}));
    }
}

TEST_F(MainWindowFocus, SpaceAndEnterPressTheFocusedButton) {
    int clears = 0;
    form_->skSkinSpeedButton3->OnClick = [&](rt::TComponent*) { ++clears; };
    form_->skSkinSpeedButton3->SetFocus();
    ASSERT_EQ(FocusName(), "skSkinSpeedButton3");
    rt::testing::KeyClick(rt::VK_SPACE);
    rt::testing::KeyClick(rt::VK_RETURN);
    EXPECT_EQ(clears, 2);

    // The window's own keys still work with a button focused.
    form_->TrackBar1->SetPosition(5);
    rt::testing::KeyClick(rt::VK_RIGHT);
    EXPECT_EQ(form_->TrackBar1->Position(), 6);
    EXPECT_EQ(FocusName(), "skSkinSpeedButton3");

    form_->skSkinMenuSpeedButton1->SetFocus();
    rt::testing::KeyClick(rt::VK_SPACE);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return form_->skSkinMenuSpeedButton1->MenuShown(); }))
        << "Space drops the skin menu down";
    rt::testing::KeyClick(rt::VK_ESCAPE);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return !form_->skSkinMenuSpeedButton1->MenuShown(); }))
        << "Esc closes it again";
}

}  // namespace
