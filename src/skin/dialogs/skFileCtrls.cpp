#include "skin/dialogs/skFileCtrls.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <utility>

#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/Messages.h"
#include "skin/dialogs/skMessages.h"

extern const unsigned char kFilePicture_folder16[];
extern const std::size_t kFilePicture_folder16_size;
extern const unsigned char kFilePicture_folder32[];
extern const std::size_t kFilePicture_folder32_size;
extern const unsigned char kFilePicture_file16[];
extern const std::size_t kFilePicture_file16_size;
extern const unsigned char kFilePicture_file32[];
extern const std::size_t kFilePicture_file32_size;
extern const unsigned char kFilePicture_video16[];
extern const std::size_t kFilePicture_video16_size;
extern const unsigned char kFilePicture_video32[];
extern const std::size_t kFilePicture_video32_size;
extern const unsigned char kFilePicture_volume16[];
extern const std::size_t kFilePicture_volume16_size;
extern const unsigned char kFilePicture_volume32[];
extern const std::size_t kFilePicture_volume32_size;

namespace sk {

namespace {

// Never seen in the pictures: their keyed pixels.
constexpr rt::TColor kIconKey = 0xFF00FF;
constexpr int kVkF5 = rt::VK_F1 + 4;
constexpr const char* kNoDisk = "There is no disk in Drive or Drive is not ready";

const char* KindText(TskSkinFileListView::TRowKind kind) {
    switch (kind) {
        case TskSkinFileListView::TRowKind::Folder:
            return "dir";
        case TskSkinFileListView::TRowKind::Drive:
            return "drv";
        case TskSkinFileListView::TRowKind::File:
            break;
    }
    return "file";
}

// The icon theme's name for a volume of that drive type.
const char* VolumeIconName(int driveType) {
    switch (driveType) {
        case rt::dtRemovable:
            return "drive-removable-media";
        case rt::dtRemote:
            return "folder-remote";
        case rt::dtCDROM:
            return "media-optical";
        default:
            break;
    }
    return "drive-harddisk";
}

int KindIndex(TskFileIconKind kind) { return int(kind); }

bool EqualNoCase(const std::string& a, const std::string& b) {
    auto low = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return low(x) == low(y); });
}

}  // namespace

bool IsDrivesDirectory(const std::string& path) { return EqualNoCase(path, kDrivesDirectory); }

const rt::TBitmap& OwnFileIcon(TskFileIconKind kind, int size) {
    static std::array<std::array<rt::TBitmap, 2>, 4> pictures;
    static std::array<std::array<bool, 2>, 4> loaded{};
    const int s = size >= 32 ? 1 : 0;
    rt::TBitmap& picture = pictures[std::size_t(KindIndex(kind))][std::size_t(s)];
    bool& done = loaded[std::size_t(KindIndex(kind))][std::size_t(s)];
    if (done) return picture;
    rt::TImageBytes png{};
    switch (kind) {
        case TskFileIconKind::Folder:
            png = s ? rt::TImageBytes{kFilePicture_folder32, kFilePicture_folder32_size}
                    : rt::TImageBytes{kFilePicture_folder16, kFilePicture_folder16_size};
            break;
        case TskFileIconKind::File:
            png = s ? rt::TImageBytes{kFilePicture_file32, kFilePicture_file32_size}
                    : rt::TImageBytes{kFilePicture_file16, kFilePicture_file16_size};
            break;
        case TskFileIconKind::Video:
            png = s ? rt::TImageBytes{kFilePicture_video32, kFilePicture_video32_size}
                    : rt::TImageBytes{kFilePicture_video16, kFilePicture_video16_size};
            break;
        case TskFileIconKind::Volume:
            png = s ? rt::TImageBytes{kFilePicture_volume32, kFilePicture_volume32_size}
                    : rt::TImageBytes{kFilePicture_volume16, kFilePicture_volume16_size};
            break;
    }
    // The pictures are made by the build with the program: a failure here is a broken build.
    if (!rt::LoadPngBitmap(png, picture, kIconKey))
        throw rt::EInvalidGraphic("The file dialog's pictures are missing.");
    done = true;
    return picture;
}

