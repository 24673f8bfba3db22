// The non-client area of a form, emulated on a frameless Qt window: painting through WM_NCPAINT
// into one window-sized buffer, hit testing every mouse position with WM_NCHITTEST, the
// client and non-client mouse messages that follow from the answer, activation messages, and
// the move/size loop (the window manager's where it takes the request, else our own).
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"
#include "runtime/Controls.h"

namespace rt {

namespace {

// How far the mouse moves with the button held on the caption before the press counts as a
// drag (the usual system measure), rather than a click or the start of a double click.
constexpr int kDragDistance = 4;

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
TRect ToTRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

QImage Wrap(const TBitmap& b) {
    return QImage(reinterpret_cast<const uchar*>(b.Pixels().data()), b.Width(), b.Height(),
                  qsizetype(b.Width()) * 4, QImage::Format_RGB32);
}

Qt::CursorShape HitCursor(int hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT:
            return Qt::SizeHorCursor;
        case HTTOP:
        case HTBOTTOM:
            return Qt::SizeVerCursor;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return Qt::SizeFDiagCursor;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return Qt::SizeBDiagCursor;
        default:
            return Qt::ArrowCursor;
    }
}

Qt::Edges HitEdges(int hit) {
    Qt::Edges e;
    if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) e |= Qt::LeftEdge;
    if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) e |= Qt::RightEdge;
    if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) e |= Qt::TopEdge;
    if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) e |= Qt::BottomEdge;
    return e;
}

QPointer<FrameWidget> gLastActive;

}  // namespace

