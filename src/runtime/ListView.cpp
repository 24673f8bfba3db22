// The list view on the platform's item views: items live in TListItems, one table model shows
// them to a QTreeView (report style, with our own header painting) and a QListView (icon, small
// icon and list styles), which share the selection.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "runtime/ComCtrls.h"
#include "runtime/ComCtrlsQt.h"
#include "runtime/ControlWidget.h"
#include "runtime/QtBridge.h"

namespace rt {

int CompareListText(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(TCustomListView& view) : view_(view) {}

    TListItem* ItemOf(int row) const {
        return row >= 0 && row < view_.items_->Count() ? view_.items_->Item(row) : nullptr;
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : view_.items_->Count();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : std::max(1, view_.ColumnCount());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const TListItem* item = ItemOf(index.row());
        if (item == nullptr) return {};
        const int column = index.column();
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(item->Text(column));
            case Qt::DecorationRole: {
                if (column != 0) return {};
                const bool large = view_.viewStyle_ == TViewStyle::vsIcon;
                const TImageList* list = large ? view_.largeImages_ : view_.smallImages_;
                PixmapCache& cache = large ? largeIcons_ : smallIcons_;
                if (const QPixmap* p = cache.Get(list, item->imageIndex_)) return *p;
                return {};
            }
            case Qt::TextAlignmentRole: {
                if (view_.viewStyle_ != TViewStyle::vsReport || column >= view_.ColumnCount())
                    return {};
                const TAlignment a = view_.Column(column).Alignment;
                Qt::Alignment h = a == TAlignment::taRightJustify ? Qt::AlignRight
                                  : a == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
                return QVariant::fromValue(h | Qt::AlignVCenter);
            }
            default:
                return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::changePersistentIndexList;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveColumns;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;
    using QAbstractTableModel::persistentIndexList;

    TCustomListView& view_;
    mutable PixmapCache smallIcons_, largeIcons_;
};

// Both platform views hand their keys and releases back to the list view in the same way.
template <class View>
class ListPart : public View {
public:
    ListPart(TCustomListView& owner, QWidget* parent) : View(parent), owner_(owner) {}
    void Sync() {
        this->executeDelayedItemsLayout();
        this->updateGeometries();
    }

protected:
    bool focusNextPrevChild(bool) override { return false; }
    void keyPressEvent(QKeyEvent* e) override {
        if (LeaveKeyToForm(*e)) {
            e->ignore();
            return;
        }
        View::keyPressEvent(e);
        GuardedCall([&] { owner_.ViewScrolled(); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        View::mouseReleaseEvent(e);
        GuardedCall([&] { owner_.ViewScrolled(); });
    }
    void focusInEvent(QFocusEvent* e) override {
        View::focusInEvent(e);
        NoteFocusIn(owner_);
    }
    void focusOutEvent(QFocusEvent* e) override {
        View::focusOutEvent(e);
        owner_.Perform(WM_KILLFOCUS, 0, 0);
    }

    TCustomListView& owner_;
};

using ReportView = ListPart<QTreeView>;
using IconView = ListPart<QListView>;

// The report's column header: the platform header resizes, clicks and lays out the sections;
// the list view paints them into one bitmap per paint and follows presses.
class ListHeader : public QHeaderView {
public:
    ListHeader(TCustomListView& owner, QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QWidget* vp = viewport();
        TBitmap b(vp->width(), vp->height());
        if (b.Empty()) return;
        GuardedCall([&] { owner_.PaintHeader(b.Canvas()); });
        QPainter p(vp);
        p.drawImage(0, 0,
                    QImage(reinterpret_cast<const uchar*>(b.Pixels().data()), b.Width(), b.Height(),
                           qsizetype(b.Width()) * 4, QImage::Format_RGB32));
    }
    void mousePressEvent(QMouseEvent* e) override {
        QHeaderView::mousePressEvent(e);
        if (e->button() != Qt::LeftButton) return;
        const int x = e->position().toPoint().x();
        owner_.pressedColumn_ = logicalIndexAt(x);
        owner_.headerPressed_ = !owner_.HeaderDividerAt(x);
        viewport()->repaint();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QHeaderView::mouseReleaseEvent(e);
        if (e->button() != Qt::LeftButton) return;
        owner_.pressedColumn_ = -1;
        owner_.headerPressed_ = false;
        viewport()->repaint();
    }

private:
    TCustomListView& owner_;
};

struct ListViewImpl {
    std::unique_ptr<ListModel> model;
    ReportView* report = nullptr;  // children of the control's widget, deleted with it
    IconView* icons = nullptr;
    ListHeader* header = nullptr;
    QSize grid;             // icon and list styles: the cell every item gets
    bool gridDirty = true;  // the items' texts changed since the cell was measured

    QAbstractItemView& Active(TViewStyle s) const {
        return s == TViewStyle::vsReport ? static_cast<QAbstractItemView&>(*report) : *icons;
    }
    void Sync(TViewStyle s) const {
        if (s == TViewStyle::vsReport)
            report->Sync();
        else
            icons->Sync();
    }
};

// ---------------------------------------------------------------- items

void TListItem::Changed() {
    if (view_ != nullptr) view_->ItemChanged(*this);
}

void TListItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}

void TListItem::SetSubItems(std::vector<std::string> texts) {
    subItems_ = std::move(texts);
    Changed();
}

void TListItem::AddSubItem(const std::string& text) {
    subItems_.push_back(text);
    Changed();
}

void TListItem::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}

bool TListItem::Selected() const {
    const ListViewImpl& impl = *view_->view_;
    return impl.report->selectionModel()->isSelected(impl.model->index(row_, 0));
}

const std::string& TListItem::Text(int column) const {
    static const std::string none;
    if (column <= 0) return caption_;
    return std::size_t(column - 1) < subItems_.size() ? subItems_[std::size_t(column - 1)] : none;
}

TListItems::~TListItems() = default;

TListItem* TListItems::Add() {
    ListModel& model = *view_.view_->model;
    const int row = Count();
    const bool signal = updating_ == 0;
    if (signal) model.beginInsertRows({}, row, row);
    auto item = std::unique_ptr<TListItem>(new TListItem(&view_));
    item->row_ = row;
    TListItem* raw = item.get();
    items_.push_back(std::move(item));
    view_.view_->gridDirty = true;
    if (signal) model.endInsertRows();
    return raw;
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    ListModel& model = *view_.view_->model;
    const bool signal = updating_ == 0;
    if (signal) model.beginRemoveRows({}, index, index);
    std::unique_ptr<TListItem> doomed = std::move(items_[std::size_t(index)]);
    items_.erase(items_.begin() + index);
    for (std::size_t i = std::size_t(index); i < items_.size(); ++i) items_[i]->row_ = int(i);
    view_.view_->gridDirty = true;
    if (signal) model.endRemoveRows();
}

void TListItems::Clear() {
    ListModel& model = *view_.view_->model;
    const bool signal = updating_ == 0;
    if (signal) model.beginResetModel();
    items_.clear();
    view_.view_->gridDirty = true;
    if (signal) model.endResetModel();
}

void TListItems::BeginUpdate() {
    // The model is reset at the end: the selection starts afresh.
    if (updating_++ == 0) view_.view_->model->beginResetModel();
}

void TListItems::EndUpdate() {
    if (updating_ == 0) return;
    if (--updating_ != 0) return;
    view_.view_->model->endResetModel();
    view_.SetViewStyle(view_.viewStyle_);
}

// ---------------------------------------------------------------- the view

namespace {

constexpr int kIconCellWidth = 76;

}  // namespace

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), view_(std::make_unique<ListViewImpl>()) {
    items_ = std::make_unique<TListItems>(*this);
    color_ = clWindow;
    TabStop = true;
    ListViewImpl& impl = *view_;
    impl.model = std::make_unique<ListModel>(*this);
    QWidget* host = Impl().widget;

    impl.report = new ReportView(*this, host);
    impl.header = new ListHeader(*this, impl.report);
    impl.report->setHeader(impl.header);
    SetUpItemView(*impl.report);
    impl.report->setRootIsDecorated(false);
    impl.report->setItemsExpandable(false);
    impl.report->setUniformRowHeights(true);
    impl.report->setAllColumnsShowFocus(true);
    impl.report->setSelectionBehavior(QAbstractItemView::SelectRows);
    impl.report->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    impl.report->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    impl.report->setModel(impl.model.get());
    impl.header->setStretchLastSection(false);
    impl.header->setSectionsMovable(false);
    impl.header->setSectionsClickable(true);
    impl.header->setHighlightSections(false);
    impl.header->setSectionResizeMode(QHeaderView::Interactive);
    impl.header->setMinimumSectionSize(0);

    impl.icons = new IconView(*this, host);
    SetUpItemView(*impl.icons);
    impl.icons->setModel(impl.model.get());
    QItemSelectionModel* own = impl.icons->selectionModel();
    impl.icons->setSelectionModel(impl.report->selectionModel());
    delete own;
    impl.icons->setMovement(QListView::Static);
    impl.icons->setUniformItemSizes(true);
    impl.icons->setResizeMode(QListView::Adjust);
    impl.icons->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    impl.icons->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    auto scrolled = [this] { GuardedCall([this] { ViewScrolled(); }); };
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(impl.report),
                                 static_cast<QAbstractItemView*>(impl.icons)}) {
        QObject::connect(v->verticalScrollBar(), &QScrollBar::valueChanged, v, scrolled);
        QObject::connect(v->verticalScrollBar(), &QScrollBar::rangeChanged, v, scrolled);
        QObject::connect(v->horizontalScrollBar(), &QScrollBar::valueChanged, v, scrolled);
        QObject::connect(v->horizontalScrollBar(), &QScrollBar::rangeChanged, v, scrolled);
        QObject::connect(v, &QAbstractItemView::doubleClicked, v, [this](const QModelIndex&) {
            if (OnDblClick) GuardedCall([this] { OnDblClick(this); });
        });
    }
    QObject::connect(impl.header, &QHeaderView::sectionClicked, impl.header, [this](int column) {
        if (OnColumnClick) GuardedCall([&] { OnColumnClick(this, column); });
    });
    QObject::connect(impl.header, &QHeaderView::sectionResized, impl.header,
                     [this](int column, int, int size) {
                         if (column >= 0 && column < ColumnCount())
                             columns_[std::size_t(column)].Width = size;
                     });
    QObject::connect(impl.report->selectionModel(), &QItemSelectionModel::selectionChanged,
                     impl.report, [this](const QItemSelection& on, const QItemSelection& off) {
                         if (!OnSelectItem) return;
                         auto tell = [&](const QItemSelection& s, bool selected) {
                             for (const QItemSelectionRange& r : s)
                                 for (int row = r.top(); row <= r.bottom(); ++row)
                                     if (TListItem* item = view_->model->ItemOf(row))
                                         GuardedCall([&] { OnSelectItem(this, item, selected); });
                         };
                         tell(off, false);
                         tell(on, true);
                     });
    host->setFocusProxy(impl.icons);
    SetBounds(0, 0, 250, 150);
    ApplyLook();
    SetViewStyle(TViewStyle::vsIcon);
}