const rt::TBitmap& FileIcon(const std::string& iconName, const std::string& genericIconName,
                            TskFileIconKind kind, int size) {
    static std::map<std::pair<std::string, int>, rt::TBitmap> themed;
    static std::map<std::pair<std::string, int>, bool> missing;
    for (const std::string* name : {&iconName, &genericIconName}) {
        if (name->empty()) continue;
        const auto key = std::make_pair(*name, size);
        const auto it = themed.find(key);
        if (it != themed.end()) return it->second;
        if (missing.count(key) != 0) continue;
        rt::TBitmap picture;
        if (rt::ThemeIcon(*name, size, kIconKey, picture))
            return themed.emplace(key, std::move(picture)).first->second;
        missing[key] = true;
    }
    return OwnFileIcon(kind, size);
}

void ShowFileMessage(TskSkinMessage* box, const std::string& text, bool error) {
    if (box != nullptr) {
        box->ShowMessageBox(text, error ? mtError : mtWarning, MsgDlgSet(mbOK), 0);
        return;
    }
    if (rt::TApplication* app = rt::Application())
        app->MessageBox(text, error ? "Error" : "Warning",
                        rt::MB_OK | (error ? rt::MB_ICONERROR : rt::MB_ICONWARNING));
}

// ---------------------------------------------------------------- file list

TskSkinFileListView::TskSkinFileListView(rt::TComponent* owner) : TskSkinListView(owner) {
    small_ = new rt::TImageList(this);
    small_->SetSize(16, 16);
    large_ = new rt::TImageList(this);
    large_->SetSize(32, 32);
    SetSmallImages(small_);
    SetLargeImages(large_);
    SetViewStyle(rt::TViewStyle::vsList);
    SetFolderColumns();
    OnColumnClick = [this](rt::TComponent*, int column) { ClickColumn(column); };
    OnSelectItem = [this](rt::TComponent*, rt::TListItem*, bool) {
        const int now = CurrentRow();
        if (now == lastCurrent_) return;
        lastCurrent_ = now;
        if (OnCurrentRowChange) OnCurrentRowChange(this);
    };
}

TskSkinFileListView::~TskSkinFileListView() {
    OnSelectItem = nullptr;
    OnColumnClick = nullptr;
}

void TskSkinFileListView::SetSkinMessage(TskSkinMessage* box) { skinMessage_ = box; }

void TskSkinFileListView::SetFolderColumns() {
    ClearColumns();
    AddColumn("Name", 200);
    AddColumn("Size", 70, rt::TAlignment::taRightJustify);
    AddColumn("Type", 150);
    AddColumn("Modified", 110);
    AddColumn("Attributes", 60);
}

void TskSkinFileListView::SetDriveColumns() {
    ClearColumns();
    AddColumn("Name", 200);
    AddColumn("Type", 100);
    AddColumn("Disk Size", 100, rt::TAlignment::taRightJustify);
    AddColumn("Free Space", 100, rt::TAlignment::taRightJustify);
    AddColumn("Attributes", 60);
}

int TskSkinFileListView::ImageOf(const std::string& iconName, const std::string& generic,
                                 TskFileIconKind kind) {
    const std::string key = iconName + '\n' + generic + '\n' + char('0' + KindIndex(kind));
    const auto it = imageIndex_.find(key);
    if (it != imageIndex_.end()) return it->second;
    small_->AddMasked(FileIcon(iconName, generic, kind, 16), kIconKey);
    const int index = large_->AddMasked(FileIcon(iconName, generic, kind, 32), kIconKey);
    imageIndex_[key] = index;
    return index;
}

void TskSkinFileListView::ClearRows() {
    Items().Clear();
    rows_.clear();
    lastCurrent_ = -1;
}

