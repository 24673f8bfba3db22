// The tree view on the platform's tree: nodes live in TTreeNodes, a model shows them to a
// QTreeView, which draws, expands, navigates and selects.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

#include "runtime/ComCtrls.h"
#include "runtime/ComCtrlsQt.h"
#include "runtime/ControlWidget.h"
#include "runtime/KeyRouting.h"
#include "runtime/QtBridge.h"

namespace rt {

// ---------------------------------------------------------------- shared helpers

const QPixmap* PixmapCache::Get(const TImageList* list, int index) {
    if (list != list_) {
        pixmaps_.clear();
        list_ = list;
    }
    if (list == nullptr) return nullptr;
    const TBitmap* image = list->Image(index);
    // An item without an image keeps the image's room, as the platform's views do: rows stay
    // as high as those with one (the rows are uniform, measured on the first) and texts line up.
    if (image == nullptr) index = -1;
    auto it = pixmaps_.find(index);
    if (it != pixmaps_.end()) return &it->second;
    if (image == nullptr) {
        if (list->Width() <= 0 || list->Height() <= 0) return nullptr;
        QPixmap blank(list->Width(), list->Height());
        blank.fill(Qt::transparent);
        return &pixmaps_.emplace(index, std::move(blank)).first->second;
    }
    QImage q(image->Width(), image->Height(), QImage::Format_ARGB32);
    const std::uint32_t key = ColorToPixel(image->EffectiveTransparentColor()) & 0xFFFFFF;
    for (int y = 0; y < image->Height(); ++y) {
        const std::uint32_t* src = image->ScanLine(y);
        auto* dst = reinterpret_cast<std::uint32_t*>(q.scanLine(y));
        for (int x = 0; x < image->Width(); ++x) {
            const std::uint32_t p = src[x] & 0xFFFFFF;
            dst[x] = image->Transparent && p == key ? 0u : (0xFF000000u | p);
        }
    }
    return &pixmaps_.emplace(index, QPixmap::fromImage(q)).first->second;
}

void SetUpItemView(QAbstractItemView& view) {
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setTabKeyNavigation(false);
    view.setMouseTracking(true);
    view.viewport()->setAutoFillBackground(true);
}

void ApplyItemViewLook(QAbstractItemView& view, TColor background, const TFont& font) {
    QPalette pal = view.palette();
    const std::uint32_t bg = ColorToPixel(background), fg = ColorToPixel(font.Color);
    const QColor qbg = QColor::fromRgb(bg), qfg = QColor::fromRgb(fg);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(g, QPalette::Base, qbg);
        pal.setColor(g, QPalette::Window, qbg);
        pal.setColor(g, QPalette::Text, qfg);
        pal.setColor(g, QPalette::WindowText, qfg);
        pal.setColor(g, QPalette::Highlight, QColor::fromRgb(ColorToPixel(clHighlight)));
        pal.setColor(g, QPalette::HighlightedText, QColor::fromRgb(ColorToPixel(clHighlightText)));
    }
    pal.setColor(QPalette::Disabled, QPalette::Base, qbg);
    pal.setColor(QPalette::Disabled, QPalette::Window, qbg);
    view.setPalette(pal);
    view.viewport()->setPalette(pal);
    view.setFont(ToQFont(font));
}

void ApplyScrollRequest(QAbstractSlider& bar, std::intptr_t wParam) {
    const int request = int(wParam & 0xFFFF);
    const int pos = int(wParam >> 16);
    switch (request) {
        case SB_LINEUP:
            bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case SB_LINEDOWN:
            bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case SB_PAGEUP:
            bar.triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case SB_PAGEDOWN:
            bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            bar.setValue(pos);
            break;
        case SB_TOP:
            bar.setValue(bar.minimum());
            break;
        case SB_BOTTOM:
            bar.setValue(bar.maximum());
            break;
        default:
            break;
    }
}

void NoteFocusIn(TControl& control) {
    control.Perform(WM_SETFOCUS, 0, 0);
    TForm* form = control.ParentForm();
    if (form == nullptr || form->Destroying()) return;
    auto* wc = dynamic_cast<TWinControl*>(&control);
    GuardedCall([&] { NotifyFocusChanged(*form, wc); });
}

