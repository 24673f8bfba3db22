// The open dialog driven end to end through the X server (XTEST through xdotool), as a user
// drives it: a typed name and Enter, a double click on a row, and a folder chosen in the tree.
// Runs only under an X server with xdotool (the Xvfb entry of this folder's tests).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinEdit.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/dialogs/skFileCtrls.h"
#include "skin/dialogs/skFileDialog.h"

namespace {

namespace fs = std::filesystem;
namespace ti = rt::testing;
using sk::TskOpenDlgForm;
using sk::TskSkinOpenDialog;

class RealXFileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        if (ti::PlatformName() != "xcb" || std::system("command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "needs an X server and xdotool";
        tmp_ = std::make_unique<testutil::TempDir>("framora-xdlg");
        dir_ = tmp_->path().string();
        fs::create_directory(tmp_->path() / "sub");
        for (const char* f : {"clip.avi", "other.mpg", "sub/deep.avi"})
            std::ofstream(tmp_->path() / f) << "x";
        dialog_.InitialDir = dir_;
        dialog_.Filter = "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg";
    }
    void TearDown() override { TskSkinOpenDialog::OnShownForTesting = nullptr; }

    static void Xdo(const std::string& args) {
        ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args;
    }
    static std::string Pt(rt::TPoint p) { return std::to_string(p.X) + " " + std::to_string(p.Y); }
    static rt::TPoint Centre(const rt::TControl& c, const rt::TRect& r) {
        return c.ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }

    // Runs the dialog; `act` gets it once it is the active window with the name field focused,
    // and the dialog must then close by the user's input alone.
    bool Run(const std::function<void(TskOpenDlgForm&)>& act) {
        bool acted = false;
        TskSkinOpenDialog::OnShownForTesting = [&](TskOpenDlgForm& d) {
            acted = true;
            if (!ti::WaitFor([&] { return d.Active() && d.FileNameEdit->Focused(); }, 5000)) {
                ADD_FAILURE() << "the dialog never became active";
                d.ModalResult = rt::mrCancel;
                return;
            }
            act(d);
            if (!ti::WaitFor([&] { return d.ModalResult != rt::mrNone; }, 5000)) {
                ADD_FAILURE() << "the dialog stayed open";
                d.ModalResult = rt::mrCancel;
            }
        };
        const bool chosen = dialog_.RunDialog();
        EXPECT_TRUE(acted);
        return chosen;
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    std::string dir_;
    TskSkinOpenDialog dialog_{nullptr};
};

TEST_F(RealXFileDialog, OpensByTypingByDoubleClickAndThroughTheTree) {
    // A typed name and Enter.
    EXPECT_TRUE(Run([&](TskOpenDlgForm&) {
        Xdo("type --delay 20 clip.avi");
        Xdo("key Return");
    }));
    EXPECT_EQ(dialog_.FileName, dir_ + "/clip.avi");

    // A double click on a row.
    EXPECT_TRUE(Run([&](TskOpenDlgForm& d) {
        const int row = d.FileList->FindRow("other.mpg");
        ASSERT_GE(row, 0);
        const rt::TPoint p = Centre(*d.FileList, d.FileList->ItemRect(row));
        Xdo("mousemove " + Pt(p) + " click --repeat 2 --delay 80 1");
    }));
    EXPECT_EQ(dialog_.FileName, dir_ + "/other.mpg");

    // The folder from the tree, then the file from the list.
    EXPECT_TRUE(Run([&](TskOpenDlgForm& d) {
        rt::TTreeNode* node = d.DirTree->Selected();
        ASSERT_NE(node, nullptr);
        ASSERT_EQ(d.DirTree->SelectedPath(), dir_);
        // The node's text may run past the tree's right edge: click near its start.
        const rt::TRect r = node->DisplayRect(true);
        const int x = std::min(r.Left + 8, d.DirTree->Width() - 4);
        Xdo("mousemove " + Pt(d.DirTree->ClientToScreen({x, (r.Top + r.Bottom) / 2})) + " click 1");
        ASSERT_TRUE(ti::WaitFor([&] { return d.ActiveControl() == d.DirTree; }))
            << (d.ActiveControl() != nullptr ? d.ActiveControl()->Name() : "none");
        Xdo("key Right");
        ASSERT_TRUE(ti::WaitFor([&] { return node->Expanded(); }));
        Xdo("key Down");
        ASSERT_TRUE(ti::WaitFor([&] { return d.Directory() == dir_ + "/sub"; }));
        EXPECT_EQ(d.FolderPanel->Caption(), "sub");
        const int row = d.FileList->FindRow("deep.avi");
        ASSERT_GE(row, 0);
        const rt::TPoint p = Centre(*d.FileList, d.FileList->ItemRect(row));
        Xdo("mousemove " + Pt(p) + " click --repeat 2 --delay 80 1");
    }));
    EXPECT_EQ(dialog_.FileName, dir_ + "/sub/deep.avi");
}

}  // namespace
