#pragma once
// The class library's tree view and list view. Each wraps one of the platform's item views,
// which does the real work: item layout, keyboard navigation, type-ahead search, selection,
// expanding and collapsing. The views show no scroll bars of their own; their scroll state
// (range, page, position) stays readable through ScrollInfo and movable through WM_VSCROLL /
// WM_HSCROLL and Scroll, so that a skinned view can drive external bars.
//
// Scroll state, in the window system's terms: positions run from Min to Max - Page + 1, and
// Page is what one screen shows. The unit depends on the view and the bar:
//   tree view, vertical            rows (visible nodes), Max = visible nodes - 1
//   tree view, horizontal          pixels, Max = content width - 1
//   list view report, vertical     rows, Max = item count - 1, Page = rows that fit whole
//   list view list, horizontal     columns, Max = columns - 1, Page = columns that fit whole
//   everything else                pixels, Max = content extent - 1
// With nothing to scroll, Max is below Page (and may be -1 when there is no content).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/ImgList.h"
#include "runtime/StdCtrls.h"

namespace rt {

class TCustomTreeView;
class TCustomListView;
struct TreeViewImpl;
struct ListViewImpl;

// WM_HSCROLL / WM_VSCROLL: WParam's low 16 bits the request, the bits above them the position
// for SB_THUMBPOSITION and SB_THUMBTRACK (not cut to 16 bits, so long views scroll all the way).
constexpr unsigned WM_HSCROLL = 0x0114;
constexpr unsigned WM_VSCROLL = 0x0115;
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

enum TScrollBarKind { SB_HORZ = 0, SB_VERT = 1 };

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    friend bool operator==(const TScrollInfo&, const TScrollInfo&) = default;
};

// ---------------------------------------------------------------- tree view

class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;
    ~TTreeNode();

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The image while the node is selected (-1: ImageIndex).
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    void* Data = nullptr;

    TTreeNode* Parent() const { return parent_; }
    int Count() const { return int(children_.size()); }
    TTreeNode* Item(int i) const { return children_.at(std::size_t(i)).get(); }
    // Position among its siblings.
    int Index() const { return row_; }
    int Level() const;
    TCustomTreeView* TreeView() const { return tree_; }

    // A node may claim children it does not have yet: it shows an expand button, and the
    // tree's OnExpanding adds them when it is first expanded.
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool value);
    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    void DeleteChildren();
    bool Selected() const;
    // Scrolls the tree so that the node shows, expanding its parents.
    void MakeVisible();
    // The node's row in the view's coordinates (empty when it is not shown); textOnly gives
    // the text's rectangle only.
    TRect DisplayRect(bool textOnly) const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    friend class TreeModel;
    TTreeNode(TCustomTreeView* tree, TTreeNode* parent) : tree_(tree), parent_(parent) {}
    void Renumber(int from);

    TCustomTreeView* tree_;
    TTreeNode* parent_;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    std::string text_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int row_ = 0;
    bool hasChildren_ = false;
    bool fetched_ = false;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView& tree);
    ~TTreeNodes();

    // A new last child of parent (null: a new top-level node).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    // A new last sibling of node (null: a new top-level node).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    // Removes the node with its children.
    void Delete(TTreeNode* node);
    void Clear();
    // Every node, expanded or not.
    int Count() const { return count_; }
    int TopLevelCount() const;
    TTreeNode* TopLevelItem(int i) const;
    TTreeNode* GetFirstNode() const { return TopLevelCount() > 0 ? TopLevelItem(0) : nullptr; }
    // Many changes at once: the view lays out once at EndUpdate.
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TCustomTreeView;
    friend class TTreeNode;
    friend class TreeModel;
    TTreeNode* Insert(TTreeNode* parent, const std::string& text);
    TCustomTreeView& tree_;
    std::unique_ptr<TTreeNode> root_;  // holds the top-level nodes; never shown
    int count_ = 0;
    int updating_ = 0;
    // BeginUpdate calls met while the view fetches a node's children (see BeginUpdate).
    int fetchUpdates_ = 0;
};

