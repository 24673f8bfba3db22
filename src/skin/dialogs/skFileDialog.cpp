#include "skin/dialogs/skFileDialog.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <system_error>

#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/Menus.h"
#include "runtime/SysUtils.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinEdit.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/controls/skSkinScrollBar.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/controls/skSkinSplitter.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"
#include "skin/dialogs/skFileCtrls.h"
#include "skin/dialogs/skMessages.h"
#include "skin/form/skSkinForm.h"

#define FRAMORA_GLYPH(name)                         \
    extern const unsigned char kToolGlyph_##name[]; \
    extern const std::size_t kToolGlyph_##name##_size;
FRAMORA_GLYPH(SK_UP)
FRAMORA_GLYPH(SK_SORTNAME)
FRAMORA_GLYPH(SK_SORTSIZE)
FRAMORA_GLYPH(SK_SORTDATE)
FRAMORA_GLYPH(SK_LISTSTYLE)
FRAMORA_GLYPH(SK_SMALLICONSTYLE)
FRAMORA_GLYPH(SK_ICONSTYLE)
FRAMORA_GLYPH(SK_REPORTSTYLE)
#undef FRAMORA_GLYPH

namespace sk {

namespace fs = std::filesystem;

namespace {

constexpr int kToolBarHeight = 25;
constexpr int kBottomHeight = 80;
constexpr int kToolButtonWidth = 27;
constexpr int kUpButtonWidth = 70;
constexpr int kBarThickness = 19;
constexpr rt::TColor kGlyphKey = 0xFF00FF;

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

std::string Clean(const std::string& path) {
    std::string p = fs::path(path).lexically_normal().string();
    if (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

rt::TBitmap DialogGlyph(const std::string& name) {
    struct Entry {
        const char* name;
        const unsigned char* data;
        std::size_t size;
    };
    const Entry glyphs[] = {
        {"SK_UP", kToolGlyph_SK_UP, kToolGlyph_SK_UP_size},
        {"SK_SORTNAME", kToolGlyph_SK_SORTNAME, kToolGlyph_SK_SORTNAME_size},
        {"SK_SORTSIZE", kToolGlyph_SK_SORTSIZE, kToolGlyph_SK_SORTSIZE_size},
        {"SK_SORTDATE", kToolGlyph_SK_SORTDATE, kToolGlyph_SK_SORTDATE_size},
        {"SK_LISTSTYLE", kToolGlyph_SK_LISTSTYLE, kToolGlyph_SK_LISTSTYLE_size},
        {"SK_SMALLICONSTYLE", kToolGlyph_SK_SMALLICONSTYLE, kToolGlyph_SK_SMALLICONSTYLE_size},
        {"SK_ICONSTYLE", kToolGlyph_SK_ICONSTYLE, kToolGlyph_SK_ICONSTYLE_size},
        {"SK_REPORTSTYLE", kToolGlyph_SK_REPORTSTYLE, kToolGlyph_SK_REPORTSTYLE_size},
    };
    for (const Entry& e : glyphs) {
        if (name != e.name) continue;
        rt::TBitmap glyph;
        // The glyphs are made by the build with the program: a failure here is a broken build.
        if (!rt::LoadPngBitmap({e.data, e.size}, glyph, kGlyphKey))
            throw rt::EInvalidGraphic("The file dialog's glyph " + name + " is missing.");
        return glyph;
    }
    return {};
}

std::string ResolveTypedName(const std::string& folder, const std::string& typed,
                             const std::string& home) {
    if (typed.empty()) return {};
    if (typed == "~") return home;
    if (typed.rfind("~/", 0) == 0) return Clean(home + typed.substr(1));
    if (typed.front() == '/') return Clean(typed);
    return Clean((folder.empty() ? std::string("/") : folder) + "/" + typed);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool same = fs::equivalent(a, b, ec);
        if (!ec) return same;
    }
    return Clean(fs::absolute(a, ec).string()) == Clean(fs::absolute(b, ec).string());
}

TNameDecision DecideTypedName(const std::string& folder, const std::string& typed, bool saveMode,
                              bool fromEnter, const std::string& home) {
    if (typed.empty()) return {};
    const bool wild = typed.find('*') != std::string::npos || typed.find('?') != std::string::npos;
    if (wild) {
        if (fromEnter) return {TNameStep::Mask, typed};
        return {saveMode ? TNameStep::None : TNameStep::Refuse, {}};
    }
    const std::string path = ResolveTypedName(folder, typed, home);
    if (IsFolder(path)) return {TNameStep::EnterFolder, path};
    if (saveMode) {
        // A name ending in "/" names a folder, which does not exist: nothing to save to.
        if (typed.back() == '/') return {TNameStep::None, {}};
        return {TNameStep::Accept, path};
    }
    return {IsFile(path) ? TNameStep::Accept : TNameStep::Refuse, path};
}

// ---------------------------------------------------------------- the window

namespace {

// The tool bar: places the drive list between its two dividers whenever its size changes.
class TskToolBarPanel : public TskSkinPanel {
public:
    using TskSkinPanel::TskSkinPanel;
    std::function<void()> OnResized;

protected:
    void Resize() override {
        TskSkinPanel::Resize();
        if (OnResized) OnResized();
    }
};

}  // namespace

TskOpenDlgForm::TskOpenDlgForm(rt::TComponent* owner, bool saveMode)
    : rt::TForm(owner), saveMode_(saveMode) {
    SetName("skOpenDlgForm");
    BorderStyle = rt::TFormBorderStyle::bsSizeable;
    Position = rt::TPosition::poScreenCenter;
    SkinForm = new TskSkinForm(this);
    SkinForm->SetName("skSkinForm1");
    SkinForm->SetBorderIcons(0);
    SkinForm->SetShowIcon(false);
    SkinForm->UseDefaultSysMenu = false;
    SkinForm->MaximizeOnFullScreen = false;
    SetClientSize(500, 300);

    BuildToolBar();
    BuildBottom();
    BuildMiddle();

    OnShortCut = [this](rt::TComponent*, int key, rt::TShiftState shift) {
        return FormKey(key, shift);
    };
    OnShow = [this](rt::TComponent*) {
        if (FileNameEdit->CanFocus()) FileNameEdit->SetFocus();
    };
}

TskOpenDlgForm::~TskOpenDlgForm() {
    // The controls' events call into this form: they go first.
    DestroyComponents();
}

void TskOpenDlgForm::BuildToolBar() {
    auto* bar = new TskToolBarPanel(this);
    ToolPanel = bar;
    bar->SetName("ToolPanel");
    bar->SetSkinDataName("toolpanel");
    bar->SetBorderStyle(bvNone);
    bar->SetHeight(kToolBarHeight);
    bar->SetAlign(rt::TAlign::alTop);
    bar->SetParent(this);

    auto button = [this, bar](const char* name, const char* glyph, int width, const char* hint) {
        auto* b = new TskSkinSpeedButton(this);
        b->SetName(name);
        b->SetSkinDataName("toolbutton");
        b->SetFlat(true);
        b->SetGlyph(DialogGlyph(glyph));
        b->SetNumGlyphs(1);
        b->SetBounds(0, 0, width, kToolBarHeight);
        b->SetDefaultWidth(width);
        b->SetDefaultHeight(kToolBarHeight);
        b->Hint = hint;
        b->ShowHint = true;
        b->SetParent(bar);
        return b;
    };
    auto divider = [this, bar](const char* name, int width, rt::TAlign align) {
        auto* d = new TskSkinBevel(this);
        d->SetName(name);
        d->SetDividerMode(true);
        d->SetBounds(0, 0, width, kToolBarHeight);
        d->SetAlign(align);
        d->SetParent(bar);
        return d;
    };

    UpButton = button("UpButton", "SK_UP", kUpButtonWidth, "Up one level (Backspace)");
    UpButton->SetCaption("Up");
    UpButton->SetAlign(rt::TAlign::alLeft);
    UpButton->OnClick = [this](rt::TComponent*) { GoUp(); };
    LeftDivider = divider("LeftDivider", 26, rt::TAlign::alLeft);

    // Right-aligned controls line up from the right edge in the order they are made.
    ReportStyleButton = button("ReportStyleButton", "SK_REPORTSTYLE", kToolButtonWidth, "Details");
    IconStyleButton = button("IconStyleButton", "SK_ICONSTYLE", kToolButtonWidth, "Icons");
    SmallIconStyleButton =
        button("SmallIconStyleButton", "SK_SMALLICONSTYLE", kToolButtonWidth, "Small icons");
    ListStyleButton = button("ListStyleButton", "SK_LISTSTYLE", kToolButtonWidth, "List");
    const struct {
        TskSkinSpeedButton* button;
        rt::TViewStyle style;
    } styles[] = {{ListStyleButton, rt::TViewStyle::vsList},
                  {SmallIconStyleButton, rt::TViewStyle::vsSmallIcon},
                  {IconStyleButton, rt::TViewStyle::vsIcon},
                  {ReportStyleButton, rt::TViewStyle::vsReport}};
    for (const auto& s : styles) {
        s.button->SetAlign(rt::TAlign::alRight);
        s.button->SetGroupIndex(1);
        const rt::TViewStyle style = s.style;
        s.button->OnClick = [this, style](rt::TComponent*) { SetViewStyle(style); };
    }
    StyleDivider = divider("StyleDivider", 27, rt::TAlign::alRight);
    SortDateButton = button("SortDateButton", "SK_SORTDATE", kToolButtonWidth, "Sort by date");
    SortSizeButton = button("SortSizeButton", "SK_SORTSIZE", kToolButtonWidth, "Sort by size");
    SortNameButton = button("SortNameButton", "SK_SORTNAME", kToolButtonWidth, "Sort by name");
    const struct {
        TskSkinSpeedButton* button;
        int column;
    } sorts[] = {{SortNameButton, 0}, {SortSizeButton, 1}, {SortDateButton, 3}};
    for (const auto& s : sorts) {
        s.button->SetAlign(rt::TAlign::alRight);
        const int column = s.column;
        s.button->OnClick = [this, column](rt::TComponent*) { FileList->ClickColumn(column); };
    }
    RightDivider = divider("RightDivider", 26, rt::TAlign::alRight);

    DriveBox = new TskSkinShellDriveComboBox(this);
    DriveBox->SetName("DriveBox");
    DriveBox->TabStop = true;
    DriveBox->SetParent(bar);
    DriveBox->OnChange = [this](rt::TComponent*) { DriveChanged(); };
    bar->OnResized = [this] { PlaceDriveBox(); };
}

void TskOpenDlgForm::PlaceDriveBox() {
    if (DriveBox == nullptr || ToolPanel == nullptr) return;
    int left = 0, right = ToolPanel->Width();
    for (int i = 0; i < ToolPanel->ControlCount(); ++i) {
        rt::TControl* c = ToolPanel->Controls(i);
        if (!c->Visible()) continue;
        if (c->Align() == rt::TAlign::alLeft) left += c->Width();
        if (c->Align() == rt::TAlign::alRight) right -= c->Width();
    }
    const int h = DriveBox->Height();
    DriveBox->SetBounds(left, (ToolPanel->Height() - h) / 2, std::max(0, right - left), h);
}

void TskOpenDlgForm::BuildBottom() {
    BottomPanel = new TskSkinPanel(this);
    BottomPanel->SetName("BottomPanel");
    BottomPanel->SetBorderStyle(bvNone);
    BottomPanel->SetHeight(kBottomHeight);
    BottomPanel->SetAlign(rt::TAlign::alBottom);
    BottomPanel->SetParent(this);

    auto label = [this](const char* name, const char* caption, int top) {
        auto* l = new TskSkinStdLabel(this);
        l->SetName(name);
        l->SetCaption(caption);
        l->SetAutoSize(true);
        l->SetTransparent(true);
        l->SetParent(BottomPanel);
        l->SetLeft(10);
        l->SetTop(top);
        return l;
    };
    FileNameLabel = label("FileNameLabel", "File &name:", 10);
    FileTypeLabel = label("FileTypeLabel", "File &type:", 45);

    FileNameEdit = new TskSkinEdit(this);
    FileNameEdit->SetName("FileNameEdit");
    FileNameEdit->TabStop = true;
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, 300, 21);
    FileNameLabel->SetFocusControl(FileNameEdit);

    FilterBox = new TskSkinFilterComboBox(this);
    FilterBox->SetName("FilterBox");
    FilterBox->TabStop = true;
    FilterBox->SetParent(BottomPanel);
    FilterBox->SetBounds(70, 45, 300, 21);
    FilterBox->OnChange = [this](rt::TComponent*) { FileList->SetMask(FilterBox->Mask()); };
    FileTypeLabel->SetFocusControl(FilterBox);

    auto button = [this](const char* name, const char* caption, int top) {
        auto* b = new TskSkinButton(this);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetParent(BottomPanel);
        b->SetBounds(390, top, 70, 25);
        return b;
    };
    OpenButton = button("OpenButton", saveMode_ ? "&Save" : "&Open", 10);
    OpenButton->OnClick = [this](rt::TComponent*) { OpenButtonClick(); };
    CancelButton = button("CancelButton", "Cancel", 45);
    CancelButton->Cancel = true;
    CancelButton->ModalResult = rt::mrCancel;

    // The labels stand level with the field they name.
    for (auto [l, field] : {std::pair<rt::TControl*, rt::TControl*>{FileNameLabel, FileNameEdit},
                            {FileTypeLabel, FilterBox}})
        l->SetTop(field->Top() + (field->Height() - l->Height()) / 2);
}

void TskOpenDlgForm::BuildMiddle() {
    auto bars = [this](rt::TWinControl* parent, const char* vName, const char* hName) {
        auto* v = new TskSkinScrollBar(this);
        v->SetName(vName);
        v->SetKind(sbVertical);
        v->SetSkinDataName("vscrollbar");
        v->SetBounds(0, 0, kBarThickness, 100);
        v->SetAlign(rt::TAlign::alRight);
        v->SetEnabled(false);
        v->SetParent(parent);
        auto* h = new TskSkinScrollBar(this);
        h->SetName(hName);
        h->SetSkinDataName("hscrollbar");
        h->SetBounds(0, 0, 100, kBarThickness);
        h->SetAlign(rt::TAlign::alBottom);
        h->SetEnabled(false);
        h->SetParent(parent);
        return std::pair{v, h};
    };

    FolderPanel = new TskSkinExPanel(this);
    FolderPanel->SetName("FolderPanel");
    FolderPanel->SetRollKind(rkRollHorizontal);
    FolderPanel->SetShowCloseButton(false);
    FolderPanel->SetBounds(0, 0, 200, 100);
    FolderPanel->SetAlign(rt::TAlign::alLeft);
    FolderPanel->SetParent(this);
    std::tie(TreeVBar, TreeHBar) = bars(FolderPanel, "TreeVBar", "TreeHBar");
    DirTree = new TskSkinDirTreeView(this);
    DirTree->SetName("DirTree");
    DirTree->TabStop = true;
    DirTree->SetAlign(rt::TAlign::alClient);
    DirTree->SetParent(FolderPanel);
    DirTree->SetVScrollBar(TreeVBar);
    DirTree->SetHScrollBar(TreeHBar);

    Splitter = new TskSkinSplitter(this);
    Splitter->SetName("Splitter");
    Splitter->SetDefaultSize(10);
    Splitter->SetBounds(200, 0, 10, 100);
    Splitter->SetAlign(rt::TAlign::alLeft);
    Splitter->SetParent(this);

    ListPanel = new TskSkinPanel(this);
    ListPanel->SetName("ListPanel");
    ListPanel->SetBorderStyle(bvFrame);
    ListPanel->SetAlign(rt::TAlign::alClient);
    ListPanel->SetParent(this);
    std::tie(ListVBar, ListHBar) = bars(ListPanel, "ListVBar", "ListHBar");
    FileList = new TskSkinFileListView(this);
    FileList->SetName("FileList");
    FileList->TabStop = true;
    FileList->SetAlign(rt::TAlign::alClient);
    FileList->SetParent(ListPanel);
    FileList->SetVScrollBar(ListVBar);
    FileList->SetHScrollBar(ListHBar);
    FileList->SetViewStyle(rt::TViewStyle::vsList);
    ListStyleButton->SetDown(true);

    FileList->OnDirectoryChange = [this](rt::TComponent*) { ListFolderChanged(); };
    FileList->OnCurrentRowChange = [this](rt::TComponent*) { ListRowChanged(); };
    FileList->OnDblClick = [this](rt::TComponent*) { ListRowActivate(); };
    DirTree->OnPathChange = [this](rt::TComponent*) { TreeChanged(); };
    FolderPanel->OnChangeRollState = [this](rt::TComponent*) { Realign(); };

    FileNameEdit->SetTabOrder(0);
    FilterBox->SetTabOrder(1);
}

void TskOpenDlgForm::SetSkins(TskSkinData* frameSkin, TskSkinData* ctrlSkin) {
    SkinForm->SetSkinData(frameSkin);
    SkinForm->SetMenusSkinData(ctrlSkin);
    for (TskSkinSpeedButton* b :
         {UpButton, SortNameButton, SortSizeButton, SortDateButton, ListStyleButton,
          SmallIconStyleButton, IconStyleButton, ReportStyleButton})
        b->SetSkinData(ctrlSkin);
    for (TskSkinBevel* d : {LeftDivider, RightDivider, StyleDivider}) d->SetSkinData(ctrlSkin);
    for (TskSkinPanel* p : {ToolPanel, BottomPanel, ListPanel}) p->SetSkinData(ctrlSkin);
    for (TskSkinStdLabel* l : {FileNameLabel, FileTypeLabel}) l->SetSkinData(ctrlSkin);
    for (TskSkinScrollBar* b : {TreeVBar, TreeHBar, ListVBar, ListHBar}) b->SetSkinData(ctrlSkin);
    for (TskSkinButton* b : {OpenButton, CancelButton}) b->SetSkinData(ctrlSkin);
    FolderPanel->SetSkinData(ctrlSkin);
    Splitter->SetSkinData(ctrlSkin);
    FileNameEdit->SetSkinData(ctrlSkin);
    FilterBox->SetSkinData(ctrlSkin);
    DriveBox->SetSkinData(ctrlSkin);
    DirTree->SetSkinData(ctrlSkin);
    FileList->SetSkinData(ctrlSkin);
    for (auto [l, field] : {std::pair<rt::TControl*, rt::TControl*>{FileNameLabel, FileNameEdit},
                            {FileTypeLabel, FilterBox}})
        l->SetTop(field->Top() + (field->Height() - l->Height()) / 2);
    PlaceDriveBox();
}

std::string TskOpenDlgForm::Directory() const {
    return FileList->ShowsDrives() ? std::string() : FileList->Directory();
}

void TskOpenDlgForm::SetDirectory(const std::string& folder) { FileList->SetDirectory(folder); }

rt::TViewStyle TskOpenDlgForm::ViewStyle() const { return FileList->ViewStyle(); }

void TskOpenDlgForm::SetViewStyle(rt::TViewStyle style) {
    FileList->SetViewStyle(style);
    switch (style) {
        case rt::TViewStyle::vsIcon:
            IconStyleButton->SetDown(true);
            break;
        case rt::TViewStyle::vsSmallIcon:
            SmallIconStyleButton->SetDown(true);
            break;
        case rt::TViewStyle::vsList:
            ListStyleButton->SetDown(true);
            break;
        case rt::TViewStyle::vsReport:
            ReportStyleButton->SetDown(true);
            break;
    }
}

void TskOpenDlgForm::Accept(const std::string& path) {
    if (OnCanAccept && !OnCanAccept(path)) return;
    FileName = path;
    ModalResult = rt::mrOk;
}

void TskOpenDlgForm::OpenButtonClick() {
    const TNameDecision d = DecideTypedName(Directory(), FileNameEdit->Text(), saveMode_,
                                            /*fromEnter=*/false, rt::HomeDir());
    switch (d.Step) {
        case TNameStep::EnterFolder:
            SetDirectory(d.Path);
            FileNameEdit->SetText({});
            break;
        case TNameStep::Accept:
            Accept(d.Path);
            break;
        case TNameStep::Mask:
        case TNameStep::None:
        case TNameStep::Refuse:
            break;
    }
}

void TskOpenDlgForm::NameFieldEnter() {
    const TNameDecision d = DecideTypedName(Directory(), FileNameEdit->Text(), saveMode_,
                                            /*fromEnter=*/true, rt::HomeDir());
    switch (d.Step) {
        case TNameStep::Mask:
            FileList->SetMask(d.Path);
            break;
        case TNameStep::EnterFolder:
            SetDirectory(d.Path);
            FileNameEdit->SetText({});
            break;
        case TNameStep::Accept:
            Accept(d.Path);
            break;
        case TNameStep::None:
        case TNameStep::Refuse:
            break;
    }
}

void TskOpenDlgForm::ListRowActivate() {
    const int row = FileList->CurrentRow();
    if (row < 0) return;
    const std::string path = FileList->RowPath(row);
    if (FileList->RowKind(row) == TskSkinFileListView::TRowKind::File) {
        FileNameEdit->SetText(FileList->RowName(row));
        Accept(path);
    } else if (!path.empty()) {
        SetDirectory(path);
    }
}

void TskOpenDlgForm::GoUp() { FileList->Up(); }

bool TskOpenDlgForm::FormKey(int key, rt::TShiftState shift) {
    const rt::TShiftState mods = shift & (rt::ssShift | rt::ssCtrl | rt::ssAlt);
    // A dropped-down list takes its own keys.
    if (FilterBox->DroppedDown() || DriveBox->DroppedDown()) return false;
    rt::TWinControl* focus = ActiveControl();
    if (key == rt::VK_UP && mods == rt::ssCtrl) {
        GoUp();
        return true;
    }
    if (key == rt::VK_BACK && mods == 0 && focus != FileNameEdit) {
        GoUp();
        return true;
    }
    if (key == rt::VK_ESCAPE && mods == 0) {
        ModalResult = rt::mrCancel;
        return true;
    }
    if (key == rt::VK_RETURN && mods == 0) {
        if (focus == FileNameEdit) {
            NameFieldEnter();
            return true;
        }
        if (focus == FileList) {
            ListRowActivate();
            return true;
        }
    }
    return false;
}

void TskOpenDlgForm::ListRowChanged() {
    if (settingList_) return;
    const int row = FileList->CurrentRow();
    if (row < 0) return;
    if (FileList->RowKind(row) == TskSkinFileListView::TRowKind::File)
        FileNameEdit->SetText(FileList->RowName(row));
    else if (!saveMode_)
        // Save mode keeps a typed name while the user looks for its folder.
        FileNameEdit->SetText({});
}

void TskOpenDlgForm::ListFolderChanged() {
    if (settingList_) return;
    const std::string folder = Directory();
    if (!folder.empty() && !settingTree_) {
        settingTree_ = true;
        if (DirTree->SelectedPath() != folder) DirTree->SelectPath(folder);
        settingTree_ = false;
    }
    if (!settingDrive_) {
        settingDrive_ = true;
        DriveBox->SetDrive(folder.empty() ? "/" : folder);
        settingDrive_ = false;
    }
    UpdateFolderCaption();
}

void TskOpenDlgForm::TreeChanged() {
    UpdateFolderCaption();
    if (settingTree_) return;
    const std::string path = DirTree->SelectedPath();
    if (path.empty()) return;
    settingTree_ = true;
    FileList->SetDirectory(path);
    settingTree_ = false;
    if (!settingDrive_) {
        settingDrive_ = true;
        DriveBox->SetDrive(path);
        settingDrive_ = false;
    }
}

void TskOpenDlgForm::DriveChanged() {
    if (settingDrive_) return;
    const std::string path = DriveBox->Drive();
    if (path.empty()) return;
    settingDrive_ = true;
    DirTree->SelectPath(path);
    // The tree moved the list; a tree that already showed the volume root moves nothing.
    if (Directory() != path) FileList->SetDirectory(path);
    settingDrive_ = false;
}

void TskOpenDlgForm::UpdateFolderCaption() {
    rt::TTreeNode* node = DirTree->Selected();
    FolderPanel->SetCaption(node != nullptr ? node->Text() : std::string());
}

// ---------------------------------------------------------------- the component

std::function<bool(TskSkinOpenDialog&)> TskSkinOpenDialog::Driver;
std::function<void(TskOpenDlgForm&)> TskSkinOpenDialog::OnShownForTesting;

TskSkinOpenDialog::TskSkinOpenDialog(rt::TComponent* owner) : TskSkinOpenDialog(owner, false) {}

TskSkinOpenDialog::TskSkinOpenDialog(rt::TComponent* owner, bool save)
    : rt::TComponent(owner), save_(save) {
    defaultFont_ = MakeSkinFont("Arial", 14, 0, rt::clWindowText);
}

TskSkinOpenDialog::~TskSkinOpenDialog() {
    for (rt::TComponent* c :
         {static_cast<rt::TComponent*>(skinData_), static_cast<rt::TComponent*>(ctrlSkinData_),
          static_cast<rt::TComponent*>(skinMessage_)})
        if (c != nullptr) RemoveFreeNotification(c);
}

TskSkinSaveDialog::TskSkinSaveDialog(rt::TComponent* owner) : TskSkinOpenDialog(owner, true) {
    Title = "Save file";
}

void TskSkinOpenDialog::SetSkinData(TskSkinData* value) {
    skinData_ = value;
    if (value != nullptr) FreeNotification(value);
}

void TskSkinOpenDialog::SetCtrlSkinData(TskSkinData* value) {
    ctrlSkinData_ = value;
    if (value != nullptr) FreeNotification(value);
}

void TskSkinOpenDialog::SetSkinMessage(TskSkinMessage* value) {
    skinMessage_ = value;
    if (value != nullptr) FreeNotification(value);
}

void TskSkinOpenDialog::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TComponent::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(skinData_)) skinData_ = nullptr;
    if (component == static_cast<rt::TComponent*>(ctrlSkinData_)) ctrlSkinData_ = nullptr;
    if (component == static_cast<rt::TComponent*>(skinMessage_)) skinMessage_ = nullptr;
}