bool TskSkinFileListView::SetDirectory(const std::string& path) {
    if (IsDrivesDirectory(path)) {
        if (ShowsDrives()) return true;
        ListDrives();
        ChangedDirectory();
        return true;
    }
    if (path.empty() || path[0] != '/') return false;
    const std::string folder = rt::TrimPath(path);
    if (folder == directory_) return true;
    volumes_ = rt::Volumes();
    const int v = rt::VolumeOf(volumes_, folder);
    if (v >= 0 && folder == volumes_[std::size_t(v)].Path &&
        !rt::VolumeReadable(volumes_[std::size_t(v)])) {
        ShowFileMessage(skinMessage_, kNoDisk, false);
        return false;
    }
    const rt::TFolderListing listing = rt::ListFolder(folder, mask_);
    if (!listing.Error.empty() && listing.Entries.empty()) {
        // Not a folder at all: nothing to say, the list stays.
        if (!rt::FolderExists(folder)) return false;
        ShowFileMessage(skinMessage_,
                        "The folder \"" + folder + "\" cannot be read.\n\n" + listing.Error + ".",
                        true);
        return false;
    }
    directory_ = folder;
    Items().BeginUpdate();
    ClearRows();
    SetFolderColumns();
    for (const rt::TFileEntry& e : listing.Entries) {
        auto row = std::make_unique<Row>();
        row->name = e.Name;
        row->path = e.Path;
        row->kind = e.IsFolder ? TRowKind::Folder : TRowKind::File;
        row->size = e.Size;
        row->modified = e.Modified;
        rt::TListItem* item = Items().Add();
        item->SetCaption(e.Name);
        item->SetSubItems({e.IsFolder ? std::string(" ") : std::to_string(e.Size), e.TypeName,
                           rt::FormatFileTime(e.Modified), e.Attributes, e.Path,
                           KindText(row->kind)});
        item->SetImageIndex(ImageOf(e.IconName, e.GenericIconName,
                                    e.IsFolder  ? TskFileIconKind::Folder
                                    : e.IsVideo ? TskFileIconKind::Video
                                                : TskFileIconKind::File));
        item->Data = row.get();
        rows_.push_back(std::move(row));
    }
    Items().EndUpdate();
    descending_ = true;
    ClickColumn(scName);
    ChangedDirectory();
    return true;
}

void TskSkinFileListView::ListFolder(std::string folder) {
    const std::string keep = directory_;
    directory_.clear();
    if (!SetDirectory(folder)) directory_ = keep;
}

void TskSkinFileListView::ListDrives() {
    volumes_ = rt::Volumes();
    directory_ = kDrivesDirectory;
    Items().BeginUpdate();
    ClearRows();
    SetDriveColumns();
    for (const rt::TVolume& v : volumes_) {
        auto row = std::make_unique<Row>();
        row->name = v.Name;
        row->path = v.Path;
        row->kind = TRowKind::Drive;
        row->size = v.TotalBytes;
        rt::TListItem* item = Items().Add();
        item->SetCaption(v.Name);
        item->SetSubItems({rt::DriveTypeText(v.DriveType), rt::FormatThousands(v.TotalBytes),
                           rt::FormatThousands(v.FreeBytes), "", v.Path, "drv"});
        item->SetImageIndex(
            ImageOf(VolumeIconName(v.DriveType), "drive-harddisk", TskFileIconKind::Volume));
        item->Data = row.get();
        rows_.push_back(std::move(row));
    }
    Items().EndUpdate();
}

void TskSkinFileListView::ChangedDirectory() {
    if (OnDirectoryChange) OnDirectoryChange(this);
}

void TskSkinFileListView::SetMask(const std::string& mask) {
    mask_ = mask.empty() ? "*.*" : mask;
    Refresh();
}

void TskSkinFileListView::Refresh() {
    if (directory_.empty()) return;
    if (ShowsDrives()) {
        ListDrives();
        return;
    }
    const int current = CurrentRow();
    const std::string name = current >= 0 ? RowName(current) : std::string();
    ListFolder(directory_);
    if (!name.empty()) SetCurrentRow(FindRow(name));
}

