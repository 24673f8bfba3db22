#pragma once
// The skinned open and save dialogs. TskSkinOpenDialog / TskSkinSaveDialog keep the settings of
// one dialog and what a user left in it (panel width, roll state, view style, window size) and
// build a TskOpenDlgForm for every run:
//
//   +--------------------------------------------------------------------------+
//   | [Up] |  drive list                 | [name][size][date] | [list][sm][ic][rep] |  tool bar, 25
//   +-----------------+--+-----------------------------------------------------+
//   | folder caption <|  | file list                                           |
//   | folder tree     |  |                                                     |
//   |                 |sp|                                                     |
//   +-----------------+--+-----------------------------------------------------+
//   | File name: [ edit                          ]   [ Open ]                  |  80
//   | File type: [ type list                     ]   [Cancel]                  |
//   +--------------------------------------------------------------------------+
//
// The file list, the folder tree and the drive list follow one another: a new current row
// moves the tree to the list's folder, a tree node moves the list and the drive list, and the
// drive list moves the tree (and so the list). Flags of the form stop them from calling back
// into the one being set.

#include <functional>
#include <memory>
#include <string>

#include "runtime/Classes.h"
#include "runtime/ComCtrls.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"

namespace sk {

class TskSkinData;
class TskSkinForm;
class TskSkinMessage;
class TskSkinPanel;
class TskSkinExPanel;
class TskSkinSpeedButton;
class TskSkinBevel;
class TskSkinSplitter;
class TskSkinScrollBar;
class TskSkinEdit;
class TskSkinButton;
class TskSkinStdLabel;
class TskSkinFileListView;
class TskSkinDirTreeView;
class TskSkinShellDriveComboBox;
class TskSkinFilterComboBox;

// A tool bar glyph drawn by the build ("SK_UP", "SK_SORTNAME", ...); empty for another name.
rt::TBitmap DialogGlyph(const std::string& name);

// What a name typed in the dialog's name field stands for: a whole path when it begins with
// "/" or "~/" ("~" alone is the home folder), else a name in the list's folder. Empty for an
// empty name.
std::string ResolveTypedName(const std::string& folder, const std::string& typed,
                             const std::string& home);

// Whether two names are one file: the same file system object when both exist (a link and its
// target, "a/../b" and "b"), else the same normalised absolute path.
bool SameFile(const std::string& a, const std::string& b);

// The decision on a typed name, before anything is asked.
enum class TNameStep {
    None,         // empty text: nothing happens
    Mask,         // the text holds "*": it becomes the list's mask
    EnterFolder,  // an existing folder: the list moves there
    Accept,       // the name can be taken (save mode still checks the target)
    Refuse        // open mode, no such file: stay, silently
};
struct TNameDecision {
    TNameStep Step = TNameStep::None;
    std::string Path;  // the resolved name (the folder for EnterFolder, the mask for Mask)
};
// fromEnter: Enter in the name field (a mask applies) rather than the Open/Save button (a
// name with "*" is never accepted in save mode and never exists in open mode).
TNameDecision DecideTypedName(const std::string& folder, const std::string& typed, bool saveMode,
                              bool fromEnter, const std::string& home);

class TskOpenDlgForm : public rt::TForm {
public:
    TskOpenDlgForm(rt::TComponent* owner, bool saveMode);
    ~TskOpenDlgForm() override;

    bool SaveMode() const { return saveMode_; }

    TskSkinForm* SkinForm;
    // Tool bar, left to right.
    TskSkinPanel* ToolPanel;
    TskSkinSpeedButton* UpButton;
    TskSkinBevel* LeftDivider;
    TskSkinShellDriveComboBox* DriveBox;
    TskSkinBevel* RightDivider;
    TskSkinSpeedButton* SortNameButton;
    TskSkinSpeedButton* SortSizeButton;
    TskSkinSpeedButton* SortDateButton;
    TskSkinBevel* StyleDivider;
    TskSkinSpeedButton* ListStyleButton;
    TskSkinSpeedButton* SmallIconStyleButton;
    TskSkinSpeedButton* IconStyleButton;
    TskSkinSpeedButton* ReportStyleButton;
    // Bottom area.
    TskSkinPanel* BottomPanel;
    TskSkinStdLabel* FileNameLabel;
    TskSkinEdit* FileNameEdit;
    TskSkinStdLabel* FileTypeLabel;
    TskSkinFilterComboBox* FilterBox;
    TskSkinButton* OpenButton;
    TskSkinButton* CancelButton;
    // Middle.
    TskSkinExPanel* FolderPanel;
    TskSkinDirTreeView* DirTree;
    TskSkinScrollBar* TreeVBar;
    TskSkinScrollBar* TreeHBar;
    TskSkinSplitter* Splitter;
    TskSkinPanel* ListPanel;
    TskSkinFileListView* FileList;
    TskSkinScrollBar* ListVBar;
    TskSkinScrollBar* ListHBar;