TCustomListView::~TCustomListView() {
    delete view_->report;
    delete view_->icons;
    view_->report = nullptr;
    view_->icons = nullptr;
    items_->items_.clear();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    ListViewImpl& impl = *view_;
    const bool report = style == TViewStyle::vsReport;
    QWidget* host = Impl().widget;
    const bool hadFocus = host->hasFocus();
    QAbstractItemView& now = impl.Active(style);
    host->setFocusProxy(&now);
    impl.report->setVisible(report);
    impl.icons->setVisible(!report);
    now.setGeometry(0, 0, Width(), Height());
    impl.model->smallIcons_.Clear();
    impl.model->largeIcons_.Clear();
    if (!report) {
        QListView& v = *impl.icons;
        const bool icon = style == TViewStyle::vsIcon;
        v.setViewMode(icon ? QListView::IconMode : QListView::ListMode);
        v.setMovement(QListView::Static);
        v.setResizeMode(QListView::Adjust);
        v.setWrapping(true);
        v.setWordWrap(icon);
        v.setFlow(style == TViewStyle::vsList ? QListView::TopToBottom : QListView::LeftToRight);
        UpdateGrid();
    }
    // The icons differ between the styles.
    if (items_->Count() > 0)
        emit impl.model->dataChanged(impl.model->index(0, 0),
                                     impl.model->index(items_->Count() - 1, 0));
    impl.report->setHeaderHidden(!showColumnHeaders_);
    if (hadFocus) now.setFocus();
    SyncView();
    GuardedCall([this] { ViewScrolled(); });
}

