#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Messages.h"
#include "runtime/ShellFiles.h"
#include "runtime/testing/TestInput.h"
#include "skin/dialogs/skFileCtrls.h"

namespace {

namespace fs = std::filesystem;
using Kind = sk::TskSkinFileListView::TRowKind;

void Touch(const fs::path& p, std::size_t bytes, long long mtime) {
    std::ofstream(p) << std::string(bytes, 'x');
    fs::last_write_time(p, fs::file_time_type::clock::now() + std::chrono::seconds(mtime));
}

// A made-up machine: "/" and a volume that is the test's temporary folder, with folders and
// files of known names, sizes and times.
class FileControls : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = dir_.path().string();
        fs::create_directories(dir_ / "videos" / "Holiday" / "Day1");
        fs::create_directories(dir_ / "videos" / "holiday" / "day1");
        fs::create_directory(dir_ / "videos" / "archive");
        // Names, sizes and ages picked so that each column sorts them differently.
        Touch(dir_ / "videos" / "b.avi", 300, -100);
        Touch(dir_ / "videos" / "A.mpg", 100, -300);
        Touch(dir_ / "videos" / "c.mpeg", 200, -200);
        Touch(dir_ / "videos" / "d.AVI", 50, -50);
        Touch(dir_ / "videos" / "notes.txt", 10, -10);
        volumes_ = {{"File System", "/", "", "ext4", rt::dtFixed, 0, 0},
                    {"Test", root_, "", "tmpfs", rt::dtRamDisk, 1000, 500}};
        rt::VolumesProvider = [this] { return volumes_; };
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int) {
            messages_.push_back(text);
            return 1;
        };
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(0, 0, 600, 400);
    }
    void TearDown() override {
        form_.reset();
        rt::VolumesProvider = nullptr;
        rt::Application()->MessageBoxHandler = nullptr;
    }

    sk::TskSkinFileListView* NewList() {
        auto* list = new sk::TskSkinFileListView(form_.get());
        list->SetParent(form_.get());
        list->SetBounds(0, 0, 500, 300);
        return list;
    }

    static std::vector<std::string> Names(const sk::TskSkinFileListView& list) {
        std::vector<std::string> names;
        for (int i = 0; i < list.RowCount(); ++i) names.push_back(list.RowName(i));
        return names;
    }

    testutil::TempDir dir_;
    std::string root_;
    std::vector<rt::TVolume> volumes_;
    std::vector<std::string> messages_;
    std::unique_ptr<rt::TForm> form_;
};

TEST_F(FileControls, MainWindowFilterGivesThreeTypesAndVideosAfterFolders) {
    auto* filter = new sk::TskSkinFilterComboBox(form_.get());
    filter->SetFilter(
        "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg|AVI files (*.avi)|*.avi|MPEG files "
        "(*.mpg,*.mpeg)|*.mpg;*.mpeg");
    ASSERT_EQ(filter->ItemCount(), 3);
    EXPECT_EQ(filter->Item(1), "AVI files (*.avi)");
    EXPECT_EQ(filter->ItemIndex(), 0);

    auto* list = NewList();
    list->SetMask(filter->Mask());
    ASSERT_TRUE(list->SetDirectory(root_ + "/videos"));
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"archive", "Holiday", "holiday", "A.mpg",
                                                      "b.avi", "c.mpeg"}))
        << "folders first, exact-case masks leave d.AVI and notes.txt out";
    EXPECT_EQ(list->RowKind(0), Kind::Folder);
    EXPECT_EQ(list->RowKind(3), Kind::File);
    EXPECT_EQ(list->RowPath(4), root_ + "/videos/b.avi");
    const rt::TListItem* b = list->Items().Item(4);
    ASSERT_EQ(b->SubItems().size(), 6u);
    EXPECT_EQ(b->SubItems()[0], "300");
    EXPECT_EQ(b->SubItems()[5], "file");
    EXPECT_EQ(list->Items().Item(0)->SubItems()[0], " ");
    EXPECT_EQ(list->Items().Item(0)->SubItems()[5], "dir");

    // "*.avi" narrows the list; the mask of the second entry does the same.
    list->SetMask("*.avi");
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"archive", "Holiday", "holiday", "b.avi"}));
    filter->SetItemIndex(2);
    list->SetMask(filter->Mask());
    EXPECT_EQ(Names(*list),
              (std::vector<std::string>{"archive", "Holiday", "holiday", "A.mpg", "c.mpeg"}));
}