using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;
using TTVExpandingEvent =
    std::function<void(TComponent* sender, TTreeNode* node, bool& allowExpansion)>;

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;

    TTreeNodes& Items() { return *items_; }
    const TTreeNodes& Items() const { return *items_; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    // The node at a point of the view, or null.
    TTreeNode* GetNodeAt(int x, int y) const;
    TTreeNode* TopItem() const;

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool ShowLines = true;
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value);
    int Indent() const { return indent_; }
    void SetIndent(int value);

    // Rows that fit whole in the view, and the rows shown now (expanded nodes count their
    // shown children).
    int VisibleRowCount() const;
    int ShownNodeCount() const;
    TScrollInfo ScrollInfo(TScrollBarKind bar) const;

    TTVChangedEvent OnChange;
    // Before a node shows its children for the first time (or each time, for a node that
    // claims children it does not have): add them here; clearing allowExpansion keeps the
    // node closed.
    TTVExpandingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVChangedEvent OnCollapsed;

    void WndProc(TMessage& message) override;

protected:
    // Hooks for the platform view's own changes: the scroll state may have moved.
    virtual void ViewScrolled() {}
    virtual void Change(TTreeNode* node);
    // The view's colours and font: Color as background, Font for the text.
    void ApplyLook();
    void FontChanged() override;
    void ColorChanged() override;
    void Resize() override;
    void Paint(TCanvas& canvas) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend class TreeModel;
    friend class TreeWidget;
    friend struct TreeViewImpl;
    bool Expanding(TTreeNode* node);

    std::unique_ptr<TTreeNodes> items_;
    std::unique_ptr<TreeViewImpl> view_;
    TImageList* images_ = nullptr;
    bool showRoot_ = true;
    int indent_ = 19;
};

// ---------------------------------------------------------------- list view

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListColumn {
public:
    std::string Caption;
    int Width = 50;
    TAlignment Alignment = TAlignment::taLeftJustify;
    // Image of the column's header from the view's small images (-1: none).
    int ImageIndex = -1;
};

class TListItem {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // The texts of the columns after the first.
    const std::vector<std::string>& SubItems() const { return subItems_; }
    void SetSubItems(std::vector<std::string> texts);
    void AddSubItem(const std::string& text);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    void* Data = nullptr;
    int Index() const { return row_; }
    bool Selected() const;
    // The item's text in a column (0: the caption).
    const std::string& Text(int column) const;

private:
    friend class TListItems;
    friend class TCustomListView;
    friend class ListModel;
    explicit TListItem(TCustomListView* view) : view_(view) {}
    void Changed();
    TCustomListView* view_;
    std::string caption_;
    std::vector<std::string> subItems_;
    int imageIndex_ = -1;
    int row_ = 0;
};

class TListItems {
public:
    explicit TListItems(TCustomListView& view) : view_(view) {}
    ~TListItems();
    TListItem* Add();
    void Delete(int index);
    void Clear();
    int Count() const { return int(items_.size()); }
    TListItem* Item(int i) const { return items_.at(std::size_t(i)).get(); }
    // Many changes at once: the view lays out once at EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updating_ > 0; }

private:
    friend class TCustomListView;
    friend class ListModel;
    TCustomListView& view_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updating_ = 0;
};

// Negative: a before b; 0: equal; positive: a after b.
using TLVCompareEvent = std::function<int(TListItem* a, TListItem* b, int column)>;
using TLVColumnClickEvent = std::function<void(TComponent* sender, int column)>;
using TLVSelectItemEvent = std::function<void(TComponent* sender, TListItem* item, bool selected)>;