bool TskSkinFileListView::Up() {
    if (directory_.empty() || ShowsDrives()) return false;
    const std::vector<rt::TVolume> volumes = rt::Volumes();
    const int v = rt::VolumeOf(volumes, directory_);
    if (v < 0 || volumes[std::size_t(v)].Path == directory_) return SetDirectory(kDrivesDirectory);
    const std::string parent = rt::ParentPath(directory_);
    const std::string from = directory_;
    if (parent.empty() || !SetDirectory(parent)) return false;
    // The folder we came from stays current, as a file manager does.
    for (int i = 0; i < RowCount(); ++i)
        if (RowPath(i) == from) {
            SetCurrentRow(i);
            break;
        }
    return true;
}

TskSkinFileListView::TRowKind TskSkinFileListView::RowKind(int row) const {
    if (row < 0 || row >= RowCount()) return TRowKind::File;
    return static_cast<const Row*>(Items().Item(row)->Data)->kind;
}

std::string TskSkinFileListView::RowPath(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return static_cast<const Row*>(Items().Item(row)->Data)->path;
}

std::string TskSkinFileListView::RowName(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return Items().Item(row)->Caption();
}

int TskSkinFileListView::FindRow(const std::string& name) const {
    for (int i = 0; i < RowCount(); ++i)
        if (Items().Item(i)->Caption() == name) return i;
    return -1;
}

int TskSkinFileListView::CurrentRow() const {
    const rt::TListItem* item = Selected();
    return item != nullptr ? item->Index() : -1;
}

void TskSkinFileListView::SetCurrentRow(int row) {
    if (row < 0 || row >= RowCount()) {
        ClearSelection();
        return;
    }
    SetSelected(Items().Item(row));
    MakeVisible(row);
}

int TskSkinFileListView::Compare(const Row& a, const Row& b) const {
    if (a.kind == TRowKind::Drive || b.kind == TRowKind::Drive) return 0;
    const bool af = a.kind == TRowKind::Folder, bf = b.kind == TRowKind::Folder;
    if (af != bf) return af ? -1 : 1;
    int c = 0;
    switch (sortColumn_) {
        case scName:
            c = rt::CompareListText(a.name, b.name);
            break;
        case scSize:
            c = a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
            break;
        case scModified:
            c = a.modified < b.modified ? -1 : a.modified > b.modified ? 1 : 0;
            break;
        default:
            break;
    }
    return descending_ ? -c : c;
}

void TskSkinFileListView::Sort() {
    if (ShowsDrives()) return;
    CustomSort([this](rt::TListItem* a, rt::TListItem* b, int) {
        return Compare(*static_cast<const Row*>(a->Data), *static_cast<const Row*>(b->Data));
    });
    lastCurrent_ = CurrentRow();
}

void TskSkinFileListView::ClickColumn(int column) {
    if (column == sortColumn_) {
        descending_ = !descending_;
    } else {
        sortColumn_ = column;
        descending_ = true;
    }
    Sort();
}

void TskSkinFileListView::KeyDown(int& key, rt::TShiftState shift) {
    if (key == rt::VK_BACK || (key == rt::VK_UP && (shift & rt::ssCtrl) != 0)) {
        Up();
        key = 0;
        return;
    }
    if (key == kVkF5) {
        Refresh();
        key = 0;
        return;
    }
    TskSkinListView::KeyDown(key, shift);
}

void TskSkinFileListView::WndProc(rt::TMessage& message) { TskSkinListView::WndProc(message); }

// ---------------------------------------------------------------- folder tree

TskSkinDirTreeView::TskSkinDirTreeView(rt::TComponent* owner) : TskSkinTreeView(owner) {
    images_ = new rt::TImageList(this);
    images_->SetSize(16, 16);
    folderImage_ =
        images_->AddMasked(FileIcon("folder", "", TskFileIconKind::Folder, 16), kIconKey);
    openFolderImage_ = images_->AddMasked(
        FileIcon("folder-open", "folder", TskFileIconKind::Folder, 16), kIconKey);
    volumeImage_ =
        images_->AddMasked(FileIcon("drive-harddisk", "", TskFileIconKind::Volume, 16), kIconKey);
    computerImage_ =
        images_->AddMasked(FileIcon("computer", "", TskFileIconKind::Volume, 16), kIconKey);
    SetImages(images_);
    OnExpanding = [this](rt::TComponent*, rt::TTreeNode* node, bool& allow) {
        if (node == nullptr || node->Level() == 0) return;
        if (node->Level() == 1) {
            const std::size_t i = std::size_t(node->Index());
            if (i < volumes_.size() && !rt::VolumeReadable(volumes_[i])) {
                ShowFileMessage(skinMessage_, kNoDisk, false);
                allow = false;
                return;
            }
        }
        if (node->Count() == 0) FillChildren(node);
    };
    Rebuild();
}