TEST_F(FileControls, FilterWithoutSelectionOrEntries) {
    auto* filter = new sk::TskSkinFilterComboBox(form_.get());
    filter->SetFilter("Videos|*.avi|Everything|*");
    filter->SetItemIndex(-1);
    EXPECT_EQ(filter->Mask(), "*") << "none chosen: the last entry";
    EXPECT_EQ(filter->ItemIndex(), 1);
    filter->SetFilter("");
    EXPECT_EQ(filter->ItemCount(), 0);
    EXPECT_EQ(filter->Mask(), "*.*");
    filter->SetFilter("Odd entry without mask");
    EXPECT_EQ(filter->Mask(), "*.*");
}

TEST_F(FileControls, SortingByEachColumnBothWaysKeepsFoldersFirst) {
    auto* list = NewList();
    list->SetMask("*.avi;*.mpg;*.mpeg");
    ASSERT_TRUE(list->SetDirectory(root_ + "/videos"));
    EXPECT_EQ(list->SortColumn(), sk::TskSkinFileListView::scName);
    EXPECT_FALSE(list->Descending());
    struct Step {
        int column;
        bool descending;
        std::vector<std::string> files;
    };
    // Another column starts descending; the same column again flips.
    const std::vector<Step> steps = {
        {sk::TskSkinFileListView::scName, true, {"c.mpeg", "b.avi", "A.mpg"}},
        {sk::TskSkinFileListView::scSize, true, {"b.avi", "c.mpeg", "A.mpg"}},
        {sk::TskSkinFileListView::scSize, false, {"A.mpg", "c.mpeg", "b.avi"}},
        {sk::TskSkinFileListView::scModified, true, {"b.avi", "c.mpeg", "A.mpg"}},
        {sk::TskSkinFileListView::scModified, false, {"A.mpg", "c.mpeg", "b.avi"}},
        {sk::TskSkinFileListView::scName, true, {"c.mpeg", "b.avi", "A.mpg"}},
        {sk::TskSkinFileListView::scName, false, {"A.mpg", "b.avi", "c.mpeg"}},
    };
    for (const Step& s : steps) {
        list->ClickColumn(s.column);
        EXPECT_EQ(list->Descending(), s.descending) << s.column;
        const std::vector<std::string> names = Names(*list);
        ASSERT_EQ(names.size(), 6u);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(list->RowKind(i), Kind::Folder) << s.column;
        EXPECT_EQ(std::vector<std::string>(names.begin() + 3, names.end()), s.files)
            << "column " << s.column << (s.descending ? " descending" : " ascending");
    }
}

TEST_F(FileControls, UpFromAFolderAndFromAVolumeRoot) {
    auto* list = NewList();
    int changes = 0;
    list->OnDirectoryChange = [&](rt::TComponent*) { ++changes; };
    ASSERT_TRUE(list->SetDirectory(root_ + "/videos/Holiday"));
    ASSERT_TRUE(list->Up());
    EXPECT_EQ(list->Directory(), root_ + "/videos");
    ASSERT_GE(list->CurrentRow(), 0);
    EXPECT_EQ(list->RowName(list->CurrentRow()), "Holiday") << "the folder left stays current";
    ASSERT_TRUE(list->Up());
    EXPECT_EQ(list->Directory(), root_);
    ASSERT_TRUE(list->Up()) << "the volume's root goes to the volumes";
    EXPECT_TRUE(list->ShowsDrives());
    ASSERT_EQ(list->RowCount(), 2);
    EXPECT_EQ(list->RowKind(1), Kind::Drive);
    EXPECT_EQ(list->RowName(1), "Test");
    EXPECT_EQ(list->RowPath(1), root_);
    EXPECT_EQ(list->Items().Item(1)->SubItems(),
              (std::vector<std::string>{"RAM", "1,000", "500", "", root_, "drv"}));
    EXPECT_FALSE(list->Up()) << "nothing above the volumes";
    EXPECT_EQ(changes, 4);
}

TEST_F(FileControls, KeysGoUpAndListOrBuildAgain) {
    auto* list = NewList();
    auto* tree = new sk::TskSkinDirTreeView(form_.get());
    tree->SetParent(form_.get());
    tree->SetBounds(510, 0, 90, 300);
    form_->Show();
    ASSERT_TRUE(list->SetDirectory(root_ + "/videos/holiday"));
    list->SetFocus();
    ASSERT_TRUE(rt::testing::WaitFor([&] { return list->Focused(); }));
    rt::testing::KeyClick(rt::VK_BACK);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return list->Directory() == root_ + "/videos"; }));
    rt::testing::KeyClick(rt::VK_BACK);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return list->Directory() == root_; }));
    // F5 lists again and shows what came meanwhile.
    Touch(dir_ / "new.avi", 1, 0);
    rt::testing::KeyClick(rt::VK_F1 + 4);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return list->FindRow("new.avi") >= 0; }));

    // F5 in the tree builds it again, with a new folder, and keeps the selection.
    ASSERT_TRUE(tree->SelectPath(root_ + "/videos/Holiday"));
    ASSERT_EQ(tree->Selected()->Parent()->Count(), 3);
    fs::create_directory(dir_ / "videos" / "later");
    tree->SetFocus();
    ASSERT_TRUE(rt::testing::WaitFor([&] { return tree->Focused(); }));
    rt::testing::KeyClick(rt::VK_F1 + 4);
    EXPECT_TRUE(rt::testing::WaitFor([&] {
        return tree->Selected() != nullptr && tree->Selected()->Parent() != nullptr &&
               tree->Selected()->Parent()->Count() == 4;
    }));
    EXPECT_EQ(tree->SelectedPath(), root_ + "/videos/Holiday");
}

