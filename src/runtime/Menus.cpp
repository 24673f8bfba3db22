#include "runtime/Menus.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"
#include "runtime/StdCtrls.h"

namespace rt {

TMenuItem::~TMenuItem() {
    if (parent_ != nullptr) parent_->Remove(this);
    for (TMenuItem* c : items_) c->parent_ = nullptr;
}

void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    if (!v || !RadioItem || parent_ == nullptr) return;
    for (TMenuItem* sib : parent_->items_)
        if (sib != this && sib->RadioItem && sib->GroupIndex == GroupIndex) sib->checked_ = false;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_ != nullptr) item->parent_->Remove(item);
    item->parent_ = this;
    items_.push_back(item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->parent_ != nullptr) item->parent_->Remove(item);
    item->parent_ = this;
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& name) const {
    for (TMenuItem* c : items_)
        if (c->Name() == name) return c;
    return nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_ != nullptr) root = root->parent_;
    // Only the menu's own root item belongs to it; a detached item is in no menu.
    auto* menu = dynamic_cast<TMenu*>(root->Owner());
    return menu != nullptr && menu->Items() == root ? menu : nullptr;
}

std::string ShortCutToText(TShortCut shortCut) {
    const int key = shortCut & 0xFF;
    std::string name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        name = std::string(1, char(key));
    else if (key >= VK_F1 && key <= VK_F12)
        name.append("F").append(std::to_string(key - VK_F1 + 1));
    else
        switch (key) {
            case VK_BACK:
                name = "BkSp";
                break;
            case VK_TAB:
                name = "Tab";
                break;
            case VK_RETURN:
                name = "Enter";
                break;
            case VK_ESCAPE:
                name = "Esc";
                break;
            case VK_SPACE:
                name = "Space";
                break;
            case VK_PRIOR:
                name = "PgUp";
                break;
            case VK_NEXT:
                name = "PgDn";
                break;
            case VK_END:
                name = "End";
                break;
            case VK_HOME:
                name = "Home";
                break;
            case VK_LEFT:
                name = "Left";
                break;
            case VK_UP:
                name = "Up";
                break;
            case VK_RIGHT:
                name = "Right";
                break;
            case VK_DOWN:
                name = "Down";
                break;
            case VK_DELETE:
                name = "Del";
                break;
            default:
                return {};
        }
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    text += name;
    return text;
}

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

namespace {

TMenuItem* FindShortCut(TMenuItem* parent, TShortCut shortCut) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible || !item->Enabled) continue;
        if (item->ShortCut == shortCut && item->Count() == 0) return item;
        if (TMenuItem* found = FindShortCut(item, shortCut)) return found;
    }
    return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(int key, TShiftState shift) {
    const TShortCut shortCut = rt::ShortCut(key, shift);
    if ((shortCut & 0xFF) == 0) return false;
    TMenuItem* item = FindShortCut(items_, shortCut);
    if (item == nullptr) return false;
    item->Click();
    return true;
}

namespace {

void FillQMenu(QMenu& menu, TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible) continue;
        if (item->IsLine()) {
            menu.addSeparator();
            continue;
        }
        QString text = QString::fromStdString(item->Caption);
        if (item->Count() > 0) {
            QMenu* sub = menu.addMenu(text);
            sub->setEnabled(item->Enabled);
            FillQMenu(*sub, item);
            continue;
        }
        QAction* a = menu.addAction(text);
        a->setEnabled(item->Enabled);
        if (item->Checked()) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        QObject::connect(a, &QAction::triggered,
                         [item] { GuardedCall([item] { item->Click(); }); });
    }
}

// Notices when the watched component is freed.
class TFreeWatch : public TComponent {
public:
    explicit TFreeWatch(TComponent* watched) : TComponent(nullptr), watched_(watched) {
        FreeNotification(watched_);
    }
    ~TFreeWatch() override { RemoveFreeNotification(watched_); }
    TComponent* Watched() const { return watched_; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == TOperation::opRemove && component == watched_) watched_ = nullptr;
    }

private:
    TComponent* watched_;
};

}  // namespace

void TPopupMenu::Popup(int x, int y) {
    QMenu menu;
    FillQMenu(menu, Items());
    menu.exec(QPoint(x, y));
}