int TskSkinOpenDialog::Ask(const std::string& text, int dlgType, int buttons, int defaultButton) {
    if (skinMessage_ != nullptr)
        return skinMessage_->ShowMessageBox(text, dlgType, TskMsgDlgButtons(buttons), 0,
                                            defaultButton);
    int flags = dlgType == mtConfirmation ? rt::MB_ICONQUESTION : rt::MB_ICONERROR;
    flags |= buttons == (MsgDlgSet(mbYes) | MsgDlgSet(mbNo)) ? rt::MB_YESNO : rt::MB_OK;
    if (defaultButton == mbNo) flags |= rt::MB_DEFBUTTON2;
    return rt::Application()->MessageBox(text, MsgDlgCaption(TskMsgDlgType(dlgType)), flags);
}

bool TskSkinOpenDialog::CanAccept(const std::string& name) {
    if (!save_) return true;
    std::string target = TargetFor ? TargetFor(name) : name;
    // A target without a folder lands beside the chosen name.
    if (!target.empty() && target.front() != '/') target = rt::ExtractFilePath(name) + target;
    const std::string shown = rt::ExtractFileName(target);
    if (!ProtectedFile.empty() &&
        (SameFile(target, ProtectedFile) || SameFile(name, ProtectedFile))) {
        Ask(shown +
                " is the file being cut and cannot be replaced by the cut.\n"
                "Choose another name.",
            mtError, MsgDlgSet(mbOK), -1);
        return false;
    }
    const std::string folder = rt::ExtractFilePath(target);
    if (!folder.empty() && !IsFolder(folder)) {
        Ask("The folder " + folder + " does not exist.", mtError, MsgDlgSet(mbOK), -1);
        return false;
    }
    if (IsFolder(target)) {
        Ask(shown + " is a folder.\nChoose another name.", mtError, MsgDlgSet(mbOK), -1);
        return false;
    }
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) {
        const int answer = Ask(shown + " already exists. Replace it?", mtConfirmation,
                               MsgDlgSet(mbYes) | MsgDlgSet(mbNo), mbNo);
        return answer == rt::mrYes;
    }
    return true;
}

