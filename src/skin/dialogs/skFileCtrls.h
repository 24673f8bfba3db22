#pragma once
// The file dialog's controls: the file list, the folder tree, the drive list and the file-type
// list, on the skinned list view, tree view and combo box.
//
// The file list shows one folder (folders first, then the files matching its mask) or, as the
// special directory "Drives", the volumes. Each row has a caption (the name) and six sub-texts:
//   sub-text   folder row          file row            drive row
//   0          " "                 size in bytes       drive type text
//   1          type name           type name           total bytes "1,234"
//   2          modified            modified            free bytes "1,234"
//   3          attribute letters   attribute letters   ""
//   4          full path           full path           mount path
//   5          "dir"               "file"              "drv"
// The modified column reads "mm/dd/yyyy hh:nn" (only the date at exactly midnight).

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ImgList.h"
#include "runtime/ShellFiles.h"
#include "skin/controls/skSkinComboBox.h"
#include "skin/controls/skSkinViews.h"

namespace sk {

class TskSkinMessage;

// The list's special directory that shows the volumes.
inline constexpr const char* kDrivesDirectory = "Drives";
// Whether path names the volumes' list ("Drives", in any case).
bool IsDrivesDirectory(const std::string& path);

// The pictures of the file dialog's rows: the desktop's icon theme where it has the type's
// icon, else the program's own folder, file, video and volume pictures. Looked up once per
// type and size.
enum class TskFileIconKind { Folder, File, Video, Volume };
const rt::TBitmap& FileIcon(const std::string& iconName, const std::string& genericIconName,
                            TskFileIconKind kind, int size);
// The program's own picture of a kind (16 or 32 pixels).
const rt::TBitmap& OwnFileIcon(TskFileIconKind kind, int size);

// Shows a warning or an error with one OK button: through the skinned box when one is given,
// else through the application's message box.
void ShowFileMessage(TskSkinMessage* box, const std::string& text, bool error);

class TskSkinFileListView : public TskSkinListView {
public:
    enum class TRowKind { Folder, File, Drive };
    enum TSortColumn { scName = 0, scSize = 1, scType = 2, scModified = 3, scAttributes = 4 };

    explicit TskSkinFileListView(rt::TComponent* owner);
    ~TskSkinFileListView() override;

    // The folder shown (no trailing "/" except for "/"), or "Drives"; empty before the first.
    const std::string& Directory() const { return directory_; }
    // Moves the list: "Drives" lists the volumes; a volume that cannot be read shows "There is
    // no disk in Drive or Drive is not ready" and the list stays; a folder that cannot be read
    // shows why and the list stays; a path that is no folder is ignored. Returns whether the
    // list shows path now.
    bool SetDirectory(const std::string& path);
    bool ShowsDrives() const { return IsDrivesDirectory(directory_); }

    // The masks of the files shown, ";"-separated; setting it lists again.
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& mask);

    TskSkinMessage* SkinMessage() const { return skinMessage_; }
    void SetSkinMessage(TskSkinMessage* box);

    // Lists the directory again (keeping the current row's name when it is still there).
    void Refresh();
    // From a folder to its parent; from a volume's root to "Drives"; in "Drives" nothing.
    // Returns whether the list moved.
    bool Up();

    int RowCount() const { return Items().Count(); }
    TRowKind RowKind(int row) const;
    std::string RowPath(int row) const;
    std::string RowName(int row) const;
    // The row of a name (exact case), -1 when none.
    int FindRow(const std::string& name) const;
    // The current (selected) row, -1 for none.
    int CurrentRow() const;
    void SetCurrentRow(int row);

    // Sorting: rows of folders (and drives) before files, then by the sort column; the order
    // is reversed while Descending is set. Clicking the sort column again flips Descending;
    // another column becomes the sort column with Descending set. Every listing sets
    // Descending and clicks the name column, so it comes out by name, ascending.
    int SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }
    void ClickColumn(int column);

    // The volumes the "Drives" list and the last drive check saw.
    const std::vector<rt::TVolume>& Volumes() const { return volumes_; }

    rt::TNotifyEvent OnDirectoryChange;
    rt::TNotifyEvent OnCurrentRowChange;

    void WndProc(rt::TMessage& message) override;