void PaintItemView(TControl& control, QAbstractItemView& view, TCanvas& canvas) {
    canvas.Brush.Color = control.Color();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(control.ClientRect());
    if (ImplOf(control).widget->inPaintEvent || view.width() <= 0 || view.height() <= 0) return;
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(QColor::fromRgb(ColorToPixel(control.Color())));
    view.render(&image);
    TBitmap b(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::uint32_t* dst = b.ScanLine(y);
        for (int x = 0; x < image.width(); ++x) dst[x] = src[x] & 0xFFFFFF;
    }
    canvas.Draw(view.x(), view.y(), b);
}

bool LeaveKeyToForm(const QKeyEvent& e) {
    return e.key() == Qt::Key_Tab || e.key() == Qt::Key_Backtab;
}

// ---------------------------------------------------------------- model and view

class TreeModel : public QAbstractItemModel {
public:
    explicit TreeModel(TCustomTreeView& tree) : tree_(tree) {}

    TTreeNode* NodeOf(const QModelIndex& i) const {
        return i.isValid() ? static_cast<TTreeNode*>(i.internalPointer())
                           : tree_.items_->root_.get();
    }
    QModelIndex IndexOf(const TTreeNode* node) const {
        if (node == nullptr || node == tree_.items_->root_.get()) return {};
        return createIndex(node->row_, 0, const_cast<TTreeNode*>(node));
    }
    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        const TTreeNode* p = NodeOf(parent);
        if (column != 0 || row < 0 || row >= p->Count()) return {};
        return createIndex(row, 0, p->children_[std::size_t(row)].get());
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (!child.isValid()) return {};
        return IndexOf(NodeOf(child)->parent_);
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.column() > 0 ? 0 : NodeOf(parent)->Count();
    }
    int columnCount(const QModelIndex&) const override { return 1; }
    bool hasChildren(const QModelIndex& parent) const override {
        return NodeOf(parent)->HasChildren();
    }
    bool canFetchMore(const QModelIndex& parent) const override {
        const TTreeNode* n = NodeOf(parent);
        return parent.isValid() && n->hasChildren_ && n->children_.empty() && !n->fetched_;
    }
    void fetchMore(const QModelIndex& parent) override {
        TTreeNode* n = NodeOf(parent);
        n->fetched_ = true;
        fetching_ = n;
        inFetch_ = true;
        allowed_ = tree_.Expanding(n);
        inFetch_ = false;
    }
    // True while OnExpanding fills a node from inside the view's expansion of it.
    bool InFetch() const { return inFetch_; }
    QVariant data(const QModelIndex& index, int role) const override {
        const TTreeNode* n = NodeOf(index);
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) return QString::fromStdString(n->text_);
        if (role == Qt::DecorationRole && tree_.images_ != nullptr) {
            int image = n->imageIndex_;
            if (n->selectedIndex_ >= 0 && tree_.Selected() == n) image = n->selectedIndex_;
            if (const QPixmap* p = icons_.Get(tree_.images_, image)) return *p;
        }
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    using QAbstractItemModel::beginInsertRows;
    using QAbstractItemModel::beginRemoveRows;
    using QAbstractItemModel::beginResetModel;
    using QAbstractItemModel::dataChanged;
    using QAbstractItemModel::endInsertRows;
    using QAbstractItemModel::endRemoveRows;
    using QAbstractItemModel::endResetModel;

    TCustomTreeView& tree_;
    mutable PixmapCache icons_;
    // The node whose children were fetched by the expansion in progress, and its answer.
    TTreeNode* fetching_ = nullptr;
    bool allowed_ = true;
    bool inFetch_ = false;
};