std::unique_ptr<TskOpenDlgForm> TskSkinOpenDialog::CreateForm() {
    auto form = std::make_unique<TskOpenDlgForm>(nullptr, save_);
    form->SetCaption(Title);
    TskSkinForm* frame = form->SkinForm;
    frame->SetAlphaBlend(AlphaBlend);
    frame->AlphaBlendAnimation = AlphaBlendAnimation;
    frame->SetAlphaBlendValue(AlphaBlendValue);
    form->SetSkins(skinData_, ctrlSkinData_);
    form->FileList->SetHeaderSkinDataName(LVHeaderSkinDataName);
    form->FileList->SetSkinMessage(skinMessage_);
    form->DirTree->SetSkinMessage(skinMessage_);

    // What the user left last time.
    form->FolderPanel->SetWidth(panelWidth_);
    if (panelRolled_) form->FolderPanel->SetRollState(true);
    form->SetViewStyle(viewStyle_);

    // The folder: that of the name, else the first folder, else the program's.
    std::string folder = rt::ExtractFilePath(FileName);
    std::string name = FileName;
    if (!folder.empty()) {
        name = rt::ExtractFileName(FileName);
    } else {
        folder = InitialDir.empty() ? rt::ExtractFilePath(rt::ApplicationFileName()) : InitialDir;
    }
    if (folder.empty() || !IsFolder(folder)) folder = rt::GetCurrentDir();
    form->FilterBox->SetFilter(Filter);
    if (FilterIndex >= 0 && FilterIndex < form->FilterBox->EntryCount())
        form->FilterBox->SetItemIndex(FilterIndex);
    form->FileList->SetMask(form->FilterBox->Mask());
    form->SetDirectory(Clean(folder));
    form->FileNameEdit->SetText(name);

    int width = clientSize_.X > 0 ? clientSize_.X : 500;
    int height = clientSize_.Y > 0 ? clientSize_.Y : 300;
    form->SetClientSize(width, height);
    return form;
}

