#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/SysUtils.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinEdit.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/controls/skSkinSplitter.h"
#include "skin/dialogs/skFileCtrls.h"
#include "skin/dialogs/skFileDialog.h"

namespace {

namespace fs = std::filesystem;
namespace ti = rt::testing;
using sk::TNameStep;
using sk::TskOpenDlgForm;
using sk::TskSkinOpenDialog;

void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

// A folder with two clips, a text file and a sub-folder holding one more clip; the messages
// the application would show are recorded and answered from a script.
class FileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-dlg");
        dir_ = tmp_->path().string();
        fs::create_directory(tmp_->path() / "sub");
        for (const char* f : {"clip.avi", "other.mpg", "notes.txt", "sub/deep.avi"})
            Touch(tmp_->path() / f);
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int flags) {
            messages_.push_back(text);
            flags_.push_back(flags);
            return answer_;
        };
    }
    void TearDown() override {
        rt::Application()->MessageBoxHandler = nullptr;
        TskSkinOpenDialog::OnShownForTesting = nullptr;
        tmp_.reset();
    }
    std::string At(const std::string& name) const { return dir_ + "/" + name; }
    std::vector<std::string> Rows(const sk::TskSkinFileListView& list) const {
        std::vector<std::string> rows;
        for (int i = 0; i < list.RowCount(); ++i) rows.push_back(list.RowName(i));
        return rows;
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    std::string dir_;
    std::vector<std::string> messages_;
    std::vector<int> flags_;
    int answer_ = rt::mrOk;
};

TEST_F(FileDialog, TypedNamesBecomeAStep) {
    const std::string home = At("sub");
    struct Case {
        const char* typed;
        bool save, enter;
        TNameStep step;
        std::string path;
    };
    const Case cases[] = {
        {"", false, true, TNameStep::None, ""},
        {"clip.avi", false, false, TNameStep::Accept, At("clip.avi")},
        {"CLIP.avi", false, true, TNameStep::Refuse, At("CLIP.avi")},
        {"new.avi", false, true, TNameStep::Refuse, At("new.avi")},
        {"new.avi", true, true, TNameStep::Accept, At("new.avi")},
        {"clip.avi", true, false, TNameStep::Accept, At("clip.avi")},
        {"*.avi", false, true, TNameStep::Mask, "*.avi"},
        {"*.avi", true, true, TNameStep::Mask, "*.avi"},
        {"*.avi", true, false, TNameStep::None, ""},
        {"*.avi", false, false, TNameStep::Refuse, ""},
        {"sub", false, false, TNameStep::EnterFolder, At("sub")},
        {"sub/", true, true, TNameStep::EnterFolder, At("sub")},
        {"gone/", true, false, TNameStep::None, ""},
        {"sub/../clip.avi", false, true, TNameStep::Accept, At("clip.avi")},
        // A name beginning with "/" or "~/" is a whole path, not a name in the list's folder.
        {"/", false, true, TNameStep::EnterFolder, "/"},
        {"~", false, true, TNameStep::EnterFolder, home},
        {"~/deep.avi", false, true, TNameStep::Accept, At("sub/deep.avi")},
        {"~/new.avi", true, false, TNameStep::Accept, At("sub/new.avi")},
    };
    for (const Case& c : cases) {
        const sk::TNameDecision d = sk::DecideTypedName(dir_, c.typed, c.save, c.enter, home);
        EXPECT_EQ(int(d.Step), int(c.step)) << c.typed << (c.save ? " save" : " open");
        EXPECT_EQ(d.Path, c.path) << c.typed << (c.save ? " save" : " open");
    }
    // An absolute name in another folder.
    const sk::TNameDecision abs = sk::DecideTypedName("/", At("sub/deep.avi"), false, false, home);
    EXPECT_EQ(int(abs.Step), int(TNameStep::Accept));
    EXPECT_EQ(abs.Path, At("sub/deep.avi"));
}