class TreeWidget : public QTreeView {
public:
    TreeWidget(TCustomTreeView& owner, QWidget* parent) : QTreeView(parent), owner_(owner) {}
    // Lays out now what the view would lay out on its next round, so the scroll state is current.
    void Sync() {
        executeDelayedItemsLayout();
        updateGeometries();
    }
    void SetRowDecoration(bool on) { setRootIsDecorated(on); }

protected:
    bool focusNextPrevChild(bool) override { return false; }
    void keyPressEvent(QKeyEvent* e) override {
        if (LeaveKeyToForm(*e)) {
            e->ignore();
            return;
        }
        QTreeView::keyPressEvent(e);
        GuardedCall([&] { owner_.ViewScrolled(); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QTreeView::mouseReleaseEvent(e);
        GuardedCall([&] { owner_.ViewScrolled(); });
    }
    void focusInEvent(QFocusEvent* e) override {
        QTreeView::focusInEvent(e);
        NoteFocusIn(owner_);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QTreeView::focusOutEvent(e);
        owner_.Perform(WM_KILLFOCUS, 0, 0);
    }

private:
    TCustomTreeView& owner_;
};

struct TreeViewImpl {
    std::unique_ptr<TreeModel> model;
    TreeWidget* view = nullptr;  // a child of the control's widget, deleted with it
};

// ---------------------------------------------------------------- nodes

TTreeNode::~TTreeNode() = default;

void TTreeNode::Renumber(int from) {
    for (std::size_t i = std::size_t(std::max(0, from)); i < children_.size(); ++i)
        children_[i]->row_ = int(i);
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = parent_; p != nullptr && p->parent_ != nullptr; p = p->parent_)
        ++level;
    return level;
}

void TTreeNode::SetText(const std::string& text) {
    text_ = text;
    if (tree_ != nullptr && tree_->items_->updating_ == 0) {
        QModelIndex i = tree_->view_->model->IndexOf(this);
        emit tree_->view_->model->dataChanged(i, i);
    }
}

void TTreeNode::SetImageIndex(int index) {
    imageIndex_ = index;
    SetText(text_);
}

void TTreeNode::SetSelectedIndex(int index) {
    selectedIndex_ = index;
    SetText(text_);
}

void TTreeNode::SetHasChildren(bool value) {
    hasChildren_ = value;
    if (!value) fetched_ = false;
    SetText(text_);
}

bool TTreeNode::Expanded() const {
    return tree_->view_->view->isExpanded(tree_->view_->model->IndexOf(this));
}

void TTreeNode::SetExpanded(bool value) {
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
    tree_->view_->view->expand(tree_->view_->model->IndexOf(this));
    if (recurse)
        for (auto& c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    if (recurse)
        for (auto& c : children_) c->Collapse(true);
    tree_->view_->view->collapse(tree_->view_->model->IndexOf(this));
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) tree_->items_->Delete(children_.back().get());
    fetched_ = false;
}

bool TTreeNode::Selected() const { return tree_->Selected() == this; }

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = parent_; p != nullptr && p->parent_ != nullptr; p = p->parent_)
        p->Expand(false);
    tree_->view_->view->scrollTo(tree_->view_->model->IndexOf(this));
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
    TreeWidget* v = tree_->view_->view;
    v->Sync();
    QRect r = v->visualRect(tree_->view_->model->IndexOf(this));
    if (r.isEmpty()) return {};
    if (!textOnly) r = QRect(0, r.top(), v->viewport()->width(), r.height());
    QPoint o = v->viewport()->mapTo(v->parentWidget(), r.topLeft());
    return Bounds(o.x(), o.y(), r.width(), r.height());
}

// ---------------------------------------------------------------- node list

TTreeNodes::TTreeNodes(TCustomTreeView& tree) : tree_(tree), root_(new TTreeNode(&tree, nullptr)) {}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Insert(TTreeNode* parent, const std::string& text) {
    if (parent == nullptr) parent = root_.get();
    const int row = parent->Count();
    TreeModel& model = *tree_.view_->model;
    const bool signal = updating_ == 0;
    if (signal) model.beginInsertRows(model.IndexOf(parent), row, row);
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(&tree_, parent));
    node->text_ = text;
    node->row_ = row;
    TTreeNode* raw = node.get();
    parent->children_.push_back(std::move(node));
    ++count_;
    if (signal) model.endInsertRows();
    return raw;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return Insert(parent, text);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    return Insert(sibling != nullptr ? sibling->parent_ : nullptr, text);
}

namespace {

int SubtreeSize(const TTreeNode& n) {
    int size = 1;
    for (int i = 0; i < n.Count(); ++i) size += SubtreeSize(*n.Item(i));
    return size;
}

}  // namespace

