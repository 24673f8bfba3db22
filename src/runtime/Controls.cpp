#include "runtime/Controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"

namespace rt {

namespace {

std::intptr_t MouseKeys(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    std::intptr_t k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

TShiftState ShiftFromKeys(std::intptr_t k) {
    TShiftState s = 0;
    if (k & MK_LBUTTON) s |= ssLeft;
    if (k & MK_RBUTTON) s |= ssRight;
    if (k & MK_MBUTTON) s |= ssMiddle;
    if (k & MK_SHIFT) s |= ssShift;
    if (k & MK_CONTROL) s |= ssCtrl;
    return s;
}

Qt::CursorShape ShapeOf(TCursor c) {
    switch (c) {
        case TCursor::crHandPoint:
            return Qt::PointingHandCursor;
        case TCursor::crSizeWE:
            return Qt::SizeHorCursor;
        case TCursor::crSizeNS:
            return Qt::SizeVerCursor;
        case TCursor::crSizeNWSE:
            return Qt::SizeFDiagCursor;
        case TCursor::crSizeNESW:
            return Qt::SizeBDiagCursor;
        case TCursor::crIBeam:
            return Qt::IBeamCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

int VirtualKeyOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    switch (k) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Delete:
            return VK_DELETE;
        default:
            return 0;
    }
}

ControlWidget::ControlWidget(TControl* owner, bool topLevel)
    : QWidget(nullptr, topLevel ? Qt::Window : Qt::Widget), owner_(owner) {
    // We paint every pixel ourselves from one bitmap: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_Hover, false);
    setMouseTracking(true);
    setAutoFillBackground(false);
}

std::intptr_t ControlWidget::Send(unsigned msg, std::intptr_t w, std::intptr_t l) {
    if (owner_ == nullptr) return 0;
    std::intptr_t result = 0;
    GuardedCall([&] { result = owner_->Perform(msg, w, l); });
    return result;
}

void ControlWidget::paintEvent(QPaintEvent*) {
    if (owner_ == nullptr) return;
    inPaintEvent = true;
    Send(WM_PAINT, 0, 0);
    inPaintEvent = false;
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    unsigned msg = e->button() == Qt::RightButton    ? WM_RBUTTONDOWN
                   : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                     : WM_LBUTTONDOWN;
    QPoint p = e->position().toPoint();
    Send(msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    unsigned msg = e->button() == Qt::RightButton    ? WM_RBUTTONUP
                   : e->button() == Qt::MiddleButton ? WM_MBUTTONUP
                                                     : WM_LBUTTONUP;
    QPoint p = e->position().toPoint();
    Send(msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton)
        Send(WM_LBUTTONDBLCLK, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
    else
        mousePressEvent(e);
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    Send(WM_MOUSEMOVE, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::enterEvent(QEnterEvent*) { Send(CM_MOUSEENTER, 0, 0); }
void ControlWidget::leaveEvent(QEvent*) { Send(CM_MOUSELEAVE, 0, 0); }

void ControlWidget::wheelEvent(QWheelEvent* e) {
    // The window system's form: the wheel delta (120 a notch) in the high word of WParam,
    // the mouse keys in the low word, the screen position in LParam.
    int delta = e->angleDelta().y();
    if (delta == 0) {
        e->ignore();
        return;
    }
    QPoint g = e->globalPosition().toPoint();
    std::intptr_t w = (std::intptr_t(std::int16_t(delta)) << 16) |
                      (MouseKeys(e->modifiers(), e->buttons()) & 0xFFFF);
    Send(WM_MOUSEWHEEL, w, MakeLParam(g.x(), g.y()));
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (owner_ == nullptr) return;
    // The window manager may resize a top-level window: take its size as ours.
    if (isWindow()) {
        GuardedCall([&] { owner_->SetBounds(owner_->Left(), owner_->Top(), width(), height()); });
    }
    Send(WM_SIZE, 0, MakeLParam(width(), height()));
}

void ControlWidget::moveEvent(QMoveEvent*) { Send(WM_MOVE, 0, MakeLParam(x(), y())); }

void ControlWidget::closeEvent(QCloseEvent* e) {
    auto* form = dynamic_cast<TForm*>(owner_);
    if (form == nullptr) {
        e->accept();
        return;
    }
    bool close = true;
    GuardedCall([&] { close = form->HandleCloseRequest(); });
    if (close)
        e->accept();
    else
        e->ignore();
}

void ControlWidget::focusOutEvent(QFocusEvent*) { Send(WM_KILLFOCUS, 0, 0); }

void ControlWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) Send(WM_ACTIVATE, isActiveWindow() ? 1 : 0, 0);
    QWidget::changeEvent(e);
}

TControl::TControl(TComponent* owner) : TComponent(owner), impl_(std::make_unique<ControlImpl>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    impl_->widget = new ControlWidget(this, false);
    impl_->widget->hide();
    font_.Color = clWindowText;
}

TControl::~TControl() {
    // Children first, while this control is still whole.
    DestroyComponents();
    if (parent_ != nullptr) parent_->RemoveControl(this);
    if (impl_->widget != nullptr) {
        impl_->widget->Detach();
        delete impl_->widget;
        impl_->widget = nullptr;
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_ != nullptr) parent_->RemoveControl(this);
    parent_ = parent;
    QWidget* w = impl_->widget;
    if (parent_ != nullptr) {
        parent_->InsertControl(this);
        w->setParent(parent_->impl_->widget);
        w->setGeometry(left_, top_, width_, height_);
        w->setVisible(visible_);
        w->raise();
        parent_->Realign();
    } else {
        w->setParent(nullptr);
        w->hide();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c != nullptr) {
        if (auto* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
        c = c->parent_;
    }
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    QWidget* w = impl_->widget;
    if (w->isWindow()) {
        if (w->size() != QSize(width, height)) w->resize(width, height);
    } else if (w->geometry() != QRect(left, top, width, height)) {
        w->setGeometry(left, top, width, height);
    }
    if (resized) {
        Resize();
        if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->Realign();
        Invalidate();
    }
    if (parent_ != nullptr && align_ != TAlign::alNone && resized) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    if (parent_ != nullptr || !impl_->widget->isWindow())
        impl_->widget->setVisible(v && parent_ != nullptr);
    Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (parent_ != nullptr && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    impl_->widget->setEnabled(v);
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCaption(const std::string& c) {
    if (caption_ == c) return;
    caption_ = c;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign a) {
    align_ = a;
    if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetCursor(TCursor c) {
    cursor_ = c;
    impl_->widget->setCursor(ShapeOf(c));
}

void TControl::Invalidate() { impl_->widget->update(); }

void TControl::Repaint() { impl_->widget->repaint(); }

TBitmap TControl::PaintToBitmap() {
    TBitmap b(width_, height_);
    if (!b.Empty()) Paint(b.Canvas());
    return b;
}

void TControl::PaintNow(void* qpainter) {
    TBitmap b = PaintToBitmap();
    if (b.Empty()) return;
    QImage img(reinterpret_cast<const uchar*>(b.Pixels().data()), b.Width(), b.Height(),
               qsizetype(b.Width()) * 4, QImage::Format_RGB32);
    static_cast<QPainter*>(qpainter)->drawImage(0, 0, img);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    QPoint q = impl_->widget->mapToGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    QPoint q = impl_->widget->mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

bool TControl::MouseCapture() const { return QWidget::mouseGrabber() == impl_->widget; }

void TControl::SetMouseCapture(bool on) {
    if (on)
        impl_->widget->grabMouse();
    else if (MouseCapture())
        impl_->widget->releaseMouse();
}

std::intptr_t TControl::Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) { DefaultHandler(m); }

void TControl::DefaultHandler(TMessage& m) {
    int x = LParamX(m.LParam), y = LParamY(m.LParam);
    switch (m.Msg) {
        case WM_PAINT: {
            ControlWidget* w = impl_->widget;
            if (w->inPaintEvent) {
                QPainter p(w);
                PaintNow(&p);
            } else {
                w->repaint();
            }
            break;
        }
        case WM_ERASEBKGND:
            m.Result = 1;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (!enabled_) break;
            TMouseButton b = m.Msg == WM_LBUTTONDOWN   ? TMouseButton::mbLeft
                             : m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight
                                                       : TMouseButton::mbMiddle;
            if (b == TMouseButton::mbLeft) pressed_ = true;
            if (WantsFocus()) impl_->widget->setFocus(Qt::MouseFocusReason);
            MouseDown(b, ShiftFromKeys(m.WParam), x, y);
            break;
        }
        case WM_LBUTTONDBLCLK:
            if (!enabled_) break;
            pressed_ = true;
            MouseDown(TMouseButton::mbLeft, ShiftFromKeys(m.WParam) | ssDouble, x, y);
            DblClick();
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (!enabled_) break;
            TMouseButton b = m.Msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                             : m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                     : TMouseButton::mbMiddle;
            bool click = b == TMouseButton::mbLeft && pressed_ && ClientRect().Contains({x, y});
            if (b == TMouseButton::mbLeft) pressed_ = false;
            MouseUp(b, ShiftFromKeys(m.WParam), x, y);
            if (click) Click();
            break;
        }
        case WM_MOUSEMOVE:
            MouseMove(ShiftFromKeys(m.WParam), x, y);
            break;
        case WM_KEYDOWN: {
            int key = int(m.WParam);
            KeyDown(key, TShiftState(m.LParam));
            break;
        }
        case CM_MOUSEENTER:
            MouseEnter();
            break;
        case CM_MOUSELEAVE:
            MouseLeave();
            break;
        case CM_ENABLEDCHANGED:
            EnabledChanged();
            break;
        case CM_TEXTCHANGED:
            TextChanged();
            break;
        default:
            break;
    }
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::Paint(TCanvas& canvas) {
    canvas.Brush.Color = color_;
    canvas.FillRect(ClientRect());
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::KeyDown(int& key, TShiftState shift) {
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc != nullptr && wc->OnKeyDown)
        wc->OnKeyDown(this, key, shift);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    DestroyComponents();
    // Children owned elsewhere leave this parent before its widget goes.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

bool TWinControl::Focused() const { return Impl().widget->hasFocus(); }

void TWinControl::SetFocus() { Impl().widget->setFocus(Qt::OtherFocusReason); }

void TWinControl::InsertControl(TControl* c) { controls_.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

void TWinControl::Realign() {
    TRect r = ClientRect();
    auto place = [&](TAlign a) {
        for (TControl* c : controls_) {
            if (c->align_ != a || !c->visible_) continue;
            switch (a) {
                case TAlign::alTop:
                    c->SetBounds(r.Left, r.Top, r.Width(), c->height_);
                    r.Top += c->height_;
                    break;
                case TAlign::alBottom:
                    c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
                    r.Bottom -= c->height_;
                    break;
                case TAlign::alLeft:
                    c->SetBounds(r.Left, r.Top, c->width_, r.Height());
                    r.Left += c->width_;
                    break;
                case TAlign::alRight:
                    c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
                    r.Right -= c->width_;
                    break;
                case TAlign::alClient:
                    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                    break;
                case TAlign::alNone:
                    break;
            }
        }
    };
    // Guard against re-entry: SetBounds of a child calls back into Realign.
    static thread_local int depth = 0;
    if (depth > 0) return;
    ++depth;
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
    --depth;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    ControlWidget* w = Impl().widget;
    w->setParent(nullptr, Qt::Window);
    w->setFocusPolicy(Qt::StrongFocus);
    SetVisible(false);
    if (Application() != nullptr) Application()->AddForm(this);
}

TForm::~TForm() {
    if (OnDestroy) GuardedCall([&] { OnDestroy(this); });
    DestroyComponents();
    if (Application() != nullptr) Application()->RemoveForm(this);
}

void TForm::SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

TWindowState TForm::WindowState() const {
    QWidget* w = Impl().widget;
    if (w->isMinimized()) return TWindowState::wsMinimized;
    if (w->isMaximized()) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState s) {
    QWidget* w = Impl().widget;
    switch (s) {
        case TWindowState::wsMinimized:
            w->showMinimized();
            break;
        case TWindowState::wsMaximized:
            w->showMaximized();
            break;
        case TWindowState::wsNormal:
            w->showNormal();
            break;
    }
}

void TForm::Show() {
    ControlWidget* w = Impl().widget;
    w->setWindowTitle(QString::fromStdString(Caption()));
    if (BorderStyle != TFormBorderStyle::bsSizeable) w->setFixedSize(Width(), Height());
    if (!w->isVisible()) {
        QRect area;
        if (Position == TPosition::poScreenCenter || Position == TPosition::poMainFormCenter) {
            TForm* main = Application() != nullptr ? Application()->MainForm() : nullptr;
            if (Position == TPosition::poMainFormCenter && main != nullptr && main != this &&
                main->Impl().widget->isVisible())
                area = main->Impl().widget->frameGeometry();
            else if (QScreen* s = QGuiApplication::primaryScreen())
                area = s->availableGeometry();
            if (!area.isNull()) w->move(area.center() - QPoint(Width() / 2, Height() / 2));
        }
    }
    visible_ = true;
    w->show();
    w->raise();
    w->activateWindow();
    if (OnShow) OnShow(this);
}

void TForm::Hide() {
    visible_ = false;
    Impl().widget->hide();
}

int TForm::ShowModal() {
    ModalResult = mrNone;
    modal_ = true;
    Impl().widget->setWindowModality(Qt::ApplicationModal);
    Show();
    while (ModalResult == mrNone && Impl().widget->isVisible()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Hide();
    modal_ = false;
    Impl().widget->setWindowModality(Qt::NonModal);
    if (ModalResult == mrNone) ModalResult = mrCancel;
    return ModalResult;
}

void TForm::Close() {
    if (modal_) {
        if (ModalResult == mrNone) ModalResult = mrCancel;
        return;
    }
    if (HandleCloseRequest()) Impl().widget->hide();
}

bool TForm::HandleCloseRequest() {
    if (closing_) return false;
    TCloseAction action = TCloseAction::caHide;
    if (modal_ && ModalResult == mrNone) ModalResult = mrCancel;
    closing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{closing_};
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return false;
    visible_ = false;
    if (Application() != nullptr && Application()->MainForm() == this) Application()->Terminate();
    return true;
}

void TForm::BringToFront() {
    Impl().widget->raise();
    Impl().widget->activateWindow();
}

bool TForm::Active() const { return Impl().widget->isActiveWindow(); }

void TForm::TextChanged() {
    Impl().widget->setWindowTitle(QString::fromStdString(Caption()));
    Invalidate();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::Paint(TCanvas& canvas) {
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

}  // namespace rt

namespace rt {

void TForm::SetAlphaBlend(int alpha) {
    Impl().widget->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

}  // namespace rt