TskSkinDirTreeView::~TskSkinDirTreeView() { OnExpanding = nullptr; }

rt::TTreeNode* TskSkinDirTreeView::RootNode() const { return Items().GetFirstNode(); }

void TskSkinDirTreeView::Rebuild() {
    selecting_ = true;
    volumes_ = rt::Volumes();
    Items().BeginUpdate();
    Items().Clear();
    rt::TTreeNode* root = Items().AddChild(nullptr, "Computer");
    root->SetImageIndex(computerImage_);
    for (const rt::TVolume& v : volumes_) {
        rt::TTreeNode* n = Items().AddChild(root, v.Name + " (" + v.Path + ")");
        n->SetImageIndex(volumeImage_);
        n->SetHasChildren(true);
    }
    Items().EndUpdate();
    root->Expand(false);
    selecting_ = false;
}

std::string TskSkinDirTreeView::NodePath(const rt::TTreeNode* node) const {
    if (node == nullptr || node->Level() == 0) return {};
    if (node->Level() == 1) {
        const std::size_t i = std::size_t(node->Index());
        return i < volumes_.size() ? volumes_[i].Path : std::string();
    }
    return rt::JoinPath(NodePath(node->Parent()), node->Text());
}

std::string TskSkinDirTreeView::SelectedPath() const { return NodePath(Selected()); }

void TskSkinDirTreeView::FillChildren(rt::TTreeNode* node) {
    const std::string path = NodePath(node);
    std::vector<rt::TSubFolder> subs = rt::ListSubFolders(path, true);
    std::stable_sort(subs.begin(), subs.end(),
                     [](const rt::TSubFolder& a, const rt::TSubFolder& b) {
                         const int c = rt::CompareListText(a.Name, b.Name);
                         return c != 0 ? c < 0 : a.Name < b.Name;
                     });
    Items().BeginUpdate();
    for (const rt::TSubFolder& s : subs) {
        rt::TTreeNode* n = Items().AddChild(node, s.Name);
        n->SetImageIndex(folderImage_);
        n->SetSelectedIndex(openFolderImage_);
        n->SetHasChildren(s.HasSubFolders);
    }
    Items().EndUpdate();
    if (subs.empty()) node->SetHasChildren(false);
}

rt::TTreeNode* TskSkinDirTreeView::ChildNamed(rt::TTreeNode* node, const std::string& name) {
    if (node->Count() == 0 && node->HasChildren()) FillChildren(node);
    for (int i = 0; i < node->Count(); ++i)
        if (node->Item(i)->Text() == name) return node->Item(i);
    return nullptr;
}

bool TskSkinDirTreeView::SelectPath(const std::string& path) {
    const std::string target = rt::TrimPath(path);
    const int v = rt::VolumeOf(volumes_, target);
    rt::TTreeNode* root = RootNode();
    if (v < 0 || root == nullptr || v >= root->Count()) return false;
    rt::TTreeNode* node = root->Item(v);
    const std::string& volumePath = volumes_[std::size_t(v)].Path;
    std::string rest = target.size() > volumePath.size() ? target.substr(volumePath.size()) : "";
    std::size_t pos = 0;
    while (pos < rest.size()) {
        if (rest[pos] == '/') {
            ++pos;
            continue;
        }
        std::size_t end = rest.find('/', pos);
        if (end == std::string::npos) end = rest.size();
        rt::TTreeNode* child = ChildNamed(node, rest.substr(pos, end - pos));
        if (child == nullptr) break;
        node->Expand(false);
        node = child;
        pos = end;
    }
    selecting_ = true;
    SetSelected(node);
    node->MakeVisible();
    selecting_ = false;
    if (OnPathChange) OnPathChange(this);
    return true;
}