TEST_F(FileControls, UnreadableFolderOrVolumeShowsAMessageAndTheListStays) {
    auto* list = NewList();
    ASSERT_TRUE(list->SetDirectory(root_ + "/videos"));
    const int rows = list->RowCount();
    // A volume whose disc is gone.
    volumes_.push_back({"Gone", root_ + "/no-disc", "", "iso9660", rt::dtCDROM, 0, 0});
    EXPECT_FALSE(list->SetDirectory(root_ + "/no-disc"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "There is no disk in Drive or Drive is not ready");
    EXPECT_EQ(list->Directory(), root_ + "/videos");
    EXPECT_EQ(list->RowCount(), rows);
    // A name that is no folder is ignored without a word.
    EXPECT_FALSE(list->SetDirectory(root_ + "/videos/b.avi"));
    EXPECT_EQ(messages_.size(), 1u);
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    ::chmod((dir_ / "videos" / "archive").c_str(), 0);
    EXPECT_FALSE(list->SetDirectory(root_ + "/videos/archive"));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_NE(messages_[1].find("cannot be read"), std::string::npos) << messages_[1];
    EXPECT_EQ(list->Directory(), root_ + "/videos");
    EXPECT_EQ(list->RowCount(), rows);
}

TEST_F(FileControls, TreeSelectsADeepPathWithExactCase) {
    auto* tree = new sk::TskSkinDirTreeView(form_.get());
    tree->SetParent(form_.get());
    tree->SetBounds(0, 0, 200, 300);
    ASSERT_NE(tree->RootNode(), nullptr);
    EXPECT_EQ(tree->RootNode()->Text(), "Computer");
    ASSERT_EQ(tree->RootNode()->Count(), 2);
    EXPECT_EQ(tree->RootNode()->Item(0)->Text(), "File System (/)");
    EXPECT_EQ(tree->RootNode()->Item(1)->Text(), "Test (" + root_ + ")");

    int changes = 0;
    tree->OnPathChange = [&](rt::TComponent*) { ++changes; };
    for (const std::string deep : {"/videos/holiday/day1", "/videos/Holiday/Day1"}) {
        ASSERT_TRUE(tree->SelectPath(root_ + deep));
        EXPECT_EQ(tree->SelectedPath(), root_ + deep);
        ASSERT_NE(tree->Selected(), nullptr);
        EXPECT_EQ(tree->Selected()->Level(), 4);
    }
    EXPECT_EQ(changes, 2);
    // The children of a folder are its sub-folders, sorted, with has-children marks.
    const rt::TTreeNode* videos = tree->Selected()->Parent()->Parent();
    ASSERT_EQ(videos->Count(), 3);
    EXPECT_EQ(videos->Item(0)->Text(), "archive");
    EXPECT_FALSE(videos->Item(0)->HasChildren());
    EXPECT_TRUE(videos->Item(1)->HasChildren());
    // A path that goes on past what exists selects the deepest folder that does.
    ASSERT_TRUE(tree->SelectPath(root_ + "/videos/Missing/deeper"));
    EXPECT_EQ(tree->SelectedPath(), root_ + "/videos");
}

TEST_F(FileControls, DriveListChoosesTheVolumeHoldingAPath) {
    auto* drives = new sk::TskSkinShellDriveComboBox(form_.get());
    ASSERT_EQ(drives->ItemCount(), 2);
    EXPECT_EQ(drives->Item(0), "File System");
    EXPECT_TRUE(drives->SetDrive(root_ + "/videos/Holiday"));
    EXPECT_EQ(drives->Drive(), root_);
    EXPECT_TRUE(drives->SetDrive("/usr"));
    EXPECT_EQ(drives->Drive(), "/");
    EXPECT_FALSE(drives->SetDrive("relative"));
    EXPECT_EQ(drives->Drive(), "");
}

}  // namespace
