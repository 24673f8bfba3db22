#include "runtime/Screen.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "runtime/ControlWidget.h"

namespace rt {

namespace {

TRect ToRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

bool Offscreen() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

}  // namespace

TRect ScreenRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s != nullptr ? ToRect(s->geometry()) : TRect{};
}

TRect WorkArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s != nullptr ? ToRect(s->availableGeometry()) : TRect{};
}

int SmallIconSize() {
    QStyle* style = QApplication::style();
    int size = style != nullptr ? style->pixelMetric(QStyle::PM_SmallIconSize) : 0;
    return size > 0 ? size : 16;
}

bool LayeredWindowsAvailable() { return qApp != nullptr && !Offscreen(); }

TPoint GetCursorPos() {
    // The offscreen platform has no pointer: the last position our windows saw stands in.
    QPoint p = Offscreen() ? LastCursorPos() : QCursor::pos();
    return {p.x(), p.y()};
}

TControl* WindowFromPoint(TPoint screen) {
    QPoint g(screen.X, screen.Y);
    QWidgetList tops = QApplication::topLevelWidgets();
    // Popups stay above forms, and the active form above the others; Qt keeps no other
    // stacking order that every platform shares.
    std::stable_sort(tops.begin(), tops.end(), [](QWidget* a, QWidget* b) {
        auto rank = [](QWidget* w) {
            return w->windowType() == Qt::ToolTip ? 0 : w->isActiveWindow() ? 1 : 2;
        };
        return rank(a) < rank(b);
    });
    {
        for (QWidget* top : tops) {
            if (!top->isVisible() || top->isMinimized()) continue;
            QPoint local = top->mapFromGlobal(g);
            if (!top->rect().contains(local) || OutsideWindowRegion(top, local)) continue;
            QWidget* w = top->childAt(local);
            for (; w != nullptr; w = w->parentWidget())
                if (TControl* c = ControlOf(w)) return c;
            return ControlOf(top);
        }
    }
    return nullptr;
}

void SetCapture(TControl* control) {
    if (control != nullptr) control->SetMouseCapture(true);
}

void ReleaseCapture() {
    // A running move/size loop holds the mouse through the form's frame; that is not a capture.
    if (auto* w = dynamic_cast<ControlWidget*>(QWidget::mouseGrabber())) w->releaseMouse();
}

TControl* GetCapture() {
    QWidget* w = QWidget::mouseGrabber();
    return w != nullptr && dynamic_cast<ControlWidget*>(w) != nullptr ? ControlOf(w) : nullptr;
}

}  // namespace rt