    // Gives every control inside (and the frame's menus) this skin; the frame takes frameSkin.
    void SetSkins(TskSkinData* frameSkin, TskSkinData* ctrlSkin);

    // The list's folder (empty while it shows the volumes).
    std::string Directory() const;
    // Moves the list (and through it the tree and the drive list) to a folder.
    void SetDirectory(const std::string& folder);

    rt::TViewStyle ViewStyle() const;
    // Sets the list's style and presses the matching button.
    void SetViewStyle(rt::TViewStyle style);

    // The chosen full name once the form closed with mrOk.
    std::string FileName;
    // Asked before a name is taken (save mode: the replace question, the source file); false
    // keeps the dialog open.
    std::function<bool(const std::string& name)> OnCanAccept;

    // The user's ways of taking a name: the Open/Save button, Enter in the name field, and a
    // double click or Enter on a list row.
    void OpenButtonClick();
    void NameFieldEnter();
    void ListRowActivate();
    // "Up", Backspace (outside the name field) and Ctrl+Up.
    void GoUp();

    // The form's own keys: Backspace / Ctrl+Up go up, Esc cancels, Enter in the name field or
    // on a list row takes the name. True when the key was one of them.
    bool FormKey(int key, rt::TShiftState shift);

private:
    void BuildToolBar();
    void BuildBottom();
    void BuildMiddle();
    void PlaceDriveBox();
    void Accept(const std::string& path);
    // Synchronisation.
    void ListRowChanged();
    void ListFolderChanged();
    void TreeChanged();
    void DriveChanged();
    void UpdateFolderCaption();

    bool saveMode_;
    bool settingList_ = false;
    bool settingTree_ = false;
    bool settingDrive_ = false;
};

class TskSkinOpenDialog : public rt::TComponent {
public:
    explicit TskSkinOpenDialog(rt::TComponent* owner);
    ~TskSkinOpenDialog() override;

    std::string Title = "Open file";
    std::string Filter = "All files|*.*";
    int FilterIndex = 0;
    std::string FileName;
    std::string InitialDir;
    TskSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TskSkinData* value);
    TskSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TskSkinData* value);
    std::string LVHeaderSkinDataName = "resizebutton";
    TskSkinMessage* SkinMessage() const { return skinMessage_; }
    void SetSkinMessage(TskSkinMessage* value);
    bool AlphaBlend = false;
    int AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& font) { defaultFont_ = font; }

    // Save mode: a file that must never be chosen (the file being cut), and how a chosen name
    // becomes the file that will be written (the cut's name rule); unset, the name itself.
    std::string ProtectedFile;
    std::function<std::string(const std::string& name)> TargetFor;

    bool IsSave() const { return save_; }

    // Runs the dialog; true when a name was chosen (FileName then holds it, absolute). The
    // folder the dialog listed last stays the process's current folder.
    bool Execute() { return RunDialog(); }
    bool RunDialog();

    // Kept from one run to the next.
    int PanelWidth() const { return panelWidth_; }
    bool PanelRolled() const { return panelRolled_; }
    rt::TViewStyle KeptViewStyle() const { return viewStyle_; }
    rt::TPoint KeptClientSize() const { return clientSize_; }

    // Replaces the user's part of a run (tests, scripted runs): gets the dialog, may set
    // FileName, and answers whether a name was chosen. The window is not built.
    static std::function<bool(TskSkinOpenDialog&)> Driver;
    // Called with the shown window once its modal loop runs (tests drive the real window).
    static std::function<void(TskOpenDlgForm&)> OnShownForTesting;

    // Builds the window as a run would, without showing it (tests).
    std::unique_ptr<TskOpenDlgForm> CreateForm();
    // Whether a name may be taken: save mode refuses the protected file and asks before
    // replacing an existing one. Messages go through SkinMessage, else the application's box.
    bool CanAccept(const std::string& name);

protected:
    TskSkinOpenDialog(rt::TComponent* owner, bool save);
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    int Ask(const std::string& text, int dlgType, int buttons, int defaultButton);
    void KeepState(TskOpenDlgForm& form);

    bool save_;
    TskSkinData* skinData_ = nullptr;
    TskSkinData* ctrlSkinData_ = nullptr;
    TskSkinMessage* skinMessage_ = nullptr;
    rt::TFont defaultFont_;
    int panelWidth_ = 200;
    bool panelRolled_ = false;
    rt::TViewStyle viewStyle_ = rt::TViewStyle::vsList;
    rt::TPoint clientSize_{0, 0};
};

class TskSkinSaveDialog : public TskSkinOpenDialog {
public:
    explicit TskSkinSaveDialog(rt::TComponent* owner);
};

}  // namespace sk