TEST_F(FileDialog, SaveAsksBeforeReplacingAndNeverTakesTheSource) {
    sk::TskSkinSaveDialog save(nullptr);
    // The cut's rule: a name without ".avi" gets it.
    save.TargetFor = [](const std::string& n) {
        return rt::ExtractFileExt(n) == ".avi" ? n : n + ".avi";
    };
    fs::create_symlink(At("clip.avi"), At("link.avi"));
    struct Case {
        const char* name;
        std::string protectedFile;
        int answer;
        bool accepted;
        const char* message;  // "" for none
    };
    const Case cases[] = {
        {"new.avi", "", rt::mrYes, true, ""},
        {"clip.avi", "", rt::mrNo, false, "clip.avi already exists. Replace it?"},
        {"clip.avi", "", rt::mrYes, true, "clip.avi already exists. Replace it?"},
        // The question names the file the cut would write.
        {"clip", "", rt::mrNo, false, "clip.avi already exists. Replace it?"},
        {"clip.avi", At("clip.avi"), rt::mrYes, false, "is the file being cut"},
        {"link.avi", At("clip.avi"), rt::mrYes, false, "is the file being cut"},
        {"clip", At("clip.avi"), rt::mrYes, false, "is the file being cut"},
        {"sub.avi", "", rt::mrYes, true, ""},
        {"gone/new.avi", "", rt::mrYes, false, "does not exist"},
    };
    for (const Case& c : cases) {
        messages_.clear();
        flags_.clear();
        save.ProtectedFile = c.protectedFile;
        answer_ = c.answer;
        EXPECT_EQ(save.CanAccept(At(c.name)), c.accepted) << c.name;
        if (*c.message == '\0') {
            EXPECT_TRUE(messages_.empty()) << c.name << ": " << messages_.front();
            continue;
        }
        ASSERT_EQ(messages_.size(), 1u) << c.name;
        EXPECT_NE(messages_[0].find(c.message), std::string::npos) << messages_[0];
        if (std::string(c.message).find("Replace") != std::string::npos) {
            EXPECT_EQ(flags_[0] & 0xF, rt::MB_YESNO) << c.name;
            EXPECT_NE(flags_[0] & rt::MB_DEFBUTTON2, 0) << "No is the default: " << c.name;
        }
    }
    // Open mode takes any existing name without a question.
    TskSkinOpenDialog open(nullptr);
    open.ProtectedFile = At("clip.avi");
    messages_.clear();
    EXPECT_TRUE(open.CanAccept(At("clip.avi")));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(FileDialog, ButtonEnterAndRowsTakeANameByTheirRules) {
    sk::TskSkinSaveDialog save(nullptr);
    save.Filter = "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg";
    save.FileName = At("clip.avi");
    std::unique_ptr<TskOpenDlgForm> form = save.CreateForm();
    form->OnCanAccept = [&](const std::string& n) { return save.CanAccept(n); };
    EXPECT_EQ(form->Directory(), dir_);
    EXPECT_EQ(form->FileNameEdit->Text(), "clip.avi");
    EXPECT_EQ(Rows(*form->FileList), (std::vector<std::string>{"sub", "clip.avi", "other.mpg"}));

    // Save mode, an existing name: "No" keeps the dialog open, "Yes" takes the name.
    answer_ = rt::mrNo;
    form->OpenButtonClick();
    EXPECT_EQ(form->ModalResult, rt::mrNone);
    ASSERT_EQ(messages_.size(), 1u);
    answer_ = rt::mrYes;
    form->OpenButtonClick();
    EXPECT_EQ(form->ModalResult, rt::mrOk);
    EXPECT_EQ(form->FileName, At("clip.avi"));

    // "*.avi" and Enter narrows the list; the button never takes a name with "*".
    form->ModalResult = rt::mrNone;
    form->FileNameEdit->SetText("*.avi");
    form->OpenButtonClick();
    EXPECT_EQ(form->ModalResult, rt::mrNone);
    EXPECT_EQ(Rows(*form->FileList).size(), 3u);
    form->NameFieldEnter();
    EXPECT_EQ(form->FileList->Mask(), "*.avi") << form->FileNameEdit->Text();
    EXPECT_EQ(Rows(*form->FileList), (std::vector<std::string>{"sub", "clip.avi"}));

    // A whole path to a folder enters it; a file row becoming current fills the name field.
    form->FileNameEdit->SetText(At("sub"));
    form->OpenButtonClick();
    EXPECT_EQ(form->Directory(), At("sub"));
    EXPECT_EQ(form->FileNameEdit->Text(), "");
    form->FileList->SetCurrentRow(form->FileList->FindRow("deep.avi"));
    EXPECT_EQ(form->FileNameEdit->Text(), "deep.avi");
    EXPECT_EQ(form->FolderPanel->Caption(), "sub") << "the panel's caption follows the tree";
    EXPECT_EQ(form->DirTree->SelectedPath(), At("sub"));

    // Open mode: a missing name keeps the dialog open without a word.
    TskSkinOpenDialog open(nullptr);
    open.FileName = At("missing.avi");
    std::unique_ptr<TskOpenDlgForm> o = open.CreateForm();
    messages_.clear();
    o->OpenButtonClick();
    o->NameFieldEnter();
    EXPECT_EQ(o->ModalResult, rt::mrNone);
    EXPECT_TRUE(messages_.empty());
    // A double click (or Enter) on a file row takes it.
    o->FileList->SetCurrentRow(o->FileList->FindRow("other.mpg"));
    o->ListRowActivate();
    EXPECT_EQ(o->ModalResult, rt::mrOk);
    EXPECT_EQ(o->FileName, At("other.mpg"));
}

TEST_F(FileDialog, TreeListAndDriveListFollowOneAnother) {
    TskSkinOpenDialog open(nullptr);
    open.InitialDir = dir_;
    std::unique_ptr<TskOpenDlgForm> form = open.CreateForm();
    const std::vector<rt::TVolume> volumes = form->DriveBox->Volumes();
    const int volume = rt::VolumeOf(volumes, dir_);
    ASSERT_GE(volume, 0);
    EXPECT_EQ(form->DirTree->SelectedPath(), dir_);
    EXPECT_EQ(form->DriveBox->Drive(), volumes[std::size_t(volume)].Path);

    // The tree moves the list.
    ASSERT_TRUE(form->DirTree->SelectPath(At("sub")));
    EXPECT_EQ(form->Directory(), At("sub"));
    // A folder row in open mode empties the name field.
    form->FileNameEdit->SetText("typed");
    form->SetDirectory(dir_);
    EXPECT_EQ(form->DirTree->SelectedPath(), dir_) << "the list moves the tree";
    form->FileList->SetCurrentRow(form->FileList->FindRow("sub"));
    EXPECT_EQ(form->FileNameEdit->Text(), "");

    // Up goes to the parent; Backspace in the name field stays the field's own.
    form->SetDirectory(At("sub"));
    form->FileNameEdit->SetFocus();
    ti::WaitFor([&] { return form->ActiveControl() == form->FileNameEdit; }, 500);
    if (form->ActiveControl() == form->FileNameEdit) {
        EXPECT_FALSE(form->FormKey(rt::VK_BACK, 0));
        EXPECT_EQ(form->Directory(), At("sub"));
    }
    EXPECT_TRUE(form->FormKey(rt::VK_UP, rt::ssCtrl));
    EXPECT_EQ(form->Directory(), dir_);
    EXPECT_EQ(form->DirTree->SelectedPath(), dir_);

    // The drive list moves the tree and the list to the volume's root.
    const std::string root = volumes[0].Path;
    form->DriveBox->SetItemIndex(0);
    if (form->DriveBox->OnChange) form->DriveBox->OnChange(form->DriveBox);
    EXPECT_EQ(form->Directory(), root);
    EXPECT_EQ(form->DirTree->SelectedPath(), root);
}

TEST_F(FileDialog, ToolBarKeepsTheDriveListBetweenItsDividers) {
    TskSkinOpenDialog open(nullptr);
    open.InitialDir = dir_;
    std::unique_ptr<TskOpenDlgForm> form = open.CreateForm();
    for (int width : {500, 760}) {
        form->SetClientSize(width, 300);
        EXPECT_EQ(form->ToolPanel->Height(), 25);
        EXPECT_EQ(form->BottomPanel->Height(), 80);
        const int left = form->LeftDivider->Left() + form->LeftDivider->Width();
        EXPECT_EQ(form->DriveBox->Left(), left) << width;
        EXPECT_EQ(form->DriveBox->Left() + form->DriveBox->Width(), form->RightDivider->Left())
            << width;
        EXPECT_EQ(form->ReportStyleButton->Left() + form->ReportStyleButton->Width(),
                  form->ToolPanel->Width())
            << "the view buttons end at the right edge";
    }
}

// Runs the dialog's modal loop and acts in it once it shows.
bool RunWith(TskSkinOpenDialog& dialog, const std::function<void(TskOpenDlgForm&)>& act) {
    bool acted = false;
    TskSkinOpenDialog::OnShownForTesting = [&](TskOpenDlgForm& form) {
        acted = true;
        act(form);
    };
    const bool chosen = dialog.RunDialog();
    TskSkinOpenDialog::OnShownForTesting = nullptr;
    EXPECT_TRUE(acted);
    return chosen;
}

TEST_F(FileDialog, SecondRunKeepsFolderNameViewAndSize) {
    TskSkinOpenDialog open(nullptr);
    open.Filter = "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg";
    open.InitialDir = dir_;
    EXPECT_TRUE(RunWith(open, [&](TskOpenDlgForm& f) {
        EXPECT_EQ(f.ClientWidth(), 500);
        EXPECT_EQ(f.ClientHeight(), 300);
        f.SetViewStyle(rt::TViewStyle::vsReport);
        f.FolderPanel->SetWidth(150);
        f.SetClientSize(640, 420);
        f.FileNameEdit->SetText("clip.avi");
        f.OpenButtonClick();
    }));
    EXPECT_EQ(open.FileName, At("clip.avi"));
    EXPECT_EQ(rt::GetCurrentDir(), dir_) << "the chosen folder is the current one";

    EXPECT_FALSE(RunWith(open, [&](TskOpenDlgForm& f) {
        EXPECT_EQ(f.Directory(), dir_);
        EXPECT_EQ(f.FileNameEdit->Text(), "clip.avi");
        EXPECT_EQ(f.ViewStyle(), rt::TViewStyle::vsReport);
        EXPECT_TRUE(f.ReportStyleButton->Down());
        EXPECT_FALSE(f.ListStyleButton->Down());
        EXPECT_EQ(f.FolderPanel->Width(), 150);
        EXPECT_EQ(f.ClientWidth(), 640);
        EXPECT_EQ(f.ClientHeight(), 420);
        EXPECT_TRUE(f.FormKey(rt::VK_ESCAPE, 0));
    }));
    EXPECT_EQ(open.FileName, At("clip.avi")) << "a cancelled run keeps the name";
}

}  // namespace
