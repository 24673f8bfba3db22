// The Qt-to-message bridge: Qt's events on a control's widget become messages for the
// control's window procedure.
#include "runtime/ControlWidget.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

#include "runtime/Application.h"

namespace rt {

namespace {

struct KeyPair {
    int qt;
    int vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},   {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},       {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},  {Qt::Key_Backtab, VK_TAB},
};

QPoint gLastCursor;

}  // namespace

int VirtualKeyOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return VK_F1 + (k - Qt::Key_F1);
    for (const KeyPair& p : kKeys)
        if (p.qt == k) return p.vk;
    return 0;
}

int QtKeyOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
    for (const KeyPair& p : kKeys)
        if (p.vk == vk) return p.qt;
    return 0;
}

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

std::intptr_t MouseKeys(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    std::intptr_t k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
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

bool OutsideWindowRegion(const QWidget* window, QPoint local) {
    QRegion mask = window->mask();
    return !mask.isEmpty() && !mask.contains(local);
}

void NoteCursorPos(QPoint global) { gLastCursor = global; }

QPoint LastCursorPos() { return gLastCursor; }

ControlImpl& ImplOf(const TControl& control) { return *control.impl_; }

TControl* ControlOf(QWidget* w) {
    if (auto* c = dynamic_cast<ControlWidget*>(w)) return c->Owner();
    if (auto* f = dynamic_cast<FrameWidget*>(w)) return f->Form();
    return nullptr;
}

std::intptr_t DispatchInput(TControl* target, unsigned msg, std::intptr_t w, std::intptr_t l) {
    if (target == nullptr) return 0;
    TMsg m{target, msg, w, l};
    if (Application() != nullptr && Application()->RunMessageHooks(m)) return 0;
    std::intptr_t result = 0;
    GuardedCall([&] { result = target->Perform(msg, w, l); });
    return result;
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

bool ControlWidget::RouteToFrame(QMouseEvent* e) {
    if (owner_ == nullptr) return true;
    NoteCursorPos(e->globalPosition().toPoint());
    FrameWidget* frame = owner_->Impl().frame;
    if (frame == nullptr) return false;
    frame->RouteMouse(this, e);
    return true;
}

void ControlWidget::paintEvent(QPaintEvent*) {
    if (owner_ == nullptr) return;
    inPaintEvent = true;
    Send(WM_PAINT, 0, 0);
    inPaintEvent = false;
}

namespace {

unsigned ButtonMessage(Qt::MouseButton b, unsigned left, unsigned right, unsigned middle) {
    return b == Qt::RightButton ? right : b == Qt::MiddleButton ? middle : left;
}

}  // namespace

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    if (RouteToFrame(e) || RouteNonClient(e)) return;
    unsigned msg = ButtonMessage(e->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    QPoint p = e->position().toPoint();
    if (isWindow() && OutsideWindowRegion(this, p)) return;
    // The form hears of a press on one of its controls before the control does.
    TControl* target = owner_;
    QPointer<ControlWidget> alive(this);
    if (TForm* form = target->ParentForm(); form != nullptr && form != target) {
        TPoint fp = form->ScreenToClient(target->ClientToScreen({p.x(), p.y()}));
        GuardedCall([&] { form->Perform(WM_PARENTNOTIFY, msg, MakeLParam(fp.X, fp.Y)); });
        if (!form->Active()) {
            std::intptr_t r = 0;
            GuardedCall(
                [&] { r = form->Perform(WM_MOUSEACTIVATE, 0, MakeLParam(HTCLIENT, int(msg))); });
            if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return;
        }
    }
    if (alive == nullptr || owner_ == nullptr) return;
    DispatchInput(owner_, msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (RouteToFrame(e) || RouteNonClient(e)) return;
    unsigned msg = ButtonMessage(e->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
    QPoint p = e->position().toPoint();
    DispatchInput(owner_, msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (RouteToFrame(e) || RouteNonClient(e)) return;
    QPoint p = e->position().toPoint();
    // Controls handle double clicks of the left button only; other buttons press again.
    unsigned msg = ButtonMessage(e->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    DispatchInput(owner_, msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    if (RouteToFrame(e) || RouteNonClient(e)) return;
    QPoint p = e->position().toPoint();
    DispatchInput(owner_, WM_MOUSEMOVE, MouseKeys(e->modifiers(), e->buttons()),
                  MakeLParam(p.x(), p.y()));
}

void ControlWidget::enterEvent(QEnterEvent*) { Send(CM_MOUSEENTER, 0, 0); }

void ControlWidget::leaveEvent(QEvent*) {
    if (owner_ != nullptr && owner_->Impl().frame != nullptr)
        owner_->Impl().frame->RouteLeave(this);
    if (owner_ != nullptr && owner_->Impl().lastNcHit >= 0) {
        owner_->Impl().lastNcHit = -1;
        Send(WM_NCMOUSELEAVE, 0, 0);
    }
    Send(CM_MOUSELEAVE, 0, 0);
}

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
    DispatchInput(owner_, WM_MOUSEWHEEL, w, MakeLParam(g.x(), g.y()));
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (owner_ == nullptr || owner_->Impl().frame != nullptr) return;
    // A popup's size only changes through SetBounds; take an outside change as ours anyway.
    if (isWindow() && (width() != owner_->Width() || height() != owner_->Height()))
        GuardedCall([&] { owner_->SetBounds(owner_->Left(), owner_->Top(), width(), height()); });
    Send(WM_SIZE, SIZE_RESTORED, MakeLParam(width(), height()));
}

void ControlWidget::moveEvent(QMoveEvent*) {
    if (owner_ == nullptr || owner_->Impl().frame != nullptr) return;
    Send(WM_MOVE, 0, MakeLParam(x(), y()));
}

void ControlWidget::closeEvent(QCloseEvent* e) { e->accept(); }

void ControlWidget::focusOutEvent(QFocusEvent*) { Send(WM_KILLFOCUS, 0, 0); }

void ControlWidget::timerEvent(QTimerEvent* e) {
    if (owner_ == nullptr) return;
    auto& timers = owner_->Impl().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const auto& t) { return t.second == e->timerId(); });
    if (it == timers.end()) {
        QWidget::timerEvent(e);
        return;
    }
    Send(WM_TIMER, std::intptr_t(it->first), 0);
}

}  // namespace rt