void TTreeNodes::Delete(TTreeNode* node) {
    if (node == nullptr || node == root_.get()) return;
    TTreeNode* parent = node->parent_;
    const int row = node->row_;
    TreeModel& model = *tree_.view_->model;
    const bool signal = updating_ == 0;
    if (signal) model.beginRemoveRows(model.IndexOf(parent), row, row);
    count_ -= SubtreeSize(*node);
    // The node goes only after the view has let go of it.
    std::unique_ptr<TTreeNode> doomed = std::move(parent->children_[std::size_t(row)]);
    parent->children_.erase(parent->children_.begin() + row);
    parent->Renumber(row);
    if (signal) model.endRemoveRows();
}

void TTreeNodes::Clear() {
    TreeModel& model = *tree_.view_->model;
    const bool signal = updating_ == 0;
    if (signal) model.beginResetModel();
    root_->children_.clear();
    count_ = 0;
    if (signal) model.endResetModel();
}

int TTreeNodes::TopLevelCount() const { return root_->Count(); }

TTreeNode* TTreeNodes::TopLevelItem(int i) const { return root_->Item(i); }

void TTreeNodes::BeginUpdate() {
    // Inside a node's first expansion the view is laying that node out: a reset would take its
    // rows away under it (a crash in the view), so the children arrive row by row instead.
    if (updating_ == 0 && tree_.view_->model->InFetch()) {
        ++fetchUpdates_;
        return;
    }
    // The model is reset at the end: expansion and selection start afresh.
    if (updating_++ == 0) tree_.view_->model->beginResetModel();
}

void TTreeNodes::EndUpdate() {
    if (fetchUpdates_ > 0 && updating_ == 0) {
        --fetchUpdates_;
        return;
    }
    if (updating_ == 0) return;
    if (--updating_ == 0) tree_.view_->model->endResetModel();
}

// ---------------------------------------------------------------- the view

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), view_(std::make_unique<TreeViewImpl>()) {
    items_ = std::make_unique<TTreeNodes>(*this);
    color_ = clWindow;
    TabStop = true;
    view_->model = std::make_unique<TreeModel>(*this);
    QWidget* host = Impl().widget;
    auto* v = new TreeWidget(*this, host);
    view_->view = v;
    SetUpItemView(*v);
    v->setHeaderHidden(true);
    v->setUniformRowHeights(true);
    v->setIndentation(indent_);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->header()->setStretchLastSection(false);
    v->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    v->setModel(view_->model.get());
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    host->setFocusProxy(v);
    v->setGeometry(0, 0, Width(), Height());
    v->show();
    SetBounds(0, 0, 121, 97);
    ApplyLook();

    auto scrolled = [this] { GuardedCall([this] { ViewScrolled(); }); };
    QObject::connect(v->verticalScrollBar(), &QScrollBar::valueChanged, v, scrolled);
    QObject::connect(v->verticalScrollBar(), &QScrollBar::rangeChanged, v, scrolled);
    QObject::connect(v->horizontalScrollBar(), &QScrollBar::valueChanged, v, scrolled);
    QObject::connect(v->horizontalScrollBar(), &QScrollBar::rangeChanged, v, scrolled);
    QObject::connect(v->selectionModel(), &QItemSelectionModel::currentChanged, v,
                     [this](const QModelIndex& now, const QModelIndex&) {
                         TTreeNode* n = now.isValid() ? view_->model->NodeOf(now) : nullptr;
                         GuardedCall([&] { Change(n); });
                         GuardedCall([this] { ViewScrolled(); });
                     });
    // A node's first expansion fetched its children through the model, which already asked
    // OnExpanding; later expansions ask here. A refusal closes the node again at once.
    QObject::connect(v, &QTreeView::expanded, v, [this](const QModelIndex& i) {
        TTreeNode* n = view_->model->NodeOf(i);
        bool allow = true;
        if (view_->model->fetching_ == n)
            allow = view_->model->allowed_;
        else
            allow = Expanding(n);
        view_->model->fetching_ = nullptr;
        if (!allow) {
            view_->view->collapse(i);
            return;
        }
        if (OnExpanded) GuardedCall([&] { OnExpanded(this, n); });
    });
    QObject::connect(v, &QTreeView::collapsed, v, [this](const QModelIndex& i) {
        if (OnCollapsed) GuardedCall([&] { OnCollapsed(this, view_->model->NodeOf(i)); });
    });
}