protected:
    void KeyDown(int& key, rt::TShiftState shift) override;

private:
    struct Row {
        std::string name;
        std::string path;
        TRowKind kind = TRowKind::File;
        std::uint64_t size = 0;
        std::time_t modified = 0;
    };
    // Lists folder even when it is the one shown (by value: it may be directory_ itself).
    void ListFolder(std::string folder);
    void ListDrives();
    void SetFolderColumns();
    void SetDriveColumns();
    void Sort();
    int Compare(const Row& a, const Row& b) const;
    int ImageOf(const std::string& iconName, const std::string& generic, TskFileIconKind kind);
    void ClearRows();
    void ChangedDirectory();

    std::string directory_;
    std::string mask_ = "*.*";
    TskSkinMessage* skinMessage_ = nullptr;
    std::vector<std::unique_ptr<Row>> rows_;
    std::vector<rt::TVolume> volumes_;
    int sortColumn_ = scName;
    bool descending_ = true;
    rt::TImageList* small_ = nullptr;
    rt::TImageList* large_ = nullptr;
    std::map<std::string, int> imageIndex_;
    int lastCurrent_ = -1;
};

class TskSkinDirTreeView : public TskSkinTreeView {
public:
    explicit TskSkinDirTreeView(rt::TComponent* owner);
    ~TskSkinDirTreeView() override;

    // Builds the tree again from the volumes: the root "Computer" with one node per volume.
    void Rebuild();
    // Expands from the root down to the folder (names compared exactly) and selects it; a
    // folder that is not there selects the deepest folder above it that is. False when no
    // volume holds the path.
    bool SelectPath(const std::string& path);
    // The selected node's path ("" for the root or none).
    std::string SelectedPath() const;
    std::string NodePath(const rt::TTreeNode* node) const;
    rt::TTreeNode* RootNode() const;
    const std::vector<rt::TVolume>& Volumes() const { return volumes_; }

    TskSkinMessage* SkinMessage() const { return skinMessage_; }
    void SetSkinMessage(TskSkinMessage* box) { skinMessage_ = box; }

    // A node became the selected one (by the user or by SelectPath).
    rt::TNotifyEvent OnPathChange;

protected:
    void Change(rt::TTreeNode* node) override;
    void KeyDown(int& key, rt::TShiftState shift) override;

private:
    void FillChildren(rt::TTreeNode* node);
    rt::TTreeNode* ChildNamed(rt::TTreeNode* node, const std::string& name);

    std::vector<rt::TVolume> volumes_;
    TskSkinMessage* skinMessage_ = nullptr;
    rt::TImageList* images_ = nullptr;
    int folderImage_ = -1, openFolderImage_ = -1, volumeImage_ = -1, computerImage_ = -1;
    bool selecting_ = false;
};

class TskSkinShellDriveComboBox : public TskSkinComboBox {
public:
    explicit TskSkinShellDriveComboBox(rt::TComponent* owner);

    // Reads the volumes again (keeps the chosen one when it is still there).
    void UpdateDrives();
    const std::vector<rt::TVolume>& Volumes() const { return volumes_; }
    // The chosen volume's mount path, "" for none.
    std::string Drive() const;
    // Chooses the volume that holds path; false (and nothing chosen) when none does.
    bool SetDrive(const std::string& path);

private:
    std::vector<rt::TVolume> volumes_;
};

class TskSkinFilterComboBox : public TskSkinComboBox {
public:
    explicit TskSkinFilterComboBox(rt::TComponent* owner);

    // "description|mask|description|mask..."; the descriptions become the items, the first
    // chosen.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter);
    // The mask of the chosen entry (none chosen: the last is chosen; no entries: "*.*").
    std::string Mask();
    int EntryCount() const { return int(masks_.size()); }

private:
    std::string filter_;
    std::vector<std::string> masks_;
};

}  // namespace sk
