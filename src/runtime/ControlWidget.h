#pragma once
// The Qt widgets behind controls and forms, for runtime's own sources only. A control's widget
// turns Qt events into messages for its window procedure and paints through the control's
// off-screen bitmap. A form has two: a frameless top-level window (FrameWidget) whose
// non-client area runtime emulates, and the form's own widget inside it at the client
// rectangle, which holds the child controls.

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <map>

#include "runtime/Controls.h"

class QMouseEvent;

namespace rt {

class FrameWidget;

class ControlWidget : public QWidget {
public:
    ControlWidget(TControl* owner, bool topLevel);
    TControl* Owner() const { return owner_; }
    void Detach() { owner_ = nullptr; }
    bool inPaintEvent = false;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    // Key and focus events travel as KeyRouting.cpp describes.
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    // Tab travels as a key to the form's own order (TabOrder.cpp), never along Qt's chain.
    bool focusNextPrevChild(bool) override { return false; }

private:
    std::intptr_t Send(unsigned msg, std::intptr_t w, std::intptr_t l);
    // A mouse event over a child control's own frame, or one that belongs to a press on it:
    // hit test and non-client messages (ChildFrame.cpp). False leaves the event to the client.
    bool RouteNonClient(QMouseEvent* e);
    // A mouse event over a form's bare client area goes through the form's frame (hit test).
    bool RouteToFrame(QMouseEvent* e);
    TControl* owner_;
};

// The top-level window of a form: paints the non-client area from a window-sized buffer, asks
// the form for WM_NCHITTEST at every mouse position, and runs the move/size loop.
class FrameWidget : public QWidget {
public:
    explicit FrameWidget(TForm* form);
    TForm* Form() const { return form_; }
    void Detach() { form_ = nullptr; }

    // Non-client painting: a full WM_NCPAINT on the next paint, or of one rectangle now.
    void InvalidateNonClient(const QRect& r);
    void RepaintNonClient(const QRect& r);
    void PaintNonClientNow(const TRect& r, const std::function<void(TCanvas&)>& paint);

    // Mouse input from the frame or from the form's bare client area (source), in the
    // window system's terms: hit test, then client or non-client messages.
    void RouteMouse(QWidget* source, QMouseEvent* e);
    void RouteLeave(QWidget* source);

    // The move/size loop (hit: HTCAPTION moves, a sizing code sizes).
    void BeginSizeMove(int hit, TPoint start);
    bool InSizeMove() const { return loop_.active || systemLoop_; }
    void EndSizeMove(bool cancel);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { RouteMouse(this, e); }
    void mouseReleaseEvent(QMouseEvent* e) override { RouteMouse(this, e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { RouteMouse(this, e); }
    void mouseMoveEvent(QMouseEvent* e) override { RouteMouse(this, e); }
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    std::intptr_t Send(unsigned msg, std::intptr_t w, std::intptr_t l);
    void LoopMouse(QMouseEvent* e);
    void SetHitCursor(QWidget* source, int hit);
    void SendClientMouse(QMouseEvent* e, unsigned msg);

    TForm* form_;
    TBitmap buffer_;            // the non-client area as last painted, window-sized
    QRect dirty_;               // what the next paint must ask WM_NCPAINT for
    bool clientPress_ = false;  // the held buttons went down on the client area
    int lastNcHit_ = -1;        // for WM_NCMOUSELEAVE
    bool systemLoop_ = false;   // the window manager runs a move/size we started
    struct Loop {
        bool active = false;
        int hit = 0;
        bool mouseDriven = true;  // ends on release; otherwise on the next click or Enter
        // A caption drag the window manager takes over once the mouse has moved.
        bool handOver = false;
        TPoint start;
        TRect startRect;
    } loop_;
};

struct ControlImpl {
    ControlWidget* widget = nullptr;       // owned: deleted with the control
    FrameWidget* frame = nullptr;          // a form's top-level window; owned
    bool popup = false;                    // a TPopupWindow: a top-level window of its own
    std::map<std::uintptr_t, int> timers;  // the control's timer ids to Qt's
    // A child control's own frame (ChildFrame.cpp): the client rectangle in window coordinates
    // while WM_NCCALCSIZE gave one smaller than the window.
    bool nonClient = false;
    TRect client;
    int lastNcHit = -1;    // for WM_NCMOUSELEAVE
    bool ncPress = false;  // buttons held since a press on the frame
    // A wrapped platform control filling the client area; it takes the focus for the control.
    QWidget* platform = nullptr;
    // The top-level window that shows this control when it is a window of its own.
    QWidget* Window() const { return frame != nullptr ? static_cast<QWidget*>(frame) : widget; }
};

ControlImpl& ImplOf(const TControl& control);
// The form whose window was activated, or asked to be, last (it may be inactive now).
TForm* LastActiveForm();
void NoteActivation(FrameWidget* frame);
// The control behind a Qt widget of ours (a form for its frame), or null.
TControl* ControlOf(QWidget* w);
// Runs the application's message hooks, then hands the message to the target's window
// procedure unless a hook swallowed it; returns the target's result.
std::intptr_t DispatchInput(TControl* target, unsigned msg, std::intptr_t w, std::intptr_t l);

// The message for a mouse event, client or non-client.
unsigned MouseMessage(QEvent::Type type, Qt::MouseButton b, bool client);
// Translations between Qt's input terms and the window system's.
int VirtualKeyOf(int qtKey);
int QtKeyOf(int virtualKey);
TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b);
std::intptr_t MouseKeys(Qt::KeyboardModifiers m, Qt::MouseButtons b);
Qt::CursorShape ShapeOf(TCursor c);
// True when the window (a form's frame, a popup) has a region that leaves the point out.
bool OutsideWindowRegion(const QWidget* window, QPoint local);
// A control's widget (or the platform control it wraps) got the keyboard focus: WM_SETFOCUS,
// then the form's controls hear where the focus is now.
void NoteFocusIn(TControl* control);
// The last mouse position any of our windows saw (the offscreen platform has no pointer).
void NoteCursorPos(QPoint global);
QPoint LastCursorPos();

}  // namespace rt