void TPopupMenu::PopupFromControl(TControl* opener, const TRect& anchor, bool popupUp) {
    TFreeWatch watch(opener);
    {
        QMenu menu;
        FillQMenu(menu, Items());
        const int y = popupUp ? anchor.Top - menu.sizeHint().height() : anchor.Bottom;
        menu.exec(QPoint(anchor.Left, y));
    }
    auto* c = static_cast<TControl*>(watch.Watched());
    if (c == nullptr) return;
    // The popup had the pointer while it ran, so the opener heard nothing of it leaving.
    const QPoint at = QCursor::pos();
    if (!c->ClientRect().Contains(c->ScreenToClient({at.x(), at.y()})))
        c->Perform(CM_MOUSELEAVE, 0, 0);
    if (watch.Watched() != nullptr) c->Perform(WM_MENUCLOSED, 0, 0);
}

TMenuBar::TMenuBar(TComponent* owner) : TCustomControl(owner) {}

std::vector<TRect> TMenuBar::ItemRects() const {
    std::vector<TRect> rects;
    if (Menu == nullptr) return rects;
    TBitmap probe(1, 1);
    probe.Canvas().Font = Font();
    int x = 0;
    for (int i = 0; i < Menu->Items()->Count(); ++i) {
        TMenuItem* item = Menu->Items()->Items(i);
        if (!item->Visible) {
            rects.push_back({});
            continue;
        }
        int w = probe.Canvas().TextWidth(StripAccelerators(item->Caption)) + 14;
        rects.push_back(Rect(x, 0, x + w, Height()));
        x += w;
    }
    return rects;
}

TRect TMenuBar::ItemRect(int index) const {
    std::vector<TRect> rects = ItemRects();
    return index >= 0 && index < int(rects.size()) ? rects[std::size_t(index)] : TRect{};
}

int TMenuBar::ItemAt(int x) const {
    std::vector<TRect> rects = ItemRects();
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (!rects[i].IsEmpty() && x >= rects[i].Left && x < rects[i].Right) return int(i);
    return -1;
}

void TMenuBar::Paint(TCanvas& canvas) {
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(ClientRect());
    if (Menu == nullptr) return;
    canvas.Font = Font();
    std::vector<TRect> rects = ItemRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        TMenuItem* item = Menu->Items()->Items(int(i));
        const TRect& r = rects[i];
        if (r.IsEmpty()) continue;
        if (int(i) == hot_) PaintDefaultFace(canvas, r, true, false);
        std::string text = StripAccelerators(item->Caption);
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Color = item->Enabled ? clMenuText : clGrayText;
        canvas.TextOut(r.Left + 7, (Height() - canvas.TextHeight(text)) / 2, text);
        canvas.Brush.Style = TBrushStyle::bsSolid;
    }
}

void TMenuBar::MouseDown(TMouseButton button, TShiftState, int x, int) {
    if (button != TMouseButton::mbLeft || Menu == nullptr) return;
    int i = ItemAt(x);
    if (i < 0) return;
    TMenuItem* item = Menu->Items()->Items(i);
    if (item->Count() == 0) {
        item->Click();
        return;
    }
    TRect r = ItemRect(i);
    TPoint at = ClientToScreen({r.Left, r.Bottom});
    QMenu menu;
    FillQMenu(menu, item);
    menu.exec(QPoint(at.X, at.Y));
    hot_ = -1;
    Invalidate();
}

void TMenuBar::MouseMove(TShiftState, int x, int) {
    int i = ItemAt(x);
    if (i != hot_) {
        hot_ = i;
        Invalidate();
    }
}

void TMenuBar::MouseLeave() {
    hot_ = -1;
    Invalidate();
}

bool TAction::Execute() {
    if (!Enabled || !OnExecute) return false;
    OnExecute(this);
    return true;
}

struct TTimer::Impl {
    QTimer timer;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), impl_(std::make_unique<Impl>()) {
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] {
        GuardedCall([this] {
            if (OnTimer) OnTimer(this);
        });
    });
    Restart();
}

TTimer::~TTimer() { impl_->timer.stop(); }

void TTimer::SetInterval(int ms) {
    interval_ = ms;
    Restart();
}

void TTimer::SetEnabled(bool on) {
    enabled_ = on;
    Restart();
}

void TTimer::Restart() {
    impl_->timer.stop();
    if (enabled_ && interval_ > 0) impl_->timer.start(interval_);
}

}  // namespace rt