void TCustomListView::UpdateGrid() {
    ListViewImpl& impl = *view_;
    impl.gridDirty = false;
    if (viewStyle_ == TViewStyle::vsReport) return;
    QListView& v = *impl.icons;
    const QFontMetrics fm(v.font());
    const bool icon = viewStyle_ == TViewStyle::vsIcon;
    const TImageList* images = icon ? largeImages_ : smallImages_;
    const int iw = images != nullptr ? images->Width() : icon ? 32 : 16;
    const int ih = images != nullptr ? images->Height() : icon ? 32 : 16;
    v.setIconSize(QSize(iw, ih));
    if (icon) {
        impl.grid = QSize(kIconCellWidth, ih + 2 * fm.height() + 8);
    } else {
        // Every cell is as wide as the widest caption, as the window system's list does.
        int widest = 0;
        for (const auto& item : items_->items_)
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(item->caption_)));
        // The platform view's item adds margins around icon and text.
        impl.grid = QSize(std::min(widest + iw + 24, 400), std::max(fm.height(), ih) + 3);
    }
    if (v.gridSize() != impl.grid) v.setGridSize(impl.grid);
}

void TCustomListView::SyncView() const {
    if (view_->gridDirty && viewStyle_ != TViewStyle::vsReport)
        const_cast<TCustomListView*>(this)->UpdateGrid();
    view_->Sync(viewStyle_);
}