TCustomTreeView::~TCustomTreeView() {
    // The view goes before the nodes and the model it shows.
    delete view_->view;
    view_->view = nullptr;
    items_->root_->children_.clear();
}

bool TCustomTreeView::Expanding(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) GuardedCall([&] { OnExpanding(this, node, allow); });
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
    if (OnChange) OnChange(this, node);
}

TTreeNode* TCustomTreeView::Selected() const {
    QModelIndex i = view_->view->currentIndex();
    return i.isValid() ? view_->model->NodeOf(i) : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    if (node == nullptr) {
        view_->view->setCurrentIndex({});
        return;
    }
    view_->view->setCurrentIndex(view_->model->IndexOf(node));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
    view_->view->Sync();
    QModelIndex i = view_->view->indexAt(QPoint(x, y));
    return i.isValid() ? view_->model->NodeOf(i) : nullptr;
}

TTreeNode* TCustomTreeView::TopItem() const { return GetNodeAt(1, 1); }

void TCustomTreeView::SetImages(TImageList* images) {
    if (images_ != nullptr) RemoveFreeNotification(images_);
    images_ = images;
    if (images_ != nullptr) FreeNotification(images_);
    view_->model->icons_.Clear();
    if (images_ != nullptr) view_->view->setIconSize(QSize(images_->Width(), images_->Height()));
    view_->view->viewport()->update();
}

void TCustomTreeView::SetShowRoot(bool value) {
    showRoot_ = value;
    view_->view->SetRowDecoration(value);
}

void TCustomTreeView::SetIndent(int value) {
    indent_ = std::max(0, value);
    view_->view->setIndentation(indent_);
}

int TCustomTreeView::VisibleRowCount() const {
    TreeWidget* v = view_->view;
    v->Sync();
    int rowHeight = v->sizeHintForRow(0);
    if (rowHeight <= 0) rowHeight = QFontMetrics(v->font()).height() + 2;
    return std::max(0, v->viewport()->height() / rowHeight);
}

int TCustomTreeView::ShownNodeCount() const {
    struct Count {
        static int Shown(const TTreeNode& n, const TreeWidget& v, const TreeModel& m) {
            int total = 0;
            for (int i = 0; i < n.Count(); ++i) {
                const TTreeNode& c = *n.Item(i);
                ++total;
                if (c.Count() > 0 && v.isExpanded(m.IndexOf(&c))) total += Shown(c, v, m);
            }
            return total;
        }
    };
    return Count::Shown(*items_->root_, *view_->view, *view_->model);
}

TScrollInfo TCustomTreeView::ScrollInfo(TScrollBarKind bar) const {
    TreeWidget* v = view_->view;
    v->Sync();
    if (bar == SB_VERT) {
        const int shown = ShownNodeCount();
        return {0, shown - 1, VisibleRowCount(), v->verticalScrollBar()->value()};
    }
    const QScrollBar* h = v->horizontalScrollBar();
    const int page = v->viewport()->width();
    return {0, h->maximum() + page - 1, page, h->value()};
}

void TCustomTreeView::WndProc(TMessage& m) {
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
        TreeWidget* v = view_->view;
        v->Sync();
        ApplyScrollRequest(m.Msg == WM_VSCROLL
                               ? static_cast<QAbstractSlider&>(*v->verticalScrollBar())
                               : *v->horizontalScrollBar(),
                           m.WParam);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomTreeView::ApplyLook() { ApplyItemViewLook(*view_->view, Color(), Font()); }

void TCustomTreeView::FontChanged() { ApplyLook(); }

void TCustomTreeView::ColorChanged() { ApplyLook(); }

void TCustomTreeView::Resize() { view_->view->setGeometry(0, 0, Width(), Height()); }

void TCustomTreeView::Paint(TCanvas& canvas) {
    if (!Impl().widget->inPaintEvent) view_->view->Sync();
    PaintItemView(*this, *view_->view, canvas);
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        view_->model->icons_.Clear();
    }
}

}  // namespace rt