void TskSkinDirTreeView::Change(rt::TTreeNode* node) {
    TskSkinTreeView::Change(node);
    if (!selecting_ && OnPathChange) OnPathChange(this);
}

void TskSkinDirTreeView::KeyDown(int& key, rt::TShiftState shift) {
    if (key == kVkF5) {
        const std::string path = SelectedPath();
        Rebuild();
        if (!path.empty()) SelectPath(path);
        key = 0;
        return;
    }
    TskSkinTreeView::KeyDown(key, shift);
}

// ---------------------------------------------------------------- drive list

TskSkinShellDriveComboBox::TskSkinShellDriveComboBox(rt::TComponent* owner)
    : TskSkinComboBox(owner) {
    SetItemHeight(18);
    OnDrawItem = [this](rt::TComponent*, rt::TCanvas& c, int index, const rt::TRect& r,
                        rt::TOwnerDrawState) {
        if (index < 0 || index >= int(volumes_.size())) return;
        const rt::TBitmap& icon = FileIcon(VolumeIconName(volumes_[std::size_t(index)].DriveType),
                                           "drive-harddisk", TskFileIconKind::Volume, 16);
        const int iconTop = r.Top + (r.Height() - icon.Height()) / 2;
        c.Draw(r.Left + 2, iconTop, icon);
        rt::TRect tr = rt::Rect(r.Left + 2 + icon.Width() + 4, r.Top, r.Right - 1, r.Bottom);
        c.Brush.Style = rt::TBrushStyle::bsClear;
        c.DrawText(Item(index), tr,
                   rt::DT_LEFT | rt::DT_VCENTER | rt::DT_SINGLELINE | rt::DT_NOPREFIX);
    };
    UpdateDrives();
}

void TskSkinShellDriveComboBox::UpdateDrives() {
    const std::string keep = Drive();
    volumes_ = rt::Volumes();
    std::vector<std::string> names;
    for (const rt::TVolume& v : volumes_) names.push_back(v.Name);
    SetItems(names);
    SetItemIndex(-1);
    if (!keep.empty()) SetDrive(keep);
}

std::string TskSkinShellDriveComboBox::Drive() const {
    const int i = ItemIndex();
    return i >= 0 && i < int(volumes_.size()) ? volumes_[std::size_t(i)].Path : std::string();
}

bool TskSkinShellDriveComboBox::SetDrive(const std::string& path) {
    const int v = rt::VolumeOf(volumes_, path);
    SetItemIndex(v);
    return v >= 0;
}

// ---------------------------------------------------------------- file-type list

TskSkinFilterComboBox::TskSkinFilterComboBox(rt::TComponent* owner) : TskSkinComboBox(owner) {
    SetFilter("All files|*.*");
}

void TskSkinFilterComboBox::SetFilter(const std::string& filter) {
    filter_ = filter;
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= filter.size() && !filter.empty()) {
        std::size_t end = filter.find('|', pos);
        if (end == std::string::npos) end = filter.size();
        parts.push_back(filter.substr(pos, end - pos));
        pos = end + 1;
    }
    std::vector<std::string> descriptions;
    masks_.clear();
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        descriptions.push_back(parts[i]);
        masks_.push_back(i + 1 < parts.size() ? parts[i + 1] : std::string());
    }
    SetItems(descriptions);
    SetItemIndex(descriptions.empty() ? -1 : 0);
}

std::string TskSkinFilterComboBox::Mask() {
    if (masks_.empty()) return "*.*";
    if (ItemIndex() < 0 || ItemIndex() >= int(masks_.size())) SetItemIndex(int(masks_.size()) - 1);
    const std::string& m = masks_[std::size_t(ItemIndex())];
    return m.empty() ? "*.*" : m;
}

}  // namespace sk