TListColumn& TCustomListView::AddColumn(const std::string& caption, int width,
                                        TAlignment alignment) {
    const int n = ColumnCount();
    const bool grows = n >= 1;
    if (grows) view_->model->beginInsertColumns({}, n, n);
    columns_.push_back(TListColumn{caption, width, alignment, -1});
    if (grows) view_->model->endInsertColumns();
    ColumnsChanged();
    return columns_.back();
}

void TCustomListView::ClearColumns() {
    const int n = ColumnCount();
    if (n > 1) view_->model->beginRemoveColumns({}, 1, n - 1);
    columns_.clear();
    if (n > 1) view_->model->endRemoveColumns();
    ColumnsChanged();
}

void TCustomListView::ColumnsChanged() {
    ListHeader& h = *view_->header;
    for (int i = 0; i < ColumnCount(); ++i)
        if (h.sectionSize(i) != columns_[std::size_t(i)].Width)
            h.resizeSection(i, std::max(0, columns_[std::size_t(i)].Width));
    if (ColumnCount() == 0) h.resizeSection(0, 0);
    view_->report->viewport()->update();
    h.viewport()->update();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    showColumnHeaders_ = value;
    view_->report->setHeaderHidden(!value);
}

void TCustomListView::SetSmallImages(TImageList* images) {
    if (smallImages_ != nullptr && smallImages_ != largeImages_)
        RemoveFreeNotification(smallImages_);
    smallImages_ = images;
    if (images != nullptr) FreeNotification(images);
    if (images != nullptr) view_->report->setIconSize(QSize(images->Width(), images->Height()));
    SetViewStyle(viewStyle_);
}

void TCustomListView::SetLargeImages(TImageList* images) {
    if (largeImages_ != nullptr && largeImages_ != smallImages_)
        RemoveFreeNotification(largeImages_);
    largeImages_ = images;
    if (images != nullptr) FreeNotification(images);
    SetViewStyle(viewStyle_);
}

void TCustomListView::SetMultiSelect(bool value) {
    multiSelect_ = value;
    const auto mode =
        value ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    view_->report->setSelectionMode(mode);
    view_->icons->setSelectionMode(mode);
}