void TskSkinOpenDialog::KeepState(TskOpenDlgForm& form) {
    panelRolled_ = form.FolderPanel->RollState();
    // A rolled panel is as narrow as its caption; the width it goes back to is kept.
    if (!panelRolled_) panelWidth_ = form.FolderPanel->Width();
    viewStyle_ = form.ViewStyle();
    clientSize_ = {form.ClientWidth(), form.ClientHeight()};
}

bool TskSkinOpenDialog::RunDialog() {
    bool chosen = false;
    if (Driver) {
        chosen = Driver(*this);
        if (chosen && !FileName.empty() && FileName.front() != '/')
            FileName = Clean(rt::GetCurrentDir() + "/" + FileName);
    } else {
        std::unique_ptr<TskOpenDlgForm> form = CreateForm();
        form->OnCanAccept = [this](const std::string& name) { return CanAccept(name); };
        if (OnShownForTesting) {
            auto hook = OnShownForTesting;
            TskOpenDlgForm* shown = form.get();
            auto* timer = new rt::TTimer(form.get());
            timer->SetInterval(10);
            timer->OnTimer = [hook, shown, timer](rt::TComponent*) {
                if (!shown->Visible()) return;
                timer->SetEnabled(false);
                hook(*shown);
            };
        }
        const int result = form->ShowModal();
        KeepState(*form);
        if (result == rt::mrOk && !form->FileName.empty()) {
            FileName = form->FileName;
            chosen = true;
        }
        // Names without a folder resolve against the folder the user looked at last.
        const std::string folder = form->Directory();
        if (!folder.empty()) (void)::chdir(folder.c_str());
    }
    if (chosen) {
        const std::string folder = rt::ExtractFilePath(FileName);
        if (!folder.empty()) (void)::chdir(folder.c_str());
    }
    return chosen;
}

}  // namespace sk