unsigned MouseMessage(QEvent::Type type, Qt::MouseButton b, bool client) {
    int button = b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : 0;
    static constexpr unsigned kClient[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                               {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                               {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    static constexpr unsigned kNonClient[3][3] = {
        {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK},
        {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK},
        {WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK}};
    const auto& table = client ? kClient : kNonClient;
    switch (type) {
        case QEvent::MouseButtonPress:
            return table[button][0];
        case QEvent::MouseButtonRelease:
            return table[button][1];
        case QEvent::MouseButtonDblClick:
            return table[button][2];
        default:
            return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    }
}

TForm* LastActiveForm() { return gLastActive != nullptr ? gLastActive->Form() : nullptr; }

void NoteActivation(FrameWidget* frame) { gLastActive = frame; }

FrameWidget::FrameWidget(TForm* form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(form) {
    // Every pixel comes from our buffers: no background erase, no flicker while sizing.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setAutoFillBackground(false);
}

std::intptr_t FrameWidget::Send(unsigned msg, std::intptr_t w, std::intptr_t l) {
    if (form_ == nullptr) return 0;
    std::intptr_t result = 0;
    GuardedCall([&] { result = form_->Perform(msg, w, l); });
    return result;
}

void FrameWidget::InvalidateNonClient(const QRect& r) {
    dirty_ |= r.intersected(rect());
    update(r);
}

void FrameWidget::RepaintNonClient(const QRect& r) {
    dirty_ |= r.intersected(rect());
    if (isVisible())
        repaint(r);
    else
        update(r);
}

void FrameWidget::PaintNonClientNow(const TRect& r, const std::function<void(TCanvas&)>& paint) {
    if (form_ == nullptr) return;
    QRect q = ToQRect(r).intersected(rect());
    if (q.isEmpty()) return;
    // Before the first full paint at this size there is nothing to paint over: paint it all.
    if (buffer_.Width() != width() || buffer_.Height() != height() || dirty_.contains(q)) {
        RepaintNonClient(rect());
        return;
    }
    TCanvas canvas(buffer_);
    canvas.SetClipRect(ToTRect(q));
    GuardedCall([&] { paint(canvas); });
    if (isVisible()) repaint(q);
}

void FrameWidget::paintEvent(QPaintEvent* e) {
    if (form_ == nullptr) return;
    if (buffer_.Width() != width() || buffer_.Height() != height()) {
        buffer_ = TBitmap(width(), height());
        dirty_ = rect();
    }
    if (!dirty_.isEmpty()) {
        QRect d = dirty_;
        dirty_ = QRect();
        TCanvas canvas(buffer_);
        canvas.SetClipRect(ToTRect(d));
        TNCPaintParams params{&canvas, ToTRect(d)};
        QPointer<FrameWidget> alive(this);
        Send(WM_NCPAINT, PtrParam(&params), 0);
        if (alive == nullptr || form_ == nullptr) return;
    }
    // The client widget covers its own rectangle; only the frame is copied, in one operation.
    QRegion frameRegion = e->region() - ToQRect(form_->ClientInWindow());
    if (frameRegion.isEmpty()) return;
    QPainter p(this);
    p.setClipRegion(frameRegion);
    p.drawImage(0, 0, Wrap(buffer_));
}

void FrameWidget::SetHitCursor(QWidget* source, int hit) {
    Qt::CursorShape shape = HitCursor(hit);
    if (hit == HTCLIENT && source != this) shape = ShapeOf(form_->Cursor());
    if (source->cursor().shape() != shape) source->setCursor(shape);
}

void FrameWidget::SendClientMouse(QMouseEvent* e, unsigned msg) {
    QPoint c = form_->Impl().widget->mapFromGlobal(e->globalPosition().toPoint());
    DispatchInput(form_, msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(c.x(), c.y()));
}

void FrameWidget::RouteMouse(QWidget* source, QMouseEvent* e) {
    NoteCursorPos(e->globalPosition().toPoint());
    if (form_ == nullptr) return;
    if (loop_.active) {
        LoopMouse(e);
        return;
    }
    // The window manager's loop is over once its grab ends and our windows see the mouse again.
    if (systemLoop_) EndSizeMove(false);
    const QEvent::Type type = e->type();
    const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool up = type == QEvent::MouseButtonRelease;
    QWidget* client = form_->Impl().widget;
    // A move without buttons: any press before it is over, even if its release went elsewhere.
    if (type == QEvent::MouseMove && e->buttons() == Qt::NoButton) clientPress_ = false;
    // A capture by the form, or buttons held since a press on the client area: client
    // messages whatever the point.
    if (QWidget::mouseGrabber() == client || clientPress_) {
        if (down) clientPress_ = true;
        SendClientMouse(e, MouseMessage(type, e->button(), true));
        if (up && e->buttons() == Qt::NoButton) clientPress_ = false;
        return;
    }
    const QPoint g = e->globalPosition().toPoint();
    const QPoint local = mapFromGlobal(g);
    // A handler may free the form (and with it this window) on any message.
    QPointer<FrameWidget> alive(this);
    int hit = HTNOWHERE;
    if (rect().contains(local) && !OutsideWindowRegion(this, local))
        hit = int(Send(WM_NCHITTEST, 0, MakeLParam(g.x(), g.y())));
    if (alive == nullptr || form_ == nullptr) return;
    // Outside the window (or its region) only the end of a press still belongs to the form.
    if (hit == HTNOWHERE && !up && e->buttons() == Qt::NoButton) {
        RouteLeave(this);
        return;
    }
    if (!up) SetHitCursor(source, hit);
    if (down && !isActiveWindow()) {
        unsigned msg = MouseMessage(type, e->button(), hit == HTCLIENT);
        std::intptr_t r = Send(WM_MOUSEACTIVATE, 0, MakeLParam(hit, int(msg)));
        if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return;
        if (alive == nullptr || form_ == nullptr) return;
    }
    if (hit == HTCLIENT) {
        RouteLeave(this);
        if (down) clientPress_ = true;
        SendClientMouse(e, MouseMessage(type, e->button(), true));
        return;
    }
    lastNcHit_ = hit;
    DispatchInput(form_, MouseMessage(type, e->button(), false), hit, MakeLParam(g.x(), g.y()));
}

void FrameWidget::RouteLeave(QWidget*) {
    if (lastNcHit_ < 0) return;
    lastNcHit_ = -1;
    Send(WM_NCMOUSELEAVE, 0, 0);
}

void FrameWidget::leaveEvent(QEvent*) { RouteLeave(this); }

void FrameWidget::BeginSizeMove(int hit, TPoint start) {
    if (form_ == nullptr || InSizeMove()) return;
    if (hit != HTCAPTION && !IsSizingHitCode(hit)) return;
    const bool held = QGuiApplication::mouseButtons() != Qt::NoButton;
    QPointer<FrameWidget> alive(this);
    Send(WM_ENTERSIZEMOVE, 0, 0);
    if (alive == nullptr || form_ == nullptr) return;
    // The window manager keeps its own snapping and tiling where it runs the loop for us. A
    // move is handed to it only once the mouse has moved (LoopMouse): it takes the pointer
    // with the move, and a press that is the first of a double click on the caption would
    // lose its release and its second click to it.
    const bool managed = held && windowHandle() != nullptr;
    if (managed && hit != HTCAPTION && windowHandle()->startSystemResize(HitEdges(hit))) {
        systemLoop_ = true;
        return;
    }
    loop_.active = true;
    loop_.hit = hit;
    loop_.mouseDriven = held;
    loop_.handOver = managed && hit == HTCAPTION;
    loop_.start = start;
    loop_.startRect = form_->BoundsRect();
    grabMouse(HitCursor(hit));
    grabKeyboard();
}

void FrameWidget::LoopMouse(QMouseEvent* e) {
    const QEvent::Type type = e->type();
    // The release that should have ended a drag went elsewhere (a dialog took it).
    if (loop_.mouseDriven && type == QEvent::MouseMove && e->buttons() == Qt::NoButton) {
        EndSizeMove(false);
        return;
    }
    if (type == QEvent::MouseButtonRelease) {
        if (loop_.mouseDriven && e->buttons() == Qt::NoButton) EndSizeMove(false);
        return;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (!loop_.mouseDriven) EndSizeMove(false);
        return;
    }
    const QPoint g = e->globalPosition().toPoint();
    const int dx = g.x() - loop_.start.X, dy = g.y() - loop_.start.Y;
    TRect r = loop_.startRect;
    if (loop_.hit == HTCAPTION) {
        r = Bounds(r.Left + dx, r.Top + dy, r.Width(), r.Height());
        Send(WM_MOVING, 0, PtrParam(&r));
        if (form_ != nullptr) form_->SetBounds(r.Left, r.Top, form_->Width(), form_->Height());
        // Moved with the mouse so far; past the drag distance the window manager goes on
        // from here, keeping the pointer where it holds the caption.
        if (loop_.handOver && std::max(std::abs(dx), std::abs(dy)) >= kDragDistance) {
            loop_.handOver = false;
            releaseMouse();
            releaseKeyboard();
            if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
                loop_.active = false;
                systemLoop_ = true;
                return;
            }
            // No window manager takes it: the move stays ours.
            grabMouse(HitCursor(loop_.hit));
            grabKeyboard();
        }
        return;
    }
    const int h = loop_.hit;
    const bool left = h == HTLEFT || h == HTTOPLEFT || h == HTBOTTOMLEFT;
    const bool right = h == HTRIGHT || h == HTTOPRIGHT || h == HTBOTTOMRIGHT;
    const bool top = h == HTTOP || h == HTTOPLEFT || h == HTTOPRIGHT;
    const bool bottom = h == HTBOTTOM || h == HTBOTTOMLEFT || h == HTBOTTOMRIGHT;
    if (left) r.Left += dx;
    if (right) r.Right += dx;
    if (top) r.Top += dy;
    if (bottom) r.Bottom += dy;
    // The tracking sizes hold with the edge opposite the dragged one kept in place.
    TMinMaxInfo info = form_->MinMaxInfo();
    int w = std::clamp(r.Width(), info.MinTrackSize.X,
                       std::max(info.MinTrackSize.X, info.MaxTrackSize.X));
    int ht = std::clamp(r.Height(), info.MinTrackSize.Y,
                        std::max(info.MinTrackSize.Y, info.MaxTrackSize.Y));
    if (left)
        r.Left = r.Right - w;
    else
        r.Right = r.Left + w;
    if (top)
        r.Top = r.Bottom - ht;
    else
        r.Bottom = r.Top + ht;
    Send(WM_SIZING, h - HTLEFT + WMSZ_LEFT, PtrParam(&r));
    if (form_ != nullptr) form_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void FrameWidget::EndSizeMove(bool cancel) {
    if (systemLoop_) {
        systemLoop_ = false;
        Send(WM_EXITSIZEMOVE, 0, 0);
        return;
    }
    if (!loop_.active) return;
    loop_.active = false;
    releaseMouse();
    releaseKeyboard();
    if (cancel && form_ != nullptr) {
        const TRect& r = loop_.startRect;
        form_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    Send(WM_EXITSIZEMOVE, 0, 0);
}

void FrameWidget::keyPressEvent(QKeyEvent* e) {
    if (!loop_.active) {
        QWidget::keyPressEvent(e);
        return;
    }
    if (e->key() == Qt::Key_Escape)
        EndSizeMove(true);
    else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        EndSizeMove(false);
}

void FrameWidget::hideEvent(QHideEvent*) {
    if (InSizeMove()) EndSizeMove(false);
}

void FrameWidget::resizeEvent(QResizeEvent*) {
    // The window manager sized the window: that size goes through the form's rules too.
    if (form_ != nullptr && (width() != form_->Width() || height() != form_->Height()))
        GuardedCall([&] { form_->SetBounds(x(), y(), width(), height()); });
}

void FrameWidget::moveEvent(QMoveEvent*) {
    if (form_ != nullptr && (x() != form_->Left() || y() != form_->Top()))
        GuardedCall([&] { form_->SetBounds(x(), y(), form_->Width(), form_->Height()); });
}

void FrameWidget::closeEvent(QCloseEvent* e) {
    // The window manager's close goes the way of the close command; the form hides itself.
    e->ignore();
    Send(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void FrameWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && form_ != nullptr) {
        const bool active = isActiveWindow();
        if (active) gLastActive = this;
        Send(WM_NCACTIVATE, active ? 1 : 0, 0);
        Send(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    }
    QWidget::changeEvent(e);
}

}  // namespace rt
