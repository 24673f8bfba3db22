#include "runtime/testing/TestInput.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstring>

#include "runtime/ControlWidget.h"
#include "runtime/Screen.h"

namespace rt::testing {

namespace {

int gTimestamp = 1;
Qt::MouseButtons gButtons;
QPointer<QWindow> gPressWindow;

Qt::MouseButton QtButton(TMouseButton b) {
    return b == TMouseButton::mbRight    ? Qt::RightButton
           : b == TMouseButton::mbMiddle ? Qt::MiddleButton
                                         : Qt::LeftButton;
}

Qt::KeyboardModifiers Modifiers(TShiftState s) {
    Qt::KeyboardModifiers m;
    if (s & ssShift) m |= Qt::ShiftModifier;
    if (s & ssCtrl) m |= Qt::ControlModifier;
    if (s & ssAlt) m |= Qt::AltModifier;
    return m;
}

// Where the window system would send a mouse event: the window holding the mouse, the one the
// held buttons went down on, else the window under the point.
QWindow* TargetWindow(QPoint g) {
    if (QWidget* grab = QWidget::mouseGrabber()) return grab->window()->windowHandle();
    if (gButtons != Qt::NoButton && gPressWindow != nullptr) return gPressWindow;
    if (TControl* c = WindowFromPoint({g.x(), g.y()}))
        return ImplOf(*c).widget->window()->windowHandle();
    return nullptr;
}

void SendMouse(QPoint g, Qt::MouseButton button, QEvent::Type type, TShiftState shift) {
    QWindow* w = TargetWindow(g);
    if (type == QEvent::MouseButtonPress) {
        gButtons |= button;
        gPressWindow = w;
    } else if (type == QEvent::MouseButtonRelease) {
        gButtons &= ~Qt::MouseButtons(button);
    }
    NoteCursorPos(g);
    if (w != nullptr)
        qt_handleMouseEvent(w, w->mapFromGlobal(g), g, gButtons, button, type, Modifiers(shift),
                            ++gTimestamp);
    ProcessEvents();
}

QWindow* KeyWindow() {
    if (QWindow* w = QGuiApplication::focusWindow()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w->windowHandle();
    return nullptr;
}

void SendKey(int vk, TShiftState shift, QEvent::Type type) {
    QWindow* w = KeyWindow();
    int key = QtKeyOf(vk);
    if (w == nullptr || key == 0) return;
    QString text;
    if (type == QEvent::KeyPress && vk >= 'A' && vk <= 'Z' && (shift & (ssCtrl | ssAlt)) == 0)
        text = QChar((shift & ssShift) ? vk : vk - 'A' + 'a');
    qt_handleKeyEvent(w, type, key, Modifiers(shift), text);
    ProcessEvents();
}

}  // namespace

void MouseMove(TPoint screen) {
    SendMouse({screen.X, screen.Y}, Qt::NoButton, QEvent::MouseMove, 0);
}

void MousePress(TPoint screen, TMouseButton button, TShiftState shift) {
    SendMouse({screen.X, screen.Y}, QtButton(button), QEvent::MouseButtonPress, shift);
}

void MouseRelease(TPoint screen, TMouseButton button, TShiftState shift) {
    SendMouse({screen.X, screen.Y}, QtButton(button), QEvent::MouseButtonRelease, shift);
    // Far apart in time from the next press: separate clicks never pair up.
    gTimestamp += 10000;
}

void MouseClick(TPoint screen, TMouseButton button) {
    MousePress(screen, button);
    MouseRelease(screen, button);
}

void MouseDoubleClick(TPoint screen, TMouseButton button) {
    QPoint g(screen.X, screen.Y);
    SendMouse(g, QtButton(button), QEvent::MouseButtonPress, 0);
    SendMouse(g, QtButton(button), QEvent::MouseButtonRelease, 0);
    SendMouse(g, QtButton(button), QEvent::MouseButtonPress, 0);
    MouseRelease(screen, button);
}

void MouseDrag(TPoint from, TPoint to, int steps) {
    MouseMove(from);
    MousePress(from);
    for (int i = 1; i <= steps; ++i)
        MouseMove({from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps});
    MouseRelease(to);
}

void KeyPress(int vk, TShiftState shift) { SendKey(vk, shift, QEvent::KeyPress); }
void KeyRelease(int vk, TShiftState shift) { SendKey(vk, shift, QEvent::KeyRelease); }
void KeyClick(int vk, TShiftState shift) {
    KeyPress(vk, shift);
    KeyRelease(vk, shift);
}

bool DropUrls(TPoint screen, const std::vector<std::string>& urls) {
    TControl* c = WindowFromPoint(screen);
    if (c == nullptr) return false;
    QWidget* top = ImplOf(*c).Window()->window();
    const QPoint g(screen.X, screen.Y);
    // The widget under the point, or its nearest parent in the window that takes drops.
    QWidget* target = top->childAt(top->mapFromGlobal(g));
    if (target == nullptr) target = top;
    while (target != top && !target->acceptDrops()) target = target->parentWidget();
    if (!target->acceptDrops()) return false;
    QMimeData mime;
    QList<QUrl> list;
    for (const std::string& u : urls) list.append(QUrl(QString::fromStdString(u)));
    mime.setUrls(list);
    const QPointF local = target->mapFromGlobal(QPointF(g));
    QDragEnterEvent enter(local.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ProcessEvents();
    return drop.isAccepted();
}

std::string PlatformName() { return QGuiApplication::platformName().toStdString(); }

void ProcessEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SyncWithWindowSystem() {
    QGuiApplication::sync();
    ProcessEvents();
}

bool WaitFor(const std::function<bool()>& cond, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!cond() && std::chrono::steady_clock::now() < end) ProcessEvents();
    return cond();
}

TBitmap GrabWindow(TControl& window) {
    QWidget* w = ImplOf(window).Window();
    QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    TBitmap b(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        std::memcpy(b.ScanLine(y), img.constScanLine(y), std::size_t(img.width()) * 4);
    for (std::uint32_t& p : b.Pixels()) p &= 0xFFFFFF;
    return b;
}

TCursor CursorAt(TPoint screen) {
    TControl* c = WindowFromPoint(screen);
    if (c == nullptr) return TCursor::crDefault;
    QWidget* top = ImplOf(*c).Window()->window();
    QPoint local = top->mapFromGlobal(QPoint(screen.X, screen.Y));
    QWidget* w = top->childAt(local);
    if (w == nullptr) w = top;
    switch (w->cursor().shape()) {
        case Qt::SizeHorCursor:
            return TCursor::crSizeWE;
        case Qt::SizeVerCursor:
            return TCursor::crSizeNS;
        case Qt::SizeFDiagCursor:
            return TCursor::crSizeNWSE;
        case Qt::SizeBDiagCursor:
            return TCursor::crSizeNESW;
        case Qt::PointingHandCursor:
            return TCursor::crHandPoint;
        case Qt::IBeamCursor:
            return TCursor::crIBeam;
        default:
            return TCursor::crArrow;
    }
}

TControl* ActiveWindow() {
    QWidget* w = QApplication::activeWindow();
    return w != nullptr ? ControlOf(w) : nullptr;
}

TControl* FocusControl() {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget())
        if (TControl* c = ControlOf(w)) return c;
    return nullptr;
}

}  // namespace rt::testing