// One header section as the header shows it now.
struct THeaderSection {
    int Column = 0;  // index into Columns
    TRect Rect;      // in header coordinates
};

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    TListItems& Items() { return *items_; }
    const TListItems& Items() const { return *items_; }

    int ColumnCount() const { return int(columns_.size()); }
    TListColumn& Column(int i) { return columns_.at(std::size_t(i)); }
    const TListColumn& Column(int i) const { return columns_.at(std::size_t(i)); }
    TListColumn& AddColumn(const std::string& caption, int width,
                           TAlignment alignment = TAlignment::taLeftJustify);
    void ClearColumns();
    // After changing a column's fields.
    void ColumnsChanged();
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);

    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* images);
    TImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TImageList* images);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);

    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const;
    int SelCount() const;
    TListItem* GetItemAt(int x, int y) const;
    void ClearSelection();
    // The item's rectangle in the view's coordinates (empty when it is not laid out).
    TRect ItemRect(int index) const;
    // Scrolls so that the item shows.
    void MakeVisible(int index);

    // Sorts by a column's text (0: the caption), with OnCompare deciding when it is set;
    // items that compare equal keep their order. The selection stays on its items.
    void SortByColumn(int column, bool ascending);
    void CustomSort(const TLVCompareEvent& compare);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }

    // Report style: the rows that fit whole below the header; list style: the items that fit
    // in the columns that fit whole; icon styles: the item count.
    int VisibleRowCount() const;
    int TopIndex() const;
    TScrollInfo ScrollInfo(TScrollBarKind bar) const;
    // Scrolls by pixels; in report and list style by the rows (columns) those pixels cover, as
    // the window system's list view does.
    void Scroll(int dx, int dy);
    // The first item's size (0 x 0 without items).
    int ItemWidth() const;
    int ItemHeight() const;

    // The column header (report style), in the view's coordinates; empty when hidden.
    TRect HeaderRect() const;
    std::vector<THeaderSection> HeaderSections() const;
    // Whether x (header coordinates) lies on a divider, where a press resizes a section.
    bool HeaderDividerAt(int x) const;
    // Repaints the header now.
    void RepaintHeader();
    // The column a left-button press on the header went down on (-1: none), and whether that
    // press shows it pressed (not when it went down on a divider); both clear on release.
    int PressedColumn() const { return pressedColumn_; }
    bool HeaderPressed() const { return headerPressed_; }

    TLVCompareEvent OnCompare;
    TLVColumnClickEvent OnColumnClick;
    TLVSelectItemEvent OnSelectItem;
    TNotifyEvent OnDblClick;

    void WndProc(TMessage& message) override;

protected:
    // The header's painting: into a bitmap of the header's size, shown in one copy. The
    // default draws every section in the default look.
    virtual void PaintHeader(TCanvas& canvas);
    // The platform view scrolled or laid out again: the scroll state may have changed.
    virtual void ViewScrolled() {}
    void ApplyLook();
    void FontChanged() override;
    void ColorChanged() override;
    void Resize() override;
    void Paint(TCanvas& canvas) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class ListModel;
    friend class ListHeader;
    friend struct ListViewImpl;
    template <class View>
    friend class ListPart;
    void ItemChanged(TListItem& item);
    // The cell of the icon, small icon and list styles, measured from the items.
    void UpdateGrid();
    // Measures what changed and lays the platform view out now.
    void SyncView() const;
    void Sort(const std::function<bool(const TListItem&, const TListItem&)>& less);

    std::unique_ptr<TListItems> items_;
    std::vector<TListColumn> columns_;
    std::unique_ptr<ListViewImpl> view_;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    bool showColumnHeaders_ = true;
    bool multiSelect_ = false;
    TImageList* smallImages_ = nullptr;
    TImageList* largeImages_ = nullptr;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    int pressedColumn_ = -1;
    bool headerPressed_ = false;
};

// Case-insensitive comparison of two UTF-8 texts as a list view sorts them (ASCII letters
// folded, other bytes by value); < 0, 0, > 0.
int CompareListText(const std::string& a, const std::string& b);

}  // namespace rt