// A row counts as selected when its first column is: the report view selects whole rows, the
// list and icon views (sharing its selection) only the first column.
static std::vector<int> SelectedRows(const QItemSelectionModel& s) {
    std::vector<int> rows;
    for (const QModelIndex& i : s.selectedIndexes())
        if (i.column() == 0) rows.push_back(i.row());
    return rows;
}

TListItem* TCustomListView::Selected() const {
    const std::vector<int> rows = SelectedRows(*view_->report->selectionModel());
    const auto first = std::min_element(rows.begin(), rows.end());
    return view_->model->ItemOf(first != rows.end() ? *first : -1);
}

void TCustomListView::SetSelected(TListItem* item) {
    QItemSelectionModel& s = *view_->report->selectionModel();
    if (item == nullptr) {
        s.clearSelection();
        return;
    }
    s.setCurrentIndex(view_->model->index(item->row_, 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

TListItem* TCustomListView::ItemFocused() const {
    return view_->model->ItemOf(view_->report->selectionModel()->currentIndex().row());
}

int TCustomListView::SelCount() const {
    return int(SelectedRows(*view_->report->selectionModel()).size());
}

void TCustomListView::ClearSelection() { view_->report->selectionModel()->clearSelection(); }

TListItem* TCustomListView::GetItemAt(int x, int y) const {
    QAbstractItemView& v = view_->Active(viewStyle_);
    SyncView();
    const QPoint p = v.viewport()->mapFrom(v.parentWidget(), QPoint(x, y));
    QModelIndex i = v.indexAt(p);
    return i.isValid() ? view_->model->ItemOf(i.row()) : nullptr;
}

TRect TCustomListView::ItemRect(int index) const {
    QAbstractItemView& v = view_->Active(viewStyle_);
    SyncView();
    QRect r = v.visualRect(view_->model->index(index, 0));
    if (r.isEmpty()) return {};
    if (viewStyle_ == TViewStyle::vsReport)
        r = QRect(0, r.top(), view_->header->length(), r.height())
                .translated(-view_->report->horizontalScrollBar()->value(), 0);
    const QPoint o = v.viewport()->mapTo(v.parentWidget(), r.topLeft());
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

void TCustomListView::MakeVisible(int index) {
    view_->Active(viewStyle_).scrollTo(view_->model->index(index, 0));
}

void TCustomListView::Sort(const std::function<bool(const TListItem&, const TListItem&)>& less) {
    ListModel& model = *view_->model;
    emit model.layoutAboutToBeChanged();
    std::vector<TListItem*> before;
    before.reserve(items_->items_.size());
    for (const auto& item : items_->items_) before.push_back(item.get());
    std::stable_sort(items_->items_.begin(), items_->items_.end(),
                     [&](const auto& a, const auto& b) { return less(*a, *b); });
    for (std::size_t i = 0; i < items_->items_.size(); ++i) items_->items_[i]->row_ = int(i);
    // Selection and current item travel with their items.
    const QModelIndexList from = model.persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
        const std::size_t row = std::size_t(i.row());
        to.push_back(row < before.size() ? model.index(before[row]->row_, i.column())
                                         : QModelIndex());
    }
    model.changePersistentIndexList(from, to);
    emit model.layoutChanged();
}

void TCustomListView::SortByColumn(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    Sort([&](const TListItem& a, const TListItem& b) {
        auto& x = const_cast<TListItem&>(a);
        auto& y = const_cast<TListItem&>(b);
        const int c =
            OnCompare ? OnCompare(&x, &y, column) : CompareListText(a.Text(column), b.Text(column));
        return ascending ? c < 0 : c > 0;
    });
}

void TCustomListView::CustomSort(const TLVCompareEvent& compare) {
    Sort([&](const TListItem& a, const TListItem& b) {
        return compare(const_cast<TListItem*>(&a), const_cast<TListItem*>(&b), sortColumn_) < 0;
    });
}

int TCustomListView::ItemHeight() const {
    QAbstractItemView& v = view_->Active(viewStyle_);
    SyncView();
    if (items_->Count() == 0) return 0;
    return v.visualRect(view_->model->index(0, 0)).height();
}

int TCustomListView::ItemWidth() const {
    QAbstractItemView& v = view_->Active(viewStyle_);
    SyncView();
    if (items_->Count() == 0) return 0;
    if (viewStyle_ == TViewStyle::vsReport) return view_->header->length();
    return view_->grid.width() > 0 ? view_->grid.width()
                                   : v.visualRect(view_->model->index(0, 0)).width();
}

namespace {

// The row height of the report style, also without items.
int ReportRowHeight(const QTreeView& v) {
    int h = v.sizeHintForRow(0);
    if (h <= 0) h = QFontMetrics(v.font()).height() + 4;
    return std::max(1, h);
}

}  // namespace

int TCustomListView::VisibleRowCount() const {
    SyncView();
    switch (viewStyle_) {
        case TViewStyle::vsReport:
            return view_->report->viewport()->height() / ReportRowHeight(*view_->report);
        case TViewStyle::vsList: {
            const QSize g = view_->grid;
            if (g.width() <= 0 || g.height() <= 0) return 0;
            const QWidget* vp = view_->icons->viewport();
            return std::max(1, vp->height() / g.height()) * (vp->width() / g.width());
        }
        default:
            return items_->Count();
    }
}

int TCustomListView::TopIndex() const {
    SyncView();
    if (viewStyle_ == TViewStyle::vsReport) return view_->report->verticalScrollBar()->value();
    QModelIndex i = view_->icons->indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

TScrollInfo TCustomListView::ScrollInfo(TScrollBarKind bar) const {
    SyncView();
    QAbstractItemView& v = view_->Active(viewStyle_);
    const QScrollBar* sb = bar == SB_VERT ? v.verticalScrollBar() : v.horizontalScrollBar();
    const QWidget* vp = v.viewport();
    if (viewStyle_ == TViewStyle::vsReport && bar == SB_VERT)
        return {0, items_->Count() - 1, VisibleRowCount(), sb->value()};
    if (viewStyle_ == TViewStyle::vsList) {
        const QSize g = view_->grid;
        if (bar == SB_VERT || g.width() <= 0 || g.height() <= 0)
            return {0, vp->height() - 1, vp->height(), 0};
        const int perColumn = std::max(1, vp->height() / g.height());
        const int columns = (items_->Count() + perColumn - 1) / perColumn;
        return {0, columns - 1, vp->width() / g.width(), sb->value() / g.width()};
    }
    const int page = bar == SB_VERT ? vp->height() : vp->width();
    return {0, sb->maximum() + page - 1, page, sb->value()};
}

void TCustomListView::Scroll(int dx, int dy) {
    SyncView();
    QAbstractItemView& v = view_->Active(viewStyle_);
    QScrollBar* h = v.horizontalScrollBar();
    QScrollBar* vert = v.verticalScrollBar();
    switch (viewStyle_) {
        case TViewStyle::vsReport:
            vert->setValue(vert->value() + dy / ReportRowHeight(*view_->report));
            h->setValue(h->value() + dx);
            break;
        case TViewStyle::vsList: {
            const int w = std::max(1, view_->grid.width());
            h->setValue((h->value() / w + dx / w) * w);
            break;
        }
        default:
            h->setValue(h->value() + dx);
            vert->setValue(vert->value() + dy);
            break;
    }
}

TRect TCustomListView::HeaderRect() const {
    if (viewStyle_ != TViewStyle::vsReport || !showColumnHeaders_) return {};
    view_->report->Sync();
    const QHeaderView& h = *view_->header;
    const QPoint o = h.mapTo(Impl().widget, QPoint(0, 0));
    return Bounds(o.x(), o.y(), h.width(), h.height());
}

std::vector<THeaderSection> TCustomListView::HeaderSections() const {
    std::vector<THeaderSection> out;
    const QHeaderView& h = *view_->header;
    const int n = std::min(h.count(), ColumnCount());
    for (int visual = 0; visual < h.count(); ++visual) {
        const int logical = h.logicalIndex(visual);
        if (logical < 0 || logical >= n || h.isSectionHidden(logical)) continue;
        out.push_back({logical, Bounds(h.sectionViewportPosition(logical), 0,
                                       h.sectionSize(logical), h.viewport()->height())});
    }
    return out;
}

bool TCustomListView::HeaderDividerAt(int x) const {
    // The platform header takes a press this close to a section's edge as the start of a resize.
    const QHeaderView& h = *view_->header;
    const int grip = h.style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &h);
    for (const THeaderSection& s : HeaderSections()) {
        if (std::abs(x - s.Rect.Right) < grip) return true;
        if (s.Rect.Left > 0 && std::abs(x - s.Rect.Left) < grip) return true;
    }
    return false;
}

void TCustomListView::RepaintHeader() { view_->header->viewport()->repaint(); }

void TCustomListView::PaintHeader(TCanvas& canvas) {
    const int height = view_->header->viewport()->height();
    int right = 0;
    canvas.Font = Font();
    for (const THeaderSection& s : HeaderSections()) {
        const bool pressed = s.Column == pressedColumn_ && headerPressed_;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = pressed ? kDefaultPressed : clBtnFace;
        canvas.FillRect(s.Rect);
        canvas.Brush.Color = pressed ? clNavy : clBtnShadow;
        canvas.FrameRect(s.Rect);
        const TListColumn& c = Column(s.Column);
        TRect text = Rect(s.Rect.Left + 5, s.Rect.Top, s.Rect.Right - 5, s.Rect.Bottom);
        canvas.Font.Color = clBtnText;
        canvas.Brush.Style = TBrushStyle::bsClear;
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        flags |= c.Alignment == TAlignment::taRightJustify ? DT_RIGHT
                 : c.Alignment == TAlignment::taCenter     ? DT_CENTER
                                                           : DT_LEFT;
        canvas.DrawText(c.Caption, text, flags);
        right = std::max(right, s.Rect.Right);
    }
    canvas.Brush.Style = TBrushStyle::bsSolid;
    const TRect rest = Rect(right, 0, std::max(right, view_->header->viewport()->width()), height);
    if (rest.IsEmpty()) return;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(rest);
    canvas.Brush.Color = clBtnShadow;
    canvas.FrameRect(rest);
}

void TCustomListView::ItemChanged(TListItem& item) {
    view_->gridDirty = true;
    if (items_->Updating()) return;
    ListModel& m = *view_->model;
    emit m.dataChanged(m.index(item.row_, 0), m.index(item.row_, m.columnCount({}) - 1));
}

void TCustomListView::WndProc(TMessage& m) {
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
        SyncView();
        QAbstractItemView& v = view_->Active(viewStyle_);
        QScrollBar& bar = m.Msg == WM_VSCROLL ? *v.verticalScrollBar() : *v.horizontalScrollBar();
        const int request = int(m.WParam & 0xFFFF);
        // The list style scrolls sideways a column at a time.
        if (viewStyle_ == TViewStyle::vsList && m.Msg == WM_HSCROLL &&
            (request == SB_LINELEFT || request == SB_LINERIGHT))
            Scroll(request == SB_LINERIGHT ? view_->grid.width() : -view_->grid.width(), 0);
        else
            ApplyScrollRequest(bar, m.WParam);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomListView::ApplyLook() {
    ApplyItemViewLook(*view_->report, Color(), Font());
    ApplyItemViewLook(*view_->icons, Color(), Font());
    view_->header->setFont(ToQFont(Font()));
    const int h = QFontMetrics(ToQFont(Font())).height() + 6;
    view_->header->setFixedHeight(h);
}

void TCustomListView::FontChanged() {
    ApplyLook();
    SetViewStyle(viewStyle_);
}

void TCustomListView::ColorChanged() { ApplyLook(); }

void TCustomListView::Resize() { view_->Active(viewStyle_).setGeometry(0, 0, Width(), Height()); }

void TCustomListView::Paint(TCanvas& canvas) {
    if (!Impl().widget->inPaintEvent) SyncView();
    PaintItemView(*this, view_->Active(viewStyle_), canvas);
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == smallImages_) smallImages_ = nullptr;
    if (component == largeImages_) largeImages_ = nullptr;
    view_->model->smallIcons_.Clear();
    view_->model->largeIcons_.Clear();
}

}  // namespace rt
